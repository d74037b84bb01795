#pragma once

// Restore: the files of a backup folder put back into the data folder. A restore first reads
// what the folder holds and what each file would replace (a plan the user looks at and
// agrees to), then replaces each file atomically while it holds the data folder's lock for
// the whole restore. A file the backup does not hold is left as it is.
//
// What is taken from a backup: the drinks file, every cookbook file named by the current
// cookbook or by the list of cookbooks (the data folder's or the backup's), the list of
// cookbooks itself, bilder.txt, sok.txt, typer.txt and the fridge files (*.kyl). Names follow
// the usual rules: a cookbook's name is a plain name and not one of the program's own files,
// nothing outside the folders is read or written, and only regular files no larger than the
// size cap are read (a link, a folder or a device is skipped with a note).

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/files/files.h"

namespace culvora::transfer {

struct RestoreItem {
    std::string file;          // Windows-1252, the same name in both folders
    std::uintmax_t size = 0;   // bytes in the backup
    std::string modified;      // "2026-12-10 20:31", the backup's file, local time
    bool replaces = false;     // the data folder has a file of that name now
    bool operator==(const RestoreItem&) const = default;
};

struct RestorePlan {
    std::filesystem::path source;
    std::vector<RestoreItem> items;  // in the order they are restored
    std::vector<std::string> notes;  // UTF-8: files of the backup left out, and why
};

// What restoring from `source` would do. `currentCookbook` is the data folder's current
// cookbook file. A source that is not a folder is an error; a folder that holds nothing to
// restore gives an empty plan.
Result<RestorePlan> planRestore(const ProgramFolder& folder, const std::filesystem::path& source,
                                const std::string& currentCookbook);

// Replaces the data folder's files with the plan's, each atomically, under the folder's lock.
// Stops at the first file that fails; the message says which were restored before it.
Result<void> restore(const ProgramFolder& folder, const RestorePlan& plan);

}  // namespace culvora::transfer
