#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

#include "core/print/print_job.h"
#include "support/pdf_text.h"
#include "support/temp_dir.h"

using namespace culvora::print;
using culvora::testing::readPdf;
using culvora::testing::TempDir;

namespace {

PrintJob lines(int count, double points)
{
    PrintJob job;
    job.setSize(points);
    for (int i = 0; i < count; ++i) job.print("line " + std::to_string(i));
    job.end();
    return job;
}

TEST(PrintJob, TextsStayOnTheLineOrEndItInTheFontInForce)
{
    PrintJob job;
    job.setFont({"Courier New", 8.25, true, false});
    job.print("   ", false);
    job.setFont({"Times New Roman", 12, true, false});
    job.print("Ingredients:");
    job.setBold(false);
    job.print("");
    job.end();
    EXPECT_EQ(job.describe(),
              "[font Courier New 8.25 b]   [font Times New Roman 12 b]Ingredients:\n"
              "[font Times New Roman 12]\n[end]\n");

    const auto pages = layoutPages(job, PlainMetrics{});
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_EQ(pages[0].texts.size(), 2u);
    const PlacedText& indent = pages[0].texts[0];
    const PlacedText& word = pages[0].texts[1];
    // On one line: the same baseline, the word right after the indent, inside the margin.
    EXPECT_DOUBLE_EQ(indent.baseline, word.baseline);
    EXPECT_DOUBLE_EQ(indent.x, PageGeometry{}.margin);
    EXPECT_DOUBLE_EQ(word.x, indent.x + 3 * 8.25 * 0.6);
    EXPECT_TRUE(word.font.bold);
}

TEST(PrintJob, ALineThatDoesNotFitGoesToTheNextPage)
{
    // A4 less 2 cm margins holds 728 points: 63 lines of 10 points (11.5 each).
    EXPECT_EQ(layoutPages(lines(63, 10), PlainMetrics{}).size(), 1u);
    const auto pages = layoutPages(lines(64, 10), PlainMetrics{});
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[1].texts.size(), 1u);
    EXPECT_EQ(pages[1].texts[0].text, "line 63");
    for (const auto& page : pages) {
        for (const auto& text : page.texts) {
            EXPECT_GE(text.baseline, PageGeometry{}.margin);
            EXPECT_LE(text.baseline, PageGeometry{}.height - PageGeometry{}.margin);
        }
    }
    // Empty lines take room too: four of 24 points push a line down by 4 × 27.6.
    PrintJob job;
    job.setSize(24);
    for (int i = 0; i < 4; ++i) job.print("");
    job.print("x");
    job.end();
    EXPECT_NEAR(layoutPages(job, PlainMetrics{})[0].texts[0].baseline,
                PageGeometry{}.margin + 4 * 27.6 + 24 * 0.8, 1e-9);
}

TEST(PrintJob, APdfHoldsEveryPageAndItsTexts)
{
    PrintJob job;
    job.setFont({"Arial", 20.25, true, true});
    job.print("Menu (for) the week \\ \xC4ppelpaj");
    job.end();
    const std::string pdf = pdfDocument(layoutPages(job, PlainMetrics{}));
    EXPECT_TRUE(pdf.starts_with("%PDF-1.4"));
    EXPECT_TRUE(pdf.ends_with("%%EOF\n"));
    EXPECT_NE(pdf.find("/BaseFont /Helvetica-BoldOblique"), std::string::npos);
    EXPECT_NE(pdf.find("/Encoding /WinAnsiEncoding"), std::string::npos);
    EXPECT_NE(pdf.find("(Menu \\(for\\) the week \\\\ \xC4ppelpaj) Tj"), std::string::npos);
    EXPECT_NE(pdf.find("/Count 1"), std::string::npos);
    EXPECT_NE(pdfDocument(layoutPages(lines(200, 10), PlainMetrics{})).find("/Count 4"),
              std::string::npos);
    // The cross-reference table points at the objects.
    const auto xref = pdf.find("xref\n");
    ASSERT_NE(xref, std::string::npos);
    const auto first = pdf.find("0000000000 65535 f \n", xref);
    const std::size_t offset = std::stoul(pdf.substr(first + 20, 10));
    EXPECT_EQ(pdf.substr(offset, 8), "1 0 obj\n");
}

