#pragma once

// The HTML archive: every recipe of a cookbook as a page in the folder "html" of the data
// folder, a list page linking them in alphabetical order, and with frames a start page that
// shows the list beside the recipe.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "core/files/files.h"

namespace culvora::transfer {

inline constexpr std::string_view kArchiveFolder = "html";
inline constexpr int kFirstPageNumber = 1000;

struct ArchiveOptions {
    bool frames = true;
    bool image = false;     // a background picture instead of a colour
    std::string imagePath;  // Windows-1252, written into the pages as it stands
    // A white page to start from: black text on a black background reads badly.
    int red = 255;
    int green = 255;
    int blue = 255;
};

// "FF0080" for red 255, green 0, blue 128 (each value held to 0..255).
std::string colourHex(int red, int green, int blue);

// "<BODY BGCOLOR="FF0080">" or "<BODY BACKGROUND="path">".
std::string backgroundLine(const ArchiveOptions& options);

struct ArchiveFile {
    std::string name;     // "index.html", "1000.html", ...
    std::string content;  // Windows-1252, CR LF
};

// The recipes of a cookbook in alphabetical order, the pages they get (1000.html for the
// first) and the pages around them. A name held twice gets a page for each of its records.
// Records that lack a tag give empty fields, never a hang.
std::vector<ArchiveFile> archiveFiles(std::string_view cookbookContent,
                                      const ArchiveOptions& options);

// The list page and, with frames, the frameset and the empty first page of the right frame
// (everything but the recipe pages).
std::vector<ArchiveFile> archiveFrameFiles(const std::vector<std::string>& sortedNames,
                                           const ArchiveOptions& options);

struct ArchiveResult {
    int pages = 0;
    std::filesystem::path index;  // html/index.html
};

// Writes the archive into html/ of the data folder (made when missing); pages of an earlier,
// larger archive that are not rewritten stay. `progress` gets the percentage done before each
// recipe page.
Result<ArchiveResult> writeArchive(const ProgramFolder& folder, const std::string& cookbookFile,
                                   const ArchiveOptions& options,
                                   const std::function<void(int percent)>& progress = {});

}  // namespace culvora::transfer
