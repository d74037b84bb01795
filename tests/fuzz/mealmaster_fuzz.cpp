// Meal-Master files as anyone may hand them to us, in any encoding: every recipe read becomes
// a record that the cookbook reads back exactly, with the names in the file's order, and the
// servings line is always a whole number.
//
// fuzz-options: -max_len=16384

#include <cstddef>
#include <cstdint>

#include "core/store/cookbook.h"
#include "core/transfer/mealmaster.h"
#include "fuzz_support.h"

using namespace culvora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes = fuzz::asText(data, size);
    const auto file = transfer::parseMealMaster(bytes);
    FUZZ_CHECK(file.isMealMaster || (file.recipes.empty() && file.skipped.empty()));
    std::string content;
    std::vector<std::string> names;
    for (const auto& record : file.recipes) {
        FUZZ_CHECK(!record.name.empty() && !fuzz::hasLineBreak(record.name));
        FUZZ_CHECK(!record.servings.empty() &&
                   record.servings.find_first_not_of("0123456789") == std::string::npos);
        FUZZ_CHECK(record.cookingTime == "0" && record.type == "Imported");
        FUZZ_CHECK(record.ingredients.ends_with("\r\n"));
        content += "[NAMN]\r\n" + store::formatRecord(record, store::TextForm::AsRead);
        names.push_back(record.name);
    }
    FUZZ_CHECK(store::listNames(content) == names);
    for (const auto& name : fuzz::firstDistinct(names, 3)) {
        const auto first = std::find_if(file.recipes.begin(), file.recipes.end(),
                                        [&](const auto& record) { return record.name == name; });
        FUZZ_CHECK(store::parseRecord(content, name) == *first);
    }
    // Every encoding reads the same bytes without trouble.
    for (auto encoding : {transfer::TextEncoding::Utf8, transfer::TextEncoding::Cp850,
                          transfer::TextEncoding::Cp1252}) {
        const auto decoded = transfer::decodeForImport(bytes, encoding);
        FUZZ_CHECK(decoded.cp1252.size() <= bytes.size());
    }
    return 0;
}
