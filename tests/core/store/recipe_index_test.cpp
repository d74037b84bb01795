#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "core/store/recipe_index.h"
#include "core/text/text.h"

using namespace culvora;
using namespace culvora::store;

namespace {

TEST(RecipeIndex, ManyNamesInCollationOrderWithEachHeadingAtItsLetter)
{
    // Names that begin with every kind of byte, share long beginnings and repeat.
    std::mt19937 random(7);
    const std::string firsts = "aAbBcCvVwWxXzZ 09(-\xC5\xE5\xC4\xE4\xD6\xF6\xC9\xE9\xD8\xC6\x8A";
    std::vector<std::string> names;
    for (int i = 0; i < 3000; ++i) {
        std::string name(1, firsts[random() % firsts.size()]);
        name += i % 3 == 0 ? "pple pie no. " : "";
        for (int k = static_cast<int>(random() % 6); k > 0; --k) {
            name += firsts[random() % firsts.size()];
        }
        names.push_back(name);
        if (i % 17 == 0) names.push_back(name);
    }

    const RecipeIndex index = buildRecipeIndex(names);
    EXPECT_EQ(buildRecipeIndex(std::vector<std::string>(names)).entries, index.entries);
    EXPECT_EQ(index.count, static_cast<int>(names.size()));

    std::vector<std::string> expected = names;
    std::stable_sort(expected.begin(), expected.end(), text::CollateLess{});
    std::vector<std::string> shown;
    std::vector<std::string> headings;
    int group = -1;  // the letter of the last heading passed
    for (const IndexEntry& entry : index.entries) {
        if (entry.heading) {
            headings.push_back(entry.text);
            group = text::letterGroup(entry.text);
        } else {
            shown.push_back(entry.text);
            // Right under the heading of its letter: digits and signs before "A -------",
            // W under "V -------", Å, Ä and Ö after the names under "Z -------".
            const int letter = text::letterGroup(entry.text);
            EXPECT_EQ(group, std::min(letter, 25)) << entry.text;
        }
    }
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(headings, letterHeadings());
}

}  // namespace
