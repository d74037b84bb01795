// The weekly menu's "Search" on cookbooks of 200, 2,000 and 20,000 recipes: the core's pass
// over the cookbook in memory, the same with the file read and ind.tmp written, and a click on
// "Search" in the window with two words ticked. Each result is checked against the core's
// own answer.

#include <QApplication>
#include <QCoreApplication>
#include <QListWidget>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cookbook_generator.h"
#include "core/menu/weekly_menu.h"
#include "gui/app/main_window.h"
#include "gui/app/qt_services.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/menu/weekly_menu_window.h"
#include "gui/windows.h"

namespace {

namespace fs = std::filesystem;
using namespace culvora;

// Words every generated recipe holds, so the ticked search reads each fitting record's
// ingredients to the end.
const std::vector<std::string> kTicked = {"eggs", "milk"};

void writeFile(const fs::path& file, const std::string& bytes)
{
    std::ofstream out(file, std::ios::binary);
    out << bytes;
}

struct Folder {
    fs::path path;
    std::string cookbook;

    explicit Folder(int count) : cookbook(bench::generatedCookbook(count))
    {
        path = fs::temp_directory_path() / ("culvora-bench-menu-" + std::to_string(count));
        fs::remove_all(path);
        fs::create_directories(path);
        writeFile(path / "tavendi.ini", "BOOK1.TXT\r\n0\r\n");
        writeFile(path / "bocker.txt", "Standard\r\nBOOK1.TXT\r\n");
        writeFile(path / "BOOK1.TXT", cookbook);
        writeFile(path / "sok.txt", "butter\r\ncheese\r\neggs\r\nmilk\r\nonion\r\n");
    }
    ~Folder() { fs::remove_all(path); }
};

std::map<int, std::unique_ptr<Folder>>& folders()
{
    static std::map<int, std::unique_ptr<Folder>> all;
    return all;
}

Folder& folderFor(int count)
{
    auto& folder = folders()[count];
    if (!folder) folder = std::make_unique<Folder>(count);
    return *folder;
}

void BM_ComposeInMemory(benchmark::State& state)
{
    Folder& folder = folderFor(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto composed = menu::compose(folder.cookbook, menu::Meal::Casual, kTicked);
        benchmark::DoNotOptimize(composed.candidates.data());
    }
}

void BM_ComposeFromCookbook(benchmark::State& state)
{
    Folder& folder = folderFor(static_cast<int>(state.range(0)));
    const ProgramFolder program(folder.path);
    for (auto _ : state) {
        auto composed =
            menu::composeFromCookbook(program, "BOOK1.TXT", menu::Meal::Special, kTicked);
        if (!composed || composed->candidates.empty()) {
            state.SkipWithError("the composer found nothing");
            break;
        }
        benchmark::DoNotOptimize(composed->candidates.data());
    }
}

struct Shell {
    gui::QtServices services;
    gui::ShellState state;
    std::unique_ptr<gui::MainWindow> main;
    gui::WeeklyMenuWindow* window = nullptr;
    std::size_t expected = 0;

    explicit Shell(Folder& folder)
    {
        state.folder = ProgramFolder(folder.path);
        state.currentCookbookFile = "BOOK1.TXT";
        main = std::make_unique<gui::MainWindow>(state, services.services);
        gui::registerAllWindows(main->context());
        main->start();
        window = qobject_cast<gui::WeeklyMenuWindow*>(
            main->windows().open(QLatin1String(gui::forms::kWeeklyMenu)));
        if (!window) return;
        auto* words = window->findChild<QListWidget*>(QStringLiteral("List1"));
        for (int i = 0; words && i < words->count(); ++i) {
            const QString word = words->item(i)->text();
            if (word == QLatin1String("eggs") || word == QLatin1String("milk")) {
                words->item(i)->setCheckState(Qt::Checked);
            }
        }
        expected = menu::compose(folder.cookbook, menu::Meal::Casual, kTicked).candidates.size();
    }
};

std::map<int, std::unique_ptr<Shell>>& shells()
{
    static std::map<int, std::unique_ptr<Shell>> all;
    return all;
}

void BM_SearchInTheWindow(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    auto& shell = shells()[count];
    if (!shell) shell = std::make_unique<Shell>(folderFor(count));
    if (!shell->window || shell->window->tickedWords() != kTicked || shell->expected == 0) {
        state.SkipWithError("the weekly menu did not open with the two words ticked");
        return;
    }
    for (auto _ : state) {
        shell->window->search();
        const std::string& dish = shell->window->dishes()[0];
        if (dish.empty() || dish.front() == '(') {
            state.SkipWithError("no dish was picked");
            break;
        }
    }
    state.counters["candidates"] = static_cast<double>(shell->expected);
}

}  // namespace

BENCHMARK(BM_ComposeInMemory)->Arg(200)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComposeFromCookbook)->Arg(200)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchInTheWindow)->Arg(200)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    shells().clear();
    folders().clear();
    benchmark::Shutdown();
    return 0;
}
