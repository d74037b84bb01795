// The browser's find field at 20,000 recipes (about 10 MB), as a cook types: each keystroke
// filters the names (or, with "Every word", the recipes' every line), places the labels found
// and paints the window. The first keystroke after a fill also reads the cookbook once (in the
// window that reading happens as soon as the field takes the focus, before anything is typed).

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QImage>
#include <QLineEdit>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "cookbook_generator.h"
#include "gui/app/main_window.h"
#include "gui/app/qt_services.h"
#include "gui/app/window_registry.h"
#include "gui/recipes/recipe_browser.h"
#include "gui/recipes/recipe_routines.h"
#include "gui/windows.h"

namespace {

namespace fs = std::filesystem;
using namespace culvora;

constexpr int kRecipes = 20000;

void writeFile(const fs::path& file, const std::string& bytes)
{
    std::ofstream out(file, std::ios::binary);
    out << bytes;
}

struct Shell {
    fs::path path;
    gui::QtServices services;
    gui::ShellState state;
    std::unique_ptr<gui::MainWindow> main;
    gui::RecipeBrowser* browser = nullptr;

    Shell()
    {
        path = fs::temp_directory_path() / "culvora-bench-find";
        fs::remove_all(path);
        fs::create_directories(path);
        writeFile(path / "tavendi.ini", "BOOK1.TXT\r\n0\r\n");
        writeFile(path / "bocker.txt", "Standard\r\nBOOK1.TXT\r\n");
        writeFile(path / "BOOK1.TXT", bench::generatedCookbook(kRecipes));
        state.folder = ProgramFolder(path);
        main = std::make_unique<gui::MainWindow>(state, services.services);
        gui::registerAllWindows(main->context());
        main->start();
        browser = qobject_cast<gui::RecipeBrowser*>(main->windows().open(QStringLiteral("recept")));
    }
    ~Shell()
    {
        main.reset();
        fs::remove_all(path);
    }
};

Shell& shell()
{
    static auto* made = new Shell;  // lives until the end of main, before the application goes
    return *made;
}

// Types the word a letter at a time (and clears it again), painting after every keystroke;
// the time is per keystroke.
void typeWord(benchmark::State& state, bool everywhere, const QString& word, bool freshRead)
{
    Shell& s = shell();
    if (!s.browser) {
        state.SkipWithError("the browser did not open");
        return;
    }
    s.browser->everywhereBox()->setChecked(everywhere);
    QImage image(s.browser->size(), QImage::Format_ARGB32_Premultiplied);
    int found = -1;
    for (auto _ : state) {
        if (freshRead) {
            state.PauseTiming();
            s.browser->findField()->clear();
            // A fill: the next keystroke reads the cookbook again.
            gui::FillRecipeList(s.main->context());
            s.browser->placeLabels();
            state.ResumeTiming();
            s.browser->findField()->setText(word.left(1));
            s.browser->render(&image);
        } else {
            for (int n = 1; n <= word.size(); ++n) {
                s.browser->findField()->setText(word.left(n));
                s.browser->render(&image);
            }
        }
        benchmark::DoNotOptimize(image.constBits());
        found = s.browser->layout().gridNameCount();
    }
    if (found <= 0) state.SkipWithError("the find field found nothing");
    state.counters["found"] = found;
    if (!freshRead) {
        state.counters["s per keystroke"] = benchmark::Counter(
            static_cast<double>(word.size()),
            benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    }
    s.browser->findField()->clear();
}

void BM_FirstKeystrokeReadsTheCookbook(benchmark::State& state)
{
    typeWord(state, false, QStringLiteral("p"), true);
}

void BM_TypeANamePart(benchmark::State& state)
{
    typeWord(state, false, QStringLiteral("velvet pie"), false);
}

void BM_TypeAWordEverywhere(benchmark::State& state)
{
    typeWord(state, true, QStringLiteral("potatoes"), false);
}

}  // namespace

BENCHMARK(BM_FirstKeystrokeReadsTheCookbook)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypeANamePart)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypeAWordEverywhere)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    delete &shell();
    benchmark::Shutdown();
    return 0;
}
