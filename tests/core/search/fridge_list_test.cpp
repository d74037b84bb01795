#include <gtest/gtest.h>

#include "core/search/fridge_list.h"
#include "support/temp_dir.h"

using namespace culvora;
using namespace culvora::search;
using culvora::testing::crlf;
using culvora::testing::TempDir;

namespace {

TEST(FridgeList, TheCandidateIsTheTextAfterTheLastBlank)
{
    const std::pair<const char*, const char*> cases[] = {
        {"2 dl milk", "milk"},
        {"Salt", "salt"},
        {"3 eggs (large)", "(large)"},
        {"1 tsk salt ", ""},
        {"", ""},
        {"1 egg, beaten", "beaten"},
        {"500 g \xC4PPLEN", "\xE4pplen"},
        {"  spaced", "spaced"},
    };
    for (const auto& [line, word] : cases) EXPECT_EQ(candidateWord(line), word) << line;
}

TEST(FridgeList, OffersWordsTheListDoesNotKnow)
{
    const std::vector<std::string> known = {"salt", "milk", "Eggs"};
    const std::vector<std::string> lines = {"2 dl milk",         "1 tsk Salt", "3 eggs",
                                            "1 pinch saffron",   "(optional)", "2 leeks",
                                            "1 leek (optional)", "olive oil ", "4 leeks"};
    EXPECT_EQ(newIngredientCandidates(lines, known, CheckVariant::NewRecipe),
              (std::vector<std::string>{"saffron", "leeks", "leeks"}));
    // The download keeps "(optional)" (twice) and skips the empty candidate.
    EXPECT_EQ(newIngredientCandidates(lines, known, CheckVariant::Download),
              (std::vector<std::string>{"saffron", "(optional)", "leeks", "(optional)", "leeks"}));
    // An empty list: every candidate is offered, so a new user's list can grow.
    EXPECT_EQ(newIngredientCandidates({"2 dl milk", "Salt"}, {}, CheckVariant::NewRecipe),
              (std::vector<std::string>{"milk", "salt"}));
    EXPECT_TRUE(newIngredientCandidates({}, known, CheckVariant::NewRecipe).empty());
}

TEST(FridgeList, TheEditorWritesSortedAndTheDialogAppends)
{
    TempDir dir;
    ProgramFolder folder(dir.path());
    // Missing: an empty list, and the first write creates the file.
    EXPECT_TRUE(readFridgeList(folder).value().empty());
    ASSERT_TRUE(appendFridgeWords(folder, {"zucchini", "apple"}));
    EXPECT_EQ(dir.read("sok.txt"), crlf({"zucchini", "apple"}));
    ASSERT_TRUE(appendFridgeWords(folder, {}));
    EXPECT_EQ(dir.read("sok.txt"), crlf({"zucchini", "apple"}));
    auto words = readFridgeList(folder).value();
    words.push_back(fridgeWord("Garlic").value());
    words.push_back(fridgeWord("garlic").value());
    words.push_back(fridgeWord("\xC4gg").value());
    ASSERT_TRUE(writeFridgeList(folder, words));
    EXPECT_EQ(dir.read("sok.txt"), crlf({"apple", "garlic", "garlic", "zucchini", "\xE4gg"}));
    EXPECT_FALSE(dir.exists("sok.tmp"));
    EXPECT_EQ(fridgeWord(" Mixed Case ").value(), " mixed case ");
    EXPECT_FALSE(fridgeWord("two\nlines"));
    // A list that ends without a line end gets one before the appended words.
    dir.write("sok.txt", "apple");
    ASSERT_TRUE(appendFridgeWords(folder, {"pear"}));
    EXPECT_EQ(dir.read("sok.txt"), crlf({"apple", "pear"}));
    EXPECT_EQ(parseFridgeList("a\r\n\r\nb"), (std::vector<std::string>{"a", "b"}));
}

}  // namespace
