#pragma once

// The recipe printout and the grocery list: what is printed, line by line, in which style.

#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "core/files/files.h"
#include "core/print/print_job.h"

namespace culvora::recipes {

// An instruction line longer than 107 characters, broken for printing: each piece runs up to
// and including the first blank at positions 108 to 1107, else it is the first 107 characters;
// the rest goes on the same way. A line of 107 characters or fewer stays whole.
std::vector<std::string> breakInstructionLine(std::string_view line);

enum class LineStyle { Title, Heading, Body };

// Every printed line: three blanks in Courier New 8.25 bold, then the text in Times New Roman,
// 24 points for a title, 12 bold for a heading, 10 for the body.
void printLine(print::PrintJob& job, std::string_view text, LineStyle style);

// What the viewer shows of the recipe: its name and the texts of the two labels under it.
struct ShownRecipe {
    std::string name;
    std::string servingsText;  // "(Serves 4)"
    std::string timeText;      // "Time to cook: 30 min"
    std::size_t occurrence = 0;  // which recipe of that name (a cookbook may hold one twice)
    // The servings the viewer shows the ingredients for, when the cook changed them; 0 for the
    // recipe as it is written.
    int servings = 0;
};

struct PrintedLine {
    LineStyle style;
    std::string text;
    bool operator==(const PrintedLine&) const = default;
};
const char* styleName(LineStyle style);  // "title", "heading", "body"

// The two printouts of a recipe, its lines read afresh from the cookbook by the recipe's name
// line; the grocery list is headed "Grocery list" and the recipe's name. A recipe that has gone
// since the viewer showed it is an error with a message, and so is one of more than a hundred
// thousand printed lines; nothing is printed then. For other servings (shown.servings,
// `servings`) the ingredient lines are scaled as the viewer scales them, and the grocery list
// says for how many under the name; a recipe whose servings are not a number cannot be printed
// so and is an error.
Result<std::vector<PrintedLine>> recipeLines(const ProgramFolder& folder,
                                             const std::string& cookbook, const ShownRecipe& shown);
Result<std::vector<PrintedLine>> groceryLines(const ProgramFolder& folder,
                                              const std::string& cookbook, std::string_view name,
                                              std::size_t occurrence = 0, int servings = 0);
// The print job of such lines, each in its style, and the end of the document.
print::PrintJob printJob(const std::vector<PrintedLine>& lines);

}  // namespace culvora::recipes
