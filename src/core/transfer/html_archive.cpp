#include "core/transfer/html_archive.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <numeric>

#include "core/recipes/html_page.h"
#include "core/store/cookbook.h"
#include "core/text/text.h"

namespace culvora::transfer {

namespace {

// One record as the archive reads it: the name line and the lines after it up to the next
// record.
struct ArchiveRecord {
    std::string_view name;
    std::vector<std::string_view> body;
};

std::vector<ArchiveRecord> archiveRecords(std::string_view content)
{
    std::vector<std::string_view> lines = text::splitLineViews(content);
    std::vector<ArchiveRecord> records;
    std::size_t i = 0;
    while (i < lines.size() && lines[i] != store::kTagName) ++i;
    while (i + 1 < lines.size()) {
        ArchiveRecord record;
        record.name = lines[i + 1];
        std::size_t j = i + 2;
        while (j < lines.size() && lines[j] != store::kTagName) record.body.push_back(lines[j++]);
        records.push_back(std::move(record));
        i = j;
    }
    return records;
}

// The page texts of a record. A missing tag leaves its field empty.
recipes::HtmlPageTexts pageTexts(const ArchiveRecord& record)
{
    const auto& body = record.body;
    std::size_t at = 0;
    auto find = [&](auto matches) -> std::optional<std::size_t> {
        for (std::size_t k = at; k < body.size(); ++k) {
            if (matches(body[k])) return k;
        }
        return std::nullopt;
    };
    auto valueAfter = [&](std::string_view tag) {
        auto found = find([&](std::string_view line) { return line == tag; });
        if (!found) return std::string{};
        at = *found + 1;
        if (at >= body.size()) return std::string{};
        return std::string(body[at++]);
    };
    recipes::HtmlPageTexts texts;
    texts.name = std::string(record.name);
    texts.servings = "(Serves " + valueAfter(store::kTagServings) + ")";
    texts.time = "Time to cook: " + valueAfter(store::kTagTime) + " min";
    if (auto ingredients =
            find([](std::string_view line) { return line == store::kTagIngredients; })) {
        at = *ingredients + 1;
        for (; at < body.size() && !body[at].starts_with("[G"); ++at) {
            texts.ingredients += body[at];
            texts.ingredients += text::kCrLf;
        }
    }
    if (auto instructions = find([](std::string_view line) { return line.starts_with("[G"); })) {
        at = *instructions + 1;
        for (; at < body.size() && body[at] != store::kTagType; ++at) {
            texts.instructions += body[at];
            texts.instructions += text::kCrLf;
        }
    }
    return texts;
}

std::string fileLines(std::initializer_list<std::string_view> lines)
{
    std::string out;
    for (auto line : lines) {
        out += line;
        out += text::kCrLf;
    }
    return out;
}

// Pages are written in place: they are the program's own output, made again on every run, and
// thousands of temporary files and renames would cost seconds. A link planted at a page's name
// is not followed.
Result<void> writePage(const std::filesystem::path& file, std::string_view content)
{
    const int fd =
        ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        return fail(ErrorCode::Io,
                    "Could not write " + file.string() + ": " + std::strerror(errno) + ".");
    }
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            return fail(ErrorCode::Io,
                        "Could not write " + file.string() + ": " + std::strerror(error) + ".");
        }
        done += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0) {
        return fail(ErrorCode::Io,
                    "Could not write " + file.string() + ": " + std::strerror(errno) + ".");
    }
    return {};
}

std::string pageName(std::size_t position)
{
    return std::to_string(kFirstPageNumber + position) + ".html";
}

}  // namespace

std::string colourHex(int red, int green, int blue)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (int value : {red, green, blue}) {
        const int v = std::clamp(value, 0, 255);
        out += kDigits[v / 16];
        out += kDigits[v % 16];
    }
    return out;
}

std::string backgroundLine(const ArchiveOptions& options)
{
    if (options.image) {
        return "<BODY BACKGROUND=\"" + recipes::escapeMarkup(options.imagePath) + "\">";
    }
    return "<BODY BGCOLOR=\"" + colourHex(options.red, options.green, options.blue) + "\">";
}

