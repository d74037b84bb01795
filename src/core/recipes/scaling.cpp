#include "core/recipes/scaling.h"

#include <charconv>
#include <cmath>

#include "core/recipes/amounts.h"
#include "core/text/text.h"

namespace culvora::recipes {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

struct ServingsNumber {
    std::size_t begin = 0;  // where the number starts
    std::size_t end = 0;    // where it ends
    int value = 0;
};

std::optional<ServingsNumber> readNumber(std::string_view line, std::size_t from)
{
    std::size_t begin = from;
    while (begin < line.size() && (line[begin] == ' ' || line[begin] == '\t')) ++begin;
    std::size_t end = begin;
    while (end < line.size() && isDigit(line[end])) ++end;
    if (end == begin) return std::nullopt;
    // A decimal or a fraction is no whole number of servings.
    if (end < line.size() && (line[end] == '.' || line[end] == ',' || line[end] == '/')) {
        return std::nullopt;
    }
    int value = 0;
    const auto [ptr, error] = std::from_chars(line.data() + begin, line.data() + end, value);
    if (error != std::errc() || value <= 0) return std::nullopt;
    return ServingsNumber{begin, end, value};
}

}  // namespace

std::optional<int> recipeServings(std::string_view servings)
{
    const auto number = readNumber(servings, 0);
    if (!number) return std::nullopt;
    return number->value;
}

std::optional<int> servingsOfShownText(std::string_view servingsText)
{
    constexpr std::string_view kOpen = "(Serves ";
    if (!servingsText.starts_with(kOpen) || !servingsText.ends_with(')')) return std::nullopt;
    servingsText.remove_prefix(kOpen.size());
    servingsText.remove_suffix(1);
    return recipeServings(servingsText);
}

std::string scaledServings(std::string_view line, int servings)
{
    const auto number = readNumber(line, 0);
    if (!number || servings <= 0) return std::string(line);
    std::string out(line.substr(0, number->begin));
    out += std::to_string(servings);
    std::size_t rest = number->end;
    // "4-6" (or with an en dash): the upper end goes with the lower.
    if (rest < line.size() && (line[rest] == '-' || line[rest] == '\x96')) {
        if (const auto upper = readNumber(line, rest + 1); upper && upper->begin == rest + 1) {
            const double scaled = static_cast<double>(upper->value) * servings / number->value;
            out += line[rest];
            out += std::to_string(std::max<long>(servings, std::lround(scaled)));
            rest = upper->end;
        }
    }
    out += line.substr(rest);
    return out;
}

std::string scaledIngredients(std::string_view ingredients, double factor)
{
    std::string out;
    out.reserve(ingredients.size() + ingredients.size() / 8);
    text::LineReader lines(ingredients);
    while (auto line = lines.next()) {
        out += scaleIngredientLine(*line, factor);
        out += text::kCrLf;
    }
    return out;
}

std::optional<store::RecipeRecord> scaledRecord(const store::RecipeRecord& record, int servings)
{
    const auto own = recipeServings(record.servings);
    if (!own || servings < 1 || servings > kMaxScaledServings) return std::nullopt;
    if (servings == *own) return record;
    store::RecipeRecord scaled = record;
    scaled.servings = scaledServings(record.servings, servings);
    scaled.ingredients =
        scaledIngredients(record.ingredients, static_cast<double>(servings) / *own);
    return scaled;
}

}  // namespace culvora::recipes
