// culvora-cli commands for importing, exporting and backing up: Meal-Master and cookbook
// imports, the recipe page and the HTML archive, and the backup copy.

#include <filesystem>

#include "cli/commands.h"
#include "core/recipes/html_page.h"
#include "core/recipes/recipe_view.h"
#include "core/store/cookbook.h"
#include "core/store/cookbook_list.h"
#include "core/text/text.h"
#include "core/transfer/backup.h"
#include "core/transfer/cookbook_import.h"
#include "core/transfer/html_archive.h"
#include "core/transfer/mealmaster.h"
#include "core/transfer/mealmaster_export.h"

namespace culvora::cli {

namespace {

std::string recipesImported(std::size_t count)
{
    return std::to_string(count) + (count == 1 ? " recipe imported" : " recipes imported");
}

// The cookbook as a person knows it: its title, else its file name.
std::string shownCookbook(const ProgramFolder& folder, const std::string& file)
{
    if (auto entries = store::CookbookList(folder).read()) {
        if (const auto* entry = store::findByFile(*entries, file)) {
            return text::quotedForMessage(entry->title);
        }
    }
    return text::quotedForMessage(file);
}

}  // namespace

bool isEncoding(std::string_view value)
{
    return transfer::encodingNamed(value).has_value();
}

bool isColour(std::string_view hex)
{
    if (hex.starts_with('#')) hex.remove_prefix(1);
    return hex.size() == 6 &&
           hex.find_first_not_of("0123456789abcdefABCDEF") == std::string_view::npos;
}

int importMealMasterCommand(CliContext& c)
{
    const std::string& file = c.args()[0];
    auto encoding = transfer::TextEncoding::Detect;
    if (auto named = c.invocation.value("--encoding")) encoding = *transfer::encodingNamed(*named);
    auto title = c.toCp(*c.invocation.value("--to"));
    if (!title) return c.report(title.error());
    auto report = transfer::importMealMaster(c.folder, *title, file, encoding);
    if (!report) return c.report(report.error());
    c.out.utf8Line(recipesImported(static_cast<std::size_t>(report->imported)) + ".");
    if (report->renamed > 0) {
        c.out.utf8Line(transfer::renamedMessage(report->renamed, report->firstRenamed));
    }
    const std::string skipped = transfer::skippedMessage(*report);
    for (auto line : text::splitLineViews(skipped)) c.out.utf8Line(line);
    return kExitOk;
}

int exportMealMasterCommand(CliContext& c)
{
    Result<std::string> book;
    if (auto title = c.invocation.value("--book")) {
        auto cp = c.toCp(*title);
        if (!cp) return c.report(cp.error());
        book = store::CookbookList(c.folder).fileOf(*cp);
    } else {
        book = c.existingBook();
    }
    if (!book) return c.report(book.error());
    std::vector<std::string> names;
    for (std::size_t i = 1; i < c.args().size(); ++i) {
        auto name = c.toCp(c.args()[i]);
        if (!name) return c.report(name.error());
        names.push_back(*name);
    }
    auto records = transfer::recordsForExport(c.folder, *book, names);
    if (!records) return c.report(records.error());
    const auto encoding = c.invocation.value("--encoding") == "utf-8"
                              ? transfer::ExportEncoding::Utf8
                              : transfer::ExportEncoding::Cp850;
    const auto exported = transfer::exportMealMaster(*records, encoding);
    const std::string& out = c.args()[0];
    if (int written = c.writeOutput(out, exported.bytes); written != kExitOk || out == "-") {
        return written;
    }
    c.out.utf8Line(transfer::exportedMessage(exported));
    return kExitOk;
}

int importBookCommand(CliContext& c)
{
    auto book = c.existingBook();
    if (!book) return c.report(book.error());
    // The import counts what it appended, on its own reading of the file.
    auto imported = transfer::importCookbook(c.folder, *book, std::filesystem::path(c.args()[0]));
    if (!imported) return c.report(imported.error());
    c.out.utf8Line(recipesImported(static_cast<std::size_t>(imported->imported)) + " into " +
                   shownCookbook(c.folder, *book) + ".");
    if (imported->renamed > 0) {
        c.out.utf8Line(transfer::renamedMessage(imported->renamed, imported->firstRenamed));
    }
    const std::string skipped = transfer::skippedMessage(*imported);
    for (auto line : text::splitLineViews(skipped)) c.out.utf8Line(line);
    return kExitOk;
}

int htmlCommand(CliContext& c)
{
    auto name = c.toCp(c.args()[0]);
    if (!name) return c.report(name.error());
    auto book = c.existingBook();
    if (!book) return c.report(book.error());
    auto page = recipes::readViewerPage(c.folder, *book, *name);
    if (!page) return c.report(page.error());
    if (!page->texts.found) {
        return c.report(Error{ErrorCode::NotFound, "The recipe " + text::quotedForMessage(*name) +
                                                       " was not found in the cookbook."});
    }
    const recipes::RecipeTexts& t = page->texts;
    return c.writeOutput(c.args()[1], recipes::recipePage({t.name, t.servings, t.time,
                                                           t.ingredients, t.instructions}));
}

int archiveCommand(CliContext& c)
{
    transfer::ArchiveOptions options;
    options.frames = c.invocation.lastOf({"--frames", "--no-frames"}) != "--no-frames";
    if (c.invocation.lastOf({"--color", "--image"}) == "--image") {
        auto path = c.toCp(*c.invocation.value("--image"));
        if (!path) return c.report(path.error());
        options.image = true;
        options.imagePath = *path;
    } else if (auto colour = c.invocation.value("--color")) {
        std::string_view hex = *colour;
        if (hex.starts_with('#')) hex.remove_prefix(1);
        const int value = std::stoi(std::string(hex), nullptr, 16);
        options.red = (value >> 16) & 0xFF;
        options.green = (value >> 8) & 0xFF;
        options.blue = value & 0xFF;
    }
    auto book = c.existingBook();
    if (!book) return c.report(book.error());
    auto result = transfer::writeArchive(c.folder, *book, options);
    if (!result) return c.report(result.error());
    c.out.utf8Line(std::to_string(result->pages) + " recipe pages");
    c.out.utf8Line(result->index.string());
    if (result->skipped > 0) c.out.utf8Line(transfer::skippedRecordsMessage(result->skipped));
    return kExitOk;
}

int backupCommand(CliContext& c)
{
    transfer::BackupRequest request;
    request.recipes = !c.has("--no-recipes");
    request.drinks = !c.has("--no-drinks");
    request.everything = c.has("--everything");
    const std::string& destination = c.args()[0];
    if (destination == "A:" || destination == "a:") {
        // The first removable medium mounted for this user.
        auto medium = transfer::removableMedium();
        if (!medium) {
            c.err.write(std::string(transfer::kBackupFailedMessage) + "\n" +
                        printable(transfer::noMediumMessage("")) + "\n");
            return kExitFailed;
        }
        request.destination = *medium;
    } else {
        request.destination = destination;
    }
    request.cookbookFile = c.currentBook();
    auto done = transfer::backup(c.folder, request);
    if (!done) {
        c.err.write(std::string(transfer::kBackupFailedMessage) + "\n" +
                    printable(done.error().message) + "\n");
        return kExitFailed;
    }
    c.out.utf8Line(transfer::kBackupDoneMessage);
    return kExitOk;
}

}  // namespace culvora::cli
