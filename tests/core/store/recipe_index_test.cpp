#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <random>

#include "core/store/cookbook.h"
#include "core/store/recipe_index.h"
#include "core/text/text.h"
#include "support/records.h"
#include "support/temp_dir.h"

using namespace culvora;
using namespace culvora::store;

namespace {

TEST(RecipeIndex, ManyNamesInCollationOrderWithEachHeadingAtItsLetter)
{
    // Names that begin with every kind of byte, share long beginnings and repeat.
    std::mt19937 random(7);
    const std::string firsts = "aAbBcCvVwWxXzZ 09(-\xC5\xE5\xC4\xE4\xD6\xF6\xC9\xE9\xD8\xC6\x8A";
    std::vector<std::string> names;
    for (int i = 0; i < 3000; ++i) {
        std::string name(1, firsts[random() % firsts.size()]);
        name += i % 3 == 0 ? "pple pie no. " : "";
        for (int k = static_cast<int>(random() % 6); k > 0; --k) {
            name += firsts[random() % firsts.size()];
        }
        names.push_back(name);
        if (i % 17 == 0) names.push_back(name);
    }

    const RecipeIndex index = buildRecipeIndex(names);
    EXPECT_EQ(buildRecipeIndex(std::vector<std::string>(names)).entries, index.entries);
    EXPECT_EQ(index.count, static_cast<int>(names.size()));

    std::vector<std::string> expected = names;
    std::stable_sort(expected.begin(), expected.end(), text::CollateLess{});
    std::vector<std::string> shown;
    std::vector<std::string> headings;
    int group = -1;  // the letter of the last heading passed
    for (const IndexEntry& entry : index.entries) {
        if (entry.heading) {
            headings.push_back(entry.text);
            group = text::letterGroup(entry.text);
        } else {
            shown.push_back(entry.text);
            // Right under the heading of its letter: digits and signs before "A -------",
            // W under "V -------", Å, Ä and Ö after the names under "Z -------".
            const int letter = text::letterGroup(entry.text);
            EXPECT_EQ(group, std::min(letter, 25)) << entry.text;
        }
    }
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(headings, letterHeadings());
}

// Hands out a text's bytes as a file reader does.
ReadMore readerOf(const std::string& text)
{
    auto at = std::make_shared<std::size_t>(0);
    return [&text, at](char* data, std::size_t size) -> Result<std::size_t> {
        const std::size_t n = std::min(size, text.size() - *at);
        std::copy_n(text.data() + *at, n, data);
        *at += n;
        return n;
    };
}

TEST(RecipeIndex, NamesReadPieceByPieceAreTheNamesOfTheWholeFile)
{
    // Files made of the lines that matter: tags, runs of tags (where every second one is a
    // name line), other lines, with every kind of line end, and a last line with or without
    // one. However the pieces cut them, the names are those of the whole content.
    std::mt19937 random(11);
    const std::vector<std::string> lines = {"[NAMN]", "[NAMN]",    "[NAMN]",   "Pie",    "Soup",
                                            "",       "[G\xD6RA]", "[NAMN] x", "x[NAMN]"};
    const std::vector<std::string> ends = {"\r\n", "\r\n", "\r", "\n"};
    for (int file = 0; file < 300; ++file) {
        std::string content;
        for (int k = static_cast<int>(random() % 40); k > 0; --k) {
            content += lines[random() % lines.size()];
            if (k > 1 || random() % 2 == 0) content += ends[random() % ends.size()];
        }
        const auto expected = listNames(content);
        for (std::size_t piece : {1, 2, 3, 5, 8, 64}) {
            auto names = namesFromPieces(readerOf(content), piece);
            ASSERT_TRUE(names);
            ASSERT_EQ(*names, expected) << "pieces of " << piece << " in " << content;
        }
    }

    // A cookbook of many records in pieces smaller than a record.
    std::string book;
    std::vector<std::string> expected;
    for (int i = 0; i < 500; ++i) {
        expected.push_back("Stew no. " + std::to_string(i));
        book += culvora::testing::record({.name = expected.back(),
                                          .servings = "4",
                                          .time = "60",
                                          .ingredients = {"beef"},
                                          .steps = {"Simmer."},
                                          .type = "Stews"});
    }
    EXPECT_EQ(namesFromPieces(readerOf(book), 16).value(), expected);
    EXPECT_EQ(namesFromPieces(readerOf(book)).value(), expected);

    // A record far larger than a piece is read in one pass, not searched again for every
    // piece that comes in.
    const std::string huge =
        "[NAMN]\r\nBig\r\n" + std::string(8'000'000, 'x') + "\r\n[NAMN]\r\nEnd";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(namesFromPieces(readerOf(huge), 4096).value(),
              (std::vector<std::string>{"Big", "End"}));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));

    culvora::testing::TempDir dir;
    ProgramFolder folder(dir.path());
    dir.write("BOOK1.TXT", book);
    EXPECT_EQ(readNames(folder, "BOOK1.TXT").value(), expected);
    EXPECT_EQ(readNames(folder, "BOOK9.TXT").value(), std::vector<std::string>{});
    EXPECT_FALSE(readNames(folder, "bocker.txt"));
    auto broken = namesFromPieces([](char*, std::size_t) -> Result<std::size_t> {
        return fail(ErrorCode::Io, "Disk gone.");
    });
    ASSERT_FALSE(broken);
    EXPECT_EQ(broken.error().message, "Disk gone.");
}

}  // namespace
