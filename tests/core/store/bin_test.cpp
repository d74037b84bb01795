#include <gtest/gtest.h>

#include <filesystem>

#include "core/drinks/drinks.h"
#include "core/store/bin.h"
#include "core/store/cookbook.h"
#include "support/records.h"
#include "support/temp_dir.h"

using namespace culvora;
using namespace culvora::store;
using culvora::testing::crlf;
using culvora::testing::TempDir;

namespace {

const std::string kSoup = culvora::testing::record(
    {.name = "Soup", .ingredients = {"1 l water"}, .steps = {"Boil.", "Serve."}});
const std::string kPie =
    culvora::testing::record({.name = "Pie", .ingredients = {"apples"}, .type = "Desserts"});
const std::string kSoupTwo =
    culvora::testing::record({.name = "Soup", .servings = "2", .ingredients = {"stock"}});

constexpr exchange::LocalTime kMorning{2026, 3, 7, 9, 5, 59};
constexpr exchange::LocalTime kEvening{2026, 3, 7, 21, 40, 0};

BinEntry entry(std::string name, std::string stamp = "2026-01-02 03:04")
{
    std::string lines = name + "\r\n[PORTIONER]\r\n4\r\n[TID]\r\n30\r\n[IND]\r\n[G\xD6RA]\r\n" +
                        "[TYP]\r\nHot dish\r\n";
    return {std::move(name), std::move(stamp), "BOOK1.TXT", "Standard", std::move(lines)};
}

struct Folder {
    TempDir dir;
    ProgramFolder folder{dir.path()};
    Folder()
    {
        dir.write("bocker.txt", crlf({"Standard", "BOOK1.TXT", "Soppor", "BOOK2.TXT"}));
        dir.write("BOOK1.TXT", kSoup + kPie + kSoupTwo);
        dir.write("BOOK2.TXT", "");
    }
};

}  // namespace

TEST(Bin, EntriesReadBackAsWrittenAndTheTimeIsLocalToTheMinute)
{
    EXPECT_EQ(binTime(kMorning), "2026-03-07 09:05");
    BinEntry odd = entry("[NAMN]");  // a name line may read like a tag
    odd.title.clear();
    odd.lines = "[NAMN]\r\nno fields at all\r\n";
    std::string content;
    for (const auto& e : {entry("Soup"), odd, entry("")}) content += *formatBinEntry(e);
    EXPECT_EQ(parseBin(content), (std::vector<BinEntry>{entry("Soup"), odd, entry("")}));
    // The header stands right after the name, the record's own lines follow unchanged.
    EXPECT_TRUE(content.starts_with(crlf({"[NAMN]", "Soup", "[RADERAD]", "2026-01-02 03:04",
                                          "[FR\xC5N]", "BOOK1.TXT", "[KOKBOK]", "Standard",
                                          "[PORTIONER]"})));
}

TEST(Bin, ListsOnlyWholeEntriesAndRefusesHeadersThatWouldBreakIt)
{
    // Lines before the first entry, an entry without its header and a lone tag at the end.
    const std::string content = "stray\r\n" + crlf({"[NAMN]", "Bare", "[PORTIONER]", "4"}) +
                                *formatBinEntry(entry("Kept")) + "[NAMN]\r\n";
    EXPECT_EQ(parseBin(content), std::vector<BinEntry>{entry("Kept")});

    for (auto spoil : {+[](BinEntry& e) { e.title = "[NAMN]"; },
                       +[](BinEntry& e) { e.file = "A\r\nB"; },
                       +[](BinEntry& e) { e.deletedAt = "now\n"; },
                       +[](BinEntry& e) { e.lines = "Other\r\n"; }}) {
        BinEntry bad = entry("Soup");
        spoil(bad);
        EXPECT_FALSE(formatBinEntry(bad));
        EXPECT_FALSE(withBinEntry("", bad));
    }
}

TEST(Bin, KeepsTheNewestEntriesUpToItsSize)
{
    std::string content = "[NAMN]\r\nDamaged\r\n";  // counts as one, and is the oldest
    for (int i = 0; i < 4; ++i) content = *withBinEntry(content, entry("R" + std::to_string(i)), 3);
    EXPECT_EQ(parseBin(content), (std::vector<BinEntry>{entry("R1"), entry("R2"), entry("R3")}));

    std::string full;
    for (std::size_t i = 0; i <= kBinCapacity; ++i) {
        full = *withBinEntry(full, entry("R" + std::to_string(i)));
    }
    const auto entries = parseBin(full);
    ASSERT_EQ(entries.size(), kBinCapacity);
    EXPECT_EQ(entries.front().name, "R1");
    EXPECT_EQ(entries.back().name, "R200");
}

