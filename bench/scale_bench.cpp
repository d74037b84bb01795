// How the everyday commands grow with the cookbook: 200, 20,000 and 200,000 recipes (about
// 85 KB, 8.5 MB and 85 MB). Each case reports its CPU time per run ("cpu_ms") and that time
// over the CPU time of `wc -l` on the same file, measured in the same run ("x_wc"), and over
// the same pass made in this process ("x_pass": the file read in 64 KB pieces and its line
// ends counted sixteen bytes at a time, without a process start).
//
//   indexList    the browser's list: the names read, sorted and written out as lines
//   timeSearch   the time and type search
//   fridgeSearch the fridge search with every ingredient marked
//   menuCompose  composing the weekly menu's candidates
//   htmlPage     one recipe as a web page, written to a file
//   viewerOpenMiddle, viewerOpenLast
//                the page the viewer shows, for a recipe in the middle and the last one
//   mealMaster   a Meal-Master archive of as many recipes imported into an empty cookbook
//                (its x_wc is against a pass over the archive)
//   cliNoop      culvora-cli list on an empty cookbook, a process of its own
//
// The 200,000-recipe cases run only with CULVORA_BENCH_LARGE=1 in the environment: they take
// a while to set up, and the quick run of every benchmark in a test build leaves them out.
// bench/ratios.sh times the Release culvora-cli commands themselves against wc -l and
// reports their peak memory; `bench_scale_bench --write-data DIR` writes the files it uses.

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cookbook_generator.h"
#include "core/menu/weekly_menu.h"
#include "core/recipes/html_page.h"
#include "core/recipes/recipe_view.h"
#include "core/search/fridge_search.h"
#include "core/search/time_search.h"
#include "core/store/cookbook.h"
#include "core/store/recipe_index.h"
#include "core/text/text.h"
#include "core/transfer/mealmaster.h"
#include "mealmaster_generator.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace culvora;

constexpr int kSizes[] = {200, 20000, 200000};
const char* const kFridgeWords =
    "butter\r\ncheese\r\neggs\r\ngarlic\r\nmilk\r\nonion\r\npotatoes\r\nsalt\r\n";

bool largeCases()
{
    const char* large = std::getenv("CULVORA_BENCH_LARGE");
    return large && std::string_view(large) == "1";
}

double cpuSeconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void writeFile(const fs::path& file, const std::string& bytes)
{
    std::ofstream out(file, std::ios::binary);
    out << bytes;
}

// A data folder with a cookbook of `count` recipes, its entry in bocker.txt, the Fridge list
// of the generated ingredients, an empty cookbook "Imported" to import into, and (unless
// told not to) a Meal-Master archive of as many recipes beside it.
void writeDataFolder(const fs::path& dir, int count, bool mealMaster = true)
{
    fs::create_directories(dir);
    writeFile(dir / "BOOK1.TXT", bench::generatedCookbook(count));
    writeFile(dir / "EMPTY.TXT", "");
    writeFile(dir / "tavendi.ini", "BOOK1.TXT\r\n0\r\n");
    writeFile(dir / "bocker.txt", "Standard\r\nBOOK1.TXT\r\nImported\r\nEMPTY.TXT\r\n");
    writeFile(dir / "sok.txt", kFridgeWords);
    if (!mealMaster) return;
    writeFile(dir.parent_path() / ("mealmaster-" + std::to_string(count) + ".txt"),
              bench::mealMasterArchive(count));
}

