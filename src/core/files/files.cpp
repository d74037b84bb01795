#include "core/files/files.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <random>
#include <thread>
#include <unordered_map>
#include <utility>

#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/text/text.h"

namespace culvora {

namespace {

std::string displayName(const std::filesystem::path& file)
{
    return "\"" + file.filename().string() + "\"";
}

Error ioError(const std::string& what, const std::filesystem::path& file, int error)
{
    return Error{error == ENOENT ? ErrorCode::NotFound : ErrorCode::Io,
                 what + " " + displayName(file) + ": " + std::strerror(error) + "."};
}

// Closes a descriptor on every path out of a function.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Hands the descriptor over to the caller, who closes it.
    int release() { return std::exchange(fd_, -1); }
    // Closes now and reports the result (a delayed write error shows up here).
    int close()
    {
        int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

// The names of the program's own files and folders in the data folder, lower case. Temporary
// names also stand for the unique names made from them.
constexpr std::array<std::string_view, 38> kProgramFiles = {
    "tavendi.ini",  "settings.tmp", "bocker.txt",   "bocker.new",      "typer.txt",   "typer.tmp",
    "recept.tmp",   "bilder.txt",   "bilder.tmp",   "drinkar.txt",     "drinkar.tmp", "sok.txt",
    "sok.tmp",      "ind.tmp",      "s\xF6k.tmp",   "s\xF6kta.txt",    "index.txt",   "network.txt",
    "netindex.txt", "exchange.ini", "exchange.tmp", "culvora.lock",    "html",        "help",
    "pics",         "sources",      "boken.gif",    "recept.gif",      "bak.gif",     "banner.gif",
    "tavendi1.gif", "tavendi3.gif", "credits.md",   "culvora.desktop", "glas",        "menu.tmp",
    "s\xF6k.new",   "s\xF6kta.new"};

constexpr std::array<std::string_view, 11> kTemporaryNames = {
    "settings.tmp", "bocker.new",   "typer.tmp", "recept.tmp", "bilder.tmp",  "drinkar.tmp",
    "sok.tmp",      "exchange.tmp", "menu.tmp",  "s\xF6k.new", "s\xF6kta.new"};

std::string quoted(std::string_view cp1252)
{
    return "\"" + text::toUtf8(cp1252) + "\"";
}

// What open() and fstat() say about a file we are about to read.
Result<void> checkReadable(const std::filesystem::path& file, const struct stat& info)
{
    if (S_ISDIR(info.st_mode)) {
        return fail(ErrorCode::Invalid,
                    "Could not read " + displayName(file) + ": it is a folder.");
    }
    if (!S_ISREG(info.st_mode)) {
        return fail(ErrorCode::Invalid, "Could not read " + displayName(file) +
                                            ": it is not an ordinary file (a device, a pipe or a "
                                            "socket).");
    }
    if (static_cast<std::uintmax_t>(info.st_size) > kMaxFileBytes) {
        return fail(ErrorCode::Invalid,
                    "Could not read " + displayName(file) + ": it holds " +
                        std::to_string(static_cast<std::uintmax_t>(info.st_size) / (1024 * 1024)) +
                        " MB, more than the " + std::to_string(kMaxFileBytes / (1024 * 1024)) +
                        " MB the program reads.");
    }
    return {};
}

std::string uniqueSuffix()
{
    static constexpr std::string_view kAlphabet =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937_64 random{std::random_device{}() ^
                                        static_cast<std::uint64_t>(::getpid()) << 32};
    std::string suffix(6, 'x');
    for (char& c : suffix) c = kAlphabet[random() % kAlphabet.size()];
    return suffix;
}

void adviseHugePages(char* data, std::size_t size)
{
    constexpr std::uintptr_t kHuge = 2 * 1024 * 1024;
    if (size < 4 * kHuge) return;
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + kHuge - 1) & ~(kHuge - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + size) & ~(kHuge - 1);
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

}  // namespace

bool isPlainFileName(std::string_view name)
{
    if (name.empty() || name == "." || name == "..") return false;
    for (char c : name) {
        auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F || c == '/' || c == '\\' || c == ':') return false;
    }
    return name.find_first_not_of(' ') != std::string_view::npos;
}

bool isProgramFileName(std::string_view cp1252Name)
{
    const std::string lower = text::toLower(cp1252Name);
    if (std::ranges::find(kProgramFiles, std::string_view(lower)) != kProgramFiles.end()) {
        return true;
    }
    return std::ranges::any_of(kTemporaryNames, [&](std::string_view temp) {
        return lower.size() > temp.size() && lower.starts_with(temp) && lower[temp.size()] == '.';
    });
}

Result<void> checkCookbookFileName(std::string_view cp1252Name)
{
    if (!isPlainFileName(cp1252Name)) {
        return fail(ErrorCode::Invalid,
                    quoted(cp1252Name) +
                        " is not a plain file name in the data folder. A cookbook's file name has "
                        "no folder in it, such as BOOK5.TXT.");
    }
    if (isProgramFileName(cp1252Name)) {
        return fail(ErrorCode::Invalid,
                    quoted(cp1252Name) +
                        " is one of the program's own files and cannot hold a cookbook. Please "
                        "choose another file name, such as BOOK5.TXT.");
    }
    return {};
}

namespace {

// Opens a file for reading and checks it (see readFile); the descriptor is the caller's.
Result<int> openReadable(const std::filesystem::path& file, bool followLinks, struct stat& info)
{
    // Non-blocking, so that opening a FIFO returns at once and is refused below.
    const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | (followLinks ? 0 : O_NOFOLLOW);
    Descriptor fd(::open(file.c_str(), flags));
    if (fd.get() < 0) {
        if (errno == ELOOP && !followLinks) {
            return fail(ErrorCode::Invalid, "Could not read " + displayName(file) +
                                                ": it is a symbolic link, and the program only "
                                                "reads its own files in the data folder.");
        }
        return std::unexpected(ioError("Could not open", file, errno));
    }
    if (::fstat(fd.get(), &info) != 0)
        return std::unexpected(ioError("Could not read", file, errno));
    if (auto readable = checkReadable(file, info); !readable)
        return std::unexpected(readable.error());
    return fd.release();
}

}  // namespace

Result<std::string> readFile(const std::filesystem::path& file, bool followLinks)
{
    struct stat info {};
    auto opened = openReadable(file, followLinks, info);
    if (!opened) return std::unexpected(opened.error());
    Descriptor fd(*opened);
    std::string content;
    // The bytes go straight into the string. A large file's buffer asks for huge pages, so
    // that 80 MB arrive without twenty thousand page faults (a third of a cookbook's reading
    // time otherwise); where the system has none, nothing changes.
    int readError = 0;
    if (info.st_size > 0) {
        content.resize_and_overwrite(
            static_cast<std::size_t>(info.st_size), [&](char* data, std::size_t size) {
                adviseHugePages(data, size);
                std::size_t got = 0;
                while (got < size) {
                    const ssize_t n = ::read(fd.get(), data + got, size - got);
                    if (n < 0 && errno == EINTR) continue;
                    if (n < 0) readError = errno;
                    if (n <= 0) break;
                    got += static_cast<std::size_t>(n);
                }
                return got;
            });
        if (readError != 0) return std::unexpected(ioError("Could not read", file, readError));
    }
    // Whatever the size said: a file that grew meanwhile, or one that reports no size.
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            return std::unexpected(ioError("Could not read", file, errno));
        }
        if (n == 0) break;
        content.append(buffer, static_cast<std::size_t>(n));
        // A file that grows while we read it is held to the same limit.
        if (content.size() > kMaxFileBytes) {
            info.st_size = static_cast<off_t>(content.size());
            return std::unexpected(checkReadable(file, info).error());
        }
    }
    return content;
}

