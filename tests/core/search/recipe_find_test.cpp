#include <gtest/gtest.h>

#include "core/search/recipe_find.h"
#include "support/records.h"

using namespace culvora;
using namespace culvora::search;
using culvora::testing::cookbook;

namespace {

const std::string& book()
{
    static const std::string content = cookbook({
        {.name = "Wienerbr\xF6""d",
         .ingredients = {"500 g sm\xF6r", "2 \xE4gg"},
         .steps = {"Kavla degen."},
         .type = "Bakverk"},
        {.name = "apple pie", .ingredients = {"3 apples"}, .steps = {"Bake."}},
        {.name = "Cr\xE8me br\xFBl\xE9""e",
         .time = "45",
         .ingredients = {"5 \xE4ggulor"},
         .steps = {"Gr\xE4""dda i vattenbad."}},
        {.name = "\xC4ppelkaka", .ingredients = {"4 \xE4pplen"}, .steps = {"Skala \xE4pplena."}},
        {.name = "apple pie", .ingredients = {"2 pears"}, .steps = {"Bake."}},
        {.name = "\xC5l\xE4ndsk pannkaka",
         .servings = "6 portioner",
         .steps = {"Servera med sylt."},
         .type = "Dessert"},
    });
    return content;
}

TEST(RecipeFind, MatchesByTheCollationsFoldInTheBrowsersOrder)
{
    const RecipeFinder finder(book());
    ASSERT_EQ(finder.size(), 6u);
    struct Case {
        FindMode mode;
        std::string query;
        std::vector<std::string> names;
    };
    const std::string wiener = "Wienerbr\xF6""d";
    const std::string creme = "Cr\xE8me br\xFBl\xE9""e";
    const std::string kaka = "\xC4ppelkaka";
    const std::string aland = "\xC5l\xE4ndsk pannkaka";
    const Case cases[] = {
        // Empty: everything, as the browser lists it (W with V, Å before Ä after Z).
        {FindMode::Names, "", {"apple pie", "apple pie", creme, wiener, aland, kaka}},
        {FindMode::Names, "APPLE", {"apple pie", "apple pie"}},
        {FindMode::Names, "e p", {"apple pie", "apple pie"}},  // blanks count
        {FindMode::Names, "BR\xDBL\xC9""E", {creme}},           // accents do not count
        {FindMode::Names, "creme", {creme}},
        {FindMode::Names, "vienerbr", {wiener}},  // W finds V and V finds W
        {FindMode::Names, "WIEN", {wiener}},
        {FindMode::Names, "BR\xD6""D", {wiener}},
        {FindMode::Names, "brod", {}},               // Ö is a letter of its own, not O
        {FindMode::Names, "app", {"apple pie", "apple pie"}},  // nor is Ä an A
        {FindMode::Names, "\xE4pp", {kaka}},
        {FindMode::Names, "\xC5L\xC4", {aland}},
        {FindMode::Names, "sm\xF6r", {}},  // a name search reads names only
        {FindMode::Names, "apple pie!", {}},
        // Every line: servings, time, ingredients, steps and type too.
        {FindMode::Everywhere, "SM\xD6R", {wiener}},
        {FindMode::Everywhere, "\xC4GG", {creme, wiener}},
        {FindMode::Everywhere, "degen", {wiener}},
        {FindMode::Everywhere, "6 port", {aland}},
        {FindMode::Everywhere, "45", {creme}},
        {FindMode::Everywhere, "dessert", {aland}},
        {FindMode::Everywhere, "pears", {"apple pie"}},
        {FindMode::Everywhere, "\xE4pple", {kaka}},
        {FindMode::Everywhere, "apple", {"apple pie", "apple pie"}},
        // Tag lines are no field; a hit never spans two lines or two records.
        {FindMode::Everywhere, "[ind]", {}},
        {FindMode::Everywhere, "[typ]", {}},
        {FindMode::Everywhere, "bakverkapple", {}},
        {FindMode::Everywhere, "3 apples\r\nbake", {}},
        {FindMode::Everywhere, "bake.", {"apple pie", "apple pie"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(finder.findNames(c.query, c.mode), c.names)
            << (c.mode == FindMode::Names ? "names: " : "everywhere: ") << c.query;
    }
}

TEST(RecipeFind, HitsAreRecordsByPlaceSoTwoOfOneNameStayApart)
{
    const RecipeFinder finder(book());
    // Only the second "apple pie" has pears; it is the record at place 4, occurrence 1.
    const auto hits = finder.find("pears", FindMode::Everywhere);
    ASSERT_EQ(hits, std::vector<std::size_t>{4});
    EXPECT_EQ(finder.key(4).name, "apple pie");
    EXPECT_EQ(finder.key(4).occurrence, 1u);
    EXPECT_EQ(finder.key(1).occurrence, 0u);
    EXPECT_EQ(finder.find("apple", FindMode::Names), (std::vector<std::size_t>{1, 4}));
}

TEST(RecipeFind, HandEditedRecordsAndEmptyBooks)
{
    EXPECT_EQ(RecipeFinder("").size(), 0u);
    EXPECT_TRUE(RecipeFinder("").find("", FindMode::Everywhere).empty());
    // A record that lost its servings tag still has its time and ingredients read; lines
    // before the first record belong to none; a lone tag at the end starts none.
    const std::string content = "stray eggs\r\n[NAMN]\r\nSoup\r\n[TID]\r\n20\r\n[IND]\r\n"
                                "1 l broth\r\n[G\xD6RA]\r\nHeat.\r\n[TYP]\r\nSoppa\r\n[NAMN]\r\n";
    const RecipeFinder finder(content);
    ASSERT_EQ(finder.size(), 1u);
    EXPECT_EQ(finder.findNames("BROTH", FindMode::Everywhere), std::vector<std::string>{"Soup"});
    EXPECT_EQ(finder.findNames("20", FindMode::Everywhere), std::vector<std::string>{"Soup"});
    EXPECT_TRUE(finder.findNames("eggs", FindMode::Everywhere).empty());
}

}  // namespace
