#include "core/recipes/amounts.h"

#include <cmath>
#include <cstdio>

#include "core/text/text.h"

namespace culvora::recipes {

namespace {

constexpr char kHalf = '\xBD';
constexpr char kQuarter = '\xBC';
constexpr char kThreeQuarters = '\xBE';
constexpr char kEnDash = '\x96';

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::optional<double> vulgarFraction(char c)
{
    switch (c) {
    case kHalf: return 0.5;
    case kQuarter: return 0.25;
    case kThreeQuarters: return 0.75;
    default: return std::nullopt;
    }
}

// A letter, in Windows-1252: what may not follow an amount directly unless it starts a unit.
bool isLetter(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || b == 0x8A || b == 0x8C ||
           b == 0x8E || b == 0x9A || b == 0x9C || b == 0x9E || b == 0x9F ||
           (b >= 0xC0 && b != 0xD7 && b != 0xF7);
}

// Reads a plain number at `at`: digits with an optional decimal point or comma and digits, or a
// fraction "n/d". Moves `at` past it.
std::optional<double> readNumber(std::string_view s, std::size_t& at, bool& comma, bool& fraction)
{
    std::size_t i = at;
    if (i >= s.size()) return std::nullopt;
    if (auto vulgar = vulgarFraction(s[i])) {
        at = i + 1;
        fraction = true;
        return vulgar;
    }
    if (!isDigit(s[i])) return std::nullopt;
    double whole = 0;
    std::size_t digits = 0;
    for (; i < s.size() && isDigit(s[i]); ++i, ++digits) {
        if (digits < 9) whole = whole * 10 + (s[i] - '0');
    }
    if (digits > 9) return std::nullopt;  // a code or a phone number, not an amount
    if (i + 1 < s.size() && s[i] == '/' && isDigit(s[i + 1])) {
        double denominator = 0;
        std::size_t j = i + 1;
        std::size_t denominatorDigits = 0;
        for (; j < s.size() && isDigit(s[j]); ++j, ++denominatorDigits) {
            if (denominatorDigits < 6) denominator = denominator * 10 + (s[j] - '0');
        }
        if (denominator == 0 || denominatorDigits > 6) return std::nullopt;
        at = j;
        fraction = true;
        return whole / denominator;
    }
    if (i + 1 < s.size() && (s[i] == '.' || s[i] == ',') && isDigit(s[i + 1])) {
        comma = s[i] == ',';
        double scale = 0.1;
        double decimals = 0;
        std::size_t j = i + 1;
        for (; j < s.size() && isDigit(s[j]); ++j) {
            decimals += (s[j] - '0') * scale;
            scale /= 10;
        }
        at = j;
        return whole + decimals;
    }
    at = i;
    return whole;
}

// An amount: a number, a whole number followed by a fraction ("1 1/2", "1-1/2", "1½",
// "1 ½"), nothing else.
std::optional<double> readAmount(std::string_view s, std::size_t& at, bool& comma)
{
    bool fraction = false;
    std::size_t i = at;
    auto first = readNumber(s, i, comma, fraction);
    if (!first) return std::nullopt;
    const bool wholeNumber =
        !fraction && !comma && i > at && s.substr(at, i - at).find('.') == std::string_view::npos;
    if (wholeNumber && i < s.size()) {
        // A fraction right after a whole number belongs to it.
        std::size_t j = i;
        if (vulgarFraction(s[j])) {
            at = j + 1;
            return *first + *vulgarFraction(s[j]);
        }
        if (isBlank(s[j]) || s[j] == '-') {
            ++j;
            while (s[j - 1] != '-' && j < s.size() && isBlank(s[j])) ++j;
            bool secondComma = false;
            bool secondFraction = false;
            std::size_t k = j;
            auto second = readNumber(s, k, secondComma, secondFraction);
            if (second && secondFraction && *second < 1) {
                at = k;
                return *first + *second;
            }
        }
    }
    at = i;
    return first;
}

constexpr std::string_view kUnits[] = {
    // Metric.
    "ml", "cl", "dl", "l", "liter", "litre", "g", "gr", "gram", "grams", "hg", "kg", "mg",
    // Swedish kitchen measures.
    "msk", "tsk", "krm", "st", "nypa", "burk", "burkar", "paket", "pkt", "f\xF6rp", "klyfta",
    "klyftor", "skiva", "skivor", "kvist", "kvistar", "knippe",
    // English kitchen measures.
    "cup", "cups", "c", "tbsp", "tbs", "tb", "tablespoon", "tablespoons", "tsp", "ts", "teaspoon",
    "teaspoons", "oz", "ounce", "ounces", "lb", "lbs", "pound", "pounds", "pint", "pints", "pt",
    "quart", "quarts", "qt", "gal", "gallon", "gallons", "pinch", "pinches", "pn", "dash", "dashes",
    "ds", "can", "cans", "pkg", "pk", "package", "packages", "clove", "cloves", "slice", "slices",
    "stick", "sticks", "bunch", "bunches", "sprig", "sprigs", "head", "heads"};

std::string_view withoutFullStop(std::string_view word)
{
    if (word.size() > 1 && word.back() == '.') word.remove_suffix(1);
    return word;
}

// Units whose amounts a cook rounds on a scale or a jug rather than writing fractions.
enum class Rounding { Fractions, Fine, Decimal };

Rounding roundingOf(std::string_view unit)
{
    const std::string key = unitKey(unit);
    if (key == "g" || key == "gr" || key == "gram" || key == "ml" || key == "mg") {
        return Rounding::Fine;
    }
    if (key == "kg" || key == "l" || key == "liter" || key == "litre" || key == "cl" ||
        key == "hg") {
        return Rounding::Decimal;
    }
    return Rounding::Fractions;
}

std::string decimal(double value, int places, bool comma)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", places, value);
    std::string out(buffer);
    if (out.find('.') != std::string::npos) {
        while (out.back() == '0') out.pop_back();
        if (out.back() == '.') out.pop_back();
    }
    if (comma) {
        if (auto point = out.find('.'); point != std::string::npos) out[point] = ',';
    }
    return out;
}

std::string fractions(double value, bool comma)
{
    struct Part {
        double value;
        std::string_view text;
    };
    static constexpr Part kParts[] = {{0, ""},          {0.125, "1/8"}, {0.25, "1/4"},
                                      {1.0 / 3, "1/3"}, {0.5, "1/2"},   {2.0 / 3, "2/3"},
                                      {0.75, "3/4"},    {1, ""}};
    double whole = std::floor(value);
    const double rest = value - whole;
    const Part* best = &kParts[0];
    for (const Part& part : kParts) {
        if (std::abs(rest - part.value) < std::abs(rest - best->value)) best = &part;
    }
    // No fraction comes near: decimals say it better than a wrong fraction would.
    if (std::abs(rest - best->value) > 0.05) return decimal(value, 2, comma);
    if (best->value == 1) whole += 1;
    if (whole == 0 && best->text.empty()) return decimal(value, 2, comma);
    std::string out;
    if (whole > 0) out = decimal(whole, 0, false);
    if (!best->text.empty() && best->value != 1) {
        if (!out.empty()) out += ' ';
        out += best->text;
    }
    return out;
}

}  // namespace

