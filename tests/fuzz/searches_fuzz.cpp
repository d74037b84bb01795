// A cookbook as any hand edit may leave it, seen by the two searches, the find field and the
// weekly menu: the time index survives its file, hits come sorted, marking more words in the
// fridge never loses a match and no mark finds nothing, the find field's empty query lists
// every record in order and a name hit is a hit of every line and holds the query, ticking
// words only narrows the menu's candidates, and a candidate always has a name. (That they all see the cookbook's own records is the record
// reader's target.)
//
// fuzz-options: -max_len=16384

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/menu/weekly_menu.h"
#include "core/search/fridge_search.h"
#include "core/search/recipe_find.h"
#include "core/search/time_search.h"
#include "core/text/text.h"
#include "fuzz_support.h"

using namespace culvora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view cookbook = fuzz::asText(data, size);
    const auto index = search::buildTimeIndex(cookbook);
    FUZZ_CHECK(search::parseTimeIndex(search::formatTimeIndex(index)) == index);

    const auto words = fuzz::firstDistinct(text::splitLines(cookbook), 4);
    search::TimeQuery query{index.empty() ? std::string() : index.front().name, 300, {}};
    for (const auto& word : words) {
        if (!word.empty()) query.words.push_back(text::toLower(word).substr(0, 3));
    }
    for (const auto& type : {std::string("Desserts"), query.type}) {
        query.type = type;
        const auto hits = search::searchByTime(cookbook, index, query);
        FUZZ_CHECK(std::is_sorted(hits.begin(), hits.end(), text::CollateLess{}));
    }

    const search::RecipeFinder finder(cookbook);
    const auto all = finder.findNames("", search::FindMode::Names);
    FUZZ_CHECK(all.size() == finder.size());
    FUZZ_CHECK(std::is_sorted(all.begin(), all.end(), text::CollateLess{}));
    for (const auto& word : words) {
        const std::string piece = word.substr(0, 3);
        const auto byName = finder.find(piece, search::FindMode::Names);
        const auto everywhere = finder.find(piece, search::FindMode::Everywhere);
        for (std::size_t ordinal : byName) {
            FUZZ_CHECK(std::find(everywhere.begin(), everywhere.end(), ordinal) !=
                       everywhere.end());
            FUZZ_CHECK(text::foldedForFind(finder.name(ordinal))
                           .find(text::foldedForFind(piece)) != std::string::npos);
        }
    }

    std::vector<std::string> list;
    for (const auto& line : text::splitLineViews(cookbook)) {
        const auto word = search::lastWord(line);
        if (!word.empty() && fuzz::countOf(list, word) == 0) list.push_back(word);
    }
    std::stable_sort(list.begin(), list.end(), text::CollateLess{});
    const std::vector<std::string> some(list.begin(),
                                        list.begin() + static_cast<long>(list.size() / 2));
    const auto fewer = search::fridgeSearch(cookbook, list, some);
    const auto more = search::fridgeSearch(cookbook, list, list);
    for (const auto& name : fewer) {
        FUZZ_CHECK(std::find(more.begin(), more.end(), name) != more.end());
    }
    FUZZ_CHECK(search::fridgeSearch(cookbook, list, {}).empty());

    for (auto meal : {menu::Meal::Light, menu::Meal::Casual, menu::Meal::Special}) {
        const auto all_ = menu::compose(cookbook, meal, {}).candidates;
        const auto some_ = menu::compose(cookbook, meal, query.words).candidates;
        FUZZ_CHECK(some_.size() <= all_.size());
        for (const auto& name : all_) FUZZ_CHECK(!name.empty());
    }
    return 0;
}
