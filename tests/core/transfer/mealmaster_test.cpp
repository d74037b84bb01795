#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>

#include "core/store/cookbook.h"
#include "core/store/record_check.h"
#include "core/text/text.h"
#include "core/transfer/mealmaster.h"
#include "support/records.h"
#include "support/short_lock_wait.h"
#include "support/temp_dir.h"

using namespace culvora;
using namespace culvora::transfer;
using culvora::testing::crlf;
using culvora::testing::record;
using culvora::testing::ShortLockWait;
using culvora::testing::TempDir;

namespace {

std::string trimBlanks(std::string_view s)
{
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(s.substr(first, s.find_last_not_of(' ') - first + 1));
}

// The conversion rule for the classic hyphen-header files, step by step: a header on line 1,
// recipes found by "Title:" and "Yield:", one line passed over, ingredients up to and
// including the first empty line, instructions up to a line that is exactly "-----". For a
// file of that shape the import must write exactly this.
std::optional<std::string> stepByStepImport(std::string_view destination, std::string_view file)
{
    const auto lines = text::splitLines(file);
    if (lines.empty() || !lines[0].starts_with("---------- Recipe via Meal-Master")) {
        return std::nullopt;
    }
    std::string out(destination);
    bool needTag = text::lastLine(destination) != std::optional<std::string_view>("[NAMN]");
    auto write = [&](std::string_view line) { out += std::string(line) + "\r\n"; };
    std::size_t i = 1;
    for (;;) {
        while (i < lines.size() && lines[i].find("Title:") == std::string::npos) ++i;
        if (i >= lines.size()) break;
        const std::string title = trimBlanks(lines[i].substr(lines[i].find("Title:") + 7));
        while (lines[i].find("Yield:") == std::string::npos) ++i;
        const double yield =
            text::leadingNumber(trimBlanks(lines[i].substr(lines[i].find("Yield:") + 7)));
        i += 2;
        if (needTag) write("[NAMN]");
        needTag = true;
        write(text::toUpper(title.substr(0, 1)) + text::toLower(title.substr(1)));
        write("[PORTIONER]");
        write(std::to_string(static_cast<int>(yield)));
        write("[TID]");
        write("0");
        write("[IND]");
        for (;; ++i) {
            write(trimBlanks(lines[i]));
            if (trimBlanks(lines[i]).empty()) break;
        }
        ++i;
        write("[G\xD6RA]");
        for (; lines[i] != "-----"; ++i) write(trimBlanks(lines[i]));
        ++i;
        write("[TYP]");
        write("Imported");
    }
    return out;
}

struct Fixture {
    TempDir dir;
    ProgramFolder folder{dir.path()};
    Fixture()
    {
        dir.write("bocker.txt", crlf({"Standard", "recept.txt", "Desserts", "DESSERTS.TXT"}));
        dir.write("recept.txt", record({.name = "Soup",
                                        .servings = "4",
                                        .time = "30",
                                        .ingredients = {"water"},
                                        .steps = {"boil"},
                                        .type = "Soups"}));
        dir.write("DESSERTS.TXT", "");
    }
};

const std::string kClassicTwo = crlf({
    "---------- Recipe via Meal-Master (tm) v8.01",
    "",
    "      Title: APPLE PIE",
    " Categories: Pies",
    "      Yield: 8 servings",
    "",
    "      6    Apples",
    "      1 c  Sugar",
    "",
    "  Slice the apples.",
    "",
    "  Bake for an hour.",
    "-----",
    "",
    "",
    "---------- Recipe via Meal-Master (tm) v8.01",
    "",
    "      Title: Pancakes",
    " Categories: Breakfast",
    "      Yield: 4",
    "",
    "      3 dl Milk",
    "",
    "  Whisk and fry.",
    " -----",
    "  Serve hot.",
    "-----",
    "",
});

TEST(MealMaster, HyphenHeaderFilesFollowTheStepByStepRuleExactly)
{
    const std::string oneHeader = crlf({
        "---------- Recipe via Meal-Master (tm) v8.01",
        "      Title: Soup",
        "      Yield: 2 servings",
        "",
        "      1 l  Water",
        "",
        "-----",
        "      Title: Bread",
        "      Yield: 1",
        "",
        "",
        "      1 kg Flour",
        "      1 ts Salt",
        "",
        "  Knead.",
        "-----",
    });
    const std::string mangledTitle = crlf({
        "---------- Recipe via Meal-Master (tm) v8.01",
        "      Title:   cR\xC8"
        "ME  BR\xDB"
        "L\xC9"
        "E  ",
        "      Yield: 6 Servings",
        "",
        "      2 dl Cr\xE8me",
        "",
        "-----",
    });
    const std::string old = record({.name = "Old",
                                    .servings = "1",
                                    .time = "0",
                                    .ingredients = {},
                                    .steps = {},
                                    .type = "Soups"});
    std::string large;  // far larger than the file imported into it
    for (int i = 0; i < 5000; ++i) large += old;
    for (const std::string& destination : {std::string(), crlf({"[NAMN]"}), old, large}) {
        for (const std::string& file : {kClassicTwo, oneHeader, mangledTitle}) {
            Fixture f;
            f.dir.write("DESSERTS.TXT", destination);
            auto report =
                importMealMasterInto(f.folder, "DESSERTS.TXT", file, TextEncoding::Cp1252);
            ASSERT_TRUE(report) << report.error().message;
            EXPECT_TRUE(report->skipped.empty());
            EXPECT_EQ(f.dir.read("DESSERTS.TXT"), stepByStepImport(destination, file).value())
                << file;
        }
    }
}

TEST(MealMaster, TheRecordsAreAppendedAsTheStoreAppends)
{
    // Whatever the cookbook ends with: a lone tag (with any line end or none), a record named
    // "[NAMN]", a last line without a line end.
    Fixture f;
    ASSERT_TRUE(importMealMasterInto(f.folder, "DESSERTS.TXT", kClassicTwo));
    const std::string records = f.dir.read("DESSERTS.TXT");
    ASSERT_TRUE(records.starts_with("[NAMN]\r\n"));
    const std::string soup = f.dir.read("recept.txt");
    for (const std::string& destination :
         {std::string("[NAMN]"), soup + "[NAMN]\r", soup + "[NAMN]\n",
          std::string("[NAMN]\r\n[NAMN]\r\n"), std::string("[NAMN]\r\n[NAMN]\r\n[NAMN]\r\n"),
          soup.substr(0, soup.size() - 2), soup + "\r\n", soup + "[NAMN]\r\n[NAMN]\r\n[NAMN]"}) {
        f.dir.write("DESSERTS.TXT", destination);
        ASSERT_TRUE(importMealMasterInto(f.folder, "DESSERTS.TXT", kClassicTwo));
        EXPECT_EQ(f.dir.read("DESSERTS.TXT"),
                  store::withAppendedLines(destination, std::string_view(records).substr(8)))
            << destination;
    }
}

TEST(MealMaster, ClassicEdgeCases)
{
    Fixture f;
    auto report = importMealMasterInto(f.folder, "DESSERTS.TXT", kClassicTwo);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->imported, 2);
    EXPECT_EQ(importedMessage(report->imported), "2 recipes imported.");
    store::Cookbook book(f.folder, "DESSERTS.TXT");
    EXPECT_EQ(book.names().value(), (std::vector<std::string>{"Apple pie", "Pancakes"}));
    auto pie = book.read("Apple pie").value();
    EXPECT_EQ(pie.servings, "8");
    EXPECT_EQ(pie.cookingTime, "0");
    EXPECT_EQ(pie.type, "Imported");
    EXPECT_EQ(pie.ingredients, crlf({"6    Apples", "1 c  Sugar", ""}));
    EXPECT_EQ(pie.instructions, crlf({"Slice the apples.", "", "Bake for an hour."}));
    // " -----" with its leading blank is an instruction line, not the end.
    EXPECT_EQ(book.read("Pancakes")->instructions, crlf({"Whisk and fry.", "-----", "Serve hot."}));

