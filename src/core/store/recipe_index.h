#pragma once

// The browser's sorted list: the letter headings and the recipe names of a cookbook in the
// program's order, as the browser shows them and culvora-cli's "index" prints them, and the
// names read from a cookbook file for it.

#include <functional>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/files/files.h"

namespace culvora::store {

// "A -------" ... "Z -------": 25 headings, no W (W sorts with V).
std::vector<std::string> letterHeadings();

// An entry of the browser's list: a letter heading or a recipe name. What is a heading is
// known from where the entry came from, never guessed from its text: a recipe may well be
// called "Cake --" or even "B -------".
struct IndexEntry {
    std::string text;
    bool heading = false;
    bool operator==(const IndexEntry&) const = default;
};

struct RecipeIndex {
    std::vector<IndexEntry> entries;  // headings and names in the program's sort order
    int count = 0;                    // the number of names
    std::string countText() const { return "Number of recipes: " + std::to_string(count); }
};

// The list the browser shows for the given names: names in the program's order, each heading
// just before the first name filed under its letter (so "B", "B & B pie" and "B (quick)" all
// stand under "B -------"); names that begin with a digit or a sign come before "A -------",
// and names beginning with Å, Ä or Ö after the last name under "Z -------". The names are
// sorted by their collation keys, each worked out once.
RecipeIndex buildRecipeIndex(const std::vector<std::string>& names);
// The same, taking the names over instead of copying them.
RecipeIndex buildRecipeIndex(std::vector<std::string>&& names);

// Names in the program's sort order.
std::vector<std::string> sortedNames(std::vector<std::string> names);

// Gives up to `size` more bytes of a file into `data`, 0 at its end.
using ReadMore = std::function<Result<std::size_t>(char* data, std::size_t size)>;

// The names of a cookbook in file order, exactly as listNames() takes them from the whole
// content, read a piece at a time: each piece is listed up to the last "[NAMN]" tag line in
// it, and the rest waits for the next piece. A large cookbook is never held whole.
Result<std::vector<std::string>> namesFromPieces(const ReadMore& read,
                                                 std::size_t pieceSize = 1024 * 1024);
// The same for a cookbook file of the data folder; a missing file lists as empty.
Result<std::vector<std::string>> readNames(const ProgramFolder& folder,
                                           const std::string& cookbookFile);

// The names one at a time, in the same order, none of them kept: a listing costs the piece
// being read, however many names the file holds.
using NameSink = std::function<void(std::string_view name)>;
Result<void> visitNamesFromPieces(const ReadMore& read, const NameSink& sink,
                                  std::size_t pieceSize = 1024 * 1024);
Result<void> visitNames(const ProgramFolder& folder, const std::string& cookbookFile,
                        const NameSink& sink);

}  // namespace culvora::store
