#include "core/store/recipe_index.h"

#include "core/text/text.h"

namespace culvora::store {

std::vector<std::string> letterHeadings()
{
    std::vector<std::string> headings;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        if (letter == 'W') continue;
        headings.push_back(std::string(1, letter) + " -------");
    }
    return headings;
}

RecipeIndex buildRecipeIndex(const std::vector<std::string>& names)
{
    return buildRecipeIndex(std::vector<std::string>(names));
}

RecipeIndex buildRecipeIndex(std::vector<std::string>&& names)
{
    const auto order = text::collatedOrder(names);
    RecipeIndex index;
    index.entries.reserve(names.size() + 25);
    const auto headings = letterHeadings();
    std::size_t heading = 0;
    // The letter groups rise through the sorted names, so each heading goes in front of the
    // first name at or past its letter.
    for (std::size_t at : order) {
        const int group = text::letterGroup(names[at]);
        while (heading < headings.size() && text::letterGroup(headings[heading]) <= group) {
            index.entries.push_back({headings[heading++], true});
        }
        index.entries.push_back({std::move(names[at]), false});
    }
    while (heading < headings.size()) index.entries.push_back({headings[heading++], true});
    index.count = static_cast<int>(names.size());
    return index;
}

std::vector<std::string> sortedNames(std::vector<std::string> names)
{
    text::sortCollated(names);
    return names;
}

}  // namespace culvora::store