    // An empty first ingredient line makes an ingredient section of one empty line; the
    // ingredients then stand in the instructions.
    Fixture g;
    ASSERT_TRUE(importMealMasterInto(
        g.folder, "DESSERTS.TXT",
        crlf({"---------- Recipe via Meal-Master (tm) v8.01", "      Title: Bread",
              "      Yield: 1", "", "", "      1 kg Flour", "", "  Knead.", "-----"})));
    auto bread = store::Cookbook(g.folder, "DESSERTS.TXT").read("Bread").value();
    EXPECT_EQ(bread.ingredients, crlf({""}));
    EXPECT_EQ(bread.instructions, crlf({"1 kg Flour", "", "Knead."}));
}

TEST(MealMaster, Servings)
{
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"8 servings", "8"}, {"1 1/2 cups", "2"},
        {"  8", "8"},        {"2.5", "3"},
        {"1/2", "1"},        {"0", "1"},
        {"12-16", "12"},     {"servings", "0"},
        {"", "0"},           {"99999999999999", "999999"},
    };
    for (auto [yield, servings] : cases) EXPECT_EQ(servingsOf(yield), servings) << yield;
}

TEST(MealMaster, ImportsIntoTheChosenCookbookByTitle)
{
    Fixture f;
    const std::string standard = f.dir.read("recept.txt");
    TempDir source;
    source.write("pie.mmf", kClassicTwo);
    auto report = importMealMaster(f.folder, "Desserts", source.file("pie.mmf"));
    ASSERT_TRUE(report) << report.error().message;
    EXPECT_EQ(report->imported, 2);
    EXPECT_EQ(f.dir.read("recept.txt"), standard);
    EXPECT_TRUE(f.dir.read("DESSERTS.TXT").starts_with("[NAMN]\r\nApple pie\r\n"));

    EXPECT_FALSE(importMealMaster(f.folder, "No such book", source.file("pie.mmf")));
    EXPECT_FALSE(importMealMaster(f.folder, "Desserts", source.file("missing.mmf")));
}

