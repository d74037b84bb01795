#include <gtest/gtest.h>

#include <set>

#include <sys/wait.h>
#include <unistd.h>

#include "core/store/cookbook.h"
#include "core/text/text.h"
#include "support/records.h"
#include "support/temp_dir.h"

using namespace culvora;
using namespace culvora::store;
using culvora::testing::crlf;
using culvora::testing::TempDir;

namespace {

const std::string kSoup = culvora::testing::record({.name = "Soup",
                                                    .servings = "4",
                                                    .time = "30",
                                                    .ingredients = {"1 l water", "2 carrots"},
                                                    .steps = {"Boil.", "Serve."},
                                                    .type = "Hot dish"});
const std::string kPie = culvora::testing::record({.name = "Pie",
                                                   .servings = "8",
                                                   .time = "50",
                                                   .ingredients = {"apples"},
                                                   .steps = {"Bake."},
                                                   .type = "Desserts"});
const std::string kCake = culvora::testing::record({.name = "Cake",
                                                    .servings = "10",
                                                    .time = "60",
                                                    .ingredients = {},
                                                    .steps = {},
                                                    .type = "Desserts"});

RecipeRecord record(std::string name)
{
    return {std::move(name), "2", "15", "eggs\r\nmilk", "Whisk.", "Desserts"};
}

TEST(RecipeFile, ListsNamesInFileOrderAndIgnoresALoneTrailingTag)
{
    EXPECT_TRUE(listNames("").empty());
    EXPECT_EQ(listNames(kSoup + kPie + kCake), (std::vector<std::string>{"Soup", "Pie", "Cake"}));
    EXPECT_EQ(listNames(kSoup + "[NAMN]\r\n"), (std::vector<std::string>{"Soup"}));
    // Lone CR and LF line ends from other systems read the same.
    EXPECT_EQ(listNames("[NAMN]\nA\n[NAMN]\rB"), (std::vector<std::string>{"A", "B"}));
}

TEST(RecipeFile, ReadsARecordsFields)
{
    auto soup = parseRecord(kSoup + kPie, "Soup");
    ASSERT_TRUE(soup);
    EXPECT_EQ(soup->servings, "4");
    EXPECT_EQ(soup->cookingTime, "30");
    EXPECT_EQ(soup->ingredients, "1 l water\r\n2 carrots\r\n");
    EXPECT_EQ(soup->instructions, "Boil.\r\nServe.\r\n");
    EXPECT_EQ(soup->type, "Hot dish");

    auto cake = parseRecord(kSoup + kCake, "Cake");
    ASSERT_TRUE(cake);
    EXPECT_EQ(cake->ingredients, "");
    EXPECT_EQ(cake->instructions, "");
    EXPECT_EQ(cake->type, "Desserts");
    EXPECT_FALSE(parseRecord(kSoup, "Pie"));
}

TEST(RecipeFile, TheIngredientsEndAtAnyLineBeginningWithG)
{
    // Another byte in place of the Ö still ends the section.
    auto odd = parseRecord(crlf({"[NAMN]", "X", "[PORTIONER]", "1", "[TID]", "5", "[IND]", "salt",
                                 "[GORA]", "Stir.", "[TYP]", "Accessories"}),
                           "X");
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->ingredients, "salt\r\n");
    EXPECT_EQ(odd->instructions, "Stir.\r\n");
}

TEST(RecipeFile, ARecordCutShortNeverReadsIntoTheNextOne)
{
    const std::string broken =
        crlf({"[NAMN]", "Broken", "[PORTIONER]", "1", "[TID]", "5", "[IND]", "flour"}) + kPie;
    auto read = parseRecord(broken, "Broken");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->ingredients, "flour\r\n");
    EXPECT_EQ(read->instructions, "");
    EXPECT_EQ(read->type, "");
    // A file that ends inside a record yields what was there.
    auto cut = parseRecord(crlf({"[NAMN]", "Cut", "[PORTIONER]"}), "Cut");
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->servings, "");
}

TEST(RecipeFile, NameLookupsMatchNameLinesOnly)
{
    // "Soup" is also an ingredient line of the first record: only the name line counts.
    const std::string content = culvora::testing::record({.name = "Stock",
                                                          .servings = "1",
                                                          .time = "5",
                                                          .ingredients = {"Soup"},
                                                          .steps = {"x"},
                                                          .type = "Accessories"}) +
                                kSoup;
    EXPECT_EQ(parseRecord(content, "Soup")->servings, "4");
    auto deleted = withDeleted(content, "Soup");
    ASSERT_TRUE(deleted);
    EXPECT_EQ(listNames(*deleted), (std::vector<std::string>{"Stock"}));
    EXPECT_EQ(parseRecord(*deleted, "Stock")->ingredients, "Soup\r\n");
    EXPECT_FALSE(withDeleted(content, "1 l water"));
    EXPECT_FALSE(withReplaced(content, "x", record("x")));
}

