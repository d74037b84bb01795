// typer.txt, the recipe types, as any hand edit may leave it: what is written holds every
// name read plus the original types, sorted, and reads back as exactly that list.
//
// fuzz-options: -max_len=8192

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/store/recipe_types.h"
#include "core/text/text.h"
#include "fuzz_support.h"

using namespace culvora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view content = fuzz::asText(data, size);
    const auto types = store::parseTypes(content);

    // The non-empty lines, in file order.
    std::vector<std::string> nonEmpty;
    for (auto line : text::splitLineViews(content)) {
        if (!line.empty()) nonEmpty.emplace_back(line);
    }
    FUZZ_CHECK(types == nonEmpty);

    // Written: every name read (twice stays twice) and each missing original once, sorted.
    const auto written = store::typesToWrite(types);
    FUZZ_CHECK(std::is_sorted(written.begin(), written.end(), text::CollateLess{}));
    auto expected = types;
    for (auto original : store::kOriginalTypes) {
        FUZZ_CHECK(fuzz::countOf(written, original) >= 1);
        if (fuzz::countOf(types, original) == 0) expected.emplace_back(original);
    }
    auto sortedWritten = written;
    std::sort(expected.begin(), expected.end());
    std::sort(sortedWritten.begin(), sortedWritten.end());
    FUZZ_CHECK(sortedWritten == expected);

    // Read back, the file is that list; writing it again changes nothing.
    const std::string formatted = store::formatTypes(types);
    FUZZ_CHECK(store::parseTypes(formatted) == written);
    FUZZ_CHECK(store::formatTypes(store::parseTypes(formatted)) == formatted);
    return 0;
}
