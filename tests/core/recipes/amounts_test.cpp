#include <gtest/gtest.h>

#include "core/recipes/amounts.h"

using namespace culvora::recipes;

namespace {

TEST(Amounts, ReadsTheAmountsCooksWrite)
{
    struct Case {
        std::string_view line;
        double value;
        double upTo;  // 0: no range
        std::string_view unit;
        std::string_view rest;
    };
    const Case cases[] = {
        {"2 dl milk", 2, 0, "dl", "milk"},
        {"1 1/2 tsk salt", 1.5, 0, "tsk", "salt"},
        {"1-1/2 cups flour", 1.5, 0, "cups", "flour"},
        {"\xBD lemon", 0.5, 0, "", "lemon"},
        {"1\xBD dl cream", 1.5, 0, "dl", "cream"},
        {"1 \xBE cup sugar", 1.75, 0, "cup", "sugar"},
        {"1,5 kg potatoes", 1.5, 0, "kg", "potatoes"},
        {"0.75 l water", 0.75, 0, "l", "water"},
        {"3/4 tsp baking powder", 0.75, 0, "tsp", "baking powder"},
        {"2-3 cloves garlic", 2, 3, "cloves", "garlic"},
        {"2 \x96 3 eggs", 2, 3, "", "eggs"},
        {"  400 g minced meat", 400, 0, "g", "minced meat"},
        {"2dl milk", 2, 0, "dl", "milk"},
        {"3 eggs", 3, 0, "", "eggs"},
        {"1 Tbsp. oil", 1, 0, "Tbsp.", "oil"},
        {"2 large onions", 2, 0, "", "large onions"},
        {"4", 4, 0, "", ""},
    };
    for (const auto& c : cases) {
        auto amount = readIngredientAmount(c.line);
        ASSERT_TRUE(amount) << c.line;
        EXPECT_DOUBLE_EQ(amount->value, c.value) << c.line;
        EXPECT_EQ(amount->upTo.value_or(0), c.upTo) << c.line;
        EXPECT_EQ(amount->unit, c.unit) << c.line;
        EXPECT_EQ(amount->rest, c.rest) << c.line;
    }
    EXPECT_EQ(readIngredientAmount("  2 dl milk")->indent, "  ");
    EXPECT_TRUE(readIngredientAmount("1,5 kg potatoes")->comma);
}

TEST(Amounts, LeavesWhatIsNoAmountAlone)
{
    for (std::string_view line :
         {"salt and pepper", "", "   ", "3eggs", "2x the dough", "E150 colouring", "0 g sugar",
          "-2 dl", "1/0 cup", "1234567890 g", "[G\xD6RA]", "a pinch of salt"}) {
        EXPECT_FALSE(readIngredientAmount(line)) << line;
    }
    EXPECT_EQ(scaleIngredientLine("salt and pepper", 2), "salt and pepper");
}

TEST(Amounts, WritesAmountsBackAsACookWould)
{
    struct Case {
        double value;
        std::string_view unit;
        bool comma;
        std::string_view written;
    };
    const Case cases[] = {
        {1.5, "dl", false, "1 1/2"},    {0.75, "", false, "3/4"},    {2, "msk", false, "2"},
        {1.0 / 3, "cup", false, "1/3"}, {2.0 / 3, "", false, "2/3"}, {0.125, "tsp", false, "1/8"},
        {2.98, "", false, "3"},         {1.4, "", false, "1.4"},     {1.4, "", true, "1,4"},
        {450, "g", false, "450"},       {333.3, "g", false, "335"},  {37.4, "ml", false, "37"},
        {2.6, "g", true, "2,5"},        {1.5, "kg", true, "1,5"},    {0.75, "l", false, "0.75"},
        {0.333, "l", false, "0.35"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatAmount(c.value, c.unit, c.comma), c.written) << c.value << " " << c.unit;
    }
}

TEST(Amounts, ScalesALineAndKeepsTheRest)
{
    EXPECT_EQ(scaleIngredientLine("3 dl milk", 0.5), "1 1/2 dl milk");
    EXPECT_EQ(scaleIngredientLine("1 1/2 tsk salt", 2), "3 tsk salt");
    EXPECT_EQ(scaleIngredientLine("\xBD lemon", 3), "1 1/2 lemon");
    EXPECT_EQ(scaleIngredientLine("400 g minced meat", 1.5), "600 g minced meat");
    EXPECT_EQ(scaleIngredientLine("1,5 kg potatoes", 0.5), "0,75 kg potatoes");
    EXPECT_EQ(scaleIngredientLine("2-3 cloves garlic", 2), "4-6 cloves garlic");
    EXPECT_EQ(scaleIngredientLine("  2 eggs", 1.5), "  3 eggs");
    EXPECT_EQ(scaleIngredientLine("2 eggs", 1), "2 eggs");
    // A factor that means nothing leaves the line as it is.
    EXPECT_EQ(scaleIngredientLine("2 eggs", 0), "2 eggs");
    EXPECT_EQ(scaleIngredientLine("2 eggs", -1), "2 eggs");
}

TEST(Amounts, UnitsAddUpUnderOneKey)
{
    EXPECT_EQ(unitKey("Cups"), "cup");
    EXPECT_EQ(unitKey("tbsp."), "tbsp");
    EXPECT_EQ(unitKey("Tablespoons"), "tbsp");
    EXPECT_EQ(unitKey("dl"), "dl");
    EXPECT_EQ(unitKey("klyftor"), "klyfta");
    EXPECT_TRUE(isUnitWord("DL"));
    EXPECT_TRUE(isUnitWord("msk."));
    EXPECT_FALSE(isUnitWord(""));
    EXPECT_FALSE(isUnitWord("eggs"));
}

}  // namespace
