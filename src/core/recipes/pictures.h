#pragma once

// bilder.txt: the picture of each dish, as pairs of lines (the recipe's name, then the full
// path of its picture, which may be empty). The list is shared by every cookbook and keyed by
// the name alone; it only grows, except that a picture can be changed in place.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "core/files/files.h"

namespace culvora::recipes {

inline constexpr std::string_view kPicturesFile = "bilder.txt";
inline constexpr std::string_view kPicturesTemp = "bilder.tmp";
inline constexpr std::string_view kNoPictureMessage = "Sorry, no picture available";

struct PictureEntry {
    std::string name;  // Windows-1252, as the name line in the cookbook
    std::string path;  // Windows-1252, as the file dialog gave it; may be empty
    bool operator==(const PictureEntry&) const = default;
};

// The pairs in file order; a name on the last line with no path line after it is no entry.
std::vector<PictureEntry> parsePictures(std::string_view content);
std::string formatPictures(const std::vector<PictureEntry>& entries);

// The path of the first entry whose name line equals the name. Only name lines count: a path
// that happens to read like a recipe's name is never taken for it.
std::optional<std::string> findPicture(const std::vector<PictureEntry>& entries,
                                       std::string_view name);

// The stored path of a recipe's picture; nothing when it has no entry.
Result<std::optional<std::string>> picturePath(const ProgramFolder& folder, std::string_view name);
// After a new recipe: appends an entry (an empty path when the dialog was cancelled).
Result<void> addPicture(const ProgramFolder& folder, std::string_view name, std::string_view path);
// The editor's "Picture?": rewrites the path of the recipe's first entry through bilder.tmp,
// or appends an entry when it has none.
Result<void> setPicture(const ProgramFolder& folder, std::string_view name, std::string_view path);

}  // namespace culvora::recipes
