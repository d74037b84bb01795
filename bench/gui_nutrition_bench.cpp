// The two nutrition windows over the delivered table of 7,413 foods: opening the Nutrition
// index (reading the table, filling the grid's model, painting the first view), opening the
// calculator (every name sorted into its list), and one "Räkna!" over a dish of 50 lines.

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "gui/app/main_window.h"
#include "gui/app/qt_services.h"
#include "gui/app/window_registry.h"
#include "gui/nutrition/calculator_window.h"
#include "gui/nutrition/nutrition_viewer.h"
#include "gui/windows.h"

namespace {

namespace fs = std::filesystem;
using namespace culvora;

constexpr int kFoods = 7413;

// A data folder with the delivered nutrition table.
struct Folder {
    fs::path path;

    Folder()
    {
        path = fs::temp_directory_path() / "culvora-bench-nutrition";
        fs::remove_all(path);
        fs::create_directories(path);
        const fs::path data = fs::path(CULVORA_DATA_SOURCE);
        fs::copy_file(data / "index.txt", path / "index.txt");
    }
    ~Folder() { fs::remove_all(path); }
};

struct Shell {
    Folder folder;
    gui::QtServices services;
    gui::ShellState state;
    std::unique_ptr<gui::MainWindow> main;

    Shell()
    {
        state.folder = ProgramFolder(folder.path);
        main = std::make_unique<gui::MainWindow>(state, services.services);
        gui::registerAllWindows(main->context());
        main->start();
        // The grid opens at the size it has on a real screen.
        main->resize(1400, 1000);
        main->show();
    }

    QWidget* open(const QString& name) { return main->windows().open(name); }
    void close(const QString& name)
    {
        main->windows().close(name);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

// The shell lives until the end of main, before the application goes.
std::unique_ptr<Shell>& shell()
{
    static std::unique_ptr<Shell> one;
    if (!one) one = std::make_unique<Shell>();
    return one;
}

void BM_OpenNutritionIndexAndPaint(benchmark::State& state)
{
    Shell& s = *shell();
    const QString name = QStringLiteral("Indx");
    for (auto _ : state) {
        auto* viewer = qobject_cast<gui::NutritionViewer*>(s.open(name));
        if (!viewer || viewer->table().size() != kFoods) {
            state.SkipWithError("the grid did not hold every food");
            break;
        }
        QImage image(viewer->size(), QImage::Format_ARGB32_Premultiplied);
        viewer->render(&image);
        benchmark::DoNotOptimize(image.constBits());
        state.PauseTiming();
        s.close(name);
        state.ResumeTiming();
    }
}

void BM_OpenCalculator(benchmark::State& state)
{
    Shell& s = *shell();
    const QString name = QStringLiteral("cal");
    for (auto _ : state) {
        QWidget* calculator = s.open(name);
        auto* names =
            calculator ? calculator->findChild<QListWidget*>(QStringLiteral("List1")) : nullptr;
        if (!names || names->count() != kFoods) {
            state.SkipWithError("the calculator did not list every food");
            break;
        }
        state.PauseTiming();
        s.close(name);
        state.ResumeTiming();
    }
}

void BM_CalculateDish(benchmark::State& state)
{
    Shell& s = *shell();
    auto* calculator = qobject_cast<gui::CalculatorWindow*>(s.open(QStringLiteral("cal")));
    auto* names =
        calculator ? calculator->findChild<QListWidget*>(QStringLiteral("List1")) : nullptr;
    auto* amount =
        calculator ? calculator->findChild<QLineEdit*>(QStringLiteral("Text1")) : nullptr;
    if (!names || !amount) {
        state.SkipWithError("no calculator");
        return;
    }
    // A dish of `lines` ingredients from all over the table, 50 to 99 g each. Every "Add"
    // adds up the dish; while it is being put together the table is set aside, so that the
    // sanitizer build does not spend seconds on sums nobody times.
    const fs::path table = s.folder.path / "index.txt";
    const fs::path aside = s.folder.path / "index.aside";
    fs::rename(table, aside);
    const int lines = static_cast<int>(state.range(0));
    for (int line = 0; line < lines; ++line) {
        names->setCurrentRow(line * (kFoods / lines));
        amount->setText(QString::number(50 + line));
        calculator->add();
    }
    fs::rename(aside, table);
    for (auto _ : state) {
        calculator->calculate();
        benchmark::DoNotOptimize(calculator->totals());
    }
    if (calculator->totals().front() == QStringLiteral("0 ")) {
        state.SkipWithError("the dish added up to nothing");
    }
    // The dish is let go, as Discard would: closing a calculator with lines in it asks first.
    calculator->letInputGo();
    s.close(QStringLiteral("cal"));
}

}  // namespace

BENCHMARK(BM_OpenNutritionIndexAndPaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenCalculator)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalculateDish)->Arg(50)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    shell().reset();
    benchmark::Shutdown();
    return 0;
}
