#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <thread>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/files/files.h"
#include "support/short_lock_wait.h"
#include "support/temp_dir.h"

using namespace culvora;
using culvora::testing::ShortLockWait;
using culvora::testing::readBytes;
using culvora::testing::TempDir;
using culvora::testing::writeBytes;

namespace {

TEST(ProgramFolder, ResolvesWindows1252NamesToUtf8FileNames)
{
    TempDir dir;
    ProgramFolder folder(dir.path());
    EXPECT_EQ(folder.resolve("BOOK1.TXT").value(), dir.path() / "BOOK1.TXT");
    EXPECT_EQ(folder.resolve("s\xF6k.tmp").value(), dir.path() / "sök.tmp");
    dir.write("sök.tmp", "x");
    EXPECT_TRUE(folder.exists("s\xF6k.tmp"));
    EXPECT_FALSE(folder.exists("BOOK1.TXT"));
    // Names that leave the folder are refused where they are resolved.
    for (std::string bad : {"../BOOK.TXT", "/etc/passwd", "sub/x.txt", ""}) {
        auto resolved = folder.resolve(bad);
        ASSERT_FALSE(resolved) << bad;
        EXPECT_EQ(resolved.error().code, ErrorCode::Invalid);
        EXPECT_FALSE(folder.read(bad));
        EXPECT_FALSE(folder.write(bad, "x", "recept.tmp"));
    }
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

TEST(ProgramFolder, KnowsItsOwnFilesWhateverTheirCase)
{
    for (std::string own : {"recept.tmp", "RECEPT.TMP", "bocker.new", "typer.tmp", "settings.tmp",
                             "tavendi.ini", "bocker.txt", "typer.txt", "bilder.txt", "Drinkar.txt",
                             "sok.txt", "index.txt", "ind.tmp", "s\xF6k.tmp", "S\xD6KTA.TXT",
                             "network.txt", "netindex.txt", "culvora.lock", "html", "HELP",
                             "recept.tmp.Ab12Cd", "bocker.new.x"}) {
        EXPECT_TRUE(isProgramFileName(own)) << own;
        EXPECT_FALSE(checkCookbookFileName(own)) << own;
    }
    for (std::string book : {"BOOK1.TXT", "recept.txt", "recept.tmpx", "my sok.txt", "html.txt"}) {
        EXPECT_FALSE(isProgramFileName(book)) << book;
        EXPECT_TRUE(checkCookbookFileName(book)) << book;
    }
    EXPECT_FALSE(checkCookbookFileName("../BOOK1.TXT"));
}

TEST(Files, ReadRefusesWhatIsNoOrdinaryFile)
{
    TempDir dir;
    ProgramFolder folder(dir.path());
    // A FIFO would block the reader for ever, /dev/zero would never end: both are refused at
    // once, and so is a symlink among the data files.
    ASSERT_EQ(::mkfifo(dir.file("fifo.txt").c_str(), 0644), 0);
    std::filesystem::create_symlink("/dev/zero", dir.file("zero.txt"));
    dir.write("real.txt", "[NAMN]\r\n");
    std::filesystem::create_symlink(dir.file("real.txt"), dir.file("link.txt"));
    std::filesystem::create_directory(dir.file("folder.txt"));
    for (const char* name : {"fifo.txt", "zero.txt", "link.txt", "folder.txt"}) {
        auto read = folder.read(name);
        ASSERT_FALSE(read) << name;
        EXPECT_EQ(read.error().code, ErrorCode::Invalid) << name;
        EXPECT_NE(read.error().message.find(name), std::string::npos) << read.error().message;
        EXPECT_FALSE(folder.exists(name)) << name;
    }
    // A file the user picked anywhere may be reached through a link, but a device still not.
    EXPECT_EQ(readFile(dir.file("link.txt")).value(), "[NAMN]\r\n");
    EXPECT_FALSE(readFile("/dev/zero"));
    EXPECT_EQ(folder.read("real.txt").value(), "[NAMN]\r\n");
}

TEST(Files, ReadRefusesFilesPastTheSizeLimit)
{
    TempDir dir;
    // A sparse file: huge on paper, nothing on disk.
    {
        std::ofstream out(dir.file("huge.txt"), std::ios::binary);
        out.seekp(static_cast<std::streamoff>(kMaxFileBytes));
        out.put('x');
    }
    auto read = ProgramFolder(dir.path()).read("huge.txt");
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().code, ErrorCode::Invalid);
    EXPECT_NE(read.error().message.find("256 MB"), std::string::npos) << read.error().message;
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
    // The target is a folder: the rename fails, and only our own temporary file goes.
    std::filesystem::create_directory(dir.file("sub"));
    dir.write("recept.tmp", "someone else's");
    auto result = writeFileAtomic(dir.file("sub"), "new", "recept.tmp");
    ASSERT_FALSE(result.has_value());
    EXPECT_EQ(result.error().code, ErrorCode::Io);
    EXPECT_NE(result.error().message.find("sub"), std::string::npos);
    EXPECT_EQ(dir.read("recept.tmp"), "someone else's");
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 3u) << "BOOK1.TXT, recept.tmp and sub, no temporary left";
    EXPECT_EQ(dir.read("BOOK1.TXT"), "old");
}

