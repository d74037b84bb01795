// drinkar.txt as any hand edit may leave it: the names listed are name lines, a filter lists
// a subset, deleting a listed drink takes exactly one of its name, and an unchanged save of a
// drink leaves the list as it was.
//
// fuzz-options: -max_len=8192

#include <cstddef>
#include <cstdint>

#include "core/drinks/drinks.h"
#include "fuzz_support.h"

using namespace culvora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view content = fuzz::asText(data, size);
    const auto all = drinks::listDrinks(content);
    drinks::GlassFilter filter;
    for (int i = 0; i < drinks::GlassFilter::kGlassCount; i += 3) filter.toggle(i);
    const auto some = drinks::listDrinks(content, &filter);
    FUZZ_CHECK(some.names.size() <= all.names.size());
    for (const auto& name : some.names) FUZZ_CHECK(fuzz::countOf(all.names, name) >= 1);
    for (const auto& name : fuzz::firstDistinct(all.names, 3)) {
        const auto drink = drinks::readDrink(content, name);
        FUZZ_CHECK(drink.has_value());
        FUZZ_CHECK(!fuzz::hasLineBreak(drink->glass));
        const auto deleted = drinks::withDeletedDrink(content, name);
        FUZZ_CHECK(deleted.has_value());
        const auto left = drinks::listDrinks(*deleted).names;
        FUZZ_CHECK(fuzz::countOf(left, name) + 1 == fuzz::countOf(all.names, name));
        const auto same = drinks::withReplacedBody(content, name, *drink);
        FUZZ_CHECK(same.has_value());
        FUZZ_CHECK(drinks::listDrinks(*same).names == all.names);
        const auto again = drinks::readDrink(*same, name);
        FUZZ_CHECK(again.has_value() && again->glass == drink->glass);
    }
    return 0;
}
