// culvora-cli commands over the nutrition table, as the ingredient viewer and the calculator
// show it.

#include <cstdio>

#include "cli/cli.h"
#include "core/nutrition/nutrition.h"
#include "core/text/text.h"

namespace culvora::cli {

namespace {

Result<std::vector<nutrition::Ingredient>> table(CliContext& c)
{
    return nutrition::readTable(c.folder);
}

Error notFound()
{
    return Error{ErrorCode::NotFound, std::string(nutrition::kNotFoundMessage)};
}

int nutritionCommand(CliContext& c, std::span<const std::string> args)
{
    if (args.size() != 1) return c.usage("nutrition NAME");
    auto name = c.toCp(args[0]);
    if (!name) return c.report(name.error());
    auto rows = table(c);
    if (!rows) return c.report(rows.error());
    const auto index = nutrition::indexByName(*rows);
    const auto found = index.find(*name);
    if (found == index.end()) return c.report(notFound());
    const nutrition::Ingredient& ingredient = *found->second;
    for (int k = 0; k < nutrition::kValueCount; ++k) {
        c.line(std::string(nutrition::kHeadings[static_cast<std::size_t>(k)]) + "\t" +
               ingredient.values[static_cast<std::size_t>(k)]);
    }
    return kExitOk;
}

int findCommand(CliContext& c, std::span<const std::string> args)
{
    if (args.size() != 1) return c.usage("nutrition-find TEXT");
    auto text = c.toCp(args[0]);
    if (!text) return c.report(text.error());
    auto rows = table(c);
    if (!rows) return c.report(rows.error());
    const auto row = nutrition::findIngredient(*rows, *text);
    if (!row) return c.report(notFound());
    c.line((*rows)[*row].name);
    return kExitOk;
}

int kcalCommand(CliContext& c, std::span<const std::string> args)
{
    if (args.empty()) return c.usage("kcal NAME=GRAMS...");
    std::vector<nutrition::DishLine> lines;
    for (const auto& arg : args) {
        const auto equals = arg.rfind('=');
        if (equals == std::string::npos) return c.usage("kcal NAME=GRAMS...");
        auto name = c.toCp(arg.substr(0, equals));
        if (!name) return c.report(name.error());
        lines.push_back({*name, arg.substr(equals + 1)});
    }
    auto rows = table(c);
    if (!rows) return c.report(rows.error());
    for (const auto& text :
         nutrition::totalTexts(nutrition::dishTotals(nutrition::indexByName(*rows), lines))) {
        c.line(text);
    }
    return kExitOk;
}

int pieCommand(CliContext& c, std::span<const std::string> args)
{
    if (args.size() != 1) return c.usage("pie NAME");
    auto name = c.toCp(args[0]);
    if (!name) return c.report(name.error());
    auto rows = table(c);
    if (!rows) return c.report(rows.error());
    const auto index = nutrition::indexByName(*rows);
    const auto found = index.find(*name);
    if (found == index.end()) return c.report(notFound());
    const auto angles = nutrition::pieAnglesOf(*found->second);
    if (!angles) {
        c.line("No data");
        return kExitOk;
    }
    for (int i = 0; i < 5; ++i) {
        char line[64];
        std::snprintf(line, sizeof line, "a%d %.4f", i, (*angles)[static_cast<std::size_t>(i)]);
        c.line(line);
    }
    return kExitOk;
}

const CliCommand kNutrition{"nutrition", "nutrition NAME", nutritionCommand};
const CliCommand kFind{"nutrition-find", "nutrition-find TEXT", findCommand};
const CliCommand kKcal{"kcal", "kcal NAME=GRAMS...", kcalCommand};
const CliCommand kPie{"pie", "pie NAME", pieCommand};

}  // namespace

}  // namespace culvora::cli