TEST(MealMaster, AFileWithoutAnyHeaderIsRefusedAndNothingIsWritten)
{
    Fixture f;
    for (const std::string& file :
         {std::string(),
          crlf({"      Title: Soup", "      Yield: 2", "", "water", "", "boil", "-----"}),
          std::string("\x89PNG\r\n\x1a\n\0\0", 10)}) {
        auto report = importMealMasterInto(f.folder, "DESSERTS.TXT", file);
        ASSERT_FALSE(report);
        EXPECT_EQ(report.error().message, "Sorry, not a Meal Master document!");
        EXPECT_EQ(f.dir.read("DESSERTS.TXT"), "");
    }
}

// Columns: amount 1-7, unit 9-10, text from 12; the second column from 42.
std::string twoColumns(std::string left, std::string_view right)
{
    left.resize(41, ' ');
    return left + std::string(right);
}

TEST(MealMaster, VersionEightFilesWithGroupsHeadingsAndContinuations)
{
    // DOS code page 850, where 0xF8 is the degree sign and 0x8A is è.
    const std::string file = crlf({
        "MMMMM----- Recipe via Meal-Master (tm) v8.05",
        " ",
        "      Title: Cherry Pie",
        " Categories: Pies, Desserts",
        "      Yield: 1 Servings",
        " ",
        "MMMMM-------------------------FILLING------------------------------",
        "      4 c  Pitted cherries",
        "    1/2 c  Sugar",
        "      2 tb Cornstarch; dissolved in",
        "           -a little water",
        " ",
        "MMMMM--------------------------CRUST-------------------------------",
        "      2    Pie crusts",
        "           Cr\x8A"
        "me fra\x8C"
        "che",
        "",
        "  Mix the filling.\tLine the pan.",
        " ",
        "  Bake at 400\xF8"
        "F for 50 minutes.",
        "",
        "MMMMM",
    });
    Fixture f;
    auto report = importMealMasterInto(f.folder, "DESSERTS.TXT", file);
    ASSERT_TRUE(report) << report.error().message;
    EXPECT_EQ(report->imported, 1);
    EXPECT_EQ(report->replacedCharacters, 0);
    auto pie = store::Cookbook(f.folder, "DESSERTS.TXT").read("Cherry pie").value();
    EXPECT_EQ(pie.servings, "1");
    EXPECT_EQ(pie.ingredients,
              crlf({"MMMMM-------------------------FILLING------------------------------",
                    "4 c  Pitted cherries", "1/2 c  Sugar",
                    "2 tb Cornstarch; dissolved in a little water", "",
                    "MMMMM--------------------------CRUST-------------------------------",
                    "2    Pie crusts",
                    "Cr\xE8me fra\xEE"
                    "che",
                    ""}));
    EXPECT_EQ(pie.instructions, crlf({"Mix the filling.      Line the pan.", "",
                                      "Bake at 400\xB0"
                                      "F for 50 minutes.",
                                      ""}));
}

