// culvora-cli commands over the nutrition table, as the ingredient viewer and the calculator
// show it.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "cli/commands.h"
#include "core/nutrition/nutrition.h"
#include "core/text/text.h"

namespace culvora::cli {

namespace {

// The ten values of a record: a name for scripts, a label and a unit for people.
struct Nutrient {
    const char* key;
    const char* label;
    const char* unit;
};

constexpr std::array<Nutrient, nutrition::kValueCount> kNutrients = {{
    {"energy_kj", "Energy", "kJ"},
    {"energy_kcal", "Energy", "kcal"},
    {"water_g", "Water", "g"},
    {"protein_g", "Protein", "g"},
    {"fat_g", "Fat", "g"},
    {"carbohydrates_g", "Carbohydrates", "g"},
    {"calcium_mg", "Calcium", "mg"},
    {"iron_mg", "Iron", "mg"},
    {"vitamin_a_mg", "Vitamin A", "mg"},
    {"vitamin_c_mg", "Vitamin C", "mg"},
}};

Error notFound()
{
    return Error{ErrorCode::NotFound, std::string(nutrition::kNotFoundMessage)};
}

// The first record of that name, or the message the viewer gives.
Result<nutrition::Ingredient> ingredientNamed(CliContext& c, const std::string& utf8Name)
{
    auto name = c.toCp(utf8Name);
    if (!name) return std::unexpected(name.error());
    auto rows = nutrition::readTable(c.folder);
    if (!rows) return std::unexpected(rows.error());
    const auto found = std::ranges::find_if(
        *rows, [&](const nutrition::Ingredient& row) { return row.name == *name; });
    if (found == rows->end()) return std::unexpected(notFound());
    return *found;
}

// A number for people: up to `decimals` decimals, no trailing zeros.
std::string shortNumber(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string out = text;
    if (out.find('.') != std::string::npos) {
        while (out.ends_with('0')) out.pop_back();
        if (out.ends_with('.')) out.pop_back();
    }
    return out == "-0" ? "0" : out;
}

}  // namespace

bool isAmount(std::string_view nameEqualsGrams)
{
    // NAME=GRAMS: the name is everything before the last "=", the grams a plain number (the
    // calculator's amount box takes no letters).
    const auto equals = nameEqualsGrams.rfind('=');
    if (equals == std::string_view::npos || equals == 0) return false;
    bool digit = false;
    bool point = false;
    for (char ch : nameEqualsGrams.substr(equals + 1)) {
        if (ch >= '0' && ch <= '9') {
            digit = true;
        } else if (ch == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

int nutritionCommand(CliContext& c)
{
    auto ingredient = ingredientNamed(c, c.args()[0]);
    if (!ingredient) return c.report(ingredient.error());
    if (c.json()) {
        Json json(c.out);
        json.beginObject()
            .key("name")
            .string(ingredient->name)
            .key("per_grams")
            .number(std::int64_t{100});
        json.key("values").beginObject();
        for (std::size_t k = 0; k < kNutrients.size(); ++k) {
            json.key(kNutrients[k].key);
            if (static_cast<int>(k) < ingredient->valueCount) {
                json.number(nutrition::valueOf(ingredient->values[k]));
            } else {
                json.null();
            }
        }
        json.endObject().endObject();
        return kExitOk;
    }
    for (std::size_t k = 0; k < nutrition::kHeadings.size(); ++k) {
        c.out.line(std::string(nutrition::kHeadings[k]) + "\t" + ingredient->values[k]);
    }
    return kExitOk;
}

int nutritionFindCommand(CliContext& c)
{
    auto text = c.toCp(c.args()[0]);
    if (!text) return c.report(text.error());
    auto rows = nutrition::readTable(c.folder);
    if (!rows) return c.report(rows.error());
    const auto row = nutrition::findIngredient(*rows, *text);
    if (!row) return c.report(notFound());
    c.out.line((*rows)[*row].name);
    return kExitOk;
}

int kcalCommand(CliContext& c)
{
    std::vector<nutrition::DishLine> lines;
    for (const auto& arg : c.args()) {
        const auto equals = arg.rfind('=');
        auto name = c.toCp(arg.substr(0, equals));
        if (!name) return c.report(name.error());
        lines.push_back({*name, arg.substr(equals + 1)});
    }
    auto rows = nutrition::readTable(c.folder);
    if (!rows) return c.report(rows.error());
    const auto table = nutrition::indexByName(*rows);
    // The window only offers the table's names; a name that is not there would add nothing
    // and make a wrong total look right.
    for (const auto& line : lines) {
        if (!table.contains(line.ingredient)) {
            return c.report(Error{ErrorCode::NotFound, "The nutrition table has no ingredient " +
                                                           text::quotedForMessage(line.ingredient) +
                                                           "."});
        }
    }
    const auto totals = nutrition::dishTotals(table, lines);
    std::size_t width = 1;
    for (auto total : totals) width = std::max(width, std::to_string(total).size());
    for (std::size_t k = 0; k < totals.size(); ++k) {
        char line[128];
        std::snprintf(line, sizeof line, "%-14s %*lld %s", kNutrients[k].label,
                      static_cast<int>(width), static_cast<long long>(totals[k]),
                      kNutrients[k].unit);
        c.out.line(line);
    }
    return kExitOk;
}

int pieCommand(CliContext& c)
{
    auto ingredient = ingredientNamed(c, c.args()[0]);
    if (!ingredient) return c.report(ingredient.error());
    // The chart's four slices, each value read with four decimals as the chart reads it.
    constexpr std::array<const char*, 4> kSlices = {"Water", "Protein", "Fat", "Carbohydrates"};
    std::array<double, 4> grams{};
    double total = 0;
    for (std::size_t k = 0; k < grams.size(); ++k) {
        const std::size_t value = k + 2;
        const double read = static_cast<int>(value) < ingredient->valueCount
                                ? nutrition::valueOf(ingredient->values[value])
                                : 0.0;
        grams[k] = std::isfinite(read) ? std::round(read * 10000) / 10000 : 0.0;
        total += grams[k];
    }
    if (!nutrition::pieAnglesOf(*ingredient) || !(total > 0)) {
        c.out.line("No data");
        return kExitOk;
    }
    std::array<std::string, 4> shownGrams;
    std::size_t width = 1;
    for (std::size_t k = 0; k < grams.size(); ++k) {
        shownGrams[k] = shortNumber(grams[k], 4);
        width = std::max(width, shownGrams[k].size());
    }
    for (std::size_t k = 0; k < grams.size(); ++k) {
        char line[128];
        std::snprintf(line, sizeof line, "%-14s %5.1f %%  %*s g", kSlices[k],
                      100.0 * grams[k] / total, static_cast<int>(width), shownGrams[k].c_str());
        c.out.line(line);
    }
    return kExitOk;
}

}  // namespace culvora::cli
