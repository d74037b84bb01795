#include <gtest/gtest.h>

#include "support/cli_runner.h"
#include "support/records.h"

using culvora::testing::crlf;
using culvora::testing::record;
using culvora::testing::runCli;
using culvora::testing::TempDir;

namespace {

const std::string kSoup = record({.name = "Soup",
                                  .servings = "4",
                                  .time = "30",
                                  .ingredients = {"water"},
                                  .steps = {"Boil."},
                                  .type = "Hot dish"});
const std::string kPie = record({.name = "\xC4ppelpaj",
                                 .servings = "8",
                                 .time = "50",
                                 .ingredients = {"apples"},
                                 .steps = {"Bake."},
                                 .type = "Desserts"});

struct Kitchen {
    Kitchen()
    {
        dir.write("tavendi.ini", crlf({"BOOK1.TXT", "0"}));
        dir.write("bocker.txt", crlf({"Standard", "BOOK1.TXT", "Baking", "BOOK2.TXT"}));
        dir.write("BOOK1.TXT", kSoup + kPie);
        dir.write("BOOK2.TXT", "");
    }
    TempDir dir;
};

TEST(CliRecipes, ListsIndexesAndShowsInUtf8)
{
    Kitchen k;
    auto list = runCli(k.dir, {"list"});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_EQ(list.out, "Soup\nÄppelpaj\n");

    auto index = runCli(k.dir, {"index"});
    EXPECT_EQ(index.exitCode, 0);
    EXPECT_NE(index.out.find("S -------\nSoup\nT -------\n"), std::string::npos) << index.out;
    EXPECT_NE(index.out.find("Z -------\nÄppelpaj\nNumber of recipes: 2\n"), std::string::npos);

    auto show = runCli(k.dir, {"show", "Äppelpaj"});
    EXPECT_EQ(show.exitCode, 0);
    EXPECT_EQ(show.out, "[NAMN]\nÄppelpaj\n[PORTIONER]\n8\n[TID]\n50\n[IND]\napples\n[GÖRA]\nBake."
                        "\n[TYP]\nDesserts\n");

    auto other = runCli(k.dir, {"--book", "BOOK2.TXT", "list"});
    EXPECT_EQ(other.exitCode, 0);
    EXPECT_EQ(other.out, "");
}

TEST(CliRecipes, AddsDeletesAndMoves)
{
    Kitchen k;
    auto added = runCli(k.dir, {"add"},
                        "[NAMN]\nTea\n[PORTIONER]\n2\n[TID]\n5\n[IND]\nwater\n[GÖRA]\nSteep.\n[TYP]"
                        "\nAccessories\n");
    ASSERT_EQ(added.exitCode, 0) << added.err;
    EXPECT_EQ(k.dir.read("BOOK1.TXT"), kSoup + kPie +
                                           record({.name = "Tea",
                                                   .servings = "2",
                                                   .time = "5",
                                                   .ingredients = {"water"},
                                                   .steps = {"Steep."},
                                                   .type = "Accessories"}));
    auto twice = runCli(k.dir, {"add"}, "[NAMN]\nTea\n[PORTIONER]\n1\n");
    EXPECT_EQ(twice.exitCode, 1);
    EXPECT_NE(twice.err.find("already"), std::string::npos);

    auto deleted = runCli(k.dir, {"delete", "Tea"});
    EXPECT_EQ(deleted.exitCode, 0) << deleted.err;
    EXPECT_EQ(k.dir.read("BOOK1.TXT"), kSoup + kPie + "[NAMN]\r\n");

    auto moved = runCli(k.dir, {"move", "Äppelpaj", "Baking"});
    EXPECT_EQ(moved.exitCode, 0) << moved.err;
    EXPECT_EQ(k.dir.read("BOOK2.TXT"), kPie);
    EXPECT_EQ(k.dir.read("BOOK1.TXT"), kSoup + "[NAMN]\r\n");
}

TEST(CliRecipes, ReportsWhatIsWrongWithExitCodes)
{
    Kitchen k;
    struct Case {
        std::vector<std::string> args;
        std::string input;
        int exitCode;
        std::string message;
    };
    const Case cases[] = {
        {{"show", "Cocoa"}, "", 1, "The recipe \"Cocoa\" was not found"},
        {{"delete", "Cocoa"}, "", 1, "not found"},
        {{"move", "Soup", "Nowhere"}, "", 1, "Nowhere"},
        {{"show"}, "", 2, "usage"},
        {{"frobnicate"}, "", 2, "unknown command"},
        {{}, "", 2, "usage"},
        {{"add"}, "no record here", 1, "[NAMN]"},
        {{"show", "Ramen 🍜"}, "", 1, "cannot be stored"},
        {{"--book", "MISSING.TXT", "delete", "Soup"}, "", 1, "MISSING.TXT"},
    };
    for (const auto& c : cases) {
        auto run = runCli(k.dir, c.args, c.input);
        EXPECT_EQ(run.exitCode, c.exitCode) << testing::PrintToString(c.args) << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(k.dir.read("BOOK1.TXT"), kSoup + kPie);
}

}  // namespace