TEST(MealMaster, VersionSevenArchivesWithMailTextServingsAndTwoColumns)
{
    // LF line ends, a mail header before the first recipe, notes between recipes.
    std::string file;
    for (std::string_view line :
         {"From: cook@example.org", "Subject: two cakes", "",
          "---------- Recipe via Meal-Master (tm) v7.04", "", "      Title: Honey Cake",
          " Categories: Cakes", "   Servings:  8", ""}) {
        file += std::string(line) + "\n";
    }
    file += twoColumns("      2 c  Flour", "      1 c  Honey") + "\n";
    file += twoColumns("      3    Eggs", "    1/2 ts Baking soda") + "\n";
    file += twoColumns("      1 c  Strong coffee", "      2 tb Butter; melted and") + "\n";
    file += twoColumns("", "           -cooled") + "\n";
    for (std::string_view line :
         {"", "  Beat the eggs with the honey, add the rest.", "", "-----", "",
          "Some notes between recipes.", "", "---------- Recipe via Meal-Master (tm) v7.04", "",
          "      Title: Plain Biscuits", " Categories: Cookies", "   Servings: 24", "",
          "      2 c  Flour", "    1/2 c  Butter", "", "  Rub, roll and bake.", "-----"}) {
        file += std::string(line) + "\n";
    }
    Fixture f;
    auto report = importMealMasterInto(f.folder, "DESSERTS.TXT", file);
    ASSERT_TRUE(report) << report.error().message;
    EXPECT_EQ(report->imported, 2);
    store::Cookbook book(f.folder, "DESSERTS.TXT");
    EXPECT_EQ(book.names().value(), (std::vector<std::string>{"Honey cake", "Plain biscuits"}));
    auto cake = book.read("Honey cake").value();
    EXPECT_EQ(cake.servings, "8");
    EXPECT_EQ(cake.ingredients, crlf({"2 c  Flour", "1 c  Honey", "3    Eggs", "1/2 ts Baking soda",
                                      "1 c  Strong coffee", "2 tb Butter; melted and cooled", ""}));
    EXPECT_EQ(cake.instructions, crlf({"Beat the eggs with the honey, add the rest.", ""}));
    EXPECT_EQ(book.read("Plain biscuits")->servings, "24");
    EXPECT_EQ(book.read("Plain biscuits")->instructions, crlf({"Rub, roll and bake."}));
}

TEST(MealMaster, RecipesThatCannotBeReadWholeAreReportedNotSilentlyLost)
{
    const std::string file = crlf({
        "MMMMM----- Recipe via Meal-Master (tm) v8.05",
        "      Title: Soup",
        "      Yield: 4 servings",
        "",
        "      1 l  Water",
        "",
        "  Boil.",
        "MMMMM",
        "MMMMM----- Recipe via Meal-Master (tm) v8.05",
        " Categories: Nothing",
        "      Yield: 2",
        "",
        "      1    Egg",
        "",
        "  Cook.",
        "MMMMM",
        "MMMMM----- Recipe via Meal-Master (tm) v8.05",
        "      Title: Bread",
        "      Yield: 1",
        "",
        "      1 kg Flour",
        "",
        "  Knead, and here the file was cut off",
    });
    Fixture f;
    // The destination holds a Soup already: a second one is imported all the same, under a
    // numbered name.
    f.dir.write("DESSERTS.TXT", f.dir.read("recept.txt"));
    auto report = importMealMasterInto(f.folder, "DESSERTS.TXT", file);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->imported, 1);
    EXPECT_EQ(store::Cookbook(f.folder, "DESSERTS.TXT").names().value(),
              (std::vector<std::string>{"Soup", "Soup (2)"}));
    ASSERT_EQ(report->skipped.size(), 2u);
    EXPECT_EQ(report->skipped[0].number, 2);
    EXPECT_EQ(report->skipped[1].title, "Bread");
    EXPECT_EQ(skippedMessage(*report),
              "2 recipes were not imported:\nrecipe 2 of the file: it has no title.\n\"Bread\": "
              "it is cut off by the end of the file.");
    EXPECT_EQ(skippedMessage(MealMasterImport{}), "");
}

