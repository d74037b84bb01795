// culvora-cli's nutrition commands: the table's values, the find, the calculator's totals and
// the pie chart's shares.

#include <gtest/gtest.h>

#include "support/cli_runner.h"

using culvora::testing::crlf;
using culvora::testing::runCli;
using culvora::testing::TempDir;

namespace {

struct Table {
    Table()
    {
        dir.write("index.txt", crlf({"Milk, whole", "270",  "64",   "87.5", "3.4", "3.6",
                                     "4.8",         "120",  "0.02", "0.03", "1",  //
                                     "Sugar",       "1700", "400",  "0",    "0",   "0",
                                     "100",         "1",    "0.1",  "0",    "0",  //
                                     "Salt",        "0",    "0",    "0",    "0",   "0",
                                     "0",           "24",   "0.3",  "0",    "0",  //
                                     "Sm\xF6r",     "3000", "717",  "16",   "0.9", "81",
                                     "0.1",         "24",   "0",    "0.7",  "0"}));
    }
    TempDir dir;
};

TEST(CliNutrition, TheTablesValuesAndTheFind)
{
    Table t;
    auto milk = runCli(t.dir, {"nutrition", "Milk, whole"});
    EXPECT_EQ(milk.exitCode, 0) << milk.err;
    EXPECT_EQ(milk.out, "kJ\t270\nkcal\t64\nWater g\t87.5\nProtein g\t3.4\nFat g\t3.6\n"
                        "Carb.-hydrates g\t4.8\nKalcium mg\t120\nIron mg\t0.02\n"
                        "Vitamine A mg\t0.03\nVitamine C\t1\n");
    auto missing = runCli(t.dir, {"nutrition", "Milk"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "culvora-cli: Ingrediensen fanns ej\n");

    // The find: the first name that begins with the text, in any case.
    EXPECT_EQ(runCli(t.dir, {"nutrition-find", "SU"}).out, "Sugar\n");
    EXPECT_EQ(runCli(t.dir, {"nutrition-find", "sm\xC3\xB6"}).out, "Sm\xC3\xB6r\n");
    EXPECT_EQ(runCli(t.dir, {"nutrition-find", "whole"}).exitCode, 1);
}

TEST(CliNutrition, KcalAddsEachLinesRoundedShareAndLabelsTheTotals)
{
    Table t;
    // 150 g of milk: 131.25 g water gives 131, 1.5 mg vitamin C gives 2 (halves to the even
    // neighbour); 10 g of sugar adds 10 g of carbohydrates and 0.1 mg calcium, which rounds
    // to nothing.
    auto dish = runCli(t.dir, {"kcal", "Milk, whole=150", "Sugar=10"});
    EXPECT_EQ(dish.exitCode, 0) << dish.err;
    EXPECT_EQ(dish.out, "Energy         575 kJ\n"
                        "Energy         136 kcal\n"
                        "Water          131 g\n"
                        "Protein          5 g\n"
                        "Fat              5 g\n"
                        "Carbohydrates   17 g\n"
                        "Calcium        180 mg\n"
                        "Iron             0 mg\n"
                        "Vitamin A        0 mg\n"
                        "Vitamin C        2 mg\n");
    // Each line rounds on its own: two lines of 50 g give 1.7 g of protein each, rounded 2 + 2,
    // where one line of 100 g gives 3.4, rounded 3.
    auto halves = runCli(t.dir, {"kcal", "Milk, whole=50", "Milk, whole=50"});
    auto whole = runCli(t.dir, {"kcal", "Milk, whole=100"});
    EXPECT_NE(halves.out.find("Protein          4 g\n"), std::string::npos) << halves.out;
    EXPECT_NE(whole.out.find("Protein          3 g\n"), std::string::npos) << whole.out;
    EXPECT_NE(runCli(t.dir, {"kcal", "Sm\xC3\xB6r=2.5"}).out.find("Energy         75 kJ\n"),
              std::string::npos);
    // Nothing ends with a blank.
    EXPECT_EQ(dish.out.find(" \n"), std::string::npos);

    // A food the table lacks is refused, not counted as nothing; an amount with a letter is
    // not an amount.
    auto butter = runCli(t.dir, {"kcal", "Sugar=10", "Butter=100"});
    EXPECT_EQ(butter.exitCode, 1);
    EXPECT_EQ(butter.err, "culvora-cli: The nutrition table has no ingredient \"Butter\".\n");
    EXPECT_EQ(butter.out, "");
    for (const std::string amount : {"Sugar=10g", "Sugar=", "=10", "Sugar", "Sugar=1.2.3"}) {
        EXPECT_EQ(runCli(t.dir, {"kcal", amount}).exitCode, 2) << amount;
    }
}

TEST(CliNutrition, PieGivesEachSliceItsShareAndGrams)
{
    Table t;
    auto milk = runCli(t.dir, {"pie", "Milk, whole"});
    EXPECT_EQ(milk.exitCode, 0) << milk.err;
    // 87.5 + 3.4 + 3.6 + 4.8 = 99.3 g of the 100.
    EXPECT_EQ(milk.out, "Water           88.1 %  87.5 g\n"
                        "Protein          3.4 %   3.4 g\n"
                        "Fat              3.6 %   3.6 g\n"
                        "Carbohydrates    4.8 %   4.8 g\n");
    EXPECT_EQ(runCli(t.dir, {"pie", "Sugar"}).out, "Water            0.0 %    0 g\n"
                                                   "Protein          0.0 %    0 g\n"
                                                   "Fat              0.0 %    0 g\n"
                                                   "Carbohydrates  100.0 %  100 g\n");
    // Nothing to share out.
    EXPECT_EQ(runCli(t.dir, {"pie", "Salt"}).out, "No data\n");
    EXPECT_EQ(runCli(t.dir, {"pie", "Pepper"}).exitCode, 1);
}

}  // namespace
