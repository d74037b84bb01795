// index.txt as any hand edit may leave it: records of a name and up to ten values, the find
// lands on a name that begins with what was typed, the pie's slices follow each other, and a
// dish made of the table's ingredients adds up without overflowing.
//
// fuzz-options: -max_len=16384

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "core/nutrition/nutrition.h"
#include "core/text/text.h"
#include "fuzz_support.h"

using namespace culvora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto table = nutrition::parseTable(fuzz::asText(data, size));
    std::vector<nutrition::DishLine> dish;
    for (std::size_t row = 0; row < table.size(); ++row) {
        const auto& ingredient = table[row];
        FUZZ_CHECK(ingredient.valueCount >= 0 && ingredient.valueCount <= nutrition::kValueCount);
        FUZZ_CHECK(ingredient.valueCount == nutrition::kValueCount || row + 1 == table.size());
        const std::string key = ingredient.name.substr(0, 3);
        if (auto found = nutrition::findIngredient(table, key)) {
            FUZZ_CHECK(*found <= row);
            FUZZ_CHECK(text::toLower(table[*found].name).starts_with(text::toLower(key)));
        } else {
            FUZZ_CHECK(key.empty());
        }
        if (auto angles = nutrition::pieAnglesOf(ingredient)) {
            for (double a : *angles) FUZZ_CHECK(std::isfinite(a));
        }
        dish.push_back({ingredient.name, ingredient.values[0]});
    }
    const auto totals = nutrition::dishTotals(nutrition::indexByName(table), dish);
    const auto texts = nutrition::totalTexts(totals);
    FUZZ_CHECK(texts[0].ends_with(" ") && texts[9].ends_with(" mg "));
    return 0;
}
