#include "core/drinks/drinks.h"

#include <algorithm>
#include <array>

#include "core/recipes/recipe_edit.h"
#include "core/text/text.h"

namespace culvora::drinks {

namespace {

using text::LineReader;

constexpr std::array<std::string_view, GlassFilter::kGlassCount> kPictures = {
    "inget.bmp",    "Beer.bmp",    "Brandy.bmp",  "Champ.bmp",    "Cocktail.bmp",
    "Coffecup.bmp", "Collins.bmp", "Cordial.bmp", "Highball.bmp", "Oldfash.bmp",
    "Pousse.bmp",   "Punch.bmp",   "Shot.bmp",    "Sour.bmp",     "Wine.bmp"};

std::string quoted(std::string_view cp1252)
{
    return "\"" + text::toUtf8(cp1252) + "\"";
}

// Where the first name line equal to the name starts, and where the line after it starts, in
// content whose lines all end with CR LF.
struct Found {
    std::size_t nameStart = 0;
    std::size_t afterName = 0;
};

std::optional<Found> findName(std::string_view content, std::string_view name)
{
    LineReader reader(content);
    bool afterTag = false;
    for (;;) {
        const std::size_t start = reader.position();
        auto line = reader.next();
        if (!line) return std::nullopt;
        if (afterTag && *line == name) return Found{start, reader.position()};
        afterTag = !afterTag && *line == kTagName;
    }
}

// Lines as a file holds them, each followed by CR LF.
std::string normalised(std::string_view content)
{
    std::string out;
    out.reserve(content.size() + 2);
    LineReader reader(content);
    while (auto line = reader.next()) {
        out += *line;
        out += text::kCrLf;
    }
    return out;
}

bool endsWithLoneTag(std::string_view content)
{
    LineReader reader(content);
    bool awaitingName = false;
    while (auto line = reader.next()) awaitingName = !awaitingName && *line == kTagName;
    return awaitingName;
}

// Offset of the next "[NAMN]" line at or after `from`, or npos.
std::size_t nextTag(std::string_view content, std::size_t from)
{
    LineReader reader(content.substr(from));
    for (;;) {
        const std::size_t start = reader.position();
        auto line = reader.next();
        if (!line) return std::string_view::npos;
        if (*line == kTagName) return from + start;
    }
}

std::string boxLinesToFile(std::string_view box)
{
    // A box's text, written unchanged and followed by one line end.
    std::string out;
    const auto lines = text::splitLineViews(box);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) out += text::kCrLf;
        out += lines[i];
    }
    if (!box.empty() && (box.back() == '\n' || box.back() == '\r')) out += text::kCrLf;
    return out + std::string(text::kCrLf);
}

Error notFound(std::string_view name)
{
    return Error{ErrorCode::NotFound, "The drink " + quoted(name) +
                                          " is not in the drinks file any more; nothing was "
                                          "changed."};
}

}  // namespace

int glassIndex(std::string_view line)
{
    for (int i = 0; i < GlassFilter::kGlassCount; ++i) {
        if (line == GlassFilter::kGlassNames[static_cast<std::size_t>(i)]) return i;
    }
    if (line == "Coffeecup") return 5;
    if (line == "(Inget)") return 0;
    return -1;
}

std::string_view glassPicture(int index)
{
    if (index < 0 || index >= GlassFilter::kGlassCount) return {};
    return kPictures[static_cast<std::size_t>(index)];
}

DrinkList listDrinks(std::string_view content, const GlassFilter* filter)
{
    DrinkList list;
    LineReader reader(content);
    std::optional<std::string> pending;  // a name waiting for its glass (filtered lists)
    bool afterTag = false;
    bool glassNext = false;
    while (auto line = reader.next()) {
        if (afterTag) {
            afterTag = false;
            if (!filter || filter->noFilter()) {
                list.names.emplace_back(*line);
            } else {
                pending = std::string(*line);
            }
            continue;
        }
        if (glassNext) {
            glassNext = false;
            // A "[NAMN]" where the glass belongs starts the next drink, as it does for the
            // unfiltered list: both lists must agree on which lines are names.
            if (*line != kTagName) {
                const int glass = glassIndex(*line);
                if (pending && glass >= 0 && filter->isChecked(glass)) {
                    list.names.push_back(*pending);
                }
                pending.reset();
                continue;
            }
        }
        if (*line == kTagName) {
            afterTag = true;
            pending.reset();
        } else if (*line == kTagGlass && pending) {
            glassNext = true;
        }
    }
    list.endsWithLoneTag = afterTag;
    return list;
}

std::optional<Drink> readDrink(std::string_view content, std::string_view name)
{
    const std::string normal = normalised(content);
    auto found = findName(normal, name);
    if (!found) return std::nullopt;
    Drink drink;
    drink.name = std::string(name);
    LineReader reader(std::string_view(normal).substr(found->afterName));
    enum class Part { Ingredients, Instructions, Glass, Done } part = Part::Ingredients;
    while (part != Part::Done) {
        auto line = reader.next();
        // A record never reads into the next one.
        if (!line || *line == kTagName) break;
        switch (part) {
        case Part::Ingredients:
            if (line->starts_with("[G")) {
                part = Part::Instructions;
            } else {
                drink.ingredients += *line;
                drink.ingredients += text::kCrLf;
            }
            break;
        case Part::Instructions:
            if (*line == kTagGlass) {
                part = Part::Glass;
            } else {
                drink.instructions += *line;
                drink.instructions += text::kCrLf;
            }
            break;
        case Part::Glass:
            drink.glass = std::string(*line);
            part = Part::Done;
            break;
        case Part::Done: break;
        }
    }
    return drink;
}

