// The two search windows on cookbooks of 200, 2,000 and 20,000 recipes with the delivered Fridge
// list: opening "Search recipe" (which writes sök.tmp) and "The Fridge", and a search in each
// with three ingredient words ticked. Each search is checked against the core's own answer.

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QListWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cookbook_generator.h"
#include "core/search/fridge_list.h"
#include "core/search/fridge_search.h"
#include "core/search/time_search.h"
#include "core/text/text.h"
#include "gui/app/main_window.h"
#include "gui/app/qt_services.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/search/fridge_search_window.h"
#include "gui/search/time_search_window.h"
#include "gui/windows.h"

namespace {

namespace fs = std::filesystem;
using namespace culvora;

// Three words of the delivered list that every generated recipe holds.
const std::vector<std::string> kTicked = {"cheese", "eggs", "milk"};

void writeFile(const fs::path& file, const std::string& bytes)
{
    std::ofstream out(file, std::ios::binary);
    out << bytes;
}

fs::path deliveredData()
{
    return fs::path(CULVORA_DATA_SOURCE);
}

// A data folder with one cookbook of `count` recipes, the delivered types and Fridge list.
struct Folder {
    fs::path path;
    std::string cookbook;

    explicit Folder(int count) : cookbook(bench::generatedCookbook(count))
    {
        path = fs::temp_directory_path() / ("culvora-bench-search-" + std::to_string(count));
        fs::remove_all(path);
        fs::create_directories(path);
        writeFile(path / "tavendi.ini", "BOOK1.TXT\r\n0\r\n");
        writeFile(path / "bocker.txt", "Standard\r\nBOOK1.TXT\r\n");
        writeFile(path / "BOOK1.TXT", cookbook);
        fs::copy_file(deliveredData() / "typer.txt", path / "typer.txt");
        fs::copy_file(deliveredData() / "sok.txt", path / "sok.txt");
    }
    ~Folder() { fs::remove_all(path); }
};

struct Shell {
    std::unique_ptr<Folder> folder;
    gui::QtServices services;
    gui::ShellState state;
    std::unique_ptr<gui::MainWindow> main;
    std::size_t expectedHits = 0;   // the time search, as the core answers it
    std::size_t expectedFound = 0;  // the fridge search

    explicit Shell(int count) : folder(std::make_unique<Folder>(count))
    {
        state.folder = ProgramFolder(folder->path);
        main = std::make_unique<gui::MainWindow>(state, services.services);
        gui::registerAllWindows(main->context());
        main->start();

        search::TimeQuery query{"Hot dish", 50, kTicked};
        expectedHits =
            search::searchByTime(folder->cookbook, search::buildTimeIndex(folder->cookbook), query)
                .size();
        auto words = search::readFridgeList(state.folder).value_or(std::vector<std::string>{});
        std::stable_sort(words.begin(), words.end(), text::CollateLess{});
        expectedFound = search::fridgeSearch(folder->cookbook, words, kTicked).size();
    }

    QWidget* open(const QString& name) { return main->windows().open(name); }

    void close(const QString& name)
    {
        main->windows().close(name);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

// The shells live until the end of main, before the application goes.
std::map<int, std::unique_ptr<Shell>>& shells()
{
    static std::map<int, std::unique_ptr<Shell>> all;
    return all;
}

Shell& shellFor(int count)
{
    auto& shell = shells()[count];
    if (!shell) shell = std::make_unique<Shell>(count);
    return *shell;
}

// Ticks (selects or marks) the three words in a list of the window.
bool tick(QWidget* window, const char* list, bool mark)
{
    auto* words = window->findChild<QListWidget*>(QLatin1String(list));
    if (!words) return false;
    int ticked = 0;
    for (const auto& word : kTicked) {
        const auto items = words->findItems(QString::fromStdString(word), Qt::MatchExactly);
        if (items.isEmpty()) return false;
        if (mark) {
            items.front()->setCheckState(Qt::Checked);
        } else {
            items.front()->setSelected(true);
        }
        ++ticked;
    }
    return ticked == 3;
}

void BM_OpenTimeSearch(benchmark::State& state)
{
    Shell& shell = shellFor(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto* window = qobject_cast<gui::TimeSearchWindow*>(shell.open(gui::forms::kSearch));
        benchmark::DoNotOptimize(window);
        state.PauseTiming();
        if (!window || window->timeIndex().size() != static_cast<std::size_t>(state.range(0))) {
            state.SkipWithError("the time index does not hold every recipe");
            break;  // the timer must not be resumed after an error
        }
        shell.close(gui::forms::kSearch);
        state.ResumeTiming();
    }
}

void BM_TimeSearch(benchmark::State& state)
{
    Shell& shell = shellFor(static_cast<int>(state.range(0)));
    auto* window = qobject_cast<gui::TimeSearchWindow*>(shell.open(gui::forms::kSearch));
    auto* types = window ? window->findChild<QComboBox*>(QStringLiteral("Combo1")) : nullptr;
    if (!types || !tick(window, "List2", false)) {
        state.SkipWithError("the search window is not as expected");
        return;
    }
    types->setCurrentIndex(types->findText(QStringLiteral("Hot dish")));
    for (auto _ : state) {
        window->runSearch();
        benchmark::DoNotOptimize(window->hits().data());
    }
    if (window->hits().size() != shell.expectedHits || shell.expectedHits == 0) {
        state.SkipWithError("the window's hits differ from the core's");
    }
    state.counters["hits"] = static_cast<double>(window->hits().size());
    shell.close(gui::forms::kSearch);
}

void BM_OpenFridge(benchmark::State& state)
{
    Shell& shell = shellFor(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto* window =
            qobject_cast<gui::FridgeSearchWindow*>(shell.open(gui::forms::kFridgeSearch));
        benchmark::DoNotOptimize(window);
        state.PauseTiming();
        if (!window || window->words().empty()) {
            state.SkipWithError("the Fridge list was not read");
            break;
        }
        shell.close(gui::forms::kFridgeSearch);
        state.ResumeTiming();
    }
}

void BM_FridgeSearch(benchmark::State& state)
{
    Shell& shell = shellFor(static_cast<int>(state.range(0)));
    auto* window = qobject_cast<gui::FridgeSearchWindow*>(shell.open(gui::forms::kFridgeSearch));
    if (!window || !tick(window, "List1", true)) {
        state.SkipWithError("the Fridge window is not as expected");
        return;
    }
    for (auto _ : state) {
        window->runSearch();
        benchmark::DoNotOptimize(window->found().data());
    }
    if (window->found().size() != shell.expectedFound) {
        state.SkipWithError("the window's recipes differ from the core's");
    }
    state.counters["found"] = static_cast<double>(window->found().size());
    shell.close(gui::forms::kFridgeSearch);
}

}  // namespace

BENCHMARK(BM_OpenTimeSearch)->Arg(200)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TimeSearch)->Arg(200)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenFridge)->Arg(200)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FridgeSearch)->Arg(200)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    shells().clear();
    benchmark::Shutdown();
    return 0;
}
