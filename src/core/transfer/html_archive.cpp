#include "core/transfer/html_archive.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "core/recipes/html_page.h"
#include "core/recipes/recipe_view.h"
#include "core/store/cookbook.h"
#include "core/store/record_reader.h"
#include "core/text/text.h"

namespace culvora::transfer {

namespace {

std::string fileLines(std::initializer_list<std::string_view> lines)
{
    std::string out;
    for (auto line : lines) {
        out += line;
        out += text::kCrLf;
    }
    return out;
}

// The temporary name of a page being written, in the archive's folder.
constexpr std::string_view kPageTemp = "page.tmp";

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

namespace {

// The list page, written piece by piece.
void writeListPage(std::span<const std::string_view> sortedNames, const ArchiveOptions& options,
                   const PieceWriter& write)
{
    const std::string target = options.frames ? "Recindex" : "_new";
    write(fileLines({"<html>", "<head>", recipes::kCharsetMeta, "</head>", backgroundLine(options),
                     "<font face=\"Arial\" size=2>"}));
    std::string link;
    for (std::size_t i = 0; i < sortedNames.size(); ++i) {
        link.clear();
        link += "<a href=\"" + pageName(i) + "\" target=\"" + target + "\">\r\n";
        link += recipes::escapeMarkup(sortedNames[i]);
        link += "\r\n</a><br>\r\n";
        write(link);
    }
    write(fileLines({"</font>", "</body>", "</html>"}));
}

// The files around the list page: with frames, the frameset and the right frame's first page.
std::vector<ArchiveFile> frameFiles(const ArchiveOptions& options)
{
    if (!options.frames) return {};
    return {
        {"index.html",
         fileLines({"<html>", "<head>", recipes::kCharsetMeta, "<title>Recipes</title>", "</head>",
                    "<frameset cols=250,* border=0 frameborder=1 framespacing=0>",
                    " <frame src=\"left.html\" name=\"Left\" target = \"recindex\" "
                    "scrolling=\"auto\" >",
                    " <frame src=\"recindex.html\" name=\"Recindex\" scrolling=\"auto\" >",
                    "</frameset>", "</html>"})},
        {"recindex.html", fileLines({"<html>", "<head>", recipes::kCharsetMeta, "</head>",
                                     backgroundLine(options), "</body>", "</html>"})}};
}

std::string listPageName(const ArchiveOptions& options)
{
    return options.frames ? "left.html" : "index.html";
}

// A record's page, written piece by piece: the lines of a long ingredient or instruction text
// go out in blocks, so a page of hundreds of megabytes is never held whole.
void writeRecipePage(const store::Record& record, std::string_view background,
                     const PieceWriter& write)
{
    recipes::HtmlPageTexts head;
    head.name = std::string(record.name);
    head.servings = "(Serves " + std::string(record.servings) + ")";
    head.time = recipes::timeText(record.time);
    write(recipes::recipePageTop(head, background));
    std::string block;
    auto text = [&](const store::Lines& lines) {
        constexpr std::size_t kBlock = 64 * 1024;
        for (std::string_view line : lines) {
            recipes::appendEscapedLine(block, line);
            if (block.size() >= kBlock) {
                write(block);
                block.clear();
            }
        }
        write(block);
        block.clear();
    };
    text(record.ingredients.lines);
    write(recipes::recipePageMiddle());
    text(record.instructions.lines);
    write(recipes::recipePageBottom());
}

bool isTag(std::string_view line)
{
    for (std::string_view tag :
         {store::kTagName, store::kTagServings, store::kTagTime, store::kTagIngredients,
          store::kTagInstructions, store::kTagType}) {
        if (line == tag) return true;
    }
    return false;
}

// The records that get pages, in alphabetical order: each kept as its name and where it
// starts, so a page is read from its own place in the file when it is written.
struct SortedArchive {
    struct Entry {
        std::string_view name;
        std::size_t start = 0;
    };
    std::vector<Entry> entries;
    int skipped = 0;

    std::vector<std::string_view> names() const
    {
        std::vector<std::string_view> out;
        out.reserve(entries.size());
        for (const auto& entry : entries) out.push_back(entry.name);
        return out;
    }

