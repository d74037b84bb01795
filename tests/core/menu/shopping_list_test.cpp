#include <gtest/gtest.h>

#include "core/menu/shopping_list.h"
#include "core/menu/weekly_menu.h"
#include "support/records.h"
#include "support/temp_dir.h"

using namespace culvora;
using namespace culvora::menu;
using culvora::testing::cookbook;
using culvora::testing::TempDir;

namespace {

TEST(ShoppingList, MergesTheDishesLines)
{
    struct Case {
        const char* what;
        std::vector<DishIngredients> dishes;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"same ingredient, same unit: added up",
         {{"Pancakes", {"3 dl milk", "2 eggs"}}, {"Sauce", {"2 dl Milk", "1 egg"}}},
         // "1 egg" and "2 eggs" are not the same word; each stands as written.
         {"1 egg", "2 eggs", "5 dl milk"}},
        {"letter case and blanks in the ingredient do not matter, plural units are one",
         {{"A", {"1 cup  brown sugar"}}, {"B", {"2 cups Brown Sugar"}}},
         {"3 cups brown sugar"}},
        {"fractions and decimal commas are written back as a cook writes them",
         {{"A", {"1 1/2 tsk salt", "1,5 kg potatis"}}, {"B", {"1/2 tsk salt", "1 kg potatis"}}},
         {"2,5 kg potatis", "2 tsk salt"}},
        {"more than one is written with the plural a line used; an abbreviation stays as it is",
         {{"A", {"2 cups oats", "1 Tbsp. butter"}}, {"B", {"1 cup oats", "1 tbsp butter"}}},
         {"2 Tbsp. butter", "3 cups oats"}},
        {"ranges are added end to end",
         {{"A", {"2-3 cloves garlic"}}, {"B", {"1 cloves garlic"}}},
         {"3-4 cloves garlic"}},
        {"another unit of the same ingredient is kept apart, per dish",
         {{"Soup", {"5 dl milk"}}, {"Bread", {"1 l milk"}}, {"Stew", {"2 dl milk"}}},
         {"1 l milk (Bread)", "2 dl milk (Stew)", "5 dl milk (Soup)"}},
        {"lines without an amount: once per dish with its name; headings and empty lines out",
         {{"Stew", {"Sauce:", "salt", "", "[Filling]", "salt", "-----FILLING-----"}},
          {"Fish", {"Salt", "  pepper  "}}},
         {"pepper (Fish)", "Salt (Fish)", "salt (Stew)"}},
        {"a dish on two evenings counts twice",
         {{"Stew", {"500 g beef", "salt"}}, {"Stew", {"500 g beef", "salt"}}},
         {"1000 g beef", "salt (Stew)"}},
        {"sorted by the ingredient in the program's collation: Å Ä Ö after Z",
         {{"A", {"1 \xE4pple", "2 dl zucchini", "1 \xE5kerb\xE4r", "3 dl vatten", "1 Wok"}}},
         {"3 dl vatten", "1 Wok", "2 dl zucchini", "1 \xE5kerb\xE4r", "1 \xE4pple"}},
        {"no dishes, nothing", {}, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(shoppingList(c.dishes), c.expected) << c.what;
    }
}

TEST(ShoppingList, ReadsTheDishesFromTheCookbookAndSkipsNoSuggestion)
{
    TempDir dir;
    ProgramFolder folder(dir.path());
    ASSERT_TRUE(
        folder.write("bok.txt",
                     cookbook({
                         {.name = "Pancakes", .ingredients = {"3 dl milk", "2 eggs", "salt"}},
                         {.name = "Omelette", .ingredients = {"3 eggs", ""}},
                     }),
                     "bok.new"));
    auto list =
        shoppingListOf(folder, "bok.txt", {"Pancakes", std::string(kNoSuggestion), "Omelette", ""});
    ASSERT_TRUE(list) << list.error().message;
    EXPECT_EQ(*list, (std::vector<std::string>{"5 eggs", "3 dl milk", "salt (Pancakes)"}));

    auto missing = shoppingListOf(folder, "bok.txt", {"Pancakes", "Gone"});
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().code, ErrorCode::NotFound);
    EXPECT_NE(missing.error().message.find("Gone"), std::string::npos);
}

TEST(ShoppingList, PrintedUnderItsHeadingAsBodyLines)
{
    const auto job = shoppingListPrintout({"5 dl milk", "salt (Stew)"});
    const std::string text = job.describe();
    const auto heading = text.find("Shopping list");
    const auto milk = text.find("5 dl milk");
    const auto salt = text.find("salt (Stew)");
    ASSERT_NE(heading, std::string::npos);
    EXPECT_LT(heading, milk);
    EXPECT_LT(milk, salt);
    EXPECT_TRUE(std::holds_alternative<print::EndDocument>(job.ops().back()));
}

}  // namespace
