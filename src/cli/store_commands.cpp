// culvora-cli commands for the cookbook list and the recipe types.

#include <algorithm>

#include "cli/commands.h"
#include "core/app/settings.h"
#include "core/store/cookbook_list.h"
#include "core/store/recipe_types.h"
#include "core/text/text.h"

namespace culvora::cli {

namespace {

// Line 2 of tavendi.ini survives a change of cookbook from the command line.
bool tipsAtStartup(const ProgramFolder& folder)
{
    return app::readSettings(folder).tips;
}

}  // namespace

int booksCommand(CliContext& c)
{
    auto entries = store::CookbookList(c.folder).read();
    if (!entries) return c.report(entries.error());
    std::stable_sort(entries->begin(), entries->end(), [](const auto& a, const auto& b) {
        return text::collateLess(a.title, b.title);
    });
    // The cookbook the commands work on: --book, else the one the program opens. Only the first
    // title that names its file is marked, as the Cookbooks dialog selects one.
    const std::string current = c.currentBook();
    const auto marked = std::ranges::find_if(
        *entries, [&](const store::CookbookEntry& entry) { return entry.file == current; });
    if (c.json()) {
        Json json(c.out);
        json.beginObject().key("current").string(current).key("books").beginArray();
        for (auto it = entries->begin(); it != entries->end(); ++it) {
            json.beginObject().key("title").string(it->title).key("file").string(it->file);
            json.key("current").boolean(it == marked).endObject();
        }
        json.endArray().endObject();
        return kExitOk;
    }
    for (auto it = entries->begin(); it != entries->end(); ++it) {
        c.out.line(it->title + "\t" + it->file + (it == marked ? "\t(current)" : ""));
    }
    return kExitOk;
}

int useCommand(CliContext& c)
{
    auto title = c.toCp(c.args()[0]);
    if (!title) return c.report(title.error());
    auto file = app::useCookbook(c.folder, *title, tipsAtStartup(c.folder));
    if (!file) return c.report(file.error());
    return kExitOk;
}

int newBookCommand(CliContext& c)
{
    auto title = c.toCp(c.args()[0]);
    if (!title) return c.report(title.error());
    auto file = c.toCp(c.args()[1]);
    if (!file) return c.report(file.error());
    auto added = store::CookbookList(c.folder).add(*title, *file);
    if (!added) return c.report(added.error());
    return kExitOk;
}

int deleteBookCommand(CliContext& c)
{
    auto title = c.toCp(c.args()[0]);
    if (!title) return c.report(title.error());
    store::CookbookList list(c.folder);
    auto removed = list.remove(*title);
    if (!removed) return c.report(removed.error());
    if (!removed->note.empty())
        c.err.write(std::string(kProgram) + ": " + printable(removed->note) + "\n");

    // The program must not start with a deleted cookbook as the current one.
    auto settings = app::readSettings(c.folder);
    if (!settings.found || settings.cookbookFile != removed->entry.file) return kExitOk;
    auto fallback = app::useFallbackCookbook(c.folder, settings.tips);
    if (!fallback) return c.report(fallback.error());
    if (*fallback) {
        c.out.utf8Line("The current cookbook is now " + text::quotedForMessage((*fallback)->title) +
                       ".");
    }
    return kExitOk;
}

int typesCommand(CliContext& c)
{
    auto types = store::readTypes(c.folder);
    if (!types) return c.report(types.error());
    if (c.json()) {
        Json json(c.out);
        json.beginObject().key("types").strings(*types).endObject();
        return kExitOk;
    }
    for (const auto& type : *types) c.out.line(type);
    return kExitOk;
}

int addTypeCommand(CliContext& c)
{
    auto name = c.toCp(c.args()[0]);
    if (!name) return c.report(name.error());
    auto added = store::addType(c.folder, *name);
    if (!added) return c.report(added.error());
    return kExitOk;
}

int deleteTypeCommand(CliContext& c)
{
    auto name = c.toCp(c.args()[0]);
    if (!name) return c.report(name.error());
    auto removed = store::removeType(c.folder, *name);
    if (!removed) return c.report(removed.error());
    return kExitOk;
}

}  // namespace culvora::cli
