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
#include <vector>

#include <dirent.h>
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
    return text::quotedUtf8ForMessage(file.filename().string());
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
constexpr std::array<std::string_view, 40> kProgramFiles = {
    "tavendi.ini",  "settings.tmp", "bocker.txt",   "bocker.new",      "typer.txt",   "typer.tmp",
    "recept.tmp",   "bilder.txt",   "bilder.tmp",   "drinkar.txt",     "drinkar.tmp", "sok.txt",
    "sok.tmp",      "ind.tmp",      "s\xF6k.tmp",   "s\xF6kta.txt",    "index.txt",   "network.txt",
    "netindex.txt", "exchange.ini", "exchange.tmp", "culvora.lock",    "html",        "help",
    "pics",         "sources",      "boken.gif",    "recept.gif",      "bak.gif",     "banner.gif",
    "tavendi1.gif", "tavendi3.gif", "credits.md",   "culvora.desktop", "glas",        "menu.tmp",
    "s\xF6k.new",   "s\xF6kta.new",   "papperskorg.txt", "papperskorg.tmp"};

constexpr std::array<std::string_view, 12> kTemporaryNames = {
    "settings.tmp", "bocker.new",   "typer.tmp", "recept.tmp", "bilder.tmp",  "drinkar.tmp",
    "sok.tmp",      "exchange.tmp", "menu.tmp",  "s\xF6k.new", "s\xF6kta.new", "papperskorg.tmp"};

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
                    text::quotedForMessage(cp1252Name) +
                        " is not a plain file name in the data folder. A cookbook's file name has "
                        "no folder in it, such as BOOK5.TXT.");
    }
    if (isProgramFileName(cp1252Name)) {
        return fail(ErrorCode::Invalid,
                    text::quotedForMessage(cp1252Name) +
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

Result<void> checkRegularFile(const std::filesystem::path& file)
{
    struct stat info {};
    auto opened = openReadable(file, true, info);
    if (!opened) return std::unexpected(opened.error());
    ::close(*opened);
    return {};
}

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
    if (auto checked = checkOutputFile(target); !checked) return checked;
    const std::string name = target.filename().string();
    return writeFileAtomic(target, content, (name.empty() ? std::string("output") : name) + ".tmp");
}

Result<void> checkOutputFile(const std::filesystem::path& target)
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
    return {};
}

Result<void> writeFileAtomic(const std::filesystem::path& target,
                             std::span<const std::string_view> pieces, std::string_view tempName,
                             Sync sync)
{
    return writeFileAtomic(
        target,
        [&](const PieceWriter& write) {
            for (std::string_view piece : pieces) write(piece);
        },
        tempName, sync);
}

Result<void> writeFileAtomic(const std::filesystem::path& target, const Producer& produce,
                             std::string_view tempName, Sync sync)
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
    // Small pieces are gathered and written in blocks; large ones go straight to the file.
    constexpr std::size_t kBlock = 256 * 1024;
    int writeError = 0;
    std::string block;
    auto writeOut = [&](std::string_view bytes) {
        while (!bytes.empty() && writeError == 0) {
            const ssize_t n = ::write(fd.get(), bytes.data(), bytes.size());
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) writeError = errno;
            if (n <= 0) break;
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
    };
    produce([&](std::string_view piece) {
        if (writeError != 0) return;
        if (block.size() + piece.size() > kBlock) {
            writeOut(block);
            block.clear();
        }
        if (piece.size() >= kBlock) {
            writeOut(piece);
        } else {
            if (block.capacity() < kBlock) block.reserve(kBlock);
            block += piece;
        }
    });
    writeOut(block);
    if (writeError != 0) return failed("Could not save", writeError);
    if (sync == Sync::Yes && ::fsync(fd.get()) != 0) return failed("Could not save", errno);
    if (fd.close() != 0) return failed("Could not save", errno);
    if (::rename(temp.c_str(), target.c_str()) != 0) return failed("Could not save", errno);
    if (sync == Sync::No) return {};

    // The rename itself must reach the disk before we call the change done.
    Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
    return {};
}

namespace {

// "<temp>.XXXXXX" as writeFileAtomic names its temporary files.
bool isTemporaryOf(std::string_view name, std::string_view temp)
{
    constexpr std::size_t kSuffix = 6;
    if (name.size() != temp.size() + 1 + kSuffix || !name.starts_with(temp) ||
        name[temp.size()] != '.') {
        return false;
    }
    return std::ranges::all_of(name.substr(temp.size() + 1), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    });
}

int removeStaleAt(int dirFd, std::span<const std::string_view> tempNames)
{
    // The listing gets a descriptor of its own; the caller's stays open.
    const int listed = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listed < 0) return 0;
    DIR* dir = ::fdopendir(listed);
    if (!dir) {
        ::close(listed);
        return 0;
    }
    const auto now = std::chrono::system_clock::now();
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (!std::ranges::any_of(
                tempNames, [&](std::string_view temp) { return isTemporaryOf(name, temp); })) {
            continue;
        }
        struct stat info {};
        if (::fstatat(dirFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode)) {
            continue;
        }
        const auto changed = std::chrono::system_clock::time_point(
            std::chrono::duration_cast<std::chrono::system_clock::duration>(
                std::chrono::seconds(info.st_mtim.tv_sec) +
                std::chrono::nanoseconds(info.st_mtim.tv_nsec)));
        if (now - changed < kStaleTemporaryAge) continue;
        if (::unlinkat(dirFd, entry->d_name, 0) == 0) ++removed;
    }
    ::closedir(dir);
    return removed;
}

}  // namespace

