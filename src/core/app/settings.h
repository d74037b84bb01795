#pragma once

// tavendi.ini: line 1 the current cookbook's file name, line 2 "1"/"0" for tips at start-up.

#include <filesystem>
#include <string>
#include <string_view>

#include "core/error.h"
#include "core/files/files.h"

namespace culvora::app {

inline constexpr std::string_view kSettingsFile = "tavendi.ini";
inline constexpr std::string_view kStandardCookbookFile = "BOOK1.TXT";

struct Settings {
    std::string cookbookFile;  // line 1 as read (Windows-1252)
    bool found = false;        // the file existed and had a first line
};

// A missing or empty tavendi.ini reads as not found; the caller starts with the standard
// cookbook then.
Settings readSettings(const ProgramFolder& folder);

// Rewrites both lines.
Result<void> writeSettings(const ProgramFolder& folder, std::string_view cookbookFile, bool tips);

// Copies every file and folder of `source` that `target` lacks; never overwrites. Returns the
// number of files copied.
Result<int> seedDataFolder(const std::filesystem::path& source,
                           const std::filesystem::path& target);

// The data folder: --data-dir, then CULVORA_DATA_DIR, then $XDG_DATA_HOME/culvora, then
// ~/.local/share/culvora. An empty `explicitDir` means none was given.
std::filesystem::path dataFolder(std::string_view explicitDir);

}  // namespace culvora::app
