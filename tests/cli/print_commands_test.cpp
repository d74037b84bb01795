// culvora-cli's printouts and weekly menu.

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
        dir.write(
            "BOOK1.TXT",
            cookbook({
                {.name = "Stew",
                 .time = "50",
                 .ingredients = {"500 g beef"},
                 .steps = {"Cook well."}},
                {.name = "Roast", .time = "90", .ingredients = {"1 kg lamb"}},
                {.name = "Hash", .time = "20", .ingredients = {"2 eggs"}},
                {.name = "Salad", .time = "10", .ingredients = {"lettuce"}, .type = "First Course"},
            }));
    }
    TempDir dir;
};

TEST(CliPrint, TheRecipeAndTheGroceryListWithTheirStyles)
{
    Kitchen k;
    auto recipe = runCli(k.dir, {"print", "Stew"});
    EXPECT_EQ(recipe.exitCode, 0) << recipe.err;
    EXPECT_EQ(recipe.out,
              "heading\t\nheading\t\ntitle\tStew\nheading\t(Serves 4)\n"
              "heading\tTime to cook: 50 min\nheading\t\nheading\tIngredients:\n"
              "body\t500 g beef\nheading\t\nheading\tInstructions:\nbody\tCook well.\n");
    EXPECT_EQ(runCli(k.dir, {"print", "--grocery", "Stew"}).out,
              "heading\t\nheading\tGrocery list\nheading\t\nbody\t500 g beef\n");
    auto gone = runCli(k.dir, {"print", "Pie"});
    EXPECT_EQ(gone.exitCode, 1);

    auto pdf = runCli(k.dir, {"print", "Stew", "--pdf", k.dir.file("stew.pdf").string()});
    EXPECT_EQ(pdf.exitCode, 0) << pdf.err;
    const auto stew = readPdf(k.dir.file("stew.pdf"));
    ASSERT_TRUE(stew.ok()) << stew.error;
    EXPECT_EQ(stew.pageCount, 1);
    EXPECT_EQ(stew.words(), "Stew\n(Serves 4)\nTime to cook: 50 min\nIngredients:\n500 g beef\n"
                            "Instructions:\nCook well.\n\f");
}

TEST(CliPrint, TheMenuListsCandidatesAndAReproduciblePick)
{
    Kitchen k;
    auto casual = runCli(k.dir, {"menu", "--option", "casual"});
    EXPECT_EQ(casual.exitCode, 0) << casual.err;
    EXPECT_EQ(casual.out, "Stew\nHash\n");
    EXPECT_EQ(runCli(k.dir, {"menu", "--option", "special"}).out, "Roast\n");
    EXPECT_EQ(runCli(k.dir, {"menu", "--option", "light"}).out, "Salad\n");
    EXPECT_EQ(runCli(k.dir, {"menu", "--option", "casual", "--with", "egg"}).out, "Hash\n");
    const auto first = runCli(k.dir, {"menu", "--option", "casual", "--seed", "7"}).out;
    EXPECT_EQ(runCli(k.dir, {"menu", "--option", "casual", "--seed", "7"}).out, first);
    EXPECT_TRUE(first == "Stew\nHash\nDish: Stew\n" || first == "Stew\nHash\nDish: Hash\n")
        << first;
    EXPECT_EQ(runCli(k.dir, {"menu", "--option", "casual", "--with", "caviar", "--seed", "1"}).out,
              "Dish: (No suggestion)\n");
    EXPECT_EQ(runCli(k.dir, {"menu", "--option", "hearty"}).exitCode, 2);
    // The scratch file holds the last ingredient section read.
    EXPECT_EQ(k.dir.read("ind.tmp"), crlf({"lettuce", "[G\xD6RA]"}));

    // The printed menu gives every evening the picked dish.
    auto printed =
        runCli(k.dir, {"menu", "--option", "light", "--pdf", k.dir.file("menu.pdf").string()});
    EXPECT_EQ(printed.exitCode, 0) << printed.err;
    EXPECT_EQ(printed.out, "Salad\nDish: Salad\n");
    const auto menu = readPdf(k.dir.file("menu.pdf"));
    ASSERT_TRUE(menu.ok()) << menu.error;
    EXPECT_EQ(menu.pageCount, 1);
    std::string week = "Menu for the week\n";
    for (const char* day :
         {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"})
        week += std::string(day) + "\nSalad\n";
    EXPECT_NE(menu.words().find(week), std::string::npos) << menu.text;
}

}  // namespace
