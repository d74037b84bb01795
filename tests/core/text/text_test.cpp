#include <gtest/gtest.h>

#include "core/text/text.h"

using namespace culvora::text;

namespace {

struct EncodingCase {
    std::string cp1252;
    std::string utf8;
};

TEST(Encoding, RoundTripsEveryCharacterTheCodePageHolds)
{
    const EncodingCase cases[] = {
        {"Plain text", "Plain text"},
        {"\xC5\xC4\xD6 \xE5\xE4\xF6", "ÅÄÖ åäö"},
        {"[G\xD6RA]", "[GÖRA]"},
        {"\x80 \x8A\x8C\x8E \x9A\x9C\x9E\x9F", "€ ŠŒŽ šœžŸ"},
        {"\x93quoted\x94 \x96 \x85", "“quoted” – …"},
        {"\xB4", "´"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(toUtf8(c.cp1252), c.utf8);
        auto back = fromUtf8(c.utf8);
        ASSERT_TRUE(back.has_value()) << c.utf8;
        EXPECT_EQ(*back, c.cp1252);
    }
    // Every byte survives a round trip, the five undefined ones included.
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    auto back = fromUtf8(toUtf8(all));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, all);
}

TEST(Encoding, RefusesWhatTheCodePageCannotHoldAndNamesIt)
{
    for (std::string text : {"Ramen 🍜", "Ωmega", "a → b"}) {
        auto result = fromUtf8(text);
        ASSERT_FALSE(result.has_value()) << text;
        EXPECT_EQ(result.error().code, culvora::ErrorCode::Invalid);
    }
    auto arrow = fromUtf8("a → b");
    EXPECT_NE(arrow.error().message.find("\"→\""), std::string::npos) << arrow.error().message;
    EXPECT_NE(arrow.error().message.find("U+2192"), std::string::npos);
    EXPECT_FALSE(fromUtf8("bad \xC3").has_value());
    EXPECT_FALSE(fromUtf8("bad \xFF tail").has_value());
}

TEST(Case, MapsAsciiLatin1AndTheFourExtraLetters)
{
    EXPECT_EQ(toUpper("book1.txt"), "BOOK1.TXT");
    EXPECT_EQ(toUpper("\xE5\xE4\xF6\xE9\xFC"), "\xC5\xC4\xD6\xC9\xDC");
    EXPECT_EQ(toUpper("\x9A\x9C\x9E\xFF"), "\x8A\x8C\x8E\x9F");
    EXPECT_EQ(toLower("\x8A\x8C\x8E\x9F"), "\x9A\x9C\x9E\xFF");
    EXPECT_EQ(toLower("STANDARD \xC5\xC4\xD6"), "standard \xE5\xE4\xF6");
    // Signs that sit beside letters in the table are no letters.
    EXPECT_EQ(toUpper("\xF7\xDF"), "\xF7\xDF");
    EXPECT_EQ(toLower("\xD7"), "\xD7");
}

TEST(Lines, EndAtCrLfLoneCrOrLoneLf)
{
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"one", {"one"}},
        {"one\r\n", {"one"}},
        {"one\r\ntwo\r\n", {"one", "two"}},
        {"one\rtwo\ntwo b\r\n", {"one", "two", "two b"}},
        {"\r\n\r\n", {"", ""}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\n\r", {"a", ""}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(splitLines(c.text), c.lines) << testing::PrintToString(c.text);
        if (c.lines.empty()) {
            EXPECT_FALSE(lastLine(c.text).has_value());
        } else {
            ASSERT_TRUE(lastLine(c.text).has_value());
            EXPECT_EQ(*lastLine(c.text), c.lines.back()) << testing::PrintToString(c.text);
        }
    }
    EXPECT_EQ(joinLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
}

TEST(Numbers, ReadTheLeadingNumberLeniently)
{
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"45", 45},     {"45 min", 45},  {"  30", 30},   {"-2.5 dl", -2.5}, {"+7", 7},
        {"1.5.3", 1.5}, {"about 20", 0}, {"", 0},        {".5", 0.5},       {"1 2", 12},
        {"3,5", 3},     {"abc", 0},      {"90\r\n", 90}, {"- 4", -4},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(leadingNumber(c.text), c.value) << c.text;
}

TEST(Collation, OrdersAsTheSortedListsDo)
{
    // Each entry must sort strictly before the next.
    const std::vector<std::string> ordered = {
        "1 minute eggs", "A -------", "apple",         "Apple pie",    "applesauce",    "B -------",
        "Banana",        "V -------", "Waffles",       "Vanilla",      "Venison",       "X -------",
        "Z -------",     "Zucchini",  "\xC5land cake", "\xC4ppelkaka", "\xE4rtsoppa x", "\xD6rtlax",
    };
    // W counts as V: "Waffles" files as VAFFLES, before "Vanilla".
    for (std::size_t i = 0; i + 1 < ordered.size(); ++i) {
        EXPECT_TRUE(collateLess(ordered[i], ordered[i + 1]))
            << ordered[i] << " before " << ordered[i + 1];
        EXPECT_FALSE(collateLess(ordered[i + 1], ordered[i]));
    }
    // A blank before any letter puts each heading before the names of its letter.
    EXPECT_TRUE(collateLess("A -------", "Aardvark"));
    EXPECT_TRUE(collateLess("Pie crust", "Piece"));
    // Accented letters file with their base letter; case is ignored but the order stays total.
    EXPECT_TRUE(collateLess("Cr\xE8me", "Crumble"));
    EXPECT_TRUE(collate("apple", "Apple") != 0);
    EXPECT_TRUE(collate("apple", "apple") == 0);
}

}  // namespace
