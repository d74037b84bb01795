#include "core/transfer/backup.h"

#include <sys/stat.h>
#include <unistd.h>

#include <pwd.h>

#include <algorithm>
#include <cstdlib>

#include "core/store/cookbook_list.h"
#include "core/text/text.h"

namespace culvora::transfer {

namespace {

inline constexpr std::string_view kDrinksFile = "drinkar.txt";

// Mount points in the table write blanks and backslashes as octal escapes ("\040").
std::string unescapeMountPoint(std::string_view field)
{
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const auto octal = field.substr(i + 1, 3);
            if (octal.find_first_not_of("01234567") == std::string_view::npos) {
                out += static_cast<char>((octal[0] - '0') * 64 + (octal[1] - '0') * 8 +
                                         (octal[2] - '0'));
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

std::string currentUser()
{
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_name) {
        return entry->pw_name;
    }
    const char* user = std::getenv("USER");
    return user ? user : "";
}

Result<void> copyInto(const ProgramFolder& folder, std::string_view cp1252Name,
                      const std::filesystem::path& destination)
{
    auto content = folder.read(cp1252Name);
    if (!content) return std::unexpected(content.error());
    auto target = ProgramFolder(destination).resolve(cp1252Name);
    if (!target) return std::unexpected(target.error());
    const std::string utf8Name = text::toUtf8(cp1252Name);
    return writeFileAtomic(*target, *content, utf8Name + ".tmp");
}

}  // namespace

std::optional<std::filesystem::path> firstRemovableMedium(std::string_view mountTable,
                                                          std::string_view user)
{
    if (user.empty()) return std::nullopt;
    const std::string media = "/media/" + std::string(user) + "/";
    const std::string runMedia = "/run/media/" + std::string(user) + "/";
    for (auto line : text::splitLineViews(mountTable)) {
        const auto first = line.find(' ');
        if (first == std::string_view::npos) continue;
        const auto second = line.find(' ', first + 1);
        const std::string point = unescapeMountPoint(line.substr(first + 1, second - first - 1));
        for (const std::string& root : {media, runMedia}) {
            if (point.size() > root.size() && point.starts_with(root)) return point;
        }
    }
    return std::nullopt;
}

std::optional<std::filesystem::path> removableMedium()
{
    auto table = readFile("/proc/self/mounts");
    if (!table) return std::nullopt;
    return firstRemovableMedium(*table, currentUser());
}

std::string noMediumMessage(std::string_view user)
{
    const std::string name = user.empty() ? currentUser() : std::string(user);
    return "No removable medium was found: nothing is mounted under /media/" + name +
           " or /run/media/" + name + ".";
}

bool isFridgeFileName(std::string_view name)
{
    const std::string lower = text::toLower(name);
    return isPlainFileName(name) && lower.size() > 4 && lower.ends_with(".kyl") &&
           !isProgramFileName(name);
}

std::vector<std::string> everythingElse(const ProgramFolder& folder, std::string_view except)
{
    std::vector<std::string> names;
    auto add = [&](std::string name) {
        if (name == except || !folder.exists(name)) return;
        if (std::find(names.begin(), names.end(), name) == names.end()) {
            names.push_back(std::move(name));
        }
    };
    add(std::string(kListFiles[0]));
    if (auto entries = store::CookbookList(folder).read()) {
        for (const auto& entry : *entries) {
            if (checkCookbookFileName(entry.file)) add(entry.file);
        }
    }
    for (std::size_t i = 1; i < std::size(kListFiles); ++i) add(std::string(kListFiles[i]));
    std::vector<std::string> fridgeFiles;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path(), error)) {
        auto name = text::fromUtf8(entry.path().filename().string());
        if (name && isFridgeFileName(*name)) fridgeFiles.push_back(*name);
    }
    std::sort(fridgeFiles.begin(), fridgeFiles.end());
    for (auto& name : fridgeFiles) add(std::move(name));
    return names;
}

Result<void> backup(const ProgramFolder& folder, const BackupRequest& request)
{
    std::error_code error;
    if (!std::filesystem::is_directory(request.destination, error)) {
        return fail(ErrorCode::NotFound,
                    "The destination " + request.destination.string() + " is not a folder.");
    }
    // The cookbook is named by tavendi.ini, which anyone can edit: a name that is one of the
    // program's own files, or that leaves the folder, is refused as every cookbook operation
    // refuses it, before anything is copied.
    if (request.recipes) {
        if (auto name = checkCookbookFileName(request.cookbookFile); !name) {
            return fail(name.error().code, name.error().message + " Nothing was copied.");
        }
    }
    // The copies are read while no other writer is between its read and its rename.
    auto lock = FolderLock::acquire(folder);
    if (!lock) return std::unexpected(lock.error());
    if (request.recipes) {
        if (auto copied = copyInto(folder, request.cookbookFile, request.destination); !copied) {
            return copied;
        }
    }
    if (request.drinks) {
        if (auto copied = copyInto(folder, kDrinksFile, request.destination); !copied) {
            return copied;
        }
    }
    if (request.everything) {
        for (const auto& name :
             everythingElse(folder, request.recipes ? request.cookbookFile : std::string())) {
            if (auto copied = copyInto(folder, name, request.destination); !copied) return copied;
        }
    }
    return {};
}

}  // namespace culvora::transfer
