// culvora-cli's nutrition commands: one food's values, the find, a dish's totals and the pie's
// slices, over the delivered table or a small one of the test's own.

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "support/cli_runner.h"
#include "support/records.h"

using culvora::testing::food;
using culvora::testing::runCli;
using culvora::testing::TempDir;

namespace {

// kJ, kcal, water, protein, fat, carbohydrates, calcium, iron, vitamin A, vitamin C.
const std::string kTable =
    food("\xC4pple, torkat", {"1000", "243", "31", "0.9", "0.3", "66", "14", "1.4", "0", "3.9"}) +
    food("Wienerbr\xF6"
         "d",
         {"1700", "410", "20", "6", "22", "45", "40", "1", "0", "0"}) +
    food("Apple", {"218", "52", "85", "3", "0.2", "14", "6", "0.5", "0.003", "4.6"}) +
    food("Stock", {"1500", "2.5", "3.5", "0", "0", "0", "0", "0", "0", "0"}) +
    food("Mix", {"500", "120", "60", "20", "10", "10", "0", "0", "0", "0"}) +
    food("Salt", {"0", "0", "0", "0", "0", "0", "0", "0", "0", "0"}) +
    // Nothing known of it: the table keeps unknown values as empty lines.
    food("Tea", {"", "", "", "", "", "", "", "", "", ""}) +
    // Cut short after the water: the values it lacks are empty.
    food("Pear", {"239", "57", "83.71"});

struct Kitchen {
    Kitchen() { dir.write("index.txt", kTable); }
    TempDir dir;
};

// The figure each line of the output ends with, read as a number; a line without one gives
// nothing. What stands before it (a label, blanks, a tab) is the layout's business.
std::vector<double> figures(const std::string& out)
{
    static const std::regex last(R"((-?[0-9]+(\.[0-9]+)?)[^0-9]*$)");
    std::vector<double> found;
    std::size_t start = 0;
    while (start < out.size()) {
        std::size_t end = out.find('\n', start);
        if (end == std::string::npos) end = out.size();
        const std::string line = out.substr(start, end - start);
        std::smatch match;
        if (std::regex_search(line, match, last)) found.push_back(std::stod(match[1]));
        start = end + 1;
    }
    return found;
}

TEST(CliNutrition, TheValuesOfOneFood)
{
    // The delivered table, seeded into an empty data folder.
    TempDir delivered;
    auto butter = runCli(delivered, {"nutrition", "Butter, salted"});
    EXPECT_EQ(butter.exitCode, 0) << butter.err;
    EXPECT_EQ(butter.out, "kJ\t2999.9\nkcal\t717\nWater g\t15.87\nProtein g\t0.85\nFat g\t81.11\n"
                          "Carb.-hydrates g\t0.06\nKalcium mg\t24\nIron mg\t0.02\n"
                          "Vitamine A mg\t0.684\nVitamine C\t0.0\n");

    // The data folder's own table; names come and go as UTF-8, values as stored.
    Kitchen k;
    auto bun = runCli(k.dir, {"nutrition", "Wienerbröd"});
    EXPECT_EQ(bun.exitCode, 0) << bun.err;
    EXPECT_EQ(bun.out, "kJ\t1700\nkcal\t410\nWater g\t20\nProtein g\t6\nFat g\t22\n"
                       "Carb.-hydrates g\t45\nKalcium mg\t40\nIron mg\t1\nVitamine A mg\t0\n"
                       "Vitamine C\t0\n");
    EXPECT_EQ(runCli(k.dir, {"nutrition", "Pear"}).out,
              "kJ\t239\nkcal\t57\nWater g\t83.71\nProtein g\t\nFat g\t\nCarb.-hydrates g\t\n"
              "Kalcium mg\t\nIron mg\t\nVitamine A mg\t\nVitamine C\t\n");

    // The whole name, exactly: neither its beginning nor another case is that food.
    for (const char* name : {"Butter, salted", "Wiener", "apple", "Apple "}) {
        auto missing = runCli(k.dir, {"nutrition", name});
        EXPECT_EQ(missing.exitCode, 1) << name;
        EXPECT_EQ(missing.out, "") << name;
        EXPECT_NE(missing.err.find("Ingrediensen fanns ej"), std::string::npos) << missing.err;
    }
}

TEST(CliNutrition, FindGivesTheFirstFoodThatBeginsWithTheText)
{
    TempDir delivered;
    auto butter = runCli(delivered, {"nutrition-find", "Butter, w"});
    EXPECT_EQ(butter.exitCode, 0) << butter.err;
    EXPECT_EQ(butter.out, "Butter, whipped, with salt\n");

    Kitchen k;
    const std::pair<const char*, const char*> cases[] = {
        {"wiener", "Wienerbröd\n"},
        {"äpple", "Äpple, torkat\n"},
        {"Apple", "Apple\n"},
        {"S", "Stock\n"},
        {"t", "Tea\n"},
    };
    for (const auto& [text, found] : cases) {
        auto run = runCli(k.dir, {"nutrition-find", text});
        EXPECT_EQ(run.exitCode, 0) << text << ": " << run.err;
        EXPECT_EQ(run.out, found) << text;
    }
    auto none = runCli(k.dir, {"nutrition-find", "Banana"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.out, "");
    EXPECT_NE(none.err.find("Ingrediensen fanns ej"), std::string::npos) << none.err;
}

TEST(CliNutrition, KcalAddsTheRoundedShareOfEveryFood)
{
    Kitchen k;
    // 150 g of apple: 327 kJ, 78 kcal, 127.5 g water (to 128), 4.5 g protein (to 4), 0.3 g fat,
    // 21 g carbohydrates, 9 mg calcium, 0.75 mg iron (to 1), 0.0045 mg vitamin A, 6.9 mg
    // vitamin C; 100 g of stock: 1500 kJ, 2.5 kcal (to 2), 3.5 g water (to 4).
    auto dish = runCli(k.dir, {"kcal", "Apple=150", "Stock=100"});
    EXPECT_EQ(dish.exitCode, 0) << dish.err;
    EXPECT_EQ(figures(dish.out), (std::vector<double>{1827, 80, 132, 4, 0, 21, 9, 1, 0, 7}))
        << dish.out;

    // Every line is rounded on its own: two of 50 g give 2 + 2 g protein, one of 100 g 3 g.
    const auto twice = figures(runCli(k.dir, {"kcal", "Apple=50", "Apple=50"}).out);
    const auto once = figures(runCli(k.dir, {"kcal", "Apple=100"}).out);
    ASSERT_EQ(twice.size(), 10u);
    ASSERT_EQ(once.size(), 10u);
    EXPECT_EQ(twice[3], 4);
    EXPECT_EQ(once[3], 3);
    // A name with letters beyond ASCII, as UTF-8.
    EXPECT_EQ(figures(runCli(k.dir, {"kcal", "Äpple, torkat=200"}).out),
              (std::vector<double>{2000, 486, 62, 2, 1, 132, 28, 3, 0, 8}));

    // An argument without "=GRAMS", or none at all, is a usage error.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"kcal"}, std::vector<std::string>{"kcal", "Apple"},
          std::vector<std::string>{"kcal", "Apple=100", "Stock"}}) {
        auto refused = runCli(k.dir, args);
        EXPECT_EQ(refused.exitCode, 2) << args.back();
        EXPECT_EQ(refused.out, "") << args.back();
        EXPECT_NE(refused.err.find("kcal NAME=GRAMS"), std::string::npos) << refused.err;
    }
}

