// sok.txt and a recipe's ingredient lines: the list has no empty words, and the new-ingredient
// check offers only words the list does not know, never an empty one for a new recipe.
//
// fuzz-options: -max_len=8192

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_set>

#include "core/search/fridge_list.h"
#include "core/text/text.h"
#include "fuzz_support.h"

using namespace culvora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input = fuzz::asText(data, size);
    // The first half is the list, the rest the ingredient lines.
    const auto words = search::parseFridgeList(input.substr(0, size / 2));
    for (const auto& word : words) FUZZ_CHECK(!word.empty() && !fuzz::hasLineBreak(word));
    std::vector<std::string> lines;
    for (auto line : text::splitLineViews(input.substr(size / 2))) {
        if (!line.empty()) lines.emplace_back(line);
    }
    std::unordered_set<std::string> known;
    for (const auto& word : words) known.insert(text::toLower(word));
    for (auto variant : {search::CheckVariant::NewRecipe, search::CheckVariant::Download}) {
        const auto offered = search::newIngredientCandidates(lines, words, variant);
        FUZZ_CHECK(offered.size() <= lines.size());
        for (const auto& word : offered) {
            FUZZ_CHECK(word == text::toLower(word));
            FUZZ_CHECK(word.find(' ') == std::string::npos);
            if (variant == search::CheckVariant::NewRecipe) {
                FUZZ_CHECK(!word.empty() && word.back() != ')');
            }
            if (!known.empty()) FUZZ_CHECK(!known.contains(word));
        }
    }
    return 0;
}