// What a recipe typed in the window could not be, an import leaves out and names: a title of
// a megabyte (the message shows its start), a byte Windows-1252 does not define. The message
// is quick to show however long the title was.
TEST(MealMaster, RecipesThatCouldNotBeAddedByHandAreLeftOutAndNamedBriefly)
{
    auto recipe = [](const std::string& title) {
        return crlf({"MMMMM----- Recipe via Meal-Master (tm) v8.05", "      Title: " + title,
                     "      Yield: 4", "", "      1 l  Water", "", "  Boil.", "MMMMM"});
    };
    const std::string huge(1024 * 1024, 'x');
    const std::string file = recipe("Soup") + recipe(huge) + recipe("Odd \x81 stew") +
                             recipe(std::string(store::kMaxRecipeNameChars, 'y'));
    Fixture f;
    auto report = importMealMasterInto(f.folder, "DESSERTS.TXT", file, TextEncoding::Cp1252);
    ASSERT_TRUE(report) << report.error().message;
    EXPECT_EQ(report->imported, 2);
    EXPECT_EQ(
        store::Cookbook(f.folder, "DESSERTS.TXT").names().value(),
        (std::vector<std::string>{"Soup", "Y" + std::string(store::kMaxRecipeNameChars - 1, 'y')}));
    ASSERT_EQ(report->skippedCount, 2);
    EXPECT_LE(report->skipped[0].title.size(), kSkippedTitleChars);
    EXPECT_EQ(skippedMessage(*report),
              "2 recipes were not imported:\n\"" + std::string(text::kMessageNameChars, 'x') +
                  "\u2026\": its name has " + std::to_string(huge.size()) +
                  " characters, more than the 200 a name may have.\n\"Odd \\x81 stew\": its name "
                  "holds the byte 0x81, which is no Windows-1252 character.");

    // A file of thousands of broken recipes keeps the first few for the message and counts
    // the rest.
    std::string broken;
    for (int i = 0; i < 2000; ++i) broken += recipe("");
    report = importMealMasterInto(f.folder, "DESSERTS.TXT", broken);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->skippedCount, 2000);
    EXPECT_EQ(report->skipped.size(), kSkippedShown);
    EXPECT_TRUE(skippedMessage(*report).ends_with("\n... and 1995 more."));
}

TEST(MealMaster, AFifoInsteadOfAFileIsRefusedAtOnce)
{
    Fixture f;
    ASSERT_EQ(::mkfifo(f.dir.file("recipes.mmf").c_str(), 0600), 0);
    auto report = importMealMaster(f.folder, "Desserts", f.dir.file("recipes.mmf"));
    ASSERT_FALSE(report);
    EXPECT_NE(report.error().message.find("not an ordinary file"), std::string::npos)
        << report.error().message;
    EXPECT_EQ(f.dir.read("DESSERTS.TXT"), "");
}

TEST(MealMaster, Encodings)
{
    struct Case {
        std::string bytes;
        TextEncoding encoding;
        std::string text;
        int replaced;
    };
    const Case cases[] = {
        // Detected: UTF-8 when it decodes, DOS code page 850 otherwise.
        {"400\xC2\xB0"
         "F cr\xC3\xA8me",
         TextEncoding::Detect,
         "400\xB0"
         "F cr\xE8me",
         0},
        {"400\xF8"
         "F cr\x8Ame",
         TextEncoding::Detect,
         "400\xB0"
         "F cr\xE8me",
         0},
        {"\xEF\xBB\xBFplain", TextEncoding::Detect, "plain", 0},
        // Box drawing and malformed UTF-8 cannot be kept.
        {"a\xE2\x94\x80"
         "b\xFF",
         TextEncoding::Utf8, "a?b?", 2},
        {"a\xC4"
         "b",
         TextEncoding::Cp850, "a?b", 1},
        {"caf\xE9", TextEncoding::Cp1252, "caf\xE9", 0},
        // Stray control bytes go; tabs and line ends stay; DOS's end-of-file byte ends the text.
        {"a\x14"
         "b\tc\r\nd\x1A"
         "after",
         TextEncoding::Detect, "ab\tc\r\nd", 0},
    };
    for (const Case& c : cases) {
        DecodedText decoded = decodeForImport(c.bytes, c.encoding);
        EXPECT_EQ(decoded.cp1252, c.text) << c.bytes;
        EXPECT_EQ(decoded.replaced, c.replaced) << c.bytes;
    }
    EXPECT_EQ(encodingNamed("UTF-8"), TextEncoding::Utf8);
    EXPECT_EQ(encodingNamed("cp850"), TextEncoding::Cp850);
    EXPECT_EQ(encodingNamed("latin9"), std::nullopt);
}

