#include "core/recipes/recipe_view.h"

#include <algorithm>
#include <limits>

#include "core/text/text.h"

namespace culvora::recipes {

namespace {

// Counted as the lines go by: a table of them would cost many times the text for a recipe of
// millions of short lines.
int lineCount(std::string_view text)
{
    std::size_t count = 0;
    text::LineReader reader(text);
    while (reader.next()) ++count;
    return static_cast<int>(std::min<std::size_t>(count, std::numeric_limits<int>::max()));
}

}  // namespace

RecipeTexts recipeTexts(const store::RecipeRecord& record)
{
    RecipeTexts texts;
    texts.name = record.name;
    texts.servings = "(Serves " + record.servings + ")";
    texts.time = timeText(record.cookingTime);
    texts.ingredients = record.ingredients;
    texts.ingredientLines = lineCount(record.ingredients);
    texts.instructions = record.instructions;
    return texts;
}

std::string timeText(std::string_view cookingTime)
{
    std::string shown = "Time to cook: " + std::string(cookingTime);
    return namesTimeUnit(cookingTime) ? shown : shown + " min";
}

bool namesTimeUnit(std::string_view cookingTime)
{
    std::string_view text = cookingTime;
    while (!text.empty() && (text.back() == ' ' || text.back() == '.')) text.remove_suffix(1);
    // The last word, its letters only: "25min" names its unit as well as "25 min" does.
    std::size_t start = text.size();
    while (start > 0 && text::toLower(text[start - 1]) != text::toUpper(text[start - 1])) --start;
    if (start == text.size()) return false;
    if (start > 0 && text[start - 1] != ' ' && (text[start - 1] < '0' || text[start - 1] > '9')) {
        return false;
    }
    static constexpr std::string_view kUnits[] = {
        "min",   "mins", "minute", "minutes", "minut", "minuter", "h",     "hr",
        "hrs",   "hour", "hours",  "tim",     "timme", "timmar",  "timma",
    };
    return std::ranges::find(kUnits, text::toLower(text.substr(start))) != std::end(kUnits);
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
    return viewerPage(content, store::RecordKey{name});
}

ViewerPage viewerPage(std::string_view content, store::RecordKey key)
{
    ViewerPage page;
    if (auto record = store::findRecordByName(content, key)) {
        page.texts = recipeTexts(*record);
    } else {
        page.texts = missingRecipeTexts(key.name);
    }
    return page;
}

Result<std::optional<ViewerPage>> viewerPageFromPieces(const ReadMore& read, std::string_view name,
                                                       std::size_t pieceSize)
{
    return viewerPageFromPieces(read, store::RecordKey{name}, pieceSize);
}

Result<std::optional<ViewerPage>> viewerPageFromPieces(const ReadMore& read, store::RecordKey key,
                                                       std::size_t pieceSize)
{
    auto record = store::recordFromPieces(read, key, pieceSize);
    if (!record) return std::unexpected(record.error());
    if (!*record) return std::optional<ViewerPage>();
    ViewerPage page;
    page.texts = **record ? recipeTexts(***record) : missingRecipeTexts(key.name);
    return std::optional<ViewerPage>(std::move(page));
}

Result<ViewerPage> readViewerPage(const ProgramFolder& folder, const std::string& cookbookFile,
                                  std::string_view name)
{
    return readViewerPage(folder, cookbookFile, store::RecordKey{name});
}

Result<ViewerPage> readViewerPage(const ProgramFolder& folder, const std::string& cookbookFile,
                                  store::RecordKey key)
{
    if (auto valid = checkCookbookFileName(cookbookFile); !valid)
        return std::unexpected(valid.error());
    auto notFound = [&](const Error& error) -> Result<ViewerPage> {
        if (error.code == ErrorCode::NotFound) {
            return fail(ErrorCode::NotFound, "The cookbook file " +
                                                 text::quotedForMessage(cookbookFile) +
                                                 " could not be found.");
        }
        return std::unexpected(error);
    };
    // Read piece by piece up to the end of the record: a large cookbook is neither held in
    // memory nor read past the recipe.
    auto reader = folder.openForReading(cookbookFile);
    if (!reader) return notFound(reader.error());
    auto page = viewerPageFromPieces(
        [&](char* data, std::size_t size) { return reader->read(data, size); }, key);
    if (!page) return std::unexpected(page.error());
    if (*page) return std::move(**page);
    auto content = folder.read(cookbookFile);
    if (!content) return notFound(content.error());
    return viewerPage(*content, key);
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

std::optional<RecordRef> neighbour(std::span<const std::string> names, store::RecordKey current,
                                   Step step)
{
    // As in the name-only walk, the nearest other names on either side and the two ends, and
    // how many records the current name has.
    const std::string* lowestBelow = nullptr;
    const std::string* highestBelow = nullptr;
    const std::string* lowestAbove = nullptr;
    const std::string* highestAbove = nullptr;
    std::size_t count = 0;
    for (const std::string& name : names) {
        const auto order = text::collate(name, current.name);
        if (order == 0) {
            ++count;
        } else if (order < 0) {
            if (!lowestBelow || text::collateLess(name, *lowestBelow)) lowestBelow = &name;
            if (!highestBelow || text::collateLess(*highestBelow, name)) highestBelow = &name;
        } else {
            if (!lowestAbove || text::collateLess(name, *lowestAbove)) lowestAbove = &name;
            if (!highestAbove || text::collateLess(*highestAbove, name)) highestAbove = &name;
        }
    }
    auto first = [](const std::string& name) { return RecordRef{name, 0}; };
    auto last = [names](const std::string& name) {
        const auto records = static_cast<std::size_t>(std::ranges::count(names, name));
        return RecordRef{name, records - 1};
    };
    const std::string name(current.name);
    if (step == Step::Forward) {
        if (count > 0 && current.occurrence + 1 < count) return RecordRef{name, current.occurrence + 1};
        if (count > 0) {
            if (lowestAbove) return first(*lowestAbove);
            if (lowestBelow) return first(*lowestBelow);
            return RecordRef{name, 0};
        }
        if (const std::string* lowest = lowestBelow ? lowestBelow : lowestAbove) return first(*lowest);
        return std::nullopt;
    }
    if (count > 0 && current.occurrence > 0) {
        return RecordRef{name, std::min(current.occurrence, count) - 1};
    }
    if (count > 0) {
        if (highestBelow) return last(*highestBelow);
        if (highestAbove) return last(*highestAbove);
        return RecordRef{name, count - 1};
    }
    if (const std::string* highest = highestAbove ? highestAbove : highestBelow) return last(*highest);
    return std::nullopt;
}

Result<std::optional<RecordRef>> readNeighbour(const ProgramFolder& folder,
                                               const std::string& cookbookFile,
                                               store::RecordKey current, Step step)
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
