// papperskorg.txt as any hand edit may leave it: every listed entry is written back as it was
// read, comes out of the bin leaving the others, and put back into a cookbook or the drinks it
// is one record that reads back equal, under its own name or a numbered one. Adding an entry
// keeps at most the bin's size and the new entry last.
//
// fuzz-options: -max_len=8192

#include <cstddef>
#include <cstdint>

#include "core/drinks/drinks.h"
#include "core/store/bin.h"
#include "core/store/cookbook.h"
#include "fuzz_support.h"

using namespace culvora;
using namespace culvora::store;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view content = fuzz::asText(data, size);
    const auto entries = parseBin(content);
    std::size_t checked = 0;
    for (const auto& entry : entries) {
        if (++checked > 3) break;
        // Written again, it reads back the same.
        const auto written = formatBinEntry(entry);
        FUZZ_CHECK(written.has_value());
        FUZZ_CHECK(parseBin(*written) == std::vector<BinEntry>{entry});
        // Taken out, exactly one entry is gone.
        const auto without = withoutBinEntry(content, entry);
        FUZZ_CHECK(without.has_value());
        FUZZ_CHECK(parseBin(*without).size() + 1 == entries.size());
        // Put back, it is one record of that name that holds the entry's lines.
        const std::string name = freeName(entry.name, listNames(content));
        const std::string lines = renamedLines(entry.lines, name);
        const std::string restored = withAppendedLines(content, lines);
        if (entry.kind() == BinKind::Drink) {
            const auto drink = drinks::readDrink(restored, name);
            FUZZ_CHECK(drink.has_value());
            const auto alone = drinks::readDrink("[NAMN]\r\n" + lines, name);
            FUZZ_CHECK(alone.has_value() && *drink == *alone);
        } else {
            const auto record = recordLines(restored, name);
            FUZZ_CHECK(record.has_value() && *record == lines);
        }
    }
    // Adding one keeps the newest, up to the limit.
    BinEntry added{"Added", "2026-01-01 00:00", "BOOK1.TXT", "Standard", "Added\r\n[TYP]\r\n"};
    const auto grown = withBinEntry(content, added, 2);
    FUZZ_CHECK(grown.has_value());
    const auto after = parseBin(*grown);
    FUZZ_CHECK(!after.empty() && after.size() <= 2 && after.back() == added);
    return 0;
}
