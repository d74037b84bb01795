// culvora-cli's drinks commands.

#include <gtest/gtest.h>

#include "support/cli_runner.h"

using culvora::testing::crlf;
using culvora::testing::runCli;
using culvora::testing::TempDir;

namespace {

TEST(CliDrinks, ListReadAddEditDelete)
{
    TempDir dir;
    dir.write("drinkar.txt", crlf({"[NAMN]", "Sour", "whiskey", "[G\xD6RA]", "Shake.", "[GLAS]",
                                   "Sour", "[NAMN]", "Irish Coffee", "whiskey", "coffee",
                                   "[G\xD6RA]", "Float cream.", "[GLAS]", "Coffeecup"}));
    EXPECT_EQ(runCli(dir, {"drinks"}).out, "Irish Coffee\nSour\n");
    // "Coffeecup" is the Coffecup glass.
    EXPECT_EQ(runCli(dir, {"drinks", "--glass", "Coffecup"}).out, "Irish Coffee\n");
    EXPECT_EQ(runCli(dir, {"drinks", "--glass", "Sour", "--glass", "Coffecup"}).out,
              "Irish Coffee\nSour\n");
    // A glass the filter menu does not have is refused, as a type the search does not know.
    auto mug = runCli(dir, {"drinks", "--glass", "Mug"});
    EXPECT_EQ(mug.exitCode, 1);
    EXPECT_EQ(mug.err, "culvora-cli: There is no glass called \"Mug\".\n");
    EXPECT_EQ(runCli(dir, {"drink", "Irish Coffee"}).out,
              "whiskey\ncoffee\n[GÖRA]\nFloat cream.\n[GLAS]\nCoffeecup\n");

    const std::string before = dir.read("drinkar.txt");
    // The same body back: byte for byte unchanged, the stored spelling kept.
    EXPECT_EQ(runCli(dir, {"edit-drink", "Irish Coffee", "Coffeecup"},
                     "whiskey\ncoffee\n[GÖRA]\nFloat cream.\n")
                  .exitCode,
              0);
    EXPECT_EQ(dir.read("drinkar.txt"), before);
    EXPECT_EQ(
        runCli(dir, {"add-drink", "Glögg", "Punch"}, "red wine\ncloves\n[GÖRA]\nWarm.\n").exitCode,
        0);
    EXPECT_EQ(runCli(dir, {"drinks"}).out, "Glögg\nIrish Coffee\nSour\n");
    EXPECT_NE(dir.read("drinkar.txt").find(crlf({"[NAMN]", "Gl\xF6gg", "red wine", "cloves"})),
              std::string::npos);
    // Refused: no "[GÖRA]" line, a marker line, a missing drink.
    EXPECT_EQ(runCli(dir, {"add-drink", "Tea", "Punch"}, "tea\n").exitCode, 1);
    EXPECT_EQ(runCli(dir, {"add-drink", "Tea", "Punch"}, "tea\n[GLAS]\n[GÖRA]\n").exitCode, 1);
    EXPECT_EQ(runCli(dir, {"delete-drink", "Tea"}).exitCode, 1);
    EXPECT_EQ(runCli(dir, {"delete-drink", "Sour"}).exitCode, 0);
    EXPECT_EQ(runCli(dir, {"drinks"}).out, "Glögg\nIrish Coffee\n");
}

}  // namespace