Result<void> checkDrink(std::string_view name, std::string_view ingredients,
                        std::string_view instructions, std::string_view glass)
{
    if (name.empty()) return fail(ErrorCode::Invalid, text::toUtf8(kNoNameMessage));
    for (auto [what, value] :
         {std::pair<std::string_view, std::string_view>{"name", name}, {"glass", glass}}) {
        if (value.find_first_of("\r\n") != std::string_view::npos) {
            return fail(ErrorCode::Invalid,
                        "The drink's " + std::string(what) + " must be one line.");
        }
        if (value == kTagName || value == kTagGlass || value == kTagInstructions) {
            return fail(ErrorCode::Invalid, "The drink's " + std::string(what) + " cannot be " +
                                                quoted(value) +
                                                ": the drinks file uses it as a marker.");
        }
    }
    auto checkBox = [](std::string_view field, std::string_view box,
                       bool ingredientBox) -> Result<void> {
        for (auto line : text::splitLineViews(box)) {
            const bool marker = line == kTagName || line == kTagGlass ||
                                (ingredientBox ? line.starts_with("[G") : line == kTagInstructions);
            if (!marker) continue;
            return fail(ErrorCode::Invalid,
                        "The line " + quoted(line) + " in the " + std::string(field) +
                            " would be read as one of the drinks file's markers and break the "
                            "drink apart. Please change that line.");
        }
        return {};
    };
    if (auto ok = checkBox("ingredients", ingredients, true); !ok) return ok;
    return checkBox("mixing instructions", instructions, false);
}

std::string withAppendedDrink(std::string_view content, std::string_view name,
                              std::string_view ingredients, std::string_view instructions,
                              std::string_view glass)
{
    std::string out(content);
    if (!out.empty() && out.back() != '\n' && out.back() != '\r') out += text::kCrLf;
    if (!endsWithLoneTag(out)) {
        out += kTagName;
        out += text::kCrLf;
    }
    out += name;
    out += text::kCrLf;
    out += boxLinesToFile(ingredients);
    out += kTagInstructions;
    out += text::kCrLf;
    out += boxLinesToFile(instructions);
    out += kTagGlass;
    out += text::kCrLf;
    out += glass;
    out += text::kCrLf;
    return out;
}

std::optional<std::string> withReplacedBody(std::string_view content, std::string_view name,
                                            const Drink& body)
{
    const std::string normal = normalised(content);
    auto found = findName(normal, name);
    if (!found) return std::nullopt;
    std::string out = normal.substr(0, found->afterName);
    out += body.ingredients;
    out += kTagInstructions;
    out += text::kCrLf;
    out += body.instructions;
    out += kTagGlass;
    out += text::kCrLf;
    out += body.glass;
    out += text::kCrLf;
    const std::size_t rest = nextTag(normal, found->afterName);
    if (rest != std::string_view::npos) out.append(normal, rest);
    return out;
}

std::optional<std::string> withDeletedDrink(std::string_view content, std::string_view name)
{
    const std::string normal = normalised(content);
    auto found = findName(normal, name);
    if (!found) return std::nullopt;
    // The deleted drink's own "[NAMN]" stays and heads what follows the next one.
    std::string out = normal.substr(0, found->nameStart);
    const std::size_t next = nextTag(normal, found->afterName);
    if (next != std::string_view::npos)
        out.append(normal, next + kTagName.size() + text::kCrLf.size());
    return out;
}

Result<std::string> readDrinksFile(const ProgramFolder& folder)
{
    return folder.readOrEmpty(kDrinksFile);
}

Result<Drink> loadDrink(const ProgramFolder& folder, std::string_view name)
{
    auto content = readDrinksFile(folder);
    if (!content) return std::unexpected(content.error());
    auto drink = readDrink(*content, name);
    if (!drink) return std::unexpected(notFound(name));
    return *drink;
}

Result<void> appendDrink(const ProgramFolder& folder, std::string_view name,
                         std::string_view ingredients, std::string_view instructions,
                         std::string_view glass)
{
    if (auto ok = checkDrink(name, ingredients, instructions, glass); !ok) return ok;
    auto lock = FolderLock::acquire(folder);
    if (!lock) return std::unexpected(lock.error());
    auto content = readDrinksFile(folder);
    if (!content) return std::unexpected(content.error());
    return folder.write(kDrinksFile,
                        withAppendedDrink(*content, name, ingredients, instructions, glass),
                        kDrinksTemp);
}

Result<void> saveEditedDrink(const ProgramFolder& folder, const Drink& loaded,
                             std::string_view ingredients, std::string_view instructions,
                             std::string_view glass)
{
    if (auto ok = checkDrink(loaded.name, ingredients, instructions, glass); !ok) return ok;
    Drink body{loaded.name, recipes::readForm(ingredients, loaded.ingredients),
               recipes::readForm(instructions, loaded.instructions), std::string(glass)};
    auto lock = FolderLock::acquire(folder);
    if (!lock) return std::unexpected(lock.error());
    auto content = readDrinksFile(folder);
    if (!content) return std::unexpected(content.error());
    auto changed = withReplacedBody(*content, loaded.name, body);
    if (!changed) return std::unexpected(notFound(loaded.name));
    return folder.write(kDrinksFile, *changed, kDrinksTemp);
}

Result<void> deleteDrink(const ProgramFolder& folder, std::string_view name)
{
    auto lock = FolderLock::acquire(folder);
    if (!lock) return std::unexpected(lock.error());
    auto content = readDrinksFile(folder);
    if (!content) return std::unexpected(content.error());
    auto changed = withDeletedDrink(*content, name);
    if (!changed) return std::unexpected(notFound(name));
    return folder.write(kDrinksFile, *changed, kDrinksTemp);
}

}  // namespace culvora::drinks
