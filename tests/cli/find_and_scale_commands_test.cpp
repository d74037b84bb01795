// culvora-cli find (the browser's find field), and view and print --servings (the viewer's
// servings box and the printouts it scales).

#include <gtest/gtest.h>

#include "support/cli_runner.h"
#include "support/pdf_text.h"
#include "support/records.h"
#include "support/temp_dir.h"

namespace culvora::testing {
namespace {

class FindAndScale : public ::testing::Test {
protected:
    void SetUp() override
    {
        data.write("tavendi.ini", crlf({"BOOK1.TXT", "0"}));
        data.write("bocker.txt", crlf({"Standard", "BOOK1.TXT", "Baking", "BOOK2.TXT"}));
        data.write("BOOK1.TXT", cookbook({
                                    {.name = "Waffles",
                                     .servings = "6",
                                     .ingredients = {"3 eggs", "", "5 dl milk", "salt"},
                                     .steps = {"Whisk 3 eggs.", "Bake."}},
                                    {.name = "Cr\xE8me br\xFBl\xE9""e",
                                     .servings = "4",
                                     .ingredients = {"1 1/2 dl gr\xE4""dde", "\xBD vaniljst\xE5ng"}},
                                    {.name = "\xC4ppelkaka",
                                     .servings = "many",
                                     .ingredients = {"4 \xE4pplen"}},
                                    {.name = "Apple pie", .ingredients = {"3 apples"}},
                                }));
        data.write("BOOK2.TXT", "");
    }

    TempDir data;
};

TEST_F(FindAndScale, FindListsTheHitsOneALineInTheBrowsersOrder)
{
    struct Case {
        std::vector<std::string> args;
        std::string out;
    };
    const Case cases[] = {
        {{"find", "E"}, "Apple pie\nCr\xC3\xA8me br\xC3\xBBl\xC3\xA9""e\nWaffles\n\xC3\x84ppelkaka\n"},
        {{"find", "CREME"}, "Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9""e\n"},
        {{"find", "vaff"}, "Waffles\n"},                 // W and V are one letter
        {{"find", "app"}, "Apple pie\n"},                // Ä is a letter of its own
        {{"find", "\xC3\xA4pp"}, "\xC3\x84ppelkaka\n"},
        {{"find", "milk"}, ""},                          // names only, and no hit is no failure
        {{"find", "milk", "--everywhere"}, "Waffles\n"},
        {{"find", "--everywhere", "GR\xC3\x84""DDE"}, "Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9""e\n"},
        {{"find", "apple", "--everywhere"}, "Apple pie\n"},
        {{"find", "apple", "--json"}, R"({"cookbook":"BOOK1.TXT","recipes":["Apple pie"],"count":1})" "\n"},
        {{"--book", "BOOK2.TXT", "find", "a"}, ""},
    };
    for (const auto& c : cases) {
        auto run = runCli(data, c.args);
        EXPECT_EQ(run.exitCode, 0) << c.args[1] << ": " << run.err;
        EXPECT_EQ(run.out, c.out) << c.args[1];
    }
    auto missing = runCli(data, {"--book", "BOOK9.TXT", "find", "a"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err, "");
    EXPECT_EQ(runCli(data, {"find"}).exitCode, 2);
}

TEST_F(FindAndScale, ViewShowsTheRecipeForOtherServingsAndLeavesTheFileAlone)
{
    const std::string before = data.read("BOOK1.TXT");
    auto run = runCli(data, {"view", "Waffles", "--servings", "3"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Waffles\n(Serves 3)\nTime to cook: 30 min\n\n1 1/2 eggs\n\n2 1/2 dl milk\n"
                       "salt\n\nWhisk 3 eggs.\nBake.\n");
    auto more = runCli(data, {"view", "Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9""e", "--servings", "6"});
    EXPECT_EQ(more.exitCode, 0) << more.err;
    EXPECT_NE(more.out.find("(Serves 6)\n"), std::string::npos) << more.out;
    EXPECT_NE(more.out.find("\n2 1/4 dl gr\xC3\xA4""dde\n3/4 vaniljst\xC3\xA5ng\n"), std::string::npos)
        << more.out;
    // Its own servings show the recipe as it is.
    EXPECT_EQ(runCli(data, {"view", "Waffles", "--servings", "6"}).out,
              runCli(data, {"view", "Waffles"}).out);
    EXPECT_EQ(data.read("BOOK1.TXT"), before);
}

TEST_F(FindAndScale, ViewRefusesServingsItCannotScaleTo)
{
    auto many = runCli(data, {"view", "\xC3\x84ppelkaka", "--servings", "4"});
    EXPECT_EQ(many.exitCode, 1);
    EXPECT_NE(many.err.find("\"many\""), std::string::npos) << many.err;
    EXPECT_EQ(many.out, "");
    EXPECT_EQ(runCli(data, {"view", "Nothing", "--servings", "4"}).exitCode, 1);
    for (const char* bad : {"0", "-2", "1000", "2.5", "four", ""}) {
        auto run = runCli(data, {"view", "Waffles", "--servings", bad});
        EXPECT_EQ(run.exitCode, 2) << bad;
        EXPECT_EQ(run.out, "") << bad;
    }
}

TEST_F(FindAndScale, PrintScalesTheRecipeAndTheGroceryList)
{
    const std::string before = data.read("BOOK1.TXT");
    auto recipe = runCli(data, {"print", "Waffles", "--servings", "3"});
    EXPECT_EQ(recipe.exitCode, 0) << recipe.err;
    EXPECT_EQ(recipe.out, "Waffles\n(Serves 3)\nTime to cook: 30 min\n\nIngredients:\n1 1/2 eggs\n\n"
                          "2 1/2 dl milk\nsalt\n\nInstructions:\nWhisk 3 eggs.\nBake.\n");
    auto grocery = runCli(data, {"print", "Waffles", "--grocery", "--servings", "12"});
    EXPECT_EQ(grocery.exitCode, 0) << grocery.err;
    EXPECT_EQ(grocery.out, "Grocery list\nWaffles\n(Serves 12)\n\n6 eggs\n\n10 dl milk\nsalt\n");

    auto pdf = runCli(data, {"print", "Waffles", "--servings", "3", "--pdf",
                             data.file("waffles.pdf").string()});
    EXPECT_EQ(pdf.exitCode, 0) << pdf.err;
    const auto read = readPdf(data.file("waffles.pdf"));
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_NE(read.words().find("(Serves 3)\n"), std::string::npos) << read.words();
    EXPECT_NE(read.words().find("\n1 1/2 eggs\n2 1/2 dl milk\n"), std::string::npos)
        << read.words();

    // Servings that are no number: refused, nothing printed.
    auto many = runCli(data, {"print", "\xC3\x84ppelkaka", "--servings", "2"});
    EXPECT_EQ(many.exitCode, 1);
    EXPECT_EQ(many.out, "");
    EXPECT_EQ(runCli(data, {"print", "Waffles", "--servings", "0"}).exitCode, 2);
    EXPECT_EQ(data.read("BOOK1.TXT"), before);
}

}  // namespace
}  // namespace culvora::testing
