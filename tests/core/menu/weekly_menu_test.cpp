#include <gtest/gtest.h>

#include "core/menu/weekly_menu.h"
#include "support/records.h"
#include "support/temp_dir.h"

using namespace culvora;
using namespace culvora::menu;
using culvora::testing::cookbook;
using culvora::testing::crlf;
using culvora::testing::record;
using culvora::testing::TempDir;

namespace {

TEST(WeeklyMenu, TheDaysAndTheirArrows)
{
    EXPECT_EQ(dayNumber("Monday"), 1);
    EXPECT_EQ(dayNumber("Sunday"), 7);
    EXPECT_EQ(dayNumber("monday"), 0);
    EXPECT_EQ(nextDay(7), 1);
    EXPECT_EQ(previousDay(1), 7);
    EXPECT_EQ(previousCaption(2), "< Monday");
    EXPECT_EQ(nextCaption(2), "Wednesday >");
    EXPECT_EQ(previousCaption(7), "< Saturday");
    EXPECT_EQ(nextCaption(7), "Monday >");
    EXPECT_EQ(previousCaption(1), "< Sunday");
}

TEST(WeeklyMenu, WhichRecipesFitTheMeal)
{
    const std::string book = cookbook({
        {.name = "Stew", .time = "50", .ingredients = {"500 g beef", "2 eggs"}, .type = "Hot dish"},
        {.name = "Roast",
         .time = "51",
         .ingredients = {"1 kg lamb", "1 eggplant"},
         .type = "Hot dish"},
        // Time 0 and an empty type are never judged.
        {.name = "Imported soup", .time = "0", .ingredients = {"water"}, .type = "First Course"},
        {.name = "No type", .time = "20", .ingredients = {"2 eggs"}, .type = ""},
        {.name = "Salad",
         .time = "45 min",
         .ingredients = {"2 Eggs", "lettuce"},
         .type = "First Course"},
        {.name = "Omelette", .time = "10", .ingredients = {"3 Eggs", "milk"}, .type = "Hot dish"},
        {.name = "", .time = "10", .ingredients = {"eggs"}, .type = "Hot dish"},  // no name
        // The type is exact.
        {.name = "Quiche", .time = "30", .ingredients = {"2 eggs"}, .type = "hot dish"},
    });
    struct Case {
        Meal meal;
        std::vector<std::string> words;
        std::vector<std::string> candidates;
    };
    const Case cases[] = {
        {Meal::Casual, {}, {"Stew", "Omelette"}},
        {Meal::Special, {}, {"Roast"}},
        {Meal::Light, {}, {"Salad"}},
        {Meal::Casual, {"egg"}, {"Stew"}},    // "3 Eggs" does not hold "egg"
        {Meal::Special, {"egg"}, {"Roast"}},  // found in "eggplant"
        {Meal::Casual, {"egg", "beef"}, {"Stew"}},
        {Meal::Casual, {"egg", "milk"}, {}},
        {Meal::Casual, {"[G"}, {"Stew", "Omelette"}},  // the "[GÖRA]" line belongs to the text
    };
    for (const auto& c : cases) {
        EXPECT_EQ(compose(book, c.meal, c.words).candidates, c.candidates)
            << static_cast<int>(c.meal) << " " << c.words.size();
    }
    EXPECT_EQ(compose(book, Meal::Casual, {}).lastIngredients, crlf({"2 eggs", "[G\xD6RA]"}));
    EXPECT_TRUE(compose("", Meal::Casual, {}).candidates.empty());

    // A record cut short before its time or its type: the "[NAMN]" that follows is the next
    // record's tag, never the missing field, so the dish offered is a name the cookbook lists.
    const std::string cut =
        crlf({"[NAMN]", "Cut", "[PORTIONER]", "4", "[TID]"}) +
        record({.name = "[NAMN]", .time = "20", .ingredients = {"water"}, .type = "Hot dish"});
    EXPECT_EQ(compose(cut, Meal::Casual, {}).candidates, std::vector<std::string>{"[NAMN]"});
    // A record that lost its "[GÖRA]" line still has its type, and is judged like any other;
    // the tag line that ended its ingredients belongs to the text, as "[GÖRA]" would.
    const std::string lost = crlf({"[NAMN]", "Lost", "[PORTIONER]", "4", "[TID]", "20", "[IND]",
                                   "2 eggs", "[TYP]", "Hot dish"});
    EXPECT_EQ(compose(lost, Meal::Casual, {"egg"}).candidates, std::vector<std::string>{"Lost"});
    EXPECT_EQ(compose(lost, Meal::Casual, {}).lastIngredients, crlf({"2 eggs", "[TYP]"}));
}

TEST(WeeklyMenu, ThePickAndTheScratchFile)
{
    const std::vector<std::string> three = {"A", "B", "C"};
    EXPECT_EQ(pickDish(three, 0.0), "A");
    EXPECT_EQ(pickDish(three, 0.34), "B");
    EXPECT_EQ(pickDish(three, 0.999), "C");
    EXPECT_EQ(pickDish({}, 0.5), "(No suggestion)");

    TempDir dir;
    ProgramFolder folder(dir.path());
    dir.write("BOOK1.TXT",
              record({.name = "Stew", .time = "50", .ingredients = {"beef"}, .type = "Hot dish"}) +
                  record({.name = "Pie",
                          .time = "70",
                          .ingredients = {"apples", "flour"},
                          .type = "Desserts"}));
    auto composed = composeFromCookbook(folder, "BOOK1.TXT", Meal::Casual, {});
    ASSERT_TRUE(composed);
    EXPECT_EQ(composed->candidates, std::vector<std::string>{"Stew"});
    // Left on disk: the last ingredient section read, "[GÖRA]" included.
    EXPECT_EQ(dir.read("ind.tmp"), crlf({"apples", "flour", "[G\xD6RA]"}));
    EXPECT_FALSE(composeFromCookbook(folder, "../BOOK1.TXT", Meal::Casual, {}));
}

TEST(WeeklyMenu, ThePrintedMenu)
{
    std::array<std::string, 7> dishes;
    dishes.fill(std::string(kNothingYet));
    dishes[1] = "Stew";
    dishes[6] = std::string(kNoSuggestion);
    const std::string printed = menuPrintout(dishes, "https://culvora.example.org/").describe();
    std::string expected = "\n\n\n\n[font Arial 20.25 b i]       Menu for the week\n\n"
                           "[font Arial 20.25 i][font Arial 20.25][font Arial 16]";
    for (int day = 1; day <= 7; ++day) {
        if (day > 1) expected += "[font Arial 14][font Arial 16]";
        expected += "\n           " + std::string(dayName(day)) + "\n";
        expected +=
            "[font Times New Roman 16][font Times New Roman 14.25]   [font Times New Roman 14]" +
            dishes[static_cast<std::size_t>(day - 1)] + "\n[font Times New Roman 14]";
        if (day < 7) expected += "\n";
    }
    expected += "[font Times New Roman 11]\n\n                   Printed from 'Culvora'\n"
                "                   Visit us at https://culvora.example.org/\n[end]\n";
    EXPECT_EQ(printed, expected);
}

}  // namespace
