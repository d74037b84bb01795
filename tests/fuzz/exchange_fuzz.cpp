// What an exchange server hands us: network.txt, netindex.txt and exchange files, and the
// exchange.ini a cook edits. The category tree keeps its limits and every subcategory has a
// parent category above it; nothing taken from an index is longer than its line limit, and a
// problem quotes its line shortly; index entries split at their first "|"; an exchange file
// accepted as a recipe goes into a cookbook as exactly one recipe of its name; the settings stay
// within their ranges whatever the file says.
//
// fuzz-options: -max_len=8192

#include <cstddef>
#include <cstdint>

#include "core/exchange/exchange_formats.h"
#include "core/exchange/exchange_settings.h"
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
    FUZZ_CHECK(list.message.size() <= kMaxMessageChars + 2);
    FUZZ_CHECK(list.problem.size() <= 480);
    for (const Category& category : list.categories) {
        FUZZ_CHECK(category.name.size() + category.folder.size() <= kMaxIndexLine);
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
    FUZZ_CHECK(index.recipes.size() <= kMaxIndexEntries);
    for (const IndexedRecipe& recipe : index.recipes) {
        FUZZ_CHECK(recipe.name.size() + 1 + recipe.stem.size() <= kMaxIndexLine);
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

    const ExchangeSettings settings = parseExchangeSettings(content);
    const TransferLimits& limits = settings.limits;
    FUZZ_CHECK(settings.port >= 1 && settings.port <= 65535);
    FUZZ_CHECK(!settings.host.empty() && !settings.user.empty());
    FUZZ_CHECK(limits.connectTimeout >= 1 && limits.slowTime >= 1 && limits.minimumRate >= 1 &&
               limits.transferTimeout >= 1);
    FUZZ_CHECK(settings.tls == TlsMode::Off || settings.tls == TlsMode::Try ||
               settings.tls == TlsMode::Required);
    return 0;
}