int removeStaleTemporaries(const std::filesystem::path& dir,
                           std::span<const std::string_view> utf8TempNames)
{
    Descriptor fd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() < 0) return 0;
    return removeStaleAt(fd.get(), utf8TempNames);
}

// --- OpenedFolder ----------------------------------------------------------------------------

OpenedFolder::OpenedFolder(OpenedFolder&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      path_(std::move(other.path_))
{
}

OpenedFolder::~OpenedFolder()
{
    if (fd_ >= 0) ::close(fd_);
}

Result<OpenedFolder> OpenedFolder::openOrCreate(const std::filesystem::path& dir)
{
    auto refused = [&](const std::string& why) {
        return fail(ErrorCode::Refused, "Nothing was written: " + dir.string() + " is " + why +
                                            ", not a folder of its own.");
    };
    const int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    int fd = ::open(dir.c_str(), flags);
    if (fd < 0 && errno == ENOENT) {
        if (::mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) {
            return fail(ErrorCode::Io, "Could not create the folder " + dir.string() + ": " +
                                           std::strerror(errno) + ".");
        }
        fd = ::open(dir.c_str(), flags);
    }
    if (fd < 0) {
        const int error = errno;
        struct stat info {};
        if (::lstat(dir.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) return refused("a link");
        if (error == ENOTDIR) return refused("a file");
        return fail(ErrorCode::Io, "Could not open the folder " + dir.string() + ": " +
                                       std::strerror(error) + ".");
    }
    return OpenedFolder(fd, dir);
}

int OpenedFolder::removeStaleTemporaries(std::span<const std::string_view> utf8TempNames) const
{
    return removeStaleAt(fd_, utf8TempNames);
}

Result<OpenedFolder::NewFile> OpenedFolder::newFile(std::string_view utf8TempName) const
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string temp = std::string(utf8TempName) + "." + uniqueSuffix();
        const int fd =
            ::openat(fd_, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd >= 0) return NewFile(*this, fd, std::move(temp));
        if (errno != EEXIST) {
            return fail(ErrorCode::Io,
                        "Could not write in " + path_.string() + ": " + std::strerror(errno) + ".");
        }
    }
    return fail(ErrorCode::Io,
                "Could not write in " + path_.string() + ": " + std::strerror(EEXIST) + ".");
}

Result<void> OpenedFolder::writeFile(std::string_view utf8Name, std::string_view content,
                                     std::string_view utf8TempName) const
{
    auto file = newFile(utf8TempName);
    if (!file) return std::unexpected(file.error());
    file->write(content);
    return file->commit(utf8Name);
}

OpenedFolder::NewFile::NewFile(NewFile&& other) noexcept
    : folder_(other.folder_),
      fd_(std::exchange(other.fd_, -1)),
      temp_(std::exchange(other.temp_, {})),
      buffer_(std::move(other.buffer_)),
      error_(other.error_)
{
}

OpenedFolder::NewFile::~NewFile()
{
    if (fd_ >= 0) ::close(fd_);
    if (!temp_.empty()) ::unlinkat(folder_->fd_, temp_.c_str(), 0);
}

void OpenedFolder::NewFile::flush()
{
    std::size_t done = 0;
    while (error_ == 0 && done < buffer_.size()) {
        const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) error_ = errno;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    buffer_.clear();
}

void OpenedFolder::NewFile::write(std::string_view bytes)
{
    constexpr std::size_t kBlock = 256 * 1024;
    if (error_ != 0) return;
    if (buffer_.capacity() < kBlock) buffer_.reserve(kBlock);
    while (!bytes.empty()) {
        const std::size_t room = kBlock - buffer_.size();
        const std::size_t taken = std::min(room, bytes.size());
        buffer_.append(bytes.data(), taken);
        bytes.remove_prefix(taken);
        if (buffer_.size() == kBlock) flush();
    }
}

Result<void> OpenedFolder::NewFile::commit(std::string_view utf8Name)
{
    const std::string name(utf8Name);
    flush();
    if (error_ == 0 && ::close(std::exchange(fd_, -1)) != 0) error_ = errno;
    if (error_ == 0 && ::renameat(folder_->fd_, temp_.c_str(), folder_->fd_, name.c_str()) != 0) {
        error_ = errno;
    }
    if (error_ != 0) {
        return fail(ErrorCode::Io, "Could not write " + (folder_->path_ / name).string() + ": " +
                                       std::strerror(error_) + ".");
    }
    temp_.clear();
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
                    text::quotedForMessage(cp1252Name) +
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
    return write(
        cp1252Name,
        [&](const PieceWriter& write) {
            for (std::string_view piece : pieces) write(piece);
        },
        tempName);
}

Result<void> ProgramFolder::write(std::string_view cp1252Name, const Producer& produce,
                                  std::string_view tempName) const
{
    auto file = resolve(cp1252Name);
    if (!file) return std::unexpected(file.error());
    auto lock = FolderLock::acquire(*this);
    if (!lock) return std::unexpected(lock.error());
    // Holding the lock, no other writer of ours is between its temporary file and its rename:
    // an old temporary file is a killed writer's.
    static const std::vector<std::string> temporaries = [] {
        std::vector<std::string> names;
        for (std::string_view name : kTemporaryNames) names.push_back(text::toUtf8(name));
        return names;
    }();
    std::vector<std::string_view> names(temporaries.begin(), temporaries.end());
    removeStaleTemporaries(dir_, names);
    return writeFileAtomic(*file, produce, tempName);
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
