#pragma once

// Importing another cookbook file: every record after its first line is appended to the
// current cookbook as it stands, except that a recipe whose name the cookbook already has (or
// an earlier recipe of the same file took) gets a numbered name, "Pancakes (2)": a second
// recipe of one name would be hard to tell from the first in every list. A record that a
// recipe added by hand could not be (no name, a name of megabytes, control characters; see
// store::checkNewRecipe) is left out and reported.
//
// The file is read as the Meal-Master import reads its files: UTF-8 when it decodes as UTF-8
// (a byte-order mark says so too), else Windows-1252, the cookbooks' own code page.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "core/files/files.h"
#include "core/transfer/mealmaster.h"

namespace culvora::transfer {

inline constexpr std::string_view kNotCookbookMessage = "Not a Culvora-file";
inline constexpr std::string_view kNotCookbookTitle = "Fel";

// The chosen file's text in Windows-1252: a UTF-8 file converted (its byte-order mark left
// out), any other taken as it is. A character Windows-1252 cannot hold is refused with a
// message that names it (ErrorCode::Invalid); nothing is ever replaced by "?".
Result<std::string> cookbookFileText(std::string_view bytes);

struct CookbookImport {
    int imported = 0;                    // records appended
    int renamed = 0;                     // of them, the ones given a numbered name
    std::string firstRenamed;            // the first numbered name given (Windows-1252)
    std::vector<SkippedRecipe> skipped;  // the first kSkippedShown records left out, and why
    int skippedCount = 0;                // all that were left out
};

// What importing the chosen file's text (already in Windows-1252) appends to the cookbook's
// content, handed to `write` piece by piece: "[NAMN]" unless the cookbook ends with a lone
// one, then the records that pass, their lines ended by CR LF and taken names numbered. A
// text whose first line is not "[NAMN]" is refused with kNotCookbookMessage
// (ErrorCode::Refused) before anything is written; when no record passes, nothing is.
Result<CookbookImport> importedLines(std::string_view cookbookContent,
                                     std::string_view chosenText, const PieceWriter& write);

struct ImportedCookbook {
    std::string content;  // the cookbook with the records appended
    CookbookImport report;
};

// The cookbook's content with the chosen file's records appended (the file's bytes, read as
// above).
Result<ImportedCookbook> importedCookbook(std::string_view cookbookContent,
                                          std::string_view chosenBytes);
// The content alone.
Result<std::string> withImportedCookbook(std::string_view cookbookContent,
                                         std::string_view chosenBytes);

// Appends the chosen file (anywhere on disk) to the cookbook file in the data folder in one
// rewrite; importing the cookbook into itself appends a copy of its records, each numbered.
Result<CookbookImport> importCookbook(const ProgramFolder& folder, const std::string& cookbookFile,
                                      const std::filesystem::path& chosenFile);

// "3 recipes imported." and, when some were renamed, the sentence that says so.
std::string cookbookImportMessage(const CookbookImport& report);
// "2 recipes were not imported:" and their names and reasons; empty when none was left out.
std::string skippedMessage(const CookbookImport& report);

}  // namespace culvora::transfer
