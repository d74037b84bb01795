// culvora-cli's printouts and weekly menu.

#include <gtest/gtest.h>

#include "support/cli_runner.h"
#include "support/pdf_words.h"

using culvora::testing::crlf;
using culvora::testing::runCli;
using culvora::testing::TempDir;

namespace {

std::string recipe(const std::string& name, const std::string& time, const std::string& type,
                   const std::string& ingredient)
{
    return crlf({"[NAMN]", name, "[PORTIONER]", "4", "[TID]", time, "[IND]", ingredient,
                 "[G\xD6RA]", "Cook well.", "[TYP]", type});
}

struct Kitchen {
    Kitchen()
    {
        dir.write("tavendi.ini", crlf({"BOOK1.TXT", "0"}));
        dir.write("BOOK1.TXT", recipe("Stew", "50", "Hot dish", "500 g beef") +
                                   recipe("Roast", "90", "Hot dish", "1 kg lamb") +
                                   recipe("Hash", "20", "Hot dish", "2 eggs") +
                                   recipe("Salad", "10", "First Course", "lettuce"));
    }
    TempDir dir;
};

TEST(CliPrint, TheRecipeAndTheGroceryListWithTheirStyles)
{
    Kitchen k;
    auto recipe = runCli(k.dir, {"print", "Stew"});
    EXPECT_EQ(recipe.exitCode, 0) << recipe.err;
    EXPECT_EQ(recipe.out,
              "heading\t\nheading\t\ntitle\tStew\nheading\t(Serves 4)\n"
              "heading\tTime to cook: 50 min\nheading\t\nheading\tIngredients:\n"
              "body\t500 g beef\nheading\t\nheading\tInstructions:\nbody\tCook well.\n");
    EXPECT_EQ(runCli(k.dir, {"print", "--grocery", "Stew"}).out,
              "heading\t\nheading\tGrocery list\nheading\tStew\nheading\t\nbody\t500 g beef\n");
    auto gone = runCli(k.dir, {"print", "Pie"});
    EXPECT_EQ(gone.exitCode, 1);

    auto pdf = runCli(k.dir, {"print", "Stew", "--pdf", k.dir.file("stew.pdf").string()});
    EXPECT_EQ(pdf.exitCode, 0) << pdf.err;
    const std::string bytes = k.dir.read("stew.pdf");
    EXPECT_TRUE(bytes.starts_with("%PDF-"));
    EXPECT_NE(bytes.find("(Stew) Tj"), std::string::npos);
    EXPECT_NE(bytes.find("/Count 1"), std::string::npos);
}

TEST(CliPrint, TheMenuListsCandidatesAndAReproduciblePick)
{
    Kitchen k;
    auto casual = runCli(k.dir, {"menu", "--option", "casual"});
    EXPECT_EQ(casual.exitCode, 0) << casual.err;
    EXPECT_EQ(casual.out, "Stew\nHash\n");
    EXPECT_EQ(runCli(k.dir, {"menu", "--option", "special"}).out, "Roast\n");
    EXPECT_EQ(runCli(k.dir, {"menu", "--option", "light"}).out, "Salad\n");
    EXPECT_EQ(runCli(k.dir, {"menu", "--option", "casual", "--with", "egg"}).out, "Hash\n");
    const auto first = runCli(k.dir, {"menu", "--option", "casual", "--seed", "7"}).out;
    EXPECT_EQ(runCli(k.dir, {"menu", "--option", "casual", "--seed", "7"}).out, first);
    EXPECT_TRUE(first == "Stew\nHash\nDish: Stew\n" || first == "Stew\nHash\nDish: Hash\n")
        << first;
    EXPECT_EQ(runCli(k.dir, {"menu", "--option", "casual", "--with", "caviar", "--seed", "1"}).out,
              "Dish: (No suggestion)\n");
    EXPECT_EQ(runCli(k.dir, {"menu", "--option", "hearty"}).exitCode, 2);
    // The scratch file holds the last ingredient section read.
    EXPECT_EQ(k.dir.read("ind.tmp"), crlf({"lettuce", "[G\xD6RA]"}));
}

TEST(CliPrint, APdfOfLongLinesComesBackWholeInsideTheMargins)
{
    // A long name and a 159-character ingredient line, laid out without a font engine.
    Kitchen k;
    const std::string name = "Grandmother's slow-braised shoulder of lamb with rosemary, "
                             "GARLIC AND ANCHOVIES, on a gratin of potato and celeriac, too";
    const std::string ingredient =
        "1 can (400 g) chickpeas, rinsed and drained, with the liquid from the can kept aside "
        "for whipping into a lighter foam later on, plus 2 tablespoons of olive oil";
    k.dir.write("BOOK1.TXT", crlf({"[NAMN]", name, "[PORTIONER]", "6", "[TID]", "240", "[IND]",
                                   ingredient, "[G\xD6RA]", "Cook well.", "[TYP]", "Hot dish"}));
    for (const bool grocery : {false, true}) {
        const std::string file = k.dir.file(grocery ? "list.pdf" : "lamb.pdf").string();
        std::vector<std::string> args = {"print", name, "--pdf", file};
        if (grocery) args.push_back("--grocery");
        const auto run = runCli(k.dir, args);
        ASSERT_EQ(run.exitCode, 0) << run.err;

        const auto pdf = culvora::testing::readPdfWords(file);
        ASSERT_TRUE(pdf.ok()) << pdf.error;
        EXPECT_EQ(pdf.pageCount(), 1);
        // The words of the same printout listed as text, each line after its style.
        args.erase(args.begin() + 2, args.begin() + 4);
        const std::string listed = runCli(k.dir, args).out;
        std::string texts;
        for (std::size_t at = 0; at < listed.size();) {
            const auto tab = listed.find('\t', at);
            const auto end = listed.find('\n', at);
            texts += listed.substr(tab + 1, end - tab - 1) + "\n";
            at = end + 1;
        }
        EXPECT_EQ(pdf.texts(), culvora::testing::wordsOf(texts));
        for (const auto& word : pdf.words) {
            EXPECT_GE(word.xMin, 56.0) << word.text;
            EXPECT_LE(word.xMax, pdf.pageWidths[0] - 56.0) << word.text;
        }
    }
}

}  // namespace
