#pragma once

// The week's shopping list: the grocery lists (the ingredient lines) of the chosen dishes made
// into one list. Lines that name the same ingredient in the same unit are added up ("3 dl
// milk" and "2 dl milk" make "5 dl milk"); lines without an amount that can be read, and
// lines of an ingredient that comes in more than one unit (these are kept apart, not
// converted), are listed once per dish with the dish's name in brackets. The list is sorted
// by the ingredient in the program's collation.
//
// Texts are Windows-1252, as the cookbooks hold them.

#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "core/files/files.h"
#include "core/print/print_job.h"

namespace culvora::menu {

inline constexpr std::string_view kShoppingListHeading = "Shopping list";

struct DishIngredients {
    std::string name;
    std::vector<std::string> lines;  // the dish's ingredient lines, as the cookbook holds them
};

// Whether an ingredient line is left off the shopping list: an empty line, or a heading over
// a group of ingredients ("Sauce:", "[Filling]", "-----FILLING-----").
bool isGroupHeading(std::string_view line);

// The merged list, one text a line. The same dish given twice (a dish the week has on two
// evenings) is counted twice; a line that cannot be added stands once for its dish.
std::vector<std::string> shoppingList(const std::vector<DishIngredients>& dishes);

// The list of the named recipes of a cookbook file, each read by its name line as the grocery
// list is. "(No suggestion)" and empty names add nothing; a name the cookbook lacks is an error
// (ErrorCode::NotFound) that names it.
Result<std::vector<std::string>> shoppingListOf(const ProgramFolder& folder,
                                                const std::string& cookbookFile,
                                                const std::vector<std::string>& dishes);

// The printed list: three heading lines (the empty text, "Shopping list", the empty text),
// then each line of the list as a body line, as the grocery list is printed.
print::PrintJob shoppingListPrintout(const std::vector<std::string>& list);

}  // namespace culvora::menu
