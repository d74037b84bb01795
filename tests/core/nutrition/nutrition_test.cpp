#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <limits>
#include <tuple>

#include "core/nutrition/nutrition.h"
#include "support/records.h"
#include "support/temp_dir.h"

using namespace culvora;
using namespace culvora::nutrition;
using culvora::testing::crlf;
using culvora::testing::food;

namespace {

TEST(NutritionTable, TheDeliveredTableHoldsTheUsdaFigures)
{
    const char* source = std::getenv("CULVORA_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    auto content =
        culvora::testing::readBytes(std::filesystem::path(source) / "data" / "index.txt");
    const auto table = parseTable(content);
    ASSERT_EQ(table.size(), 7413u);
    const auto index = indexByName(table);
    ASSERT_EQ(index.size(), 7413u) << "names are unique";
    const Ingredient* butter = index.at("Butter, salted");
    // kJ, kcal, water, protein, fat, carbohydrates, calcium, iron, vitamin A, vitamin C.
    EXPECT_EQ(butter->values,
              (std::array<std::string, kValueCount>{"2999.9", "717", "15.87", "0.85", "81.11",
                                                    "0.06", "24", "0.02", "0.684", "0.0"}));
    // The two descriptions the source has twice carry the food's number.
    EXPECT_TRUE(index.contains("WORTHINGTON Dinner Roast, frozen, unprepared (16528)"));
    EXPECT_TRUE(index.contains("WORTHINGTON Dinner Roast, frozen, unprepared (16530)"));
    for (const auto& ingredient : table) {
        ASSERT_EQ(ingredient.valueCount, kValueCount) << ingredient.name;
        EXPECT_EQ(valueOf(ingredient.name), 0) << "a name must not read as a value";
    }
}

TEST(NutritionTable, AnIncompleteLastRecordKeepsWhatItHas)
{
    const auto table = parseTable(food("Apple", {"218", "52", "85.56", "0.26", "0.17", "13.81", "6",
                                                 "0.12", "0.003", "4.6"}) +
                                  food("Pear", {"239", "57", "83.71", "", "0.14"}));
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[1].valueCount, 5);
    EXPECT_EQ(table[1].values[3], "");
    EXPECT_EQ(table[1].values[5], "");
    EXPECT_TRUE(parseTable("").empty());
    // Only the name line: a record with no values.
    EXPECT_EQ(parseTable("Plum\r\n").front().valueCount, 0);
}

TEST(NutritionTable, TheFindComparesTheBeginningIgnoringCase)
{
    std::string content;
    for (std::string_view name : {"Apples, raw", "Apple, Granny Smith",
                                  "br\xF6"
                                  "d, r\xE5g",
                                  "Br\xD6"
                                  "D, vete",
                                  "CAMPBELL'S Tomato soup"}) {
        content += food(name, {"0", "0", "0", "0", "0", "0", "0", "0", "0", "0"});
    }
    const auto table = parseTable(content);
    const std::pair<std::string, std::optional<std::size_t>> cases[] = {
        {"apple, granny", 1},
        {"APPLES", 0},
        {"appl", 0},
        {"Br\xF6"
         "d",
         2},
        {"BR\xD6"
         "D, V",
         3},
        {"campbell", 4},
        {"pear", std::nullopt},
        {"", std::nullopt},
        {"Apples, raw and more", std::nullopt},
    };
    for (const auto& [text, row] : cases) EXPECT_EQ(findIngredient(table, text), row) << text;
}

TEST(NutritionTable, TheCalculatorsFindWantsEveryWordAnywhereInTheName)
{
    const std::tuple<std::string_view, std::string_view, bool> cases[] = {
        {"Milk, whole, 3.25% milkfat", "milk whole", true},
        {"Yogurt, plain, whole milk", "MILK  whole ", true},  // any order, extra blanks
        {"Milk, reduced fat", "milk whole", false},
        {"Br\xF6"
         "d, vete",
         "BR\xD6"
         "D",
         true},  // Windows-1252 case rules
        {"CAMPBELL'S Tomato soup", "campbell's", true},
        {"Apple", "", true},
        {"Apple", "   ", true},
        {"Apple", "apples", false},
    };
    for (const auto& [name, typed, matches] : cases)
        EXPECT_EQ(containsWords(name, typed), matches) << name << " / " << typed;

    const std::tuple<std::string_view, std::string_view, bool> beginnings[] = {
        {"Milk, whole, 3.25% milkfat", "milk whole", true},
        {"Milk, whole, 3.25% milkfat", "Milk, who", true},
        {"Milk, whole, 3.25% milkfat", "mi wh 3", true},
        {"Yogurt, plain, whole milk", "whole milk", false},
        {"Milk, dry, whole", "milk whole", false},
        {"Wheat flour, white, all-purpose", "wheat flour white all", true},
        {"\xC4pple, torkat", "\xE4PPLE TORK", true},  // Windows-1252 case rules
        {"Milk", "milk whole", false},
        {"Milk", "", false},
        {"Milk", " , ", false},
    };
    for (const auto& [name, typed, begins] : beginnings)
        EXPECT_EQ(startsWithWords(name, typed), begins) << name << " / " << typed;
}

TEST(NutritionTable, ColumnsAndThePieChart)
{
    EXPECT_EQ(columnWidths(8).name, 2208);
    EXPECT_EQ(columnWidths(8).value, 1152);
    EXPECT_EQ(columnWidths(12).name, 3312);
    EXPECT_EQ(columnWidths(12).value, 1728);
    EXPECT_EQ(fontSizes().size(), 10u);

    const auto angles = pieAngles(60, 20, 10, 10);
    ASSERT_TRUE(angles);
    const double expected[] = {-0.5, 0.7, 1.1, 1.3, 1.5};
    for (int i = 0; i < 5; ++i)
        EXPECT_NEAR((*angles)[static_cast<std::size_t>(i)], expected[i] * kPi, 1e-9);
    EXPECT_FALSE(pieAngles(0, 0, 0, 0));
    const auto ingredient = parseTable(food("Mix", {"0", "0", "60", "20", "10", "10.00004"}));
    EXPECT_NEAR((*pieAnglesOf(ingredient.front()))[4], 1.5 * kPi, 1e-9);

    // Values too large to add up still give the slices of their shares; an infinite one none.
    const auto huge = pieAngles(6e307, 2e307, 1e307, 1e307);
    ASSERT_TRUE(huge);
    for (int i = 0; i < 5; ++i)
        EXPECT_NEAR((*huge)[static_cast<std::size_t>(i)], expected[i] * kPi, 1e-9);
    EXPECT_FALSE(pieAngles(std::numeric_limits<double>::infinity(), 1, 1, 1));
    EXPECT_FALSE(pieAngles(1e300, -1e300, 1e-300, 0));
}

TEST(Calculator, ContributionsAreRoundedHalvesToEvenThenAdded)
{
    const auto table = parseTable(
        food("Apple", {"218", "52", "85", "3", "0.2", "14", "6", "0.5", "0.003", "4.6"}) +
        food("Stock", {"1500", "2.5", "3.5", "0", "0", "0", "0", "0", "0", "0"}));
    const auto index = indexByName(table);
    struct Case {
        std::vector<DishLine> lines;
        int k;
        std::int64_t total;
    };
    const Case cases[] = {
        {{{"Apple", "150"}}, 1, 78},                 // 150 g of 52 kcal
        {{{"Apple", "5"}}, 7, 0},                    // 0.025 mg iron rounds to 0
        {{{"Stock", "100"}}, 1, 2},                  // 2.5 goes to 2
        {{{"Stock", "100"}}, 2, 4},                  // 3.5 goes to 4
        {{{"Apple", "50"}, {"Apple", "50"}}, 3, 4},  // 1.5 + 1.5 as 2 + 2
        {{{"Apple", "100"}}, 3, 3},
        {{{"Stock", "2500"}}, 0, 37500},               // past 16 bits, still the true sum
        {{{"Gone", "100"}, {"Apple", "100"}}, 1, 52},  // not in the table: adds 0
        {{{"Apple", "."}}, 1, 0},                      // no number: adds 0
        {{{"Apple", "1" + std::string(400, '0')}}, 1, 1000000000000000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(dishTotals(index, c.lines)[static_cast<std::size_t>(c.k)], c.total)
            << c.lines.front().ingredient << " " << c.lines.front().amount;
    }
    const auto texts = totalTexts(dishTotals(index, {{"Apple", "150"}}));
    EXPECT_EQ(texts[1], "78 ");
    EXPECT_EQ(texts[2], "128 g ");
    EXPECT_EQ(texts[9], "7 mg ");
    EXPECT_EQ(totalTexts({})[0], "0 ");
    for (unsigned char c : {'A', 'g', 'Z', 'a', '\xE9', '\xF6', '['})
        EXPECT_TRUE(refusedInAmount(c)) << c;
    for (unsigned char c : {'5', ',', '.', ' ', '\xF7', '\xFC'})
        EXPECT_FALSE(refusedInAmount(c)) << c;
}

}  // namespace
