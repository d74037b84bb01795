#pragma once

// The names a cookbook has, and the numbered name a recipe gets when its own is taken:
// "Pancakes (2)", then "Pancakes (3)" and so on. The imports give a recipe such a name, so
// that a Meal-Master archive that holds "Pancakes" five times gives five recipes a cook can
// tell apart in the list; the download proposes one when it asks for another name.

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace culvora::store {

// "Pancakes (2)".
std::string numberedName(std::string_view base, unsigned long number);

class TakenNames {
public:
    TakenNames() = default;
    explicit TakenNames(const std::vector<std::string>& names);

    bool taken(std::string_view name) const;
    // The name itself when it is free, else the first numbered name that is. A name that is
    // numbered already goes on from its number: "Pancakes (2)" leads to "Pancakes (3)".
    std::string proposal(std::string_view name) const;
    // The proposal, which is taken from now on.
    std::string claim(std::string_view name);

private:
    // The first free number of a name from `from` on (or from where the numbers below are
    // known to be taken).
    unsigned long firstFree(const std::string& base, unsigned long from) const;

    std::unordered_set<std::string> names_;
    std::unordered_map<std::string, unsigned long> next_;  // base name -> next number to try
};

}  // namespace culvora::store
