#include "core/files/files.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
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

}  // namespace

std::filesystem::path ProgramFolder::resolve(std::string_view cp1252Name) const
{
    return dir_ / std::filesystem::path(text::toUtf8(cp1252Name));
}

bool ProgramFolder::exists(std::string_view cp1252Name) const
{
    std::error_code ignored;
    return std::filesystem::is_regular_file(resolve(cp1252Name), ignored);
}

bool isPlainFileName(std::string_view name)
{
    if (name.empty() || name == "." || name == "..") return false;
    for (char c : name) {
        auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F || c == '/' || c == '\\' || c == ':') return false;
    }
    return name.find_first_not_of(' ') != std::string_view::npos;
}

Result<std::string> readFile(const std::filesystem::path& file)
{
    Descriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) return std::unexpected(ioError("Could not open", file, errno));
    struct stat info {};
    if (::fstat(fd.get(), &info) == 0 && S_ISDIR(info.st_mode)) {
        return fail(ErrorCode::Io, "Could not read " + displayName(file) + ": it is a folder.");
    }
    std::string content;
    if (info.st_size > 0) content.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            return std::unexpected(ioError("Could not read", file, errno));
        }
        if (n == 0) break;
        content.append(buffer, static_cast<std::size_t>(n));
    }
    return content;
}

Result<std::string> readFileOrEmpty(const std::filesystem::path& file)
{
    auto content = readFile(file);
    if (!content && content.error().code == ErrorCode::NotFound) return std::string{};
    return content;
}

Result<void> writeFileAtomic(const std::filesystem::path& target, std::string_view content,
                             std::string_view tempName)
{
    const auto folder =
        target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
    const auto temp = folder / std::filesystem::path(std::string(tempName));
    auto failed = [&](const std::string& what, int error) -> Result<void> {
        ::unlink(temp.c_str());
        return std::unexpected(Error{ErrorCode::Io, what + " " + displayName(target) + ": " +
                                                        std::strerror(error) +
                                                        ". The file was not changed."});
    };

    mode_t mode = 0644;
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) mode = old.st_mode & 0777;

    Descriptor fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode));
    if (fd.get() < 0) return failed("Could not save", errno);
    const char* data = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        ssize_t n = ::write(fd.get(), data, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return failed("Could not save", errno);
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    if (::fsync(fd.get()) != 0) return failed("Could not save", errno);
    if (fd.close() != 0) return failed("Could not save", errno);
    if (::rename(temp.c_str(), target.c_str()) != 0) return failed("Could not save", errno);

    // The rename itself must reach the disk before we call the change done.
    Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
    return {};
}

Result<void> createEmptyFile(const std::filesystem::path& file)
{
    Descriptor fd(::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
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

}  // namespace culvora
