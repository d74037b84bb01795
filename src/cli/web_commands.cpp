// culvora-cli's import of a recipe from a web page: a page saved as a file or fetched from an
// https:// (or http://) address, its recipe added to a cookbook after the checks of a new
// recipe.

#include <algorithm>
#include <charconv>

#include "cli/commands.h"
#include "core/store/recipe_types.h"
#include "core/text/text.h"
#include "core/transfer/web_recipe.h"

namespace culvora::cli {

namespace {

// What a recipe gets when the page's categories name none of the cook's types and --type
// does not say: the type of the other imports.
constexpr std::string_view kDefaultWebType = "Imported";

}  // namespace

bool isRecipeIndex(std::string_view value)
{
    unsigned n = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), n);
    return !value.empty() && error == std::errc() && end == value.data() + value.size() && n >= 1;
}

int importWebCommand(CliContext& c)
{
    auto title = c.toCp(*c.invocation.value("--to"));
    if (!title) return c.report(title.error());
    auto types = store::readTypes(c.folder);
    if (!types) return c.report(types.error());
    auto defaultType = c.toCp(c.invocation.value("--type").value_or(std::string(kDefaultWebType)));
    if (!defaultType) return c.report(defaultType.error());
    if (c.has("--type") &&
        std::find(types->begin(), types->end(), *defaultType) == types->end()) {
        return c.refuse("There is no recipe type " + text::quotedForMessage(*defaultType) +
                        "; \"types\" lists them.");
    }

    auto recipes = transfer::readWebRecipesFrom(c.args()[0]);
    if (!recipes) return c.report(recipes.error());
    std::size_t index = 1;
    if (auto given = c.invocation.value("--index")) {
        std::from_chars(given->data(), given->data() + given->size(), index);
    }
    if (index > recipes->size()) {
        const std::string count = std::to_string(recipes->size());
        return c.refuse(recipes->size() == 1
                            ? "The page holds one recipe; --index can only be 1."
                            : "The page holds " + count + " recipes; --index can be 1 to " +
                                  count + ".");
    }
    transfer::WebRecipe recipe = (*recipes)[index - 1];
    const auto chosenName = c.invocation.value("--name");
    if (chosenName) recipe.name = *chosenName;
    const std::string type = transfer::chooseType(recipe.categories, *types, *defaultType);
    auto draft = transfer::webRecipeDraft(recipe, type);
    if (!draft) return c.report(draft.error());
    // The page's name goes in numbered when it is taken, as the imports do; a name the cook
    // gave is the one wanted, and refused when taken.
    auto added = transfer::addWebRecipe(
        c.folder, *title, *draft,
        chosenName ? transfer::NameTaken::Refuse : transfer::NameTaken::Number);
    if (!added) return c.report(added.error());
    c.out.utf8Line(text::quotedForMessage(*added, 1000) + " added, of type " +
                   text::quotedForMessage(type) + ".");
    if (recipes->size() > 1 && !c.has("--index")) {
        c.out.utf8Line("The page holds " + std::to_string(recipes->size()) +
                       " recipes; --index N adds another.");
    }
    return kExitOk;
}

}  // namespace culvora::cli
