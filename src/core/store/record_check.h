#pragma once

// What a recipe must be before it is added to a cookbook, however it comes: typed, given to
// culvora-cli's "add", imported from a Meal-Master or cookbook file, or downloaded. A recipe
// that passes can be listed, shown, edited and deleted again, from the window and from the
// command line alike:
//
// - its name is not empty, not one of the record's markers ("[NAMN]", "[TYP]", ...), and at
//   most kMaxRecipeNameChars characters long (a name of megabytes cannot be typed, shown or
//   passed to "delete");
// - no text of it holds a control character other than the tab and the line ends between
//   lines (an escape sequence in a recipe would reach the terminal of whoever lists it);
// - every byte is a Windows-1252 character (the code page leaves five bytes undefined).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/error.h"
#include "core/store/cookbook.h"

namespace culvora::store {

// Longer than any dish's name, short enough for a list, a message and a command line.
inline constexpr std::size_t kMaxRecipeNameChars = 200;

// Why a recipe with this name and these record bytes (from its name line on, as the cookbook
// holds them) cannot be added, as the end of a sentence that starts with the recipe ("its
// name is longer than 200 characters"); nothing when it can.
std::optional<std::string> newRecipeProblem(std::string_view cp1252Name,
                                            std::string_view recordBytes);
// The same for a record in memory: each one-line field must be one line.
std::optional<std::string> newRecipeProblem(const RecipeRecord& record);

// The name alone, as the window's or the command line's answer to "another name?".
std::optional<std::string> newNameProblem(std::string_view cp1252Name);

// The problems above as a message: "The recipe "…" cannot be added: its name is … ." (or "A
// recipe without a name cannot be added.").
Result<void> checkNewRecipe(std::string_view cp1252Name, std::string_view recordBytes);
Result<void> checkNewRecipe(const RecipeRecord& record);

}  // namespace culvora::store
