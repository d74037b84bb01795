// Opening the recipe browser on cookbooks of 200, 2,000 and 20,000 recipes: reading and
// sorting the list and placing the labels, and then painting the first view.

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "cookbook_generator.h"
#include "gui/app/main_window.h"
#include "gui/app/qt_services.h"
#include "gui/app/window_registry.h"
#include "gui/recipes/recipe_browser.h"
#include "gui/windows.h"

namespace {

namespace fs = std::filesystem;
using namespace culvora;

void writeFile(const fs::path& file, const std::string& bytes)
{
    std::ofstream out(file, std::ios::binary);
    out << bytes;
}

// A data folder with one cookbook of `count` recipes and the delivered pictures.
struct Folder {
    fs::path path;

    explicit Folder(int count)
    {
        path = fs::temp_directory_path() / ("culvora-bench-browser-" + std::to_string(count));
        fs::remove_all(path);
        fs::create_directories(path);
        writeFile(path / "tavendi.ini", "BOOK1.TXT\r\n0\r\n");
        writeFile(path / "bocker.txt", "Standard\r\nBOOK1.TXT\r\n");
        writeFile(path / "BOOK1.TXT", bench::generatedCookbook(count));
        const fs::path data = fs::path(CULVORA_DATA_SOURCE);
        std::error_code ignored;
        fs::copy_file(data / "recept.gif", path / "recept.gif", ignored);
        fs::copy(data / "pics", path / "pics", fs::copy_options::recursive, ignored);
    }
    ~Folder() { fs::remove_all(path); }
};

struct Shell {
    std::unique_ptr<Folder> folder;
    gui::QtServices services;
    gui::ShellState state;
    std::unique_ptr<gui::MainWindow> main;

    explicit Shell(int count) : folder(std::make_unique<Folder>(count))
    {
        state.folder = ProgramFolder(folder->path);
        main = std::make_unique<gui::MainWindow>(state, services.services);
        gui::registerAllWindows(main->context());
        main->start();
    }

    gui::RecipeBrowser* open()
    {
        return qobject_cast<gui::RecipeBrowser*>(main->windows().open(QStringLiteral("recept")));
    }

    void close()
    {
        main->windows().close(QStringLiteral("recept"));
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

void BM_OpenBrowser(benchmark::State& state)
{
    Shell& shell = shellFor(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        gui::RecipeBrowser* browser = shell.open();
        benchmark::DoNotOptimize(browser);
        state.PauseTiming();
        if (!browser || browser->layout().nameCount() != state.range(0)) {
            state.SkipWithError("the browser did not list every recipe");
            break;  // the timer must not be resumed after an error
        }
        shell.close();
        state.ResumeTiming();
    }
}

void BM_OpenAndPaintFirstView(benchmark::State& state)
{
    Shell& shell = shellFor(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        gui::RecipeBrowser* browser = shell.open();
        if (!browser) {
            state.SkipWithError("the browser did not open");
            break;
        }
        QImage image(browser->size(), QImage::Format_ARGB32_Premultiplied);
        browser->render(&image);
        benchmark::DoNotOptimize(image.constBits());
        state.PauseTiming();
        shell.close();
        state.ResumeTiming();
    }
}

void BM_ScrollAndRepaint(benchmark::State& state)
{
    // The letter strip from A to Z and back, with a repaint after each jump.
    Shell& shell = shellFor(static_cast<int>(state.range(0)));
    gui::RecipeBrowser* browser = shell.open();
    if (!browser) {
        state.SkipWithError("the browser did not open");
        return;
    }
    QImage image(browser->size(), QImage::Format_ARGB32_Premultiplied);
    int letter = 0;
    for (auto _ : state) {
        letter = letter == 0 ? 24 : 0;
        browser->pressLetter(letter);
        browser->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    shell.close();
}

}  // namespace

BENCHMARK(BM_OpenBrowser)->Arg(200)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenAndPaintFirstView)->Arg(200)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollAndRepaint)->Arg(20000)->Unit(benchmark::kMillisecond);

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
