#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "core/search/fridge_search.h"
#include "support/records.h"
#include "support/temp_dir.h"

using namespace culvora;
using namespace culvora::search;
using culvora::testing::cookbook;
using culvora::testing::crlf;
using culvora::testing::record;
using culvora::testing::TempDir;

namespace {

const std::vector<std::string> kWords = {"beaten", "egg", "Flour", "milk", "salt"};

TEST(FridgeSearch, EveryRecognisedIngredientMustBeMarked)
{
    const std::string book = cookbook({
        {.name = "Pancakes", .ingredients = {"2 egg", "3 dl flour", "5 dl milk", "1 pinch pepper"}},
        {.name = "Seasoning", .ingredients = {"Salt"}},  // no recognised ingredient
        {.name = "Scramble", .ingredients = {"1 egg, beaten", "2 egg", "1 tsk salt "}},
        // egg twice counts once
        {.name = "Custard", .ingredients = {"3 egg", "5 dl milk", "4 egg"}},
    });
    struct Case {
        std::vector<std::string> marked;
        std::vector<std::string> found;
    };
    const Case cases[] = {
        {{"egg", "Flour", "milk"}, {"Custard", "Pancakes"}},
        {{"egg", "milk"}, {"Custard"}},
        {{"egg"}, {}},
        {{"beaten", "egg"}, {"Scramble"}},  // recognised through "beaten", not "egg"
        {{"beaten", "egg", "Flour", "milk", "salt"}, {"Custard", "Pancakes", "Scramble"}},
    };
    for (const auto& c : cases) EXPECT_EQ(fridgeSearch(book, kWords, c.marked), c.found);
    EXPECT_EQ(lastWord("1 egg, beaten"), "beaten");
    EXPECT_EQ(lastWord("Salt"), "");
    EXPECT_EQ(lastWord("1 tsk salt "), "");
}

TEST(FridgeSearch, ProgressAndEmptyCases)
{
    // Four recipes: 25, 50, 75, 100 % on the label, the bar a step behind.
    const std::pair<std::size_t, std::pair<int, const char*>> steps[] = {{1, {0, "25 % klart"}},
                                                                         {2, {25, "50 % klart"}},
                                                                         {3, {50, "75 % klart"}},
                                                                         {4, {75, "100 % klart"}}};
    for (const auto& [i, expected] : steps) {
        const Progress p = searchProgress(i, 4);
        EXPECT_EQ(p.bar, expected.first);
        EXPECT_EQ(p.label, expected.second);
    }
    EXPECT_EQ(searchProgress(0, 0).label, "100 % klart");  // no division by zero
    EXPECT_EQ(foundText(3), "I have found 3 recipes...");

    std::vector<std::size_t> seen;
    const std::string book = cookbook({
        {.name = "A", .ingredients = {"1 egg"}},
        {.name = "B", .ingredients = {"1 milk"}},
        {.name = "C"},
        {.name = "D", .ingredients = {"2 egg"}},
    });
    fridgeSearch(book, kWords, {"egg"}, [&](std::size_t examined, std::size_t total, std::size_t) {
        EXPECT_EQ(total, 4u);
        seen.push_back(examined);
    });
    EXPECT_EQ(seen, (std::vector<std::size_t>{1, 2, 3, 4}));
    // An empty cookbook, an empty list, no marks: nothing found, nothing breaks.
    EXPECT_TRUE(fridgeSearch("", kWords, {"egg"}).empty());
    EXPECT_TRUE(fridgeSearch(book, {}, {}).empty());
    // A list far longer than 16-bit counters reach.
    std::vector<std::string> many;
    for (int i = 0; i < 40000; ++i) many.push_back("w" + std::to_string(i));
    many.push_back("egg");
    EXPECT_EQ(fridgeSearch(book, many, {"egg"}), (std::vector<std::string>{"A", "D"}));
}

TEST(FridgeSearch, TheSearchCopyAndFridgeFiles)
{
    const std::string book =
        record({.name = "Pancakes", .ingredients = {"2 egg", "", "5 dl milk"}}) + "[NAMN]\r\n";
    EXPECT_EQ(searchCopy(book), crlf({"[NAMN]", "Pancakes", "[IND]", "2 egg", "", "5 dl milk"}));

    TempDir dir;
    const auto file = dir.file("home.kyl");
    ASSERT_TRUE(saveFridgeFile(file, {"egg", "Flour"}));
    EXPECT_EQ(dir.read("home.kyl"), crlf({"egg", "flour"}));
    // Reopened: marks the entries again, whatever their capitals in the list.
    EXPECT_EQ(openFridgeFile(file, kWords).value(), (std::vector<std::string>{"egg", "Flour"}));
    EXPECT_TRUE(marksFromFridgeFile("", kWords).empty());
    EXPECT_FALSE(openFridgeFile(dir.file("none.kyl"), kWords));

    // A FIFO picked as a fridge file is refused at once; one saved over a link is refused and
    // the link's file is left alone.
    ASSERT_EQ(::mkfifo(dir.file("fifo.kyl").c_str(), 0600), 0);
    auto fifo = openFridgeFile(dir.file("fifo.kyl"), kWords);
    ASSERT_FALSE(fifo);
    EXPECT_NE(fifo.error().message.find("not an ordinary file"), std::string::npos);
    std::filesystem::create_symlink(file, dir.file("link.kyl"));
    EXPECT_FALSE(saveFridgeFile(dir.file("link.kyl"), {"milk"}));
    EXPECT_EQ(dir.read("home.kyl"), crlf({"egg", "flour"}));
    // Lines of any line end and case mark their entry; the many others are passed over.
    std::string many;
    for (int i = 0; i < 100000; ++i) many += "word" + std::to_string(i) + "\n";
    EXPECT_EQ(marksFromFridgeFile(many + "EGG\r", kWords), (std::vector<std::string>{"egg"}));
}

}  // namespace
