#include <gtest/gtest.h>

#include <filesystem>

#include "core/transfer/backup.h"
#include "core/transfer/restore.h"
#include "support/records.h"
#include "support/temp_dir.h"

using namespace culvora;
using namespace culvora::transfer;
using culvora::testing::crlf;
using culvora::testing::record;
using culvora::testing::TempDir;

namespace {

struct Kitchen {
    Kitchen()
    {
        dir.write("bocker.txt", crlf({"Standard", "BOOK1.TXT", "Baking", "BOOK2.TXT", "Odd",
                                      "../outside.txt", "Lost", "GONE.TXT"}));
        dir.write("BOOK1.TXT", record({.name = "Soup"}));
        dir.write("BOOK2.TXT", record({.name = "Pie"}));
        dir.write("drinkar.txt", "drinks");
        dir.write("bilder.txt", "pictures");
        dir.write("typer.txt", "types");
        dir.write("sok.txt", "words");
        dir.write("week.kyl", "milk");
        dir.write("tavendi.ini", "BOOK1.TXT");
    }
    TempDir dir;
    ProgramFolder folder{dir.path()};
};

std::vector<std::string> files(const RestorePlan& plan)
{
    std::vector<std::string> out;
    for (const auto& item : plan.items) out.push_back(item.file);
    return out;
}

}  // namespace

TEST(BackupEverything, CopiesTheListsEveryListedCookbookAndTheFridgeFiles)
{
    Kitchen k;
    EXPECT_EQ(everythingElse(k.folder, "BOOK1.TXT"),
              (std::vector<std::string>{"bocker.txt", "BOOK2.TXT", "bilder.txt", "sok.txt",
                                        "typer.txt", "week.kyl"}));
    for (auto [name, fridge] : {std::pair{"a.kyl", true}, {"B.KYL", true}, {".kyl", false},
                                {"a.kyl.txt", false}, {"sub/a.kyl", false}}) {
        EXPECT_EQ(isFridgeFileName(name), fridge) << name;
    }
    TempDir stick;
    BackupRequest request{true, true, "BOOK1.TXT", stick.path()};
    request.everything = true;
    ASSERT_TRUE(backup(k.folder, request));
    for (auto name : {"BOOK1.TXT", "BOOK2.TXT", "drinkar.txt", "bocker.txt", "bilder.txt",
                      "typer.txt", "sok.txt", "week.kyl"}) {
        EXPECT_EQ(stick.read(name), k.dir.read(name)) << name;
    }
    // Nothing else: not the settings, nor a temporary file, nor the name that leaves the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(stick.path()), {}), 8);
}

TEST(Restore, ShowsWhatTheBackupHoldsAndReplacesOnlyThat)
{
    Kitchen k;
    TempDir stick;
    stick.write("BOOK1.TXT", record({.name = "Old soup"}));
    stick.write("bocker.txt", crlf({"Standard", "BOOK1.TXT", "Fish", "BOOK3.TXT"}));
    stick.write("BOOK3.TXT", record({.name = "Cod"}));
    stick.write("summer.kyl", "berries");
    stick.write("tavendi.ini", "BOOK9.TXT");        // never restored
    stick.write("recept.tmp.abc123", "half");       // never restored
    std::filesystem::create_directory(stick.file("typer.txt"));
    std::filesystem::create_symlink("/etc/passwd", stick.file("drinkar.txt"));

    auto plan = planRestore(k.folder, stick.path(), "BOOK1.TXT");
    ASSERT_TRUE(plan) << plan.error().message;
    EXPECT_EQ(files(*plan), (std::vector<std::string>{"BOOK1.TXT", "BOOK3.TXT", "bocker.txt",
                                                      "summer.kyl"}));
    EXPECT_TRUE(plan->items[0].replaces);
    EXPECT_FALSE(plan->items[1].replaces);
    EXPECT_EQ(plan->items[0].size, stick.read("BOOK1.TXT").size());
    EXPECT_EQ(plan->items[0].modified.size(), std::string("2026-12-10 20:31").size());
    EXPECT_EQ(plan->notes,
              (std::vector<std::string>{
                  "\"drinkar.txt\" in the backup is not an ordinary file (a link, a folder or a "
                  "device); it was left out.",
                  "\"typer.txt\" in the backup is not an ordinary file (a link, a folder or a "
                  "device); it was left out."}));

    const std::string drinks = k.dir.read("drinkar.txt");
    ASSERT_TRUE(restore(k.folder, *plan));
    for (auto name : {"BOOK1.TXT", "BOOK3.TXT", "bocker.txt", "summer.kyl"}) {
        EXPECT_EQ(k.dir.read(name), stick.read(name)) << name;
    }
    EXPECT_EQ(k.dir.read("drinkar.txt"), drinks);
    EXPECT_EQ(k.dir.read("tavendi.ini"), "BOOK1.TXT");
    EXPECT_EQ(k.dir.read("BOOK2.TXT"), record({.name = "Pie"}));  // not in the backup: kept
}

TEST(Restore, RefusesWhatIsNotABackupAndStopsAtAFileThatChanged)
{
    Kitchen k;
    TempDir stick;
    EXPECT_EQ(planRestore(k.folder, stick.file("none"), "BOOK1.TXT").error().code,
              ErrorCode::NotFound);
    auto empty = planRestore(k.folder, stick.path(), "BOOK1.TXT");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->items.empty());

    stick.write("BOOK1.TXT", "old");
    stick.write("drinkar.txt", "old drinks");
    auto plan = planRestore(k.folder, stick.path(), "BOOK1.TXT");
    ASSERT_TRUE(plan);
    // The drinks file turned into a folder after the plan was made.
    std::filesystem::remove(stick.file("drinkar.txt"));
    std::filesystem::create_directory(stick.file("drinkar.txt"));
    auto failed = restore(k.folder, *plan);
    ASSERT_FALSE(failed);
    EXPECT_TRUE(failed.error().message.starts_with("Could not restore \"drinkar.txt\": "))
        << failed.error().message;
    EXPECT_TRUE(failed.error().message.ends_with(" Restored before it: BOOK1.TXT."))
        << failed.error().message;
    EXPECT_EQ(k.dir.read("BOOK1.TXT"), "old");
    EXPECT_EQ(k.dir.read("drinkar.txt"), "drinks");
}
