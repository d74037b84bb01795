// culvora-cli's shopping lists and the Meal-Master export.

#include <gtest/gtest.h>

#include "support/cli_runner.h"
#include "support/pdf_text.h"
#include "support/records.h"

using culvora::testing::cookbook;
using culvora::testing::crlf;
using culvora::testing::readPdf;
using culvora::testing::runCli;
using culvora::testing::TempDir;

namespace {

struct Kitchen {
    Kitchen()
    {
        dir.write("tavendi.ini", crlf({"BOOK1.TXT", "0"}));
        dir.write("BOOK1.TXT",
                  cookbook({
                      {.name = "Stew",
                       .time = "50",
                       .ingredients = {"500 g beef", "2 dl cream", "salt"},
                       .steps = {"Cook well."}},
                      {.name = "Hash", .time = "20", .ingredients = {"300 g beef", "1 dl cream"}},
                      {.name = "R\xE5raka",
                       .time = "30",
                       .ingredients = {"1 l milk", "salt"},
                       .type = "First Course"},
                  }));
    }
    TempDir dir;
};

TEST(CliShoppingList, TheNamedRecipesListAsTextOrPdf)
{
    Kitchen k;
    auto run = runCli(k.dir, {"shopping-list", "Stew", "Hash", "Råraka"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "800 g beef\n3 dl cream\n1 l milk\nsalt (Råraka)\nsalt (Stew)\n");

    auto pdf =
        runCli(k.dir, {"shopping-list", "Stew", "Hash", "--pdf", k.dir.file("list.pdf").string()});
    EXPECT_EQ(pdf.exitCode, 0) << pdf.err;
    const auto printed = readPdf(k.dir.file("list.pdf"));
    ASSERT_TRUE(printed.ok()) << printed.error;
    EXPECT_NE(printed.text.find("Shopping list"), std::string::npos) << printed.text;
    EXPECT_NE(printed.text.find("800 g beef"), std::string::npos) << printed.text;

    EXPECT_EQ(runCli(k.dir, {"shopping-list", "Stew", "Pie"}).exitCode, 1);
    EXPECT_EQ(runCli(k.dir, {"shopping-list"}).exitCode, 2);
}

TEST(CliShoppingList, TheMenusWeekAndItsList)
{
    Kitchen k;
    // Only Stew and Hash are casual dishes; the week's list adds up what its evenings need.
    auto run = runCli(k.dir, {"menu", "--option", "casual", "--seed", "3", "--shopping-list"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const auto heading = run.out.find("\nShopping list\n");
    ASSERT_NE(heading, std::string::npos) << run.out;
    const std::string week = run.out.substr(0, heading);
    int stews = 0;
    int hashes = 0;
    for (std::size_t at = 0; (at = week.find("Stew", at)) != std::string::npos; ++at) ++stews;
    for (std::size_t at = 0; (at = week.find("Hash", at)) != std::string::npos; ++at) ++hashes;
    EXPECT_EQ(stews + hashes, 7);
    const std::string beef = std::to_string(stews * 500 + hashes * 300) + " g beef";
    const std::string cream = std::to_string(stews * 2 + hashes) + " dl cream";
    std::string expected = beef + "\n" + cream + "\n";
    if (stews > 0) expected += "salt (Stew)\n";
    EXPECT_EQ(run.out.substr(heading + 15), expected);

    auto pdf = runCli(k.dir, {"menu", "--option", "casual", "--seed", "3", "--shopping-list",
                              "--pdf", k.dir.file("list.pdf").string()});
    EXPECT_EQ(pdf.exitCode, 0) << pdf.err;
    const auto printed = readPdf(k.dir.file("list.pdf"));
    ASSERT_TRUE(printed.ok()) << printed.error;
    EXPECT_NE(printed.text.find(beef), std::string::npos) << printed.text;
    EXPECT_EQ(printed.text.find("Monday"), std::string::npos) << printed.text;

    EXPECT_EQ(
        runCli(k.dir, {"menu", "--option", "casual", "--candidates", "--shopping-list"}).exitCode,
        2);
}

TEST(CliExportMealMaster, TheCookbookOrTheNamedRecipesGoOutAndComeBack)
{
    Kitchen k;
    k.dir.write("bocker.txt", crlf({"Middag", "BOOK1.TXT", "Tomt", "BOOK2.TXT"}));
    k.dir.write("BOOK2.TXT", "");

    auto all = runCli(k.dir, {"export-mm", k.dir.file("all.mmf").string()});
    EXPECT_EQ(all.exitCode, 0) << all.err;
    EXPECT_EQ(all.out, "3 recipes exported.\n");
    const std::string file = k.dir.read("all.mmf");
    EXPECT_TRUE(file.starts_with("MMMMM----- Recipe via Meal-Master (tm) v8.05\r\n")) << file;
    // Code page 850 by default: "å" is 0x86 there.
    EXPECT_NE(file.find("Title: R\x86"
                        "raka"),
              std::string::npos)
        << file;

    // Back in through the import, into the empty cookbook: the same recipes.
    auto in = runCli(k.dir, {"import-mm", k.dir.file("all.mmf").string(), "--to", "Tomt"});
    EXPECT_EQ(in.exitCode, 0) << in.err;
    EXPECT_EQ(in.out, "3 recipes imported.\n");
    auto listed = runCli(k.dir, {"list"});
    auto used = runCli(k.dir, {"use", "Tomt"});
    EXPECT_EQ(used.exitCode, 0) << used.err;
    EXPECT_EQ(runCli(k.dir, {"list"}).out, listed.out);
    EXPECT_EQ(runCli(k.dir, {"print", "--grocery", "Stew"}).out,
              "Grocery list\nStew\n\n500 g  beef\n2 dl cream\nsalt\n\n");

    // The named recipes of a cookbook, in UTF-8, to standard output.
    auto some = runCli(k.dir, {"export-mm", "-", "Hash", "--encoding", "utf-8"});
    EXPECT_EQ(some.exitCode, 0) << some.err;
    EXPECT_NE(some.out.find("      Title: Hash\r\n"), std::string::npos) << some.out;
    EXPECT_EQ(some.out.find("Stew"), std::string::npos) << some.out;
    auto book = runCli(k.dir, {"export-mm", "-", "--book", "Middag", "--encoding", "utf-8"});
    EXPECT_NE(book.out.find("Title: Råraka"), std::string::npos) << book.out;

    EXPECT_EQ(runCli(k.dir, {"export-mm", "-", "Pie"}).exitCode, 1);
    EXPECT_EQ(runCli(k.dir, {"export-mm", "-", "--book", "Nothing"}).exitCode, 1);
    EXPECT_EQ(runCli(k.dir, {"export-mm", "-", "Hash", "--book", "Middag"}).exitCode, 2);
    EXPECT_EQ(runCli(k.dir, {"export-mm", "-", "--encoding", "cp1252"}).exitCode, 2);
    EXPECT_EQ(runCli(k.dir, {"export-mm"}).exitCode, 2);
}

}  // namespace
