#pragma once

// Lower-casing for the searches, which compare every ingredient line of a cookbook: a table of
// the text layer's Windows-1252 lower case, filled once, and a caller's buffer reused from line
// to line instead of a new string for each.

#include <array>
#include <string>
#include <string_view>

#include "core/text/text.h"

namespace culvora::search {

inline const std::array<char, 256>& lowerCaseTable()
{
    static const std::array<char, 256> table = [] {
        std::array<char, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[static_cast<std::size_t>(b)] = text::toLower(static_cast<char>(b));
        return t;
    }();
    return table;
}

inline void appendLowerCase(std::string& out, std::string_view s)
{
    const auto& table = lowerCaseTable();
    const std::size_t at = out.size();
    out.resize(at + s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        out[at + i] = table[static_cast<unsigned char>(s[i])];
    }
}

}  // namespace culvora::search
