// What an exchange server hands us: network.txt, netindex.txt and exchange files. The category
// tree keeps its limits and every subcategory has a parent category above it; index entries
// split at their first "|"; an exchange file accepted as a recipe goes into a cookbook as
// exactly one recipe of its name.
//
// fuzz-options: -max_len=8192

#include <cstddef>
#include <cstdint>

#include "core/exchange/exchange_formats.h"
#include "core/store/cookbook.h"
#include "fuzz_support.h"

using namespace culvora;
using namespace culvora::exchange;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view content = fuzz::asText(data, size);

    const CategoryList list = parseNetwork(content);
    FUZZ_CHECK(list.categories.size() <= static_cast<std::size_t>(kMaxCategories));
    FUZZ_CHECK(list.complete == list.problem.empty());
    for (const Category& category : list.categories) {
        FUZZ_CHECK(!fuzz::hasLineBreak(category.name) && !fuzz::hasLineBreak(category.folder));
        FUZZ_CHECK(category.name.find('|') == std::string::npos);
        if (category.kind == CategoryKind::Child) {
            FUZZ_CHECK(category.parent >= 1 &&
                       category.parent <= static_cast<int>(list.categories.size()));
            FUZZ_CHECK(list.categories[static_cast<std::size_t>(category.parent) - 1].kind ==
                       CategoryKind::Parent);
        } else {
            FUZZ_CHECK(category.parent == 0);
        }
    }

    const RecipeIndexFile index = parseNetIndex(content);
    for (const IndexedRecipe& recipe : index.recipes) {
        FUZZ_CHECK(recipe.name.find('|') == std::string::npos);
        FUZZ_CHECK(recipe.dateTime.size() <= 20);
        FUZZ_CHECK(netIndexLine(recipe.name, recipe.stem).size() ==
                   recipe.name.size() + 1 + recipe.stem.size());
    }

    if (auto recipe = readExchangeFile(content)) {
        const std::string book = "[NAMN]\r\n" + recipe->lines;
        FUZZ_CHECK(store::listNames(book) == std::vector<std::string>{recipe->name});
        const std::string renamed = "[NAMN]\r\n" + renamedRecord(*recipe, "Renamed");
        FUZZ_CHECK(store::listNames(renamed) == std::vector<std::string>{"Renamed"});
        FUZZ_CHECK(nameTaken(book, recipe->name));
    }
    return 0;
}
