#pragma once

// Cookbooks made at random from the pieces real files are made of (tags, names, values, odd
// line ends, a missing last line end), the way a hand edit or another program leaves them.

#include <random>
#include <span>
#include <string>

namespace culvora::testing {

inline std::string randomCookbook(std::mt19937& random, std::span<const char* const> pieces,
                                  int maxLines = 40)
{
    static const char* const ends[] = {"\r\n", "\r\n", "\r\n", "\r", "\n"};
    std::uniform_int_distribution<int> lines(0, maxLines);
    std::uniform_int_distribution<std::size_t> piece(0, pieces.size() - 1);
    std::uniform_int_distribution<std::size_t> end(0, std::size(ends) - 1);
    std::string content;
    for (int i = lines(random); i > 0; --i) {
        content += pieces[piece(random)];
        if (i > 1 || random() % 4) content += ends[end(random)];
    }
    return content;
}

}  // namespace culvora::testing