bool isUnitWord(std::string_view word)
{
    const std::string key = text::toLower(withoutFullStop(word));
    for (std::string_view unit : kUnits) {
        if (key == unit) return true;
    }
    return false;
}

std::string unitKey(std::string_view unit)
{
    std::string key = text::toLower(withoutFullStop(unit));
    struct Alias {
        std::string_view from;
        std::string_view to;
    };
    static constexpr Alias kAliases[] = {
        {"cups", "cup"},
        {"c", "cup"},
        {"tbs", "tbsp"},
        {"tb", "tbsp"},
        {"tablespoon", "tbsp"},
        {"tablespoons", "tbsp"},
        {"ts", "tsp"},
        {"teaspoon", "tsp"},
        {"teaspoons", "tsp"},
        {"ounce", "oz"},
        {"ounces", "oz"},
        {"lbs", "lb"},
        {"pound", "lb"},
        {"pounds", "lb"},
        {"pints", "pint"},
        {"pt", "pint"},
        {"quarts", "quart"},
        {"qt", "quart"},
        {"gallon", "gal"},
        {"gallons", "gal"},
        {"pinches", "pinch"},
        {"pn", "pinch"},
        {"dashes", "dash"},
        {"ds", "dash"},
        {"cans", "can"},
        {"pk", "pkg"},
        {"package", "pkg"},
        {"packages", "pkg"},
        {"cloves", "clove"},
        {"slices", "slice"},
        {"sticks", "stick"},
        {"bunches", "bunch"},
        {"sprigs", "sprig"},
        {"heads", "head"},
        {"gr", "g"},
        {"gram", "g"},
        {"grams", "g"},
        {"liter", "l"},
        {"litre", "l"},
        {"burkar", "burk"},
        {"pkt", "paket"},
        {"klyftor", "klyfta"},
        {"skivor", "skiva"},
        {"kvistar", "kvist"},
    };
    for (const Alias& alias : kAliases) {
        if (key == alias.from) return std::string(alias.to);
    }
    return key;
}

