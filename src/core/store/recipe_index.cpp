#include "core/store/recipe_index.h"

#include <optional>

#include "core/store/cookbook.h"
#include "core/store/record_reader.h"
#include "core/text/text.h"

namespace culvora::store {

std::vector<std::string> letterHeadings()
{
    std::vector<std::string> headings;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        if (letter == 'W') continue;
        headings.push_back(std::string(1, letter) + " -------");
    }
    return headings;
}

RecipeIndex buildRecipeIndex(const std::vector<std::string>& names)
{
    return buildRecipeIndex(std::vector<std::string>(names));
}

RecipeIndex buildRecipeIndex(std::vector<std::string>&& names)
{
    const auto order = text::collatedOrder(names);
    // The letters worked out in the names' own order, which is the order they lie in memory.
    std::vector<signed char> groups(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        groups[i] = static_cast<signed char>(text::letterGroup(names[i]));
    }
    RecipeIndex index;
    index.entries.reserve(names.size() + 25);
    const auto headings = letterHeadings();
    std::size_t heading = 0;
    // The letter groups rise through the sorted names, so each heading goes in front of the
    // first name at or past its letter.
    for (std::size_t at : order) {
        while (heading < headings.size() && text::letterGroup(headings[heading]) <= groups[at]) {
            index.entries.push_back({headings[heading++], true});
        }
        index.entries.push_back({std::move(names[at]), false});
    }
    while (heading < headings.size()) index.entries.push_back({headings[heading++], true});
    index.count = static_cast<int>(names.size());
    return index;
}

std::vector<std::string> sortedNames(std::vector<std::string> names)
{
    text::sortCollated(names);
    return names;
}

namespace {

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// Where the last "[NAMN]" tag line of the text starts, if a whole one starts at or after
// `from`: a line that reads "[NAMN]", followed by its line end, and not a name line. The text
// starts with a tag line or at the start of the file, so a run of "[NAMN]" lines before it
// alternates tag, name, tag from the first: the line is a tag when the run before it is of
// even length.
std::optional<std::size_t> lastTagLine(std::string_view text, std::size_t from)
{
    const std::string_view searched = text.substr(from);
    std::size_t before = searched.size();
    while (before > 0) {
        const std::size_t found = searched.rfind(kTagName, before - 1);
        if (found == std::string_view::npos) return std::nullopt;
        before = found;
        const std::size_t at = from + found;
        const std::size_t end = at + kTagName.size();
        if (end >= text.size() || !isLineEnd(text[end])) continue;
        if (at > 0 && !isLineEnd(text[at - 1])) continue;
        std::size_t run = 0;
        for (std::size_t line = at; line > 0; ++run) {
            // The line before: back over its line end (CR LF, CR or LF); it is a tag line if
            // "[NAMN]" stands right before that and at the start of the line.
            std::size_t stop = line - 1;
            if (text[stop] == '\n' && stop > 0 && text[stop - 1] == '\r') --stop;
            if (stop < kTagName.size()) break;
            const std::size_t start = stop - kTagName.size();
            if (text.substr(start, kTagName.size()) != kTagName) break;
            if (start > 0 && !isLineEnd(text[start - 1])) break;
            line = start;
        }
        if (run % 2 == 0) return at;
    }
    return std::nullopt;
}

}  // namespace

Result<void> visitNamesFromPieces(const ReadMore& read, const NameSink& sink,
                                  std::size_t pieceSize)
{
    std::string text;  // from a tag line (or the start of the file) on
    bool atEnd = false;
    while (!atEnd) {
        std::optional<Error> failed;
        const std::size_t kept = text.size();
        text.resize_and_overwrite(kept + pieceSize, [&](char* data, std::size_t) {
            auto got = read(data + kept, pieceSize);
            if (!got) failed = got.error();
            return kept + (got ? std::min(*got, pieceSize) : 0);
        });
        if (failed) return std::unexpected(*failed);
        atEnd = text.size() == kept;
        // Listing up to a tag line leaves the listing where it would be at that line when
        // listing the whole content: not waiting for a name. What was there before this piece
        // held no tag line but perhaps the start of one.
        const std::size_t upTo =
            atEnd ? text.size()
                  : lastTagLine(text, kept > kTagName.size() ? kept - kTagName.size() : 0)
                        .value_or(0);
        if (upTo == 0) continue;
        RecordReader reader(std::string_view(text).substr(0, upTo));
        while (auto record = reader.next()) sink(record->name);
        text.erase(0, upTo);
    }
    return {};
}

Result<std::vector<std::string>> namesFromPieces(const ReadMore& read, std::size_t pieceSize)
{
    std::vector<std::string> names;
    auto walked = visitNamesFromPieces(
        read, [&](std::string_view name) { names.emplace_back(name); }, pieceSize);
    if (!walked) return std::unexpected(walked.error());
    return names;
}

Result<void> visitNames(const ProgramFolder& folder, const std::string& cookbookFile,
                        const NameSink& sink)
{
    if (auto valid = checkCookbookFileName(cookbookFile); !valid) {
        return std::unexpected(valid.error());
    }
    auto reader = folder.openForReading(cookbookFile);
    if (!reader && reader.error().code == ErrorCode::NotFound) return {};
    if (!reader) return std::unexpected(reader.error());
    return visitNamesFromPieces([&](char* data, std::size_t size) { return reader->read(data, size); },
                                sink);
}

Result<std::vector<std::string>> readNames(const ProgramFolder& folder,
                                           const std::string& cookbookFile)
{
    if (auto valid = checkCookbookFileName(cookbookFile); !valid) {
        return std::unexpected(valid.error());
    }
    auto reader = folder.openForReading(cookbookFile);
    if (!reader && reader.error().code == ErrorCode::NotFound) return std::vector<std::string>{};
    if (!reader) return std::unexpected(reader.error());
    return namesFromPieces([&](char* data, std::size_t size) { return reader->read(data, size); });
}

}  // namespace culvora::store
