// culvora-cli commands for importing, exporting and backing up: Meal-Master and cookbook
// imports, the recipe page and the HTML archive, and the backup copy.

#include <filesystem>

#include "cli/cli.h"
#include "core/recipes/html_page.h"
#include "core/recipes/recipe_view.h"
#include "core/text/text.h"
#include "core/transfer/backup.h"
#include "core/transfer/cookbook_import.h"
#include "core/transfer/html_archive.h"
#include "core/transfer/mealmaster.h"

namespace culvora::cli {

namespace {

void printUtf8Lines(CliContext& c, std::string_view utf8)
{
    for (auto line : text::splitLineViews(utf8)) c.out << printable(line) << "\n";
}

int importMealMasterCommand(CliContext& c, std::span<const std::string> args)
{
    constexpr std::string_view usage = "import-mm FILE --to TITLE [--encoding utf-8|cp850|cp1252]";
    std::string file;
    std::string title;
    transfer::TextEncoding encoding = transfer::TextEncoding::Detect;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--to" && i + 1 < args.size()) {
            title = args[++i];
        } else if (args[i] == "--encoding" && i + 1 < args.size()) {
            auto named = transfer::encodingNamed(args[++i]);
            if (!named) return c.usage(usage);
            encoding = *named;
        } else if (file.empty() && !args[i].starts_with("--")) {
            file = args[i];
        } else {
            return c.usage(usage);
        }
    }
    if (file.empty() || title.empty()) return c.usage(usage);
    auto cpTitle = c.toCp(title);
    if (!cpTitle) return c.report(cpTitle.error());
    auto report = transfer::importMealMaster(c.folder, *cpTitle, file, encoding);
    if (!report) return c.report(report.error());
    c.out << printable(transfer::importedMessage(*report)) << "\n";
    printUtf8Lines(c, transfer::skippedMessage(*report));
    return kExitOk;
}

int importBookCommand(CliContext& c, std::span<const std::string> args)
{
    if (args.size() != 1) return c.usage("import-book FILE");
    auto imported = transfer::importCookbook(c.folder, c.currentBook(), args[0]);
    if (!imported) return c.report(imported.error());
    // Quiet when all went in as they were; renamed recipes are worth a word.
    if (imported->renamed > 0) c.out << printable(transfer::cookbookImportMessage(*imported)) << "\n";
    return kExitOk;
}

int htmlCommand(CliContext& c, std::span<const std::string> args)
{
    if (args.size() != 2) return c.usage("html NAME OUT");
    auto name = c.toCp(args[0]);
    if (!name) return c.report(name.error());
    auto page = recipes::readViewerPage(c.folder, c.currentBook(), *name);
    if (!page) return c.report(page.error());
    if (!page->texts.found) {
        return c.report(Error{ErrorCode::NotFound,
                              "The recipe \"" + args[0] + "\" was not found in the cookbook."});
    }
    const recipes::RecipeTexts& t = page->texts;
    const std::filesystem::path out(args[1]);
    auto written = writeFileAtomic(
        out, recipes::recipePage({t.name, t.servings, t.time, t.ingredients, t.instructions}),
        out.filename().string() + ".tmp");
    if (!written) return c.report(written.error());
    return kExitOk;
}

bool parseColour(std::string_view hex, transfer::ArchiveOptions& options)
{
    if (hex.starts_with('#')) hex.remove_prefix(1);
    if (hex.size() != 6 ||
        hex.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos) {
        return false;
    }
    const int value = std::stoi(std::string(hex), nullptr, 16);
    options.red = (value >> 16) & 0xFF;
    options.green = (value >> 8) & 0xFF;
    options.blue = value & 0xFF;
    return true;
}

int archiveCommand(CliContext& c, std::span<const std::string> args)
{
    constexpr std::string_view usage =
        "archive [--frames|--no-frames] [--color RRGGBB|--image PATH]";
    transfer::ArchiveOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--frames") {
            options.frames = true;
        } else if (args[i] == "--no-frames") {
            options.frames = false;
        } else if ((args[i] == "--color" || args[i] == "--colour") && i + 1 < args.size()) {
            options.image = false;
            if (!parseColour(args[++i], options)) return c.usage(usage);
        } else if (args[i] == "--image" && i + 1 < args.size()) {
            auto path = c.toCp(args[++i]);
            if (!path) return c.report(path.error());
            options.image = true;
            options.imagePath = *path;
        } else {
            return c.usage(usage);
        }
    }
    auto result = transfer::writeArchive(c.folder, c.currentBook(), options);
    if (!result) return c.report(result.error());
    c.out << result->pages << " recipe pages\n" << result->index.string() << "\n";
    return kExitOk;
}

int backupCommand(CliContext& c, std::span<const std::string> args)
{
    constexpr std::string_view usage = "backup DEST|A: [--no-recipes] [--no-drinks]";
    transfer::BackupRequest request;
    std::string destination;
    for (const std::string& arg : args) {
        if (arg == "--no-recipes") {
            request.recipes = false;
        } else if (arg == "--no-drinks") {
            request.drinks = false;
        } else if (destination.empty() && !arg.starts_with("--")) {
            destination = arg;
        } else {
            return c.usage(usage);
        }
    }
    if (destination.empty() || (!request.recipes && !request.drinks)) return c.usage(usage);
    if (destination == "A:" || destination == "a:") {
        // The first removable medium mounted for this user.
        auto medium = transfer::removableMedium();
        if (!medium) {
            c.err << transfer::kBackupFailedMessage << "\n"
                  << transfer::noMediumMessage("") << "\n";
            return kExitFailed;
        }
        request.destination = *medium;
    } else {
        request.destination = destination;
    }
    request.cookbookFile = c.currentBook();
    auto done = transfer::backup(c.folder, request);
    if (!done) {
        c.err << transfer::kBackupFailedMessage << "\n" << printable(done.error().message) << "\n";
        return kExitFailed;
    }
    c.out << transfer::kBackupDoneMessage << "\n";
    return kExitOk;
}

const CliCommand kImportMm{"import-mm", "import-mm FILE --to TITLE [--encoding utf-8|cp850|cp1252]",
                           importMealMasterCommand};
const CliCommand kImportBook{"import-book", "import-book FILE", importBookCommand};
const CliCommand kHtml{"html", "html NAME OUT", htmlCommand};
const CliCommand kArchive{"archive", "archive [--frames|--no-frames] [--color RRGGBB|--image PATH]",
                          archiveCommand};
const CliCommand kBackup{"backup", "backup DEST|A: [--no-recipes] [--no-drinks]", backupCommand};

}  // namespace

}  // namespace culvora::cli