TEST(RecipeFile, AppendingWritesTheTagOnlyWhenNeeded)
{
    const std::string expectedRecord =
        crlf({"Tea", "[PORTIONER]", "2", "[TID]", "15", "[IND]", "eggs", "milk", "[G\xD6RA]",
              "Whisk.", "[TYP]", "Desserts"});
    EXPECT_EQ(withAppended("", std::vector{record("Tea")}), "[NAMN]\r\n" + expectedRecord);
    EXPECT_EQ(withAppended(kSoup + "[NAMN]\r\n", std::vector{record("Tea")}),
              kSoup + "[NAMN]\r\n" + expectedRecord);
    EXPECT_EQ(withAppended(kSoup, std::vector{record("Tea")}),
              kSoup + "[NAMN]\r\n" + expectedRecord);
    // A last line without its line end does not swallow the new tag.
    std::string unterminated = kSoup.substr(0, kSoup.size() - 2);
    EXPECT_EQ(withAppended(unterminated, std::vector{record("Tea")}),
              kSoup + "[NAMN]\r\n" + expectedRecord);
}

TEST(RecipeFile, MultiLineTextsAreWrittenUnchangedPlusOneLineEnd)
{
    RecipeRecord r = record("Tea");
    r.ingredients = "";
    r.instructions = "Boil.\r\n";
    EXPECT_EQ(formatRecord(r), crlf({"Tea", "[PORTIONER]", "2", "[TID]", "15", "[IND]", "",
                                     "[G\xD6RA]", "Boil.", "", "[TYP]", "Desserts"}));
}

TEST(RecipeFile, DeletingKeepsTheTagForTheNextRecord)
{
    // The first of two: the file starts with the tag and the second record's name.
    EXPECT_EQ(*withDeleted(kSoup + kPie, "Soup"), kPie);
    // The middle one.
    EXPECT_EQ(*withDeleted(kSoup + kPie + kCake, "Pie"), kSoup + kCake);
    // The last one leaves a lone tag, which listing ignores and the next append fills.
    const std::string lastGone = *withDeleted(kSoup + kPie, "Pie");
    EXPECT_EQ(lastGone, kSoup + "[NAMN]\r\n");
    EXPECT_EQ(listNames(lastGone), (std::vector<std::string>{"Soup"}));
    EXPECT_EQ(withAppended(lastGone, std::vector{record("Tea")}),
              kSoup + "[NAMN]\r\n" + formatRecord(record("Tea")));
    // The only one.
    EXPECT_EQ(*withDeleted(kSoup, "Soup"), "[NAMN]\r\n");
    EXPECT_FALSE(withDeleted(kSoup, "Missing"));
}

TEST(RecipeFile, ReplacingRewritesOneRecordInPlace)
{
    RecipeRecord newPie = record("Pie");
    EXPECT_EQ(*withReplaced(kSoup + kPie + kCake, "Pie", newPie),
              kSoup + "[NAMN]\r\n" + formatRecord(newPie) + kCake);
    EXPECT_EQ(*withReplaced(kSoup + kPie, "Pie", newPie),
              kSoup + "[NAMN]\r\n" + formatRecord(newPie));
    // Stray lines after the type line belong to the replaced record and go with it.
    const std::string stray = kSoup.substr(0, kSoup.size()) + crlf({"stray note"}) + kPie;
    EXPECT_EQ(*withReplaced(stray, "Soup", record("Soup")),
              "[NAMN]\r\n" + formatRecord(record("Soup")) + kPie);
}

TEST(RecipeFile, RecordLinesRunFromTheNameToTheNextTag)
{
    EXPECT_EQ(*recordLines(kSoup + kPie, "Soup"), kSoup.substr(8));
    EXPECT_EQ(*recordLines(kSoup + kPie, "Pie"), kPie.substr(8));
    EXPECT_FALSE(recordLines(kSoup, "Pie"));
}

