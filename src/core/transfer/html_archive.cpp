#include "core/transfer/html_archive.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

#include "core/recipes/html_page.h"
#include "core/recipes/recipe_view.h"
#include "core/store/cookbook.h"
#include "core/store/record_reader.h"
#include "core/text/text.h"

namespace culvora::transfer {

namespace {

// The page texts of a record; a field the record lacks is empty.
recipes::HtmlPageTexts pageTexts(const store::Record& record)
{
    recipes::HtmlPageTexts texts;
    texts.name = std::string(record.name);
    texts.servings = "(Serves " + std::string(record.servings) + ")";
    texts.time = recipes::timeText(record.time);
    texts.ingredients = store::joinedLines(record.ingredients.lines);
    texts.instructions = store::joinedLines(record.instructions.lines);
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
        files.push_back(
            {"index.html",
             fileLines({"<html>", "<head>", recipes::kCharsetMeta, "<title>Recipes</title>",
                        "</head>", "<frameset cols=250,* border=0 frameborder=1 framespacing=0>",
                        " <frame src=\"left.html\" name=\"Left\" target = \"recindex\" "
                        "scrolling=\"auto\" >",
                        " <frame src=\"recindex.html\" name=\"Recindex\" "
                        "scrolling=\"auto\" >",
                        "</frameset>", "</html>"})});
        files.push_back(
            {"recindex.html", fileLines({"<html>", "<head>", recipes::kCharsetMeta, "</head>",
                                         background, "</body>", "</html>"})});
    }
    const std::string target = options.frames ? "Recindex" : "_new";
    std::string list = fileLines({"<html>", "<head>", recipes::kCharsetMeta, "</head>", background,
                                  "<font face=\"Arial\" size=2>"});
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

// The records in alphabetical order, each kept as its name and where it starts, so a page is
// read from its own place in the file when it is written.
struct SortedArchive {
    struct Entry {
        std::string_view name;
        std::size_t start = 0;
        std::size_t ordinal = 0;
    };
    std::vector<Entry> entries;
    std::vector<std::string> names;  // the names in that order

    recipes::HtmlPageTexts texts(std::string_view content, std::size_t i) const
    {
        store::RecordReader reader(content, store::RecordFormat::Cookbook, entries[i].start,
                                   entries[i].ordinal);
        return pageTexts(*reader.next());
    }
};

SortedArchive sortedArchive(std::string_view content)
{
    SortedArchive archive;
    store::RecordReader reader(content);
    while (auto record = reader.next()) {
        archive.entries.push_back({record->name, record->start, record->ordinal});
    }
    // Equal names keep their file order, so each of them gets its own record's page.
    std::vector<std::string_view> names;
    names.reserve(archive.entries.size());
    for (const auto& entry : archive.entries) names.push_back(entry.name);
    const std::vector<std::size_t> order = text::collatedOrder(names);
    decltype(archive.entries) sorted;
    sorted.reserve(order.size());
    for (std::size_t at : order) sorted.push_back(archive.entries[at]);
    archive.entries = std::move(sorted);
    archive.names.reserve(archive.entries.size());
    for (const auto& entry : archive.entries) archive.names.emplace_back(entry.name);
    return archive;
}

}  // namespace

std::vector<ArchiveFile> archiveFiles(std::string_view cookbookContent,
                                      const ArchiveOptions& options)
{
    SortedArchive archive = sortedArchive(cookbookContent);
    std::vector<ArchiveFile> files = archiveFrameFiles(archive.names, options);
    const std::string background = backgroundLine(options);
    for (std::size_t i = 0; i < archive.entries.size(); ++i) {
        files.push_back(
            {pageName(i), recipes::recipePage(archive.texts(cookbookContent, i), background)});
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
    const std::size_t count = archive.entries.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (progress) {
            progress(static_cast<int>(
                std::lround(100.0 * static_cast<double>(i) / static_cast<double>(count))));
        }
        ArchiveFile page{pageName(i), recipes::recipePage(archive.texts(*content, i), background)};
        if (auto written = write(page); !written) return std::unexpected(written.error());
    }
    if (progress) progress(100);
    return ArchiveResult{static_cast<int>(count), dir / "index.html"};
}

}  // namespace culvora::transfer
