#pragma once

// Builds the bytes of well-formed cookbook records and nutrition table entries, the way the
// data folder holds them (Windows-1252, CR LF after every line). A test that is about a fault
// in the bytes (a missing tag, odd line ends, a lone "[NAMN]") spells its lines out instead.

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace culvora::testing {

// One recipe record. Only what a test cares about needs naming:
//   record({.name = "Stew", .time = "50", .ingredients = {"500 g beef"}})
struct Recipe {
    std::string name;
    std::string servings = "4";
    std::string time = "30";
    std::vector<std::string> ingredients{};   // one line each; none at all is allowed
    std::vector<std::string> steps{"Cook."};  // the instruction lines
    std::string type = "Hot dish";
};

// "[NAMN]", name, "[PORTIONER]", servings, "[TID]", time, "[IND]", the ingredient lines,
// "[GÖRA]", the instruction lines, "[TYP]", type.
inline std::string record(const Recipe& recipe)
{
    std::string out;
    const auto line = [&out](std::string_view text) {
        out += text;
        out += "\r\n";
    };
    line("[NAMN]");
    line(recipe.name);
    line("[PORTIONER]");
    line(recipe.servings);
    line("[TID]");
    line(recipe.time);
    line("[IND]");
    for (const auto& ingredient : recipe.ingredients) line(ingredient);
    line("[G\xD6RA]");
    for (const auto& step : recipe.steps) line(step);
    line("[TYP]");
    line(recipe.type);
    return out;
}

// The records one after the other, as a cookbook file holds them.
inline std::string cookbook(const std::vector<Recipe>& recipes)
{
    std::string out;
    for (const auto& recipe : recipes) out += record(recipe);
    return out;
}

// One entry of the nutrition table (index.txt): the food's name, then its value lines (kJ,
// kcal, water, protein, fat, carbohydrates, calcium, iron, vitamin A, vitamin C; fewer for an
// entry cut short).
inline std::string food(std::string_view name, std::initializer_list<std::string_view> values)
{
    std::string out(name);
    out += "\r\n";
    for (auto value : values) {
        out += value;
        out += "\r\n";
    }
    return out;
}

}  // namespace culvora::testing
