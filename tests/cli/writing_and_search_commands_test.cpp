// culvora-cli's commands for editing, pictures, the Fridge list and the two searches.

#include <gtest/gtest.h>

#include <filesystem>

#include "support/cli_runner.h"
#include "support/records.h"

using culvora::testing::crlf;
using culvora::testing::record;
using culvora::testing::runCli;
using culvora::testing::TempDir;

namespace {

const std::string kSoup = record({.name = "Soup",
                                  .servings = "4",
                                  .time = "30 min",
                                  .ingredients = {"1 l water", "2 carrots"},
                                  .steps = {"Boil."},
                                  .type = "Hot dish"});
const std::string kPie = record({.name = "\xC4ppelpaj",
                                 .servings = "8",
                                 .time = "50",
                                 .ingredients = {"6 apples", "2 dl flour"},
                                 .steps = {"Bake."},
                                 .type = "Desserts"});

struct Kitchen {
    Kitchen()
    {
        dir.write("tavendi.ini", crlf({"BOOK1.TXT", "0"}));
        dir.write("bocker.txt", crlf({"Standard", "BOOK1.TXT"}));
        dir.write("BOOK1.TXT", kSoup + kPie);
        dir.write("sok.txt", crlf({"apples", "carrots", "flour", "water"}));
    }
    TempDir dir;
};

TEST(CliWriting, EditReplacesTheRecordAsTheEditorSaves)
{
    Kitchen k;
    // The same record back: the cookbook is unchanged to the byte.
    auto same = runCli(k.dir, {"edit", "Soup"},
                       "[NAMN]\nSoup\n[PORTIONER]\n4\n[TID]\n30 min\n[IND]\n1 l water\n2 carrots\n"
                       "[G\xC3\x96RA]\nBoil.\n[TYP]\nHot dish\n");
    EXPECT_EQ(same.exitCode, 0) << same.err;
    EXPECT_EQ(k.dir.read("BOOK1.TXT"), kSoup + kPie);

    auto changed = runCli(k.dir, {"edit", "Äppelpaj"},
                          "[NAMN]\nÄppelpaj\n[PORTIONER]\n6\n[TID]\n55\n[IND]\n5 apples\n"
                          "[G\xC3\x96RA]\nBake well.\n[TYP]\nDesserts\n");
    EXPECT_EQ(changed.exitCode, 0) << changed.err;
    EXPECT_EQ(k.dir.read("BOOK1.TXT"), kSoup + record({.name = "\xC4ppelpaj",
                                                       .servings = "6",
                                                       .time = "55",
                                                       .ingredients = {"5 apples"},
                                                       .steps = {"Bake well."},
                                                       .type = "Desserts"}));

    // Refused, with nothing written: another name, a missing recipe, a marker line.
    const std::string before = k.dir.read("BOOK1.TXT");
    EXPECT_EQ(runCli(k.dir, {"edit", "Soup"}, "[NAMN]\nStew\n[PORTIONER]\n1\n").exitCode, 1);
    EXPECT_EQ(runCli(k.dir, {"edit", "Stew"}, "[NAMN]\nStew\n[PORTIONER]\n1\n").exitCode, 1);
    auto marker = runCli(k.dir, {"edit", "Soup"},
                         "[NAMN]\nSoup\n[PORTIONER]\n4\n[TID]\n30\n[IND]\n[optional] salt\n"
                         "[G\xC3\x96RA]\n[TYP]\nHot dish\n");
    EXPECT_EQ(marker.exitCode, 1);
    EXPECT_NE(marker.err.find("[optional] salt"), std::string::npos) << marker.err;
    EXPECT_EQ(k.dir.read("BOOK1.TXT"), before);
}

TEST(CliWriting, PicturesAndTheFridgeList)
{
    Kitchen k;
    TempDir pictures;
    pictures.write("soup.jpg", "JPEG");
    pictures.write("Soppa på bild.jpg", "JPEG");
    auto none = runCli(k.dir, {"picture", "Soup"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_NE(none.err.find("Sorry, no picture available"), std::string::npos);
    EXPECT_EQ(runCli(k.dir, {"set-picture", "Soup", pictures.file("soup.jpg").string()}).exitCode,
              0);
    // A relative path is stored as the full path it names.
    const std::string relative =
        std::filesystem::relative(pictures.file("Soppa på bild.jpg")).string();
    auto set = runCli(k.dir, {"set-picture", "Soup", relative});
    EXPECT_EQ(set.exitCode, 0) << set.err;
    const std::string full = pictures.file("Soppa på bild.jpg").string();
    auto shown = runCli(k.dir, {"picture", "Soup"});
    EXPECT_EQ(shown.out, full + "\n");
    const std::string stored = k.dir.read("bilder.txt");
    EXPECT_TRUE(stored.starts_with("Soup\r\n")) << stored;
    // A recipe the cookbook does not hold, or a picture that is not there: nothing is written.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"set-picture", "Nope", pictures.file("soup.jpg").string()},
          std::vector<std::string>{"set-picture", "Soup", "/nonexistent.png"},
          std::vector<std::string>{"set-picture", "Soup", pictures.path().string()}}) {
        auto refused = runCli(k.dir, args);
        EXPECT_EQ(refused.exitCode, 1) << args[1] << " " << args[2];
        EXPECT_FALSE(refused.err.empty());
    }
    EXPECT_EQ(k.dir.read("bilder.txt"), stored);

    EXPECT_EQ(runCli(k.dir, {"add-word", "Garlic"}).exitCode, 0);
    EXPECT_EQ(runCli(k.dir, {"add-word", "Äpple"}).exitCode, 0);
    EXPECT_EQ(runCli(k.dir, {"delete-word", "water"}).exitCode, 0);
    EXPECT_EQ(runCli(k.dir, {"delete-word", "water"}).exitCode, 1);
    EXPECT_EQ(runCli(k.dir, {"words"}).out, "apples\ncarrots\nflour\ngarlic\näpple\n");

    // The new-ingredient check: known words (any case) are not offered; the download keeps
    // "(optional)".
    const std::string lines = "2 dl milk\n1 tsk Flour\n\n3 eggs (large)\n1 leek (optional)\n";
    EXPECT_EQ(runCli(k.dir, {"new-words"}, lines).out, "milk\n");
    EXPECT_EQ(runCli(k.dir, {"new-words", "--download"}, lines).out, "milk\n(large)\n(optional)\n");
}

TEST(CliSearch, TimeTypeAndWordsAndTheFridge)
{
    Kitchen k;
    auto all = runCli(k.dir, {"search", "--type", "Desserts", "--max-time", "50"});
    EXPECT_EQ(all.exitCode, 0) << all.err;
    EXPECT_EQ(all.out, "Äppelpaj\n1 hits\n");
    EXPECT_EQ(runCli(k.dir, {"search", "--type", "Desserts", "--max-time", "40"}).out, "0 hits\n");
    EXPECT_EQ(runCli(k.dir, {"search", "--type", "Hot dish", "--max-time", "30", "--with", "water",
                             "--with", "carrot"})
                  .out,
              "Soup\n1 hits\n");
    EXPECT_EQ(runCli(k.dir, {"search", "--type", "Desserts"}).exitCode, 2);

    EXPECT_EQ(runCli(k.dir, {"fridge", "apples", "flour"}).out,
              "Äppelpaj\nI have found 1 recipes...\n");
    EXPECT_EQ(runCli(k.dir, {"fridge", "Apples", "FLOUR", "carrots", "water"}).out,
              "Soup\nÄppelpaj\nI have found 2 recipes...\n");
    EXPECT_EQ(runCli(k.dir, {"fridge", "apples"}).out, "I have found 0 recipes...\n");
    EXPECT_EQ(runCli(k.dir, {"fridge", "caviar"}).exitCode, 1);
    // Another cookbook through --book.
    k.dir.write("BOOK2.TXT", kSoup);
    EXPECT_EQ(runCli(k.dir, {"--book", "BOOK2.TXT", "fridge", "carrots", "water"}).out,
              "Soup\nI have found 1 recipes...\n");
    // A record cut short by a hand edit: the "[NAMN]" after it starts the next record for the
    // list and both searches alike, and the cut one counts with what it has.
    k.dir.write("BOOK3.TXT",
                crlf({"[NAMN]", "Cut", "[PORTIONER]", "4", "[TID]", "20", "[IND]", "6 apples"}) +
                    kPie);
    EXPECT_EQ(runCli(k.dir, {"--book", "BOOK3.TXT", "list"}).out, "Cut\nÄppelpaj\n");
    EXPECT_EQ(runCli(k.dir, {"--book", "BOOK3.TXT", "search", "--type", "Desserts", "--max-time",
                             "300", "--with", "apple"})
                  .out,
              "Äppelpaj\n1 hits\n");
    EXPECT_EQ(runCli(k.dir, {"--book", "BOOK3.TXT", "fridge", "apples", "flour"}).out,
              "Cut\nÄppelpaj\nI have found 2 recipes...\n");
}

}  // namespace
