#include <gtest/gtest.h>

#include <cstdlib>

#include "core/app/settings.h"
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
    EXPECT_FALSE(app::seedDataFolder(source.file("nothing"), target.path()).has_value());
}

TEST(Settings, TheDataFolderComesFromTheOptionTheEnvironmentOrXdg)
{
    EXPECT_EQ(app::dataFolder("/x/y"), std::filesystem::path("/x/y"));
    ::setenv("CULVORA_DATA_DIR", "/from/env", 1);
    EXPECT_EQ(app::dataFolder(""), std::filesystem::path("/from/env"));
    ::unsetenv("CULVORA_DATA_DIR");
    ::setenv("XDG_DATA_HOME", "/xdg", 1);
    EXPECT_EQ(app::dataFolder(""), std::filesystem::path("/xdg/culvora"));
    ::unsetenv("XDG_DATA_HOME");
    ::setenv("HOME", "/home/cook", 1);
    EXPECT_EQ(app::dataFolder(""), std::filesystem::path("/home/cook/.local/share/culvora"));
}

}  // namespace