std::optional<IngredientAmount> readIngredientAmount(std::string_view line)
{
    IngredientAmount amount;
    std::size_t i = 0;
    while (i < line.size() && isBlank(line[i])) ++i;
    amount.indent = line.substr(0, i);
    bool comma = false;
    auto value = readAmount(line, i, comma);
    if (!value || *value <= 0) return std::nullopt;
    amount.value = *value;
    amount.comma = comma;

    // A range: "2-3", "2 - 3", "2–3".
    {
        std::size_t j = i;
        while (j < line.size() && isBlank(line[j])) ++j;
        if (j < line.size() && (line[j] == '-' || line[j] == kEnDash)) {
            ++j;
            while (j < line.size() && isBlank(line[j])) ++j;
            bool upperComma = false;
            auto upper = readAmount(line, j, upperComma);
            if (upper && *upper > amount.value) {
                amount.upTo = *upper;
                amount.comma = amount.comma || upperComma;
                i = j;
            }
        }
    }

    // The unit: the next word when it is one, or letters glued to the number ("2dl").
    const bool glued = i < line.size() && isLetter(line[i]);
    std::size_t wordStart = i;
    while (wordStart < line.size() && isBlank(line[wordStart])) ++wordStart;
    std::size_t wordEnd = wordStart;
    while (wordEnd < line.size() && !isBlank(line[wordEnd])) ++wordEnd;
    const std::string_view word = line.substr(wordStart, wordEnd - wordStart);
    if (isUnitWord(word)) {
        amount.unit = word;
        i = wordEnd;
    } else if (glued) {
        // "3eggs", "2x", "E150": the number belongs to a word.
        return std::nullopt;
    }
    while (i < line.size() && isBlank(line[i])) ++i;
    amount.rest = line.substr(i);
    return amount;
}

std::string formatAmount(double value, std::string_view unit, bool comma)
{
    switch (roundingOf(unit)) {
    case Rounding::Fine: {
        double rounded;
        if (value >= 100) {
            rounded = std::round(value / 5) * 5;
        } else if (value >= 10) {
            rounded = std::round(value);
        } else {
            rounded = std::round(value * 2) / 2;
            if (rounded == 0) return decimal(value, 2, comma);
        }
        return decimal(rounded, 1, comma);
    }
    case Rounding::Decimal: {
        const double rounded = std::round(value * 20) / 20;
        if (rounded == 0) return decimal(value, 3, comma);
        return decimal(rounded, 2, comma);
    }
    case Rounding::Fractions: break;
    }
    return fractions(value, comma);
}

std::string scaleIngredientLine(std::string_view line, double factor)
{
    auto amount = readIngredientAmount(line);
    if (!amount || !(factor > 0) || !std::isfinite(factor)) return std::string(line);
    std::string out(amount->indent);
    out += formatAmount(amount->value * factor, amount->unit, amount->comma);
    if (amount->upTo) {
        out += '-';
        out += formatAmount(*amount->upTo * factor, amount->unit, amount->comma);
    }
    if (!amount->unit.empty()) {
        out += ' ';
        out += amount->unit;
    }
    if (!amount->rest.empty()) {
        out += ' ';
        out += amount->rest;
    }
    return out;
}

}  // namespace culvora::recipes
