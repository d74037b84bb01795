// culvora-cli commands that show a recipe as the viewer does and step through the cookbook.

#include "cli/cli.h"
#include "core/recipes/recipe_view.h"
#include "core/text/text.h"

namespace culvora::cli {

namespace {

// The page of the named recipe; a name the cookbook does not hold is an error here, since
// there is no view to show it in.
Result<recipes::ViewerPage> pageOf(CliContext& c, const std::string& name)
{
    auto page = recipes::readViewerPage(c.folder, c.currentBook(), name);
    if (!page) return page;
    if (!page->texts.found) {
        return fail(ErrorCode::NotFound,
                    "The recipe \"" + text::toUtf8(name) + "\" was not found in the cookbook.");
    }
    return page;
}

void printLines(CliContext& c, std::string_view text)
{
    for (auto line : text::splitLineViews(text)) c.line(line);
}

int viewCommand(CliContext& c, std::span<const std::string> args)
{
    if (args.size() != 1) return c.usage("view NAME");
    auto name = c.toCp(args[0]);
    if (!name) return c.report(name.error());
    auto page = pageOf(c, *name);
    if (!page) return c.report(page.error());
    const recipes::RecipeTexts& texts = page->texts;
    c.line(texts.name);
    c.line(texts.servings);
    c.line(texts.time);
    c.line("");
    printLines(c, texts.ingredients);
    c.line("");
    printLines(c, texts.instructions);
    return kExitOk;
}

int stepCommand(CliContext& c, std::span<const std::string> args, recipes::Step step)
{
    if (args.size() != 1)
        return c.usage(step == recipes::Step::Forward ? "next NAME" : "prev NAME");
    auto name = c.toCp(args[0]);
    if (!name) return c.report(name.error());
    auto page = pageOf(c, *name);
    if (!page) return c.report(page.error());
    // A found recipe is among the names, so there is always a neighbour (itself when alone).
    auto next = recipes::readNeighbour(c.folder, c.currentBook(), *name, step);
    if (!next) return c.report(next.error());
    c.line(next->value_or(*name));
    return kExitOk;
}

int nextCommand(CliContext& c, std::span<const std::string> args)
{
    return stepCommand(c, args, recipes::Step::Forward);
}

int prevCommand(CliContext& c, std::span<const std::string> args)
{
    return stepCommand(c, args, recipes::Step::Back);
}

const CliCommand kView{"view", "view NAME", viewCommand};
const CliCommand kNext{"next", "next NAME", nextCommand};
const CliCommand kPrev{"prev", "prev NAME", prevCommand};

}  // namespace

}  // namespace culvora::cli
