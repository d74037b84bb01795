// culvora-cli commands for the cookbook list and the recipe types.

#include <algorithm>

#include "cli/cli.h"
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

int booksCommand(CliContext& c, std::span<const std::string> args)
{
    if (!args.empty()) return c.usage("books");
    auto entries = store::CookbookList(c.folder).read();
    if (!entries) return c.report(entries.error());
    std::stable_sort(entries->begin(), entries->end(), [](const auto& a, const auto& b) {
        return text::collateLess(a.title, b.title);
    });
    for (const auto& entry : *entries) c.line(entry.title + "\t" + entry.file);
    return kExitOk;
}

int useCommand(CliContext& c, std::span<const std::string> args)
{
    if (args.size() != 1) return c.usage("use TITLE");
    auto title = c.toCp(args[0]);
    if (!title) return c.report(title.error());
    auto file = app::useCookbook(c.folder, *title, tipsAtStartup(c.folder));
    if (!file) return c.report(file.error());
    return kExitOk;
}

int newBookCommand(CliContext& c, std::span<const std::string> args)
{
    if (args.size() != 2) return c.usage("new-book TITLE FILE");
    auto title = c.toCp(args[0]);
    if (!title) return c.report(title.error());
    auto file = c.toCp(args[1]);
    if (!file) return c.report(file.error());
    auto added = store::CookbookList(c.folder).add(*title, *file);
    if (!added) return c.report(added.error());
    return kExitOk;
}

int deleteBookCommand(CliContext& c, std::span<const std::string> args)
{
    if (args.size() != 1) return c.usage("delete-book TITLE");
    auto title = c.toCp(args[0]);
    if (!title) return c.report(title.error());
    store::CookbookList list(c.folder);
    auto removed = list.remove(*title);
    if (!removed) return c.report(removed.error());
    if (!removed->note.empty()) c.err << "culvora-cli: " << removed->note << "\n";

    // The program must not start with a deleted cookbook as the current one.
    auto settings = app::readSettings(c.folder);
    if (!settings.found || settings.cookbookFile != removed->entry.file) return kExitOk;
    auto fallback = app::useFallbackCookbook(c.folder, settings.tips);
    if (!fallback) return c.report(fallback.error());
    if (*fallback) c.line("The current cookbook is now \"" + (*fallback)->title + "\".");
    return kExitOk;
}

int typesCommand(CliContext& c, std::span<const std::string> args)
{
    if (!args.empty()) return c.usage("types");
    auto types = store::readTypes(c.folder);
    if (!types) return c.report(types.error());
    for (const auto& type : *types) c.line(type);
    return kExitOk;
}

int addTypeCommand(CliContext& c, std::span<const std::string> args)
{
    if (args.size() != 1) return c.usage("add-type NAME");
    auto name = c.toCp(args[0]);
    if (!name) return c.report(name.error());
    auto added = store::addType(c.folder, *name);
    if (!added) return c.report(added.error());
    return kExitOk;
}

int deleteTypeCommand(CliContext& c, std::span<const std::string> args)
{
    if (args.size() != 1) return c.usage("delete-type NAME");
    auto name = c.toCp(args[0]);
    if (!name) return c.report(name.error());
    auto removed = store::removeType(c.folder, *name);
    if (!removed) return c.report(removed.error());
    return kExitOk;
}

const CliCommand kBooks{"books", "books", booksCommand};
const CliCommand kUse{"use", "use TITLE", useCommand};
const CliCommand kNewBook{"new-book", "new-book TITLE FILE", newBookCommand};
const CliCommand kDeleteBook{"delete-book", "delete-book TITLE", deleteBookCommand};
const CliCommand kTypes{"types", "types", typesCommand};
const CliCommand kAddType{"add-type", "add-type NAME", addTypeCommand};
const CliCommand kDeleteType{"delete-type", "delete-type NAME", deleteTypeCommand};

}  // namespace

}  // namespace culvora::cli
