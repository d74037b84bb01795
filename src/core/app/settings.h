#pragma once

// tavendi.ini (line 1 the current cookbook's file name, line 2 "1"/"0" for tips at start-up),
// the data folder, and the rules about the current cookbook that the program and culvora-cli
// share.

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/error.h"
#include "core/files/files.h"
#include "core/store/cookbook_list.h"

namespace culvora::app {

inline constexpr std::string_view kSettingsFile = "tavendi.ini";
inline constexpr std::string_view kSettingsTemp = "settings.tmp";
inline constexpr std::string_view kStandardCookbookFile = "BOOK1.TXT";

struct Settings {
    std::string cookbookFile;  // line 1 as read (Windows-1252)
    bool tips = false;         // line 2 is "1"
    bool found = false;        // the file existed and had a non-empty first line
};

// A missing or empty tavendi.ini reads as not found.
Settings readSettings(const ProgramFolder& folder);

// Rewrites both lines.
Result<void> writeSettings(const ProgramFolder& folder, std::string_view cookbookFile, bool tips);

// The cookbook that is current when the program (or a command) starts: line 1 of
// tavendi.ini; without one, the standard cookbook of bocker.txt (else its first title in sort
// order), else BOOK1.TXT.
std::string startCookbook(const ProgramFolder& folder);

// Whether a cookbook file can be worked on: a cookbook file name (see checkCookbookFileName)
// whose file is there. The message names the file and the folder.
Result<void> checkCookbookFile(const ProgramFolder& folder, std::string_view file);

// "Use": the cookbook with this title becomes the current one, and tavendi.ini is rewritten
// with it (line 2 from `tips`). A title whose file is missing is refused with the same message
// the program gives at start-up, and nothing changes. Returns the file name.
Result<std::string> useCookbook(const ProgramFolder& folder, std::string_view title, bool tips);

// After the current cookbook has been removed: the fallback cookbook of the list becomes
// current (tavendi.ini rewritten). Nothing when the list is empty.
Result<std::optional<store::CookbookEntry>> useFallbackCookbook(const ProgramFolder& folder,
                                                                bool tips);

// The delivered files a user changes, which a data folder gets its own copies of: the
// settings, the list of cookbooks with the starter cookbook, the recipe types, the Fridge
// list, the drinks, the nutrition table and the exchange's address. Everything else that is
// delivered (help pages, pictures, credits, the exchange operator's starter files) is read
// where it is installed (deliveredFile).
inline constexpr std::array<std::string_view, 8> kSeededFiles = {
    "bocker.txt", "BOOK1.TXT",   "tavendi.ini", "typer.txt",
    "sok.txt",    "drinkar.txt", "index.txt",   "exchange.ini"};

// Seeds a data folder from the delivered files (`source`): creates the folder, and copies each
// of kSeededFiles that it lacks. The starter cookbook and the settings naming it come only
// with the list of cookbooks: a folder that has bocker.txt has a user's cookbooks, and a
// starter cookbook the user deleted does not come back. Nothing is ever overwritten, not even
// a link; each file is checked with one look-up and the delivered folder is never walked.
// Returns the number of files copied.
Result<int> seedDataFolder(const std::filesystem::path& source,
                           const std::filesystem::path& target);

// A delivered file by its path relative to the delivered folder ("help/index.html",
// "pics/cmd0.gif"): the user's own copy in the data folder when there is one (a regular file),
// else the delivered one (whether or not it is there). Without a delivered folder, the data
// folder's path.
std::filesystem::path deliveredFile(const std::filesystem::path& dataFolder,
                                    const std::filesystem::path& delivered,
                                    const std::filesystem::path& relative);

// The data folder: --data-dir, then CULVORA_DATA_DIR, then $XDG_DATA_HOME/culvora (an
// absolute one), then ~/.local/share/culvora. An empty `explicitDir` means none was given.
// Without a home folder (HOME unset, empty or relative) there is none: an error says how to
// name one, rather than a folder made wherever the program was started.
Result<std::filesystem::path> dataFolder(std::string_view explicitDir);
inline constexpr std::string_view kNoDataFolderMessage =
    "There is no data folder: HOME is not set. Name one with --data-dir DIR or "
    "CULVORA_DATA_DIR.";

// The files delivered with the program: "../share/culvora" beside an installed program's
// executable folder, else the copy in the source tree a build tree was made from.
std::filesystem::path deliveredData(const std::filesystem::path& executableFolder,
                                    const std::filesystem::path& sourceTreeData);

// The folder of the running executable (from /proc/self/exe); empty when unknown.
std::filesystem::path executableFolder();

}  // namespace culvora::app
