// The browser's find field at 20,000 recipes (about 10 MB): reading the cookbook into the
// finder once, and then one keystroke's search, by name and through every line, for a query
// that hits many recipes, one that hits a few and one that hits none (the whole text searched).

#include <benchmark/benchmark.h>

#include "cookbook_generator.h"
#include "core/search/recipe_find.h"
#include "core/text/text.h"

using namespace culvora;

namespace {

constexpr int kRecipes = 20000;

const std::string& book()
{
    static const std::string content = bench::generatedCookbook(kRecipes);
    return content;
}

const search::RecipeFinder& finder()
{
    static const search::RecipeFinder built(book());
    return built;
}

void buildFinder(benchmark::State& state)
{
    for (auto _ : state) {
        search::RecipeFinder built(book());
        benchmark::DoNotOptimize(built.size());
    }
    state.counters["bytes"] = static_cast<double>(book().size());
}

// The query, the mode and how many recipes it must find (-1: some).
struct Query {
    const char* text;
    search::FindMode mode;
    long hits;
};

const Query kQueries[] = {
    {"e", search::FindMode::Names, -1},            // most names
    {"pie no. 1", search::FindMode::Names, -1},    // some
    {"\xC4PPEL", search::FindMode::Names, 689},    // Äppel: one name in 29
    {"zzz", search::FindMode::Names, 0},           // none
    {"milk", search::FindMode::Everywhere, kRecipes},
    {"velvet", search::FindMode::Everywhere, 689},
    {"saffron", search::FindMode::Everywhere, 0},  // none: every line searched
};

void findKeystroke(benchmark::State& state)
{
    const Query& query = kQueries[state.range(0)];
    const auto& f = finder();
    std::size_t hits = 0;
    for (auto _ : state) {
        hits = f.find(query.text, query.mode).size();
        benchmark::DoNotOptimize(hits);
    }
    const bool right = query.hits < 0 ? hits > 0 : hits == static_cast<std::size_t>(query.hits);
    if (!right) state.SkipWithError("wrong number of hits");
    state.SetLabel(std::string(query.mode == search::FindMode::Names ? "names " : "everywhere ") +
                   text::toUtf8(query.text));
    state.counters["hits"] = static_cast<double>(hits);
}

}  // namespace

BENCHMARK(buildFinder)->Unit(benchmark::kMillisecond);
BENCHMARK(findKeystroke)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
