#pragma once

// Recipes written out as a Meal-Master file, for the other cookbook programs and for our own
// import to read back.
//
// Each recipe is a "MMMMM----- Recipe via Meal-Master (tm) v8.05" header, the "Title:",
// "Categories:" (the recipe's type) and "Servings:" lines, a blank line, the ingredient lines,
// a blank line, the instruction lines, and "MMMMM" on a line of its own. An ingredient line
// that reads as an amount (digits, fractions, a range), an optional Meal-Master unit code
// ("c", "t", "T", "g", "kg", "ml", "dl", "l", "oz", "lb", "pn", "ds", "ea", "x", ...) and a text
// goes into the columns (amount right-aligned in 7, a blank, the unit in 2, a blank, the text);
// other units stay in the text, as the cook wrote them ("1 tsk salt" is amount 1 and the text
// "tsk salt"). Other lines go into the text column. Text that would make a line too long goes
// on in continuation lines ("-" in column 12).
//
// Read back by the import, a recipe comes back as the import makes every recipe: the name with
// a capital first letter and the rest in lower case, the servings as a whole number, the time
// 0, the type "Imported", the lines trimmed, the ingredients ended by one empty line; runs of
// blanks in an ingredient line may come back as the column layout spaces them. Two things the
// file format cannot carry are left out: empty ingredient lines the import would take for the
// end of the ingredients (those that are not followed by another ingredient with an amount or a
// group heading), and the words "Meal-Master" in a line that would read as the header of a new
// recipe, which are written "Meal Master". A recipe without ingredient lines is written in the
// format's first form ("----------" header, "Yield:", "-----" to end it), the one where an empty
// line right after the yield says that no ingredients come.

#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "core/files/files.h"
#include "core/store/cookbook.h"

namespace culvora::transfer {

enum class ExportEncoding { Cp850, Utf8 };

struct MealMasterExport {
    std::string bytes;  // the file, in the chosen encoding, CR LF after every line
    int recipes = 0;
    // Characters code page 850 lacks (€, curly quotes, ...), each written as "?".
    int replaced = 0;
};

// One recipe in Meal-Master form, in Windows-1252.
std::string mealMasterRecipe(const store::RecipeRecord& record);

// The recipes one after the other, in the chosen encoding.
MealMasterExport exportMealMaster(const std::vector<store::RecipeRecord>& records,
                                  ExportEncoding encoding);

// The records of a cookbook file: every one in file order when `names` is empty, else the
// named ones in the order given. A name the cookbook lacks is an error (ErrorCode::NotFound)
// that names it.
Result<std::vector<store::RecipeRecord>> recordsForExport(const ProgramFolder& folder,
                                                          const std::string& cookbookFile,
                                                          const std::vector<std::string>& names);

// "3 recipes exported." and, when some characters had to be replaced, how many.
std::string exportedMessage(const MealMasterExport& exported);

}  // namespace culvora::transfer
