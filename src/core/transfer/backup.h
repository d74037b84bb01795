#pragma once

// Backup: the current cookbook and the drinks file copied under their own names to a
// removable medium or a folder the user picks. Each copy goes through a temporary file at the
// destination and a synced rename, so a failed backup never leaves a cut-off file over an
// older good one.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "core/files/files.h"

namespace culvora::transfer {

inline constexpr std::string_view kBackupDoneMessage = "Backup successful.";
inline constexpr std::string_view kBackupDoneTitle = "Ok!";
inline constexpr std::string_view kBackupFailedMessage = "Backup failed.";
inline constexpr std::string_view kBackupFailedTitle = "Error";

// The first removable medium mounted for the user: the first mount point in the mount table
// (the text of /proc/self/mounts) under /media/USER or /run/media/USER.
std::optional<std::filesystem::path> firstRemovableMedium(std::string_view mountTable,
                                                          std::string_view user);
// The same from this system's mount table and user; nothing when none is mounted.
std::optional<std::filesystem::path> removableMedium();

// The second line of the failure message when no medium is mounted.
std::string noMediumMessage(std::string_view user);

struct BackupRequest {
    bool recipes = true;
    bool drinks = true;
    std::string cookbookFile;  // Windows-1252, the current cookbook
    std::filesystem::path destination;
    // "Everything else": also the list of cookbooks and every cookbook it names, bilder.txt,
    // sok.txt, typer.txt and the fridge files (*.kyl) of the data folder.
    bool everything = false;
};

// The lists "Everything else" copies beside the cookbooks and the drinks.
inline constexpr std::string_view kListFiles[] = {"bocker.txt", "bilder.txt", "sok.txt",
                                                  "typer.txt"};
// A fridge file in the data folder: a plain name ending ".kyl" (any case) that is not one of
// the program's own files.
bool isFridgeFileName(std::string_view cp1252Name);
// What "Everything else" copies from the data folder, in order and only what is there:
// bocker.txt, the cookbooks it lists (but `except`, copied already), the other lists and the
// fridge files. A listed name that is no cookbook's file name is left out.
std::vector<std::string> everythingElse(const ProgramFolder& folder, std::string_view except);

// Copies the cookbook, then the drinks file, then everything else when asked. A failure stops there: a cookbook copied before
// it stays at the destination. The error's message says what failed.
Result<void> backup(const ProgramFolder& folder, const BackupRequest& request);

}  // namespace culvora::transfer
