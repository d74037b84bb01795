// Web pages as any site or saved file may hand them to us: every recipe read has one-line
// fields of valid UTF-8 within the limits, servings and minutes in digits, the source on its
// last instruction line, and becomes either a record in Windows-1252 that the cookbook takes
// and reads back as written, or a refusal that names the character it cannot hold.
//
// fuzz-options: -max_len=65536

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/recipes/recipe_edit.h"
#include "core/store/cookbook.h"
#include "core/transfer/web_recipe.h"
#include "fuzz_support.h"

using namespace culvora;
using namespace culvora::transfer;

namespace {

// The number of characters of valid UTF-8; nothing when it is not valid.
std::optional<std::size_t> utf8Chars(std::string_view s)
{
    std::size_t chars = 0;
    for (std::size_t i = 0; i < s.size(); ++chars) {
        const auto lead = static_cast<unsigned char>(s[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                   : lead >= 0xE0                ? 3
                                                   : lead >= 0xC2 && lead < 0xE0 ? 2
                                                                                 : 0;
        if (length == 0 || i + length > s.size()) return std::nullopt;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return std::nullopt;
        }
        i += length;
    }
    return chars;
}

bool isLine(std::string_view s, std::size_t maxChars)
{
    const auto chars = utf8Chars(s);
    return chars && *chars <= maxChars && !fuzz::hasLineBreak(s);
}

bool isNumber(const std::string& s, long max)
{
    return !s.empty() && s.size() <= 6 && s.find_first_not_of("0123456789") == std::string::npos &&
           std::stol(s) <= max;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view page = fuzz::asText(data, size);
    const std::string source = "https://example.org/r";
    const auto recipes = readWebRecipes(page, source);
    FUZZ_CHECK(recipes.size() <= kMaxWebRecipes);
    for (const WebRecipe& recipe : recipes) {
        FUZZ_CHECK(isLine(recipe.name, kMaxWebNameChars));
        FUZZ_CHECK(isNumber(recipe.servings, kMaxWebServings));
        FUZZ_CHECK(isNumber(recipe.cookingTime, kMaxWebMinutes));
        FUZZ_CHECK(recipe.ingredients.size() <= kMaxWebLines);
        FUZZ_CHECK(recipe.instructions.size() <= kMaxWebLines + 1);
        FUZZ_CHECK(!recipe.instructions.empty() &&
                   recipe.instructions.back() == std::string(kSourcePrefix) + source);
        for (const auto* lines : {&recipe.ingredients, &recipe.instructions, &recipe.categories}) {
            for (const std::string& line : *lines) FUZZ_CHECK(isLine(line, kMaxWebLineChars));
        }
        for (const std::string& line : recipe.ingredients) FUZZ_CHECK(!line.starts_with('['));

        auto draft = webRecipeDraft(recipe, "Imported");
        if (!draft) {
            FUZZ_CHECK(draft.error().message.find("cannot be saved") != std::string::npos);
            continue;
        }
        if (recipe.name.empty()) continue;
        FUZZ_CHECK(recipes::checkDraft(*draft).has_value());
        const store::RecipeRecord record = recipes::newRecord(*draft);
        const std::string content = "[NAMN]\r\n" + store::formatRecord(record);
        const auto back = store::parseRecord(content, draft->name);
        FUZZ_CHECK(back && back->name == draft->name && back->servings == draft->servings &&
                   back->cookingTime == draft->cookingTime && back->type == "Imported");
        FUZZ_CHECK(store::listNames(content) == std::vector<std::string>{draft->name});
    }
    // The readers of single values stay within their bounds on any text.
    const std::string_view head = page.substr(0, 64);
    if (const auto minutes = webMinutes(head)) FUZZ_CHECK(*minutes >= 0 && *minutes <= kMaxWebMinutes);
    FUZZ_CHECK(isNumber(webServings(head), kMaxWebServings));
    return 0;
}
