// A cookbook as any hand edit may leave it, opened in the edit window and saved unchanged:
// the record reads back the same, every other recipe keeps its place, and a record the
// checks refuse is never written.
//
// fuzz-options: -max_len=8192

#include <cstddef>
#include <cstdint>

#include "core/recipes/recipe_edit.h"
#include "core/store/cookbook.h"
#include "fuzz_support.h"

using namespace culvora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view cookbook = fuzz::asText(data, size);
    const auto names = store::listNames(cookbook);
    for (const auto& name : fuzz::firstDistinct(names, 3)) {
        const auto loaded = store::parseRecordForEdit(cookbook, name);
        FUZZ_CHECK(loaded.has_value());
        const recipes::RecipeDraft draft = recipes::draftOf(*loaded);
        if (!recipes::checkDraft(draft)) continue;
        const auto record = recipes::editedRecord(draft, *loaded);
        FUZZ_CHECK(record.ingredients == loaded->ingredients);
        FUZZ_CHECK(record.instructions == loaded->instructions);
        const auto saved = store::withReplaced(cookbook, name, record, store::TextForm::AsRead);
        FUZZ_CHECK(saved.has_value());
        FUZZ_CHECK(store::listNames(*saved) == names);
        const auto again = store::parseRecordForEdit(*saved, name);
        FUZZ_CHECK(again.has_value());
        FUZZ_CHECK(again->servings == loaded->servings &&
                   again->cookingTime == loaded->cookingTime);
        FUZZ_CHECK(again->ingredients == loaded->ingredients);
        FUZZ_CHECK(again->instructions == loaded->instructions);
        FUZZ_CHECK(again->type == loaded->type);
    }
    return 0;
}
