#include <gtest/gtest.h>

#include "core/recipes/printout.h"
#include "support/records.h"
#include "support/temp_dir.h"

using namespace culvora;
using namespace culvora::recipes;
using culvora::testing::cookbook;
using culvora::testing::crlf;
using culvora::testing::TempDir;

namespace {

TEST(Printout, LongInstructionLinesBreakAtABlankFrom108On)
{
    const std::string blankAt120 = std::string(119, 'a') + " " + std::string(30, 'b');
    const std::string noBlank(150, 'c');
    const std::string blankLast = std::string(119, 'd') + " ";
    const std::string early = "an early blank " + std::string(140, 'e');
    struct Case {
        std::string line;
        std::vector<std::size_t> lengths;
    };
    const Case cases[] = {
        {blankAt120, {120, 30}},
        {noBlank, {107, 43}},
        {blankLast, {120, 0}},  // the whole line, then an empty line
        {std::string(107, 'f'), {107}},
        {"", {0}},
        {early, {107, 48}},  // a blank before 108 does not count
        {std::string(400, 'g'), {107, 107, 107, 79}},
    };
    for (const auto& c : cases) {
        std::vector<std::size_t> lengths;
        std::string joined;
        for (const auto& piece : breakInstructionLine(c.line)) {
            lengths.push_back(piece.size());
            joined += piece;
        }
        EXPECT_EQ(lengths, c.lengths) << c.line.size();
        EXPECT_EQ(joined, c.line);
    }
    EXPECT_EQ(breakInstructionLine(blankAt120)[0].back(), ' ');
}

struct Book {
    Book()
    {
        dir.write("BOOK1.TXT", cookbook({
                                   {.name = "Stew",
                                    .servings = "4",
                                    .time = "90",
                                    .ingredients = {"Soup"},
                                    .steps = {"Stir."},
                                    .type = "Hot dish"},
                                   {.name = "Soup",
                                    .servings = "2",
                                    .time = "20",
                                    .ingredients = {"1 l water", "2 carrots"},
                                    .steps = {std::string(130, 'x') + " end", "", "Serve."},
                                    .type = "Hot dish"},
                                   {.name = "Bare",
                                    .servings = "1",
                                    .time = "5",
                                    .ingredients = {},
                                    .steps = {},
                                    .type = "X"},
                               }));
    }
    TempDir dir;
    ProgramFolder folder{dir.path()};
};

TEST(Printout, TheRecipeAndTheGroceryListLineByLine)
{
    Book b;
    // "Soup" is also an ingredient line of Stew: the name line is what counts.
    auto recipeText =
        recipeLines(b.folder, "BOOK1.TXT", {"Soup", "(Serves 2)", "Time to cook: 20 min"});
    ASSERT_TRUE(recipeText) << recipeText.error().message;
    const auto recipe = printJob(*recipeText);
    const std::string indent = "[font Courier New 8.25 b]   ";
    auto heading = [&](const std::string& text) {
        return indent + "[font Times New Roman 12 b]" + text + "\n[font Times New Roman 12]";
    };
    auto body = [&](const std::string& text) {
        return indent + "[font Times New Roman 10]" + text + "\n";
    };
    EXPECT_EQ(recipe.describe(),
              heading("") + heading("") + indent + "[font Times New Roman 24]Soup\n" +
                  heading("(Serves 2)") + heading("Time to cook: 20 min") + heading("") +
                  heading("Ingredients:") + body("1 l water") + body("2 carrots") + heading("") +
                  heading("Instructions:") + body(std::string(130, 'x') + " ") + body("end") +
                  body("") + body("Serve.") + "[end]\n");

    auto groceryText = groceryLines(b.folder, "BOOK1.TXT", "Soup");
    ASSERT_TRUE(groceryText);
    EXPECT_EQ(groceryText->front(), (PrintedLine{LineStyle::Heading, ""}));
    EXPECT_EQ(printJob(*groceryText).describe(),
              heading("") + heading("Grocery list") + heading("Soup") + heading("") +
                  body("1 l water") + body("2 carrots") + "[end]\n");
    // No ingredient lines: the headings only.
    auto bare = groceryLines(b.folder, "BOOK1.TXT", "Bare");
    ASSERT_TRUE(bare);
    EXPECT_EQ(printJob(*bare).describe(),
              heading("") + heading("Grocery list") + heading("Bare") + heading("") + "[end]\n");
}

TEST(Printout, ARecipeGoneSinceItWasShownPrintsNothing)
{
    Book b;
    auto gone = recipeLines(b.folder, "BOOK1.TXT", {"Pie", "(Serves 8)", "Time to cook: 50 min"});
    ASSERT_FALSE(gone);
    EXPECT_EQ(gone.error().code, ErrorCode::NotFound);
    EXPECT_NE(gone.error().message.find("cannot be printed"), std::string::npos);
    EXPECT_FALSE(groceryLines(b.folder, "GONE.TXT", "Soup"));
}

// A recipe of hundreds of thousands of lines (a file of empty lines edited by hand) is refused
// before its printout takes all memory; one just below the limit prints.
TEST(Printout, ARecipeTooLongToPrintIsRefused)
{
    TempDir dir;
    ProgramFolder folder(dir.path());
    auto book = [](std::size_t lines) {
        std::string empty;
        for (std::size_t i = 0; i < lines; ++i) empty += "\r\n";
        return crlf({"[NAMN]", "Long", "[PORTIONER]", "1", "[TID]", "1", "[IND]"}) + empty +
               crlf({"[G\xD6RA]", "Stir.", "[TYP]", "Soups"});
    };
    dir.write("BOOK1.TXT", book(200000));
    for (const auto& lines : {recipeLines(folder, "BOOK1.TXT", {"Long", "", ""}),
                              groceryLines(folder, "BOOK1.TXT", "Long")}) {
        ASSERT_FALSE(lines);
        EXPECT_EQ(lines.error().message,
                  "The recipe \"Long\" is too long to print: it runs to more than 100000 lines.");
    }
    dir.write("BOOK1.TXT", book(90000));
    auto printed = recipeLines(folder, "BOOK1.TXT", {"Long", "", ""});
    ASSERT_TRUE(printed);
    EXPECT_EQ(printed->size(), 7u + 90000u + 3u);
}

}  // namespace
