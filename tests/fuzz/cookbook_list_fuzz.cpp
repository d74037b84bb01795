// bocker.txt, the list of cookbooks (title line, file line, ...), as any hand edit may leave
// it: the pairs read, written and read again are the same pairs, and the look-ups and the
// choice of the cookbook to fall back on agree with them.
//
// fuzz-options: -max_len=8192

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/store/cookbook_list.h"
#include "core/text/text.h"
#include "fuzz_support.h"

using namespace culvora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view content = fuzz::asText(data, size);
    const auto entries = store::parseCookbookList(content);

    // Pairs of lines in order; a title without its file line at the end is ignored.
    const auto lines = text::splitLineViews(content);
    FUZZ_CHECK(entries.size() == lines.size() / 2);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        FUZZ_CHECK(entries[i].title == lines[2 * i]);
        FUZZ_CHECK(entries[i].file == lines[2 * i + 1]);
    }

    // Written and read again: the same pairs, and writing that gives the same bytes.
    const std::string formatted = store::formatCookbookList(entries);
    const auto reread = store::parseCookbookList(formatted);
    FUZZ_CHECK(reread == entries);
    FUZZ_CHECK(store::formatCookbookList(reread) == formatted);

    // The sorted titles are the titles, in the one sort order.
    const auto titles = store::sortedTitles(entries);
    FUZZ_CHECK(titles.size() == entries.size());
    FUZZ_CHECK(std::is_sorted(titles.begin(), titles.end(), text::CollateLess{}));
    for (const auto& entry : entries) {
        FUZZ_CHECK(fuzz::countOf(titles, entry.title) ==
                   static_cast<std::size_t>(std::count_if(
                       entries.begin(), entries.end(),
                       [&](const store::CookbookEntry& e) { return e.title == entry.title; })));
        // The first pair with that title, and the first with that file, win.
        const auto* byTitle = store::findByTitle(entries, entry.title);
        FUZZ_CHECK(byTitle && byTitle->title == entry.title && byTitle <= &entry);
        const auto* byFile = store::findByFile(entries, entry.file);
        FUZZ_CHECK(byFile && byFile->file == entry.file && byFile <= &entry);
        // The current cookbook's row shows the title of the first pair naming its file.
        const int row = store::currentTitleRow(titles, entries, entry.file);
        FUZZ_CHECK(row >= 0 && static_cast<std::size_t>(row) < titles.size());
        FUZZ_CHECK(titles[static_cast<std::size_t>(row)] == byFile->title);
    }

    // The fallback is listed: the standard cookbook when there is one, else the first title.
    const auto fallback = store::fallbackCookbook(entries);
    FUZZ_CHECK(fallback.has_value() == !entries.empty());
    if (fallback) {
        FUZZ_CHECK(std::find(entries.begin(), entries.end(), *fallback) != entries.end());
        const bool anyStandard =
            std::any_of(entries.begin(), entries.end(), [](const store::CookbookEntry& e) {
                return store::isStandardTitle(e.title);
            });
        if (anyStandard) {
            FUZZ_CHECK(store::isStandardTitle(fallback->title));
        } else {
            FUZZ_CHECK(fallback->title == titles.front());
        }
    }
    return 0;
}
