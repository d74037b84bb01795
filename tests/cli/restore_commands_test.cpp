// culvora-cli's "backup --everything" and "restore".

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "support/cli_runner.h"
#include "support/records.h"

using culvora::testing::crlf;
using culvora::testing::record;
using culvora::testing::runCli;
using culvora::testing::TempDir;

namespace {

struct Kitchen {
    Kitchen()
    {
        dir.write("tavendi.ini", crlf({"BOOK1.TXT", "0"}));
        dir.write("bocker.txt", crlf({"Standard", "BOOK1.TXT", "Baking", "BOOK2.TXT"}));
        dir.write("BOOK1.TXT", record({.name = "Soup"}));
        dir.write("BOOK2.TXT", record({.name = "Pie"}));
        dir.write("drinkar.txt", crlf({"[NAMN]", "Sour", "[G\xD6RA]", "[GLAS]", "Sour"}));
        dir.write("typer.txt", crlf({"Hot dish"}));
        dir.write("week.kyl", crlf({"milk"}));
        // sok.txt is the delivered one the command seeds.
    }
    TempDir dir;
};

TEST(CliRestore, BackUpEverythingThenRestoreOnlyWithYes)
{
    Kitchen k;
    TempDir stick;
    ASSERT_EQ(runCli(k.dir, {"backup", stick.path().string(), "--everything"}).exitCode, 0);
    for (auto name : {"BOOK1.TXT", "BOOK2.TXT", "drinkar.txt", "bocker.txt", "typer.txt",
                      "week.kyl"}) {
        EXPECT_EQ(stick.read(name), k.dir.read(name)) << name;
    }
    // Without the cookbook and the drinks, "everything else" is still something to copy.
    EXPECT_EQ(runCli(k.dir, {"backup", stick.path().string(), "--no-recipes", "--no-drinks",
                             "--everything"})
                  .exitCode,
              0);

    k.dir.write("BOOK1.TXT", record({.name = "Soup"}) + record({.name = "New"}));
    std::filesystem::remove(k.dir.file("week.kyl"));
    const std::string changed = k.dir.read("BOOK1.TXT");

    // Without --yes: the list of what it would do, exit 1, nothing changed.
    auto asked = runCli(k.dir, {"restore", stick.path().string()});
    EXPECT_EQ(asked.exitCode, 1);
    const std::string row = "\t\\d+ bytes\t\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d\t";
    EXPECT_TRUE(std::regex_match(
        asked.out, std::regex("BOOK1.TXT" + row + "replaces\nBOOK2.TXT" + row +
                              "replaces\ndrinkar.txt" + row + "replaces\nbocker.txt" + row +
                              "replaces\nsok.txt" + row + "replaces\ntyper.txt" + row +
                              "replaces\nweek.kyl" + row + "new\n")))
        << asked.out;
    EXPECT_EQ(asked.err,
              "culvora-cli: Nothing was restored: add --yes to replace these files.\n");
    EXPECT_EQ(k.dir.read("BOOK1.TXT"), changed);
    EXPECT_FALSE(k.dir.exists("week.kyl"));

    auto restored = runCli(k.dir, {"restore", stick.path().string(), "--yes"});
    EXPECT_EQ(restored.exitCode, 0) << restored.err;
    EXPECT_TRUE(restored.out.ends_with("Restored 7 files.\n")) << restored.out;
    EXPECT_EQ(runCli(k.dir, {"list"}).out, "Soup\n");
    EXPECT_EQ(k.dir.read("week.kyl"), crlf({"milk"}));

    TempDir empty;
    auto nothing = runCli(k.dir, {"restore", empty.path().string(), "--yes"});
    EXPECT_EQ(nothing.exitCode, 1);
    EXPECT_EQ(nothing.err, "culvora-cli: The backup holds nothing to restore.\n");
    EXPECT_EQ(runCli(k.dir, {"restore"}).exitCode, 2);
}

}  // namespace
