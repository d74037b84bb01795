// The record reader and the one property it exists for: every consumer of a cookbook sees the
// records culvora-cli's list lists, in the same order, with the same fields.

#include <gtest/gtest.h>

#include <random>

#include "core/recipes/recipe_edit.h"
#include "core/store/cookbook.h"
#include "core/store/record_reader.h"
#include "fuzz/record_agreement.h"
#include "random_cookbook.h"
#include "support/records.h"
#include "support/temp_dir.h"

using namespace culvora;
using namespace culvora::store;
using culvora::testing::crlf;
using culvora::testing::record;
using culvora::testing::TempDir;

namespace {

// What a record reads as; multi-line fields each line followed by CR LF.
struct Read {
    std::string name;
    std::string servings;
    std::string time;
    std::string ingredients;
    std::string instructions;
    std::string type;
    std::string after;
    bool operator==(const Read&) const = default;
};

void PrintTo(const Read& r, std::ostream* os)
{
    *os << ::testing::PrintToString(std::vector<std::string>{
        r.name, r.servings, r.time, r.ingredients, r.instructions, r.type, r.after});
}

std::vector<Read> readAll(std::string_view content, RecordFormat format = RecordFormat::Cookbook)
{
    std::vector<Read> out;
    RecordReader reader(content, format);
    while (auto r = reader.next()) {
        out.push_back({std::string(r->name), std::string(r->servings), std::string(r->time),
                       joinedLines(r->ingredients.lines), joinedLines(r->instructions.lines),
                       std::string(r->type), joinedLines(r->after)});
    }
    return out;
}

const std::string kSoup = record({.name = "Soup",
                                  .servings = "4",
                                  .time = "30",
                                  .ingredients = {"1 l water", "2 carrots"},
                                  .steps = {"Boil."},
                                  .type = "Hot dish"});
const Read kSoupRead{"Soup", "4", "30", "1 l water\r\n2 carrots\r\n", "Boil.\r\n", "Hot dish", ""};

TEST(RecordReader, ReadsCookbookRecordsByTheRulesForHandEditedFiles)
{
    struct Case {
        const char* what;
        std::string content;
        std::vector<Read> records;
    };
    const Case cases[] = {
        {"empty", "", {}},
        {"empty lines only", "\r\n\r\n\n\r", {}},
        {"a lone tag", "[NAMN]\r\n", {}},
        {"lone CR, LF and CR LF, no final line end",
         "[NAMN]\nSoup\r[PORTIONER]\r\n4\n[TID]\r30\r\n[IND]\n1 l water\r\n2 carrots\n[G\xD6RA]"
         "\nBoil.\r[TYP]\nHot dish",
         {kSoupRead}},
        {"lines before the first record, lines after the type, a lone tag at the end",
         "note\r\n" + kSoup + "stray\r\n\r\n[NAMN]\r\n",
         {{"Soup", "4", "30", "1 l water\r\n2 carrots\r\n", "Boil.\r\n", "Hot dish",
           "stray\r\n\r\n"}}},
        {"a name line that reads [NAMN]",
         crlf({"[NAMN]", "[NAMN]", "[PORTIONER]", "2", "[TID]", "5", "[IND]", "[G\xD6RA]", "[TYP]",
               "x"}),
         {{"[NAMN]", "2", "5", "", "", "x", ""}}},
        {"[NAMN] where the time belongs starts the next record",
         crlf({"[NAMN]", "Cut", "[PORTIONER]", "4", "[TID]"}) + kSoup,
         {{"Cut", "4", "", "", "", "", ""}, kSoupRead}},
        {"[NAMN] among the ingredients, the instructions, and where the type belongs",
         crlf({"[NAMN]", "A", "[PORTIONER]", "1", "[TID]", "2", "[IND]", "egg"}) +
             crlf(
                 {"[NAMN]", "B", "[PORTIONER]", "1", "[TID]", "2", "[IND]", "[G\xD6RA]", "Stir."}) +
             crlf(
                 {"[NAMN]", "C", "[PORTIONER]", "1", "[TID]", "2", "[IND]", "[G\xD6RA]", "[TYP]"}) +
             kSoup,
         {{"A", "1", "2", "egg\r\n", "", "", ""},
          {"B", "1", "2", "", "Stir.\r\n", "", ""},
          {"C", "1", "2", "", "", "", ""},
          kSoupRead}},
        // The head is read by position; a later tag where an earlier line belongs is that tag.
        {"the [PORTIONER] line lost",
         crlf({"[NAMN]", "A", "4", "[TID]", "30", "[IND]", "egg", "[G\xD6RA]", "Fry.", "[TYP]",
               "Hot dish"}),
         {{"A", "", "30", "egg\r\n", "Fry.\r\n", "Hot dish", ""}}},
        {"servings and their tag lost",
         crlf({"[NAMN]", "A", "[TID]", "30", "[IND]", "egg", "[G\xD6RA]", "Fry.", "[TYP]",
               "Hot dish"}),
         {{"A", "", "30", "egg\r\n", "Fry.\r\n", "Hot dish", ""}}},
        {"the [TID] line lost: its value stands where the tag belongs",
         crlf({"[NAMN]", "A", "[PORTIONER]", "4", "30", "[IND]", "egg", "[G\xD6RA]", "[TYP]", "x"}),
         {{"A", "4", "", "egg\r\n", "", "x", ""}}},
        {"misspelled head tags still read by position",
         crlf({"[NAMN]", "A", "[Portioner]", "4", "[tid]", "30", "[INGREDIENSER]", "egg",
               "[G\xD6RA]", "[TYP]", "x"}),
         {{"A", "4", "30", "egg\r\n", "", "x", ""}}},
        {"no head at all",
         crlf({"[NAMN]", "A", "[G\xD6RA]", "Fry.", "[TYP]", "x"}),
         {{"A", "", "", "", "Fry.\r\n", "x", ""}}},
        {"[GORA] ends the ingredients; another [ line does not",
         crlf({"[NAMN]", "A", "[PORTIONER]", "4", "[TID]", "30", "[IND]", "[optional] salt",
               "[GORA]", "Stir.", "[TYP]", "x"}),
         {{"A", "4", "30", "[optional] salt\r\n", "Stir.\r\n", "x", ""}}},
        {"the instructions tag lost: the type tag ends the ingredients",
         crlf({"[NAMN]", "A", "[PORTIONER]", "4", "[TID]", "30", "[IND]", "egg", "[TYP]", "x"}),
         {{"A", "4", "30", "egg\r\n", "", "x", ""}}},
    };
    for (const Case& c : cases) EXPECT_EQ(readAll(c.content), c.records) << c.what;
}

TEST(RecordReader, OffsetsSectionsAndTheLoneTag)
{
    const std::string content = "note\r\n" + kSoup + "[NAMN]\r\nPie\r\n[NAMN]";
    RecordReader reader(content);
    auto soup = reader.next();
    ASSERT_TRUE(soup);
    EXPECT_EQ(soup->start, 6u);
    EXPECT_EQ(soup->nameStart, 14u);
    EXPECT_EQ(soup->bodyStart, 20u);
    EXPECT_EQ(soup->end, 6 + kSoup.size());
    EXPECT_EQ(soup->head.bytes(), crlf({"[PORTIONER]", "4", "[TID]", "30", "[IND]"}));
    EXPECT_TRUE(soup->ingredients.present);
    EXPECT_EQ(soup->ingredients.endLine, "[G\xD6RA]");
    EXPECT_EQ(soup->instructions.endLine, "[TYP]");
    EXPECT_TRUE(soup->hasType);
    auto pie = reader.next();
    ASSERT_TRUE(pie);
    EXPECT_EQ(pie->ordinal, 1u);
    EXPECT_EQ(pie->end, content.size() - 6);
    EXPECT_FALSE(pie->ingredients.present);
    EXPECT_FALSE(pie->hasType);
    EXPECT_FALSE(reader.next());
    EXPECT_TRUE(reader.endedOnLoneTag());
    EXPECT_TRUE(endsWithLoneTag(content));
    // A last line "[NAMN]" that is a name line is no lone tag.
    EXPECT_FALSE(endsWithLoneTag("[NAMN]\r\n[NAMN]\r\n"));
}

TEST(RecordReader, ReadsDrinksWithTheirOwnTags)
{
    const std::string content =
        crlf({"[NAMN]", "Sour", "whiskey", "lemon", "[G\xD6RA]", "Shake.", "[GLAS]", "Sour"}) +
        // No instructions tag: "[GLAS]" ends the ingredients and is the glass tag.
        crlf({"[NAMN]", "Lemonade", "lemons", "[GLAS]", "Highball"}) +
        crlf({"[NAMN]", "Cut", "ice", "[NAMN]", "Punch", "[G\xD6RA]", "[GLAS]"});
    EXPECT_EQ(readAll(content, RecordFormat::Drinks),
              (std::vector<Read>{{"Sour", "", "", "whiskey\r\nlemon\r\n", "Shake.\r\n", "Sour", ""},
                                 {"Lemonade", "", "", "lemons\r\n", "", "Highball", ""},
                                 {"Cut", "", "", "ice\r\n", "", "", ""},
                                 {"Punch", "", "", "", "", "", ""}}));
}

TEST(RecordReader, RecordsAreAddressedByPlaceOrByNameAndOccurrence)
{
    const std::string pie1 = record(
        {.name = "Pie", .servings = "1", .time = "5", .ingredients = {}, .steps = {}, .type = "x"});
    const std::string pie2 = record(
        {.name = "Pie", .servings = "2", .time = "5", .ingredients = {}, .steps = {}, .type = "x"});
    const std::string content = pie1 + kSoup + pie2;
    RecordReader reader(content, RecordFormat::Cookbook, RecordReader::Count::Occurrences);
    std::vector<std::pair<std::size_t, std::size_t>> places;
    while (auto r = reader.next()) places.emplace_back(r->ordinal, r->occurrence);
    EXPECT_EQ(places, (std::vector<std::pair<std::size_t, std::size_t>>{{0, 0}, {1, 0}, {2, 1}}));
    EXPECT_EQ(findRecord(content, {"Pie", 1})->servings, "2");
    EXPECT_FALSE(findRecord(content, {"Pie", 2}));
    EXPECT_EQ(recordAt(content, 2)->occurrence, 1u);
    EXPECT_FALSE(recordAt(content, 3));
    // Started at a record found before, the walk goes on from there.
    RecordReader from(content, RecordFormat::Cookbook, pie1.size(), 1);
    EXPECT_EQ(from.next()->name, "Soup");
    EXPECT_EQ(from.next()->ordinal, 2u);

    // The store reaches the second record of a name, for reading and for every change.
    EXPECT_EQ(parseRecord(content, RecordKey{"Pie", 1})->servings, "2");
    EXPECT_EQ(parseRecord(content, "Pie")->servings, "1");
    EXPECT_EQ(*withDeleted(content, RecordKey{"Pie", 1}), pie1 + kSoup + "[NAMN]\r\n");
    EXPECT_EQ(*withDeleted(content, RecordKey{"Pie", 0}), kSoup + pie2);
    RecipeRecord changed = *parseRecord(content, RecordKey{"Pie", 1});
    changed.servings = "3";
    EXPECT_EQ(*withReplaced(content, RecordKey{"Pie", 1}, changed, TextForm::AsRead),
              pie1 + kSoup + "[NAMN]\r\n" + formatRecord(changed, TextForm::AsRead));
    EXPECT_FALSE(withReplaced(content, RecordKey{"Pie", 2}, changed));

    TempDir dir;
    ProgramFolder folder(dir.path());
    dir.write("BOOK1.TXT", content);
    dir.write("BOOK2.TXT", "");
    Cookbook book(folder, "BOOK1.TXT");
    EXPECT_EQ(book.read(RecordKey{"Pie", 1}).value().servings, "2");
    EXPECT_EQ(book.lines(RecordKey{"Pie", 1}).value(), pie2.substr(8));
    // The editor too: an unchanged save of the second leaves the file as it was, a change
    // reaches only the second.
    auto loaded = recipes::loadForEdit(folder, "BOOK1.TXT", RecordKey{"Pie", 1});
    ASSERT_TRUE(loaded);
    recipes::RecipeDraft draft = recipes::draftOf(*loaded);
    ASSERT_TRUE(recipes::saveEdit(folder, "BOOK1.TXT", RecordKey{"Pie", 1}, draft, *loaded));
    EXPECT_EQ(dir.read("BOOK1.TXT"), content);
    draft.servings = "7";
    ASSERT_TRUE(recipes::saveEdit(folder, "BOOK1.TXT", RecordKey{"Pie", 1}, draft, *loaded));
    EXPECT_EQ(book.read(RecordKey{"Pie", 0}).value().servings, "1");
    EXPECT_EQ(book.read(RecordKey{"Pie", 1}).value().servings, "7");
    dir.write("BOOK1.TXT", content);
    ASSERT_TRUE(moveRecipe(folder, "BOOK1.TXT", "BOOK2.TXT", RecordKey{"Pie", 1}));
    EXPECT_EQ(dir.read("BOOK2.TXT"), pie2);
    ASSERT_TRUE(book.remove(RecordKey{"Pie", 0}));
    EXPECT_EQ(dir.read("BOOK1.TXT"), kSoup + "[NAMN]\r\n");
    EXPECT_EQ(book.remove(RecordKey{"Pie", 0}).error().code, ErrorCode::NotFound);
}

TEST(RecordReader, RewritesMakeEveryLineEndCrLfInOnePass)
{
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"a\r\nb\r\n", "a\r\nb\r\n"},
        {"a\rb\nc", "a\r\nb\r\nc\r\n"},
        {"\n\r\r\n", "\r\n\r\n\r\n"},
        {"a\n\rb", "a\r\n\r\nb\r\n"},
    };
    for (const auto& [bytes, expected] : cases) {
        std::string out = "x";
        appendNormalised(out, bytes);
        EXPECT_EQ(out, "x" + expected) << ::testing::PrintToString(bytes);
    }
}