std::vector<ArchiveFile> archiveFrameFiles(const std::vector<std::string>& sortedNames,
                                           const ArchiveOptions& options)
{
    const std::string background = backgroundLine(options);
    std::vector<ArchiveFile> files;
    if (options.frames) {
        files.push_back({"index.html",
                         fileLines({"<html>", "<head>", "<title>Recipes</title>", "</head>",
                                    "<frameset cols=250,* border=0 frameborder=1 framespacing=0>",
                                    " <frame src=\"left.html\" name=\"Left\" target = \"recindex\" "
                                    "scrolling=\"auto\" >",
                                    " <frame src=\"recindex.html\" name=\"Recindex\" "
                                    "scrolling=\"auto\" >",
                                    "</frameset>", "</html>"})});
        files.push_back({"recindex.html", fileLines({"<html>", background, "</body>", "</html>"})});
    }
    const std::string target = options.frames ? "Recindex" : "_new";
    std::string list = fileLines({"<html>", background, "<font face=\"Arial\" size=2>"});
    for (std::size_t i = 0; i < sortedNames.size(); ++i) {
        list += "<a href=\"" + pageName(i) + "\" target=\"" + target + "\">\r\n";
        list += recipes::escapeMarkup(sortedNames[i]) + "\r\n";
        list += "</a><br>\r\n";
    }
    list += fileLines({"</font>", "</body>", "</html>"});
    files.push_back({options.frames ? "left.html" : "index.html", std::move(list)});
    return files;
}

namespace {

struct SortedArchive {
    std::vector<ArchiveRecord> records;
    std::vector<std::size_t> order;  // record indices in alphabetical order
    std::vector<std::string> names;  // the names in that order
};

SortedArchive sortedArchive(std::string_view content)
{
    SortedArchive archive;
    archive.records = archiveRecords(content);
    archive.order.resize(archive.records.size());
    std::iota(archive.order.begin(), archive.order.end(), std::size_t{0});
    // Equal names keep their file order, so each of them gets its own record's page.
    std::stable_sort(archive.order.begin(), archive.order.end(), [&](auto a, auto b) {
        return text::collateLess(archive.records[a].name, archive.records[b].name);
    });
    for (auto index : archive.order) archive.names.emplace_back(archive.records[index].name);
    return archive;
}

}  // namespace

std::vector<ArchiveFile> archiveFiles(std::string_view cookbookContent,
                                      const ArchiveOptions& options)
{
    SortedArchive archive = sortedArchive(cookbookContent);
    std::vector<ArchiveFile> files = archiveFrameFiles(archive.names, options);
    const std::string background = backgroundLine(options);
    for (std::size_t i = 0; i < archive.order.size(); ++i) {
        files.push_back(
            {pageName(i),
             recipes::recipePage(pageTexts(archive.records[archive.order[i]]), background)});
    }
    return files;
}

Result<ArchiveResult> writeArchive(const ProgramFolder& folder, const std::string& cookbookFile,
                                   const ArchiveOptions& options,
                                   const std::function<void(int percent)>& progress)
{
    if (auto checked = store::Cookbook(folder, cookbookFile).path(); !checked) {
        return std::unexpected(checked.error());
    }
    auto content = folder.read(cookbookFile);
    if (!content) return std::unexpected(content.error());

    const std::filesystem::path dir = folder.path() / std::string(kArchiveFolder);
    struct stat info {};
    if (::lstat(dir.c_str(), &info) == 0) {
        if (!S_ISDIR(info.st_mode)) {
            return fail(ErrorCode::Refused,
                        "The archive goes into the folder \"html\" of the data folder, but " +
                            dir.string() + " is not a folder.");
        }
    } else if (::mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) {
        return fail(ErrorCode::Io, "Could not create the folder " + dir.string() + ": " +
                                       std::strerror(errno) + ".");
    }

    auto write = [&](const ArchiveFile& file) { return writePage(dir / file.name, file.content); };
    SortedArchive archive = sortedArchive(*content);
    for (const ArchiveFile& file : archiveFrameFiles(archive.names, options)) {
        if (auto written = write(file); !written) return std::unexpected(written.error());
    }
    const std::string background = backgroundLine(options);
    const std::size_t count = archive.order.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (progress) {
            progress(static_cast<int>(
                std::lround(100.0 * static_cast<double>(i) / static_cast<double>(count))));
        }
        ArchiveFile page{
            pageName(i),
            recipes::recipePage(pageTexts(archive.records[archive.order[i]]), background)};
        if (auto written = write(page); !written) return std::unexpected(written.error());
    }
    if (progress) progress(100);
    return ArchiveResult{static_cast<int>(count), dir / "index.html"};
}

}  // namespace culvora::transfer
