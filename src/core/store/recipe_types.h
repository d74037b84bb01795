#pragma once

// typer.txt: the recipe types the editors offer, one name a line, written in the program's
// sort order. Texts are Windows-1252; messages are UTF-8.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "core/files/files.h"

namespace culvora::store {

inline constexpr std::string_view kTypesFile = "typer.txt";
inline constexpr std::string_view kTypesTemp = "typer.tmp";

inline constexpr std::string_view kOriginalTypeMessage = "Cannot delete the original types.";

// The types delivered with the program; they can never be removed ("Imported" is the type of
// every Meal-Master import).
inline constexpr std::array<std::string_view, 5> kOriginalTypes = {
    "Imported", "Accessories", "Hot dish", "Desserts", "First Course"};

// Exact and case-sensitive: "desserts" is a type of the user's own.
bool isOriginalType(std::string_view name);

// The names in file order; empty lines name no type.
std::vector<std::string> parseTypes(std::string_view content);

// The list as it is written: every original type that is missing is added, then all names
// are sorted. Names the user added twice stay twice.
std::vector<std::string> typesToWrite(std::vector<std::string> types);
std::string formatTypes(std::vector<std::string> types);

// A missing typer.txt reads as an empty list.
Result<std::vector<std::string>> readTypes(const ProgramFolder& folder);
Result<void> writeTypes(const ProgramFolder& folder, std::vector<std::string> types);

// A name the user may add: not blank, one line.
Result<void> checkTypeName(std::string_view name);

// Adds a name that is not listed yet and rewrites typer.txt.
Result<void> addType(const ProgramFolder& folder, std::string_view name);
// Removes the first entry equal to the name and rewrites typer.txt; the original types are
// refused.
Result<void> removeType(const ProgramFolder& folder, std::string_view name);

}  // namespace culvora::store