// The consumers on files chosen to hit each rule, and on files made at random.
TEST(RecordAgreement, EveryConsumerSeesTheListedRecords)
{
    const std::string stew = record({.name = "Stew",
                                     .servings = "4",
                                     .time = "45 min",
                                     .ingredients = {"500 g beef", "2 eggs"},
                                     .steps = {"Simmer."},
                                     .type = "Hot dish"});
    const std::string inputs[] = {
        "",
        kSoup + stew,
        "note\r\n" + kSoup + "stray\r\n[NAMN]\r\n",
        crlf({"[NAMN]", "Cut", "[PORTIONER]", "4", "[TID]"}) + stew,
        crlf({"[NAMN]", "A", "4", "[TID]", "30", "[IND]", "egg", "[TYP]", "Hot dish"}) + stew,
        crlf({"[NAMN]", "[NAMN]", "[NAMN]", "Stew", "[IND]", "[G", "[TYP]", "[NAMN]"}) + stew,
        crlf({"[NAMN]", "B", "[PORTIONER]", "1", "[TID]", "20", "[IND]", "[Garnish] eggs",
              "[optional] egg", "[G\xD6RA]", "[TYP]", "Hot dish", "[TYP]", "First Course"}),
        stew + stew + "[NAMN]\n\r\n[IND]\r[G",
    };
    for (const std::string& content : inputs) {
        EXPECT_EQ(agreement::readerBroken(content, RecordFormat::Cookbook), "")
            << ::testing::PrintToString(content);
        EXPECT_EQ(agreement::consumersDisagree(content), "") << ::testing::PrintToString(content);
        EXPECT_EQ(agreement::rewriteBroken(content), "") << ::testing::PrintToString(content);
        EXPECT_EQ(agreement::drinksDisagree(content), "") << ::testing::PrintToString(content);
    }

    static const char* const pieces[] = {"[NAMN]",      "[NAMN]",    "[PORTIONER]",  "[TID]",
                                         "[IND]",       "[G\xD6RA]", "[GORA]",       "[TYP]",
                                         "[GLAS]",      "Soup",      "Pie",          "",
                                         "4",           "45 min",    "[G",           "2 eggs",
                                         "1 egg plant", "[",         "First Course", "Hot dish",
                                         "Sour",        "Wine",      "[Tid]",        "salt \xE5"};
    std::mt19937 random(20261210);
    for (int round = 0; round < 1500; ++round) {
        const std::string content = culvora::testing::randomCookbook(random, pieces, 60);
        ASSERT_EQ(agreement::readerBroken(content, RecordFormat::Cookbook), "")
            << ::testing::PrintToString(content);
        ASSERT_EQ(agreement::readerBroken(content, RecordFormat::Drinks), "")
            << ::testing::PrintToString(content);
        ASSERT_EQ(agreement::consumersDisagree(content), "") << ::testing::PrintToString(content);
        ASSERT_EQ(agreement::rewriteBroken(content), "") << ::testing::PrintToString(content);
        ASSERT_EQ(agreement::drinksDisagree(content), "") << ::testing::PrintToString(content);
    }
}

}  // namespace