    store::Record record(std::string_view content, std::size_t i) const
    {
        store::RecordReader reader(content, store::RecordFormat::Cookbook, entries[i].start, 0);
        return *reader.next();
    }
};

SortedArchive sortedArchive(std::string_view content)
{
    SortedArchive archive;
    store::RecordReader reader(content);
    while (auto record = reader.next()) {
        if (record->name.empty() || isTag(record->name)) {
            ++archive.skipped;
            continue;
        }
        archive.entries.push_back({record->name, record->start});
    }
    // Equal names keep their file order, so each of them gets its own record's page.
    const std::vector<std::size_t> order = text::collatedOrder(archive.names());
    decltype(archive.entries) sorted;
    sorted.reserve(order.size());
    for (std::size_t at : order) sorted.push_back(archive.entries[at]);
    archive.entries = std::move(sorted);
    return archive;
}

}  // namespace

std::vector<ArchiveFile> archiveFrameFiles(const std::vector<std::string>& sortedNames,
                                           const ArchiveOptions& options)
{
    std::vector<ArchiveFile> files = frameFiles(options);
    const std::vector<std::string_view> names(sortedNames.begin(), sortedNames.end());
    ArchiveFile list{listPageName(options), {}};
    writeListPage(names, options, [&](std::string_view piece) { list.content += piece; });
    files.push_back(std::move(list));
    return files;
}

std::vector<ArchiveFile> archiveFiles(std::string_view cookbookContent,
                                      const ArchiveOptions& options)
{
    const SortedArchive archive = sortedArchive(cookbookContent);
    std::vector<ArchiveFile> files = frameFiles(options);
    ArchiveFile list{listPageName(options), {}};
    writeListPage(archive.names(), options, [&](std::string_view piece) { list.content += piece; });
    files.push_back(std::move(list));
    const std::string background = backgroundLine(options);
    for (std::size_t i = 0; i < archive.entries.size(); ++i) {
        ArchiveFile page{pageName(i), {}};
        writeRecipePage(archive.record(cookbookContent, i), background,
                        [&](std::string_view piece) { page.content += piece; });
        files.push_back(std::move(page));
    }
    return files;
}

std::string skippedRecordsMessage(int skipped)
{
    if (skipped <= 0) return {};
    return std::to_string(skipped) + (skipped == 1 ? " record without a name got no page."
                                                   : " records without a name got no page.");
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

    auto dir = OpenedFolder::openOrCreate(folder.path() / std::string(kArchiveFolder));
    if (!dir) return std::unexpected(dir.error());
    // A run that was killed left its page half written under a temporary name.
    const std::string_view temporaries[] = {kPageTemp};
    dir->removeStaleTemporaries(temporaries);

    const SortedArchive archive = sortedArchive(*content);
    for (const ArchiveFile& file : frameFiles(options)) {
        if (auto written = dir->writeFile(file.name, file.content, kPageTemp); !written) {
            return std::unexpected(written.error());
        }
    }
    auto page = [&](const std::string& name,
                    const std::function<void(const PieceWriter&)>& produce) -> Result<void> {
        auto file = dir->newFile(kPageTemp);
        if (!file) return std::unexpected(file.error());
        produce([&](std::string_view piece) { file->write(piece); });
        return file->commit(name);
    };
    if (auto written =
            page(listPageName(options),
                 [&](const PieceWriter& write) { writeListPage(archive.names(), options, write); });
        !written) {
        return std::unexpected(written.error());
    }
    const std::string background = backgroundLine(options);
    const std::size_t count = archive.entries.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (progress) {
            progress(static_cast<int>(
                std::lround(100.0 * static_cast<double>(i) / static_cast<double>(count))));
        }
        const store::Record record = archive.record(*content, i);
        if (auto written =
                page(pageName(i),
                     [&](const PieceWriter& write) { writeRecipePage(record, background, write); });
            !written) {
            return std::unexpected(written.error());
        }
    }
    if (progress) progress(100);
    return ArchiveResult{static_cast<int>(count), archive.skipped, dir->path() / "index.html"};
}

}  // namespace culvora::transfer
