// culvora-cli commands that change recipes as the editors do: edit a record, record its
// picture, and keep the Fridge list.

#include <algorithm>
#include <filesystem>

#include "cli/commands.h"
#include "core/recipes/pictures.h"
#include "core/recipes/recipe_edit.h"
#include "core/search/fridge_list.h"
#include "core/store/cookbook.h"
#include "core/text/text.h"

namespace culvora::cli {

int editCommand(CliContext& c)
{
    auto name = c.toCp(c.args()[0]);
    if (!name) return c.report(name.error());
    auto input = c.readInput();
    if (!input) return c.report(input.error());
    auto content = c.toCp(*input);
    if (!content) return c.report(content.error());
    // The new version in the cookbook format; its name line must be the recipe's.
    const auto names = store::listNames(*content);
    if (names.size() != 1 || names.front() != *name) {
        return c.refuse("Standard input must hold one record whose name line is " +
                        text::quotedForMessage(*name) + ".");
    }
    auto book = c.existingBook();
    if (!book) return c.report(book.error());
    auto version = store::parseRecordForEdit(*content, *name);
    // Written exactly as given, after the checks the edit window makes.
    auto saved = recipes::saveRecord(c.folder, *book, *name, *version);
    if (!saved) return c.report(saved.error());
    return kExitOk;
}

int pictureCommand(CliContext& c)
{
    auto name = c.toCp(c.args()[0]);
    if (!name) return c.report(name.error());
    auto path = recipes::picturePath(c.folder, *name);
    if (!path) return c.report(path.error());
    if (!*path)
        return c.report(Error{ErrorCode::NotFound, std::string(recipes::kNoPictureMessage)});
    c.out.line(**path);
    return kExitOk;
}

int setPictureCommand(CliContext& c)
{
    auto name = c.toCp(c.args()[0]);
    if (!name) return c.report(name.error());
    // The list is shared by every cookbook and keyed by the name: a name that no recipe of
    // the cookbook has would only be a stray entry.
    auto book = c.existingBook();
    if (!book) return c.report(book.error());
    if (auto record = store::Cookbook(c.folder, *book).read(*name); !record) {
        return c.report(record.error());
    }
    // The window stores the full path its file dialog gives; a relative one would mean
    // nothing to the program started elsewhere.
    const std::filesystem::path given(c.args()[1]);
    std::error_code error;
    if (!std::filesystem::is_regular_file(given, error)) {
        return c.report(Error{ErrorCode::NotFound, "The picture file " + quotedArg(c.args()[1]) +
                                                       " could not be found."});
    }
    const auto full = std::filesystem::absolute(given, error).lexically_normal();
    auto path = c.toCp(full.string());
    if (!path) return c.report(path.error());
    auto set = recipes::setPicture(c.folder, *name, *path);
    if (!set) return c.report(set.error());
    return kExitOk;
}

int wordsCommand(CliContext& c)
{
    auto words = search::readFridgeList(c.folder);
    if (!words) return c.report(words.error());
    if (c.json()) {
        Json json(c.out);
        json.beginObject().key("words").strings(*words).endObject();
        return kExitOk;
    }
    for (const auto& word : *words) c.out.line(word);
    return kExitOk;
}

namespace {

int changeWords(CliContext& c, bool add)
{
    auto typed = c.toCp(c.args()[0]);
    if (!typed) return c.report(typed.error());
    auto lock = FolderLock::acquire(c.folder);
    if (!lock) return c.report(lock.error());
    auto words = search::readFridgeList(c.folder);
    if (!words) return c.report(words.error());
    if (add) {
        // As the editor's "&Add" and "&Ok": lower case, no duplicate check, the list sorted.
        auto word = search::fridgeWord(*typed);
        if (!word) return c.report(word.error());
        words->push_back(*word);
    } else {
        auto it = std::find(words->begin(), words->end(), *typed);
        if (it == words->end()) {
            return c.report(Error{ErrorCode::NotFound, "The word " +
                                                           text::quotedForMessage(*typed) +
                                                           " is not in the Fridge list."});
        }
        words->erase(it);
    }
    auto written = search::writeFridgeList(c.folder, std::move(*words));
    if (!written) return c.report(written.error());
    return kExitOk;
}

}  // namespace

int addWordCommand(CliContext& c)
{
    return changeWords(c, true);
}

int deleteWordCommand(CliContext& c)
{
    return changeWords(c, false);
}

int newWordsCommand(CliContext& c)
{
    const auto variant =
        c.has("--download") ? search::CheckVariant::Download : search::CheckVariant::NewRecipe;
    auto input = c.readInput();
    if (!input) return c.report(input.error());
    auto content = c.toCp(*input);
    if (!content) return c.report(content.error());
    std::vector<std::string> lines;
    for (auto line : text::splitLineViews(*content)) {
        if (!line.empty()) lines.emplace_back(line);
    }
    auto words = search::readFridgeList(c.folder);
    if (!words) return c.report(words.error());
    for (const auto& word : search::newIngredientCandidates(lines, *words, variant)) {
        c.out.line(word);
    }
    return kExitOk;
}

}  // namespace culvora::cli
