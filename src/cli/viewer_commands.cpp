// culvora-cli commands that show a recipe as the viewer does and step through the cookbook.

#include "cli/commands.h"
#include "core/recipes/recipe_view.h"
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

}  // namespace

int viewCommand(CliContext& c)
{
    auto name = c.toCp(c.args()[0]);
    if (!name) return c.report(name.error());
    auto book = c.existingBook();
    if (!book) return c.report(book.error());
    auto page = pageOf(c, *book, *name);
    if (!page) return c.report(page.error());
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
