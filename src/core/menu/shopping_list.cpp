#include "core/menu/shopping_list.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "core/menu/weekly_menu.h"
#include "core/recipes/amounts.h"
#include "core/recipes/printout.h"
#include "core/store/cookbook.h"
#include "core/text/text.h"

namespace culvora::menu {

namespace {

std::string_view trimmed(std::string_view s)
{
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// The ingredient as lines are compared: lower case, runs of blanks made one.
std::string ingredientKey(std::string_view text)
{
    std::string key;
    bool blank = false;
    for (char c : trimmed(text)) {
        if (c == ' ' || c == '\t') {
            blank = true;
            continue;
        }
        if (blank) key += ' ';
        blank = false;
        key += text::toLower(c);
    }
    return key;
}

// Lines with an amount of one ingredient in one unit, added up as they come.
struct Sum {
    std::string unit;  // as the first line wrote it
    std::string rest;  // likewise
    double low = 0;
    double high = 0;
    bool range = false;
    bool comma = false;
    int count = 0;
    std::string firstLine;  // a line that stands alone is listed as it was written
    std::string plural;     // a spelling of the unit other than its key ("cups" for "cup")
};

struct Entry {
    std::string ingredient;  // what the list is sorted by
    std::string text;
};

}  // namespace

bool isGroupHeading(std::string_view line)
{
    const std::string_view text = trimmed(line);
    if (text.empty() || text.ends_with(':')) return true;
    if (text.size() >= 2 && text.front() == '[' && text.back() == ']') return true;
    return text.starts_with("MMMMM") || text.starts_with("-----");
}

std::vector<std::string> shoppingList(const std::vector<DishIngredients>& dishes)
{
    // Per ingredient, per unit: the sum. An ingredient found in two units is listed per dish.
    std::map<std::string, std::map<std::string, Sum>> sums;
    struct Single {
        std::string ingredientKey;  // empty for a line without an amount
        std::string line;
        std::string dish;
    };
    std::vector<Single> lines;  // every line with an amount, with its dish, in order
    std::vector<Entry> entries;
    std::set<std::pair<std::string, std::string>> listedForDish;
    auto addForDish = [&](std::string_view line, const std::string& dish, std::string_view by) {
        if (!listedForDish.emplace(std::string(line), dish).second) return;
        entries.push_back({std::string(by), std::string(line) + " (" + dish + ")"});
    };

    for (const auto& dish : dishes) {
        for (const auto& raw : dish.lines) {
            if (isGroupHeading(raw)) continue;
            const std::string_view line = trimmed(raw);
            const auto amount = recipes::readIngredientAmount(line);
            if (!amount || trimmed(amount->rest).empty()) {
                addForDish(line, dish.name, line);
                continue;
            }
            const std::string key = ingredientKey(amount->rest);
            Sum& sum = sums[key][recipes::unitKey(amount->unit)];
            if (sum.count++ == 0) {
                sum.unit = std::string(amount->unit);
                sum.rest = std::string(trimmed(amount->rest));
                sum.firstLine = std::string(line);
            }
            if (sum.plural.empty() && recipes::unitKey(amount->unit) != amount->unit &&
                text::toLower(amount->unit) != recipes::unitKey(amount->unit) + ".") {
                sum.plural = std::string(amount->unit);
            }
            const double high = amount->upTo.value_or(amount->value);
            sum.low += amount->value;
            sum.high += high;
            sum.range = sum.range || amount->upTo.has_value();
            sum.comma = sum.comma || amount->comma;
            lines.push_back({key, std::string(line), dish.name});
        }
    }

    for (const auto& [key, units] : sums) {
        if (units.size() > 1) continue;  // listed per dish below
        const Sum& sum = units.begin()->second;
        std::string text;
        if (sum.count == 1) {
            text = sum.firstLine;
        } else {
            text = recipes::formatAmount(sum.low, sum.unit, sum.comma);
            if (sum.range) text += "-" + recipes::formatAmount(sum.high, sum.unit, sum.comma);
            // More than one of a unit is written as a line wrote more than one ("3 cups").
            const bool many = sum.high > 1;
            if (!sum.unit.empty())
                text += " " + (many && !sum.plural.empty() ? sum.plural : sum.unit);
            text += " " + sum.rest;
        }
        entries.push_back({sum.rest, std::move(text)});
    }
    for (const auto& single : lines) {
        const auto& units = sums[single.ingredientKey];
        if (units.size() > 1) addForDish(single.line, single.dish, units.begin()->second.rest);
    }

    // By the ingredient, then by the whole line: one order however the week was picked.
    std::vector<std::string> keys;
    keys.reserve(entries.size());
    for (const auto& entry : entries) {
        keys.push_back(text::collationKey(entry.ingredient) + '\x01' +
                       text::collationKey(entry.text));
    }
    std::vector<std::size_t> order(entries.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::ranges::stable_sort(order,
                             [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    std::vector<std::string> list;
    list.reserve(entries.size());
    for (std::size_t i : order) list.push_back(std::move(entries[i].text));
    return list;
}

Result<std::vector<std::string>> shoppingListOf(const ProgramFolder& folder,
                                                const std::string& cookbookFile,
                                                const std::vector<std::string>& dishes)
{
    auto content = folder.read(cookbookFile);
    if (!content) return std::unexpected(content.error());
    std::vector<DishIngredients> read;
    for (const auto& name : dishes) {
        if (name.empty() || name == kNoSuggestion) continue;
        auto record = store::parseRecord(*content, name);
        if (!record) {
            return fail(ErrorCode::NotFound,
                        "There is no recipe \"" + text::toUtf8(name) + "\" in the cookbook.");
        }
        read.push_back({name, text::splitLines(record->ingredients)});
    }
    return shoppingList(read);
}

print::PrintJob shoppingListPrintout(const std::vector<std::string>& list)
{
    std::vector<recipes::PrintedLine> lines = {
        {recipes::LineStyle::Heading, ""},
        {recipes::LineStyle::Heading, std::string(kShoppingListHeading)},
        {recipes::LineStyle::Heading, ""},
    };
    for (const auto& line : list) lines.push_back({recipes::LineStyle::Body, line});
    return recipes::printJob(lines);
}

}  // namespace culvora::menu
