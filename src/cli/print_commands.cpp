// culvora-cli commands for the printouts and the weekly menu: the same lines the windows send
// to the printer, as text or as a PDF.

#include <array>
#include <chrono>
#include <cstdio>
#include <random>

#include "cli/commands.h"
#include "core/app/product.h"
#include "core/menu/shopping_list.h"
#include "core/menu/weekly_menu.h"
#include "core/print/print_job.h"
#include "core/recipes/printout.h"
#include "core/recipes/recipe_view.h"
#include "core/text/text.h"

namespace culvora::cli {

namespace {

std::string pdfOf(const print::PrintJob& job)
{
    return print::pdfDocument(print::layoutPages(job, print::PlainMetrics{}));
}

std::optional<menu::Meal> mealNamed(std::string_view value)
{
    if (value == "light") return menu::Meal::Light;
    if (value == "casual") return menu::Meal::Casual;
    if (value == "special") return menu::Meal::Special;
    return std::nullopt;
}

// One pick per evening, as the window makes one per search: evening d takes the d-th number
// of the seed's sequence (splitmix64 steps), so a seed gives the same week on every machine.
std::array<std::string, 7> composeWeek(const std::vector<std::string>& candidates,
                                       std::uint64_t seed)
{
    constexpr std::uint64_t kStep = 0x9E3779B97F4A7C15ull;
    std::array<std::string, 7> week;
    for (std::size_t d = 0; d < week.size(); ++d) {
        week[d] = menu::pickDish(candidates, menu::seededRandom(seed + d * kStep));
    }
    return week;
}

std::uint64_t freshSeed()
{
    std::random_device device;
    const auto now =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    return (static_cast<std::uint64_t>(device()) << 32 ^ device()) ^ now;
}

}  // namespace

bool isMeal(std::string_view value)
{
    return mealNamed(value).has_value();
}

int printCommand(CliContext& c)
{
    auto name = c.toCp(c.args()[0]);
    if (!name) return c.report(name.error());
    auto book = c.existingBook();
    if (!book) return c.report(book.error());
    // --servings: the ingredients for that many, as the viewer's servings box shows them.
    const int servings = c.has("--servings") ? std::stoi(*c.invocation.value("--servings")) : 0;
    Result<std::vector<recipes::PrintedLine>> lines;
    if (c.has("--grocery")) {
        lines = recipes::groceryLines(c.folder, *book, *name, 0, servings);
    } else {
        // The name, servings and time as the viewer shows them.
        auto page = recipes::readViewerPage(c.folder, *book, *name);
        if (!page) return c.report(page.error());
        recipes::ShownRecipe shown{*name, page->texts.servings, page->texts.time};
        shown.servings = servings;
        lines = recipes::recipeLines(c.folder, *book, shown);
    }
    if (!lines) return c.report(lines.error());
    if (auto pdf = c.invocation.value("--pdf")) {
        return c.writeOutput(*pdf, pdfOf(recipes::printJob(*lines)));
    }
    // The page as text: its lines in order, without the blank lines that open the page.
    bool started = false;
    for (const auto& line : *lines) {
        started = started || !line.text.empty();
        if (started) c.out.line(line.text);
    }
    return kExitOk;
}

int menuCommand(CliContext& c)
{
    const menu::Meal meal = *mealNamed(*c.invocation.value("--option"));
    std::vector<std::string> words;
    for (const auto& value : c.invocation.values("--with")) {
        auto word = c.toCp(value);
        if (!word) return c.report(word.error());
        words.push_back(*word);
    }
    auto book = c.existingBook();
    if (!book) return c.report(book.error());
    auto composed = menu::composeFromCookbook(c.folder, *book, meal, words);
    if (!composed) return c.report(composed.error());
    if (c.has("--candidates")) {
        for (const auto& name : composed->candidates) c.out.line(name);
        return kExitOk;
    }
    std::uint64_t seed = 0;
    if (auto given = c.invocation.value("--seed")) {
        seed = std::stoull(*given);
    } else {
        seed = freshSeed();
    }
    const auto week = composeWeek(composed->candidates, seed);
    const bool shopping = c.has("--shopping-list");
    std::vector<std::string> list;
    if (shopping) {
        auto made = menu::shoppingListOf(c.folder, *book, {week.begin(), week.end()});
        if (!made) return c.report(made.error());
        list = std::move(*made);
    }
    const auto pdf = c.invocation.value("--pdf");
    if (pdf) {
        const auto job =
            shopping ? menu::shoppingListPrintout(list) : menu::menuPrintout(week, app::kWebSite);
        if (int written = c.writeOutput(*pdf, pdfOf(job)); written != kExitOk || *pdf == "-") {
            return written;
        }
    }
    for (std::size_t d = 0; d < week.size(); ++d) {
        char day[16];
        std::snprintf(day, sizeof day, "%-11s", std::string(menu::kDays[d]).c_str());
        c.out.line(day + week[d]);
    }
    if (shopping) {
        c.out.line("");
        c.out.line(std::string(menu::kShoppingListHeading));
        for (const auto& line : list) c.out.line(line);
    }
    return kExitOk;
}

int shoppingListCommand(CliContext& c)
{
    std::vector<std::string> names;
    for (const auto& arg : c.args()) {
        auto name = c.toCp(arg);
        if (!name) return c.report(name.error());
        names.push_back(*name);
    }
    auto book = c.existingBook();
    if (!book) return c.report(book.error());
    auto list = menu::shoppingListOf(c.folder, *book, names);
    if (!list) return c.report(list.error());
    if (auto pdf = c.invocation.value("--pdf")) {
        return c.writeOutput(*pdf, pdfOf(menu::shoppingListPrintout(*list)));
    }
    for (const auto& line : *list) c.out.line(line);
    return kExitOk;
}

}  // namespace culvora::cli
