#include "core/recipes/recipe_view.h"

#include <algorithm>
#include <limits>

#include "core/text/text.h"

namespace culvora::recipes {

namespace {

int lineCount(std::string_view text)
{
    return static_cast<int>(text::splitLineViews(text).size());
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// True for a name the search below can find: one that cannot be told apart from a tag or a
// line end goes the long way, line by line from the top.
bool searchable(std::string_view name)
{
    return !name.empty() && name != store::kTagName && name.find_first_of("\r\n") == name.npos;
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
        if (stop < store::kTagName.size()) {
            if (!fromStart) return Candidate::Unknown;
            break;
        }
        const std::size_t start = stop - store::kTagName.size();
        if (text.substr(start, store::kTagName.size()) != store::kTagName) break;
        if (start > 0 && !isLineEnd(text[start - 1])) break;
        if (start == 0 && !fromStart) return Candidate::Unknown;
        if (tags == 0) tag = start;
        line = start;
    }
    return tags % 2 == 1 ? Candidate::NameLine : Candidate::NotNameLine;
}

// The record with that name, found by searching for the name itself instead of walking the
// cookbook line by line; the store reads it from its tag line on, by the same rules as from
// the top.
std::optional<store::RecipeRecord> findRecord(std::string_view content, std::string_view name)
{
    if (!searchable(name)) return store::parseRecord(content, name);
    for (std::size_t at = content.find(name); at != content.npos; at = content.find(name, at + 1)) {
        std::size_t tag = 0;
        if (checkCandidate(content, at, name.size(), true, true, tag) == Candidate::NameLine) {
            return store::parseRecord(content.substr(tag), name);
        }
    }
    return std::nullopt;
}

// Where the next search of a growing text goes on: every place before it has been searched,
// and a match at or after it would need bytes still to come.
std::size_t searchedUpTo(std::size_t size, std::size_t needle)
{
    return size >= needle ? size - needle + 1 : 0;
}

}  // namespace

RecipeTexts recipeTexts(const store::RecipeRecord& record)
{
    RecipeTexts texts;
    texts.name = record.name;
    texts.servings = "(Serves " + record.servings + ")";
    texts.time = "Time to cook: " + record.cookingTime + " min";
    texts.ingredients = record.ingredients;
    texts.ingredientLines = lineCount(record.ingredients);
    texts.instructions = record.instructions;
    return texts;
}

RecipeTexts missingRecipeTexts(std::string_view name, std::string_view reason)
{
    RecipeTexts texts;
    texts.found = false;
    texts.name = std::string(name);
    texts.ingredients = reason.empty()
                            ? std::string("This recipe could not be found in the cookbook. It may "
                                          "have been deleted or moved to another cookbook.")
                            : std::string(reason);
    texts.ingredients += text::kCrLf;
    texts.ingredientLines = lineCount(texts.ingredients);
    return texts;
}

ViewerPage viewerPage(std::string_view content, std::string_view name)
{
    ViewerPage page;
    if (auto record = findRecord(content, name)) {
        page.texts = recipeTexts(*record);
    } else {
        page.texts = missingRecipeTexts(name);
    }
    return page;
}

Result<std::optional<ViewerPage>> viewerPageFromPieces(const ReadMore& read, std::string_view name,
                                                       std::size_t pieceSize)
{
    if (!searchable(name) || pieceSize == 0) return std::optional<ViewerPage>();
    // Text kept before the place the search goes on from, for the checks that look back.
    constexpr std::size_t kContext = 64 * 1024;
    std::string window;  // the file from some place on; from its start while `fromStart`
    bool fromStart = true;
    bool atEnd = false;
    std::size_t searchFrom = 0;           // the search for the name goes on here
    std::size_t tag = std::string::npos;  // once found: where the record's tag line starts
    std::size_t scanFrom = 0;             // then: where the search for the next tag goes on
    auto page = [&](std::optional<store::RecipeRecord> record) {
        ViewerPage found;
        found.texts = record ? recipeTexts(*record) : missingRecipeTexts(name);
        return std::optional<ViewerPage>(std::move(found));
    };
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
                if (candidate == Candidate::NameLine) {
                    tag = found;
                    scanFrom = at + name.size();
                    break;
                }
                if (candidate == Candidate::Unknown) {
                    // The bytes after it are still to come; what stood before the window
                    // is gone, and the whole file has to settle that.
                    if (atEnd || at + name.size() < text.size()) return std::optional<ViewerPage>();
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
        std::size_t resume = searchedUpTo(text.size(), store::kTagName.size());
        for (std::size_t at = text.find(store::kTagName, scanFrom); at != text.npos;
             at = text.find(store::kTagName, at + 1)) {
            const std::size_t end = at + store::kTagName.size();
            if (!isLineEnd(text[at - 1])) continue;
            if (end == text.size() && !atEnd) {
                resume = at;
                break;
            }
            if (end == text.size() || isLineEnd(text[end])) {
                return page(store::parseRecord(text.substr(tag, end - tag), name));
            }
        }
        if (atEnd) return page(store::parseRecord(text.substr(tag), name));
        scanFrom = std::max(scanFrom, resume);
    }
    return page(std::nullopt);
}

Result<ViewerPage> readViewerPage(const ProgramFolder& folder, const std::string& cookbookFile,
                                  std::string_view name)
{
    if (auto valid = checkCookbookFileName(cookbookFile); !valid)
        return std::unexpected(valid.error());
    auto notFound = [&](const Error& error) -> Result<ViewerPage> {
        if (error.code == ErrorCode::NotFound) {
            return fail(ErrorCode::NotFound, "The cookbook file \"" + text::toUtf8(cookbookFile) +
                                                 "\" could not be found.");
        }
        return std::unexpected(error);
    };
    // Read piece by piece up to the end of the record: a large cookbook is neither held in
    // memory nor read past the recipe.
    auto reader = folder.openForReading(cookbookFile);
    if (!reader) return notFound(reader.error());
    auto page = viewerPageFromPieces(
        [&](char* data, std::size_t size) { return reader->read(data, size); }, name);
    if (!page) return std::unexpected(page.error());
    if (*page) return std::move(**page);
    auto content = folder.read(cookbookFile);
    if (!content) return notFound(content.error());
    return viewerPage(*content, name);
}

int findEntry(std::span<const std::string> order, std::string_view name)
{
    auto found = std::find(order.begin(), order.end(), name);
    return found == order.end() ? -1 : static_cast<int>(found - order.begin());
}

std::optional<std::string> neighbour(std::span<const std::string> names, std::string_view current,
                                     Step step)
{
    // The nearest names on either side of the current one and the two ends of the order, in
    // one pass; names equal to the current one take no part.
    const std::string* lowestBelow = nullptr;
    const std::string* highestBelow = nullptr;
    const std::string* lowestAbove = nullptr;
    const std::string* highestAbove = nullptr;
    bool found = false;
    for (const std::string& name : names) {
        const auto order = text::collate(name, current);
        if (order == 0) {
            found = true;
        } else if (order < 0) {
            if (!lowestBelow || text::collateLess(name, *lowestBelow)) lowestBelow = &name;
            if (!highestBelow || text::collateLess(*highestBelow, name)) highestBelow = &name;
        } else {
            if (!lowestAbove || text::collateLess(name, *lowestAbove)) lowestAbove = &name;
            if (!highestAbove || text::collateLess(*highestAbove, name)) highestAbove = &name;
        }
    }
    const std::string* lowest = lowestBelow ? lowestBelow : lowestAbove;
    const std::string* highest = highestAbove ? highestAbove : highestBelow;
    const std::string* next = nullptr;
    if (!found) {
        // Not among them: Forward starts at the first name, Back at the last.
        next = step == Step::Forward ? lowest : highest;
    } else if (step == Step::Forward) {
        next = lowestAbove ? lowestAbove : lowest;
    } else {
        next = highestBelow ? highestBelow : highest;
    }
    if (next) return *next;
    // Only this name in the cookbook: wrapping comes back to it.
    if (found) return std::string(current);
    return std::nullopt;
}

Result<std::optional<std::string>> readNeighbour(const ProgramFolder& folder,
                                                 const std::string& cookbookFile,
                                                 std::string_view current, Step step)
{
    auto names = store::readNames(folder, cookbookFile);
    if (!names) return std::unexpected(names.error());
    return neighbour(*names, current, step);
}

ScrollRange ingredientScrollRange(int labelHeightTwips, int frameHeightTwips, int lineHeightTwips)
{
    ScrollRange range;
    const int hidden = labelHeightTwips - frameHeightTwips;
    if (hidden > 0) range.maximum = (hidden + 9) / 10;
    range.singleStep = std::max(1, lineHeightTwips / 10);
    range.pageStep = std::max(1, frameHeightTwips / 10);
    return range;
}

int ingredientTop(int value)
{
    return -10 * std::clamp(value, 0, std::numeric_limits<int>::max() / 10);
}

}  // namespace culvora::recipes
