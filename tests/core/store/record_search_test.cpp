// Finding the n-th recipe of a name by searching for the name, and the numbered names the
// imports give a name that is taken.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/store/record_search.h"
#include "core/store/taken_names.h"
#include "support/temp_dir.h"

using namespace culvora;
using namespace culvora::store;
using culvora::testing::crlf;
using culvora::testing::TempDir;

namespace {

std::string pancakes(const std::string& servings)
{
    return crlf({"[NAMN]", "Pancakes", "[PORTIONER]", servings, "[TID]", "20", "[IND]", "3 eggs",
                 "[G\xD6RA]", "Fry.", "[TYP]", "Brunch"});
}

// Three "Pancakes" in file order (servings 1, 2, 3), with the name standing where it is no
// name line: as an ingredient, as the name of a record called "[NAMN]", and in the middle of
// a line.
const std::string kBook =
    pancakes("1") +
    crlf({"[NAMN]", "Bread", "[PORTIONER]", "1", "[TID]", "60", "[IND]", "Pancakes",
          "[G\xD6RA]", "Pancakes and bread", "[TYP]", "Bread"}) +
    pancakes("2") +
    crlf({"[NAMN]", "[NAMN]", "[PORTIONER]", "1", "[TID]", "1", "[IND]", "[G\xD6RA]",
          "[TYP]", "Pancakes"}) +
    pancakes("3");

ReadMore readerOf(std::string_view text)
{
    auto at = std::make_shared<std::size_t>(0);
    return [text, at](char* data, std::size_t size) -> Result<std::size_t> {
        const std::size_t n = std::min(size, text.size() - *at);
        std::copy_n(text.data() + *at, n, data);
        *at += n;
        return n;
    };
}

}  // namespace

TEST(RecordSearch, TheNthRecordOfANameIsTheOneTheStoreReads)
{
    const std::vector<std::optional<std::string>> servings = {"1", "2", "3", std::nullopt};
    for (std::size_t occurrence = 0; occurrence < servings.size(); ++occurrence) {
        SCOPED_TRACE(occurrence);
        const RecordKey key{"Pancakes", occurrence};
        const auto expected = parseRecord(kBook, key);
        ASSERT_EQ(expected.has_value(), servings[occurrence].has_value());
        if (expected) {
            EXPECT_EQ(expected->servings, *servings[occurrence]);
        }
        EXPECT_EQ(findRecordByName(kBook, key), expected);
        // Pieces so small that they cut names and tags anywhere, and one piece for all.
        for (std::size_t piece : {1u, 3u, 7u, 64u, 1u << 20}) {
            auto found = recordFromPieces(readerOf(kBook), key, piece);
            ASSERT_TRUE(found);
            ASSERT_TRUE(found->has_value()) << "piece " << piece;
            EXPECT_EQ(**found, expected) << "piece " << piece;
        }
    }
    // The first of a name is what a name alone finds.
    EXPECT_EQ(findRecordByName(kBook, "Pancakes"), parseRecord(kBook, RecordKey{"Pancakes", 0}));
}

TEST(RecordSearch, HoldsNameLooksAtNameLinesOnly)
{
    TempDir dir;
    const ProgramFolder folder(dir.path());
    dir.write("BOOK1.TXT", kBook);
    EXPECT_TRUE(holdsName(folder, "BOOK1.TXT", "Pancakes").value());
    EXPECT_TRUE(holdsName(folder, "BOOK1.TXT", "Bread").value());
    // An ingredient or instruction line, a type line, a tag: no recipe's name.
    for (const char* other : {"3 eggs", "Pancakes and bread", "Brunch", "[PORTIONER]", "Waffles"})
        EXPECT_FALSE(holdsName(folder, "BOOK1.TXT", other).value()) << other;
    // A missing cookbook holds no name; a name that is no cookbook file is refused.
    EXPECT_FALSE(holdsName(folder, "BOOK9.TXT", "Pancakes").value());
    EXPECT_FALSE(holdsName(folder, "../BOOK1.TXT", "Pancakes"));
}

TEST(TakenNames, ANameTakenGetsTheFirstFreeNumber)
{
    struct Case {
        std::vector<std::string> book;
        std::string name;
        std::string proposed;
    };
    for (const Case& c : std::vector<Case>{
             {{"Soup"}, "Pancakes", "Pancakes"},
             {{"Pancakes"}, "Pancakes", "Pancakes (2)"},
             {{"Pancakes", "Pancakes (2)"}, "Pancakes", "Pancakes (3)"},
             // A number of its own goes on from there; one that is no number stays part of it.
             {{"Pancakes (2)"}, "Pancakes (2)", "Pancakes (3)"},
             {{"Pancakes (09)"}, "Pancakes (09)", "Pancakes (09) (2)"},
             {{"Pie (x)"}, "Pie (x)", "Pie (x) (2)"},
             {{"(3)"}, "(3)", "(3) (2)"},
             {{""}, "", " (2)"},
         }) {
        EXPECT_EQ(TakenNames(c.book).proposal(c.name), c.proposed) << c.name;
    }

    // Claimed one after the other, as an import gives them: every name given once.
    TakenNames taken({"Pancakes", "Pancakes (3)"});
    std::vector<std::string> given;
    for (const char* name : {"Pancakes", "Pancakes", "Waffles", "Pancakes", "Waffles", "Pancakes (2)"})
        given.push_back(taken.claim(name));
    EXPECT_EQ(given, (std::vector<std::string>{"Pancakes (2)", "Pancakes (4)", "Waffles",
                                               "Pancakes (5)", "Waffles (2)", "Pancakes (6)"}));
    EXPECT_TRUE(taken.taken("Pancakes (6)"));
    EXPECT_FALSE(taken.taken("Pancakes (7)"));
}
