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
// Records that lack a tag give empty fields, never a hang. A record without a name of its own
// (an empty name line, or one that reads as a tag, such as a run of "[NAMN]" lines gives) is no
// recipe anyone could pick from the list, and gets no page.
std::vector<ArchiveFile> archiveFiles(std::string_view cookbookContent,
                                      const ArchiveOptions& options);

// The list page and, with frames, the frameset and the empty first page of the right frame
// (everything but the recipe pages).
std::vector<ArchiveFile> archiveFrameFiles(const std::vector<std::string>& sortedNames,
                                           const ArchiveOptions& options);

struct ArchiveResult {
    int pages = 0;
    int skipped = 0;              // records without a name, which got no page
    std::filesystem::path index;  // html/index.html
};

// "2 records without a name got no page." (one record: "1 record ... got"); empty for none.
std::string skippedRecordsMessage(int skipped);

// Writes the archive into html/ of the data folder (made when missing); pages of an earlier,
// larger archive that are not rewritten stay. The folder is opened once and every page is
// written relative to it, each through a fresh temporary file renamed over the page: a link
// at "html" is refused, a folder swapped for a link while the pages are written still gets
// them all and nothing goes elsewhere, and a link or hard link planted at a page's name is
// replaced, never written through. A page is put out piece by piece, never built whole, so one
// huge recipe costs no more memory than its own bytes. `progress` gets the percentage done
// before each recipe page.
Result<ArchiveResult> writeArchive(const ProgramFolder& folder, const std::string& cookbookFile,
                                   const ArchiveOptions& options,
                                   const std::function<void(int percent)>& progress = {});

}  // namespace culvora::transfer
