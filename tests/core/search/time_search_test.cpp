#include <gtest/gtest.h>

#include "core/search/time_search.h"
#include "core/store/cookbook.h"
#include "support/records.h"
#include "support/temp_dir.h"

using namespace culvora;
using namespace culvora::search;
using culvora::testing::cookbook;
using culvora::testing::crlf;
using culvora::testing::record;
using culvora::testing::TempDir;

namespace {

TEST(TimeSearch, TheTimeIsTheLeadingNumberBeforeTheFirstBlank)
{
    const std::pair<const char*, double> cases[] = {
        {"45 min", 45}, {"1 h", 1},    {"about 30", 0}, {"50", 50},  {"", 0},
        {"0", 0},       {"90min", 90}, {"1.5 h", 1.5},  {"  30", 0},
    };
    for (const auto& [time, minutes] : cases)
        EXPECT_DOUBLE_EQ(recipeMinutes(time), minutes) << time;
    const auto choices = maxTimeChoices();
    ASSERT_EQ(choices.size(), 31u);
    EXPECT_EQ(choices[5], "50");
    EXPECT_EQ(choices.back(), "300");
    EXPECT_EQ(minutesTable().size(), 10u);
    EXPECT_EQ(minutesTable()[1], "30 min = \xBD h");
}

TEST(TimeSearch, TypeTimeAndWordsMustAllHold)
{
    const std::string book = cookbook({
        {.name = "Omelette",
         .time = "10",
         .ingredients = {"3 Eggs", "1 dl milk"},
         .type = "Hot dish"},
        {.name = "Pancakes",
         .time = "50",
         .ingredients = {"2 eggs", "5 dl Milk", "3 dl flour"},
         .type = "Desserts"},
        {.name = "Moussaka",
         .time = "51",
         .ingredients = {"1 eggplant", "milk"},
         .type = "Desserts"},
        {.name = "Fruit salad", .time = "about 30", .ingredients = {"apples"}, .type = "Desserts"},
        {.name = "Cake", .time = "45 min", .ingredients = {"eggs"}, .type = "desserts"},
        {.name = "Waffles",
         .time = "20",
         .ingredients = {"2 eggs", "[optional] milk", "milk powder"},
         .type = "Desserts"},
    });
    const auto index = buildTimeIndex(book);
    ASSERT_EQ(index.size(), 6u);
    EXPECT_EQ(index[3], (TimeEntry{"Fruit salad", "about 30"}));

    struct Case {
        double max;
        std::string type;
        std::vector<std::string> words;
        std::vector<std::string> hits;
    };
    const Case cases[] = {
        {50, "Desserts", {}, {"Fruit salad", "Pancakes", "Waffles"}},  // 50 is inclusive
        {60, "Desserts", {}, {"Fruit salad", "Moussaka", "Pancakes", "Waffles"}},
        {0, "Desserts", {}, {"Fruit salad"}},                             // "about 30" reads as 0
        {300, "desserts", {}, {"Cake"}},                                  // the type is exact
        {300, "Desserts", {"egg"}, {"Moussaka", "Pancakes", "Waffles"}},  // eggs, eggplant
        {300, "Desserts", {"egg", "milk"}, {"Moussaka", "Pancakes", "Waffles"}},
        {300, "Desserts", {"flour", "milk"}, {"Pancakes"}},
        // Any line that begins with "[" ends the ingredients: "milk powder" is not read.
        {300, "Desserts", {"powder"}, {}},
        {300, "Hot dish", {"eggs", "milk"}, {"Omelette"}},  // the text is lower-cased
        {300, "Soups", {}, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(searchByTime(book, index, {c.type, c.max, c.words}), c.hits)
            << c.type << " " << c.max;
    }
}

TEST(TimeSearch, ARecipeGoneSinceTheScreenOpenedHidesNothingElse)
{
    const std::string before = cookbook({
        {.name = "Apple pie", .time = "40", .ingredients = {"apples"}, .type = "Desserts"},
        {.name = "Brownies", .time = "30", .ingredients = {"cocoa"}, .type = "Desserts"},
        {.name = "Crumble", .time = "20", .ingredients = {"oats"}, .type = "Desserts"},
        {.name = "Crumble", .time = "25", .ingredients = {"rhubarb"}, .type = "Desserts"},
    });
    const auto index = buildTimeIndex(before);
    // Brownies deleted and the first Crumble renamed after the index was made; an ingredient
    // line reading "Brownies" must not be taken for the recipe.
    const std::string after = cookbook({
        {.name = "Apple pie", .time = "40", .ingredients = {"Brownies"}, .type = "Desserts"},
        {.name = "Oat crumble", .time = "20", .ingredients = {"oats"}, .type = "Desserts"},
        {.name = "Crumble", .time = "25", .ingredients = {"rhubarb"}, .type = "Desserts"},
    });
    std::vector<std::size_t> running;
    const auto hits =
        searchByTime(after, index, {"Desserts", 300, {}},
                     [&](std::size_t examined, std::size_t) { running.push_back(examined); });
    EXPECT_EQ(hits, (std::vector<std::string>{"Apple pie", "Crumble"}));
    EXPECT_EQ(running, (std::vector<std::size_t>{1, 2, 3, 4}));
    // The second index entry of "Crumble" is the second record of that name: gone now.
    EXPECT_EQ(searchByTime(after, index, {"Desserts", 300, {"rhubarb"}}),
              (std::vector<std::string>{"Crumble"}));
    EXPECT_TRUE(searchByTime("", index, {"Desserts", 300, {}}).empty());
}

TEST(TimeSearch, TheIndexIsWrittenAtOpening)
{
    TempDir dir;
    ProgramFolder folder(dir.path());
    dir.write("BOOK1.TXT",
              record({.name = "Soup", .time = "30", .type = "Hot dish"}) + "[NAMN]\r\n");
    auto index = writeTimeIndex(folder, "BOOK1.TXT");
    ASSERT_TRUE(index) << index.error().message;
    EXPECT_EQ(dir.read("sök.tmp"), crlf({"Soup", "30"}));
    EXPECT_EQ(parseTimeIndex(dir.read("sök.tmp")), *index);
    EXPECT_FALSE(writeTimeIndex(folder, "../BOOK1.TXT"));
}

}  // namespace
