#pragma once

// "Search recipe": the recipes of one type within a cooking time, which mention every chosen
// ingredient word. The screen keeps a time index (sök.tmp: each recipe's name and time line)
// from when it opened; a search reads the cookbook once and finds each indexed recipe by its
// name line.
//
// What the search reads of a record: its type, and as its ingredient text the ingredient lines
// and the tag line that ended them ("[GÖRA]"), lower-cased, each followed by a blank, ending
// early at the first line that begins with "[".

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "core/files/files.h"

namespace culvora::search {

// "sök.tmp", Windows-1252 (the data folder holds it as a UTF-8 file name).
inline constexpr std::string_view kTimeIndexFile = "s\xF6k.tmp";
inline constexpr std::string_view kTimeIndexTemp = "s\xF6k.new";

struct TimeEntry {
    std::string name;
    std::string time;  // the line after the record's "[TID]", as it stands
    bool operator==(const TimeEntry&) const = default;
};

// For every record in file order: its name and its time line (a record without one has an
// empty time).
std::vector<TimeEntry> buildTimeIndex(std::string_view cookbook);
std::string formatTimeIndex(const std::vector<TimeEntry>& entries);
std::vector<TimeEntry> parseTimeIndex(std::string_view content);

// Builds the index from the cookbook and writes sök.tmp; returns the entries.
Result<std::vector<TimeEntry>> writeTimeIndex(const ProgramFolder& folder,
                                              const std::string& cookbookFile);

// The minutes a time line stands for: its text up to the first blank, read as a leading
// number ("45 min" is 45, "1 h" is 1, "about 30" is 0).
double recipeMinutes(std::string_view time);

// The choices of the time box: "0", "10", ... "300".
std::vector<std::string> maxTimeChoices();

struct TimeQuery {
    std::string type;                // exact, case-sensitive
    double maxMinutes = 50;          // inclusive
    std::vector<std::string> words;  // each must occur in the lower-cased ingredient text
};

// The hits in the program's sort order. `progress`, when given, hears after every indexed
// recipe how many have been looked at and how many hit so far. An indexed recipe that the
// cookbook no longer holds is passed over (the n-th of several recipes of one name is the
// n-th record of that name).
std::vector<std::string>
searchByTime(std::string_view cookbook, const std::vector<TimeEntry>& index, const TimeQuery& query,
             const std::function<void(std::size_t examined, std::size_t hits)>& progress = {});

// The same search with each record's own time, in one reading of the cookbook (what the
// search over a freshly made index finds).
std::vector<std::string> searchByTime(std::string_view cookbook, const TimeQuery& query);

// The ten lines of the "?" table of minutes and hours.
std::vector<std::string> minutesTable();

}  // namespace culvora::search
