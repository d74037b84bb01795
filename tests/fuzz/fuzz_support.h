#pragma once

// What the fuzz targets share: a check that names the broken invariant and aborts (so
// libFuzzer keeps the input as a crash), and small helpers to look at an input as text.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace culvora::fuzz {

[[noreturn]] inline void invariantBroken(const char* condition, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, condition);
    std::abort();
}

inline std::string_view asText(const std::uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

inline bool hasLineBreak(std::string_view s)
{
    return s.find_first_of("\r\n") != std::string_view::npos;
}

template <class T>
std::size_t countOf(const std::vector<T>& items, std::string_view value)
{
    return static_cast<std::size_t>(
        std::count_if(items.begin(), items.end(), [&](const T& item) { return item == value; }));
}

// The first `limit` distinct values, in order of first appearance.
inline std::vector<std::string> firstDistinct(const std::vector<std::string>& items,
                                              std::size_t limit)
{
    std::vector<std::string> out;
    for (const auto& item : items) {
        if (out.size() == limit) break;
        if (std::find(out.begin(), out.end(), item) == out.end()) out.push_back(item);
    }
    return out;
}

}  // namespace culvora::fuzz

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) ::culvora::fuzz::invariantBroken(#condition, __FILE__, __LINE__);        \
    } while (false)
