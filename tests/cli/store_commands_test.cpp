#include <gtest/gtest.h>

#include "support/cli_runner.h"
#include "support/temp_dir.h"

namespace culvora::testing {
namespace {

class StoreCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        data.write("tavendi.ini", crlf({"BOOK2.TXT", "1"}));
        data.write("bocker.txt", crlf({"Standard", "BOOK1.TXT", "\xC5rets fest", "BOOK2.TXT",
                                       "Bakning", "BOOK3.TXT"}));
        data.write("BOOK1.TXT", "");
        data.write("BOOK2.TXT", crlf({"[NAMN]", "Glögg"}));
        data.write("BOOK3.TXT", "");
        data.write("typer.txt",
                   crlf({"Accessories", "Desserts", "First Course", "Hot dish", "Imported"}));
    }

    TempDir data;
};

TEST_F(StoreCommands, BooksListsTitlesAndFilesInTheProgramsOrderAndMarksTheCurrentOne)
{
    auto run = runCli(data, {"books"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
              "Bakning\tBOOK3.TXT\nStandard\tBOOK1.TXT\n\xC3\x85rets fest\tBOOK2.TXT\t(current)\n");
    // --book names the cookbook the commands work on, so it is the current one for them.
    EXPECT_EQ(runCli(data, {"--book", "BOOK3.TXT", "books"}).out,
              "Bakning\tBOOK3.TXT\t(current)\nStandard\tBOOK1.TXT\n\xC3\x85rets fest\tBOOK2.TXT\n");
}

TEST_F(StoreCommands, UseChangesTheCurrentBookAndKeepsTheTipsLine)
{
    auto run = runCli(data, {"use", "Bakning"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(data.read("tavendi.ini"), crlf({"BOOK3.TXT", "1"}));

    auto missing = runCli(data, {"use", "BOOK1.TXT"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "culvora-cli: There is no cookbook called \"BOOK1.TXT\".\n");
    EXPECT_EQ(data.read("tavendi.ini"), crlf({"BOOK3.TXT", "1"}));
    // A title whose file is gone is refused as the program refuses it at start-up.
    ASSERT_EQ(runCli(data, {"use", "Standard"}).exitCode, 0);
    std::filesystem::remove(data.file("BOOK3.TXT"));
    auto gone = runCli(data, {"use", "Bakning"});
    EXPECT_EQ(gone.exitCode, 1);
    EXPECT_NE(gone.err.find("\"BOOK3.TXT\" could not be found"), std::string::npos) << gone.err;
    EXPECT_EQ(data.read("tavendi.ini"), crlf({"BOOK1.TXT", "1"}));
}

TEST_F(StoreCommands, NewBookAddsAnEmptyCookbookOrSaysWhyNot)
{
    auto run = runCli(data, {"new-book", "Fisk", "BOOK4.TXT"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(data.read("bocker.txt"), crlf({"Standard", "BOOK1.TXT", "\xC5rets fest", "BOOK2.TXT",
                                             "Bakning", "BOOK3.TXT", "Fisk", "BOOK4.TXT"}));
    EXPECT_TRUE(data.exists("BOOK4.TXT"));

    const std::string before = data.read("bocker.txt");
    auto exists = runCli(data, {"new-book", "Kött", "BOOK2.TXT"});
    EXPECT_EQ(exists.exitCode, 1);
    EXPECT_EQ(exists.err, "culvora-cli: This file already exists.\n");
    auto path = runCli(data, {"new-book", "Kött", "../BOOK9.TXT"});
    EXPECT_EQ(path.exitCode, 1);
    EXPECT_NE(path.err.find("is not a plain file name"), std::string::npos) << path.err;
    EXPECT_EQ(data.read("bocker.txt"), before);
}

TEST_F(StoreCommands, DeleteBookRefusesLikeTheDialog)
{
    struct Case {
        std::string bocker;
        std::string title;
        std::string err;
    };
    for (const auto& c : std::vector<Case>{
             {crlf({"Standard", "BOOK1.TXT", "Bakning", "BOOK3.TXT"}), "standard",
              "culvora-cli: There is no cookbook called \"standard\".\n"},
             {crlf({"Standard", "BOOK1.TXT", "Bakning", "BOOK3.TXT"}), "Standard",
              "culvora-cli: Du får inte ta bort standardboken.\n"},
             {crlf({"STANDARD", "BOOK1.TXT", "Bakning", "BOOK3.TXT"}), "STANDARD",
              "culvora-cli: Du får inte ta bort standardboken.\n"},
             {crlf({"Bakning", "BOOK3.TXT"}), "Bakning",
              "culvora-cli: One cookbook must remain.\n"},
         }) {
        data.write("bocker.txt", c.bocker);
        auto run = runCli(data, {"delete-book", c.title});
        EXPECT_EQ(run.exitCode, 1) << c.title;
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(data.read("bocker.txt"), c.bocker);
        EXPECT_TRUE(data.exists("BOOK3.TXT"));
    }
}

TEST_F(StoreCommands, DeletingTheCurrentBookFallsBackOnTheStandardBook)
{
    auto other = runCli(data, {"delete-book", "Bakning"});
    EXPECT_EQ(other.exitCode, 0) << other.err;
    EXPECT_EQ(other.out, "");
    EXPECT_FALSE(data.exists("BOOK3.TXT"));
    EXPECT_EQ(data.read("tavendi.ini"), crlf({"BOOK2.TXT", "1"}));

    auto current = runCli(data, {"delete-book", "Årets fest"});
    EXPECT_EQ(current.exitCode, 0) << current.err;
    EXPECT_EQ(current.out, "The current cookbook is now \"Standard\".\n");
    EXPECT_EQ(data.read("bocker.txt"), crlf({"Standard", "BOOK1.TXT"}));
    EXPECT_FALSE(data.exists("BOOK2.TXT"));
    EXPECT_EQ(data.read("tavendi.ini"), crlf({"BOOK1.TXT", "1"}));
}

TEST_F(StoreCommands, TypesAreListedAddedAndDeleted)
{
    auto added = runCli(data, {"add-type", "Soppor"});
    EXPECT_EQ(added.exitCode, 0) << added.err;
    auto again = runCli(data, {"add-type", "Soppor"});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_EQ(again.err, "culvora-cli: The type \"Soppor\" already exists.\n");

    auto list = runCli(data, {"types"});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_EQ(list.out, "Accessories\nDesserts\nFirst Course\nHot dish\nImported\nSoppor\n");

    auto original = runCli(data, {"delete-type", "Hot dish"});
    EXPECT_EQ(original.exitCode, 1);
    EXPECT_EQ(original.err, "culvora-cli: Cannot delete the original types.\n");
    auto removed = runCli(data, {"delete-type", "Soppor"});
    EXPECT_EQ(removed.exitCode, 0) << removed.err;
    EXPECT_EQ(data.read("typer.txt"),
              crlf({"Accessories", "Desserts", "First Course", "Hot dish", "Imported"}));
}

TEST_F(StoreCommands, TypesOfAnEmptyFileAreEmptyAndAddingRestoresTheOriginals)
{
    data.write("typer.txt", "");
    auto list = runCli(data, {"types"});
    EXPECT_EQ(list.exitCode, 0) << list.err;
    EXPECT_EQ(list.out, "");
    EXPECT_EQ(runCli(data, {"add-type", "Bröd"}).exitCode, 0);
    EXPECT_EQ(data.read("typer.txt"), crlf({"Accessories",
                                            "Br\xF6"
                                            "d",
                                            "Desserts", "First Course", "Hot dish", "Imported"}));
}

TEST(CliDataFolder, AMissingFolderIsAnErrorAndAnEmptyOneIsSeeded)
{
    TempDir parent;
    auto run = runCli(parent.file("nowhere"), {"list"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("does not exist"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(parent.file("nowhere")));

    // An empty folder gets the delivered files, as the program gives them, and the current
    // cookbook is the one the program would open.
    TempDir empty;
    auto books = runCli(empty, {"books"});
    EXPECT_EQ(books.exitCode, 0) << books.err;
    EXPECT_NE(books.out.find("Standard\tBOOK1.TXT"), std::string::npos) << books.out;
    EXPECT_TRUE(empty.exists("typer.txt"));
    EXPECT_TRUE(empty.exists("tavendi.ini"));
    auto list = runCli(empty, {"list"});
    EXPECT_EQ(list.exitCode, 0) << list.err;
    EXPECT_FALSE(list.out.empty());
}

TEST(CliDataFolder, BookNamesThatLeaveTheFolderAreRefused)
{
    TempDir data;
    TempDir outside;
    outside.write("list.txt", "Standard\r\nBOOK1.TXT\r\n");
    const std::string relative = "../" + outside.path().filename().string() + "/list.txt";
    const std::string recipe =
        "[NAMN]\nTea\n[PORTIONER]\n1\n[TID]\n5\n[IND]\n[G\xC3\x96RA]\n[TYP]\nX\n";
    for (const std::string& book :
         {relative, outside.file("list.txt").string(), std::string("typer.txt")}) {
        auto run = runCli(data, {"--book", book, "add"}, recipe);
        EXPECT_NE(run.exitCode, 0) << book;
        EXPECT_FALSE(run.err.empty());
    }
    // The same through line 1 of tavendi.ini.
    data.write("tavendi.ini", crlf({relative, "0"}));
    EXPECT_NE(runCli(data, {"add"}, recipe).exitCode, 0);
    EXPECT_EQ(outside.read("list.txt"), "Standard\r\nBOOK1.TXT\r\n");
}

TEST(CliDataFolder, ControlCharactersAreNeverPrintedRaw)
{
    TempDir data;
    data.write("tavendi.ini", crlf({"BOOK1.TXT", "0"}));
    data.write("BOOK1.TXT", crlf({"[NAMN]", "Evil \x1B]0;pwned\x07 pie", "[NAMN]", "Tab\there"}));
    auto run = runCli(data, {"list"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Evil \\x1B]0;pwned\\x07 pie\nTab\there\n");
    // And nothing of the kind gets in.
    auto refused = runCli(data, {"add"}, "[NAMN]\nBad \x1B[2J\n[PORTIONER]\n1\n");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("U+001B"), std::string::npos) << refused.err;
}

}  // namespace
}  // namespace culvora::testing
