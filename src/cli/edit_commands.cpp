// culvora-cli commands that change recipes as the editors do: edit a record, record its
// picture, and keep the Fridge list.

#include <algorithm>
#include <iterator>

#include "cli/cli.h"
#include "core/recipes/pictures.h"
#include "core/recipes/recipe_edit.h"
#include "core/search/fridge_list.h"
#include "core/store/cookbook.h"
#include "core/text/text.h"

namespace culvora::cli {

namespace {

std::string readInput(CliContext& c)
{
    return std::string((std::istreambuf_iterator<char>(c.in)), std::istreambuf_iterator<char>());
}

int editCommand(CliContext& c, std::span<const std::string> args)
{
    if (args.size() != 1)
        return c.usage("edit NAME  (the new version of the record on standard input)");
    auto name = c.toCp(args[0]);
    if (!name) return c.report(name.error());
    auto input = c.toCp(readInput(c));
    if (!input) return c.report(input.error());
    // The new version in the cookbook format; its name line must be the recipe's.
    const auto names = store::listNames(*input);
    if (names.size() != 1 || names.front() != *name) {
        return c.report(
            Error{ErrorCode::Invalid, "Standard input must hold one record whose name line is \"" +
                                          text::toUtf8(*name) + "\"."});
    }
    auto version = store::parseRecordForEdit(*input, *name);
    // Written exactly as given, after the checks the edit window makes.
    auto saved = recipes::saveRecord(c.folder, c.currentBook(), *name, *version);
    if (!saved) return c.report(saved.error());
    return kExitOk;
}

int pictureCommand(CliContext& c, std::span<const std::string> args)
{
    if (args.size() != 1) return c.usage("picture NAME");
    auto name = c.toCp(args[0]);
    if (!name) return c.report(name.error());
    auto path = recipes::picturePath(c.folder, *name);
    if (!path) return c.report(path.error());
    if (!*path)
        return c.report(Error{ErrorCode::NotFound, std::string(recipes::kNoPictureMessage)});
    c.line(**path);
    return kExitOk;
}

int setPictureCommand(CliContext& c, std::span<const std::string> args)
{
    if (args.size() != 2) return c.usage("set-picture NAME PATH");
    auto name = c.toCp(args[0]);
    if (!name) return c.report(name.error());
    auto path = c.toCp(args[1]);
    if (!path) return c.report(path.error());
    auto set = recipes::setPicture(c.folder, *name, *path);
    if (!set) return c.report(set.error());
    return kExitOk;
}

int wordsCommand(CliContext& c, std::span<const std::string> args)
{
    if (!args.empty()) return c.usage("words");
    auto words = search::readFridgeList(c.folder);
    if (!words) return c.report(words.error());
    for (const auto& word : *words) c.line(word);
    return kExitOk;
}

int changeWords(CliContext& c, std::span<const std::string> args, bool add)
{
    if (args.size() != 1) return c.usage(add ? "add-word WORD" : "delete-word WORD");
    auto typed = c.toCp(args[0]);
    if (!typed) return c.report(typed.error());
    auto lock = FolderLock::acquire(c.folder);
    if (!lock) return c.report(lock.error());
    auto words = search::readFridgeList(c.folder);
    if (!words) return c.report(words.error());
    if (add) {
        // As the editor's "&Add" and "&Ok": lower case, no duplicate check, the list sorted.
        if (typed->empty()) return c.usage("add-word WORD");
        auto word = search::fridgeWord(*typed);
        if (!word) return c.report(word.error());
        words->push_back(*word);
    } else {
        auto it = std::find(words->begin(), words->end(), *typed);
        if (it == words->end()) {
            return c.report(Error{ErrorCode::NotFound, "The word \"" + text::toUtf8(*typed) +
                                                           "\" is not in the Fridge list."});
        }
        words->erase(it);
    }
    auto written = search::writeFridgeList(c.folder, std::move(*words));
    if (!written) return c.report(written.error());
    return kExitOk;
}

int addWordCommand(CliContext& c, std::span<const std::string> args)
{
    return changeWords(c, args, true);
}

int deleteWordCommand(CliContext& c, std::span<const std::string> args)
{
    return changeWords(c, args, false);
}

int newWordsCommand(CliContext& c, std::span<const std::string> args)
{
    auto variant = search::CheckVariant::NewRecipe;
    if (args.size() == 1 && args[0] == "--download") {
        variant = search::CheckVariant::Download;
    } else if (!args.empty()) {
        return c.usage("new-words [--download]  (ingredient lines on standard input)");
    }
    auto input = c.toCp(readInput(c));
    if (!input) return c.report(input.error());
    std::vector<std::string> lines;
    for (auto line : text::splitLineViews(*input)) {
        if (!line.empty()) lines.emplace_back(line);
    }
    auto words = search::readFridgeList(c.folder);
    if (!words) return c.report(words.error());
    for (const auto& word : search::newIngredientCandidates(lines, *words, variant)) c.line(word);
    return kExitOk;
}

const CliCommand kEdit{"edit", "edit NAME  (the new version on standard input)", editCommand};
const CliCommand kPicture{"picture", "picture NAME", pictureCommand};
const CliCommand kSetPicture{"set-picture", "set-picture NAME PATH", setPictureCommand};
const CliCommand kWords{"words", "words", wordsCommand};
const CliCommand kAddWord{"add-word", "add-word WORD", addWordCommand};
const CliCommand kDeleteWord{"delete-word", "delete-word WORD", deleteWordCommand};
const CliCommand kNewWords{
    "new-words", "new-words [--download]  (ingredient lines on standard input)", newWordsCommand};

}  // namespace

}  // namespace culvora::cli
