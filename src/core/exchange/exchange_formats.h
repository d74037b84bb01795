#pragma once

// The recipe exchange's files: exchange files (one recipe record, named by the time it was
// written, "20261210143005.tvx"), the category list network.txt and a category's recipe
// index netindex.txt. Texts are Windows-1252 with CR LF line ends.
//
// Everything here reads what a server hands us, so nothing a server writes is taken for a
// path: folder names and file stems that could leave their folder are refused.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "core/files/files.h"

namespace culvora::exchange {

inline constexpr std::string_view kNetworkFile = "network.txt";
inline constexpr std::string_view kNetIndexFile = "netindex.txt";
inline constexpr std::string_view kExchangeExtension = ".tvx";
inline constexpr std::string_view kRootFolder = "/tavendi";
inline constexpr std::string_view kUploadFolder = "tavendi/upload";
inline constexpr int kMaxCategories = 100;
// What the exchange takes from an index file, however much a server sends: a line longer than
// any name and folder could need stops the reading there, as a broken line does; so does a
// recipe list past kMaxIndexEntries. The message block keeps what fits in kMaxMessageChars.
inline constexpr std::size_t kMaxIndexLine = 1024;
inline constexpr std::size_t kMaxIndexEntries = 10000;
inline constexpr std::size_t kMaxMessageChars = 4096;

// --- Exchange files --------------------------------------------------------------------------

struct LocalTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// This computer's local date and time now.
LocalTime localNow();

// "20261210143005.tvx": year, month, day, hour, minute and second with leading zeros.
std::string exchangeFileName(const LocalTime& time);

// The exchange file of a recipe: "[NAMN]", the name and the record's lines up to the next
// record, as the cookbook holds them. The record is found by its name line (a line of another
// recipe that happens to read the same never stands in for it); nothing when there is none.
std::optional<std::string> exchangeRecord(std::string_view cookbookContent, std::string_view name,
                                          std::size_t occurrence = 0);

// What an exchange file must be before it goes into a cookbook: one complete recipe record
// ("[NAMN]", a name, "[PORTIONER]", servings, "[TID]", time, "[IND]", ingredient lines, a
// line beginning "[G", instruction lines, "[TYP]", type) and nothing after it. A transfer cut
// short or a file that is not a recipe is refused with a message that says so.
struct ExchangeRecipe {
    std::string name;
    std::string lines;                     // the record from its name line on, CR LF ends
    std::vector<std::string> ingredients;  // the non-empty ingredient lines
};
Result<ExchangeRecipe> readExchangeFile(std::string_view content);
// The same check with the reason alone ("it ends inside the ingredients"), for the operator who
// publishes an upload and for whom "nothing was added to the cookbook" would be wrong.
std::expected<ExchangeRecipe, std::string> parseExchangeRecord(std::string_view content);

// The record's lines from the name line on, with another name in place of its own.
std::string renamedRecord(const ExchangeRecipe& recipe, std::string_view newName);

// True when a name line of the cookbook equals the name (a recipe of that name is there). A
// name that only occurs inside another recipe's text is free.
bool nameTaken(std::string_view cookbookContent, std::string_view name);

// --- Names a server hands us ---------------------------------------------------------------

// A category folder or a file stem from the server may be used as one plain name only: no
// "/", "\", "..", drive letter (":") or control character, not empty.
Result<void> checkServerName(std::string_view cp1252Name, std::string_view what);

// --- network.txt -----------------------------------------------------------------------------

enum class CategoryKind {
    Parent,  // "#!": a top-level category that holds the "##" entries after it
    Top,     // "# ": a top-level category
    Child,   // "##": a subcategory of the last "#!" entry
};

struct Category {
    CategoryKind kind = CategoryKind::Top;
    std::string name;    // shown in the tree
    std::string folder;  // under /tavendi on the server
    int parent = 0;      // for Child: the number (from 1) of its "#!" entry; 0 otherwise
};

struct CategoryList {
    // The message block: every line after "<" up to and including ">", each followed by a CR;
    // empty when the first line is not "<". Lines past kMaxMessageChars are left out (">" stays).
    std::string message;
    std::vector<Category> categories;  // entry n is categories[n - 1]
    // The list stopped early: a line without "|", a "##" before any "#!", a 101st entry, an entry
    // line longer than kMaxIndexLine, or the end of the file before "/end". The entries before
    // that line stay.
    bool complete = true;
    std::string problem;  // UTF-8, when not complete
};

CategoryList parseNetwork(std::string_view content);

// --- netindex.txt ----------------------------------------------------------------------------

struct IndexedRecipe {
    std::string name;
    std::string stem;      // the exchange file is stem + ".tvx"
    std::string dateTime;  // "2026-12-10  14:30:05", from the stem
};

struct RecipeIndexFile {
    std::vector<IndexedRecipe> recipes;
    // Reading stopped early: no "/begin", a line without "|", a line longer than kMaxIndexLine
    // or more than kMaxIndexEntries entries. The entries before stay.
    bool complete = true;
};

RecipeIndexFile parseNetIndex(std::string_view content);

// The stem's first fourteen characters as "YYYY-MM-DD  hh:mm:ss"; a shorter stem gives the
// pieces it has ("2024" gives "2024--  ::").
std::string stampText(std::string_view stem);

// The line netindex.txt holds for a recipe: "name|stem".
std::string netIndexLine(std::string_view name, std::string_view stem);

}  // namespace culvora::exchange
