#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/app/settings.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

using namespace culvora;
using culvora::testing::crlf;
using culvora::testing::TempDir;

namespace {

TEST(Settings, ReadsTheFirstLineAndRewritesBothLines)
{
    TempDir dir;
    ProgramFolder folder(dir.path());
    EXPECT_FALSE(app::readSettings(folder).found);
    dir.write("tavendi.ini", "");
    EXPECT_FALSE(app::readSettings(folder).found);
    dir.write("tavendi.ini", "BOOK3.TXT");
    auto short_ = app::readSettings(folder);
    EXPECT_TRUE(short_.found);
    EXPECT_EQ(short_.cookbookFile, "BOOK3.TXT");

    ASSERT_TRUE(app::writeSettings(folder, "B\xD6K.TXT", false).has_value());
    EXPECT_EQ(dir.read("tavendi.ini"), crlf({"B\xD6K.TXT", "0"}));
    ASSERT_TRUE(app::writeSettings(folder, "BOOK1.TXT", true).has_value());
    EXPECT_EQ(dir.read("tavendi.ini"), crlf({"BOOK1.TXT", "1"}));
}

// A delivered folder as installed: the files a user changes, and what is only read there.
void writeDelivered(TempDir& source)
{
    for (const std::string_view name : app::kSeededFiles) {
        source.write(std::string(name), "delivered " + std::string(name));
    }
    source.write("CREDITS.md", "credits");
    source.write("bak.gif", "GIF89a");
    std::filesystem::create_directories(source.file("help"));
    source.write("help/index.html", "<p>help</p>");
    std::filesystem::create_directories(source.file("pics/hidpi"));
    source.write("pics/hidpi/bak@2x.png", "png");
    std::filesystem::create_directories(source.file("exchange"));
    source.write("exchange/network.txt", "the exchange operator's starter files");
}

std::vector<std::string> namesIn(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(Settings, ANewDataFolderGetsOnlyTheFilesAUserChanges)
{
    TempDir source;
    writeDelivered(source);
    TempDir home;
    const auto target = home.file("culvora");  // made on the way

    auto copied = app::seedDataFolder(source.path(), target);
    ASSERT_TRUE(copied.has_value()) << copied.error().message;
    EXPECT_EQ(*copied, 8);
    EXPECT_EQ(namesIn(target),
              (std::vector<std::string>{"BOOK1.TXT", "bocker.txt", "drinkar.txt", "exchange.ini",
                                        "index.txt", "sok.txt", "tavendi.ini", "typer.txt"}));
    EXPECT_EQ(ProgramFolder(target).read("index.txt").value(), "delivered index.txt");
    // Once seeded, a start copies nothing.
    EXPECT_EQ(app::seedDataFolder(source.path(), target).value(), 0);
}

TEST(Settings, SeedingNeverTouchesWhatTheUserHas)
{
    TempDir source;
    writeDelivered(source);
    TempDir target;
    target.write("typer.txt", "the user's own");
    // A link the user keeps under a delivered name is the user's, even a dangling one.
    std::filesystem::create_symlink("/nonexistent/drinks", target.file("drinkar.txt"));
    // The copies an earlier start put here stay and are still used.
    std::filesystem::create_directories(target.file("help"));
    target.write("help/index.html", "<p>an older page</p>");

    ASSERT_EQ(app::seedDataFolder(source.path(), target.path()).value(), 6);
    EXPECT_EQ(target.read("typer.txt"), "the user's own");
    EXPECT_TRUE(std::filesystem::is_symlink(target.file("drinkar.txt")));
    EXPECT_EQ(target.read("help/index.html"), "<p>an older page</p>");
}

TEST(Settings, TheStarterCookbookComesOnlyWithTheListOfCookbooks)
{
    TempDir source;
    writeDelivered(source);
    TempDir target;
    // The user's own list, without the starter cookbook (deleted) and without tavendi.ini.
    target.write("bocker.txt", crlf({"Soppor", "BOOK2.TXT"}));
    target.write("BOOK2.TXT", "");
    std::filesystem::remove(source.file("sok.txt"));  // an install without one: skipped

    ASSERT_EQ(app::seedDataFolder(source.path(), target.path()).value(), 4);
    EXPECT_FALSE(std::filesystem::exists(target.file("BOOK1.TXT")));
    EXPECT_FALSE(std::filesystem::exists(target.file("tavendi.ini")));
    EXPECT_FALSE(std::filesystem::exists(target.file("sok.txt")));
    EXPECT_EQ(target.read("typer.txt"), "delivered typer.txt");
    // The cookbook in use at start is then the list's.
    EXPECT_EQ(app::startCookbook(ProgramFolder(target.path())), "BOOK2.TXT");
}

TEST(Settings, SeedingFromNoDeliveredFolderFails)
{
    TempDir source;
    TempDir target;
    auto seeded = app::seedDataFolder(source.file("nothing"), target.path());
    ASSERT_FALSE(seeded.has_value());
    EXPECT_NE(seeded.error().message.find("nothing"), std::string::npos);
}

TEST(Settings, ADeliveredFileIsTheUsersOwnCopyElseTheInstalledOne)
{
    TempDir data;
    TempDir delivered;
    writeDelivered(delivered);
    const std::filesystem::path page = "help/index.html";
    EXPECT_EQ(app::deliveredFile(data.path(), delivered.path(), page), delivered.path() / page);
    // Named even when it is not there: whoever opens it says so.
    EXPECT_EQ(app::deliveredFile(data.path(), delivered.path(), "help/gone.html"),
              delivered.path() / "help/gone.html");
    std::filesystem::create_directories(data.file("help"));
    data.write("help/index.html", "<p>mine</p>");
    EXPECT_EQ(app::deliveredFile(data.path(), delivered.path(), page), data.path() / page);
    // A folder of that name is no copy.
    std::filesystem::create_directories(data.file("bak.gif"));
    EXPECT_EQ(app::deliveredFile(data.path(), delivered.path(), "bak.gif"),
              delivered.path() / "bak.gif");
    EXPECT_EQ(app::deliveredFile(data.path(), {}, "bak.gif"), data.path() / "bak.gif");
}

TEST(Settings, TheDataFolderComesFromTheOptionTheEnvironmentOrXdg)
{
    using culvora::testing::ScopedEnv;
    EXPECT_EQ(app::dataFolder("/x/y"), std::filesystem::path("/x/y"));
    {
        ScopedEnv env("CULVORA_DATA_DIR", "/from/env");
        EXPECT_EQ(app::dataFolder(""), std::filesystem::path("/from/env"));
    }
    ScopedEnv noEnv("CULVORA_DATA_DIR", std::nullopt);
    {
        ScopedEnv xdg("XDG_DATA_HOME", "/xdg");
        EXPECT_EQ(app::dataFolder(""), std::filesystem::path("/xdg/culvora"));
    }
    ScopedEnv home("HOME", "/home/cook");
    {
        // A relative XDG_DATA_HOME is no place to keep data: the home folder's is used.
        ScopedEnv xdg("XDG_DATA_HOME", "relative");
        EXPECT_EQ(app::dataFolder(""), std::filesystem::path("/home/cook/.local/share/culvora"));
    }
    ScopedEnv noXdg("XDG_DATA_HOME", std::nullopt);
    EXPECT_EQ(app::dataFolder(""), std::filesystem::path("/home/cook/.local/share/culvora"));
}

TEST(Settings, WithoutAHomeFolderThereIsNoDataFolderRatherThanTheWorkingFolder)
{
    using culvora::testing::ScopedEnv;
    ScopedEnv noEnv("CULVORA_DATA_DIR", std::nullopt);
    ScopedEnv noXdg("XDG_DATA_HOME", std::nullopt);
    for (const std::optional<std::string>& home :
         {std::optional<std::string>(), std::optional<std::string>(""),
          std::optional<std::string>("cook")}) {
        ScopedEnv env("HOME", home);
        const auto folder = app::dataFolder("");
        ASSERT_FALSE(folder) << folder->string();
        EXPECT_EQ(folder.error().message, app::kNoDataFolderMessage);
        // A folder named outright needs no home folder.
        EXPECT_EQ(app::dataFolder("/x/y"), std::filesystem::path("/x/y"));
    }
}

TEST(Settings, TheDeliveredDataLiesBesideAnInstalledProgram)
{
    TempDir prefix;
    std::filesystem::create_directories(prefix.file("bin"));
    const std::filesystem::path sourceTree = "/src/culvora/data";
    // A build tree: nothing installed beside it.
    EXPECT_EQ(app::deliveredData(prefix.file("bin"), sourceTree), sourceTree);
    std::filesystem::create_directories(prefix.file("share/culvora"));
    EXPECT_EQ(app::deliveredData(prefix.file("bin"), sourceTree),
              (prefix.path() / "share" / "culvora").lexically_normal());
    EXPECT_EQ(app::deliveredData({}, sourceTree), sourceTree);
    EXPECT_FALSE(app::executableFolder().empty());
}

TEST(Settings, TheCurrentCookbookAtStart)
{
    TempDir dir;
    ProgramFolder folder(dir.path());
    // Nothing at all: the standard file name.
    EXPECT_EQ(app::startCookbook(folder), "BOOK1.TXT");
    // No tavendi.ini: the standard cookbook of the list, else its first title.
    dir.write("bocker.txt", crlf({"Soppor", "BOOK2.TXT", "standard", "BOOK7.TXT"}));
    EXPECT_EQ(app::startCookbook(folder), "BOOK7.TXT");
    dir.write("bocker.txt", crlf({"Soppor", "BOOK2.TXT", "Kakor", "BOOK3.TXT"}));
    EXPECT_EQ(app::startCookbook(folder), "BOOK3.TXT");
    // Line 1 of tavendi.ini wins, whatever it names; line 2 is the tips flag.
    dir.write("tavendi.ini", crlf({"BOOK9.TXT", "1"}));
    EXPECT_EQ(app::startCookbook(folder), "BOOK9.TXT");
    EXPECT_TRUE(app::readSettings(folder).tips);
    dir.write("tavendi.ini", crlf({"", "1"}));
    EXPECT_EQ(app::startCookbook(folder), "BOOK3.TXT");
}

TEST(Settings, UseRefusesACookbookWhoseFileIsMissing)
{
    TempDir dir;
    ProgramFolder folder(dir.path());
    dir.write("bocker.txt",
              crlf({"Standard", "BOOK1.TXT", "Fest", "Soppor", "Soppor", "BOOK2.TXT", "Borta",
                    "GONE.TXT", "Elsewhere", "../x.txt", "Types", "typer.txt"}));
    dir.write("BOOK1.TXT", "");
    dir.write("BOOK2.TXT", "");
    dir.write("typer.txt", "Imported\r\n");
    // By title line only: "Fest" names no file here, "Soppor" is a title further on.
    auto file = app::useCookbook(folder, "Soppor", true);
    ASSERT_TRUE(file) << file.error().message;
    EXPECT_EQ(*file, "BOOK2.TXT");
    EXPECT_EQ(dir.read("tavendi.ini"), "BOOK2.TXT\r\n1\r\n");
    ASSERT_TRUE(app::useCookbook(folder, "Standard", false));
    EXPECT_EQ(dir.read("tavendi.ini"), "BOOK1.TXT\r\n0\r\n");

    auto missing = app::useCookbook(folder, "Borta", false);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().code, ErrorCode::NotFound);
    EXPECT_NE(missing.error().message.find("\"GONE.TXT\" could not be found"), std::string::npos)
        << missing.error().message;
    for (const char* title : {"Elsewhere", "Types"}) {
        auto refused = app::useCookbook(folder, title, false);
        ASSERT_FALSE(refused) << title;
        EXPECT_EQ(refused.error().code, ErrorCode::Invalid);
    }
    auto unknown = app::useCookbook(folder, "BOOK2.TXT", false);
    ASSERT_FALSE(unknown);
    EXPECT_EQ(unknown.error().message, "There is no cookbook called \"BOOK2.TXT\".");
    EXPECT_EQ(dir.read("tavendi.ini"), "BOOK1.TXT\r\n0\r\n");
}

TEST(Settings, AfterTheCurrentBookIsRemovedTheFallbackBecomesCurrent)
{
    TempDir dir;
    ProgramFolder folder(dir.path());
    dir.write("bocker.txt", crlf({"Soppor", "BOOK2.TXT", "Kakor", "BOOK3.TXT"}));
    auto chosen = app::useFallbackCookbook(folder, true);
    ASSERT_TRUE(chosen && *chosen);
    EXPECT_EQ((*chosen)->title, "Kakor");
    EXPECT_EQ(dir.read("tavendi.ini"), crlf({"BOOK3.TXT", "1"}));
    dir.write("bocker.txt", "");
    auto none = app::useFallbackCookbook(folder, false);
    ASSERT_TRUE(none);
    EXPECT_FALSE(none->has_value());
}

}  // namespace
