// culvora-cli commands that show a recipe as the viewer does and step through the cookbook.

#include "cli/commands.h"
#include <charconv>

#include "core/recipes/recipe_view.h"
#include "core/recipes/scaling.h"
#include "core/text/text.h"

namespace culvora::cli {

namespace {

// The page of the named recipe; a name the cookbook does not hold is an error here, since
// there is no view to show it in.
Result<recipes::ViewerPage> pageOf(CliContext& c, const std::string& book, const std::string& name)
{
    auto page = recipes::readViewerPage(c.folder, book, name);
    if (!page) return page;
    if (!page->texts.found) {
        return fail(ErrorCode::NotFound, "The recipe " + text::quotedForMessage(name) +
                                             " was not found in the cookbook.");
    }
    return page;
}

int stepCommand(CliContext& c, recipes::Step step)
{
    auto name = c.toCp(c.args()[0]);
    if (!name) return c.report(name.error());
    auto book = c.existingBook();
    if (!book) return c.report(book.error());
    auto page = pageOf(c, *book, *name);
    if (!page) return c.report(page.error());
    // A found recipe is among the names, so there is always a neighbour (itself when alone).
    auto next = recipes::readNeighbour(c.folder, *book, *name, step);
    if (!next) return c.report(next.error());
    c.out.line(next->value_or(*name));
    return kExitOk;
}

// The page for another number of servings: the record read again and scaled. A recipe whose
// servings line gives no number to scale from is refused rather than shown unscaled under the
// number asked for.
Result<recipes::RecipeTexts> scaledTexts(CliContext& c, const std::string& book,
                                         const std::string& name, int servings)
{
    auto record = store::Cookbook(c.folder, book).read(name);
    if (!record) return std::unexpected(record.error());
    auto scaled = recipes::scaledRecord(*record, servings);
    if (!scaled) {
        return fail(ErrorCode::Refused, "The recipe " + text::quotedForMessage(name) +
                                            " serves " + text::quotedForMessage(record->servings) +
                                            ", which is no number of servings to scale from.");
    }
    return recipes::recipeTexts(*scaled);
}

}  // namespace

bool isServings(std::string_view value)
{
    int n = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), n);
    return !value.empty() && error == std::errc() && end == value.data() + value.size() &&
           n >= 1 && n <= recipes::kMaxScaledServings;
}

int viewCommand(CliContext& c)
{
    auto name = c.toCp(c.args()[0]);
    if (!name) return c.report(name.error());
    auto book = c.existingBook();
    if (!book) return c.report(book.error());
    auto page = pageOf(c, *book, *name);
    if (!page) return c.report(page.error());
    if (auto servings = c.invocation.value("--servings")) {
        auto scaled = scaledTexts(c, *book, *name, std::stoi(*servings));
        if (!scaled) return c.report(scaled.error());
        page->texts = std::move(*scaled);
    }
    const recipes::RecipeTexts& texts = page->texts;
    if (c.json()) {
        Json json(c.out);
        json.beginObject().key("name").string(texts.name);
        json.key("servings").string(texts.servings).key("time").string(texts.time);
        json.key("ingredients").lines(texts.ingredients);
        json.key("instructions").lines(texts.instructions);
        json.endObject();
        return kExitOk;
    }
    c.out.line(texts.name);
    c.out.line(texts.servings);
    c.out.line(texts.time);
    c.out.line("");
    for (auto line : text::splitLineViews(texts.ingredients)) c.out.line(line);
    c.out.line("");
    for (auto line : text::splitLineViews(texts.instructions)) c.out.line(line);
    return kExitOk;
}

int nextCommand(CliContext& c)
{
    return stepCommand(c, recipes::Step::Forward);
}

int prevCommand(CliContext& c)
{
    return stepCommand(c, recipes::Step::Back);
}

}  // namespace culvora::cli
