#pragma once

// Reads a PDF back the way a reader would: its text through `pdftotext -layout` and its page
// count through `pdfinfo` (both from poppler-utils, which scripts/setup installs). A PDF that
// only looks right byte by byte but that a real reader cannot take apart fails here.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/wait.h>

#include "support/temp_dir.h"

namespace culvora::testing {

struct PdfText {
    std::string error;  // empty when both tools read the file without a word of complaint
    std::string text;   // UTF-8, the layout kept; a form feed ends each page
    int pageCount = 0;  // as pdfinfo says
    std::vector<std::string> pages;  // the text of each page, from pdftotext's form feeds

    bool ok() const { return error.empty(); }
    // The text line by line without the page's layout: the words of a line one blank apart,
    // no empty lines, a form feed where a page ends. -layout spaces a line out to where it
    // stood on the page, which is not what a test means to check.
    std::string words() const
    {
        std::string out;
        std::string line;
        const auto endLine = [&] {
            if (!line.empty() && line.back() == ' ') line.pop_back();
            if (!line.empty()) out += line + '\n';
            line.clear();
        };
        for (char c : text) {
            if (c == '\n') {
                endLine();
            } else if (c == '\f') {
                endLine();
                out += c;
            } else if (c == ' ' || c == '\t') {
                if (!line.empty() && line.back() != ' ') line += ' ';
            } else {
                line += c;
            }
        }
        endLine();
        return out;
    }
};

namespace pdf_detail {

inline std::string quoted(const std::string& s)
{
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Runs a shell command; gives its standard output, its standard error (through `errFile`) and
// its exit status (127: the program is not installed).
inline int run(const std::string& command, const std::filesystem::path& errFile, std::string& out)
{
    const std::string full = command + " 2>" + quoted(errFile.string());
    FILE* pipe = popen(full.c_str(), "r");
    if (!pipe) return -1;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace pdf_detail

inline PdfText readPdf(const std::filesystem::path& file)
{
    PdfText pdf;
    if (!std::filesystem::is_regular_file(file)) {
        pdf.error = "no PDF was written at " + file.string();
        return pdf;
    }
    // What the tools say on stderr goes to a scratch folder, not beside the PDF: the PDF may
    // lie in a data folder whose files a test counts.
    const TempDir scratch;
    const std::filesystem::path errFile = scratch.file("stderr.txt");
    const std::string name = pdf_detail::quoted(file.string());

    const auto tool = [&](const char* program, const std::string& arguments, std::string& out) {
        const int status = pdf_detail::run(std::string(program) + " " + arguments, errFile, out);
        const std::string complaint = readBytes(errFile);
        if (status == 127) {
            pdf.error = std::string(program) +
                        " is not installed: install poppler-utils (scripts/setup does) to read "
                        "PDFs back in the tests";
        } else if (status != 0) {
            pdf.error = std::string(program) + " could not read " + file.string() + " (exit " +
                        std::to_string(status) + "): " + complaint;
        } else if (!complaint.empty() && pdf.error.empty()) {
            pdf.error =
                std::string(program) + " complained about " + file.string() + ": " + complaint;
        }
        return status == 0;
    };

    std::string info;
    if (!tool("pdfinfo", name, info)) return pdf;
    for (std::size_t start = 0; start < info.size();) {
        std::size_t end = info.find('\n', start);
        if (end == std::string::npos) end = info.size();
        if (info.compare(start, 6, "Pages:") == 0)
            pdf.pageCount = std::atoi(info.c_str() + start + 6);  // atoi skips the blanks
        start = end + 1;
    }
    if (pdf.pageCount <= 0) {
        pdf.error = "pdfinfo gave no page count for " + file.string() + ":\n" + info;
        return pdf;
    }

    if (!tool("pdftotext", "-layout -enc UTF-8 " + name + " -", pdf.text)) return pdf;
    std::string page;
    for (char c : pdf.text) {
        if (c == '\f') {
            pdf.pages.push_back(page);
            page.clear();
        } else {
            page += c;
        }
    }
    if (!page.empty()) pdf.pages.push_back(page);
    return pdf;
}

}  // namespace culvora::testing
