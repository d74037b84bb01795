// culvora-cli commands for the printouts and the weekly menu: the same lines the windows send
// to the printer, as text or as a PDF.

#include <charconv>
#include <filesystem>

#include "cli/cli.h"
#include "core/app/product.h"
#include "core/menu/weekly_menu.h"
#include "core/print/print_job.h"
#include "core/recipes/printout.h"
#include "core/recipes/recipe_view.h"
#include "core/text/text.h"

namespace culvora::cli {

namespace {

int writePdf(CliContext& c, const print::PrintJob& job, const std::string& file)
{
    const std::string pdf = print::pdfDocument(print::layoutPages(job, print::PlainMetrics{}));
    auto written = writeFileAtomic(std::filesystem::path(file), pdf,
                                   std::filesystem::path(file).filename().string() + ".tmp");
    if (!written) return c.report(written.error());
    return kExitOk;
}

int printCommand(CliContext& c, std::span<const std::string> args)
{
    constexpr std::string_view usage = "print NAME [--grocery] [--pdf FILE]";
    std::string name;
    std::string pdf;
    bool grocery = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--grocery") {
            grocery = true;
        } else if (args[i] == "--pdf" && i + 1 < args.size()) {
            pdf = args[++i];
        } else if (name.empty() && !args[i].starts_with("--")) {
            name = args[i];
        } else {
            return c.usage(usage);
        }
    }
    if (name.empty()) return c.usage(usage);
    auto cpName = c.toCp(name);
    if (!cpName) return c.report(cpName.error());
    const std::string book = c.currentBook();
    Result<std::vector<recipes::PrintedLine>> lines;
    if (grocery) {
        lines = recipes::groceryLines(c.folder, book, *cpName);
    } else {
        // The name, servings and time as the viewer shows them.
        auto page = recipes::readViewerPage(c.folder, book, *cpName);
        if (!page) return c.report(page.error());
        lines =
            recipes::recipeLines(c.folder, book, {*cpName, page->texts.servings, page->texts.time});
    }
    if (!lines) return c.report(lines.error());
    if (!pdf.empty()) return writePdf(c, recipes::printJob(*lines), pdf);
    for (const auto& line : *lines)
        c.line(std::string(recipes::styleName(line.style)) + "\t" + line.text);
    return kExitOk;
}

int menuCommand(CliContext& c, std::span<const std::string> args)
{
    constexpr std::string_view usage =
        "menu --option light|casual|special [--with WORD]... [--seed N] [--pdf FILE]";
    std::optional<menu::Meal> meal;
    std::vector<std::string> words;
    std::optional<std::uint64_t> seed;
    std::string pdf;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i + 1 >= args.size()) return c.usage(usage);
        const std::string& option = args[i];
        const std::string& value = args[++i];
        if (option == "--option") {
            if (value == "light")
                meal = menu::Meal::Light;
            else if (value == "casual")
                meal = menu::Meal::Casual;
            else if (value == "special")
                meal = menu::Meal::Special;
            else
                return c.usage(usage);
        } else if (option == "--with") {
            auto word = c.toCp(value);
            if (!word) return c.report(word.error());
            words.push_back(*word);
        } else if (option == "--seed") {
            std::uint64_t n = 0;
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), n);
            if (error != std::errc() || end != value.data() + value.size()) return c.usage(usage);
            seed = n;
        } else if (option == "--pdf") {
            pdf = value;
        } else {
            return c.usage(usage);
        }
    }
    if (!meal) return c.usage(usage);
    auto composed = menu::composeFromCookbook(c.folder, c.currentBook(), *meal, words);
    if (!composed) return c.report(composed.error());
    for (const auto& name : composed->candidates) c.line(name);
    if (seed || !pdf.empty()) {
        const std::string dish =
            menu::pickDish(composed->candidates, menu::seededRandom(seed.value_or(0)));
        c.line("Dish: " + dish);
        if (!pdf.empty()) {
            // Every evening of the week gets the dish of this pick.
            std::array<std::string, 7> week;
            week.fill(dish);
            return writePdf(c, menu::menuPrintout(week, app::kWebSite), pdf);
        }
    }
    return kExitOk;
}

const CliCommand kPrint{"print", "print NAME [--grocery] [--pdf FILE]", printCommand};
const CliCommand kMenu{"menu", "menu --option light|casual|special [--with WORD]... [--seed N]",
                       menuCommand};

}  // namespace

}  // namespace culvora::cli
