#pragma once

// Amounts in ingredient lines as cooks write them: "2 dl milk", "1 1/2 tsk salt", "½ lemon",
// "1,5 kg potatoes", "2-3 cloves garlic", "400 g minced meat". An ingredient line is read as
// an optional amount, an optional unit word and the rest; what cannot be read as an amount is
// left as it stands. Scaling a recipe and adding up a week's shopping list both read lines this
// way, and write amounts back the way a cook would: "1 1/2 dl", not "1.5 dl"; grams and
// millilitres rounded to what a kitchen scale or jug shows.
//
// Texts are Windows-1252 ("½" is 0xBD, "¼" 0xBC, "¾" 0xBE).

#include <optional>
#include <string>
#include <string_view>

namespace culvora::recipes {

struct IngredientAmount {
    std::string_view indent;     // blanks before the amount
    double value = 0;            // the amount (the lower end of a range)
    std::optional<double> upTo;  // the upper end of a range "2-3"
    std::string_view unit;       // the unit word as written ("dl", "msk", "g."), empty for none
    std::string_view rest;       // the text after the amount and unit, its leading blanks dropped
    bool comma = false;          // the amount was written with a decimal comma ("1,5")
};

// The line's leading amount, unit and rest; nothing when the line does not begin (after
// blanks) with an amount. A number glued to letters ("3eggs") or a number that is part of a
// word or a code ("2x", "E150") is not an amount, nor is a zero or negative one.
std::optional<IngredientAmount> readIngredientAmount(std::string_view line);

// Whether a word is a unit of measure the program knows ("dl", "tsk", "g", "cups", ...),
// compared without regard to case and to a final full stop.
bool isUnitWord(std::string_view word);

// The unit a word stands for, for adding amounts up: lower case, without a final full stop,
// and plural and singular spellings made one ("cups" -> "cup", "tbsp." -> "tbsp").
std::string unitKey(std::string_view unit);

// An amount written as a cook writes it with that unit: whole numbers plain ("2"); quarters,
// thirds and halves as fractions ("1 1/2", "3/4", "2/3"); grams, millilitres and their kin
// rounded to what a scale or a jug shows ("450", "12,5" with a decimal comma when `comma`);
// an amount no fraction comes near with one or two decimals.
std::string formatAmount(double value, std::string_view unit, bool comma = false);

// The line with its amount multiplied by `factor` and written back as above; a line without an
// amount is returned as it is. The unit and the rest of the line stay as they were.
std::string scaleIngredientLine(std::string_view line, double factor);

}  // namespace culvora::recipes
