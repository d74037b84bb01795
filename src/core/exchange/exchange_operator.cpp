#include "core/exchange/exchange_operator.h"

#include <algorithm>
#include <system_error>
#include <utility>
#include <vector>

#include "core/exchange/exchange_formats.h"
#include "core/files/files.h"
#include "core/store/cookbook.h"
#include "core/text/text.h"

namespace culvora::exchange {

namespace {

namespace fs = std::filesystem;

// --- The starter tree ------------------------------------------------------------------------

bool present(const fs::path& path)
{
    std::error_code ignored;
    return fs::symlink_status(path, ignored).type() != fs::file_type::not_found;
}

Result<bool> makeFolder(const fs::path& folder)
{
    std::error_code error;
    const bool made = fs::create_directories(folder, error);
    if (error) {
        return fail(ErrorCode::Io, "Could not make the folder \"" + folder.string() +
                                       "\": " + error.message() + ".");
    }
    if (!fs::is_directory(folder, error)) {
        return fail(ErrorCode::Io, "\"" + folder.string() + "\" is there but is not a folder.");
    }
    return made;
}

// Writes a starter file only where there is none: the operator's own files stay as they are.
Result<void> writeNew(const fs::path& file, std::string_view content)
{
    if (present(file)) return {};
    return writeFileAtomic(file, content, file.filename().string() + ".tmp");
}

Result<InitReport> damagedStarter(const fs::path& starter, const std::string& why)
{
    return fail(ErrorCode::NotFound, "The starter exchange tree delivered with Culvora (\"" +
                                         (starter / kExchangeFolder).string() +
                                         "\") cannot be used: " + why +
                                         " Installing Culvora again brings it back.");
}

// The files of a delivered category folder: its exchange files in name order, then its
// netindex.txt.
Result<std::vector<fs::path>> starterFiles(const fs::path& folder)
{
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (it->is_regular_file(error) && it->path().filename() != kNetIndexFile) {
            files.push_back(it->path());
        }
    }
    if (error) {
        return fail(ErrorCode::NotFound, "the folder \"" + folder.string() +
                                             "\" could not be read: " + error.message() + ".");
    }
    std::ranges::sort(files);
    files.push_back(folder / kNetIndexFile);
    return files;
}

// --- Publishing ------------------------------------------------------------------------------

bool allDigits(std::string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "20261210143005.tvx", or "20261210143005-2.tvx": the exchange server stores a second upload of
// the same second under its stem and a counter rather than over the first. The program shows
// the first fourteen characters of a stem as its time, so both read alike.
bool isExchangeFileName(std::string_view name)
{
    constexpr std::size_t digits = 14;
    if (!name.ends_with(kExchangeExtension)) return false;
    name.remove_suffix(kExchangeExtension.size());
    if (name.size() < digits || !allDigits(name.substr(0, digits))) return false;
    const std::string_view counter = name.substr(digits);
    return counter.empty() || (counter.size() >= 2 && counter.size() <= 6 && counter[0] == '-' &&
                               allDigits(counter.substr(1)));
}

Result<Published> refused(std::string message)
{
    return fail(ErrorCode::Refused, std::move(message) + " Nothing was published.");
}

std::string inQuotes(std::string_view cp1252)
{
    return text::quotedForMessage(cp1252);
}

// netindex.txt with one more line just before its "/end" (or at the end of the entries when the
// file has none). A file without "/begin" shows nothing in the program whatever it lists, so
// adding to it would only hide the mistake.
Result<std::string> withIndexLine(std::string_view content, std::string_view entry,
                                  std::string_view folder)
{
    std::vector<std::string> lines = text::splitLines(content);
    if (lines.empty()) return "/begin\r\n" + std::string(entry) + "\r\n/end\r\n";
    const auto begin = std::ranges::find(lines, "/begin");
    if (begin == lines.end()) {
        return fail(ErrorCode::Refused, "The netindex.txt of " + inQuotes(folder) +
                                            " has no \"/begin\" line, so the program would list "
                                            "nothing there. Mend that file first. Nothing was "
                                            "published.");
    }
    const auto end = std::find(begin, lines.end(), "/end");
    if (end == lines.end()) {
        lines.emplace_back(entry);
        lines.emplace_back("/end");
    } else {
        lines.emplace(end, entry);
    }
    return text::joinLines(lines);
}

bool listsStem(std::string_view netIndex, std::string_view stem)
{
    for (auto line : text::splitLineViews(netIndex)) {
        const auto bar = line.find('|');
        if (bar != std::string_view::npos && line.substr(bar + 1) == stem) return true;
    }
    return false;
}

}  // namespace

Result<InitReport> initExchangeTree(const fs::path& starter, const fs::path& root)
{
    InitReport report;
    const fs::path exchange = root / kExchangeFolder;
    const fs::path upload = exchange / kUploadFolderName;
    if (present(exchange / kNetworkFile)) {
        report.existed = true;
        auto made = makeFolder(upload);
        if (!made) return std::unexpected(made.error());
        report.madeUploadFolder = *made;
        return report;
    }
    const fs::path from = starter / kExchangeFolder;
    auto network = readFile(from / kNetworkFile);
    if (!network) return damagedStarter(starter, network.error().message);
    const CategoryList categories = parseNetwork(*network);
    if (!categories.complete) {
        return damagedStarter(starter, "its network.txt stops early: " + categories.problem + ".");
    }
    // All of it is read before anything is made: a delivered tree that lacks a file makes no
    // half a tree.
    struct StarterFile {
        fs::path target;
        std::string content;
    };
    std::vector<StarterFile> files;
    for (const Category& category : categories.categories) {
        if (!checkServerName(category.folder, "folder")) {
            return damagedStarter(starter, "its network.txt names the folder " +
                                               inQuotes(category.folder) +
                                               ", which is not a plain name.");
        }
        const std::string folderName = text::toUtf8(category.folder);
        auto found = starterFiles(from / folderName);
        if (!found) return damagedStarter(starter, found.error().message);
        // The exchange files before the index that lists them, as a publisher adds them.
        for (const fs::path& file : *found) {
            auto content = readFile(file);
            if (!content) return damagedStarter(starter, content.error().message);
            files.push_back({exchange / folderName / file.filename(), std::move(*content)});
            if (file.extension() == kExchangeExtension) ++report.recipes;
        }
        ++report.categories;
    }
    for (const StarterFile& file : files) {
        if (auto made = makeFolder(file.target.parent_path()); !made) {
            return std::unexpected(made.error());
        }
        if (auto written = writeNew(file.target, file.content); !written) {
            return std::unexpected(written.error());
        }
    }
    auto made = makeFolder(upload);
    if (!made) return std::unexpected(made.error());
    report.madeUploadFolder = *made;
    if (auto written = writeNew(exchange / kNetworkFile, *network); !written) {
        return std::unexpected(written.error());
    }
    return report;
}

Result<Published> publishExchangeFile(const fs::path& root, const fs::path& file,
                                      std::string_view folder)
{
    const std::string fileName = file.filename().string();
    if (!isExchangeFileName(fileName)) {
        return refused("\"" + fileName +
                       "\" is not named like an exchange file: fourteen digits (the time it was "
                       "made), perhaps a counter the server added (\"-2\"), and \".tvx\".");
    }
    if (!checkServerName(folder, "folder")) {
        return refused(inQuotes(folder) + " is not a plain folder name.");
    }
    const fs::path exchange = root / kExchangeFolder;
    auto network = readFile(exchange / kNetworkFile, false);
    if (!network) {
        if (network.error().code != ErrorCode::NotFound) return std::unexpected(network.error());
        return refused("There is no exchange tree in \"" + root.string() +
                       "\" (tavendi/network.txt is missing); make one with exchange-init.");
    }
    const CategoryList categories = parseNetwork(*network);
    const bool listed = std::ranges::any_of(categories.categories,
                                            [&](const Category& c) { return c.folder == folder; });
    if (!listed) {
        std::string known;
        for (const auto& category : categories.categories) {
            known += (known.empty() ? "" : ", ") + text::shownForMessage(category.folder);
        }
        return refused("network.txt lists no category in the folder " + inQuotes(folder) +
                       (known.empty() ? "." : " (its folders are: " + known + ")."));
    }
    const fs::path target = exchange / text::toUtf8(folder);
    std::error_code ignored;
    if (!fs::is_directory(target, ignored)) {
        return refused("network.txt lists the folder " + inQuotes(folder) + ", but \"" +
                       target.string() + "\" is not there.");
    }

    auto content = readFile(file);
    if (!content) return std::unexpected(content.error());
    auto recipe = parseExchangeRecord(*content);
    if (!recipe) {
        return refused("\"" + fileName + "\" is not one complete recipe record (" + recipe.error() +
                       ").");
    }
    if (recipe->name.find('|') != std::string::npos) {
        return refused("The recipe's name " + inQuotes(recipe->name) +
                       " holds a \"|\", which netindex.txt keeps for the end of the name.");
    }

    // Two publishers at once must not both rewrite the same netindex.txt from the same read.
    auto lock = FolderLock::acquire(ProgramFolder(root));
    if (!lock) return std::unexpected(lock.error());
    const std::string stem = fileName.substr(0, fileName.size() - kExchangeExtension.size());
    const fs::path destination = target / fileName;
    if (present(destination)) {
        return refused(inQuotes(folder) + " holds \"" + fileName +
                       "\" already; a published file is never replaced.");
    }
    auto index = readFileOrEmpty(target / kNetIndexFile, false);
    if (!index) return std::unexpected(index.error());
    if (listsStem(*index, stem)) {
        return refused("The netindex.txt of " + inQuotes(folder) + " lists " + stem + " already.");
    }
    auto newIndex = withIndexLine(*index, netIndexLine(recipe->name, stem), folder);
    if (!newIndex) return std::unexpected(newIndex.error());

    // The exchange file goes first: a listed file that is not there yet would fail a download,
    // a file not listed yet is only invisible. What is published is what was checked.
    if (auto written = writeFileAtomic(destination, *content, fileName + ".tmp"); !written) {
        return std::unexpected(written.error());
    }
    if (auto written = writeFileAtomic(target / kNetIndexFile, *newIndex, "netindex.tmp");
        !written) {
        fs::remove(destination, ignored);
        return std::unexpected(written.error());
    }
    Published published{recipe->name, stem, destination, {}};
    std::error_code removeError;
    fs::remove(file, removeError);
    if (removeError) {
        published.warning = "The recipe is published, but \"" + file.string() +
                            "\" could not be removed: " + removeError.message() + ".";
    }
    return published;
}

}  // namespace culvora::exchange
