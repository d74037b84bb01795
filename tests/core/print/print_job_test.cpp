#include <gtest/gtest.h>

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