// The data folders of the three sizes, made once per run under the temporary folder.
class Data {
public:
    static Data& get()
    {
        static Data data;
        return data;
    }
    fs::path folder(int count)
    {
        const fs::path dir = root_ / ("d" + std::to_string(count));
        if (!fs::exists(dir / "BOOK1.TXT")) writeDataFolder(dir, count);
        return dir;
    }
    fs::path mealMaster(int count)
    {
        folder(count);
        return root_ / ("mealmaster-" + std::to_string(count) + ".txt");
    }
    fs::path empty()
    {
        const fs::path dir = root_ / "empty";
        if (!fs::exists(dir / "BOOK1.TXT")) {
            fs::create_directories(dir);
            writeFile(dir / "BOOK1.TXT", "");
            writeFile(dir / "tavendi.ini", "BOOK1.TXT\r\n0\r\n");
        }
        return dir;
    }
    ~Data()
    {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

private:
    Data()
        : root_(fs::temp_directory_path() / ("culvora-bench-scale-" + std::to_string(::getpid())))
    {
        fs::create_directories(root_);
    }
    fs::path root_;
};

// Line ends sixteen bytes at a time, as wc counts them: each lane of `ends` goes down by one
// for every '\n' in it, and is added up before it could run over.
std::size_t countLineEnds(const char* data, std::size_t size)
{
    using Bytes = signed char __attribute__((vector_size(16)));
    const Bytes lineEnd = Bytes{} + '\n';
    std::size_t count = 0;
    std::size_t i = 0;
    while (i + 16 <= size) {
        Bytes ends = {};
        for (int k = 0; k < 127 && i + 16 <= size; ++k, i += 16) {
            Bytes bytes;
            std::memcpy(&bytes, data + i, 16);
            ends += bytes == lineEnd;
        }
        for (int lane = 0; lane < 16; ++lane) count += static_cast<std::size_t>(-ends[lane]);
    }
    for (; i < size; ++i) count += data[i] == '\n';
    return count;
}

// What wc -l does: the file read in 64 KB pieces, its line ends counted.
std::size_t wcLines(const fs::path& file)
{
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    static char buffer[64 * 1024];
    std::size_t lines = 0;
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) {
        lines += countLineEnds(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return lines;
}

// The CPU time a finished child process used.
double childSeconds(const std::vector<std::string>& command)
{
    std::vector<char*> argv;
    for (const auto& arg : command) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = ::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int status = 0;
    rusage usage{};
    if (::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        return -1;
    }
    auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The best of several measurements, each repeated until it has run long enough to measure.
template <class Run>
double bestSeconds(Run run)
{
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        int runs = 0;
        double elapsed = 0;
        do {
            const double seconds = run();
            if (seconds < 0) return -1;
            elapsed += seconds;
            ++runs;
        } while (elapsed < 0.02);
        best = std::min(best, elapsed / runs);
    }
    return best;
}

struct Baseline {
    double wc = 0;    // wc -l itself, a process of its own
    double pass = 0;  // the same pass in this process
};

Baseline baselineOf(const fs::path& file)
{
    static std::map<fs::path, Baseline> measured;
    if (auto it = measured.find(file); it != measured.end()) return it->second;
    Baseline baseline;
    baseline.pass = bestSeconds([&] {
        const double start = cpuSeconds();
        benchmark::DoNotOptimize(wcLines(file));
        return cpuSeconds() - start;
    });
    baseline.wc = bestSeconds([&] { return childSeconds({"/usr/bin/wc", "-l", file.string()}); });
    if (baseline.wc < 0) baseline.wc = baseline.pass;
    return measured[file] = baseline;
}

// Runs the case's body as often as the benchmark asks and reports its CPU time per run, and
// that time over the CPU time of wc -l on `baseline` (x_wc) and over the same pass made in
// this process (x_pass, which leaves out the start of a process).
template <class Body>
void measure(benchmark::State& state, const fs::path& baseline, Body body)
{
    const Baseline wc = baselineOf(baseline);
    double spent = 0;
    for (auto _ : state) {
        const double start = cpuSeconds();
        if (!body()) {
            state.SkipWithError("the case did not come out as it should");
            return;
        }
        spent += cpuSeconds() - start;
    }
    const double perRun =
        spent / static_cast<double>(std::max<benchmark::IterationCount>(1, state.iterations()));
    state.counters["cpu_ms"] = perRun * 1e3;
    state.counters["wc_ms"] = wc.wc * 1e3;
    state.counters["x_wc"] = perRun / wc.wc;
    state.counters["x_pass"] = perRun / wc.pass;
}

fs::path bookOf(int count)
{
    return Data::get().folder(count) / "BOOK1.TXT";
}

void indexList(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const ProgramFolder folder(Data::get().folder(count));
    measure(state, bookOf(count), [&] {
        auto names = store::readNames(folder, "BOOK1.TXT");
        if (!names) return false;
        const auto built = store::buildRecipeIndex(std::move(*names));
        std::string out;
        for (const auto& entry : built.entries) {
            text::appendUtf8(out, entry.text);
            out += '\n';
            if (out.size() > 64 * 1024) out.clear();
        }
        return built.count == count;
    });
}

Result<std::string> cookbookText(const ProgramFolder& folder)
{
    return folder.read("BOOK1.TXT");
}

void timeSearch(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const ProgramFolder folder(Data::get().folder(count));
    search::TimeQuery query;
    query.type = "Hot dish";
    query.maxMinutes = 60;
    query.words = {"cheese"};
    measure(state, bookOf(count), [&] {
        auto content = cookbookText(folder);
        if (!content) return false;
        const auto hits = search::searchByTime(*content, search::buildTimeIndex(*content), query);
        return !hits.empty();
    });
}

void fridgeSearch(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const ProgramFolder folder(Data::get().folder(count));
    const std::vector<std::string> words = text::splitLines(kFridgeWords);
    // Every ingredient of the generated recipes at hand: each of them is found.
    const std::vector<std::string> marked = words;
    measure(state, bookOf(count), [&] {
        auto content = cookbookText(folder);
        if (!content) return false;
        return search::fridgeSearch(*content, words, marked).size() ==
               static_cast<std::size_t>(count);
    });
}

void menuCompose(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const ProgramFolder folder(Data::get().folder(count));
    measure(state, bookOf(count), [&] {
        auto composed = menu::composeFromCookbook(folder, "BOOK1.TXT", menu::Meal::Casual, {});
        return composed && !composed->candidates.empty();
    });
}

void htmlPage(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const fs::path dir = Data::get().folder(count);
    const ProgramFolder folder(dir);
    const std::string name = bench::generatedName(count / 2);
    const fs::path out = dir.parent_path() / ("page-" + std::to_string(count) + ".html");
    measure(state, bookOf(count), [&] {
        auto page = recipes::readViewerPage(folder, "BOOK1.TXT", name);
        if (!page || !page->texts.found) return false;
        const recipes::RecipeTexts& t = page->texts;
        return writeFileAtomic(
                   out,
                   recipes::recipePage({t.name, t.servings, t.time, t.ingredients, t.instructions}),
                   "page.tmp")
            .has_value();
    });
}

void viewerOpen(benchmark::State& state, bool last)
{
    const int count = static_cast<int>(state.range(0));
    const ProgramFolder folder(Data::get().folder(count));
    const std::string name = bench::generatedName(last ? count - 1 : count / 2);
    measure(state, bookOf(count), [&] {
        auto page = recipes::readViewerPage(folder, "BOOK1.TXT", name);
        return page && page->texts.found;
    });
}

void viewerOpenMiddle(benchmark::State& state)
{
    viewerOpen(state, false);
}

void viewerOpenLast(benchmark::State& state)
{
    viewerOpen(state, true);
}

void mealMaster(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const fs::path dir = Data::get().folder(count);
    const ProgramFolder folder(dir);
    const fs::path archive = Data::get().mealMaster(count);
    measure(state, archive, [&] {
        if (!writeFileAtomic(dir / "EMPTY.TXT", "", "recept.tmp", Sync::No)) return false;
        auto report = transfer::importMealMaster(folder, "Imported", archive);
        return report && report->imported == count && report->skipped.empty();
    });
}

#ifdef CULVORA_CLI_PATH
void cliNoop(benchmark::State& state)
{
    const std::string cli = CULVORA_CLI_PATH;
    const std::string empty = Data::get().empty().string();
    double spent = 0;
    for (auto _ : state) {
        const double seconds = childSeconds({cli, "--data-dir", empty, "list"});
        if (seconds < 0) {
            state.SkipWithError("culvora-cli list failed");
            return;
        }
        spent += seconds;
    }
    state.counters["cpu_ms"] =
        spent * 1e3 /
        static_cast<double>(std::max<benchmark::IterationCount>(1, state.iterations()));
}
#endif

void sizes(benchmark::internal::Benchmark* b)
{
    for (int count : kSizes) {
        if (count > 20000 && !largeCases()) continue;
        b->Arg(count);
    }
    b->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(indexList)->Apply(sizes);
BENCHMARK(timeSearch)->Apply(sizes);
BENCHMARK(fridgeSearch)->Apply(sizes);
BENCHMARK(menuCompose)->Apply(sizes);
BENCHMARK(htmlPage)->Apply(sizes);
BENCHMARK(viewerOpenMiddle)->Apply(sizes);
BENCHMARK(viewerOpenLast)->Apply(sizes);
BENCHMARK(mealMaster)->Apply(sizes);
#ifdef CULVORA_CLI_PATH
BENCHMARK(cliNoop)->Unit(benchmark::kMillisecond);
#endif

int main(int argc, char** argv)
{
    // --write-data DIR: the data folders and Meal-Master archives of the three sizes, for
    // bench/ratios.sh.
    // Beside each folder dN, dN.names holds the names of its middle and last recipe (UTF-8).
    if (argc == 3 && std::string_view(argv[1]) == "--write-data") {
        const fs::path root(argv[2]);
        for (int count : kSizes) {
            // The largest import the script times is the 83,000-recipe file below.
            writeDataFolder(root / ("d" + std::to_string(count)), count, count <= 20000);
            writeFile(root / ("d" + std::to_string(count) + ".names"),
                      text::toUtf8(bench::generatedName(count / 2)) + "\n" +
                          text::toUtf8(bench::generatedName(count - 1)) + "\n");
        }
        const fs::path empty = root / "empty";
        fs::create_directories(empty);
        writeFile(empty / "BOOK1.TXT", "");
        writeFile(empty / "tavendi.ini", "BOOK1.TXT\r\n0\r\n");
        writeFile(root / "mealmaster-83000.txt", bench::mealMasterArchive(83000));
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
