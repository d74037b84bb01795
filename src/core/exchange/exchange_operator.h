#pragma once

// The exchange server's side, for its operator: the folder tree the FTP server serves, and
// publishing a recipe that a user sent in.
//
//   <root>/tavendi/network.txt              the categories
//   <root>/tavendi/<folder>/netindex.txt    the recipes of one category
//   <root>/tavendi/<folder>/<stem>.tvx      one exchange file each
//   <root>/tavendi/upload/                  what users send, until the operator publishes it
//
// Publishing changes files that the server hands out while it runs: every file is replaced
// whole by a synced rename, so a client never fetches half of a netindex.txt.

#include <filesystem>
#include <string>
#include <string_view>

#include "core/error.h"

namespace culvora::exchange {

inline constexpr std::string_view kExchangeFolder = "tavendi";
inline constexpr std::string_view kUploadFolderName = "upload";

struct InitReport {
    // network.txt was there already: the tree is the operator's own and only a missing upload
    // folder was made.
    bool existed = false;
    bool madeUploadFolder = false;
    int categories = 0;  // of the starter tree, when it was made now
    int recipes = 0;
};

// The starter tree delivered with the program lies in this folder of the delivered data
// ("share/culvora/exchange"), laid out as a root: tavendi/network.txt and one folder for each
// category it lists, with that category's netindex.txt and exchange files.
inline constexpr std::string_view kStarterFolder = "exchange";

// Makes the starter tree under root (root itself too, when missing) from the delivered one in
// `starter`: the categories network.txt lists, each with its exchange files and netindex.txt,
// and the empty upload folder. An existing file is never replaced. network.txt is written
// last, so a start that was cut short is finished by the next one.
Result<InitReport> initExchangeTree(const std::filesystem::path& starter,
                                    const std::filesystem::path& root);

struct Published {
    std::string name;  // the recipe's name, Windows-1252
    std::string stem;
    std::filesystem::path file;  // where the exchange file lies now
    std::string warning;         // UTF-8; the upload could not be removed after it was published
};

// Publishes an exchange file in a category: the file must be named like one ("20261210143005.tvx",
// or "20261210143005-2.tvx" as the server names a second upload of the same second)
// and hold one complete recipe record, the folder (Windows-1252) must be a plain name that
// network.txt lists and that is there, and the category must not hold that file yet. The
// record goes into the category folder, its "name|stem" line into the folder's netindex.txt
// before "/end", and the upload is removed. Every refusal says why and changes nothing.
Result<Published> publishExchangeFile(const std::filesystem::path& root,
                                      const std::filesystem::path& file, std::string_view folder);

}  // namespace culvora::exchange
