#include "core/transfer/mealmaster_export.h"

#include <algorithm>
#include <array>
#include <optional>

#include "core/store/record_reader.h"
#include "core/text/text.h"
#include "core/transfer/mealmaster.h"

namespace culvora::transfer {

namespace {

constexpr std::string_view kHeader = "MMMMM----- Recipe via Meal-Master (tm) v8.05";
constexpr std::string_view kEnd = "MMMMM";
// The first form of the format, for a recipe without ingredients: there the first empty line
// after the yield ends the ingredients, even when none came before it.
constexpr std::string_view kClassicHeader = "---------- Recipe via Meal-Master (tm) v8.05";
constexpr std::string_view kClassicEnd = "-----";
constexpr std::size_t kAmountWidth = 7;
constexpr std::size_t kTextColumn = 11;  // from 0: column 12
// The widest ingredient line: well short of where a reader looks for a second column of
// ingredients.
constexpr std::size_t kLineWidth = 40;

// Meal-Master's unit codes, written in the unit column as they are.
constexpr std::array<std::string_view, 36> kUnitCodes = {
    "x",  "sm", "md", "lg", "cn", "pk", "pn", "dr", "ds", "ct", "bn", "sl",
    "ea", "t",  "ts", "T",  "tb", "fl", "c",  "pt", "qt", "ga", "oz", "lb",
    "ml", "cb", "cl", "dl", "l",  "mg", "cg", "dg", "g",  "kg", "Tb", "Ts",
};

std::string_view trimmed(std::string_view s)
{
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// Tabs would be spread to the next multiple of eight by a reader: one blank keeps the text.
// Other control characters carry nothing a cook reads, and DOS's end-of-file mark (0x1A) would
// end the file for a reader right there: they are left out.
std::string withoutTabs(std::string_view line)
{
    std::string out;
    out.reserve(line.size());
    for (char c : line) {
        if (c == '\t') {
            out += ' ';
        } else if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) {
            out += c;
        }
    }
    return out;
}

bool startsWithNoCase(std::string_view text, std::string_view word)
{
    if (text.size() < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (text::toLower(text[i]) != text::toLower(word[i])) return false;
    }
    return true;
}

// A line that a reader would take for the header of a new recipe gets "Meal Master" for its
// "Meal-Master".
std::string notAHeader(std::string line)
{
    const std::string_view text = trimmed(line);
    if (!text.starts_with("MMMMM") && !text.starts_with("-----")) return line;
    for (std::size_t at = 0; at + 11 <= line.size(); ++at) {
        if (startsWithNoCase(std::string_view(line).substr(at), "Meal-Master")) line[at + 4] = ' ';
    }
    return line;
}

bool isAmountToken(std::string_view token)
{
    return !token.empty() && token.find_first_not_of("0123456789/.-") == std::string_view::npos &&
           token.find_first_of("0123456789") != std::string_view::npos;
}

std::string_view nextToken(std::string_view s, std::size_t& pos)
{
    while (pos < s.size() && s[pos] == ' ') ++pos;
    const std::size_t start = pos;
    while (pos < s.size() && s[pos] != ' ') ++pos;
    return s.substr(start, pos - start);
}

std::string foldBlanks(std::string_view s)
{
    std::string out;
    bool blank = false;
    for (char c : trimmed(s)) {
        if (c == ' ') {
            blank = true;
            continue;
        }
        if (blank) out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

// The line in the columns, when it reads as an amount, an optional unit code and a text that
// the columns give back as written (blanks aside): "      2 dl milk", "  1 1/2 c  flour".
std::optional<std::string> inColumns(std::string_view line)
{
    std::size_t pos = 0;
    std::string amount(nextToken(line, pos));
    if (!isAmountToken(amount)) return std::nullopt;
    std::size_t afterAmount = pos;
    // "1 1/2": a whole number and a fraction.
    if (std::size_t look = pos; amount.find('/') == std::string::npos) {
        const std::string_view fraction = nextToken(line, look);
        if (fraction.find('/') != std::string_view::npos && isAmountToken(fraction) &&
            amount.size() + 1 + fraction.size() <= kAmountWidth) {
            amount += ' ';
            amount += fraction;
            afterAmount = look;
        }
    }
    if (amount.size() > kAmountWidth) return std::nullopt;
    pos = afterAmount;
    std::size_t look = pos;
    std::string_view unit = nextToken(line, look);
    if (std::ranges::find(kUnitCodes, unit) != kUnitCodes.end()) {
        pos = look;
    } else {
        unit = {};
    }
    const std::string_view rest = trimmed(line.substr(pos));
    if (rest.empty() || rest.front() == '-') return std::nullopt;
    std::string out(kAmountWidth - amount.size(), ' ');
    out += amount;
    out += ' ';
    out += unit;
    out.append(2 - unit.size() + 1, ' ');
    out += rest;
    if (foldBlanks(out) != foldBlanks(line)) return std::nullopt;
    return out;
}

// A line of the text column: blanks up to column 12. A text that begins with "-" would read
// as a continuation there, so it begins in the first column after one blank.
std::string inTextColumn(std::string_view text)
{
    if (text.front() == '-') return " " + std::string(text);
    return std::string(kTextColumn, ' ') + std::string(text);
}

// The line, broken at single blanks into pieces of at most kLineWidth characters, the pieces
// after the first as continuation lines ("-" in column 12); the reader joins them with one
// blank. A word longer than that goes whole on its line; a text without such a blank stays
// whole.
void addWrapped(std::vector<std::string>& out, std::string line)
{
    while (line.size() > kLineWidth) {
        // Never inside the amount and unit columns: the text from column 12 is what goes on.
        const std::size_t least = line.front() == ' ' ? kTextColumn + 1 : 1;
        // Not before a "-": "-" and the piece could read as a group heading ("-----").
        const auto breaksAt = [&line](std::size_t at) {
            return line[at] == ' ' && line[at - 1] != ' ' && at + 1 < line.size() &&
                   line[at + 1] != ' ' && line[at + 1] != '-';
        };
        std::size_t cut = std::string::npos;
        for (std::size_t at = kLineWidth; at > least && cut == std::string::npos; --at) {
            if (breaksAt(at)) cut = at;
        }
        for (std::size_t at = kLineWidth + 1; at < line.size() && cut == std::string::npos; ++at) {
            if (breaksAt(at)) cut = at;
        }
        if (cut == std::string::npos) break;
        out.push_back(line.substr(0, cut));
        line = std::string(kTextColumn, ' ') + "-" + line.substr(cut + 1);
    }
    out.push_back(std::move(line));
}

bool isGroupHeadingLine(std::string_view text)
{
    return text.size() >= 6 && (text.starts_with("MMMMM-") || text.starts_with("-----"));
}

std::vector<std::string> ingredientLines(std::string_view ingredients)
{
    std::vector<std::string> lines;
    for (auto raw : text::splitLineViews(ingredients)) {
        lines.push_back(notAHeader(std::string(trimmed(withoutTabs(raw)))));
    }
    std::vector<std::string> out;
    bool any = false;
    bool blankBefore = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& text = lines[i];
        if (text.empty()) {
            blankBefore = any;
            continue;
        }
        const auto columns = inColumns(text);
        // A blank line between groups stays only where a reader goes on with the ingredients
        // after it: before an ingredient with an amount or a group heading.
        if (blankBefore && (columns || isGroupHeadingLine(text))) out.emplace_back();
        blankBefore = false;
        any = true;
        addWrapped(out, columns ? *columns : inTextColumn(text));
    }
    return out;
}

std::string cp850Of(std::string_view cp1252, int& replaced)
{
    const std::string utf8 = text::toUtf8(cp1252);
    std::string out;
    out.reserve(cp1252.size());
    // Windows-1252 → Unicode (through UTF-8) → code page 850.
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const auto first = static_cast<unsigned char>(utf8[pos]);
        char32_t c = first;
        int length = 1;
        if (first >= 0xF0) {
            c = first & 0x07, length = 4;
        } else if (first >= 0xE0) {
            c = first & 0x0F, length = 3;
        } else if (first >= 0xC0) {
            c = first & 0x1F, length = 2;
        }
        for (int i = 1; i < length && pos + static_cast<std::size_t>(i) < utf8.size(); ++i) {
            c = (c << 6) |
                (static_cast<unsigned char>(utf8[pos + static_cast<std::size_t>(i)]) & 0x3F);
        }
        pos += static_cast<std::size_t>(length);
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        const auto at = std::ranges::find(kCp850, c);
        if (at != kCp850.end()) {
            out += static_cast<char>(0x80 + (at - kCp850.begin()));
        } else {
            out += '?';
            ++replaced;
        }
    }
    return out;
}

}  // namespace

std::string mealMasterRecipe(const store::RecipeRecord& record)
{
    std::vector<std::string> ingredients = ingredientLines(record.ingredients);
    const bool classic = ingredients.empty();
    std::vector<std::string> lines;
    lines.emplace_back(classic ? kClassicHeader : kHeader);
    lines.emplace_back();
    lines.push_back("      Title: " + notAHeader(std::string(trimmed(withoutTabs(record.name)))));
    lines.push_back(" Categories: " + std::string(trimmed(withoutTabs(record.type))));
    const std::string servings(trimmed(withoutTabs(record.servings)));
    lines.push_back(classic ? "      Yield: " + servings : "   Servings: " + servings);
    lines.emplace_back();
    if (classic) lines.emplace_back();
    for (auto& line : ingredients) lines.push_back(std::move(line));
    if (!classic) lines.emplace_back();
    for (auto raw : text::splitLineViews(record.instructions)) {
        std::string line = notAHeader(std::string(trimmed(withoutTabs(raw))));
        // "MMMMM" or "-----" alone would end the recipe: a blank before it keeps it a line.
        if (line == "MMMMM" || line == "-----") line.insert(line.begin(), ' ');
        lines.push_back(std::move(line));
    }
    lines.emplace_back(classic ? kClassicEnd : kEnd);
    lines.emplace_back();
    return text::joinLines(lines);
}

MealMasterExport exportMealMaster(const std::vector<store::RecipeRecord>& records,
                                  ExportEncoding encoding)
{
    MealMasterExport exported;
    std::string text;
    for (const auto& record : records) {
        text += mealMasterRecipe(record);
        ++exported.recipes;
    }
    exported.bytes =
        encoding == ExportEncoding::Utf8 ? text::toUtf8(text) : cp850Of(text, exported.replaced);
    return exported;
}

Result<std::vector<store::RecipeRecord>> recordsForExport(const ProgramFolder& folder,
                                                          const std::string& cookbookFile,
                                                          const std::vector<std::string>& names)
{
    auto content = folder.read(cookbookFile);
    if (!content) return std::unexpected(content.error());
    std::vector<store::RecipeRecord> records;
    if (names.empty()) {
        store::RecordReader reader(*content);
        while (auto record = reader.next()) records.push_back(store::toRecipeRecord(*record));
        return records;
    }
    for (const auto& name : names) {
        auto record = store::parseRecord(*content, name);
        if (!record) {
            return fail(ErrorCode::NotFound,
                        "There is no recipe \"" + text::toUtf8(name) + "\" in the cookbook.");
        }
        records.push_back(std::move(*record));
    }
    return records;
}

std::string exportedMessage(const MealMasterExport& exported)
{
    std::string message = std::to_string(exported.recipes) +
                          (exported.recipes == 1 ? " recipe exported." : " recipes exported.");
    if (exported.replaced > 0) {
        message += " " + std::to_string(exported.replaced) +
                   (exported.replaced == 1
                        ? " character that code page 850 lacks was written as \"?\"."
                        : " characters that code page 850 lacks were written as \"?\".");
    }
    return message;
}

}  // namespace culvora::transfer
