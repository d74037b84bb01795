// Importing Meal-Master archives of 1,000 and 20,000 recipes (about 1 MB and 20 MB) into an
// empty cookbook, and writing the HTML archive of cookbooks of 2,000 and 20,000 recipes.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "cookbook_generator.h"
#include "core/transfer/html_archive.h"
#include "core/transfer/mealmaster.h"
#include "mealmaster_generator.h"

using namespace culvora;

namespace {

struct BenchFolder {
    explicit BenchFolder(const std::string& name)
        : path(std::filesystem::temp_directory_path() / ("culvora-bench-" + name))
    {
        std::filesystem::create_directories(path);
    }
    ~BenchFolder() { std::filesystem::remove_all(path); }
    std::filesystem::path path;
};

void importMealMaster(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    BenchFolder folder("mm-" + std::to_string(count));
    const std::string archive = bench::mealMasterArchive(count);
    ProgramFolder data(folder.path);
    for (auto _ : state) {
        state.PauseTiming();
        (void)writeFileAtomic(folder.path / "BOOK1.TXT", "", "recept.tmp");
        state.ResumeTiming();
        auto report = transfer::importMealMasterInto(data, "BOOK1.TXT", archive);
        if (!report || report->imported != count || !report->skipped.empty()) {
            state.SkipWithError("the import lost recipes");
            break;
        }
    }
    state.counters["bytes"] = static_cast<double>(archive.size());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(archive.size()));
}

void writeArchive(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    BenchFolder folder("archive-" + std::to_string(count));
    (void)writeFileAtomic(folder.path / "BOOK1.TXT", bench::generatedCookbook(count), "recept.tmp");
    ProgramFolder data(folder.path);
    for (auto _ : state) {
        auto result = transfer::writeArchive(data, "BOOK1.TXT", transfer::ArchiveOptions{});
        if (!result || result->pages != count) {
            state.SkipWithError("the archive lost pages");
            break;
        }
    }
}

BENCHMARK(importMealMaster)->Arg(1000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(writeArchive)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