Result<std::string> readFileOrEmpty(const std::filesystem::path& file, bool followLinks)
{
    auto content = readFile(file, followLinks);
    if (!content && content.error().code == ErrorCode::NotFound) return std::string{};
    return content;
}

Result<void> writeFileAtomic(const std::filesystem::path& target, std::string_view content,
                             std::string_view tempName, Sync sync)
{
    return writeFileAtomic(target, std::span<const std::string_view>(&content, 1), tempName, sync);
}

Result<void> writeOutputFile(const std::filesystem::path& target, std::string_view content)
{
    struct stat info {};
    if (::lstat(target.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        const char* what = S_ISLNK(info.st_mode)    ? "a link"
                           : S_ISDIR(info.st_mode)  ? "a folder"
                           : S_ISFIFO(info.st_mode) ? "a FIFO"
                           : S_ISSOCK(info.st_mode) ? "a socket"
                                                    : "a device";
        return fail(ErrorCode::Refused, "Nothing was written: " + target.string() + " is " + what +
                                            ", not a file. Name a new file, or a file to "
                                            "replace.");
    }
    const std::string name = target.filename().string();
    return writeFileAtomic(target, content, (name.empty() ? std::string("output") : name) + ".tmp");
}

Result<void> writeFileAtomic(const std::filesystem::path& target,
                             std::span<const std::string_view> pieces, std::string_view tempName,
                             Sync sync)
{
    const auto folder =
        target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
    std::filesystem::path temp;
    auto failed = [&](const std::string& what, int error) -> Result<void> {
        if (!temp.empty()) ::unlink(temp.c_str());
        return std::unexpected(Error{ErrorCode::Io, what + " " + displayName(target) + ": " +
                                                        std::strerror(error) +
                                                        ". The file was not changed."});
    };

    mode_t mode = 0644;
    struct stat old {};
    if (::lstat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) mode = old.st_mode & 0777;

    // A fresh name every time, created exclusively and never through a link: whatever lies at
    // the temporary name (a stale file, a planted symlink) is left alone.
    int descriptor = -1;
    for (int attempt = 0; attempt < 100 && descriptor < 0; ++attempt) {
        temp = folder / std::filesystem::path(std::string(tempName) + "." + uniqueSuffix());
        descriptor =
            ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (descriptor < 0 && errno != EEXIST) {
            const int error = errno;
            temp.clear();
            return failed("Could not save", error);
        }
    }
    if (descriptor < 0) {
        temp.clear();
        return failed("Could not save", EEXIST);
    }
    Descriptor fd(descriptor);
    if (::fchmod(fd.get(), mode) != 0) return failed("Could not save", errno);
    for (std::string_view piece : pieces) {
        const char* data = piece.data();
        std::size_t left = piece.size();
        while (left > 0) {
            ssize_t n = ::write(fd.get(), data, left);
            if (n < 0) {
                if (errno == EINTR) continue;
                return failed("Could not save", errno);
            }
            data += n;
            left -= static_cast<std::size_t>(n);
        }
    }
    if (sync == Sync::Yes && ::fsync(fd.get()) != 0) return failed("Could not save", errno);
    if (fd.close() != 0) return failed("Could not save", errno);
    if (::rename(temp.c_str(), target.c_str()) != 0) return failed("Could not save", errno);
    if (sync == Sync::No) return {};

    // The rename itself must reach the disk before we call the change done.
    Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
    return {};
}

Result<void> createEmptyFile(const std::filesystem::path& file)
{
    Descriptor fd(::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (fd.get() < 0) {
        if (errno == EEXIST) {
            return fail(ErrorCode::Refused, "The file " + displayName(file) + " already exists.");
        }
        return std::unexpected(ioError("Could not create", file, errno));
    }
    if (::fsync(fd.get()) != 0 || fd.close() != 0) {
        return std::unexpected(ioError("Could not create", file, errno));
    }
    return {};
}

// --- ProgramFolder ---------------------------------------------------------------------------

Result<std::filesystem::path> ProgramFolder::resolve(std::string_view cp1252Name) const
{
    if (!isPlainFileName(cp1252Name)) {
        return fail(ErrorCode::Invalid,
                    quoted(cp1252Name) +
                        " is not a plain file name: the program only uses files inside its data "
                        "folder.");
    }
    return dir_ / std::filesystem::path(text::toUtf8(cp1252Name));
}

bool ProgramFolder::exists(std::string_view cp1252Name) const
{
    auto file = resolve(cp1252Name);
    if (!file) return false;
    std::error_code ignored;
    return std::filesystem::is_regular_file(std::filesystem::symlink_status(*file, ignored));
}

Result<std::string> ProgramFolder::read(std::string_view cp1252Name) const
{
    auto file = resolve(cp1252Name);
    if (!file) return std::unexpected(file.error());
    return readFile(*file, false);
}

Result<FileReader> ProgramFolder::openForReading(std::string_view cp1252Name) const
{
    auto file = resolve(cp1252Name);
    if (!file) return std::unexpected(file.error());
    struct stat info {};
    auto opened = openReadable(*file, false, info);
    if (!opened) return std::unexpected(opened.error());
    return FileReader(*opened, *file);
}

FileReader::FileReader(FileReader&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      file_(std::move(other.file_)),
      total_(other.total_)
{
}

FileReader::~FileReader()
{
    if (fd_ >= 0) ::close(fd_);
}

Result<std::size_t> FileReader::read(char* data, std::size_t size)
{
    for (;;) {
        const ssize_t n = ::read(fd_, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::unexpected(ioError("Could not read", file_, errno));
        total_ += static_cast<std::uintmax_t>(n);
        // A file that grows while we read it is held to the same limit.
        if (total_ > kMaxFileBytes) {
            struct stat info {};
            info.st_mode = S_IFREG;
            info.st_size = static_cast<off_t>(total_);
            return std::unexpected(checkReadable(file_, info).error());
        }
        return static_cast<std::size_t>(n);
    }
}

Result<std::string> ProgramFolder::readOrEmpty(std::string_view cp1252Name) const
{
    auto file = resolve(cp1252Name);
    if (!file) return std::unexpected(file.error());
    return readFileOrEmpty(*file, false);
}

Result<void> ProgramFolder::write(std::string_view cp1252Name, std::string_view content,
                                  std::string_view tempName) const
{
    return write(cp1252Name, std::span<const std::string_view>(&content, 1), tempName);
}

Result<void> ProgramFolder::write(std::string_view cp1252Name,
                                  std::span<const std::string_view> pieces,
                                  std::string_view tempName) const
{
    auto file = resolve(cp1252Name);
    if (!file) return std::unexpected(file.error());
    auto lock = FolderLock::acquire(*this);
    if (!lock) return std::unexpected(lock.error());
    return writeFileAtomic(*file, pieces, tempName);
}

Result<void> ProgramFolder::createEmpty(std::string_view cp1252Name) const
{
    auto file = resolve(cp1252Name);
    if (!file) return std::unexpected(file.error());
    return createEmptyFile(*file);
}

Result<void> ProgramFolder::remove(std::string_view cp1252Name) const
{
    auto file = resolve(cp1252Name);
    if (!file) return std::unexpected(file.error());
    if (::unlink(file->c_str()) != 0 && errno != ENOENT) {
        return std::unexpected(ioError("Could not delete", *file, errno));
    }
    return {};
}

// --- FolderLock ------------------------------------------------------------------------------

namespace {

struct HeldLock {
    int fd = -1;
    int depth = 0;
};

// The locks this thread holds, by folder. flock() locks belong to an open file description,
// so a second open() by the same thread would wait for itself; nesting reuses the first.
thread_local std::unordered_map<std::string, HeldLock> heldLocks;

std::atomic<long long> lockWaitMs{5000};

// A forked child starts with a copy of the parent's table, but its descriptors share the
// parent's lock: it must take its own.
void forgetLocksInChild()
{
    for (auto& [key, held] : heldLocks) ::close(held.fd);
    heldLocks.clear();
}

[[maybe_unused]] const bool atForkRegistered = [] {
    ::pthread_atfork(nullptr, nullptr, forgetLocksInChild);
    return true;
}();

std::string lockKey(const ProgramFolder& folder)
{
    std::error_code ignored;
    auto absolute = std::filesystem::absolute(folder.path(), ignored);
    return (absolute.empty() ? folder.path() : absolute).lexically_normal().string();
}

}  // namespace

FolderLock::FolderLock(FolderLock&& other) noexcept : key_(std::exchange(other.key_, {}))
{
}

FolderLock::~FolderLock()
{
    if (key_.empty()) return;
    auto it = heldLocks.find(key_);
    if (it == heldLocks.end()) return;
    if (--it->second.depth > 0) return;
    ::flock(it->second.fd, LOCK_UN);
    ::close(it->second.fd);
    heldLocks.erase(it);
}

Result<FolderLock> FolderLock::acquire(const ProgramFolder& folder)
{
    std::string key = lockKey(folder);
    if (auto it = heldLocks.find(key); it != heldLocks.end()) {
        ++it->second.depth;
        return FolderLock(std::move(key));
    }
    const auto file = folder.path() / std::string(kLockFile);
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        return fail(ErrorCode::Io, "Could not lock the data folder \"" + folder.path().string() +
                                       "\" for a change: " + std::strerror(errno) +
                                       ". Nothing was saved.");
    }
    const auto deadline = std::chrono::steady_clock::now() + wait();
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) break;
        if (errno != EWOULDBLOCK && errno != EINTR) {
            const int error = errno;
            ::close(fd);
            return fail(ErrorCode::Io,
                        "Could not lock the data folder \"" + folder.path().string() +
                            "\" for a change: " + std::strerror(error) + ". Nothing was saved.");
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            ::close(fd);
            return fail(ErrorCode::Refused,
                        "Another program is changing the cookbooks in \"" + folder.path().string() +
                            "\" right now. Nothing was saved; please try again in a moment.");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    heldLocks.emplace(key, HeldLock{fd, 1});
    return FolderLock(std::move(key));
}

bool FolderLock::isHeld(const ProgramFolder& folder)
{
    return heldLocks.contains(lockKey(folder));
}

void FolderLock::setWait(std::chrono::milliseconds wait)
{
    lockWaitMs = wait.count();
}

std::chrono::milliseconds FolderLock::wait()
{
    return std::chrono::milliseconds(lockWaitMs.load());
}

}  // namespace culvora