TEST(Cookbook, WorksOnTheFileAndReportsWhatIsMissing)
{
    TempDir dir;
    ProgramFolder folder(dir.path());
    Cookbook book(folder, "BOOK1.TXT");
    // A missing cookbook lists as empty but refuses changes with a clear message.
    EXPECT_TRUE(book.names().value().empty());
    auto refused = book.append(record("Tea"));
    ASSERT_FALSE(refused.has_value());
    EXPECT_EQ(refused.error().code, ErrorCode::NotFound);
    EXPECT_NE(refused.error().message.find("BOOK1.TXT"), std::string::npos);
    EXPECT_FALSE(dir.exists("BOOK1.TXT"));

    dir.write("BOOK1.TXT", "");
    ASSERT_TRUE(book.append(record("Tea")).has_value());
    ASSERT_TRUE(book.append(record("Coffee")).has_value());
    EXPECT_EQ(book.names().value(), (std::vector<std::string>{"Tea", "Coffee"}));
    EXPECT_EQ(book.read("Coffee").value().instructions, "Whisk.\r\n");
    auto missing = book.read("Cocoa");
    ASSERT_FALSE(missing.has_value());
    EXPECT_EQ(missing.error().message, "The recipe \"Cocoa\" was not found in the cookbook.");
    EXPECT_EQ(book.remove("Cocoa").error().code, ErrorCode::NotFound);

    RecipeRecord changed = record("Tea");
    changed.servings = "6";
    ASSERT_TRUE(book.replace("Tea", changed).has_value());
    EXPECT_EQ(book.read("Tea").value().servings, "6");
    ASSERT_TRUE(book.remove("Tea").has_value());
    EXPECT_EQ(book.names().value(), (std::vector<std::string>{"Coffee"}));
    EXPECT_FALSE(dir.exists("recept.tmp"));
}

TEST(Cookbook, FileNamesThatLeaveTheFolderOrNameOurOwnFilesAreRefused)
{
    TempDir dir;
    TempDir outside;
    ProgramFolder folder(dir.path());
    outside.write("list.txt", "Standard\r\nBOOK1.TXT\r\n");
    const std::string relative = "../" + outside.path().filename().string() + "/list.txt";
    dir.write("typer.txt", "Imported\r\n");
    for (const std::string& file : {relative, outside.file("list.txt").string(),
                                    std::string("typer.txt"), std::string("RECEPT.TMP")}) {
        Cookbook book(folder, file);
        EXPECT_FALSE(book.append(record("Tea"))) << file;
        EXPECT_FALSE(book.names()) << file;
        EXPECT_FALSE(book.remove("Imported")) << file;
        EXPECT_EQ(book.names().error().code, ErrorCode::Invalid);
    }
    EXPECT_FALSE(moveRecipe(folder, "typer.txt", "BOOK2.TXT", "Imported"));
    EXPECT_EQ(outside.read("list.txt"), "Standard\r\nBOOK1.TXT\r\n");
    EXPECT_EQ(dir.read("typer.txt"), "Imported\r\n");
}

// Two processes adding at once (the program and a script) must both keep every recipe, and
// a third writing another cookbook at the same time must never swap contents with them.
TEST(Cookbook, TwoWritersAtOnceLoseNothing)
{
    TempDir dir;
    ProgramFolder folder(dir.path());
    dir.write("BOOK1.TXT", kSoup + kPie);
    dir.write("BOOK2.TXT", "");
    auto writer = [&](const std::string& file, const std::string& prefix, int count) {
        pid_t child = ::fork();
        if (child != 0) return child;
        Cookbook book(folder, file);
        int failures = 0;
        for (int i = 0; i < count; ++i) {
            if (!book.append(record(prefix + std::to_string(i)))) ++failures;
        }
        ::_exit(failures == 0 ? 0 : 1);
    };
    const pid_t children[] = {writer("BOOK1.TXT", "One ", 200), writer("BOOK1.TXT", "Two ", 200),
                              writer("BOOK2.TXT", "Other ", 100)};
    for (pid_t child : children) {
        ASSERT_GT(child, 0);
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a writer reported a failure";
    }
    const auto names = listNames(dir.read("BOOK1.TXT"));
    ASSERT_EQ(names.size(), 402u);
    std::set<std::string> unique(names.begin(), names.end());
    EXPECT_EQ(unique.size(), 402u);
    for (int i = 0; i < 200; ++i) {
        EXPECT_TRUE(unique.contains("One " + std::to_string(i)));
        EXPECT_TRUE(unique.contains("Two " + std::to_string(i)));
    }
    EXPECT_TRUE(unique.contains("Soup") && unique.contains("Pie"));
    const auto others = listNames(dir.read("BOOK2.TXT"));
    ASSERT_EQ(others.size(), 100u);
    for (const auto& name : others) EXPECT_TRUE(name.starts_with("Other ")) << name;
}