TEST(Files, PlantedFilesAtTemporaryNamesAreNeverFollowed)
{
    TempDir dir;
    TempDir outside;
    ProgramFolder folder(dir.path());
    outside.write("precious.txt", "keep me");
    for (const char* temp : {"recept.tmp", "bocker.new", "typer.tmp", "settings.tmp"}) {
        std::filesystem::create_symlink(outside.file("precious.txt"), dir.file(temp));
    }
    ASSERT_TRUE(folder.write("BOOK1.TXT", "new", "recept.tmp"));
    ASSERT_TRUE(folder.write("bocker.txt", "Standard\r\nBOOK1.TXT\r\n", "bocker.new"));
    ASSERT_TRUE(folder.write("typer.txt", "Imported\r\n", "typer.tmp"));
    ASSERT_TRUE(folder.write("tavendi.ini", "BOOK1.TXT\r\n0\r\n", "settings.tmp"));
    EXPECT_EQ(outside.read("precious.txt"), "keep me");
    EXPECT_EQ(dir.read("BOOK1.TXT"), "new");
    for (const char* temp : {"recept.tmp", "bocker.new", "typer.tmp", "settings.tmp"}) {
        EXPECT_TRUE(std::filesystem::is_symlink(dir.file(temp))) << temp;
    }
}

TEST(FolderLock, IsReentrantWithinAThreadAndWaitsForOthers)
{
    TempDir dir;
    ProgramFolder folder(dir.path());
    {
        auto outer = FolderLock::acquire(folder);
        ASSERT_TRUE(outer);
        auto inner = FolderLock::acquire(folder);
        ASSERT_TRUE(inner) << "nested operations take the lock again";
        EXPECT_TRUE(FolderLock::isHeld(folder));
        // Another process cannot get it, and says so within the wait.
        const ShortLockWait shortWait(std::chrono::milliseconds(200));
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            auto other = FolderLock::acquire(folder);
            const bool busy = !other && other.error().code == ErrorCode::Refused &&
                              other.error().message.find("Nothing was saved") != std::string::npos;
            const bool wrote = folder.write("BOOK1.TXT", "from the other one", "recept.tmp").has_value();
            ::_exit(busy && !wrote ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_FALSE(FolderLock::isHeld(folder));
    EXPECT_FALSE(dir.exists("BOOK1.TXT"));
    // Released: now another process gets it at once.
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) ::_exit(FolderLock::acquire(folder) ? 0 : 1);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
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
    // Unmounted however the test ends, so no mount is left behind.
    struct Unmount {
        std::filesystem::path at;
        ~Unmount() { ::umount2(at.c_str(), MNT_DETACH); }
    } unmount{mountPoint};
    const std::string old(20000, 'o');
    writeBytes(mountPoint / "BOOK1.TXT", old);
    auto result = writeFileAtomic(mountPoint / "BOOK1.TXT", std::string(200000, 'n'), "recept.tmp");
    EXPECT_FALSE(result.has_value());
    EXPECT_EQ(readBytes(mountPoint / "BOOK1.TXT"), old);
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(mountPoint)) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1u) << "no temporary file left";
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

