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

namespace {

// The width of each character from the blank on, in hundredths of the size: the widest it is
// in Times New Roman and Arial, plain, bold or italic (as their metric twins from Liberation
// measure them), rounded up.
constexpr unsigned char kWidest[224] = {
    28,  39, 56, 56, 56, 100, 84,  28,  34, 34,  50, 68, 28,  34, 28, 28,  // 20
    56,  56, 56, 56, 56, 56,  56,  56,  56, 56,  34, 34, 68,  68, 68, 62,  // 30
    102, 73, 73, 73, 73, 67,  67,  78,  78, 39,  56, 78, 67,  95, 73, 78,  // 40
    67,  78, 73, 67, 67, 73,  73,  100, 73, 73,  67, 39, 28,  39, 59, 56,  // 50
    34,  56, 62, 56, 62, 56,  34,  62,  62, 28,  34, 56, 28,  89, 62, 62,  // 60
    62,  62, 45, 56, 34, 62,  56,  78,  56, 56,  50, 48, 28,  48, 59, 37,  // 70
    56,  37, 34, 56, 56, 100, 56,  56,  34, 100, 67, 34, 100, 37, 67, 37,  // 80
    37,  34, 34, 56, 56, 35,  56,  100, 34, 100, 56, 34, 95,  37, 50, 73,  // 90
    28,  39, 56, 56, 56, 56,  28,  56,  34, 76,  37, 56, 68,  34, 76, 56,  // A0
    40,  55, 34, 34, 34, 58,  56,  28,  34, 34,  37, 56, 84,  84, 84, 62,  // B0
    73,  73, 73, 73, 73, 73,  100, 73,  67, 67,  67, 67, 39,  39, 39, 39,  // C0
    73,  73, 78, 78, 78, 78,  78,  68,  78, 73,  73, 73, 73,  73, 67, 62,  // D0
    56,  56, 56, 56, 56, 56,  89,  56,  56, 56,  56, 56, 28,  28, 28, 28,  // E0
    62,  62, 62, 62, 62, 62,  62,  55,  62, 62,  62, 62, 62,  56, 62, 56,  // F0
};

double plainWidth(unsigned char c)
{
    // A control character prints as nothing, or as a box no wider than a wide letter.
    return c < 0x20 ? 1.0 : kWidest[c - 0x20] / 100.0;
}

}  // namespace

double PlainMetrics::width(const Font& font, std::string_view cp1252) const
{
    if (font.name.find("Courier") != std::string::npos) {
        return static_cast<double>(cp1252.size()) * font.points * 0.6;
    }
    double ems = 0;
    for (char c : cp1252) ems += plainWidth(static_cast<unsigned char>(c));
    // A fiftieth to spare for the standard faces a PDF reader puts in their place.
    return ems * font.points * 1.02;
}

namespace {

// A stretch of a printed line in one font.
struct Run {
    Font font;
    std::string text;
};

// A word, or the blanks between words, of a printed line: the parts of it in each font.
struct Token {
    bool blank = false;
    std::vector<Run> parts;
};

std::vector<Token> tokens(const std::vector<Run>& runs)
{
    std::vector<Token> out;
    for (const Run& run : runs) {
        for (char c : run.text) {
            const bool blank = c == ' ';
            if (out.empty() || out.back().blank != blank) out.push_back({blank, {}});
            auto& parts = out.back().parts;
            if (parts.empty() || !(parts.back().font == run.font)) parts.push_back({run.font, {}});
            parts.back().text += c;
        }
    }
    return out;
}

// A list mark at the start of a line ("• ", "- ", "* "): a line broken after it goes on under
// the text, not under the mark.
bool listMark(const Token& token)
{
    if (token.blank || token.parts.size() != 1 || token.parts[0].text.size() != 1) return false;
    const char mark = token.parts[0].text[0];
    return mark == '\x95' || mark == '-' || mark == '*' || mark == '\xB7';
}

// Fills the rows of one printed line too long for the page: word by word, a word that does not
// fit going to the next row, which starts under the line's text (after its leading blanks and
// list mark). A word longer than a row is cut where the row ends. Blanks where a row breaks are
// left out.
class LineFiller {
public:
    LineFiller(const FontMetrics& metrics, double left, double right)
        : metrics_(metrics),
          left_(left),
          right_(right),
          cursor_(left)
    {
    }

    std::vector<std::vector<PlacedText>> fill(const std::vector<Run>& runs)
    {
        const std::vector<Token> all = tokens(runs);
        std::size_t next = 0;
        // The leading blanks and a list mark with its blank make the indent, on the first row
        // as printed and as the start of every further row.
        if (next < all.size() && all[next].blank) place(all[next++]);
        if (next + 1 < all.size() && listMark(all[next]) && all[next + 1].blank) {
            place(all[next++]);
            place(all[next++]);
        }
        // An indent so wide that little would be left beside it does not hold for the rows
        // that follow.
        hang_ = cursor_ - left_ <= (right_ - left_) / 2 ? cursor_ : left_;

        const Token* pending = nullptr;  // the blanks before the next word
        for (; next < all.size(); ++next) {
            const Token& token = all[next];
            if (token.blank) {
                pending = &token;
                continue;
            }
            if (endAfter(pending, token) <= right_) {
                if (pending) place(*pending);
                place(token);
            } else {
                if (rowHasWords()) newRow();
                if (endAfter(nullptr, token) <= right_) {
                    place(token);
                } else {
                    placeCut(token);
                }
            }
            pending = nullptr;
        }
        // Blanks at the end of a line are printed when they fit; they show nothing.
        if (pending && endAfter(pending, Token{}) <= right_) place(*pending);
        rows_.push_back(std::move(row_));
        return std::move(rows_);
    }

private:
    // Where the row would end with the blanks and the word put after what it holds. Parts in
    // the font of the text before them join it, and are measured with it.
    double endAfter(const Token* blanks, const Token& word) const
    {
        bool joined = !row_.empty();
        Font font = joined ? row_.back().font : Font{};
        std::string text = joined ? row_.back().text : std::string();
        double x = joined ? row_.back().x : cursor_;
        double end = cursor_;
        for (const Token* token : {blanks, &word}) {
            if (!token) continue;
            for (const Run& part : token->parts) {
                if (joined && part.font == font) {
                    text += part.text;
                } else {
                    x = end;
                    font = part.font;
                    text = part.text;
                    joined = true;
                }
                end = x + metrics_.width(font, text);
            }
        }
        return end;
    }

