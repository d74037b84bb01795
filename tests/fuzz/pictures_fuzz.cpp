// bilder.txt as any hand edit may leave it: the pairs read back as written, and a look-up
// takes the path of the first pair whose name line matches.
//
// fuzz-options: -max_len=8192

#include <cstddef>
#include <cstdint>

#include "core/recipes/pictures.h"
#include "fuzz_support.h"

using namespace culvora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto entries = recipes::parsePictures(fuzz::asText(data, size));
    for (const auto& entry : entries) {
        FUZZ_CHECK(!fuzz::hasLineBreak(entry.name) && !fuzz::hasLineBreak(entry.path));
    }
    const std::string written = recipes::formatPictures(entries);
    FUZZ_CHECK(recipes::parsePictures(written) == entries);
    for (const auto& entry : entries) {
        const auto found = recipes::findPicture(entries, entry.name);
        FUZZ_CHECK(found.has_value());
        // The first entry of that name gives it.
        for (const auto& first : entries) {
            if (first.name == entry.name) {
                FUZZ_CHECK(*found == first.path);
                break;
            }
        }
    }
    return 0;
}
