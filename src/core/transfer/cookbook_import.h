#pragma once

// Importing another cookbook file: every record after its first line is appended to the
// current cookbook unchanged (not compared with the names already there). A record that a
// recipe added by hand could not be (no name, a name of megabytes, control characters; see
// store::checkNewRecipe) is left out and reported.

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

struct CookbookImport {
    int imported = 0;                    // records appended
    std::vector<SkippedRecipe> skipped;  // the first kSkippedShown records left out, and why
    int skippedCount = 0;                // all that were left out
};

// What importing the chosen file appends to the cookbook's content, handed to `write` piece by
// piece: "[NAMN]" unless the
// cookbook ends with a lone one, then the records that pass, their lines ended by CR LF. A
// file whose first line is not "[NAMN]" is refused with kNotCookbookMessage
// (ErrorCode::Refused) before anything is written; when no record passes, nothing is.
Result<CookbookImport> importedLines(std::string_view cookbookContent,
                                     std::string_view chosenContent, const PieceWriter& write);

// The cookbook's content with the chosen file's records appended.
Result<std::string> withImportedCookbook(std::string_view cookbookContent,
                                         std::string_view chosenContent);

// Appends the chosen file (anywhere on disk) to the cookbook file in the data folder in one
// rewrite; importing the cookbook into itself appends a copy of its records.
Result<CookbookImport> importCookbook(const ProgramFolder& folder, const std::string& cookbookFile,
                                      const std::filesystem::path& chosenFile);

// "2 recipes were not imported:" and their names and reasons; empty when none was left out.
std::string skippedMessage(const CookbookImport& report);

}  // namespace culvora::transfer