TEST(CliNutrition, PieGivesTheSliceBoundaries)
{
    Kitchen k;
    // 60 % water, 20 % protein, 10 % fat, 10 % carbohydrates, clockwise from the top.
    auto mix = runCli(k.dir, {"pie", "Mix"});
    EXPECT_EQ(mix.exitCode, 0) << mix.err;
    const std::vector<double> angles = figures(mix.out);
    const double pi = 3.1415;
    const double expected[] = {-0.5 * pi, 0.7 * pi, 1.1 * pi, 1.3 * pi, 1.5 * pi};
    ASSERT_EQ(angles.size(), 5u) << mix.out;
    for (std::size_t i = 0; i < 5; ++i) EXPECT_NEAR(angles[i], expected[i], 1e-4) << i;

    // Nothing to share out: no slices, and no figures made up for them.
    for (const char* name : {"Salt", "Tea"}) {
        auto none = runCli(k.dir, {"pie", name});
        EXPECT_EQ(none.exitCode, 0) << name << ": " << none.err;
        EXPECT_NE(none.out.find("No data"), std::string::npos) << none.out;
        EXPECT_TRUE(figures(none.out).empty()) << none.out;
    }

    auto missing = runCli(k.dir, {"pie", "Banana"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("Ingrediensen fanns ej"), std::string::npos) << missing.err;
}

TEST(CliNutrition, UsageErrors)
{
    TempDir dir;
    for (const std::vector<std::string>& args : {
             std::vector<std::string>{"nutrition"},
             std::vector<std::string>{"nutrition", "Apple", "Stock"},
             std::vector<std::string>{"nutrition-find"},
             std::vector<std::string>{"pie"},
             std::vector<std::string>{"pie", "Apple", "Stock"},
         }) {
        auto run = runCli(dir, args);
        EXPECT_EQ(run.exitCode, 2) << args.front() << " " << args.size();
        EXPECT_NE(run.err.find("usage:"), std::string::npos) << run.err;
    }
}

}  // namespace
