#pragma once

// The program folder and the safe way to read and change the files in it.
//
// Every data file is named by a bare Windows-1252 file name ("BOOK1.TXT" in tavendi.ini,
// "bocker.txt"). A name is checked where it is resolved: it must stay inside the folder, and a
// file is only read when it is a regular file of a sane size, so a hand-edited list that
// names "../elsewhere", "/dev/zero" or a FIFO gets a clear message instead of a rewrite
// outside the folder, an exhausted memory or a hang.
//
// Two writers (the program and a script running culvora-cli, or two copies of the program)
// must never interleave: every change reads, decides and renames while holding the folder's
// lock (FolderLock), and the new content goes to a fresh temporary file created exclusively,
// so a planted file or symlink at a temporary name is never followed or overwritten.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "core/error.h"

namespace culvora {

// Files larger than this are not read: no cookbook comes near it, and it keeps a stray device
// or a runaway file from taking all memory.
inline constexpr std::uintmax_t kMaxFileBytes = 256ull * 1024 * 1024;

// The one lock file of the data folder, held by every writer from its read to its rename.
inline constexpr std::string_view kLockFile = "culvora.lock";

// True when the name is a plain file name that stays inside the folder: not empty, no path
// separator, not "." or "..", no control character.
bool isPlainFileName(std::string_view cp1252Name);

// True for the names of the program's own files in the data folder (the lists, the settings,
// the temporary and scratch files, the lock, the exchange index files, the delivered pictures
// and folders), compared without regard to case, and for the program's temporary names with
// anything after them ("recept.tmp.3fA9c1"). Such a file must never be taken for a cookbook:
// the next rewrite of the cookbook would destroy it.
bool isProgramFileName(std::string_view cp1252Name);

// A cookbook file name as the user or a list hands it to us: plain, and not one of the
// program's own files. The message says what is wrong with it.
Result<void> checkCookbookFileName(std::string_view cp1252Name);

// Reads a whole file. It must be a regular file (a folder, a device, a FIFO or a socket is
// refused with a message) no larger than kMaxFileBytes. A missing file is ErrorCode::NotFound.
// `followLinks` is for files the user picked anywhere on disk; data files are opened without
// following a symlink.
Result<std::string> readFile(const std::filesystem::path& file, bool followLinks = true);
// A missing file reads as empty; other failures are errors.
Result<std::string> readFileOrEmpty(const std::filesystem::path& file, bool followLinks = true);

// Checks that a file the user or a list names (a picture, a file to import, a fridge file) is a
// regular file the program may read, without reading it: the same refusals as readFile (a
// folder, a device, a FIFO, a socket, a file past kMaxFileBytes, a missing file). The file is
// opened without blocking for the check, so a FIFO never holds the caller up. For files that a
// library (the picture loader) opens itself.
Result<void> checkRegularFile(const std::filesystem::path& file);

// Replaces a file's content so that a crash leaves either the old or the new file, never half
// of one: the content goes to a new file "<tempName>.XXXXXX" in the same folder, created
// exclusively without following links, every write is checked, the file is synced, renamed
// over the target, and the folder is synced. A failure removes that temporary file only.
// Without syncing (Sync::No) a crash may lose the new file but still never leaves half of
// one: that is for pages the program can write again, where thousands of syncs cost seconds.
enum class Sync { Yes, No };
Result<void> writeFileAtomic(const std::filesystem::path& target, std::string_view content,
                             std::string_view tempName, Sync sync = Sync::Yes);
// The same for content in several pieces, written one after the other: a large file is never
// put together in memory.
Result<void> writeFileAtomic(const std::filesystem::path& target,
                             std::span<const std::string_view> pieces, std::string_view tempName,
                             Sync sync = Sync::Yes);

// The same for content made while it is written: `produce` hands the pieces, one after the
// other, to the writer it is given (small pieces are gathered into blocks).
using PieceWriter = std::function<void(std::string_view piece)>;
using Producer = std::function<void(const PieceWriter& write)>;
Result<void> writeFileAtomic(const std::filesystem::path& target, const Producer& produce,
                             std::string_view tempName, Sync sync = Sync::Yes);

// Writes a file the user named for the program's output (an HTML page, a PDF) through
// writeFileAtomic: only where nothing stands yet or where a regular file stands, which is then
// replaced. A link, a folder, a device or a FIFO at that name is refused with a message that
// says so, and nothing is written: renaming over it would turn "/dev/stdout" or a link into a
// plain file, and writing through it would put the page somewhere the user did not name.
Result<void> writeOutputFile(const std::filesystem::path& target, std::string_view content);
// The check alone, for output that a library writes itself (a PDF from the printer dialog).
Result<void> checkOutputFile(const std::filesystem::path& target);

// Temporary files older than this, of the program's temporary names in the data folder, were
// left by a writer that was killed; the next writer removes them.
inline constexpr std::chrono::seconds kStaleTemporaryAge{60};

// Removes the leftovers of killed writers from a folder: regular files named like the
// temporary files writeFileAtomic makes ("<tempName>.XXXXXX", six letters or digits) for one of
// the given temporary names, last changed more than kStaleTemporaryAge ago. Nothing else is
// touched: not a user's "recept.tmp.notes", not a link, not a fresh file that a writer may be
// filling right now. The caller holds the folder's lock. Returns how many it removed.
int removeStaleTemporaries(const std::filesystem::path& dir,
                           std::span<const std::string_view> utf8TempNames);

// A folder opened once, whose files are then written relative to its descriptor: the folder
// swapped for a link to elsewhere while the files are written still receives them all, and
// nothing goes elsewhere. Each file goes through a fresh temporary file created exclusively
// and renamed over its name, so a link or a hard link planted at that name is replaced and
// never written through. No file is synced: this is for output the program can write again
// (the pages of the HTML archive).
class OpenedFolder {
public:
    OpenedFolder(OpenedFolder&& other) noexcept;
    OpenedFolder& operator=(OpenedFolder&&) = delete;
    OpenedFolder(const OpenedFolder&) = delete;
    OpenedFolder& operator=(const OpenedFolder&) = delete;
    ~OpenedFolder();

