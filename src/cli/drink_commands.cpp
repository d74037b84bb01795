// culvora-cli commands over the drinks file, as the drinks windows work on it.

#include <algorithm>
#include <iterator>

#include "cli/cli.h"
#include "core/drinks/drinks.h"
#include "core/text/text.h"

namespace culvora::cli {

namespace {

// "drink --glass NAME..." ticks the glasses of the filter menu named so.
int drinksCommand(CliContext& c, std::span<const std::string> args)
{
    drinks::GlassFilter filter;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--glass" || i + 1 >= args.size())
            return c.usage("drinks [--glass NAME]...");
        auto glass = c.toCp(args[++i]);
        if (!glass) return c.report(glass.error());
        const int index = drinks::glassIndex(*glass);
        if (index < 0) {
            return c.report(
                Error{ErrorCode::Invalid, "There is no glass called \"" + args[i] + "\"."});
        }
        if (!filter.isChecked(index)) filter.toggle(index);
    }
    auto content = drinks::readDrinksFile(c.folder);
    if (!content) return c.report(content.error());
    auto names = drinks::listDrinks(*content, &filter).names;
    std::stable_sort(names.begin(), names.end(), text::CollateLess{});
    for (const auto& name : names) c.line(name);
    return kExitOk;
}

int drinkCommand(CliContext& c, std::span<const std::string> args)
{
    if (args.size() != 1) return c.usage("drink NAME");
    auto name = c.toCp(args[0]);
    if (!name) return c.report(name.error());
    auto drink = drinks::loadDrink(c.folder, *name);
    if (!drink) return c.report(drink.error());
    for (auto line : text::splitLineViews(drink->ingredients)) c.line(line);
    c.line(drinks::kTagInstructions);
    for (auto line : text::splitLineViews(drink->instructions)) c.line(line);
    c.line(drinks::kTagGlass);
    c.line(drink->glass);
    return kExitOk;
}

// Standard input: the ingredients, a line "[GÖRA]", the mixing instructions.
struct Body {
    std::string ingredients;
    std::string instructions;
};

Result<Body> readBody(CliContext& c)
{
    std::string input((std::istreambuf_iterator<char>(c.in)), std::istreambuf_iterator<char>());
    auto cp = c.toCp(input);
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

int addDrinkCommand(CliContext& c, std::span<const std::string> args)
{
    if (args.size() != 2)
        return c.usage(
            "add-drink NAME GLASS  (ingredients, [GÖRA], instructions on standard input)");
    auto name = c.toCp(args[0]);
    if (!name) return c.report(name.error());
    auto glass = c.toCp(args[1]);
    if (!glass) return c.report(glass.error());
    auto body = readBody(c);
    if (!body) return c.report(body.error());
    auto added =
        drinks::appendDrink(c.folder, *name, body->ingredients, body->instructions, *glass);
    if (!added) return c.report(added.error());
    return kExitOk;
}

int editDrinkCommand(CliContext& c, std::span<const std::string> args)
{
    if (args.size() != 2)
        return c.usage(
            "edit-drink NAME GLASS  (ingredients, [GÖRA], instructions on standard input)");
    auto name = c.toCp(args[0]);
    if (!name) return c.report(name.error());
    auto glass = c.toCp(args[1]);
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

int deleteDrinkCommand(CliContext& c, std::span<const std::string> args)
{
    if (args.size() != 1) return c.usage("delete-drink NAME");
    auto name = c.toCp(args[0]);
    if (!name) return c.report(name.error());
    auto deleted = drinks::deleteDrink(c.folder, *name);
    if (!deleted) return c.report(deleted.error());
    return kExitOk;
}

const CliCommand kDrinks{"drinks", "drinks [--glass NAME]...", drinksCommand};
const CliCommand kDrink{"drink", "drink NAME", drinkCommand};
const CliCommand kAddDrink{
    "add-drink", "add-drink NAME GLASS  (ingredients, [GÖRA], instructions on standard input)",
    addDrinkCommand};
const CliCommand kEditDrink{"edit-drink", "edit-drink NAME GLASS  (the same on standard input)",
                            editDrinkCommand};
const CliCommand kDeleteDrink{"delete-drink", "delete-drink NAME", deleteDrinkCommand};

}  // namespace

}  // namespace culvora::cli
