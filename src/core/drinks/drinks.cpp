#include "core/drinks/drinks.h"

#include <algorithm>
#include <array>

#include "core/recipes/recipe_edit.h"
#include "core/store/bin.h"
#include "core/store/record_reader.h"
#include "core/text/text.h"

namespace culvora::drinks {

namespace {

constexpr std::array<std::string_view, GlassFilter::kGlassCount> kPictures = {
    "inget.bmp",    "Beer.bmp",    "Brandy.bmp",  "Champ.bmp",    "Cocktail.bmp",
    "Coffecup.bmp", "Collins.bmp", "Cordial.bmp", "Highball.bmp", "Oldfash.bmp",
    "Pousse.bmp",   "Punch.bmp",   "Shot.bmp",    "Sour.bmp",     "Wine.bmp"};

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
    return Error{ErrorCode::NotFound, "The drink " + text::quotedForMessage(name) +
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
    const bool all = !filter || filter->noFilter();
    store::RecordReader reader(content, store::RecordFormat::Drinks);
    while (auto drink = reader.next()) {
        if (!all) {
            const int glass = glassIndex(drink->glass());
            if (glass < 0 || !filter->isChecked(glass)) continue;
        }
        list.names.emplace_back(drink->name);
    }
    list.endsWithLoneTag = reader.endedOnLoneTag();
    return list;
}

std::optional<Drink> readDrink(std::string_view content, std::string_view name)
{
    auto record = store::findRecord(content, store::RecordKey{name}, store::RecordFormat::Drinks);
    if (!record) return std::nullopt;
    return Drink{std::string(record->name), store::joinedLines(record->ingredients.lines),
                 store::joinedLines(record->instructions.lines), std::string(record->glass())};
}

Result<std::string> drinkText(std::string_view utf8)
{
    auto cp1252 = text::fromUtf8(utf8);
    if (cp1252) return cp1252;
    // The conversion's refusal is worded for the recipes; a drink goes to the drinks file.
    Error refused = std::move(cp1252.error());
    constexpr std::string_view kRecipeFiles = "the cookbook files hold";
    if (const auto at = refused.message.find(kRecipeFiles); at != std::string::npos) {
        refused.message.replace(at, kRecipeFiles.size(), "the drinks file holds");
    }
    return std::unexpected(std::move(refused));
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
                                                text::quotedForMessage(value) +
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
                        "The line " + text::quotedForMessage(line) + " in the " +
                            std::string(field) +
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
    std::string out;
    out.reserve(content.size() + name.size() + ingredients.size() + instructions.size() +
                glass.size() + 32);
    out += content;
    if (!out.empty() && out.back() != '\n' && out.back() != '\r') out += text::kCrLf;
    if (!store::endsWithLoneTag(out, store::RecordFormat::Drinks)) {
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
    auto found = store::findRecord(content, store::RecordKey{name}, store::RecordFormat::Drinks);
    if (!found) return std::nullopt;
    std::string out;
    out.reserve(content.size() + body.ingredients.size() + body.instructions.size() +
                body.glass.size() + 32);
    store::appendNormalised(out, content.substr(0, found->bodyStart));
    out += body.ingredients;
    out += kTagInstructions;
    out += text::kCrLf;
    out += body.instructions;
    out += kTagGlass;
    out += text::kCrLf;
    out += body.glass;
    out += text::kCrLf;
    store::appendNormalised(out, content.substr(found->end));
    return out;
}

std::optional<std::string> withDeletedDrink(std::string_view content, std::string_view name)
{
    auto found = store::findRecord(content, store::RecordKey{name}, store::RecordFormat::Drinks);
    if (!found) return std::nullopt;
    // The deleted drink's own "[NAMN]" stays and heads what follows the next one.
    std::string out;
    out.reserve(content.size() + 2);
    store::appendNormalised(out, content.substr(0, found->nameStart));
    if (found->end < content.size()) {
        store::appendNormalised(out, content.substr(store::nextLineStart(content, found->end)));
    }
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

Result<void> deleteDrink(const ProgramFolder& folder, std::string_view name,
                         const exchange::LocalTime& when)
{
    auto lock = FolderLock::acquire(folder);
    if (!lock) return std::unexpected(lock.error());
    auto content = readDrinksFile(folder);
    if (!content) return std::unexpected(content.error());
    auto found = store::findRecord(*content, store::RecordKey{name}, store::RecordFormat::Drinks);
    auto changed = withDeletedDrink(*content, name);
    if (!found || !changed) return std::unexpected(notFound(name));
    std::string lines;
    store::appendNormalised(lines,
                            std::string_view(*content).substr(found->nameStart,
                                                              found->end - found->nameStart));
    const store::BinEntry kept{std::string(name), store::binTime(when),
                               std::string(kDrinksFile), std::string(store::kBinDrinksTitle),
                               std::move(lines)};
    return store::keepInBinAndChange(folder, kept, "The drink " + text::quotedForMessage(name), [&] {
        return folder.write(kDrinksFile, *changed, kDrinksTemp);
    });
}

}  // namespace culvora::drinks
