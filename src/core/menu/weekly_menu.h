#pragma once

// The weekly menu: which recipes of the cookbook may be a day's dinner, the pick among them,
// the days and their captions, and the printed menu.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "core/files/files.h"
#include "core/print/print_job.h"

namespace culvora::menu {

inline constexpr std::array<std::string_view, 7> kDays = {
    "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
inline constexpr std::string_view kNothingYet = "(Nothing yet)";
inline constexpr std::string_view kNoSuggestion = "(No suggestion)";
inline constexpr std::string_view kScratchFile = "ind.tmp";
inline constexpr std::string_view kScratchTemp = "ind.new";

// The day number 1 (Monday) to 7 (Sunday) of a day name; 0 for another text.
int dayNumber(std::string_view name);
std::string_view dayName(int number);
int nextDay(int number);
int previousDay(int number);
// The arrow buttons' captions for a day: "< Monday" and "Wednesday >" for Tuesday.
std::string previousCaption(int number);
std::string nextCaption(int number);

enum class Meal { Light, Casual, Special };

struct Composed {
    std::vector<std::string> candidates;  // in cookbook order
    // The ingredient lines and the tag line that ended them (the "[GÖRA]" line) of the last
    // record whose ingredient section was read, each ended by CR LF: what the scratch file
    // holds afterwards.
    std::string lastIngredients;
    bool anyIngredients = false;
};

// The recipes that may be the day's dish. Each record is judged with its own name, time, type
// and ingredient lines; one with an empty name or type, or a time that reads as 0, is never
// judged. Light takes a "First Course"; Casual a "Hot dish" of at most 50 minutes; Special a
// "Hot dish" of more than 50. Every ticked word must occur, exactly and case-sensitively, in
// the ingredient lines or the tag line that ended them (the "[GÖRA]" line).
Composed compose(std::string_view cookbook, Meal meal, const std::vector<std::string>& words);

// Reads the cookbook once, composes, and leaves the scratch file ind.tmp holding the last
// ingredient section read.
Result<Composed> composeFromCookbook(const ProgramFolder& folder, const std::string& cookbookFile,
                                     Meal meal, const std::vector<std::string>& words);

// A number in [0, 1) from a seed, the same on every machine: the pick of culvora-cli's menu
// command is reproducible with its --seed.
double seededRandom(std::uint64_t seed);

// The dish: the candidate at ⌊r × n⌋ (0 ≤ r < 1), or "(No suggestion)" when there is none.
std::string pickDish(const std::vector<std::string>& candidates, double r);

// The printed menu: the heading, each day with its dish caption, and the footer with the
// product's web address.
print::PrintJob menuPrintout(const std::array<std::string, 7>& dishes, std::string_view webAddress);

}  // namespace culvora::menu
