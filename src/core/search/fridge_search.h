#pragma once

// "The Fridge": the recipes that can be cooked from what is at home. A recipe's recognised
// ingredients are those of its ingredient lines whose last word is a Fridge-list word; it
// matches when it has at least one and every one of them is marked.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "core/files/files.h"

namespace culvora::search {

// "sökta.txt", Windows-1252: the copy of the cookbook a search works from.
inline constexpr std::string_view kSearchCopyFile = "s\xF6kta.txt";
inline constexpr std::string_view kSearchCopyTemp = "s\xF6kta.new";

// For every record: "[NAMN]", the name, "[IND]" and the ingredient lines up to the first line
// that begins with "[G".
std::string searchCopy(std::string_view cookbook);

// The last word of an ingredient line, as the fridge search reads it: the text after the last
// blank, trimmed; empty for a line with no blank or one that ends with a blank.
std::string lastWord(std::string_view line);

// The progress panel after examining recipe i (1-based) of n: the label "N % klart" (the
// integer part of i × 100 / n) and the bar, one step behind (i − 1) / n × 100.
struct Progress {
    int percent = 0;
    int bar = 0;
    std::string label;
};
Progress searchProgress(std::size_t i, std::size_t n);
// "I have found N recipes..."
std::string foundText(std::size_t found);

// The matching names in the program's sort order. `words` is the Fridge list in the order the
// screen shows it (sorted): a recognised ingredient takes the spelling of the first entry that
// matches it, ignoring case. `marked` are entries of that list. `progress`, when given, hears
// after each recipe how many have been examined out of how many, and how many matched.
std::vector<std::string>
fridgeSearch(std::string_view cookbook, const std::vector<std::string>& words,
             const std::vector<std::string>& marked,
             const std::function<void(std::size_t examined, std::size_t total, std::size_t found)>&
                 progress = {});

// Writes sökta.txt (the search copy) into the data folder.
Result<void> writeSearchCopy(const ProgramFolder& folder, std::string_view cookbook);

// Fridge files (".kyl", anywhere the user keeps them): one marked word a line, lower case.
std::string formatFridgeFile(const std::vector<std::string>& marked);
Result<void> saveFridgeFile(const std::filesystem::path& file,
                            const std::vector<std::string>& marked);
// The entries of `words` to mark for a fridge file's lines (compared in lower case), in the
// order of `words`.
std::vector<std::string> marksFromFridgeFile(std::string_view content,
                                             const std::vector<std::string>& words);
Result<std::vector<std::string>> openFridgeFile(const std::filesystem::path& file,
                                                const std::vector<std::string>& words);

}  // namespace culvora::search
