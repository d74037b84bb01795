#pragma once

// A print job as the program's printouts describe it: font changes and texts, each text either
// staying on its line or ending it, then the end of the document — the calls a printer takes.
// The windows replay a job on the printer; culvora-cli writes it as text or as a PDF. The page
// layout (margins, line heights, page breaks) is worked out here once for both.

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace culvora::print {

struct Font {
    std::string name;  // "Times New Roman", "Courier New", "Arial"
    double points = 12;
    bool bold = false;
    bool italic = false;
    bool operator==(const Font&) const = default;
};

struct SetFont {
    Font font;
    bool operator==(const SetFont&) const = default;
};
struct PrintText {
    std::string text;  // Windows-1252
    bool endLine = true;
    bool operator==(const PrintText&) const = default;
};
struct EndDocument {
    bool operator==(const EndDocument&) const = default;
};
using PrintOp = std::variant<SetFont, PrintText, EndDocument>;

class PrintJob {
public:
    // Each change takes effect from the next text on, as a printer's font settings do.
    void setFont(Font font);
    void setFontName(std::string name);
    void setSize(double points);
    void setBold(bool bold);
    void setItalic(bool italic);
    void print(std::string_view text, bool endLine = true);
    void end();

    const std::vector<PrintOp>& ops() const { return ops_; }
    const Font& font() const { return font_; }

    // The job as readable text: font changes as "[font Arial 16 b i]", texts as printed, line
    // ends as line ends, the end as "[end]".
    std::string describe() const;

private:
    std::vector<PrintOp> ops_;
    Font font_{"Times New Roman", 12, false, false};
};

// --- The page ----------------------------------------------------------------------------

// A piece of text placed on a page, in points from the page's top left corner (the baseline's
// y), in its font.
struct PlacedText {
    double x = 0;
    double baseline = 0;
    Font font;
    std::string text;
};

struct Page {
    std::vector<PlacedText> texts;
};

struct PageGeometry {
    double width = 595.28;  // A4, points
    double height = 841.89;
    double margin = 56.69;  // 2 cm
};

// How tall a line of a font is and how far its baseline lies below the line's top, and how
// wide a text is, as the device that prints measures them.
struct FontMetrics {
    virtual ~FontMetrics() = default;
    virtual double lineHeight(const Font& font) const = 0;
    virtual double ascent(const Font& font) const = 0;
    virtual double width(const Font& font, std::string_view cp1252) const = 0;
};

// Metrics good enough without a font engine: a line is 1.15 × the size, the ascent 0.8 × it,
// a Courier character 0.6 × it wide, and any other character as wide as it is in the widest of
// Times and Arial in any style, so a line never prints wider than it was measured.
struct PlainMetrics : FontMetrics {
    double lineHeight(const Font& font) const override;
    double ascent(const Font& font) const override;
    double width(const Font& font, std::string_view cp1252) const override;
};

// The pages of a job, top to bottom inside the margins; a line that does not fit on the page
// goes to the next one. The height of a line is the tallest font printed on it (the font in
// force when an empty line ends).
//
// A line wider than the space between the margins is broken at its blanks into rows of that
// height, each row as wide as fits, and nothing of it is lost: the rows after the first start
// under the line's text, after its leading blanks and a list mark ("• ", "- "); the blanks where
// a row breaks are left out; a word longer than a row is cut where the row ends. The rows go on
// on the next page when the page is full. A line that fits is printed as it was given.
std::vector<Page> layoutPages(const PrintJob& job, const FontMetrics& metrics,
                              const PageGeometry& page = {});

// A PDF of the pages, with the standard fonts every PDF reader has (Times, Courier,
// Helvetica for Arial) in the Windows-1252 encoding of the texts.
std::string pdfDocument(const std::vector<Page>& pages, const PageGeometry& page = {});

}  // namespace culvora::print
