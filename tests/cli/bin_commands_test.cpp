// culvora-cli's bin: "deleted" and "undelete".

#include <gtest/gtest.h>

#include <regex>

#include "support/cli_runner.h"
#include "support/records.h"

using culvora::testing::crlf;
using culvora::testing::record;
using culvora::testing::runCli;
using culvora::testing::TempDir;

namespace {

const std::string kSoup = record({.name = "Soup", .ingredients = {"water"}, .steps = {"Boil."}});
const std::string kPie = record({.name = "\xC4ppelpaj", .ingredients = {"apples"}});

struct Kitchen {
    Kitchen()
    {
        dir.write("tavendi.ini", crlf({"BOOK1.TXT", "0"}));
        dir.write("bocker.txt", crlf({"Standard", "BOOK1.TXT", "Baking", "BOOK2.TXT"}));
        dir.write("BOOK1.TXT", kSoup + kPie);
        dir.write("BOOK2.TXT", kPie);
        dir.write("drinkar.txt",
                  crlf({"[NAMN]", "Sour", "whiskey", "[G\xD6RA]", "Shake.", "[GLAS]", "Sour"}));
    }
    TempDir dir;
};

const std::string kStamp = "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d";

TEST(CliBin, DeletedListsNewestFirstAndUndeletePutsBack)
{
    Kitchen k;
    EXPECT_EQ(runCli(k.dir, {"deleted"}).out, "");
    ASSERT_EQ(runCli(k.dir, {"delete", "Soup"}).exitCode, 0);
    ASSERT_EQ(runCli(k.dir, {"delete-drink", "Sour"}).exitCode, 0);
    ASSERT_EQ(runCli(k.dir, {"--book", "BOOK2.TXT", "delete", "Äppelpaj"}).exitCode, 0);
    EXPECT_EQ(runCli(k.dir, {"list"}).out, "Äppelpaj\n");
    EXPECT_EQ(runCli(k.dir, {"drinks"}).out, "");

    auto listed = runCli(k.dir, {"deleted"});
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_TRUE(std::regex_match(listed.out, std::regex("Äppelpaj\tBaking\t" + kStamp +
                                                        "\nSour\tDrinks\t" + kStamp +
                                                        "\nSoup\tStandard\t" + kStamp + "\n")))
        << listed.out;
    auto json = runCli(k.dir, {"deleted", "--json"});
    EXPECT_TRUE(std::regex_search(
        json.out, std::regex("^\\{\"deleted\":\\[\\{\"name\":\"Äppelpaj\",\"kind\":\"recipe\","
                             "\"cookbook\":\"Baking\",\"file\":\"BOOK2.TXT\",\"deleted\":\"" +
                             kStamp + "\"\\}")))
        << json.out;

    // A new "Soup" took the name meanwhile: the deleted one comes back numbered, and says so.
    ASSERT_EQ(runCli(k.dir, {"add"}, "[NAMN]\nSoup\n[PORTIONER]\n2\n[TID]\n5\n[IND]\n[GÖRA]\n[TYP]\n"
                                     "Hot dish\n")
                  .exitCode,
              0);
    auto soup = runCli(k.dir, {"undelete", "Soup"});
    EXPECT_EQ(soup.exitCode, 0) << soup.err;
    EXPECT_EQ(soup.out,
              "Put back \"Soup\" into \"Standard\" as \"Soup (2)\", because the name was taken.\n");
    EXPECT_EQ(runCli(k.dir, {"list"}).out, "Äppelpaj\nSoup\nSoup (2)\n");
    EXPECT_EQ(runCli(k.dir, {"show", "Soup (2)"}).out,
              "[NAMN]\nSoup (2)\n[PORTIONER]\n4\n[TID]\n30\n[IND]\nwater\n[GÖRA]\nBoil.\n[TYP]\n"
              "Hot dish\n");

    auto sour = runCli(k.dir, {"undelete", "Sour"});
    EXPECT_EQ(sour.out, "Put back \"Sour\" into \"Drinks\".\n");
    EXPECT_EQ(runCli(k.dir, {"drink", "Sour"}).out, "whiskey\n[GÖRA]\nShake.\n[GLAS]\nSour\n");

    // Once put back, it has left the bin.
    auto again = runCli(k.dir, {"undelete", "Soup"});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_EQ(again.err, "culvora-cli: Nothing named \"Soup\" is in the bin.\n");
    EXPECT_EQ(runCli(k.dir, {"undelete"}).exitCode, 2);
}

TEST(CliBin, UndeleteTakesTheNewestAndRefusesAnUnlistedCookbook)
{
    Kitchen k;
    // Two deletions of "Äppelpaj": from Standard first, then from Baking.
    ASSERT_EQ(runCli(k.dir, {"delete", "Äppelpaj"}).exitCode, 0);
    ASSERT_EQ(runCli(k.dir, {"--book", "BOOK2.TXT", "delete", "Äppelpaj"}).exitCode, 0);
    ASSERT_EQ(runCli(k.dir, {"delete-book", "Baking"}).exitCode, 0);

    const std::string bin = k.dir.read("papperskorg.txt");
    auto refused = runCli(k.dir, {"undelete", "Äppelpaj"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err,
              "culvora-cli: The recipe \"Äppelpaj\" came from the cookbook \"Baking\" "
              "(BOOK2.TXT), which is no longer in the list of cookbooks, so it cannot go back "
              "there. Add that cookbook again under its file name, then put the recipe back.\n");
    EXPECT_EQ(k.dir.read("papperskorg.txt"), bin);
    EXPECT_EQ(runCli(k.dir, {"list"}).out, "Soup\n");

    // Listed again, the newest goes back to it; the older one is still in the bin.
    ASSERT_EQ(runCli(k.dir, {"new-book", "Baking", "BOOK2.TXT"}).exitCode, 0);
    EXPECT_EQ(runCli(k.dir, {"undelete", "Äppelpaj"}).out,
              "Put back \"Äppelpaj\" into \"Baking\".\n");
    EXPECT_EQ(runCli(k.dir, {"--book", "BOOK2.TXT", "list"}).out, "Äppelpaj\n");
    EXPECT_TRUE(std::regex_match(runCli(k.dir, {"deleted"}).out,
                                 std::regex("Äppelpaj\tStandard\t" + kStamp + "\n")));
}

}  // namespace
