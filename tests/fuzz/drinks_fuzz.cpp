// drinkar.txt as any hand edit may leave it: deleting a listed drink takes exactly one of its
// name, and an unchanged save of a drink leaves the list and its glass as they were. (That the
// list, the glass filter and reading a drink all see the same records is the record reader's
// target.)
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
    for (const auto& name : fuzz::firstDistinct(all.names, 3)) {
        const auto drink = drinks::readDrink(content, name);
        FUZZ_CHECK(drink.has_value());
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
