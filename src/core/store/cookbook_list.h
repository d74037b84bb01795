#pragma once

// bocker.txt: the cookbooks the user keeps, one pair of lines each (title, then file name),
// in the order they were added. Texts are Windows-1252; messages are UTF-8.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "core/files/files.h"
#include "core/store/cookbook.h"

namespace culvora::store {

inline constexpr std::string_view kCookbookListFile = "bocker.txt";
inline constexpr std::string_view kCookbookListTemp = "bocker.new";

inline constexpr std::string_view kLastCookbookMessage = "One cookbook must remain.";
inline constexpr std::string_view kStandardCookbookMessage = "Du får inte ta bort standardboken.";
inline constexpr std::string_view kFileExistsMessage = "This file already exists.";

struct CookbookEntry {
    std::string title;
    std::string file;
    bool operator==(const CookbookEntry&) const = default;
};

// --- Pure functions over the list ------------------------------------------------------------

// The pairs in file order. A title left without its file line at the end is ignored.
std::vector<CookbookEntry> parseCookbookList(std::string_view content);
std::string formatCookbookList(std::span<const CookbookEntry> entries);

// The titles in the program's sort order.
std::vector<std::string> sortedTitles(std::span<const CookbookEntry> entries);

// Look-ups compare title lines (or file lines) only, exactly; the first match wins.
const CookbookEntry* findByTitle(std::span<const CookbookEntry> entries, std::string_view title);
const CookbookEntry* findByFile(std::span<const CookbookEntry> entries, std::string_view file);

// The standard cookbook is the one whose title is "standard" in any mix of case.
bool isStandardTitle(std::string_view title);

enum class RemoveRefusal { None, LastCookbook, StandardCookbook };
// Why a cookbook may not be removed from a list of `count` cookbooks, if it may not.
RemoveRefusal removeRefusal(std::size_t count, std::string_view title);

// What the New book dialog offers with `count` cookbooks listed: "New book 3", "BOOK4.TXT".
CookbookEntry proposeNewBook(std::size_t count);

enum class NewBookField { Title, File };
struct NewBookProblem {
    NewBookField field;  // the box the user has to correct
    ErrorCode code;
    std::string message;  // UTF-8
};
// Why a cookbook with this title and file cannot be added, if it cannot.
std::optional<NewBookProblem> checkNewBook(std::span<const CookbookEntry> entries,
                                           const ProgramFolder& folder, std::string_view title,
                                           std::string_view file);

// The cookbook to fall back on when the current one is gone: the standard cookbook, else the
// first title in sort order; nothing for an empty list.
std::optional<CookbookEntry> fallbackCookbook(std::span<const CookbookEntry> entries);

// The row of the current cookbook's title in a list of titles (sorted as shown): the first
// row whose text equals the title of the first pair naming that file; -1 when the file is not
// listed. Each window decides what to select then.
int currentTitleRow(std::span<const std::string> titles, std::span<const CookbookEntry> entries,
                    std::string_view currentFile);

// What removing a cookbook did. The list is rewritten first and the file deleted after, so a
// failure never leaves a listed book without its recipes; a file that could not be deleted
// afterwards is only worth a note.
struct RemovedCookbook {
    CookbookEntry entry;
    std::string note;  // UTF-8; empty when all went well
};

// --- bocker.txt in the program folder --------------------------------------------------------

class CookbookList {
public:
    explicit CookbookList(ProgramFolder folder) : folder_(std::move(folder)) {}

    const ProgramFolder& folder() const { return folder_; }

    // A missing bocker.txt reads as an empty list.
    Result<std::vector<CookbookEntry>> read() const;
    Result<std::vector<std::string>> titles() const;
    // The file of the cookbook with this title; NotFound when no title line equals it.
    Result<std::string> fileOf(std::string_view title) const;

    // Creates the empty cookbook file and lists it at the end of bocker.txt.
    Result<void> add(std::string_view title, std::string_view file);
    // Takes the cookbook off the list, then deletes its file.
    Result<RemovedCookbook> remove(std::string_view title);

    enum class MoveOutcome { Moved, SameCookbook };
    // Moves a recipe from the cookbook file `sourceFile` to the cookbook titled `targetTitle`.
    // Moving into the cookbook it is in changes nothing; a target that already holds a recipe
    // of that name is refused (the moved one would hide behind it for ever).
    Result<MoveOutcome> moveRecipe(const std::string& sourceFile, std::string_view targetTitle,
                                   std::string_view name) const;
    // The same for the n-th recipe of a name.
    Result<MoveOutcome> moveRecipe(const std::string& sourceFile, std::string_view targetTitle,
                                   RecordKey key) const;

private:
    Result<void> write(std::span<const CookbookEntry> entries) const;

    ProgramFolder folder_;
};

}  // namespace culvora::store
