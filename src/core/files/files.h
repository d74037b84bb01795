#pragma once

// The program folder and the safe way to change a file in it.

#include <filesystem>
#include <string>
#include <string_view>

#include "core/error.h"

namespace culvora {

// The user's data folder. Data files name each other by bare Windows-1252 file names
// ("BOOK1.TXT" in tavendi.ini); on this system a file name is UTF-8, so resolving converts.
class ProgramFolder {
public:
    ProgramFolder() = default;
    explicit ProgramFolder(std::filesystem::path dir) : dir_(std::move(dir)) {}

    const std::filesystem::path& path() const { return dir_; }
    // The full path of a bare Windows-1252 file name inside the folder.
    std::filesystem::path resolve(std::string_view cp1252Name) const;
    bool exists(std::string_view cp1252Name) const;

private:
    std::filesystem::path dir_;
};

// True when the name is a plain file name that stays inside the folder: not empty, no path
// separator, not "." or "..", no control character.
bool isPlainFileName(std::string_view cp1252Name);

// The whole content of a file. A missing file is ErrorCode::NotFound.
Result<std::string> readFile(const std::filesystem::path& file);
// A missing file reads as empty; other failures are errors.
Result<std::string> readFileOrEmpty(const std::filesystem::path& file);

// Replaces a file's content so that a crash leaves either the old or the new file, never half
// of one: the content goes to `tempName` in the same folder, every write is checked, the file
// is flushed and synced, renamed over the target, and the folder is synced.
Result<void> writeFileAtomic(const std::filesystem::path& target, std::string_view content,
                             std::string_view tempName);

// Creates an empty file; refuses when it exists already.
Result<void> createEmptyFile(const std::filesystem::path& file);

}  // namespace culvora
