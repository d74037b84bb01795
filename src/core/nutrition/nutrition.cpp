#include "core/nutrition/nutrition.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/text/text.h"

namespace culvora::nutrition {

std::vector<Ingredient> parseTable(std::string_view content)
{
    std::vector<Ingredient> table;
    // The calculator reads the whole table on every sum: room for the records of a table of
    // the delivered kind (some 110 bytes a record) is made once, and each is built in place.
    // Only a guess, and a bounded one: a file of another kind grows the table as it goes.
    table.reserve(std::min<std::size_t>(content.size() / 100 + 1, 20000));
    text::LineReader reader(content);
    while (auto name = reader.next()) {
        Ingredient& ingredient = table.emplace_back();
        ingredient.name = std::string(*name);
        int count = 0;
        for (; count < kValueCount; ++count) {
            auto value = reader.next();
            if (!value) break;
            ingredient.values[static_cast<std::size_t>(count)] = std::string(*value);
        }
        ingredient.valueCount = count;
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

bool containsWords(std::string_view name, std::string_view typed)
{
    const std::string lowerName = text::toLower(name);
    const std::string lowerTyped = text::toLower(typed);
    std::string_view rest = lowerTyped;
    while (!rest.empty()) {
        const auto start = rest.find_first_not_of(' ');
        if (start == std::string_view::npos) break;
        rest.remove_prefix(start);
        const auto end = std::min(rest.find(' '), rest.size());
        if (lowerName.find(rest.substr(0, end)) == std::string::npos) return false;
        rest.remove_prefix(end);
    }
    return true;
}

namespace {

// Letters (accented ones included) and digits make words; everything else parts them.
bool inWord(char c)
{
    const auto code = static_cast<unsigned char>(c);
    return (c >= '0' && c <= '9') || text::toLower(c) != text::toUpper(c) ||
           (code >= 0xC0 && code != 0xD7 && code != 0xF7);
}

std::vector<std::string> wordsOf(std::string_view s)
{
    std::vector<std::string> words;
    std::string word;
    for (char c : s) {
        if (inWord(c)) {
            word += text::toLower(c);
        } else if (!word.empty()) {
            words.push_back(std::move(word));
            word.clear();
        }
    }
    if (!word.empty()) words.push_back(std::move(word));
    return words;
}

}  // namespace

bool startsWithWords(std::string_view name, std::string_view typed)
{
    const auto wanted = wordsOf(typed);
    if (wanted.empty()) return false;
    const auto words = wordsOf(name);
    if (words.size() < wanted.size()) return false;
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        if (!words[i].starts_with(wanted[i])) return false;
    }
    return true;
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
    const double biggest =
        std::max({std::abs(water), std::abs(protein), std::abs(fat), std::abs(carbohydrates)});
    if (!std::isfinite(biggest)) return std::nullopt;
    if (!std::isfinite(biggest * 8 * kPi)) {
        // Figures too large to add up (a hand-edited value of hundreds of digits) are brought
        // to a common scale first; the slices only depend on their shares.
        water /= biggest;
        protein /= biggest;
        fat /= biggest;
        carbohydrates /= biggest;
    }
    const double total = water + protein + fat + carbohydrates;
    if (!(total > 0)) return std::nullopt;
    const double start = -kPi / 2;
    const std::array<double, 5> angles{
        start, start + 2 * kPi * water / total, start + 2 * kPi * (water + protein) / total,
        start + 2 * kPi * (water + protein + fat) / total,
        start + 2 * kPi * (water + protein + fat + carbohydrates) / total};
    // Negative figures can leave a total so small that the slices run off to infinity: no pie.
    if (!std::ranges::all_of(angles, [](double a) { return std::isfinite(a); })) {
        return std::nullopt;
    }
    return angles;
}

std::optional<std::array<double, 5>> pieAnglesOf(const Ingredient& ingredient)
{
    // Water, protein, fat and carbohydrates, read with four decimals.
    auto share = [&](int k) {
        const double value =
            k < ingredient.valueCount ? valueOf(ingredient.values[static_cast<std::size_t>(k)]) : 0;
        const double rounded = std::round(value * 10000) / 10000;
        return std::isfinite(rounded) ? rounded : value;
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
