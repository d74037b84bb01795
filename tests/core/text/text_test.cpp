#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <limits>
#include <random>

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
    // Every byte that stands for a character survives a round trip (DEL and the five bytes
    // the code page leaves undefined are control characters, refused on input).
    std::string all = "\t\r\n";
    for (int b = 0x20; b < 256; ++b) {
        const bool control =
            b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
        if (!control) all += static_cast<char>(b);
    }
    auto back = fromUtf8(toUtf8(all));
    ASSERT_TRUE(back.has_value()) << back.error().message;
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

TEST(Encoding, RefusesMalformedUtf8AndControlCharacters)
{
    // Overlong forms, surrogates and code points past U+10FFFF would pass for other
    // characters ("C0 AF" is a slash in disguise); control characters could carry terminal
    // escape sequences. Tab and line ends are text.
    const std::string refused[] = {
        "a\xC0\xAF b",       // overlong "/"
        "\xE0\x80\xAF",      // overlong "/" in three bytes
        "\xF0\x80\x80\xAF",  // and in four
        "x\xED\xA0\x80y",    // a lone surrogate
        "\xF4\x90\x80\x80",  // past U+10FFFF
        std::string("nul\0in", 6),
        "esc \x1B[31mred",
        "del \x7F",
        "c1 \xC2\x9B",  // U+009B, the 8-bit escape introducer
        "c1 \xC2\x81",  // U+0081: a byte the code page leaves undefined
    };
    for (const auto& text : refused) {
        auto result = fromUtf8(text);
        ASSERT_FALSE(result.has_value()) << testing::PrintToString(text);
        EXPECT_EQ(result.error().code, culvora::ErrorCode::Invalid);
        EXPECT_FALSE(result.error().message.empty());
    }
    EXPECT_NE(fromUtf8("esc \x1B").error().message.find("U+001B"), std::string::npos);
    EXPECT_NE(fromUtf8("a\xC0\xAF").error().message.find("0xC0"), std::string::npos);
    EXPECT_EQ(fromUtf8("tab\there\r\nnext\n").value(), "tab\there\r\nnext\n");
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

TEST(Lines, LoneCrTextsReadInOnePass)
{
    // 20 MB of lone-CR lines must read as fast as CR LF: finding the line end may not search
    // the rest of the text for an LF that never comes.
    std::string line(38, 'x');
    std::string lone;
    std::string crlfText;
    for (int i = 0; i < 500000; ++i) {
        lone += line + "\r";
        crlfText += line + "\r\n";
    }
    auto time = [](const std::string& text) {
        const auto start = std::chrono::steady_clock::now();
        std::size_t count = 0;
        LineReader reader(text);
        while (reader.next()) ++count;
        EXPECT_EQ(count, 500000u);
        return std::chrono::steady_clock::now() - start;
    };
    const auto crlfTime = time(crlfText);
    const auto loneTime = time(lone);
    EXPECT_LT(loneTime, crlfTime * 5 + std::chrono::milliseconds(200));
    EXPECT_LT(loneTime, std::chrono::seconds(2));
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
        {"3,5", 3},     {"abc", 0},      {"90\r\n", 90}, {"- 4", -4},       {"0.25", 0.25},
        {"007", 7},     {"0", 0},        {"0.", 0},      {"12.", 12},       {"2 .5", 2.5},
        {"-", 0},       {".", 0},        {"-0", 0},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(leadingNumber(c.text), c.value) << c.text;

    // A long fraction reads as its value, or as 0 beyond what a double holds; never as an
    // integer part.
    EXPECT_EQ(leadingNumber("0." + std::string(400, '0') + "7"), 0.0);
    EXPECT_DOUBLE_EQ(leadingNumber("0." + std::string(10, '0') + "7"), 7e-11);
    EXPECT_DOUBLE_EQ(leadingNumber("1." + std::string(300, '3')), 1.0 + 1.0 / 3.0);
    EXPECT_DOUBLE_EQ(leadingNumber(std::string(200, '0') + "42 g"), 42.0);
    EXPECT_EQ(leadingNumber("1" + std::string(400, '0')), std::numeric_limits<double>::max());
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

TEST(Collation, LetterGroupsAndSortedInsertion)
{
    const std::pair<std::string, int> groups[] = {
        {"Apple", 0},
        {"\xE9"
         "clair",
         4},
        {"Waffles", 21},
        {"vanilla", 21},
        {"Zest", 25},
        {"\xC5l", 26},
        {"\xE4"
         "pple",
         27},
        {"\xD6l", 28},
        {"2 eggs", -1},
        {"", -1},
        {" pad", -1},
        {"(quick)", -1},
    };
    for (const auto& [text, group] : groups) EXPECT_EQ(letterGroup(text), group) << text;

    const std::vector<std::string> sorted = {"Apple", "Banana", "banana", "Cherry"};
    EXPECT_EQ(sortedInsertPosition(sorted, "Aardvark"), 0u);
    EXPECT_EQ(sortedInsertPosition(sorted, "Banana"), 2u);  // after the equal entries
    EXPECT_EQ(sortedInsertPosition(sorted, "Zucchini"), 4u);
    EXPECT_EQ(sortedInsertPosition({}, "x"), 0u);
}

int sign(int order)
{
    return (order > 0) - (order < 0);
}

int sign(std::weak_ordering order)
{
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

TEST(CollationKey, ByteOrderIsTheCollationOrder)
{
    // Strictly ascending: blank, digits and signs, accents with their letter, case, W as V,
    // Å Ä Ö (Æ with Ä, Ø with Ö) after Z, and texts that collate equal ordered by their bytes.
    const std::vector<std::string> ordered = {
        "",
        " ",
        " a",
        " b",
        "\xA0"
        "b",  // a no-break space weighs as a blank
        "!",
        "#1",
        "0",
        "1 minute eggs",
        "10",
        "2",
        "@",
        "~",
        "\x80",  // the euro sign is a sign, not a letter
        "A",
        "a",
        "\xC0",  // À
        "A -------",
        "A1",
        "APPLE",
        "Apple",
        "apple",
        "Apple pie",
        "Cr\xE8me",
        "Crumble",
        "E",
        "e",
        "\xC9",
        "Ea",
        "\xC9"
        "b",
        "Ec",
        "S",
        "\x8A",  // Š
        "V",
        "W",
        "Va",
        "Wb",
        "Vc",
        "Z",
        "Zz",
        "\xC5",
        "\xE5",
        "\xC5"
        "a",
        "\xC4",
        "\xC6",
        "\xE4",
        "\xE6",
        "\xC4"
        "a",
        "\xD6",
        "\xD8",
        "\xF6",
        "\xF8",
        "\xD6"
        "rt",
    };
    for (std::size_t i = 0; i < ordered.size(); ++i) {
        const std::string key = collationKey(ordered[i]);
        EXPECT_EQ(key, collationKey(std::string(ordered[i])));  // the same text, the same key
        for (std::size_t j = 0; j < ordered.size(); ++j) {
            const int expected = sign(static_cast<int>(i) - static_cast<int>(j));
            EXPECT_EQ(sign(collate(ordered[i], ordered[j])), expected)
                << ordered[i] << " / " << ordered[j];
            EXPECT_EQ(sign(key.compare(collationKey(ordered[j]))), expected)
                << ordered[i] << " / " << ordered[j];
        }
    }
    std::vector<std::string> shuffled(ordered.rbegin(), ordered.rend());
    sortCollated(shuffled);
    EXPECT_EQ(shuffled, ordered);
}

TEST(CollationKey, SortingByKeysMatchesAStableCollatedSort)
{
    // Names over the bytes that matter, with long shared beginnings (longer than the eight
    // bytes a key is sorted by at a time), repeats, empty names and NUL bytes.
    std::mt19937 random(20240611);
    const std::string alphabet = std::string("aAbBvVwWzZ \xA0"
                                             "09-(!\xC5\xE5\xC4\xE4\xC6\xD6\xF8"
                                             "\xC9\xE9\xE8\x8A\x9F\xFF\x80") +
                                 std::string(1, '\0');
    const std::vector<std::string> stems = {"", "Apple pie no. ", "Apple pie no. 1",
                                            "Wienerbr\xF6"
                                            "d",
                                            "Vienerbr\xF6"
                                            "d"};
    std::vector<std::string> names;
    for (int i = 0; i < 4000; ++i) {
        std::string name = stems[random() % stems.size()];
        const std::size_t length = random() % 12;
        for (std::size_t k = 0; k < length; ++k) name += alphabet[random() % alphabet.size()];
        names.push_back(name);
        if (random() % 10 == 0) names.push_back(name);
    }
    std::vector<std::string> expected = names;
    std::stable_sort(expected.begin(), expected.end(), CollateLess{});
    std::vector<std::string> sorted = names;
    sortCollated(sorted);
    EXPECT_EQ(sorted, expected);

    // Equal names keep their order: positions rise within each run of equal names.
    const auto order = collatedOrder(std::span<const std::string>(names));
    ASSERT_EQ(order.size(), names.size());
    for (std::size_t i = 0; i + 1 < order.size(); ++i) {
        if (names[order[i]] == names[order[i + 1]]) {
            EXPECT_LT(order[i], order[i + 1]);
        }
    }
    std::vector<std::string_view> views(names.begin(), names.end());
    EXPECT_EQ(collatedOrder(std::span<const std::string_view>(views)), order);

    for (int i = 0; i < 20000; ++i) {
        const std::string& a = names[random() % names.size()];
        const std::string& b = names[random() % names.size()];
        ASSERT_EQ(sign(collationKey(a).compare(collationKey(b))), sign(collate(a, b)))
            << a << " / " << b;
    }
    EXPECT_TRUE(collatedOrder(std::span<const std::string>()).empty());
}

TEST(Encoding, AppendsUtf8ToAnOutput)
{
    std::string out = "x";
    appendUtf8(out, "Caf\xE9 \x80 5");
    appendUtf8(out, "");
    EXPECT_EQ(out, "xCaf\xC3\xA9 \xE2\x82\xAC 5");
}

}  // namespace

TEST(Text, NamesInMessagesAreShownSafelyAndCutToASensibleLength)
{
    EXPECT_EQ(quotedForMessage("K\xF6ttbullar"), "\"K\xC3\xB6ttbullar\"");
    // Control characters cannot reach a terminal as an escape sequence.
    EXPECT_EQ(quotedForMessage("Evil \x1B]0;x\x07 pie"), "\"Evil \\x1B]0;x\\x07 pie\"");
    EXPECT_EQ(shownForMessage("a\x81"
                              "b\x7F"),
              "a\\x81b\\x7F");
    // A runaway line is cut and says so; one of exactly the limit is whole.
    const std::string limit(kMessageNameChars, 'a');
    EXPECT_EQ(shownForMessage(limit), limit);
    const std::string huge(14 * 1024 * 1024, 'b');
    EXPECT_EQ(shownForMessage(huge), std::string(kMessageNameChars, 'b') + "\xE2\x80\xA6");
    EXPECT_EQ(shownForMessage("Pancakes", 4), "Panc\xE2\x80\xA6");
}

TEST(Text, FileNamesInMessagesFollowTheSameRule)
{
    EXPECT_EQ(quotedUtf8ForMessage("k\xC3\xB6k.txt"), "\"k\xC3\xB6k.txt\"");
    // Controls (C0, DEL, C1) and bytes that are not UTF-8 are shown, never passed on.
    EXPECT_EQ(quotedUtf8ForMessage("a\x1B[2Jb\x7F\xC2\x9B"
                                   "c\xFF"),
              "\"a\\x1B[2Jb\\x7F\\x9Bc\\xFF\"");
    EXPECT_EQ(quotedUtf8ForMessage("\xC3\xB6\xC3\xB6\xC3\xB6", 2),
              "\"\xC3\xB6\xC3\xB6\xE2\x80\xA6\"");
    const std::string huge(10 * 1024 * 1024, 'x');
    EXPECT_EQ(quotedUtf8ForMessage(huge),
              "\"" + std::string(kMessageNameChars, 'x') + "\xE2\x80\xA6\"");
}

TEST(FindFold, FoldsAsTheCollationComparesAndKeepsTheSwedishLettersApart)
{
    struct Case {
        std::string text;
        std::string folded;
    };
    const Case cases[] = {
        {"Apple PIE", "apple pie"},
        {"Cr\xE8me Br\xDBL\xC9""E", "creme brulee"},   // accents to their base letter
        {"Wienerbr\xF6""d", "vienerbr\xF6""d"},         // W as V; Ö stays Ö, in lower case
        {"\xC5L \xC4GG \xD6L", "\xE5l \xE4gg \xF6l"},  // Å Ä Ö kept, lower-cased
        {"\xC6""bleskiver \xD8l", "\xE4""bleskiver \xF6l"},  // Æ with Ä, Ø with Ö
        {"\x8A""a\x9E""e \xDF", "saze s"},              // Š, ž, ß as the collation files them
        {"1\xA0""dl (2,5%)", "1 dl (2,5%)"},            // a no-break space is a blank
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(foldedForFind(c.text), c.folded) << c.text;
        std::string out = "x";
        appendFoldedForFind(out, c.text);
        EXPECT_EQ(out, "x" + c.folded);
    }
    // The fold is exactly the collation's sameness: two bytes fold alike when and only when a
    // one-character text of each collates alike.
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; ++b) {
            const std::string ta(1, static_cast<char>(a));
            const std::string tb(1, static_cast<char>(b));
            const bool sameWeight = collationKey(ta).substr(0, 1) == collationKey(tb).substr(0, 1);
            ASSERT_EQ(foldForFind(ta[0]) == foldForFind(tb[0]), sameWeight) << a << " " << b;
        }
    }
}
