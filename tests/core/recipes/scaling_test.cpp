#include <gtest/gtest.h>

#include "core/recipes/printout.h"
#include "core/recipes/recipe_view.h"
#include "core/recipes/scaling.h"
#include "support/records.h"
#include "support/temp_dir.h"

using namespace culvora;
using namespace culvora::recipes;

namespace {

TEST(Scaling, ReadsTheServingsAWholeNumberBegins)
{
    const std::pair<std::string_view, std::optional<int>> cases[] = {
        {"4", 4},        {" 4 portioner", 4}, {"4-6", 4},        {"12", 12},
        {"", {}},        {"many", {}},        {"about 4", {}},   {"0", {}},
        {"2,5", {}},     {"2.5", {}},         {"1/2", {}},       {"\xBD", {}},
        {"-4", {}},      {"99999999999", {}},
    };
    for (const auto& [line, servings] : cases) EXPECT_EQ(recipeServings(line), servings) << line;
    // The same from what the viewer shows, as recipeTexts() writes it.
    store::RecipeRecord record;
    record.servings = "4-6 portioner";
    EXPECT_EQ(servingsOfShownText(recipeTexts(record).servings), 4);
    record.servings = "a few";
    EXPECT_EQ(servingsOfShownText(recipeTexts(record).servings), std::nullopt);
    EXPECT_EQ(servingsOfShownText("4"), std::nullopt);
}

TEST(Scaling, TheServingsLineShowsTheNewNumber)
{
    const std::tuple<std::string_view, int, std::string_view> cases[] = {
        {"4", 8, "8"},
        {"4 portioner", 2, "2 portioner"},
        {"4-6", 8, "8-12"},
        {"4-6 pers.", 2, "2-3 pers."},
        {"4\x96""6", 6, "6\x96""9"},
        {"2-3", 1, "1-2"},  // 1.5 rounds to 2
        {"many", 8, "many"},
    };
    for (const auto& [line, servings, shown] : cases)
        EXPECT_EQ(scaledServings(line, servings), shown) << line;
}

TEST(Scaling, ScalesEveryAmountAndWritesItAsACookWould)
{
    store::RecipeRecord record{.name = "Pannkakor",
                               .servings = "4",
                               .cookingTime = "30",
                               .ingredients = "3 dl vetemj\xF6l\r\n6 dl mj\xF6lk\r\n"
                                              "1,5 msk sm\xF6r\r\n\xBD tsk salt\r\n3 \xE4gg\r\n"
                                              "1 1/2 tsk socker\r\nSylt till\r\n\r\n",
                               .instructions = "Vispa 3 dl mj\xF6lk med mj\xF6let.\r\n",
                               .type = "Dessert"};
    const auto half = scaledRecord(record, 2);
    ASSERT_TRUE(half);
    EXPECT_EQ(half->servings, "2");
    EXPECT_EQ(half->ingredients, "1 1/2 dl vetemj\xF6l\r\n3 dl mj\xF6lk\r\n"
                                 "3/4 msk sm\xF6r\r\n1/4 tsk salt\r\n1 1/2 \xE4gg\r\n"
                                 "3/4 tsk socker\r\nSylt till\r\n\r\n");
    // Only the ingredient lines and the servings change.
    EXPECT_EQ(half->name, record.name);
    EXPECT_EQ(half->cookingTime, record.cookingTime);
    EXPECT_EQ(half->instructions, record.instructions);
    EXPECT_EQ(half->type, record.type);

    const auto six = scaledRecord(record, 6);
    ASSERT_TRUE(six);
    EXPECT_EQ(six->servings, "6");
    EXPECT_EQ(six->ingredients.substr(0, 22), "4 1/2 dl vetemj\xF6l\r\n9 d");

    // Its own servings: the record exactly as it is (a "1,50" is not rewritten for nothing).
    record.ingredients = "1,50 dl gr\xE4""dde\r\n";
    EXPECT_EQ(scaledRecord(record, 4), record);
}

TEST(Scaling, MetricAmountsAreRoundedAndUnreadableServingsRefused)
{
    store::RecipeRecord record;
    record.name = "Soppa";
    record.servings = "3";
    record.ingredients = "400 g potatis\r\n1 l buljong\r\n";
    const auto four = scaledRecord(record, 4);
    ASSERT_TRUE(four);
    // 533.3 g and 1.333 l, as a scale and a jug show them.
    EXPECT_EQ(four->ingredients, "535 g potatis\r\n1.35 l buljong\r\n");

    EXPECT_FALSE(scaledRecord(record, 0));
    EXPECT_FALSE(scaledRecord(record, kMaxScaledServings + 1));
    EXPECT_TRUE(scaledRecord(record, kMaxScaledServings));
    store::RecipeRecord many = record;
    many.servings = "several";
    EXPECT_FALSE(scaledRecord(many, 4));
}

}  // namespace

namespace {

std::vector<std::string> texts(const std::vector<PrintedLine>& lines)
{
    std::vector<std::string> out;
    for (const auto& line : lines) out.push_back(line.text);
    return out;
}

TEST(Scaling, ThePrintoutsShowTheServingsAskedFor)
{
    culvora::testing::TempDir dir;
    const std::string book =
        culvora::testing::cookbook({{.name = "Pancakes",
                            .servings = "4",
                            .ingredients = {"3 dl vetemj\xF6l", "Sylt"},
                            .steps = {"Vispa 3 dl."}},
                           {.name = "Soup", .servings = "a few", .ingredients = {"1 l water"}}});
    dir.write("BOOK1.TXT", book);
    const ProgramFolder folder{dir.path()};

    ShownRecipe shown{"Pancakes", "(Serves 4)", "Time to cook: 30 min"};
    shown.servings = 2;
    auto recipe = recipeLines(folder, "BOOK1.TXT", shown);
    ASSERT_TRUE(recipe) << recipe.error().message;
    EXPECT_EQ(texts(*recipe), (std::vector<std::string>{
                                  "", "", "Pancakes", "(Serves 2)", "Time to cook: 30 min", "",
                                  "Ingredients:", "1 1/2 dl vetemj\xF6l", "Sylt", "",
                                  "Instructions:", "Vispa 3 dl."}));
    auto grocery = groceryLines(folder, "BOOK1.TXT", "Pancakes", 0, 8);
    ASSERT_TRUE(grocery);
    EXPECT_EQ(texts(*grocery),
              (std::vector<std::string>{"", "Grocery list", "Pancakes", "(Serves 8)", "",
                                        "6 dl vetemj\xF6l", "Sylt"}));
    // As written, the grocery list has no servings line.
    EXPECT_EQ(groceryLines(folder, "BOOK1.TXT", "Pancakes")->size(), 6u);

    // Servings that are no number cannot be printed scaled; nothing is printed.
    auto soup = groceryLines(folder, "BOOK1.TXT", "Soup", 0, 2);
    ASSERT_FALSE(soup);
    EXPECT_NE(soup.error().message.find("\"a few\""), std::string::npos);
    EXPECT_EQ(dir.read("BOOK1.TXT"), book);
}

}  // namespace
