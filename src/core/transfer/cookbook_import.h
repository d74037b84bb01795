#pragma once

// Importing another cookbook file: every record after its first line is appended to the
// current cookbook unchanged (not parsed, not compared with the names already there).

#include <filesystem>
#include <string>
#include <string_view>

#include "core/error.h"
#include "core/files/files.h"

namespace culvora::transfer {

inline constexpr std::string_view kNotCookbookMessage = "Not a Culvora-file";
inline constexpr std::string_view kNotCookbookTitle = "Fel";

// The cookbook's content with the chosen file's records appended, or kNotCookbookMessage
// (ErrorCode::Refused) when the file's first line is not "[NAMN]". "[NAMN]" is written first
// unless the cookbook already ends with a lone one; the lines are copied with CR LF ends.
Result<std::string> withImportedCookbook(std::string_view cookbookContent,
                                         std::string_view chosenContent);

// Appends the chosen file (anywhere on disk) to the cookbook file in the data folder in one
// rewrite; importing the cookbook into itself appends a copy of its records.
Result<void> importCookbook(const ProgramFolder& folder, const std::string& cookbookFile,
                            const std::filesystem::path& chosenFile);

}  // namespace culvora::transfer
