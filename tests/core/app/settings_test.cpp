#include <gtest/gtest.h>

#include <cstdlib>

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

TEST(Settings, SeedingCopiesOnlyWhatIsMissing)
{
    TempDir source;
    source.write("BOOK1.TXT", "delivered");
    source.write("typer.txt", "Imported\r\n");
    std::filesystem::create_directory(source.file("help"));
    source.write("help/index.html", "<p>help</p>");
    TempDir target;
    target.write("BOOK1.TXT", "the user's own");

    auto copied = app::seedDataFolder(source.path(), target.path());
    ASSERT_TRUE(copied.has_value()) << copied.error().message;
    EXPECT_EQ(*copied, 2);
    EXPECT_EQ(target.read("BOOK1.TXT"), "the user's own");
    EXPECT_EQ(target.read("typer.txt"), "Imported\r\n");
    EXPECT_EQ(target.read("help/index.html"), "<p>help</p>");
    EXPECT_EQ(app::seedDataFolder(source.path(), target.path()).value(), 0);
    // A link the user keeps under a delivered name is the user's: never replaced.
    std::filesystem::remove(target.file("typer.txt"));
    std::filesystem::create_symlink("/nonexistent/types", target.file("typer.txt"));
    EXPECT_EQ(app::seedDataFolder(source.path(), target.path()).value(), 0);
    EXPECT_TRUE(std::filesystem::is_symlink(target.file("typer.txt")));
    EXPECT_FALSE(app::seedDataFolder(source.file("nothing"), target.path()).has_value());
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
    ScopedEnv noXdg("XDG_DATA_HOME", std::nullopt);
    ScopedEnv home("HOME", "/home/cook");
    EXPECT_EQ(app::dataFolder(""), std::filesystem::path("/home/cook/.local/share/culvora"));
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
    dir.write("bocker.txt", crlf({"Standard", "BOOK1.TXT", "Fest", "Soppor", "Soppor", "BOOK2.TXT",
                                  "Borta", "GONE.TXT", "Elsewhere", "../x.txt", "Types", "typer.txt"}));
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