TEST(Cookbook, MovingWritesTheTargetBeforeRemovingFromTheSource)
{
    TempDir dir;
    ProgramFolder folder(dir.path());
    dir.write("BOOK1.TXT", kSoup + kPie + kCake);
    dir.write("BOOK2.TXT", "");
    ASSERT_TRUE(moveRecipe(folder, "BOOK1.TXT", "BOOK2.TXT", "Pie").has_value());
    EXPECT_EQ(dir.read("BOOK1.TXT"), kSoup + kCake);
    EXPECT_EQ(dir.read("BOOK2.TXT"), kPie);
    // Into a cookbook that ends with a lone tag: no second tag.
    dir.write("BOOK3.TXT", kSoup + "[NAMN]\r\n");
    ASSERT_TRUE(moveRecipe(folder, "BOOK1.TXT", "BOOK3.TXT", "Cake").has_value());
    EXPECT_EQ(dir.read("BOOK3.TXT"), kSoup + kCake);
    EXPECT_EQ(dir.read("BOOK1.TXT"), kSoup + "[NAMN]\r\n");
    // A missing target changes nothing.
    EXPECT_FALSE(moveRecipe(folder, "BOOK1.TXT", "NOPE.TXT", "Soup").has_value());
    EXPECT_EQ(dir.read("BOOK1.TXT"), kSoup + "[NAMN]\r\n");
}

std::vector<std::string> texts(const RecipeIndex& index)
{
    std::vector<std::string> out;
    for (const auto& entry : index.entries) out.push_back(entry.text);
    return out;
}

TEST(RecipeIndex, HeadingsAndNamesInTheProgramsOrder)
{
    auto empty = buildRecipeIndex({});
    EXPECT_EQ(empty.entries.size(), 25u);
    EXPECT_EQ(empty.entries.front(), (IndexEntry{"A -------", true}));
    EXPECT_EQ(empty.entries.back(), (IndexEntry{"Z -------", true}));
    EXPECT_EQ(empty.countText(), "Number of recipes: 0");
    for (const auto& heading : empty.entries) EXPECT_NE(heading.text[0], 'W');

    auto index = buildRecipeIndex(
        {"waffles", "Apple pie", "\xC4ppelkaka", "Zucchini", "2-minute egg", "Vanilla"});
    const std::vector<std::string> expected = {
        "2-minute egg", "A -------", "Apple pie", "B -------", "C -------", "D -------",
        "E -------",    "F -------", "G -------", "H -------", "I -------", "J -------",
        "K -------",    "L -------", "M -------", "N -------", "O -------", "P -------",
        "Q -------",    "R -------", "S -------", "T -------", "U -------", "V -------",
        "waffles",      "Vanilla",   "X -------", "Y -------", "Z -------", "Zucchini",
        "\xC4ppelkaka"};
    EXPECT_EQ(texts(index), expected);
    EXPECT_EQ(index.countText(), "Number of recipes: 6");
    EXPECT_EQ(sortedNames({"b", "\xD6l", "A"}), (std::vector<std::string>{"A", "b", "\xD6l"}));
}

TEST(RecipeIndex, EachHeadingPrecedesEveryNameOfItsLetter)
{
    // A sign or a lone letter sorts before the heading's blank-and-hyphens; the heading still
    // comes first. What is a heading comes from the list, not from how a name looks.
    auto index = buildRecipeIndex({"B (quick)", "B & B pie", "B", "Bread", "B -------",
                                   "Cake --", "\xC9" "clair", "(Spicy) dip", ""});
    std::vector<std::pair<std::string, bool>> shown;
    for (const auto& entry : index.entries) {
        if (entry.text.empty() || entry.text[0] <= 'E' || static_cast<unsigned char>(entry.text[0]) > 0x7F) {
            shown.emplace_back(entry.text, entry.heading);
        }
    }
    const std::vector<std::pair<std::string, bool>> expected = {
        {"", false},          {"(Spicy) dip", false}, {"A -------", true},  {"B -------", true},
        {"B", false},         {"B & B pie", false},   {"B (quick)", false}, {"B -------", false},
        {"Bread", false},     {"C -------", true},    {"Cake --", false},   {"D -------", true},
        {"E -------", true},  {"\xC9" "clair", false},
    };
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(index.count, 9);
    int headings = 0;
    for (const auto& entry : index.entries) headings += entry.heading;
    EXPECT_EQ(headings, 25);
}

}  // namespace