TEST(Bin, TakesOutTheNewestEqualEntryOnly)
{
    std::string content;
    for (const auto& e : {entry("Soup"), entry("Pie"), entry("Soup"), entry("Soup", "later")}) {
        content = *withBinEntry(content, e);
    }
    auto without = withoutBinEntry(content, entry("Soup"));
    ASSERT_TRUE(without);
    EXPECT_EQ(parseBin(*without),
              (std::vector<BinEntry>{entry("Soup"), entry("Pie"), entry("Soup", "later")}));
    EXPECT_FALSE(withoutBinEntry(content, entry("Cake")));
    EXPECT_EQ(newestNamed(parseBin(content), "Soup"), entry("Soup", "later"));
    EXPECT_FALSE(newestNamed(parseBin(content), "Cake"));
}

TEST(Bin, AFreeNameGetsTheFirstNumberNotTaken)
{
    const std::vector<std::string> taken{"Soup", "Soup (2)", "Soup (4)", "Pie (2)"};
    EXPECT_EQ(freeName("Soup", taken), "Soup (3)");
    EXPECT_EQ(freeName("Pie", taken), "Pie");
    EXPECT_EQ(freeName("Pie (2)", taken), "Pie (2) (2)");
    EXPECT_EQ(renamedLines("Soup\r\n[PORTIONER]\r\n4\r\n", "Soup (3)"),
              "Soup (3)\r\n[PORTIONER]\r\n4\r\n");
}

TEST(Bin, ADeletedRecipeGoesToTheBinAndComesBackWhole)
{
    Folder f;
    // The second "Soup" is the one picked: the first stays.
    ASSERT_TRUE(deleteRecipe(f.folder, "BOOK1.TXT", RecordKey{"Soup", 1}, kMorning));
    EXPECT_EQ(f.dir.read("BOOK1.TXT"), kSoup + kPie + "[NAMN]\r\n");
    ASSERT_TRUE(deleteRecipe(f.folder, "BOOK1.TXT", RecordKey{"Pie"}, kEvening));
    auto bin = readBin(f.folder);
    ASSERT_TRUE(bin);
    ASSERT_EQ(bin->size(), 2u);
    EXPECT_EQ((*bin)[0].name, "Soup");
    EXPECT_EQ((*bin)[0].deletedAt, "2026-03-07 09:05");
    EXPECT_EQ((*bin)[0].file, "BOOK1.TXT");
    EXPECT_EQ((*bin)[0].title, "Standard");
    EXPECT_EQ((*bin)[0].kind(), BinKind::Recipe);
    EXPECT_EQ((*bin)[1].deletedAt, "2026-03-07 21:40");
    EXPECT_FALSE(f.dir.exists("papperskorg.tmp"));

    // "Soup" is taken by the one that stayed, so the deleted one comes back numbered.
    auto back = putBack(f.folder, (*bin)[0]);
    ASSERT_TRUE(back) << back.error().message;
    EXPECT_EQ(back->name, "Soup (2)");
    EXPECT_TRUE(back->renamed);
    EXPECT_EQ(back->title, "Standard");
    EXPECT_TRUE(back->note.empty());
    auto pie = putBack(f.folder, (*bin)[1]);
    ASSERT_TRUE(pie);
    EXPECT_FALSE(pie->renamed);

    const std::string book = f.dir.read("BOOK1.TXT");
    EXPECT_EQ(listNames(book), (std::vector<std::string>{"Soup", "Soup (2)", "Pie"}));
    RecipeRecord expected = *parseRecord(kSoupTwo, "Soup");
    expected.name = "Soup (2)";
    EXPECT_EQ(parseRecord(book, "Soup (2)"), expected);
    EXPECT_EQ(parseRecord(book, "Pie"), parseRecord(kPie, "Pie"));
    EXPECT_TRUE(readBin(f.folder)->empty());
    // Put back once, it is not in the bin a second time.
    EXPECT_EQ(putBack(f.folder, (*bin)[1]).error().code, ErrorCode::NotFound);
}

