#include "core/exchange/exchange_formats.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "core/store/cookbook.h"
#include "core/text/text.h"

namespace culvora::exchange {

namespace {

std::string quoted(std::string_view cp1252)
{
    return "\"" + text::toUtf8(cp1252) + "\"";
}

// VB's Mid: the piece of s from the 1-based position, at most `length` characters, empty past
// the end.
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

std::optional<std::string> exchangeRecord(std::string_view cookbookContent, std::string_view name)
{
    auto lines = store::recordLines(cookbookContent, name);
    if (!lines) return std::nullopt;
    return std::string(store::kTagName) + std::string(text::kCrLf) + *lines;
}

std::expected<ExchangeRecipe, std::string> parseExchangeRecord(std::string_view content)
{
    if (content.find('\0') != std::string_view::npos) return notARecipe("it holds binary data");
    const std::vector<std::string_view> lines = text::splitLineViews(content);
    if (lines.empty()) return notARecipe("it is empty");
    if (lines[0] != store::kTagName) return notARecipe("it does not begin with [NAMN]");
    const std::string_view tags[] = {store::kTagServings, store::kTagTime, store::kTagIngredients};
    if (lines.size() < 8) return notARecipe("it ends before its ingredients");
    if (lines[1].empty()) return notARecipe("the recipe has no name");
    for (std::size_t i = 0; i < 3; ++i) {
        if (lines[2 + 2 * i] != tags[i]) {
            return notARecipe("the line " + text::toUtf8(tags[i]) + " is missing");
        }
    }
    ExchangeRecipe recipe;
    recipe.name = std::string(lines[1]);
    std::size_t i = 7;
    for (; i < lines.size() && !lines[i].starts_with("[G"); ++i) {
        if (lines[i] == store::kTagName) return notARecipe("it holds more than one recipe");
        if (!lines[i].empty()) recipe.ingredients.emplace_back(lines[i]);
    }
    if (i >= lines.size()) return notARecipe("it ends inside the ingredients");
    for (++i; i < lines.size() && lines[i] != store::kTagType; ++i) {
        if (lines[i] == store::kTagName) return notARecipe("it holds more than one recipe");
    }
    if (i + 1 >= lines.size()) return notARecipe("it ends before its type");
    // The type line itself too: a type reading "[NAMN]" would start a second record.
    for (++i; i < lines.size(); ++i) {
        if (lines[i] == store::kTagName) return notARecipe("it holds more than one recipe");
    }
    for (std::size_t k = 1; k < lines.size(); ++k) {
        recipe.lines += lines[k];
        recipe.lines += text::kCrLf;
    }
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
    for (const auto& existing : store::listNames(cookbookContent)) {
        if (existing == name) return true;
    }
    return false;
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
    const std::vector<std::string_view> lines = text::splitLineViews(content);
    auto stop = [&](std::string problem) {
        list.complete = false;
        list.problem = std::move(problem);
        return list;
    };
    std::size_t i = 1;
    if (!lines.empty() && lines[0] == "<") {
        for (; i < lines.size(); ++i) {
            list.message += lines[i];
            list.message += '\r';
            if (lines[i] == ">") break;
        }
        ++i;
    }
    int parent = 0;
    for (; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
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
        const auto bar = line.find('|', 2);
        if (bar == std::string_view::npos) {
            return stop("the line \"" + text::toUtf8(line) + "\" has no \"|\"");
        }
        if (kind == CategoryKind::Child && parent == 0) {
            return stop("the subcategory \"" + text::toUtf8(line) + "\" comes before any category");
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
    const std::vector<std::string_view> lines = text::splitLineViews(content);
    std::size_t i = 0;
    while (i < lines.size() && lines[i] != "/begin") ++i;
    if (i >= lines.size()) {
        index.complete = false;
        return index;
    }
    for (++i; i < lines.size() && lines[i] != "/end"; ++i) {
        const auto bar = lines[i].find('|');
        if (bar == std::string_view::npos) {
            index.complete = false;
            break;
        }
        const std::string_view stem = lines[i].substr(bar + 1);
        index.recipes.push_back(
            {std::string(lines[i].substr(0, bar)), std::string(stem), stampText(stem)});
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
