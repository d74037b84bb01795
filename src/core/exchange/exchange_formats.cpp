#include "core/exchange/exchange_formats.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "core/store/cookbook.h"
#include "core/store/record_reader.h"
#include "core/text/text.h"

namespace culvora::exchange {

namespace {

std::string quoted(std::string_view cp1252)
{
    return text::quotedForMessage(cp1252);
}

// The piece of s from the 1-based position, at most `length` characters; empty when the
// position lies past the end.
std::string_view mid(std::string_view s, std::size_t position, std::size_t length)
{
    if (position - 1 >= s.size()) return {};
    return s.substr(position - 1, length);
}

std::unexpected<std::string> notARecipe(std::string why)
{
    return std::unexpected(std::move(why));
}

}  // namespace

LocalTime localNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

std::string exchangeFileName(const LocalTime& t)
{
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d%02d%02d%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return stamp + std::string(kExchangeExtension);
}

std::optional<std::string> exchangeRecord(std::string_view cookbookContent, std::string_view name,
                                          std::size_t occurrence)
{
    auto record = store::findRecord(cookbookContent, store::RecordKey{name, occurrence});
    if (!record) return std::nullopt;
    const std::string_view lines =
        cookbookContent.substr(record->nameStart, record->end - record->nameStart);
    std::string out;
    out.reserve(lines.size() + 16);
    out += store::kTagName;
    out += text::kCrLf;
    store::appendNormalised(out, lines);
    return out;
}

std::expected<ExchangeRecipe, std::string> parseExchangeRecord(std::string_view content)
{
    if (content.find('\0') != std::string_view::npos) return notARecipe("it holds binary data");
    text::LineReader first(content);
    const auto firstLine = first.next();
    if (!firstLine) return notARecipe("it is empty");
    if (*firstLine != store::kTagName) return notARecipe("it does not begin with [NAMN]");

    store::RecordReader reader(content);
    const auto record = reader.next();
    const bool more = reader.next().has_value() || reader.endedOnLoneTag();
    if (!record || !record->ingredients.present) {
        return notARecipe(more ? "it holds more than one recipe"
                               : "it ends before its ingredients");
    }
    if (record->name.empty()) return notARecipe("the recipe has no name");
    // The head as the program writes it: each tag on its own line, in its place.
    const std::string_view tags[] = {store::kTagServings, store::kTagTime, store::kTagIngredients};
    std::size_t at = 0;
    for (std::string_view line : record->head) {
        if (at % 2 == 0 && line != tags[at / 2]) {
            return notARecipe("the line " + text::toUtf8(tags[at / 2]) + " is missing");
        }
        ++at;
    }
    if (at != 5) return notARecipe("the line " + text::toUtf8(tags[at / 2]) + " is missing");
    if (!record->ingredients.endLine) {
        return notARecipe(more ? "it holds more than one recipe"
                               : "it ends inside the ingredients");
    }
    if (!record->instructions.present) {
        return notARecipe("the line " + text::toUtf8(store::kTagInstructions) + " is missing");
    }
    if (!record->hasType) {
        return notARecipe(more ? "it holds more than one recipe" : "it ends before its type");
    }
    // A "[NAMN]" anywhere after the name, the type line included, would start a second record.
    if (more) return notARecipe("it holds more than one recipe");

    ExchangeRecipe recipe;
    recipe.name = std::string(record->name);
    for (std::string_view line : record->ingredients.lines) {
        if (!line.empty()) recipe.ingredients.emplace_back(line);
    }
    const std::string_view lines = content.substr(record->nameStart);
    recipe.lines.reserve(lines.size() + 2);
    store::appendNormalised(recipe.lines, lines);
    return recipe;
}

Result<ExchangeRecipe> readExchangeFile(std::string_view content)
{
    auto recipe = parseExchangeRecord(content);
    if (!recipe) {
        return fail(ErrorCode::Invalid,
                    "The recipe file from the server is not one complete recipe (" +
                        recipe.error() + "). Nothing was added to the cookbook.");
    }
    return std::move(*recipe);
}

std::string renamedRecord(const ExchangeRecipe& recipe, std::string_view newName)
{
    const std::size_t afterName = recipe.lines.find(text::kCrLf);
    return std::string(newName) + recipe.lines.substr(afterName);
}

bool nameTaken(std::string_view cookbookContent, std::string_view name)
{
    return store::findRecord(cookbookContent, store::RecordKey{name}).has_value();
}

Result<void> checkServerName(std::string_view cp1252Name, std::string_view what)
{
    bool plain = !cp1252Name.empty() &&
                 cp1252Name.find_first_of("/\\:") == std::string_view::npos &&
                 cp1252Name.find("..") == std::string_view::npos;
    for (char c : cp1252Name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) plain = false;
    }
    if (plain) return {};
    return fail(ErrorCode::Invalid, "The server named a " + std::string(what) + " " +
                                        quoted(cp1252Name) +
                                        " that is not a plain name, so nothing was fetched.");
}

