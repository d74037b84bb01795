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
    if (auto record = store::parseRecord(content, name)) {
        page.texts = recipeTexts(*record);
    } else {
        page.texts = missingRecipeTexts(name);
    }
    page.order = store::sortedNames(store::listNames(content));
    return page;
}

Result<ViewerPage> readViewerPage(const ProgramFolder& folder, const std::string& cookbookFile,
                                  std::string_view name)
{
    if (auto valid = checkCookbookFileName(cookbookFile); !valid)
        return std::unexpected(valid.error());
    auto content = folder.read(cookbookFile);
    if (!content) {
        if (content.error().code == ErrorCode::NotFound) {
            return fail(ErrorCode::NotFound, "The cookbook file \"" + text::toUtf8(cookbookFile) +
                                                 "\" could not be found.");
        }
        return std::unexpected(content.error());
    }
    return viewerPage(*content, name);
}

int findEntry(std::span<const std::string> order, std::string_view name)
{
    auto found = std::find(order.begin(), order.end(), name);
    return found == order.end() ? -1 : static_cast<int>(found - order.begin());
}

std::optional<std::string> neighbour(std::span<const std::string> order, std::string_view current,
                                     Step step)
{
    if (order.empty()) return std::nullopt;
    const int count = static_cast<int>(order.size());
    const int at = findEntry(order, current);
    if (at < 0) return step == Step::Forward ? order.front() : order.back();
    const int direction = step == Step::Forward ? 1 : count - 1;
    int index = at;
    for (int moved = 1; moved < count; ++moved) {
        index = (index + direction) % count;
        if (order[static_cast<std::size_t>(index)] != current) {
            return order[static_cast<std::size_t>(index)];
        }
    }
    // Only this name in the list: wrapping comes back to it.
    return std::string(current);
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
