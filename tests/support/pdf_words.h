#pragma once

// The words of a PDF and where each stands on its page, read back as a reader sees them with
// poppler's `pdftotext -bbox` (poppler-utils, installed by scripts/setup). A printout can then
// be checked for what matters to the cook: every word there, in order, and inside the paper.

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace culvora::testing {

struct PdfWord {
    int page = 0;  // from 0
    double xMin = 0;
    double yMin = 0;
    double xMax = 0;
    double yMax = 0;
    std::string text;  // UTF-8
};

struct PdfWords {
    std::string error;  // empty when pdftotext read the file without complaint
    std::vector<double> pageWidths;
    std::vector<double> pageHeights;
    std::vector<PdfWord> words;  // in reading order, page by page

    bool ok() const { return error.empty(); }
    int pageCount() const { return static_cast<int>(pageWidths.size()); }
    std::vector<std::string> texts() const
    {
        std::vector<std::string> out;
        for (const auto& word : words) out.push_back(word.text);
        return out;
    }
};

// A text's words, as pdftotext gives them back: split at blanks.
inline std::vector<std::string> wordsOf(std::string_view text)
{
    std::vector<std::string> words;
    std::string word;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            if (!word.empty()) words.push_back(std::move(word));
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) words.push_back(std::move(word));
    return words;
}

namespace pdf_words_detail {

inline std::string attribute(const std::string& tag, const char* name)
{
    const std::string key = std::string(name) + "=\"";
    const auto start = tag.find(key);
    if (start == std::string::npos) return {};
    const auto end = tag.find('"', start + key.size());
    return tag.substr(start + key.size(), end - start - key.size());
}

inline std::string unescape(std::string_view text)
{
    static const std::pair<std::string_view, char> entities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        bool replaced = false;
        for (const auto& [entity, c] : entities) {
            if (text.substr(i, entity.size()) == entity) {
                out += c;
                i += entity.size() - 1;
                replaced = true;
                break;
            }
        }
        if (!replaced) out += text[i];
    }
    return out;
}

}  // namespace pdf_words_detail

inline PdfWords readPdfWords(const std::filesystem::path& file)
{
    using namespace pdf_words_detail;
    PdfWords pdf;
    if (!std::filesystem::is_regular_file(file)) {
        pdf.error = "no PDF was written at " + file.string();
        return pdf;
    }
    const std::filesystem::path errors = std::filesystem::path(file).concat(".stderr.txt");
    const std::string command =
        "pdftotext -bbox -enc UTF-8 '" + file.string() + "' - 2>'" + errors.string() + "'";
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        pdf.error = "pdftotext could not be started";
        return pdf;
    }
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    const int status = pclose(pipe);
    std::string complaint;
    if (FILE* in = std::fopen(errors.c_str(), "rb")) {
        while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) complaint.append(buffer, n);
        std::fclose(in);
    }
    std::filesystem::remove(errors);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        pdf.error = WIFEXITED(status) && WEXITSTATUS(status) == 127
                        ? "pdftotext is not installed: install poppler-utils"
                        : "pdftotext could not read " + file.string() + ": " + complaint;
        return pdf;
    }
    if (!complaint.empty()) pdf.error = "pdftotext complained: " + complaint;

    for (std::size_t at = out.find('<'); at != std::string::npos; at = out.find('<', at + 1)) {
        const std::size_t close = out.find('>', at);
        if (close == std::string::npos) break;
        const std::string tag = out.substr(at, close - at + 1);
        if (tag.starts_with("<page ")) {
            pdf.pageWidths.push_back(std::atof(attribute(tag, "width").c_str()));
            pdf.pageHeights.push_back(std::atof(attribute(tag, "height").c_str()));
        } else if (tag.starts_with("<word ")) {
            const std::size_t end = out.find("</word>", close);
            PdfWord word;
            word.page = pdf.pageCount() - 1;
            word.xMin = std::atof(attribute(tag, "xMin").c_str());
            word.yMin = std::atof(attribute(tag, "yMin").c_str());
            word.xMax = std::atof(attribute(tag, "xMax").c_str());
            word.yMax = std::atof(attribute(tag, "yMax").c_str());
            word.text = unescape(std::string_view(out).substr(close + 1, end - close - 1));
            pdf.words.push_back(std::move(word));
        }
    }
    return pdf;
}

}  // namespace culvora::testing
