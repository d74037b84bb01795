#include <gtest/gtest.h>

#include "cli/cli_runner.h"
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

TEST_F(StoreCommands, BooksListsTitlesAndFilesInTheProgramsOrder)
{
    auto run = runCli(data, {"books"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Bakning\tBOOK3.TXT\nStandard\tBOOK1.TXT\n\xC3\x85rets fest\tBOOK2.TXT\n");
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
    EXPECT_EQ(path.exitCode, 2);
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

TEST_F(StoreCommands, TypesOfAMissingFileAreEmptyAndAddingRestoresTheOriginals)
{
    std::filesystem::remove(data.file("typer.txt"));
    auto list = runCli(data, {"types"});
    EXPECT_EQ(list.exitCode, 0) << list.err;
    EXPECT_EQ(list.out, "");
    EXPECT_EQ(runCli(data, {"add-type", "Bröd"}).exitCode, 0);
    EXPECT_EQ(data.read("typer.txt"), crlf({"Accessories",
                                            "Br\xF6"
                                            "d",
                                            "Desserts", "First Course", "Hot dish", "Imported"}));
}

}  // namespace
}  // namespace culvora::testing
