#include "core/store/record_check.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "core/text/text.h"

namespace culvora::store {

namespace {

constexpr std::array<std::string_view, 6> kTags = {kTagName,        kTagServings,     kTagTime,
                                                   kTagIngredients, kTagInstructions, kTagType};

bool undefinedInWindows1252(unsigned char b)
{
    return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

std::string byteText(unsigned char b)
{
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned>(b));
    return hex;
}

// The first byte a cookbook cannot hold in a text; line ends only where `lines` allows them.
std::optional<std::string> textProblem(std::string_view text, bool lines)
{
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if ((b == '\r' || b == '\n') && lines) continue;
        if (b < 0x20 && b != '\t') {
            return b == '\r' || b == '\n'
                       ? std::string("a line break in a field of one line")
                       : "the control character " + byteText(b) + ", which a recipe cannot hold";
        }
        if (b == 0x7F) return "the control character 0x7F, which a recipe cannot hold";
        if (undefinedInWindows1252(b)) {
            return "the byte " + byteText(b) + ", which is no Windows-1252 character";
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> newNameProblem(std::string_view name)
{
    if (name.empty()) return "it has no name";
    if (std::ranges::find(kTags, name) != kTags.end()) {
        return "its name " + text::quotedForMessage(name) + " is one of the cookbook's markers";
    }
    if (name.size() > kMaxRecipeNameChars) {
        return "its name has " + std::to_string(name.size()) + " characters, more than the " +
               std::to_string(kMaxRecipeNameChars) + " a name may have";
    }
    if (auto problem = textProblem(name, false)) return "its name holds " + *problem;
    return std::nullopt;
}

std::optional<std::string> newRecipeProblem(std::string_view name, std::string_view recordBytes)
{
    if (auto problem = newNameProblem(name)) return problem;
    if (auto problem = textProblem(recordBytes, true)) return "it holds " + *problem;
    return std::nullopt;
}

std::optional<std::string> newRecipeProblem(const RecipeRecord& record)
{
    if (auto problem = newNameProblem(record.name)) return problem;
    for (std::string_view field :
         {std::string_view(record.servings), std::string_view(record.cookingTime),
          std::string_view(record.type)}) {
        if (auto problem = textProblem(field, false)) return "it holds " + *problem;
    }
    for (std::string_view field :
         {std::string_view(record.ingredients), std::string_view(record.instructions)}) {
        if (auto problem = textProblem(field, true)) return "it holds " + *problem;
    }
    return std::nullopt;
}

namespace {

Result<void> refused(std::string_view name, const std::optional<std::string>& problem)
{
    if (!problem) return {};
    if (name.empty()) return fail(ErrorCode::Invalid, "A recipe without a name cannot be added.");
    return fail(ErrorCode::Invalid, "The recipe " + text::quotedForMessage(name) +
                                        " cannot be added: " + *problem + ".");
}

}  // namespace

Result<void> checkNewRecipe(std::string_view name, std::string_view recordBytes)
{
    return refused(name, newRecipeProblem(name, recordBytes));
}

Result<void> checkNewRecipe(const RecipeRecord& record)
{
    return refused(record.name, newRecipeProblem(record));
}

}  // namespace culvora::store