TEST(PrintJob, APdfReadsBackInAPdfReader)
{
    TempDir dir;
    PrintJob job;
    job.setFont({"Arial", 20.25, true, true});
    job.print("Menu (for) the week \\ \xC4ppelpaj");
    job.end();
    dir.write("menu.pdf", pdfDocument(layoutPages(job, PlainMetrics{})));
    const auto menu = readPdf(dir.file("menu.pdf"));
    ASSERT_TRUE(menu.ok()) << menu.error;
    EXPECT_EQ(menu.pageCount, 1);
    EXPECT_EQ(menu.words(), "Menu (for) the week \\ \u00C4ppelpaj\n\f");

    dir.write("long.pdf", pdfDocument(layoutPages(lines(200, 10), PlainMetrics{})));
    const auto several = readPdf(dir.file("long.pdf"));
    ASSERT_TRUE(several.ok()) << several.error;
    EXPECT_EQ(several.pageCount, 4);
    ASSERT_EQ(several.pages.size(), 4u);
    // 63 lines to a page, in order.
    EXPECT_TRUE(several.pages[0].starts_with("line 0\nline 1\n")) << several.pages[0];
    EXPECT_NE(several.pages[0].find("line 62\n"), std::string::npos);
    EXPECT_TRUE(several.pages[1].starts_with("line 63\n")) << several.pages[1];
    EXPECT_TRUE(several.pages[3].ends_with("line 199\n")) << several.pages[3];
}

}  // namespace