TEST(Files, OutputGoesOnlyWhereNothingOrAPlainFileStands)
{
    TempDir dir;
    const auto page = dir.file("page.html");
    // Missing: written. A plain file: replaced, and a hard link to it keeps the old bytes, since
    // the page is renamed over the name rather than written through it.
    ASSERT_TRUE(writeOutputFile(page, "first"));
    EXPECT_EQ(readBytes(page), "first");
    const auto alias = dir.file("alias.html");
    std::filesystem::create_hard_link(page, alias);
    ASSERT_TRUE(writeOutputFile(page, "second"));
    EXPECT_EQ(readBytes(page), "second");
    EXPECT_EQ(readBytes(alias), "first");

    // A link, a folder and a FIFO are refused, and what they lead to is left alone.
    const auto outside = dir.file("outside.txt");
    writeBytes(outside, "keep");
    const auto link = dir.file("link.html");
    std::filesystem::create_symlink(outside, link);
    const auto folder = dir.file("folder.html");
    std::filesystem::create_directory(folder);
    const auto fifo = dir.file("fifo.html");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const auto& [target, what] : {std::pair{link, "a link"}, std::pair{folder, "a folder"},
                                       std::pair{fifo, "a FIFO"}}) {
        auto written = writeOutputFile(target, "page");
        ASSERT_FALSE(written) << target;
        EXPECT_EQ(written.error().code, ErrorCode::Refused);
        EXPECT_NE(written.error().message.find(what), std::string::npos) << written.error().message;
    }
    EXPECT_EQ(readBytes(outside), "keep");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
}

TEST(Files, AFileThatALibraryWillReadIsCheckedWithoutBlocking)
{
    TempDir dir;
    dir.write("dish.jpg", "picture");
    EXPECT_TRUE(checkRegularFile(dir.file("dish.jpg")));
    // A FIFO is refused at once: nobody ever writes to it, so an open that waited would wait
    // for ever.
    ASSERT_EQ(::mkfifo(dir.file("fifo.jpg").c_str(), 0600), 0);
    std::filesystem::create_directory(dir.file("folder.jpg"));
    for (const char* name : {"fifo.jpg", "folder.jpg"}) {
        auto checked = checkRegularFile(dir.file(name));
        ASSERT_FALSE(checked) << name;
        EXPECT_EQ(checked.error().code, ErrorCode::Invalid);
        EXPECT_NE(checked.error().message.find(name), std::string::npos);
    }
    EXPECT_EQ(checkRegularFile("/dev/zero").error().code, ErrorCode::Invalid);
    EXPECT_EQ(checkRegularFile(dir.file("gone.jpg")).error().code, ErrorCode::NotFound);
}