TEST(Bin, ARecipeWhoseCookbookIsGoneStaysInTheBin)
{
    Folder f;
    ASSERT_TRUE(deleteRecipe(f.folder, "BOOK1.TXT", RecordKey{"Pie"}, kMorning));
    const auto kept = readBin(f.folder)->front();
    const std::string binBefore = f.dir.read("papperskorg.txt");

    f.dir.write("bocker.txt", crlf({"Soppor", "BOOK2.TXT"}));
    auto unlisted = putBack(f.folder, kept);
    ASSERT_FALSE(unlisted);
    EXPECT_EQ(unlisted.error().code, ErrorCode::Refused);
    EXPECT_EQ(unlisted.error().message,
              "The recipe \"Pie\" came from the cookbook \"Standard\" (BOOK1.TXT), which is no "
              "longer in the list of cookbooks, so it cannot go back there. Add that cookbook "
              "again under its file name, then put the recipe back.");

    f.dir.write("bocker.txt", crlf({"Standard", "BOOK1.TXT"}));
    std::filesystem::remove(f.dir.file("BOOK1.TXT"));
    auto missing = putBack(f.folder, kept);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().code, ErrorCode::NotFound);
    EXPECT_EQ(f.dir.read("papperskorg.txt"), binBefore);
    EXPECT_FALSE(f.dir.exists("BOOK1.TXT"));
}

TEST(Bin, NoBinNoDelete)
{
    Folder f;
    const std::string book = f.dir.read("BOOK1.TXT");
    // A bin that cannot be read or written: the recipe stays where it is, and the message says why.
    std::filesystem::create_directory(f.dir.file("papperskorg.txt"));
    auto refused = deleteRecipe(f.folder, "BOOK1.TXT", RecordKey{"Pie"}, kMorning);
    ASSERT_FALSE(refused);
    EXPECT_TRUE(refused.error().message.starts_with(
        "The recipe \"Pie\" was not deleted, because it could not be kept in the bin "
        "(papperskorg.txt): "))
        << refused.error().message;
    EXPECT_EQ(f.dir.read("BOOK1.TXT"), book);
    std::filesystem::remove(f.dir.file("papperskorg.txt"));

    // A delete that fails after the bin was written takes its entry out again.
    f.dir.write("papperskorg.txt", *formatBinEntry(entry("Old")));
    const std::string binBefore = f.dir.read("papperskorg.txt");
    auto failed = keepInBinAndChange(f.folder, entry("Soup"), "The recipe \"Soup\"",
                                     [] { return fail(ErrorCode::Io, "disk full"); });
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.error().message, "disk full");
    EXPECT_EQ(f.dir.read("papperskorg.txt"), binBefore);

    // A recipe that is not there is not put in the bin.
    EXPECT_EQ(deleteRecipe(f.folder, "BOOK1.TXT", RecordKey{"Cake"}, kMorning).error().code,
              ErrorCode::NotFound);
    EXPECT_EQ(f.dir.read("papperskorg.txt"), binBefore);
}

TEST(Bin, ADeletedDrinkComesBackIntoTheDrinks)
{
    TempDir dir;
    const ProgramFolder folder(dir.path());
    const std::string sour = crlf({"[NAMN]", "Sour", "4 cl whisky", "[G\xD6RA]", "Shake.",
                                   "[GLAS]", "Sour"});
    const std::string coffee = crlf({"[NAMN]", "Irish Coffee", "coffee", "[G\xD6RA]", "Stir.",
                                     "[GLAS]", "Coffecup"});
    dir.write("drinkar.txt", sour + coffee);
    ASSERT_TRUE(drinks::deleteDrink(folder, "Sour", kMorning));
    auto bin = readBin(folder);
    ASSERT_EQ(bin->size(), 1u);
    EXPECT_EQ(bin->front().kind(), BinKind::Drink);
    EXPECT_EQ(bin->front().file, "drinkar.txt");
    EXPECT_EQ(bin->front().title, "Drinks");

    ASSERT_TRUE(drinks::appendDrink(folder, "Sour", "lemon", "Stir.", "Highball"));
    auto back = putBack(folder, bin->front());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->name, "Sour (2)");
    const std::string content = dir.read("drinkar.txt");
    EXPECT_EQ(drinks::listDrinks(content).names,
              (std::vector<std::string>{"Irish Coffee", "Sour", "Sour (2)"}));
    auto restored = drinks::readDrink(content, "Sour (2)");
    auto original = drinks::readDrink(sour, "Sour");
    original->name = "Sour (2)";
    EXPECT_EQ(restored, original);
}
