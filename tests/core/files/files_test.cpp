#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <thread>

#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/files/files.h"
#include "support/temp_dir.h"

using namespace culvora;
using culvora::testing::TempDir;

namespace {

TEST(ProgramFolder, ResolvesWindows1252NamesToUtf8FileNames)
{
    TempDir dir;
    ProgramFolder folder(dir.path());
    EXPECT_EQ(folder.resolve("BOOK1.TXT"), dir.path() / "BOOK1.TXT");
    EXPECT_EQ(folder.resolve("s\xF6k.tmp"), dir.path() / "sök.tmp");
    dir.write("sök.tmp", "x");
    EXPECT_TRUE(folder.exists("s\xF6k.tmp"));
    EXPECT_FALSE(folder.exists("BOOK1.TXT"));
}

TEST(ProgramFolder, PlainFileNamesStayInsideTheFolder)
{
    for (std::string good : {"BOOK2.TXT", "My book.txt", "b\xF6k.txt", "..txt"}) {
        EXPECT_TRUE(isPlainFileName(good)) << good;
    }
    for (std::string bad : {"", ".", "..", "../BOOK.TXT", "/etc/passwd", "sub/BOOK.TXT",
                            "C:\\BOOK.TXT", "a\tb", "   "}) {
        EXPECT_FALSE(isPlainFileName(bad)) << bad;
    }
}

TEST(Files, ReadReportsMissingFilesAsNotFound)
{
    TempDir dir;
    auto missing = readFile(dir.file("nothing.txt"));
    ASSERT_FALSE(missing.has_value());
    EXPECT_EQ(missing.error().code, ErrorCode::NotFound);
    EXPECT_EQ(readFileOrEmpty(dir.file("nothing.txt")).value(), "");
    dir.write("some.txt", std::string("a\0b\r\n", 5));
    EXPECT_EQ(readFile(dir.file("some.txt")).value(), std::string("a\0b\r\n", 5));
}

TEST(Files, AtomicWriteReplacesTheFileAndLeavesNoTemporary)
{
    TempDir dir;
    dir.write("BOOK1.TXT", "old");
    ASSERT_TRUE(
        writeFileAtomic(dir.file("BOOK1.TXT"), "new content\r\n", "recept.tmp").has_value());
    EXPECT_EQ(dir.read("BOOK1.TXT"), "new content\r\n");
    EXPECT_FALSE(dir.exists("recept.tmp"));
    // A file that did not exist is created.
    ASSERT_TRUE(writeFileAtomic(dir.file("typer.txt"), "Imported\r\n", "typer.tmp").has_value());
    EXPECT_EQ(dir.read("typer.txt"), "Imported\r\n");
}

TEST(Files, AFailedWriteLeavesTheOldFileIntact)
{
    TempDir dir;
    dir.write("BOOK1.TXT", "old");
    // The folder cannot take the temporary file: a folder is in its way.
    std::filesystem::create_directory(dir.file("recept.tmp"));
    auto result = writeFileAtomic(dir.file("BOOK1.TXT"), "new", "recept.tmp");
    ASSERT_FALSE(result.has_value());
    EXPECT_EQ(result.error().code, ErrorCode::Io);
    EXPECT_NE(result.error().message.find("BOOK1.TXT"), std::string::npos);
    EXPECT_EQ(dir.read("BOOK1.TXT"), "old");
}

// A full disk: a small tmpfs mounted for the test (needs root; skipped otherwise).
TEST(Files, AFullDiskLeavesTheOldFileIntact)
{
    TempDir dir;
    auto mountPoint = dir.file("small");
    std::filesystem::create_directory(mountPoint);
    if (::geteuid() != 0 || ::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0) {
        GTEST_SKIP() << "cannot mount a small tmpfs here";
    }
    const std::string old(20000, 'o');
    culvora::testing::writeBytes(mountPoint / "BOOK1.TXT", old);
    auto result = writeFileAtomic(mountPoint / "BOOK1.TXT", std::string(200000, 'n'), "recept.tmp");
    EXPECT_FALSE(result.has_value());
    EXPECT_EQ(culvora::testing::readBytes(mountPoint / "BOOK1.TXT"), old);
    EXPECT_FALSE(std::filesystem::exists(mountPoint / "recept.tmp"));
    ::umount2(mountPoint.c_str(), MNT_DETACH);
}

// A rewrite killed at any moment leaves the old or the new cookbook, never a truncated one.
TEST(Files, KillDuringRewritesNeverLeavesATruncatedFile)
{
    TempDir dir;
    const std::string first(600000, 'a');
    const std::string second(900000, 'b');
    dir.write("BOOK1.TXT", first);
    for (int round = 0; round < 25; ++round) {
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i) {
                (void)writeFileAtomic(dir.file("BOOK1.TXT"), i % 2 ? first : second, "recept.tmp");
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(2000 + 1700 * round));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        const std::string now = dir.read("BOOK1.TXT");
        ASSERT_TRUE(now == first || now == second)
            << "round " << round << ": " << now.size() << " bytes";
    }
}

TEST(Files, CreateEmptyFileRefusesAnExistingFile)
{
    TempDir dir;
    ASSERT_TRUE(createEmptyFile(dir.file("BOOK2.TXT")).has_value());
    EXPECT_EQ(std::filesystem::file_size(dir.file("BOOK2.TXT")), 0u);
    auto again = createEmptyFile(dir.file("BOOK2.TXT"));
    ASSERT_FALSE(again.has_value());
    EXPECT_EQ(again.error().code, ErrorCode::Refused);
}

}  // namespace
