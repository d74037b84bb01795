// The recipe store on cookbooks of 200, 2,000 and 20,000 recipes: listing names, reading the
// last record, appending, replacing and deleting the middle record (fsync included).

#include <benchmark/benchmark.h>

#include <filesystem>

#include "cookbook_generator.h"
#include "core/store/cookbook.h"

using namespace culvora;

namespace {

struct BenchFolder {
    explicit BenchFolder(int count)
    {
        path = std::filesystem::temp_directory_path() / ("culvora-bench-" + std::to_string(count));
        std::filesystem::create_directories(path);
        content = bench::generatedCookbook(count);
        reset();
    }
    ~BenchFolder() { std::filesystem::remove_all(path); }
    void reset() const { (void)writeFileAtomic(path / "BOOK1.TXT", content, "recept.tmp"); }
    std::filesystem::path path;
    std::string content;
};

void listNames(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    BenchFolder folder(count);
    store::Cookbook book(ProgramFolder(folder.path), "BOOK1.TXT");
    for (auto _ : state) benchmark::DoNotOptimize(book.names());
    state.counters["bytes"] = static_cast<double>(folder.content.size());
}

void readLast(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    BenchFolder folder(count);
    store::Cookbook book(ProgramFolder(folder.path), "BOOK1.TXT");
    const std::string name = bench::generatedName(count - 1);
    for (auto _ : state) benchmark::DoNotOptimize(book.read(name));
}

void append(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    BenchFolder folder(count);
    store::Cookbook book(ProgramFolder(folder.path), "BOOK1.TXT");
    int i = count;
    for (auto _ : state) {
        if (!book.append(bench::generatedRecord(i++))) state.SkipWithError("append failed");
    }
}

void replaceMiddle(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    BenchFolder folder(count);
    store::Cookbook book(ProgramFolder(folder.path), "BOOK1.TXT");
    auto record = bench::generatedRecord(count / 2);
    for (auto _ : state) {
        record.servings = std::to_string(state.iterations() % 9 + 1);
        if (!book.replace(record.name, record)) state.SkipWithError("replace failed");
    }
}

void deleteMiddle(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    BenchFolder folder(count);
    store::Cookbook book(ProgramFolder(folder.path), "BOOK1.TXT");
    const std::string name = bench::generatedName(count / 2);
    for (auto _ : state) {
        state.PauseTiming();
        folder.reset();
        state.ResumeTiming();
        if (!book.remove(name)) state.SkipWithError("delete failed");
    }
}

}  // namespace

BENCHMARK(listNames)->Arg(200)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(readLast)->Arg(200)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(append)->Arg(200)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(replaceMiddle)->Arg(200)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(deleteMiddle)->Arg(200)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
