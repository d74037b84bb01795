// culvora-cli's import, export and backup commands.

#include <gtest/gtest.h>

#include "support/cli_runner.h"
#include "support/records.h"

using culvora::testing::crlf;
using culvora::testing::record;
using culvora::testing::runCli;
using culvora::testing::TempDir;

namespace {

const std::string kSoup = record({.name = "Soup",
                                  .servings = "4",
                                  .time = "30",
                                  .ingredients = {"2 dl mj\xF6lk"},
                                  .steps = {"Boil <gently>."},
                                  .type = "Soups"});

TEST(CliTransfer, ImportsAndExports)
{
    TempDir dir;
    dir.write("bocker.txt", crlf({"Standard", "BOOK1.TXT"}));
    dir.write("BOOK1.TXT", kSoup);
    TempDir files;
    files.write("cake.mmf",
                crlf({"MMMMM----- Recipe via Meal-Master (tm) v8.05", "", "      Title: HONEY CAKE",
                      "      Yield: 1 1/2 cakes", "", "      2 c  Flour", "",
                      "  Bake at 350\xF8"
                      "F.",
                      "MMMMM", "MMMMM----- Recipe via Meal-Master (tm) v8.05",
                      "      Title: Cut off", "      Yield: 1"}));
    auto imported = runCli(dir, {"import-mm", files.file("cake.mmf").string(), "--to", "Standard"});
    EXPECT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_EQ(imported.out, "1 recipe imported.\n1 recipe was not imported:\n\"Cut off\": it is "
                            "cut off by the end of the file.\n");
    EXPECT_EQ(runCli(dir, {"view", "Honey cake"}).out,
              "Honey cake\n(Serves 2)\nTime to cook: 0 min\n\n2 c  Flour\n\n\nBake at 350°F.\n");
    files.write("notes.txt", "just notes\r\n");
    auto refused = runCli(dir, {"import-mm", files.file("notes.txt").string(), "--to", "Standard"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "culvora-cli: Sorry, not a Meal Master document!\n");
    EXPECT_EQ(runCli(dir, {"import-mm", "x", "--encoding", "ebcdic", "--to", "Standard"}).exitCode,
              2);

    files.write("shared.tvx", "[NAMN]\r\n" + kSoup.substr(8));
    auto book1 = runCli(dir, {"import-book", files.file("shared.tvx").string()});
    EXPECT_EQ(book1.exitCode, 0) << book1.err;
    EXPECT_EQ(book1.out, "1 recipe imported into \"Standard\".\n1 recipe had a name that was taken "
                         "and was given a numbered name, \"Soup (2)\".\n");
    const std::string book = dir.read("BOOK1.TXT");
    EXPECT_NE(book.find("Soup (2)\r\n[PORTIONER]"), std::string::npos)
        << "the imported Soup comes in beside the one there, numbered";
    auto notBook = runCli(dir, {"import-book", files.file("notes.txt").string()});
    EXPECT_EQ(notBook.exitCode, 1);
    EXPECT_EQ(notBook.err, "culvora-cli: Not a Culvora-file\n");
    files.write("two.txt", kSoup + crlf({"[NAMN]", "Tea", "[PORTIONER]", "1", "[TID]", "5", "[IND]",
                                         "[G\xD6RA]", "[TYP]", "X"}));
    EXPECT_EQ(runCli(dir, {"import-book", files.file("two.txt").string()}).out,
              "2 recipes imported into \"Standard\".\n1 recipe had a name that was taken and was "
              "given a numbered name, \"Soup (3)\".\n");

    ASSERT_EQ(runCli(dir, {"html", "Soup", files.file("soup.html").string()}).exitCode, 0);
    const std::string page = files.read("soup.html");
    EXPECT_NE(page.find("2 dl mj&ouml;lk<BR>\r\n"), std::string::npos);
    EXPECT_NE(page.find("Boil &lt;gently&gt;.<BR>\r\n"), std::string::npos);
    EXPECT_EQ(runCli(dir, {"html", "Stew", files.file("stew.html").string()}).exitCode, 1);

    auto archive = runCli(dir, {"archive", "--no-frames", "--color", "0080FF"});
    EXPECT_EQ(archive.exitCode, 0) << archive.err;
    EXPECT_NE(dir.read("html/index.html").find("</head>\r\n<BODY BGCOLOR=\"0080FF\">\r\n"),
              std::string::npos);
    EXPECT_TRUE(dir.exists("html/1002.html"));
    EXPECT_EQ(runCli(dir, {"archive", "--color", "blue"}).exitCode, 2);

    // A record without a name gets no page, and the command says how many there were.
    dir.write("BOOK1.TXT", kSoup + crlf({"[NAMN]", "", "[PORTIONER]", "1", "[TID]", "1", "[IND]",
                                         "[G\xD6RA]", "[TYP]", "X"}));
    auto nameless = runCli(dir, {"archive"});
    EXPECT_EQ(nameless.exitCode, 0) << nameless.err;
    EXPECT_TRUE(nameless.out.starts_with("1 recipe pages\n")) << nameless.out;
    EXPECT_TRUE(nameless.out.ends_with("index.html\n1 record without a name got no page.\n"))
        << nameless.out;
}

TEST(CliTransfer, Backup)
{
    TempDir dir;
    dir.write("bocker.txt", crlf({"Standard", "BOOK1.TXT"}));
    dir.write("BOOK1.TXT", kSoup);
    TempDir stick;
    auto done = runCli(dir, {"backup", stick.path().string()});
    EXPECT_EQ(done.exitCode, 0) << done.err;
    EXPECT_EQ(done.out, "Backup successful.\n");
    EXPECT_EQ(stick.read("BOOK1.TXT"), kSoup);
    EXPECT_EQ(stick.read("drinkar.txt"), dir.read("drinkar.txt"));

    auto failed = runCli(dir, {"backup", stick.file("gone").string(), "--no-drinks"});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_TRUE(failed.err.starts_with("Backup failed.\n")) << failed.err;
    EXPECT_EQ(
        runCli(dir, {"backup", stick.path().string(), "--no-drinks", "--no-recipes"}).exitCode, 2);
}

}  // namespace
