// culvora-cli commands over the drinks file, as the drinks windows work on it.

#include <algorithm>

#include "cli/commands.h"
#include "core/drinks/drinks.h"
#include "core/text/text.h"

namespace culvora::cli {

// "drinks --glass NAME..." ticks the glasses of the filter menu named so.
int drinksCommand(CliContext& c)
{
    drinks::GlassFilter filter;
    for (const auto& value : c.invocation.values("--glass")) {
        auto glass = c.toCp(value);
        if (!glass) return c.report(glass.error());
        const int index = drinks::glassIndex(*glass);
        if (index < 0) {
            return c.report(Error{ErrorCode::NotFound, "There is no glass called " +
                                                           text::quotedForMessage(*glass) + "."});
        }
        if (!filter.isChecked(index)) filter.toggle(index);
    }
    auto content = drinks::readDrinksFile(c.folder);
    if (!content) return c.report(content.error());
    auto names = drinks::listDrinks(*content, &filter).names;
    std::stable_sort(names.begin(), names.end(), text::CollateLess{});
    if (c.json()) {
        Json json(c.out);
        json.beginObject().key("drinks").strings(names).endObject();
        return kExitOk;
    }
    for (const auto& name : names) c.out.line(name);
    return kExitOk;
}

int drinkCommand(CliContext& c)
{
    auto name = c.toCp(c.args()[0]);
    if (!name) return c.report(name.error());
    auto drink = drinks::loadDrink(c.folder, *name);
    if (!drink) return c.report(drink.error());
    if (c.json()) {
        Json json(c.out);
        json.beginObject().key("name").string(drink->name);
        json.key("ingredients").lines(drink->ingredients);
        json.key("instructions").lines(drink->instructions);
        json.key("glass").string(drink->glass).endObject();
        return kExitOk;
    }
    for (auto line : text::splitLineViews(drink->ingredients)) c.out.line(line);
    c.out.line(drinks::kTagInstructions);
    for (auto line : text::splitLineViews(drink->instructions)) c.out.line(line);
    c.out.line(drinks::kTagGlass);
    c.out.line(drink->glass);
    return kExitOk;
}

namespace {

// Standard input: the ingredients, a line "[GÖRA]", the mixing instructions.
struct Body {
    std::string ingredients;
    std::string instructions;
};

Result<Body> readBody(CliContext& c)
{
    auto input = c.readInput();
    if (!input) return std::unexpected(input.error());
    auto cp = c.toCp(*input);
    if (!cp) return std::unexpected(cp.error());
    Body body;
    bool instructions = false;
    for (auto line : text::splitLineViews(*cp)) {
        if (!instructions && line == drinks::kTagInstructions) {
            instructions = true;
            continue;
        }
        std::string& box = instructions ? body.instructions : body.ingredients;
        if (!box.empty()) box += "\n";
        box += line;
    }
    if (!instructions) {
        return fail(ErrorCode::Invalid,
                    "Standard input must hold the ingredients, a line [GÖRA] and the mixing "
                    "instructions.");
    }
    return body;
}

}  // namespace

int addDrinkCommand(CliContext& c)
{
    auto name = c.toCp(c.args()[0]);
    if (!name) return c.report(name.error());
    auto glass = c.toCp(c.args()[1]);
    if (!glass) return c.report(glass.error());
    auto body = readBody(c);
    if (!body) return c.report(body.error());
    auto added =
        drinks::appendDrink(c.folder, *name, body->ingredients, body->instructions, *glass);
    if (!added) return c.report(added.error());
    return kExitOk;
}

int editDrinkCommand(CliContext& c)
{
    auto name = c.toCp(c.args()[0]);
    if (!name) return c.report(name.error());
    auto glass = c.toCp(c.args()[1]);
    if (!glass) return c.report(glass.error());
    auto body = readBody(c);
    if (!body) return c.report(body.error());
    auto loaded = drinks::loadDrink(c.folder, *name);
    if (!loaded) return c.report(loaded.error());
    auto saved =
        drinks::saveEditedDrink(c.folder, *loaded, body->ingredients, body->instructions, *glass);
    if (!saved) return c.report(saved.error());
    return kExitOk;
}

int deleteDrinkCommand(CliContext& c)
{
    auto name = c.toCp(c.args()[0]);
    if (!name) return c.report(name.error());
    auto deleted = drinks::deleteDrink(c.folder, *name);
    if (!deleted) return c.report(deleted.error());
    return kExitOk;
}

}  // namespace culvora::cli
