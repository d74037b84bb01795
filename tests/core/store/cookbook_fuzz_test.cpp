// Malformed cookbooks, made at random from the pieces real files are made of: no reader may
// crash or hang, and every change keeps the other records as they were.

#include <gtest/gtest.h>

#include <random>

#include "core/store/cookbook.h"
#include "core/text/text.h"
#include "random_cookbook.h"

using namespace culvora::store;

namespace {

const char* const kPieces[] = {
    "[NAMN]", "[PORTIONER]", "[TID]", "[IND]", "[G\xD6RA]", "[GORA]",    "[TYP]", "Soup",
    "Pie",    "Pie",         "",      "4",     "[G",        "salt \xE5", "[",     "Hot dish"};

TEST(CookbookFuzz, ReadersAndChangesStayConsistentOnMalformedFiles)
{
    std::mt19937 random(20261209);
    for (int round = 0; round < 3000; ++round) {
        const std::string content = culvora::testing::randomCookbook(random, kPieces);
        const auto names = listNames(content);
        for (const std::string& name :
             {std::string("Soup"), std::string("Pie"), std::string("Tea")}) {
            const auto first = std::find(names.begin(), names.end(), name);
            const bool listed = first != names.end();
            ASSERT_EQ(parseRecord(content, name).has_value(), listed) << content;
            ASSERT_EQ(recordLines(content, name).has_value(), listed);

            auto deleted = withDeleted(content, name);
            ASSERT_EQ(deleted.has_value(), listed);
            if (listed) {
                auto expected = names;
                expected.erase(expected.begin() + (first - names.begin()));
                ASSERT_EQ(listNames(*deleted), expected) << testing::PrintToString(content);
            }

            RecipeRecord replacement{name, "2", "20", "flour", "Mix.", "Desserts"};
            auto replaced = withReplaced(content, name, replacement);
            ASSERT_EQ(replaced.has_value(), listed);
            if (listed) {
                ASSERT_EQ(listNames(*replaced), names) << testing::PrintToString(content);
                auto back = parseRecord(*replaced, name);
                ASSERT_TRUE(back);
                ASSERT_EQ(back->servings, "2");
                ASSERT_EQ(back->ingredients, "flour\r\n");
                ASSERT_EQ(back->type, "Desserts");
            }
        }
        auto appended =
            withAppended(content, std::vector{RecipeRecord{"Tea", "1", "5", "", "", "x"}});
        auto expected = names;
        expected.push_back("Tea");
        ASSERT_EQ(listNames(appended), expected) << testing::PrintToString(content);
    }
}

}  // namespace