    bool rowHasWords() const { return cursor_ > hang_; }

    void place(const Token& token)
    {
        for (const Run& part : token.parts) append(part.font, part.text);
    }

    void append(const Font& font, std::string_view text)
    {
        if (!row_.empty() && row_.back().font == font) {
            row_.back().text += text;
        } else {
            row_.push_back({cursor_, 0, font, std::string(text)});
        }
        cursor_ = row_.back().x + metrics_.width(font, row_.back().text);
    }

    // A word wider than what is left of the row: as much of it as fits, the rest on the next
    // rows. Every row takes at least one character, so a huge letter still gets printed.
    void placeCut(const Token& word)
    {
        for (const Run& part : word.parts) {
            std::string_view rest = part.text;
            while (!rest.empty()) {
                const std::size_t fits = fittingPrefix(part.font, rest);
                if (fits == 0 && rowHasWords()) {
                    newRow();
                    continue;
                }
                const std::size_t take = std::max<std::size_t>(fits, 1);
                append(part.font, rest.substr(0, take));
                rest.remove_prefix(take);
                if (!rest.empty()) newRow();
            }
        }
    }

    // The longest start of the text that fits on the row after what it holds. The search
    // doubles its step first, so a word of a hundred thousand letters is measured a row's
    // worth at a time, not whole for every row.
    std::size_t fittingPrefix(const Font& font, std::string_view text) const
    {
        const bool joins = !row_.empty() && row_.back().font == font;
        const double x = joins ? row_.back().x : cursor_;
        const std::string before = joins ? row_.back().text : std::string();
        auto fits = [&](std::size_t length) {
            return x + metrics_.width(font, before + std::string(text.substr(0, length))) <= right_;
        };
        std::size_t low = 0;
        std::size_t high = 1;
        while (high < text.size() && fits(high)) {
            low = high;
            high *= 2;
        }
        high = std::min(high, text.size());
        while (low < high) {
            const std::size_t mid = (low + high + 1) / 2;
            if (fits(mid)) {
                low = mid;
            } else {
                high = mid - 1;
            }
        }
        return low;
    }

    void newRow()
    {
        rows_.push_back(std::move(row_));
        row_.clear();
        cursor_ = hang_;
    }

    const FontMetrics& metrics_;
    double left_;
    double right_;
    double cursor_;
    double hang_ = 0;
    std::vector<PlacedText> row_;
    std::vector<std::vector<PlacedText>> rows_;
};

}  // namespace

std::vector<Page> layoutPages(const PrintJob& job, const FontMetrics& metrics,
                              const PageGeometry& geometry)
{
    std::vector<Page> pages(1);
    const double bottom = geometry.height - geometry.margin;
    const double left = geometry.margin;
    const double right = geometry.width - geometry.margin;
    double top = geometry.margin;  // the top of the next row
    Font font{"Times New Roman", 12, false, false};
    std::vector<Run> line;  // the texts of the line being built
    double lineHeight = 0;
    double ascent = 0;

    auto putRow = [&](std::vector<PlacedText> row) {
        if (top + lineHeight > bottom && top > geometry.margin) {
            pages.emplace_back();
            top = geometry.margin;
        }
        for (auto& piece : row) {
            piece.baseline = top + ascent;
            pages.back().texts.push_back(std::move(piece));
        }
        top += lineHeight;
    };

    auto endLine = [&] {
        // A line with nothing printed still takes the height of the font in force.
        if (lineHeight == 0) {
            lineHeight = metrics.lineHeight(font);
            ascent = metrics.ascent(font);
        }
        // A line that fits is printed as it was given, each text after the one before; a
        // longer one is broken into rows of the same height.
        std::vector<PlacedText> row;
        double x = left;
        for (const Run& run : line) {
            row.push_back({x, 0, run.font, run.text});
            x += metrics.width(run.font, run.text);
        }
        if (x <= right) {
            putRow(std::move(row));
        } else {
            for (auto& each : LineFiller(metrics, left, right).fill(line)) putRow(std::move(each));
        }
        line.clear();
        lineHeight = 0;
        ascent = 0;
    };

    for (const auto& op : job.ops()) {
        if (const auto* set = std::get_if<SetFont>(&op)) {
            font = set->font;
        } else if (const auto* text = std::get_if<PrintText>(&op)) {
            lineHeight = std::max(lineHeight, metrics.lineHeight(font));
            ascent = std::max(ascent, metrics.ascent(font));
            if (!text->text.empty()) line.push_back({font, text->text});
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
