#include <gtest/gtest.h>

#include "support/cli_runner.h"
#include "support/records.h"
#include "support/temp_dir.h"

namespace culvora::testing {
namespace {

class ViewerCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        data.write("tavendi.ini", crlf({"BOOK1.TXT", "0"}));
        data.write("bocker.txt", crlf({"Standard", "BOOK1.TXT", "Baking", "BOOK2.TXT"}));
        data.write("BOOK1.TXT", cookbook({
                                    {.name = "Waffles",
                                     .servings = "6",
                                     .time = "20",
                                     .ingredients = {"3 eggs", "", "5 dl milk"},
                                     .steps = {"Whisk.", "Bake."},
                                     .type = "Desserts"},
                                    {.name = "\xC4ppelkaka",
                                     .servings = "8",
                                     .time = "50",
                                     .ingredients = {},
                                     .steps = {},
                                     .type = "Desserts"},
                                    {.name = "Buns",
                                     .servings = "12",
                                     .time = "90",
                                     .ingredients = {"flour"},
                                     .steps = {"Knead."},
                                     .type = "Desserts"},
                                }));
        data.write("BOOK2.TXT", record({.name = "Scones",
                                        .servings = "4",
                                        .time = "25",
                                        .ingredients = {"flour"},
                                        .steps = {"Bake."},
                                        .type = "Desserts"}));
    }

    TempDir data;
};

TEST_F(ViewerCommands, ViewPrintsWhatTheViewerShows)
{
    auto run = runCli(data, {"view", "Waffles"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Waffles\n(Serves 6)\nTime to cook: 20 min\n\n3 eggs\n\n5 dl milk\n\n"
                       "Whisk.\nBake.\n");

    auto empty = runCli(data, {"view", "\xC3\x84ppelkaka"});
    EXPECT_EQ(empty.exitCode, 0) << empty.err;
    EXPECT_EQ(empty.out, "\xC3\x84ppelkaka\n(Serves 8)\nTime to cook: 50 min\n\n\n");

    auto other = runCli(data, {"--book", "BOOK2.TXT", "view", "Scones"});
    EXPECT_EQ(other.exitCode, 0) << other.err;
    EXPECT_EQ(other.out.substr(0, 18), "Scones\n(Serves 4)\n");
}

TEST_F(ViewerCommands, NextAndPrevFollowTheProgramsOrderAndWrap)
{
    // The order: Buns, Waffles (W with V), Äppelkaka (after Z).
    struct Case {
        std::string command, name, expected;
    };
    for (const auto& c : std::vector<Case>{
             {"next", "Buns", "Waffles\n"},
             {"next", "Waffles", "\xC3\x84ppelkaka\n"},
             {"next", "\xC3\x84ppelkaka", "Buns\n"},
             {"prev", "Buns", "\xC3\x84ppelkaka\n"},
             {"prev", "Waffles", "Buns\n"},
         }) {
        auto run = runCli(data, {c.command, c.name});
        EXPECT_EQ(run.exitCode, 0) << c.command << " " << c.name << ": " << run.err;
        EXPECT_EQ(run.out, c.expected) << c.command << " " << c.name;
    }
    auto alone = runCli(data, {"--book", "BOOK2.TXT", "prev", "Scones"});
    EXPECT_EQ(alone.out, "Scones\n");
}

TEST_F(ViewerCommands, AMissingRecipeOrCookbookFails)
{
    for (const std::string command : {"view", "next", "prev"}) {
        auto run = runCli(data, {command, "Crumble"});
        EXPECT_EQ(run.exitCode, 1) << command;
        EXPECT_EQ(run.out, "") << command;
        EXPECT_EQ(run.err, "culvora-cli: The recipe \"Crumble\" was not found in the cookbook.\n")
            << command;
    }
    // An ingredient line is not a recipe name.
    EXPECT_EQ(runCli(data, {"view", "flour"}).exitCode, 1);

    auto book = runCli(data, {"--book", "BOOK7.TXT", "view", "Buns"});
    EXPECT_EQ(book.exitCode, 1);
    EXPECT_TRUE(
        book.err.starts_with("culvora-cli: The cookbook file \"BOOK7.TXT\" could not be found in "))
        << book.err;

    auto usage = runCli(data, {"view"});
    EXPECT_EQ(usage.exitCode, 2);
}

}  // namespace
}  // namespace culvora::testing
