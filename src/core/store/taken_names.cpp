#include "core/store/taken_names.h"

#include <algorithm>
#include <limits>

namespace culvora::store {

namespace {

struct Numbered {
    std::string base;
    unsigned long from = 2;
};

// "Pancakes (4)" is "Pancakes" numbered 4, so the next number to try is 5; any other name
// is numbered from 2.
Numbered splitNumber(std::string_view name)
{
    constexpr std::string_view kOpen = " (";
    if (name.ends_with(')')) {
        const std::size_t open = name.rfind(kOpen);
        if (open != std::string_view::npos && open > 0) {
            const std::string_view digits =
                name.substr(open + kOpen.size(), name.size() - open - kOpen.size() - 1);
            const bool plain = !digits.empty() && digits.size() <= 9 && digits.front() != '0' &&
                               digits.find_first_not_of("0123456789") == std::string_view::npos;
            if (plain) {
                return {std::string(name.substr(0, open)), std::stoul(std::string(digits)) + 1};
            }
        }
    }
    return {std::string(name), 2};
}

}  // namespace

std::string numberedName(std::string_view base, unsigned long number)
{
    return std::string(base) + " (" + std::to_string(number) + ")";
}

TakenNames::TakenNames(const std::vector<std::string>& names) : names_(names.begin(), names.end())
{
}

bool TakenNames::taken(std::string_view name) const
{
    return names_.contains(std::string(name));
}

unsigned long TakenNames::firstFree(const std::string& base, unsigned long from) const
{
    if (auto known = next_.find(base); known != next_.end()) from = std::max(from, known->second);
    while (taken(numberedName(base, from)) && from < std::numeric_limits<unsigned long>::max()) {
        ++from;
    }
    return from;
}

std::string TakenNames::proposal(std::string_view name) const
{
    if (!taken(name)) return std::string(name);
    const Numbered numbered = splitNumber(name);
    return numberedName(numbered.base, firstFree(numbered.base, numbered.from));
}

std::string TakenNames::claim(std::string_view name)
{
    std::string given;
    if (!taken(name)) {
        given = std::string(name);
    } else {
        const Numbered numbered = splitNumber(name);
        const unsigned long number = firstFree(numbered.base, numbered.from);
        // Every number below it is taken only when the search began at the bottom.
        auto known = next_.find(numbered.base);
        const unsigned long bottom = known == next_.end() ? 2 : known->second;
        if (numbered.from <= bottom) next_[numbered.base] = number + 1;
        given = numberedName(numbered.base, number);
    }
    names_.insert(given);
    return given;
}

}  // namespace culvora::store
