#pragma once

// A recipe shown for another number of servings: the ingredient amounts multiplied by the new
// servings over the recipe's own and written back as a cook writes them (amounts.h), the
// servings line showing the new number. Only what is shown changes; the record in the cookbook
// stays as it is.

#include <optional>
#include <string>
#include <string_view>

#include "core/store/cookbook.h"

namespace culvora::recipes {

// The most servings a recipe can be scaled to.
inline constexpr int kMaxScaledServings = 999;

// The servings a recipe is written for: the whole number its servings line begins with, after
// blanks ("4", "4 portioner", "4-6" for 4 to 6 reads as 4). Nothing for a line that does not
// begin with a whole number above 0 ("", "many", "about 4", "0", "2,5", "1/2"): such a recipe
// cannot be scaled.
std::optional<int> recipeServings(std::string_view servings);

// The same read from the viewer's servings text, "(Serves 4)"; nothing for another text.
std::optional<int> servingsOfShownText(std::string_view servingsText);

// The servings line for `servings`: its leading number replaced and the upper end of a range
// scaled with it, rounded to a whole number ("4-6 portioner" for 8 reads "8-12 portioner"); the
// rest of the line as it stands. A line recipeServings() cannot read is returned as it is.
std::string scaledServings(std::string_view line, int servings);

// Ingredient lines, each followed by CR LF, with every amount multiplied by the factor; lines
// without an amount stay as they are.
std::string scaledIngredients(std::string_view ingredients, double factor);

// The record for `servings` servings: the servings line and the ingredient lines scaled, the
// rest as it is. The record as it is for its own servings; nothing when its servings cannot be
// read or `servings` is not between 1 and kMaxScaledServings.
std::optional<store::RecipeRecord> scaledRecord(const store::RecipeRecord& record, int servings);

}  // namespace culvora::recipes
