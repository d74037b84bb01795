// Any bytes as a cookbook and as a drinks file: the record reader keeps its own invariants
// (fields never hold a line break or a line that would have ended them, offsets lie in the
// file and rise, a rewrite keeps every other record), and every consumer of the records — the
// list, reading a record, the time index and time search, the fridge search and its copy, the
// weekly menu, the archive pages, the exchange record, the drinks list and filter — sees the
// records the reader yields, in the same order, with the same fields.
//
// fuzz-options: -max_len=16384

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz_support.h"
#include "record_agreement.h"

using namespace culvora;

namespace {

void check(const std::string& problem)
{
    if (problem.empty()) return;
    std::fprintf(stderr, "%s\n", problem.c_str());
    FUZZ_CHECK(problem.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view content = fuzz::asText(data, size);
    check(agreement::readerBroken(content, store::RecordFormat::Cookbook));
    check(agreement::readerBroken(content, store::RecordFormat::Drinks));
    check(agreement::consumersDisagree(content));
    check(agreement::rewriteBroken(content));
    check(agreement::drinksDisagree(content));
    return 0;
}
