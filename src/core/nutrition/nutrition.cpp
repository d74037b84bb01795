#include "core/nutrition/nutrition.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/text/text.h"

namespace culvora::nutrition {

std::vector<Ingredient> parseTable(std::string_view content)
{
    std::vector<Ingredient> table;
    text::LineReader reader(content);
    while (auto name = reader.next()) {
        Ingredient ingredient;
        ingredient.name = std::string(*name);
        int count = 0;
        for (; count < kValueCount; ++count) {
            auto value = reader.next();
            if (!value) break;
            ingredient.values[static_cast<std::size_t>(count)] = std::string(*value);
        }
        ingredient.valueCount = count;
        table.push_back(std::move(ingredient));
        if (count < kValueCount) break;
    }
    return table;
}

Result<std::vector<Ingredient>> readTable(const ProgramFolder& folder)
{
    auto content = folder.readOrEmpty(kNutritionFile);
    if (!content) return std::unexpected(content.error());
    return parseTable(*content);
}

double valueOf(std::string_view value)
{
    return text::leadingNumber(value);
}

std::optional<std::size_t> findIngredient(const std::vector<Ingredient>& table,
                                          std::string_view text)
{
    if (text.empty()) return std::nullopt;
    const std::string key = text::toLower(text);
    for (std::size_t row = 0; row < table.size(); ++row) {
        const std::string& name = table[row].name;
        if (name.size() >= key.size() &&
            text::toLower(std::string_view(name).substr(0, key.size())) == key) {
            return row;
        }
    }
    return std::nullopt;
}

ColumnWidths columnWidths(int fontSize)
{
    // s × 2 × 0.06 × 2300 and s × 2 × 0.09 × 800, rounded.
    return {static_cast<int>(std::lround(fontSize * 2 * 0.06 * 2300)),
            static_cast<int>(std::lround(fontSize * 2 * 0.09 * 800))};
}

std::vector<int> fontSizes()
{
    std::vector<int> sizes;
    for (int size = 6; size <= 24; size += 2) sizes.push_back(size);
    return sizes;
}

std::optional<std::array<double, 5>> pieAngles(double water, double protein, double fat,
                                               double carbohydrates)
{
    const double total = water + protein + fat + carbohydrates;
    if (!(total > 0)) return std::nullopt;
    const double start = -kPi / 2;
    return std::array<double, 5>{start, start + 2 * kPi * water / total,
                                 start + 2 * kPi * (water + protein) / total,
                                 start + 2 * kPi * (water + protein + fat) / total,
                                 start + 2 * kPi * (water + protein + fat + carbohydrates) / total};
}

std::optional<std::array<double, 5>> pieAnglesOf(const Ingredient& ingredient)
{
    // Water, protein, fat and carbohydrates, read with four decimals.
    auto share = [&](int k) {
        const double value =
            k < ingredient.valueCount ? valueOf(ingredient.values[static_cast<std::size_t>(k)]) : 0;
        return std::round(value * 10000) / 10000;
    };
    return pieAngles(share(2), share(3), share(4), share(5));
}

TableIndex indexByName(const std::vector<Ingredient>& table)
{
    TableIndex index;
    index.reserve(table.size());
    for (const auto& ingredient : table) index.try_emplace(ingredient.name, &ingredient);
    return index;
}

std::array<std::int64_t, kValueCount> dishTotals(const TableIndex& table,
                                                 const std::vector<DishLine>& lines)
{
    std::array<std::int64_t, kValueCount> totals{};
    for (const auto& line : lines) {
        const auto found = table.find(line.ingredient);
        if (found == table.end()) continue;
        const Ingredient& ingredient = *found->second;
        const double factor = text::leadingNumber(line.amount) / 100;
        for (int k = 0; k < ingredient.valueCount; ++k) {
            const double contribution =
                valueOf(ingredient.values[static_cast<std::size_t>(k)]) * factor;
            // Halves to the even neighbour, as the default rounding mode does. An absurd figure
            // (a value or an amount of a thousand digits) is held at what a total can show.
            constexpr double kLimit = 1e15;
            const double held = std::isfinite(contribution)
                                    ? std::clamp(contribution, -kLimit, kLimit)
                                    : (contribution > 0 ? kLimit : -kLimit);
            totals[static_cast<std::size_t>(k)] += static_cast<std::int64_t>(std::nearbyint(held));
        }
    }
    return totals;
}

std::array<std::string, kValueCount> totalTexts(const std::array<std::int64_t, kValueCount>& totals)
{
    std::array<std::string, kValueCount> texts;
    for (int k = 0; k < kValueCount; ++k) {
        const char* suffix = k < 2 ? " " : (k < 6 ? " g " : " mg ");
        texts[static_cast<std::size_t>(k)] =
            std::to_string(totals[static_cast<std::size_t>(k)]) + suffix;
    }
    return texts;
}

bool refusedInAmount(unsigned char code)
{
    return code >= 65 && code <= 246;
}

}  // namespace culvora::nutrition
