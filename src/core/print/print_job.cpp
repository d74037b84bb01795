#include "core/print/print_job.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace culvora::print {

void PrintJob::setFont(Font font)
{
    font_ = std::move(font);
    ops_.push_back(SetFont{font_});
}

void PrintJob::setFontName(std::string name)
{
    Font font = font_;
    font.name = std::move(name);
    setFont(std::move(font));
}

void PrintJob::setSize(double points)
{
    Font font = font_;
    font.points = points;
    setFont(std::move(font));
}

void PrintJob::setBold(bool bold)
{
    Font font = font_;
    font.bold = bold;
    setFont(std::move(font));
}

void PrintJob::setItalic(bool italic)
{
    Font font = font_;
    font.italic = italic;
    setFont(std::move(font));
}

void PrintJob::print(std::string_view text, bool endLine)
{
    ops_.push_back(PrintText{std::string(text), endLine});
}

void PrintJob::end()
{
    ops_.push_back(EndDocument{});
}

namespace {

std::string number(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

}  // namespace

std::string PrintJob::describe() const
{
    std::string out;
    for (const auto& op : ops_) {
        if (const auto* set = std::get_if<SetFont>(&op)) {
            out += "[font " + set->font.name + " " + number(set->font.points) +
                   (set->font.bold ? " b" : "") + (set->font.italic ? " i" : "") + "]";
        } else if (const auto* text = std::get_if<PrintText>(&op)) {
            out += text->text;
            if (text->endLine) out += "\n";
        } else {
            out += "[end]\n";
        }
    }
    return out;
}

double PlainMetrics::lineHeight(const Font& font) const
{
    return font.points * 1.15;
}

double PlainMetrics::ascent(const Font& font) const
{
    return font.points * 0.8;
}

double PlainMetrics::width(const Font& font, std::string_view cp1252) const
{
    const bool mono = font.name.find("Courier") != std::string::npos;
    return static_cast<double>(cp1252.size()) * font.points * (mono ? 0.6 : 0.5);
}

std::vector<Page> layoutPages(const PrintJob& job, const FontMetrics& metrics,
                              const PageGeometry& geometry)
{
    std::vector<Page> pages(1);
    const double bottom = geometry.height - geometry.margin;
    double top = geometry.margin;  // the top of the line being built
    double x = geometry.margin;
    Font font{"Times New Roman", 12, false, false};
    std::vector<PlacedText> line;  // texts of the line being built, x set, baseline not yet
    double lineHeight = 0;
    double ascent = 0;

    auto endLine = [&] {
        // A line with nothing printed still takes the height of the font in force.
        if (lineHeight == 0) {
            lineHeight = metrics.lineHeight(font);
            ascent = metrics.ascent(font);
        }
        if (top + lineHeight > bottom && top > geometry.margin) {
            pages.emplace_back();
            top = geometry.margin;
        }
        for (auto& piece : line) {
            piece.baseline = top + ascent;
            pages.back().texts.push_back(std::move(piece));
        }
        line.clear();
        top += lineHeight;
        lineHeight = 0;
        ascent = 0;
        x = geometry.margin;
    };

    for (const auto& op : job.ops()) {
        if (const auto* set = std::get_if<SetFont>(&op)) {
            font = set->font;
        } else if (const auto* text = std::get_if<PrintText>(&op)) {
            lineHeight = std::max(lineHeight, metrics.lineHeight(font));
            ascent = std::max(ascent, metrics.ascent(font));
            if (!text->text.empty()) line.push_back({x, 0, font, text->text});
            x += metrics.width(font, text->text);
            if (text->endLine) endLine();
        } else {
            if (!line.empty()) endLine();
            break;
        }
    }
    if (!line.empty()) endLine();
    return pages;
}

namespace {

// The standard font that stands in for a font name: Arial is Helvetica, Courier New is
// Courier, anything else Times.
std::string baseFont(const Font& font)
{
    std::string family = "Times";
    if (font.name.find("Arial") != std::string::npos ||
        font.name.find("Helvetica") != std::string::npos ||
        font.name.find("Sans") != std::string::npos) {
        family = "Helvetica";
    } else if (font.name.find("Courier") != std::string::npos ||
               font.name.find("Mono") != std::string::npos) {
        family = "Courier";
    }
    if (family == "Times") {
        if (font.bold && font.italic) return "Times-BoldItalic";
        if (font.bold) return "Times-Bold";
        if (font.italic) return "Times-Italic";
        return "Times-Roman";
    }
    if (font.bold && font.italic) return family + "-BoldOblique";
    if (font.bold) return family + "-Bold";
    if (font.italic) return family + "-Oblique";
    return family;
}

std::string pdfString(std::string_view cp1252)
{
    std::string out = "(";
    for (char c : cp1252) {
        if (c == '(' || c == ')' || c == '\\') out += '\\';
        out += c;
    }
    return out + ")";
}

}  // namespace

std::string pdfDocument(const std::vector<Page>& pages, const PageGeometry& geometry)
{
    // Fonts first (one object each, in order of first use), then per page a content stream
    // and the page, then the page tree and the catalog.
    std::map<std::string, int> fontIds;
    std::vector<std::string> fontNames;
    for (const auto& page : pages) {
        for (const auto& text : page.texts) {
            const std::string base = baseFont(text.font);
            if (fontIds.try_emplace(base, static_cast<int>(fontNames.size()) + 1).second) {
                fontNames.push_back(base);
            }
        }
    }
    std::vector<std::string> objects;  // object n is objects[n - 1]
    for (const auto& base : fontNames) {
        objects.push_back("<< /Type /Font /Subtype /Type1 /BaseFont /" + base +
                          " /Encoding /WinAnsiEncoding >>");
    }
    std::string fontResources = "<< ";
    for (const auto& base : fontNames) {
        fontResources +=
            "/F" + std::to_string(fontIds[base]) + " " + std::to_string(fontIds[base]) + " 0 R ";
    }
    fontResources += ">>";

    const int pagesObject = static_cast<int>(fontNames.size() + 2 * pages.size()) + 1;
    std::vector<int> pageObjects;
    for (const auto& page : pages) {
        std::string content;
        for (const auto& text : page.texts) {
            content += "BT /F" + std::to_string(fontIds[baseFont(text.font)]) + " " +
                       number(text.font.points) + " Tf " + number(text.x) + " " +
                       number(geometry.height - text.baseline) + " Td " + pdfString(text.text) +
                       " Tj ET\n";
        }
        objects.push_back("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" +
                          content + "endstream");
        const int contentObject = static_cast<int>(objects.size());
        objects.push_back("<< /Type /Page /Parent " + std::to_string(pagesObject) +
                          " 0 R /MediaBox [0 0 " + number(geometry.width) + " " +
                          number(geometry.height) + "] /Resources << /Font " + fontResources +
                          " >> /Contents " + std::to_string(contentObject) + " 0 R >>");
        pageObjects.push_back(static_cast<int>(objects.size()));
    }
    std::string kids;
    for (int id : pageObjects) kids += std::to_string(id) + " 0 R ";
    objects.push_back("<< /Type /Pages /Kids [" + kids + "] /Count " +
                      std::to_string(pageObjects.size()) + " >>");
    objects.push_back("<< /Type /Catalog /Pages " + std::to_string(pagesObject) + " 0 R >>");

    std::string pdf = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const std::size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (std::size_t offset : offsets) {
        char entry[32];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        pdf += entry;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root " +
           std::to_string(objects.size()) + " 0 R >>\nstartxref\n" + std::to_string(xref) +
           "\n%%EOF\n";
    return pdf;
}

}  // namespace culvora::print
