#pragma once

// The browser's sorted list: the letter headings and the recipe names of a cookbook in the
// program's order, as the browser shows them and culvora-cli's "index" prints them.

#include <string>
#include <vector>

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

}  // namespace culvora::store