TEST(MealMaster, LinesThatLookLikeTagsKeepTheRecordWellFormed)
{
    const std::string file = crlf({
        "MMMMM----- Recipe via Meal-Master (tm) v8.05",
        "      Title: Tricky",
        "      Yield: 1",
        "",
        "[Garnish]",
        "[NAMN]",
        "",
        "[TYP]",
        "MMMMM",
    });
    Fixture f;
    ASSERT_TRUE(importMealMasterInto(f.folder, "DESSERTS.TXT", file));
    store::Cookbook book(f.folder, "DESSERTS.TXT");
    EXPECT_EQ(book.names().value(), (std::vector<std::string>{"Tricky"}));
    auto record = book.read("Tricky").value();
    EXPECT_EQ(record.ingredients, crlf({" [Garnish]", " [NAMN]", ""}));
    EXPECT_EQ(record.instructions, crlf({" [TYP]"}));
    EXPECT_EQ(record.type, "Imported");
}

TEST(MealMaster, AnImportThatCannotWriteChangesNothing)
{
    Fixture f;
    f.dir.write("DESSERTS.TXT", f.dir.read("recept.txt"));
    const std::string before = f.dir.read("DESSERTS.TXT");
    // Another writer holds the data folder: the import gives up and writes none of the recipes.
    auto lock = FolderLock::acquire(f.folder);
    ASSERT_TRUE(lock);
    const ShortLockWait shortWait(std::chrono::milliseconds(100));
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        auto report = importMealMasterInto(f.folder, "DESSERTS.TXT", kClassicTwo);
        ::_exit(report ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(f.dir.read("DESSERTS.TXT"), before);
}

TEST(MealMaster, RepeatedTitlesAreAllImportedEachUnderANameOfItsOwn)
{
    // Archives gathered over the years hold one title many times; the cookbook has one too.
    auto mm = [](const std::string& title, const std::string& yield) {
        return crlf({"MMMMM----- Recipe via Meal-Master (tm) v8.05", "      Title: " + title,
                     "      Yield: " + yield, "", "      2    Eggs", "", "  Fry.", "MMMMM", ""});
    };
    const std::string file =
        mm("PANCAKES", "1") + mm("Waffles", "2") + mm("Pancakes", "3") + mm("pancakes", "4");
    Fixture f;
    f.dir.write("DESSERTS.TXT", crlf({"[NAMN]", "Pancakes", "[PORTIONER]", "9", "[TID]", "0",
                                      "[IND]", "[G\xD6RA]", "[TYP]", "Imported"}));
    auto report = importMealMasterInto(f.folder, "DESSERTS.TXT", file);
    ASSERT_TRUE(report) << report.error().message;
    EXPECT_EQ(report->imported, 4);
    EXPECT_EQ(report->renamed, 3);
    EXPECT_EQ(report->firstRenamed, "Pancakes (2)");
    EXPECT_EQ(importedMessage(*report),
              "4 recipes imported. 3 recipes had names that were taken and were given numbered "
              "names, such as \"Pancakes (2)\".");
    const std::string book = f.dir.read("DESSERTS.TXT");
    EXPECT_EQ(store::listNames(book), (std::vector<std::string>{"Pancakes", "Pancakes (2)",
                                                                "Waffles", "Pancakes (3)",
                                                                "Pancakes (4)"}));
    // Every one of them is reached by its own name.
    for (const auto& [name, servings] : std::vector<std::pair<std::string, std::string>>{
             {"Pancakes", "9"}, {"Pancakes (2)", "1"}, {"Pancakes (3)", "3"}, {"Pancakes (4)", "4"}})
        EXPECT_EQ(store::parseRecord(book, name)->servings, servings) << name;

    // Nothing renamed, nothing more said; one renamed, said in the singular.
    MealMasterImport said;
    said.imported = 2;
    EXPECT_EQ(importedMessage(said), "2 recipes imported.");
    said.renamed = 1;
    said.firstRenamed = "Soup (2)";
    EXPECT_EQ(importedMessage(said),
              "2 recipes imported. 1 recipe had a name that was taken and was given a numbered "
              "name, \"Soup (2)\".");
}

}  // namespace