CategoryList parseNetwork(std::string_view content)
{
    CategoryList list;
    text::LineReader reader(content);
    auto stop = [&](std::string problem) {
        list.complete = false;
        list.problem = std::move(problem);
        return list;
    };
    // The first line is only compared with "<"; anything else there is passed over.
    if (auto first = reader.next(); first && *first == "<") {
        while (auto line = reader.next()) {
            if (*line == ">" || list.message.size() + line->size() < kMaxMessageChars) {
                list.message += *line;
                list.message += '\r';
            }
            if (*line == ">") break;
        }
    }
    int parent = 0;
    while (auto next = reader.next()) {
        const std::string_view line = *next;
        if (line == "/end") return list;
        CategoryKind kind;
        if (line.starts_with("#!")) {
            kind = CategoryKind::Parent;
        } else if (line.starts_with("##")) {
            kind = CategoryKind::Child;
        } else if (line.starts_with("# ")) {
            kind = CategoryKind::Top;
        } else {
            continue;
        }
        if (line.size() > kMaxIndexLine) {
            return stop("the line " + text::quotedForMessage(line) + " is " +
                        std::to_string(line.size()) + " characters long, longer than any " +
                        "category can be");
        }
        const auto bar = line.find('|', 2);
        if (bar == std::string_view::npos) {
            return stop("the line " + text::quotedForMessage(line) + " has no \"|\"");
        }
        if (kind == CategoryKind::Child && parent == 0) {
            return stop("the subcategory " + text::quotedForMessage(line) +
                        " comes before any category");
        }
        if (list.categories.size() >= static_cast<std::size_t>(kMaxCategories)) {
            return stop("there are more than " + std::to_string(kMaxCategories) + " categories");
        }
        list.categories.push_back({kind, std::string(line.substr(2, bar - 2)),
                                   std::string(line.substr(bar + 1)),
                                   kind == CategoryKind::Child ? parent : 0});
        if (kind == CategoryKind::Parent) parent = static_cast<int>(list.categories.size());
    }
    return stop("the list ends before \"/end\"");
}

RecipeIndexFile parseNetIndex(std::string_view content)
{
    RecipeIndexFile index;
    text::LineReader reader(content);
    std::optional<std::string_view> line;
    while ((line = reader.next()) && *line != "/begin") {}
    if (!line) {
        index.complete = false;
        return index;
    }
    while ((line = reader.next()) && *line != "/end") {
        const auto bar = line->find('|');
        if (bar == std::string_view::npos || line->size() > kMaxIndexLine ||
            index.recipes.size() >= kMaxIndexEntries) {
            index.complete = false;
            break;
        }
        const std::string_view stem = line->substr(bar + 1);
        index.recipes.push_back(
            {std::string(line->substr(0, bar)), std::string(stem), stampText(stem)});
    }
    return index;
}

std::string stampText(std::string_view stem)
{
    std::string out;
    out += mid(stem, 1, 4);
    out += '-';
    out += mid(stem, 5, 2);
    out += '-';
    out += mid(stem, 7, 2);
    out += "  ";
    out += mid(stem, 9, 2);
    out += ':';
    out += mid(stem, 11, 2);
    out += ':';
    out += mid(stem, 13, 2);
    return out;
}

std::string netIndexLine(std::string_view name, std::string_view stem)
{
    return std::string(name) + "|" + std::string(stem);
}

}  // namespace culvora::exchange
