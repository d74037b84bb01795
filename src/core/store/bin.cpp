#include "core/store/bin.h"

#include <algorithm>
#include <cstdio>

#include "core/drinks/drinks.h"
#include "core/store/cookbook.h"
#include "core/store/cookbook_list.h"
#include "core/text/text.h"

namespace culvora::store {

static_assert(kBinDrinksFile == drinks::kDrinksFile);

namespace {

void appendLine(std::string& out, std::string_view line)
{
    out += line;
    out += text::kCrLf;
}

// A header value must stay one line, and a line reading "[NAMN]" would start a new entry.
bool fitsOneLine(std::string_view value)
{
    return value.find_first_of("\r\n") == std::string_view::npos && value != kTagName;
}

struct Located {
    BinEntry entry;
    std::size_t start = 0;  // its "[NAMN]" line
    std::size_t end = 0;    // the next entry's "[NAMN]" line, or the end
};

std::optional<BinEntry> entryOf(std::string_view content, const Record& record)
{
    const std::string_view body = content.substr(record.bodyStart, record.end - record.bodyStart);
    text::LineReader lines(body);
    std::string_view header[6];
    for (auto& line : header) {
        auto next = lines.next();
        if (!next) return std::nullopt;
        line = *next;
    }
    if (header[0] != kTagDeletedAt || header[2] != kTagFrom || header[4] != kTagBook) {
        return std::nullopt;
    }
    BinEntry entry{std::string(record.name), std::string(header[1]), std::string(header[3]),
                   std::string(header[5]), {}};
    entry.lines.reserve(record.name.size() + body.size() + 4);
    appendLine(entry.lines, record.name);
    appendNormalised(entry.lines, body.substr(lines.position()));
    return entry;
}

std::vector<Located> locate(std::string_view content)
{
    std::vector<Located> found;
    RecordReader reader(content);
    while (auto record = reader.next()) {
        if (auto entry = entryOf(content, *record)) {
            found.push_back({std::move(*entry), record->start, record->end});
        }
    }
    return found;
}

std::string shown(std::string_view cp1252)
{
    return text::quotedForMessage(cp1252);
}

std::string whatIs(const BinEntry& entry)
{
    return (entry.kind() == BinKind::Drink ? "The drink " : "The recipe ") + shown(entry.name);
}


}  // namespace

std::string binTime(const exchange::LocalTime& t)
{
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute);
    return stamp;
}

std::vector<BinEntry> parseBin(std::string_view content)
{
    std::vector<BinEntry> entries;
    for (auto& located : locate(content)) entries.push_back(std::move(located.entry));
    return entries;
}

std::optional<std::string> formatBinEntry(const BinEntry& entry)
{
    if (!fitsOneLine(entry.deletedAt) || !fitsOneLine(entry.file) || !fitsOneLine(entry.title)) {
        return std::nullopt;
    }
    // The entry's own lines start with the name line; the header goes right after it.
    text::LineReader lines(entry.lines);
    auto nameLine = lines.next();
    if (!nameLine || *nameLine != entry.name) return std::nullopt;
    std::string out;
    out.reserve(entry.lines.size() + entry.deletedAt.size() + entry.file.size() +
                entry.title.size() + 48);
    appendLine(out, kTagName);
    appendLine(out, entry.name);
    appendLine(out, kTagDeletedAt);
    appendLine(out, entry.deletedAt);
    appendLine(out, kTagFrom);
    appendLine(out, entry.file);
    appendLine(out, kTagBook);
    appendLine(out, entry.title);
    appendNormalised(out, std::string_view(entry.lines).substr(lines.position()));
    return out;
}

std::optional<std::string> withBinEntry(std::string_view content, const BinEntry& entry,
                                        std::size_t keep)
{
    auto added = formatBinEntry(entry);
    if (!added) return std::nullopt;
    // Every record counts towards the limit, a damaged one too, so the file cannot grow
    // without end; the oldest go first.
    std::vector<std::size_t> starts;
    RecordReader reader(content);
    while (auto record = reader.next()) starts.push_back(record->start);
    std::string_view kept = content;
    if (keep == 0) return std::string();
    if (starts.size() + 1 > keep) kept = content.substr(starts[starts.size() + 1 - keep]);
    std::string out;
    out.reserve(kept.size() + added->size() + 4);
    appendNormalised(out, kept);
    // A lone "[NAMN]" at the end (a hand-edited bin) heads the new entry.
    if (endsWithLoneTag(out)) out.resize(out.size() - kTagName.size() - text::kCrLf.size());
    out += *added;
    return out;
}

std::optional<std::string> withoutBinEntry(std::string_view content, const BinEntry& entry)
{
    const auto found = locate(content);
    auto it = std::find_if(found.rbegin(), found.rend(),
                           [&](const Located& l) { return l.entry == entry; });
    if (it == found.rend()) return std::nullopt;
    std::string out;
    out.reserve(content.size());
    appendNormalised(out, content.substr(0, it->start));
    if (it->end < content.size()) appendNormalised(out, content.substr(it->end));
    return out;
}

std::string freeName(std::string_view name, std::span<const std::string> taken)
{
    auto isTaken = [&](std::string_view candidate) {
        return std::find(taken.begin(), taken.end(), candidate) != taken.end();
    };
    if (!isTaken(name)) return std::string(name);
    for (std::size_t n = 2;; ++n) {
        std::string candidate = std::string(name) + " (" + std::to_string(n) + ")";
        if (!isTaken(candidate)) return candidate;
    }
}