TEST(Files, TheNextWriterRemovesWhatAKilledWriterLeft)
{
    TempDir dir;
    ProgramFolder folder(dir.path());
    const auto old = std::chrono::system_clock::now() - std::chrono::minutes(5);
    auto age = [&](const char* name) {
        const auto since = old.time_since_epoch();
        const timespec times[2] = {
            {static_cast<time_t>(std::chrono::duration_cast<std::chrono::seconds>(since).count()),
             0},
            {static_cast<time_t>(std::chrono::duration_cast<std::chrono::seconds>(since).count()),
             0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, dir.file(name).c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
    };
    // Left by killed writers: of our temporary names, with the random part, and old.
    for (const char* stale : {"recept.tmp.ab12cd", "bocker.new.XY9z00", "s\xC3\xB6k.new.Qq1234"}) {
        dir.write(stale, "half a file");
        age(stale);
    }
    // Not ours to remove: a user's file that only looks alike, one of another name, a link,
    // and a temporary file another writer may be filling right now.
    dir.write("recept.tmp.notes", "my notes");
    age("recept.tmp.notes");
    dir.write("recept.tmp.ab12cde", "not of the pattern");
    age("recept.tmp.ab12cde");
    dir.write("mine.tmp.ab12cd", "not our name");
    age("mine.tmp.ab12cd");
    dir.write("outside.txt", "keep");
    std::filesystem::create_symlink(dir.file("outside.txt"), dir.file("typer.tmp.zz99zz"));
    age("typer.tmp.zz99zz");
    dir.write("recept.tmp.fresh1", "being written");

    ASSERT_TRUE(folder.write("BOOK1.TXT", "[NAMN]\r\n", "recept.tmp"));
    for (const char* gone : {"recept.tmp.ab12cd", "bocker.new.XY9z00", "s\xC3\xB6k.new.Qq1234"}) {
        EXPECT_FALSE(dir.exists(gone)) << gone;
    }
    for (const char* kept : {"recept.tmp.notes", "recept.tmp.ab12cde", "mine.tmp.ab12cd",
                             "outside.txt", "recept.tmp.fresh1"}) {
        EXPECT_TRUE(dir.exists(kept)) << kept;
    }
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("typer.tmp.zz99zz")));
}

TEST(Files, AnOpenedFolderIsWrittenThroughItsDescriptorOnly)
{
    TempDir dir;
    TempDir outside;
    // A link at the folder's name is refused, and so is a file.
    std::filesystem::create_directory_symlink(outside.path(), dir.file("linked"));
    dir.write("plain", "a file");
    for (const char* name : {"linked", "plain"}) {
        auto opened = OpenedFolder::openOrCreate(dir.file(name));
        ASSERT_FALSE(opened) << name;
        EXPECT_EQ(opened.error().code, ErrorCode::Refused);
    }

    auto opened = OpenedFolder::openOrCreate(dir.file("html"));
    ASSERT_TRUE(opened) << opened.error().message;
    ASSERT_TRUE(std::filesystem::is_directory(dir.file("html")));
    // A hard link and a symlink planted at the names are replaced, never written through.
    outside.write("hard.txt", "keep");
    outside.write("soft.txt", "keep too");
    std::filesystem::create_hard_link(outside.file("hard.txt"), dir.file("html/index.html"));
    std::filesystem::create_symlink(outside.file("soft.txt"), dir.file("html/1000.html"));
    ASSERT_TRUE(opened->writeFile("index.html", "list", "page.tmp"));
    ASSERT_TRUE(opened->writeFile("1000.html", "page", "page.tmp"));
    EXPECT_EQ(dir.read("html/index.html"), "list");
    EXPECT_EQ(dir.read("html/1000.html"), "page");
    EXPECT_FALSE(std::filesystem::is_symlink(dir.file("html/1000.html")));
    EXPECT_EQ(outside.read("hard.txt"), "keep");
    EXPECT_EQ(outside.read("soft.txt"), "keep too");

    // The folder swapped for a link to elsewhere: the files still go where it was opened.
    std::filesystem::rename(dir.file("html"), dir.file("html.moved"));
    std::filesystem::create_directory_symlink(outside.path(), dir.file("html"));
    auto file = opened->newFile("page.tmp");
    ASSERT_TRUE(file);
    file->write("piece one, ");
    file->write(std::string(300000, 'x'));
    ASSERT_TRUE(file->commit("1001.html"));
    EXPECT_EQ(dir.read("html.moved/1001.html"), "piece one, " + std::string(300000, 'x'));
    EXPECT_FALSE(outside.exists("1001.html"));
    // A file never committed leaves nothing behind.
    ASSERT_TRUE(opened->newFile("page.tmp"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.file("html.moved")), {}), 3);
}
