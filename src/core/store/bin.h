#pragma once

// papperskorg.txt: the bin. Every recipe or drink the user deletes is kept here, so a delete
// made by mistake can be put back. It holds the last 200 deletions, oldest first, each as the
// deleted record itself with three tagged lines after its name that say when it was deleted
// and where it came from:
//
//   [NAMN] name [RADERAD] 2026-12-10 20:31 [FRÅN] BOOK1.TXT [KOKBOK] title
//   [PORTIONER] ... the rest of the record as the cookbook held it
//
// A drink comes from "drinkar.txt" (and its title reads "Drinks"), a recipe from the cookbook
// file it was deleted from. The entries are read by the one record reader, so a "[NAMN]" line
// starts the next entry as it starts the next recipe, and an entry whose three header lines
// are not there is left alone: it is not listed, and it leaves the bin only when it is among
// the oldest.
//
// A delete and its bin entry happen together or not at all: the bin is written first, under
// the same lock as the delete, and when the delete then fails the bin gets its old content
// back. Putting back appends the record to where it came from before it leaves the bin, so an
// interruption leaves it in both, never in neither.

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "core/exchange/exchange_formats.h"
#include "core/files/files.h"
#include "core/store/record_reader.h"

namespace culvora::store {

inline constexpr std::string_view kBinFile = "papperskorg.txt";
inline constexpr std::string_view kBinTemp = "papperskorg.tmp";
inline constexpr std::size_t kBinCapacity = 200;

inline constexpr std::string_view kTagDeletedAt = "[RADERAD]";
inline constexpr std::string_view kTagFrom = "[FR\xC5N]";
inline constexpr std::string_view kTagBook = "[KOKBOK]";
// Where a deleted drink came from, and the title the bin shows for it.
inline constexpr std::string_view kBinDrinksFile = "drinkar.txt";
inline constexpr std::string_view kBinDrinksTitle = "Drinks";

enum class BinKind { Recipe, Drink };

struct BinEntry {
    std::string name;       // Windows-1252, as the record's name line read
    std::string deletedAt;  // "2026-12-10 20:31", local time
    std::string file;       // the cookbook file, or "drinkar.txt"
    std::string title;      // the cookbook's title when it was deleted
    std::string lines;      // the record from its name line on, every line ended by CR LF

    BinKind kind() const { return file == kBinDrinksFile ? BinKind::Drink : BinKind::Recipe; }
    bool operator==(const BinEntry&) const = default;
};

// "2026-12-10 20:31".
std::string binTime(const exchange::LocalTime& time);

// --- Pure functions over the bin's content ---------------------------------------------------

// The entries in file order (oldest first).
std::vector<BinEntry> parseBin(std::string_view content);

// The entry's lines as the bin holds them, from its "[NAMN]" line on. Nothing when a header
// value would read as a line of its own or as "[NAMN]" (it would break the bin apart).
std::optional<std::string> formatBinEntry(const BinEntry& entry);

// The bin with the entry added at the end and, beyond `keep` entries, the oldest dropped.
// Nothing when the entry cannot be written (see formatBinEntry).
std::optional<std::string> withBinEntry(std::string_view content, const BinEntry& entry,
                                        std::size_t keep = kBinCapacity);

// The bin without the newest entry equal to `entry`; nothing when there is none.
std::optional<std::string> withoutBinEntry(std::string_view content, const BinEntry& entry);

// The name itself when no taken name equals it, else "Name (2)", "Name (3)", ... the first free.
std::string freeName(std::string_view name, std::span<const std::string> taken);

// The record's lines (from the name line on) under another name.
std::string renamedLines(std::string_view linesFromName, std::string_view newName);

// The newest entry whose name is `name`, or nothing.
std::optional<BinEntry> newestNamed(std::span<const BinEntry> entries, std::string_view name);

// --- The bin in the data folder --------------------------------------------------------------

// A missing bin reads as empty.
Result<std::vector<BinEntry>> readBin(const ProgramFolder& folder);

// Adds the entry to the bin and then makes the change (the delete), holding the folder's lock
// across both. When the bin cannot be written the change is not made; when the change fails
// the bin is written back as it was. `what` names the deleted thing in a message ("The recipe
// \"Soup\"").
Result<void> keepInBinAndChange(const ProgramFolder& folder, const BinEntry& entry,
                                std::string_view what, const std::function<Result<void>()>& change);

// Deletes the recipe from the cookbook file and keeps it in the bin.
Result<void> deleteRecipe(const ProgramFolder& folder, const std::string& cookbookFile,
                          RecordKey key, const exchange::LocalTime& when);

struct PutBack {
    BinKind kind = BinKind::Recipe;
    std::string name;   // the name it went back under
    bool renamed = false;
    std::string file;   // the cookbook file, or "drinkar.txt"
    std::string title;  // the cookbook's title now
    std::string note;   // UTF-8: it went back, but something after that failed; else empty
};

// Puts the newest entry equal to `entry` back where it came from, appended at the end: a
// recipe into its cookbook, a drink into the drinks file. A name that is taken there gets a
// number ("Soup (2)"). A cookbook that is no longer in the list of cookbooks, or whose file is
// gone, is refused with a message that says so, and the entry stays in the bin.
Result<PutBack> putBack(const ProgramFolder& folder, const BinEntry& entry);

}  // namespace culvora::store
