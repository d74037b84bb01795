#pragma once

// The Fridge list (sok.txt): the program's ingredient words, one a line, lower case. The
// searches offer them for ticking, and a new or downloaded recipe's ingredient lines are
// compared with them so that words the program has not seen are offered for adding.

#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "core/files/files.h"

namespace culvora::search {

inline constexpr std::string_view kFridgeListFile = "sok.txt";
inline constexpr std::string_view kFridgeListTemp = "sok.tmp";

// The words in file order; empty lines name no word.
std::vector<std::string> parseFridgeList(std::string_view content);
// A missing sok.txt reads as an empty list.
Result<std::vector<std::string>> readFridgeList(const ProgramFolder& folder);
// The editor's "&Ok": the list rewritten in alphabetical order (duplicates stay).
Result<void> writeFridgeList(const ProgramFolder& folder, std::vector<std::string> words);
// "Done" in the New ingredients dialog: the words appended at the end, in the order given.
Result<void> appendFridgeWords(const ProgramFolder& folder, const std::vector<std::string>& words);

// A word as the editor stores it: lower case, not trimmed. Refuses a line break.
Result<std::string> fridgeWord(std::string_view typed);

// The candidate word of an ingredient line: the text after its last blank, lower case (the
// whole line when it has no blank; empty when it ends with a blank). "2 dl milk" gives
// "milk", "Salt" gives "salt", "3 eggs (large)" gives "(large)".
std::string candidateWord(std::string_view line);

// Who runs the new-ingredient check: the new-recipe editor skips a candidate that is empty
// after trimming or ends with ")"; the download skips only one that is empty before trimming.
enum class CheckVariant { NewRecipe, Download };

// The words the New ingredients dialog offers for the ingredient lines (empty lines left out
// by the caller), in order, as often as they occur: each line's candidate, trimmed and lower
// case, unless it matches a word of the list (ignoring case). With an empty list every
// candidate is offered: a new user's list must be able to grow from the recipes.
std::vector<std::string> newIngredientCandidates(const std::vector<std::string>& lines,
                                                 const std::vector<std::string>& fridgeWords,
                                                 CheckVariant variant);

}  // namespace culvora::search