    // Opens the folder, making it first when it is missing. A link, or anything but a folder,
    // at that name is refused.
    static Result<OpenedFolder> openOrCreate(const std::filesystem::path& dir);

    const std::filesystem::path& path() const { return path_; }

    // A file being written: its pieces are gathered and written in large blocks; commit()
    // renames it over its name. One that is never committed is removed again.
    class NewFile {
    public:
        NewFile(NewFile&& other) noexcept;
        NewFile& operator=(NewFile&&) = delete;
        NewFile(const NewFile&) = delete;
        NewFile& operator=(const NewFile&) = delete;
        ~NewFile();

        // Adds bytes; a failed write is kept and reported by commit().
        void write(std::string_view bytes);
        Result<void> commit(std::string_view utf8Name);

    private:
        friend class OpenedFolder;
        NewFile(const OpenedFolder& folder, int fd, std::string temp)
            : folder_(&folder),
              fd_(fd),
              temp_(std::move(temp))
        {
        }
        void flush();

        const OpenedFolder* folder_;
        int fd_ = -1;
        std::string temp_;
        std::string buffer_;
        int error_ = 0;
    };

    // A new file at a fresh name "<tempName>.XXXXXX" in the folder.
    Result<NewFile> newFile(std::string_view utf8TempName) const;
    // The whole content at once.
    Result<void> writeFile(std::string_view utf8Name, std::string_view content,
                           std::string_view utf8TempName) const;
    // removeStaleTemporaries() for this folder.
    int removeStaleTemporaries(std::span<const std::string_view> utf8TempNames) const;

private:
    OpenedFolder(int fd, std::filesystem::path path) : fd_(fd), path_(std::move(path)) {}
    int fd_ = -1;
    std::filesystem::path path_;
};

// Creates an empty file; refuses when anything exists under that name already.
Result<void> createEmptyFile(const std::filesystem::path& file);

// A data file read piece by piece, for a reader that stops as soon as it has what it looks
// for (the viewer's look-up of one recipe in a large cookbook). It is opened and checked as
// ProgramFolder::read() opens and checks.
class FileReader {
public:
    FileReader(FileReader&& other) noexcept;
    FileReader& operator=(FileReader&&) = delete;
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;
    ~FileReader();

    // Up to `size` more bytes into `data`; 0 at the end of the file.
    Result<std::size_t> read(char* data, std::size_t size);

private:
    friend class ProgramFolder;
    FileReader(int fd, std::filesystem::path file) : fd_(fd), file_(std::move(file)) {}
    int fd_ = -1;
    std::filesystem::path file_;
    std::uintmax_t total_ = 0;
};

// The user's data folder.
class ProgramFolder {
public:
    ProgramFolder() = default;
    explicit ProgramFolder(std::filesystem::path dir) : dir_(std::move(dir)) {}

    const std::filesystem::path& path() const { return dir_; }

    // The full path of a bare Windows-1252 file name inside the folder (file names on this
    // system are UTF-8); a name that is not plain is refused.
    Result<std::filesystem::path> resolve(std::string_view cp1252Name) const;
    // True when a regular file (not a link, not a folder) of that name is there.
    bool exists(std::string_view cp1252Name) const;

    // The data files, read without following links.
    Result<std::string> read(std::string_view cp1252Name) const;
    Result<std::string> readOrEmpty(std::string_view cp1252Name) const;
    Result<FileReader> openForReading(std::string_view cp1252Name) const;
    // The atomic rewrite of a data file; it takes the folder's lock for the rename when the
    // caller does not hold it already (a read-modify-write holds it from its read on). Holding
    // the lock, it first removes the program's temporary files that killed writers left in
    // the folder (removeStaleTemporaries).
    Result<void> write(std::string_view cp1252Name, std::string_view content,
                       std::string_view tempName) const;
    Result<void> write(std::string_view cp1252Name, std::span<const std::string_view> pieces,
                       std::string_view tempName) const;
    Result<void> write(std::string_view cp1252Name, const Producer& produce,
                       std::string_view tempName) const;
    // Creates a new empty data file (a new cookbook).
    Result<void> createEmpty(std::string_view cp1252Name) const;
    // Deletes a data file; a missing one is not an error.
    Result<void> remove(std::string_view cp1252Name) const;

private:
    std::filesystem::path dir_;
};

// The data folder's advisory lock (flock on kLockFile). Hold one from the first read of a
// change to its last rename. Within one thread the lock is re-entrant: an operation that
// locks may call others that lock too. A writer that cannot get the lock within the wait
// says so and writes nothing.
class FolderLock {
public:
    FolderLock(FolderLock&& other) noexcept;
    FolderLock& operator=(FolderLock&&) = delete;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock();

    static Result<FolderLock> acquire(const ProgramFolder& folder);
    // True when this thread holds the lock of that folder.
    static bool isHeld(const ProgramFolder& folder);

    // How long a writer waits for another one to finish (a few seconds; tests shorten it).
    static void setWait(std::chrono::milliseconds wait);
    static std::chrono::milliseconds wait();

private:
    explicit FolderLock(std::string key) : key_(std::move(key)) {}
    std::string key_;  // empty once moved from
};

}  // namespace culvora