std::string renamedLines(std::string_view linesFromName, std::string_view newName)
{
    text::LineReader lines(linesFromName);
    (void)lines.next();
    std::string out;
    out.reserve(linesFromName.size() + newName.size() + 2);
    appendLine(out, newName);
    appendNormalised(out, linesFromName.substr(lines.position()));
    return out;
}

std::optional<BinEntry> newestNamed(std::span<const BinEntry> entries, std::string_view name)
{
    auto it = std::find_if(entries.rbegin(), entries.rend(),
                           [&](const BinEntry& e) { return e.name == name; });
    if (it == entries.rend()) return std::nullopt;
    return *it;
}

Result<std::vector<BinEntry>> readBin(const ProgramFolder& folder)
{
    auto content = folder.readOrEmpty(kBinFile);
    if (!content) return std::unexpected(content.error());
    return parseBin(*content);
}

Result<void> keepInBinAndChange(const ProgramFolder& folder, const BinEntry& entry,
                                std::string_view what, const std::function<Result<void>()>& change)
{
    auto lock = FolderLock::acquire(folder);
    if (!lock) return std::unexpected(lock.error());
    auto notDeleted = [&](const std::string& why) {
        return fail(ErrorCode::Refused, std::string(what) +
                                            " was not deleted, because it could not be kept in "
                                            "the bin (" +
                                            std::string(kBinFile) + "): " + why);
    };
    auto before = folder.readOrEmpty(kBinFile);
    if (!before) return notDeleted(before.error().message);
    auto after = withBinEntry(*before, entry);
    if (!after) return notDeleted("its cookbook's file name or title cannot be written there.");
    if (auto kept = folder.write(kBinFile, *after, kBinTemp); !kept) {
        return notDeleted(kept.error().message);
    }
    auto changed = change();
    if (!changed) (void)folder.write(kBinFile, *before, kBinTemp);
    return changed;
}

Result<void> deleteRecipe(const ProgramFolder& folder, const std::string& cookbookFile,
                          RecordKey key, const exchange::LocalTime& when)
{
    auto lock = FolderLock::acquire(folder);
    if (!lock) return std::unexpected(lock.error());
    Cookbook cookbook(folder, cookbookFile);
    auto lines = cookbook.lines(key);
    if (!lines) return std::unexpected(lines.error());
    std::string title;
    if (auto entries = CookbookList(folder).read()) {
        if (const auto* listed = findByFile(*entries, cookbookFile)) title = listed->title;
    }
    // A title that cannot stand on its own line is left out; the file name is what counts.
    if (!fitsOneLine(title)) title.clear();
    BinEntry entry{std::string(key.name), binTime(when), cookbookFile, std::move(title),
                   std::move(*lines)};
    return keepInBinAndChange(folder, entry, whatIs(entry),
                              [&] { return cookbook.remove(key); });
}

Result<PutBack> putBack(const ProgramFolder& folder, const BinEntry& entry)
{
    auto lock = FolderLock::acquire(folder);
    if (!lock) return std::unexpected(lock.error());
    auto bin = folder.readOrEmpty(kBinFile);
    if (!bin) return std::unexpected(bin.error());
    auto without = withoutBinEntry(*bin, entry);
    if (!without) {
        return fail(ErrorCode::NotFound, whatIs(entry) + " deleted " + entry.deletedAt +
                                             " is not in the bin any more.");
    }
    PutBack result;
    result.kind = entry.kind();
    result.file = entry.file;
    if (entry.kind() == BinKind::Drink) {
        auto content = drinks::readDrinksFile(folder);
        if (!content) return std::unexpected(content.error());
        const auto taken = drinks::listDrinks(*content).names;
        result.name = freeName(entry.name, taken);
        result.title = std::string(kBinDrinksTitle);
        // The drinks file ends its records as a cookbook does, so a record appends the same way.
        auto appended = withAppendedLines(*content, renamedLines(entry.lines, result.name));
        if (auto written = folder.write(drinks::kDrinksFile, appended, drinks::kDrinksTemp);
            !written) {
            return std::unexpected(written.error());
        }
    } else {
        auto listed = CookbookList(folder).read();
        if (!listed) return std::unexpected(listed.error());
        const auto* book = findByFile(*listed, entry.file);
        if (!book) {
            return fail(ErrorCode::Refused,
                        whatIs(entry) + " came from the cookbook " +
                            shown(entry.title.empty() ? entry.file : entry.title) + " (" +
                            text::toUtf8(entry.file) +
                            "), which is no longer in the list of cookbooks, so it cannot go "
                            "back there. Add that cookbook again under its file name, then put "
                            "the recipe back.");
        }
        result.title = book->title;
        Cookbook cookbook(folder, entry.file);
        if (!cookbook.exists()) {
            return fail(ErrorCode::NotFound,
                        whatIs(entry) + " came from the cookbook " + shown(book->title) +
                            ", whose file " + shown(entry.file) +
                            " is gone, so it cannot go back there.");
        }
        auto taken = cookbook.names();
        if (!taken) return std::unexpected(taken.error());
        result.name = freeName(entry.name, *taken);
        if (auto added = cookbook.appendLines(renamedLines(entry.lines, result.name)); !added) {
            return std::unexpected(added.error());
        }
    }
    result.renamed = result.name != entry.name;
    if (auto cleared = folder.write(kBinFile, *without, kBinTemp); !cleared) {
        result.note = "It was put back, but it is still listed in the bin: " +
                      cleared.error().message;
    }
    return result;
}

}  // namespace culvora::store