namespace {

// Every character half its size wide, a line as high as its size: 36 characters of 10 points
// fill a row of a page 200 points square with margins of 10.
struct EvenMetrics : FontMetrics {
    double lineHeight(const Font& font) const override { return font.points; }
    double ascent(const Font& font) const override { return font.points * 0.8; }
    double width(const Font& font, std::string_view text) const override
    {
        return static_cast<double>(text.size()) * font.points / 2;
    }
};
const PageGeometry kSmall{200, 200, 10};

struct Row {
    double x;
    std::string text;
    bool operator==(const Row&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Row& row)
{
    return out << row.x << " \"" << row.text << "\"";
}

// The rows of each page: the texts on one baseline joined, with the x where the row starts.
std::vector<std::vector<Row>> rows(const std::vector<Page>& pages)
{
    std::vector<std::vector<Row>> out;
    for (const auto& page : pages) {
        out.emplace_back();
        double baseline = -1;
        for (const auto& text : page.texts) {
            if (text.baseline != baseline) out.back().push_back({text.x, ""});
            baseline = text.baseline;
            out.back().back().text += text.text;
        }
    }
    return out;
}

TEST(PrintJob, ALineTooWideForThePageIsBrokenIntoRowsAndNothingIsLost)
{
    const std::string x80(80, 'x');
    struct Case {
        const char* what;
        std::string indent;  // printed first in Courier 8, then the line in Times 10
        std::string line;
        std::vector<Row> rows;
    };
    const Case cases[] = {
        {"at blanks, under the text",
         "   ",
         "alpha beta gamma delta epsilon zeta eta theta iota kappa",
         {{10, "   alpha beta gamma delta epsilon"}, {22, "zeta eta theta iota kappa"}}},
        {"a word longer than a row is cut",
         "   ",
         x80,
         {{10, "   " + x80.substr(0, 33)}, {22, x80.substr(0, 33)}, {22, x80.substr(0, 14)}}},
        {"a word too long for what is left goes whole to the next row",
         "",
         "ab " + x80,
         {{10, "ab"}, {10, x80.substr(0, 36)}, {10, x80.substr(0, 36)}, {10, x80.substr(0, 8)}}},
        {"after a list mark",
         "",
         "\x95 one two three four five six seven eight nine ten",
         {{10, "\x95 one two three four five six seven"}, {20, "eight nine ten"}}},
        {"blanks in the text stay, those at a break go",
         "  ",
         "a  b  c  d  e  f  g  h  i  j  k  l  m  n  o  p   ",
         {{10, "  a  b  c  d  e  f  g  h  i  j  k  l"}, {18, "m  n  o  p   "}}},
        // Half the row or more of leading blanks: the rows after the first use the whole row.
        {"an indent of half the row does not hold",
         std::string(23, ' '),
         "alpha beta gamma delta epsilon zeta",
         {{10, std::string(23, ' ') + "alpha beta gamma"}, {10, "delta epsilon zeta"}}},
    };
    for (const Case& c : cases) {
        PrintJob job;
        job.setFont({"Courier New", 8, false, false});
        job.print(c.indent, false);
        job.setFont({"Times New Roman", 10, false, false});
        job.print(c.line);
        job.end();
        const auto pages = layoutPages(job, EvenMetrics{}, kSmall);
        ASSERT_EQ(pages.size(), 1u) << c.what;
        EXPECT_EQ(rows(pages)[0], c.rows) << c.what;
        double baseline = 0;
        for (const auto& text : pages[0].texts) {
            EXPECT_LE(text.x + EvenMetrics{}.width(text.font, text.text), 190 + 1e-9) << c.what;
            EXPECT_GE(text.baseline, baseline) << c.what;
            baseline = text.baseline;
            // Every row is as high as the line: 10 points.
            EXPECT_EQ(std::fmod(text.baseline - 10 - 8, 10.0), 0) << c.what;
        }
    }
}

TEST(PrintJob, AHugeWordIsCutRowByRowWithEveryLetterKept)
{
    std::string word;
    for (int i = 0; i < 100000; ++i) word += static_cast<char>('a' + i % 26);
    PrintJob job;
    job.setSize(10);
    job.print(word);
    job.end();
    std::string back;
    std::size_t count = 0;
    for (const auto& page : rows(layoutPages(job, EvenMetrics{}, kSmall))) {
        for (const auto& row : page) {
            EXPECT_LE(row.text.size(), 36u);
            back += row.text;
            ++count;
        }
    }
    EXPECT_EQ(back, word);
    EXPECT_EQ(count, (word.size() + 35) / 36);
}

TEST(PrintJob, ABrokenLineGoesOnOnTheNextPage)
{
    // 18 rows of 10 points fill a page; the seventeenth line takes three rows.
    PrintJob job;
    job.setSize(10);
    for (int i = 0; i < 16; ++i) job.print("line " + std::to_string(i));
    job.print("one two three four five six seven eight nine ten eleven twelve thirteen fourteen "
              "fifteen");
    job.print("after");
    job.end();
    const auto pages = rows(layoutPages(job, EvenMetrics{}, kSmall));
    ASSERT_EQ(pages.size(), 2u);
    ASSERT_EQ(pages[0].size(), 18u);
    EXPECT_EQ(pages[0][16], (Row{10, "one two three four five six seven"}));
    EXPECT_EQ(pages[0][17], (Row{10, "eight nine ten eleven twelve"}));
    EXPECT_EQ(pages[1], (std::vector<Row>{{10, "thirteen fourteen fifteen"}, {10, "after"}}));
    EXPECT_DOUBLE_EQ(layoutPages(job, EvenMetrics{}, kSmall)[1].texts[0].baseline, 18);
}

TEST(PrintJob, PlainMetricsMeasureEachLetter)
{
    const PlainMetrics plain;
    const Font times{"Times New Roman", 10, false, false};
    EXPECT_DOUBLE_EQ(plain.width({"Courier New", 10, true, false}, "WWii"), 24);
    EXPECT_GT(plain.width(times, "WWWW"), plain.width(times, "iiii"));
    EXPECT_GT(plain.width(times, "ABCD"), plain.width(times, "abcd"));
    EXPECT_DOUBLE_EQ(plain.width(times, "\xC5"), plain.width(times, "A"));
    EXPECT_GT(plain.width(times, std::string_view("\0", 1)), 0);
}

}  // namespace
