#include "core/store/record_search.h"

#include <algorithm>

namespace culvora::store {

namespace {

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// True for a name the search below can find: one that cannot be told apart from a tag or a
// line end goes the long way, line by line from the top.
bool searchable(std::string_view name)
{
    return !name.empty() && name != kTagName && name.find_first_of("\r\n") == name.npos;
}

// What the text says about a place where the name stands.
enum class Candidate { NameLine, NotNameLine, Unknown };

// Whether the name at `at` stands on a name line: a whole line equal to the name right after a
// "[NAMN]" tag line. In a run of "[NAMN]" lines the first is a tag, the second its name line,
// the third a tag again, so the tag before a name line ends a run of odd length. `tag` is then
// where that tag line starts. The text may be a window of a longer file that does not start at
// its beginning (`fromStart` false) and may end before the file does (`toEnd` false); what
// depends on bytes outside it is Unknown.
Candidate checkCandidate(std::string_view text, std::size_t at, std::size_t nameSize,
                         bool fromStart, bool toEnd, std::size_t& tag)
{
    const std::size_t end = at + nameSize;
    if (end == text.size() && !toEnd) return Candidate::Unknown;
    if (end < text.size() && !isLineEnd(text[end])) return Candidate::NotNameLine;
    if (at == 0) return fromStart ? Candidate::NotNameLine : Candidate::Unknown;
    if (!isLineEnd(text[at - 1])) return Candidate::NotNameLine;
    std::size_t tags = 0;
    for (std::size_t line = at;; ++tags) {
        if (line == 0) {
            if (!fromStart) return Candidate::Unknown;
            break;
        }
        // The line before: back over its line end (CR LF, CR or LF); it is a "[NAMN]" line if
        // the tag stands right before that and at the start of the line. A line that starts
        // where the window starts may be the end of a longer one.
        std::size_t stop = line - 1;
        if (text[stop] == '\n' && stop > 0 && text[stop - 1] == '\r') --stop;
        if (stop < kTagName.size()) {
            if (!fromStart) return Candidate::Unknown;
            break;
        }
        const std::size_t start = stop - kTagName.size();
        if (text.substr(start, kTagName.size()) != kTagName) break;
        if (start > 0 && !isLineEnd(text[start - 1])) break;
        if (start == 0 && !fromStart) return Candidate::Unknown;
        if (tags == 0) tag = start;
        line = start;
    }
    return tags % 2 == 1 ? Candidate::NameLine : Candidate::NotNameLine;
}

// Where the next search of a growing text goes on: every place before it has been searched,
// and a match at or after it would need bytes still to come.
std::size_t searchedUpTo(std::size_t size, std::size_t needle)
{
    return size >= needle ? size - needle + 1 : 0;
}

}  // namespace

// The record with that name, found by searching for the name itself instead of walking the
// cookbook line by line; the store reads it from its tag line on, by the same rules as from
// the top.
std::optional<RecipeRecord> findRecordByName(std::string_view content, std::string_view name)
{
    return findRecordByName(content, RecordKey{name});
}

std::optional<RecipeRecord> findRecordByName(std::string_view content, RecordKey key)
{
    const std::string_view name = key.name;
    if (!searchable(name)) return parseRecord(content, key);
    std::size_t seen = 0;
    for (std::size_t at = content.find(name); at != content.npos; at = content.find(name, at + 1)) {
        std::size_t tag = 0;
        if (checkCandidate(content, at, name.size(), true, true, tag) == Candidate::NameLine &&
            seen++ == key.occurrence) {
            return parseRecord(content.substr(tag), name);
        }
    }
    return std::nullopt;
}

Result<std::optional<std::optional<RecipeRecord>>>
recordFromPieces(const ReadMore& read, std::string_view name, std::size_t pieceSize)
{
    return recordFromPieces(read, RecordKey{name}, pieceSize);
}

Result<std::optional<std::optional<RecipeRecord>>>
recordFromPieces(const ReadMore& read, RecordKey key, std::size_t pieceSize)
{
    using Settled = std::optional<std::optional<RecipeRecord>>;
    const std::string_view name = key.name;
    if (!searchable(name) || pieceSize == 0) return Settled();
    // Text kept before the place the search goes on from, for the checks that look back.
    constexpr std::size_t kContext = 64 * 1024;
    std::string window;  // the file from some place on; from its start while `fromStart`
    bool fromStart = true;
    bool atEnd = false;
    std::size_t searchFrom = 0;           // the search for the name goes on here
    std::size_t tag = std::string::npos;  // once found: where the record's tag line starts
    std::size_t scanFrom = 0;             // then: where the search for the next tag goes on
    // Name lines of the name passed over so far: every one lies before where the search goes
    // on, so none is counted twice.
    std::size_t seen = 0;
    auto page = [](std::optional<RecipeRecord> record) { return Settled(std::move(record)); };
    while (!atEnd) {
        std::optional<Error> failed;
        const std::size_t kept = window.size();
        window.resize_and_overwrite(kept + pieceSize, [&](char* data, std::size_t) {
            auto got = read(data + kept, pieceSize);
            if (!got) failed = got.error();
            return kept + (got ? std::min(*got, pieceSize) : 0);
        });
        if (failed) return std::unexpected(*failed);
        atEnd = window.size() == kept;
        const std::string_view text(window);

        if (tag == std::string::npos) {
            std::size_t resume = searchedUpTo(text.size(), name.size());
            for (std::size_t at = text.find(name, searchFrom); at != text.npos;
                 at = text.find(name, at + 1)) {
                std::size_t found = 0;
                const Candidate candidate =
                    checkCandidate(text, at, name.size(), fromStart, atEnd, found);
                if (candidate == Candidate::NameLine && seen++ < key.occurrence) continue;
                if (candidate == Candidate::NameLine) {
                    tag = found;
                    scanFrom = at + name.size();
                    break;
                }
                if (candidate == Candidate::Unknown) {
                    // The bytes after it are still to come; what stood before the window
                    // is gone, and the whole file has to settle that.
                    if (atEnd || at + name.size() < text.size()) return Settled();
                    resume = at;
                    break;
                }
            }
            if (tag == std::string::npos) {
                if (atEnd) return page(std::nullopt);
                // Only the context the checks need stays.
                searchFrom = std::max(searchFrom, resume);
                const std::size_t drop = searchFrom > kContext ? searchFrom - kContext : 0;
                if (drop > 0) {
                    window.erase(0, drop);
                    searchFrom -= drop;
                    fromStart = false;
                }
                continue;
            }
        }

        // The record ends at the next line that is "[NAMN]", or with the file: the store's
        // reading never goes past that line, so the text up to it reads as the whole file.
        std::size_t resume = searchedUpTo(text.size(), kTagName.size());
        for (std::size_t at = text.find(kTagName, scanFrom); at != text.npos;
             at = text.find(kTagName, at + 1)) {
            const std::size_t end = at + kTagName.size();
            if (!isLineEnd(text[at - 1])) continue;
            if (end == text.size() && !atEnd) {
                resume = at;
                break;
            }
            if (end == text.size() || isLineEnd(text[end])) {
                return page(parseRecord(text.substr(tag, end - tag), name));
            }
        }
        if (atEnd) return page(parseRecord(text.substr(tag), name));
        scanFrom = std::max(scanFrom, resume);
    }
    return page(std::nullopt);
}

Result<bool> holdsName(const ProgramFolder& folder, const std::string& cookbookFile,
                       std::string_view name)
{
    if (auto valid = checkCookbookFileName(cookbookFile); !valid) {
        return std::unexpected(valid.error());
    }
    auto reader = folder.openForReading(cookbookFile);
    if (!reader && reader.error().code == ErrorCode::NotFound) return false;
    if (!reader) return std::unexpected(reader.error());
    auto found = recordFromPieces(
        [&](char* data, std::size_t size) { return reader->read(data, size); }, name);
    if (!found) return std::unexpected(found.error());
    if (*found) return (*found)->has_value();
    auto content = folder.read(cookbookFile);
    if (!content) return std::unexpected(content.error());
    return findRecord(*content, RecordKey{name}).has_value();
}

}  // namespace culvora::store
