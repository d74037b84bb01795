#pragma once

// The nutrition table (index.txt, delivered, never written): for each ingredient a name line
// and ten value lines per 100 g — kJ, kcal, water, protein, fat, carbohydrates (g), calcium,
// iron, vitamin A, vitamin C (mg) — and what the ingredient viewer and the calculator make of
// it: the find, the pie chart's angles, the column widths and the dish's totals.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/error.h"
#include "core/files/files.h"

namespace culvora::nutrition {

inline constexpr std::string_view kNutritionFile = "index.txt";
inline constexpr int kValueCount = 10;

// The grid's column headings, columns 1 to 10.
inline constexpr std::array<std::string_view, kValueCount> kHeadings = {
    "kJ",         "kcal",    "Water g",       "Protein g", "Fat g", "Carb.-hydrates g",
    "Kalcium mg", "Iron mg", "Vitamine A mg", "Vitamine C"};

struct Ingredient {
    std::string name;                             // Windows-1252
    std::array<std::string, kValueCount> values;  // the lines as stored
    int valueCount = kValueCount;                 // fewer for a record cut short at the end
};

// The records of index.txt: a record is a name line and the ten lines after it. A last
// record cut short keeps the values it has (its missing cells show empty).
std::vector<Ingredient> parseTable(std::string_view content);
Result<std::vector<Ingredient>> readTable(const ProgramFolder& folder);

// A value as arithmetic reads it: its leading number; anything else is 0.
double valueOf(std::string_view value);

// The find: the first row whose name begins with the text, compared without regard to case
// (Windows-1252 case rules), or nothing.
std::optional<std::size_t> findIngredient(const std::vector<Ingredient>& table,
                                          std::string_view text);
inline constexpr std::string_view kNotFoundMessage = "Ingrediensen fanns ej";
// The calculator's find-as-you-type: true when every blank-separated word of the typed text
// occurs somewhere in the name, without regard to case ("milk whole" finds "Milk, whole,
// 3.25% milkfat" and "Yogurt, whole milk"). Nothing typed matches every name.
bool containsWords(std::string_view name, std::string_view typed);
// The best of those: the name's own words begin with the typed words, in order, each typed
// word the beginning of a word of the name ("milk who" and "Milk, whole" both begin "Milk,
// whole, 3.25% milkfat"; "whole milk" does not). Words are split at anything but letters and
// digits. Nothing typed begins no name.
bool startsWithWords(std::string_view name, std::string_view typed);

// Column widths in twips for a font size: the name column 276 × s, the values 144 × s.
struct ColumnWidths {
    int name = 0;
    int value = 0;
};
ColumnWidths columnWidths(int fontSize);
// The font sizes offered: 6, 8, ... 24 (8 chosen at first).
std::vector<int> fontSizes();

// The pie chart's slice boundaries a0..a4 (radians, clockwise from the top, π taken as
// 3.1415) for water, protein, fat and carbohydrates. Nothing when all four are 0: there are no
// shares to draw.
std::optional<std::array<double, 5>> pieAngles(double water, double protein, double fat,
                                               double carbohydrates);
inline constexpr double kPi = 3.1415;
// The same for a record of the table (its values 3 to 6, read with four decimals).
std::optional<std::array<double, 5>> pieAnglesOf(const Ingredient& ingredient);

// The ingredients by name (the first record of a name), for lookups that run per dish.
using TableIndex = std::unordered_map<std::string, const Ingredient*>;
TableIndex indexByName(const std::vector<Ingredient>& table);

// --- The calculator ----------------------------------------------------------------------

struct DishLine {
    std::string ingredient;  // a name of the table
    std::string amount;      // grams, as typed
};

// The ten totals of a dish: for every line and nutrient, value × grams / 100 rounded to the
// nearest whole number (halves to the even neighbour), then added. Wide integers: a large
// dish never overflows. An ingredient no longer in the table, or an amount that reads as no
// number, adds 0.
std::array<std::int64_t, kValueCount> dishTotals(const TableIndex& table,
                                                 const std::vector<DishLine>& lines);
// The labels' texts: the number and " " (energy), " g " (grams) or " mg " (milligrams).
std::array<std::string, kValueCount>
totalTexts(const std::array<std::int64_t, kValueCount>& totals);
// A character the amount box refuses: Windows-1252 codes 65 ("A") to 246 ("ö").
bool refusedInAmount(unsigned char cp1252Code);

}  // namespace culvora::nutrition
