// A cookbook file's content as anyone may hand it to us, read the ways that do not walk it from
// the top line by line: the names read a piece at a time are the names of the whole content;
// the viewer's page, found by searching for the name (in the whole content, or piece by piece),
// is the page of the record the store reads; Back and Forward lead where the sorted list does;
// and the collation keys of the names sort as collate() orders them.
//
// fuzz-options: -max_len=16384

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/recipes/recipe_view.h"
#include "core/store/cookbook.h"
#include "core/store/recipe_index.h"
#include "core/text/text.h"
#include "fuzz_support.h"

namespace {

using namespace culvora;

store::ReadMore readerOf(std::string_view text)
{
    auto at = std::make_shared<std::size_t>(0);
    return [text, at](char* data, std::size_t size) -> Result<std::size_t> {
        const std::size_t n = std::min(size, text.size() - *at);
        std::copy_n(text.data() + *at, n, data);
        *at += n;
        return n;
    };
}

bool sameTexts(const recipes::RecipeTexts& a, const recipes::RecipeTexts& b)
{
    return a.found == b.found && a.name == b.name && a.servings == b.servings && a.time == b.time &&
           a.ingredients == b.ingredients && a.instructions == b.instructions &&
           a.ingredientLines == b.ingredientLines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view content = fuzz::asText(data, size);
    const std::vector<std::string> names = store::listNames(content);
    // The first byte picks how small the pieces are, so that they cut lines and tags anywhere.
    const std::size_t piece = size == 0 ? 1 : 1 + data[0] % 16;
    FUZZ_CHECK(store::namesFromPieces(readerOf(content), piece).value() == names);

    // Names of the file, and a few of its other lines, which may stand anywhere.
    std::vector<std::string> asked = fuzz::firstDistinct(names, 4);
    for (const auto& line : fuzz::firstDistinct(text::splitLines(content), 3))
        asked.push_back(line);
    for (const std::string& name : asked) {
        const auto record = store::parseRecord(content, name);
        const recipes::RecipeTexts expected =
            record ? recipes::recipeTexts(*record) : recipes::missingRecipeTexts(name);
        FUZZ_CHECK(sameTexts(recipes::viewerPage(content, name).texts, expected));
        const auto pieces = recipes::viewerPageFromPieces(readerOf(content), name, piece);
        FUZZ_CHECK(pieces.has_value());
        if (*pieces) FUZZ_CHECK(sameTexts((*pieces)->texts, expected));

        // Back and Forward: the neighbours in the sorted list, equal names passed over.
        const std::vector<std::string> sorted = store::sortedNames(names);
        for (auto step : {recipes::Step::Forward, recipes::Step::Back}) {
            const auto next = recipes::neighbour(names, name, step);
            FUZZ_CHECK(next.has_value() == !names.empty());
            if (!next) continue;
            const auto at = std::find(sorted.begin(), sorted.end(), name);
            if (at == sorted.end()) {
                FUZZ_CHECK(*next ==
                           (step == recipes::Step::Forward ? sorted.front() : sorted.back()));
                continue;
            }
            std::size_t i = static_cast<std::size_t>(at - sorted.begin());
            const std::size_t n = sorted.size();
            for (std::size_t moved = 1; moved < n; ++moved) {
                i = step == recipes::Step::Forward ? (i + 1) % n : (i + n - 1) % n;
                if (sorted[i] != name) break;
            }
            FUZZ_CHECK(*next == (sorted[i] != name ? sorted[i] : name));
        }
    }

    // The keys sort as collate() orders, and the index holds every name once, in that order.
    std::vector<std::string> texts = names;
    for (const auto& line : text::splitLines(content)) {
        if (texts.size() >= 64) break;
        texts.push_back(line);
    }
    for (std::size_t i = 0; i + 1 < texts.size(); ++i) {
        const int byKey = text::collationKey(texts[i]).compare(text::collationKey(texts[i + 1]));
        const auto byCollate = text::collate(texts[i], texts[i + 1]);
        FUZZ_CHECK((byKey < 0) == (byCollate < 0) && (byKey == 0) == (byCollate == 0));
    }
    std::vector<std::string> expected = texts;
    std::stable_sort(expected.begin(), expected.end(), text::CollateLess{});
    std::vector<std::string> sorted = texts;
    text::sortCollated(sorted);
    FUZZ_CHECK(sorted == expected);
    const store::RecipeIndex index = store::buildRecipeIndex(names);
    std::vector<std::string> listed;
    for (const auto& entry : index.entries) {
        if (!entry.heading) listed.push_back(entry.text);
    }
    FUZZ_CHECK(listed == store::sortedNames(names));
    return 0;
}
