// culvora-cli's printouts and weekly menu.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <set>

#include "support/cli_runner.h"
#include "support/pdf_text.h"
#include "support/pdf_words.h"
#include "support/records.h"

using culvora::testing::cookbook;
using culvora::testing::crlf;
using culvora::testing::readPdf;
using culvora::testing::runCli;
using culvora::testing::TempDir;

namespace {

struct Kitchen {
    Kitchen()
    {
        dir.write("tavendi.ini", crlf({"BOOK1.TXT", "0"}));
        dir.write(
            "BOOK1.TXT",
            cookbook({
                {.name = "Stew",
                 .time = "50",
                 .ingredients = {"500 g beef"},
                 .steps = {"Cook well."}},
                {.name = "Roast", .time = "90", .ingredients = {"1 kg lamb"}},
                {.name = "Hash", .time = "20", .ingredients = {"2 eggs"}},
                {.name = "Salad", .time = "10", .ingredients = {"lettuce"}, .type = "First Course"},
            }));
    }
    TempDir dir;
};

TEST(CliPrint, TheRecipeAndTheGroceryListAsText)
{
    Kitchen k;
    auto recipe = runCli(k.dir, {"print", "Stew"});
    EXPECT_EQ(recipe.exitCode, 0) << recipe.err;
    EXPECT_EQ(recipe.out, "Stew\n(Serves 4)\nTime to cook: 50 min\n\nIngredients:\n500 g beef\n\n"
                          "Instructions:\nCook well.\n");
    EXPECT_EQ(runCli(k.dir, {"print", "--grocery", "Stew"}).out,
              "Grocery list\nStew\n\n500 g beef\n");
    auto gone = runCli(k.dir, {"print", "Pie"});
    EXPECT_EQ(gone.exitCode, 1);

    auto pdf = runCli(k.dir, {"print", "Stew", "--pdf", k.dir.file("stew.pdf").string()});
    EXPECT_EQ(pdf.exitCode, 0) << pdf.err;
    EXPECT_EQ(pdf.out, "");
    const auto stew = readPdf(k.dir.file("stew.pdf"));
    ASSERT_TRUE(stew.ok()) << stew.error;
    EXPECT_EQ(stew.pageCount, 1);
    EXPECT_EQ(stew.words(), "Stew\n(Serves 4)\nTime to cook: 50 min\nIngredients:\n500 g beef\n"
                            "Instructions:\nCook well.\n\f");
    // "-" is standard output: the same document.
    auto piped = runCli(k.dir, {"print", "Stew", "--pdf", "-"});
    EXPECT_EQ(piped.exitCode, 0) << piped.err;
    EXPECT_EQ(piped.out, k.dir.read("stew.pdf"));
}

// The seven days of a week as the text output shows them, in order.
std::vector<std::string> dishesOf(const std::string& week)
{
    std::vector<std::string> dishes;
    std::size_t start = 0;
    for (std::string_view day :
         {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"}) {
        const auto end = week.find('\n', start);
        if (end == std::string::npos) return {};
        const std::string line = week.substr(start, end - start);
        EXPECT_TRUE(line.starts_with(std::string(day) + " ")) << line;
        dishes.push_back(line.substr(11));
        start = end + 1;
    }
    EXPECT_EQ(start, week.size()) << week;
    return dishes;
}

TEST(CliPrint, TheMenuComposesAWeekOfPicksOnePerEvening)
{
    Kitchen k;
    // Who may be a dish, as the window judges the records.
    EXPECT_EQ(runCli(k.dir, {"menu", "--option", "casual", "--candidates"}).out, "Stew\nHash\n");
    EXPECT_EQ(runCli(k.dir, {"menu", "--option", "special", "--candidates"}).out, "Roast\n");
    EXPECT_EQ(runCli(k.dir, {"menu", "--option", "light", "--candidates"}).out, "Salad\n");
    EXPECT_EQ(runCli(k.dir, {"menu", "--option", "casual", "--with", "egg", "--candidates"}).out,
              "Hash\n");
    // One candidate: every evening gets it; none: every evening says so.
    EXPECT_EQ(dishesOf(runCli(k.dir, {"menu", "--option", "special"}).out),
              std::vector<std::string>(7, "Roast"));
    EXPECT_EQ(dishesOf(runCli(k.dir, {"menu", "--option", "casual", "--with", "caviar"}).out),
              std::vector<std::string>(7, "(No suggestion)"));

    // Each evening is a pick of its own: over a few seeds some week mixes the two dishes, the
    // same seed gives the same week again, and two seeds do not all give one week.
    std::set<std::vector<std::string>> weeks;
    bool mixed = false;
    for (int seed = 1; seed <= 8; ++seed) {
        const std::vector<std::string> args = {"menu", "--option", "casual", "--seed",
                                               std::to_string(seed)};
        auto run = runCli(k.dir, args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        const auto week = dishesOf(run.out);
        ASSERT_EQ(week.size(), 7u) << run.out;
        for (const auto& dish : week) EXPECT_TRUE(dish == "Stew" || dish == "Hash") << dish;
        mixed = mixed || std::set<std::string>(week.begin(), week.end()).size() == 2;
        EXPECT_EQ(runCli(k.dir, args).out, run.out) << "seed " << seed;
        weeks.insert(week);
    }
    EXPECT_TRUE(mixed);
    EXPECT_GT(weeks.size(), 1u);
    // Without a seed each run picks anew: eight runs do not all give the same week.
    std::set<std::string> unseeded;
    for (int i = 0; i < 8; ++i) unseeded.insert(runCli(k.dir, {"menu", "--option", "casual"}).out);
    EXPECT_GT(unseeded.size(), 1u);

    EXPECT_EQ(runCli(k.dir, {"menu", "--option", "hearty"}).exitCode, 2);
    EXPECT_EQ(runCli(k.dir, {"menu", "--option", "casual", "--seed", "-1"}).exitCode, 2);
    // The scratch file holds the last ingredient section read.
    EXPECT_EQ(k.dir.read("ind.tmp"), crlf({"lettuce", "[G\xD6RA]"}));
}

TEST(CliPrint, TheMenusPdfHoldsTheWeekItPrints)
{
    Kitchen k;
    auto run = runCli(k.dir, {"menu", "--option", "casual", "--seed", "5", "--pdf",
                              k.dir.file("week.pdf").string()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const auto week = dishesOf(run.out);
    ASSERT_EQ(week.size(), 7u) << run.out;
    const std::string pdf = k.dir.read("week.pdf");
    const auto printed = readPdf(k.dir.file("week.pdf"));
    ASSERT_TRUE(printed.ok()) << printed.error;
    EXPECT_EQ(printed.pageCount, 1);
    // The days in order, each followed by its own dish.
    std::string days = "Menu for the week\n";
    const char* names[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday",
                           "Sunday"};
    for (std::size_t d = 0; d < week.size(); ++d) days += std::string(names[d]) + "\n" + week[d] + "\n";
    EXPECT_NE(printed.words().find(days), std::string::npos) << printed.text;
    // The same seed to standard output: the same document, and no text beside it.
    auto piped = runCli(k.dir, {"menu", "--option", "casual", "--seed", "5", "--pdf", "-"});
    EXPECT_EQ(piped.exitCode, 0) << piped.err;
    EXPECT_EQ(piped.out, pdf);
}

TEST(CliPrint, OutputGoesOnlyWhereNothingOrAPlainFileStands)
{
    Kitchen k;
    TempDir out;
    out.write("kept.txt", "not a page");
    std::filesystem::create_directory(out.file("folder"));
    std::filesystem::create_symlink(out.file("kept.txt"), out.file("link"));
    ASSERT_EQ(::mkfifo(out.file("fifo").c_str(), 0600), 0);
    for (const std::string target : {"folder", "link", "fifo"}) {
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"html", "Stew", out.file(target).string()},
              std::vector<std::string>{"print", "Stew", "--pdf", out.file(target).string()},
              std::vector<std::string>{"menu", "--option", "casual", "--pdf",
                                       out.file(target).string()}}) {
            auto run = runCli(k.dir, args);
            EXPECT_EQ(run.exitCode, 1) << args[0] << " " << target;
            EXPECT_NE(run.err.find("Nothing was written: " + out.file(target).string() + " is a"),
                      std::string::npos)
                << run.err;
            EXPECT_EQ(run.out, "");
        }
    }
    EXPECT_EQ(out.read("kept.txt"), "not a page");
    EXPECT_TRUE(std::filesystem::is_symlink(out.file("link")));
    EXPECT_TRUE(std::filesystem::is_fifo(out.file("fifo")));
    // A plain file is replaced, and a new one made.
    ASSERT_EQ(runCli(k.dir, {"html", "Stew", out.file("kept.txt").string()}).exitCode, 0);
    EXPECT_TRUE(out.read("kept.txt").starts_with("<HTML>"));
    auto page = runCli(k.dir, {"html", "Stew", "-"});
    EXPECT_EQ(page.exitCode, 0) << page.err;
    EXPECT_EQ(page.out, out.read("kept.txt"));
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
        // The words of the same printout listed as text.
        args.erase(args.begin() + 2, args.begin() + 4);
        const std::string texts = runCli(k.dir, args).out;
        EXPECT_EQ(pdf.texts(), culvora::testing::wordsOf(texts));
        for (const auto& word : pdf.words) {
            EXPECT_GE(word.xMin, 56.0) << word.text;
            EXPECT_LE(word.xMax, pdf.pageWidths[0] - 56.0) << word.text;
        }
    }
}

}  // namespace
