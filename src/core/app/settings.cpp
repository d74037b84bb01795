#include "core/app/settings.h"

#include <cstdlib>

#include "core/text/text.h"

namespace culvora::app {

Settings readSettings(const ProgramFolder& folder)
{
    Settings settings;
    auto content = folder.read(kSettingsFile);
    if (!content) return settings;
    text::LineReader reader(*content);
    if (auto first = reader.next()) {
        settings.cookbookFile = std::string(*first);
        settings.found = !settings.cookbookFile.empty();
    }
    if (auto second = reader.next()) settings.tips = *second == "1";
    return settings;
}

Result<void> writeSettings(const ProgramFolder& folder, std::string_view cookbookFile, bool tips)
{
    std::string content(cookbookFile);
    content += text::kCrLf;
    content += tips ? "1" : "0";
    content += text::kCrLf;
    return folder.write(kSettingsFile, content, kSettingsTemp);
}

std::string startCookbook(const ProgramFolder& folder)
{
    const auto settings = readSettings(folder);
    if (settings.found) return settings.cookbookFile;
    auto books = store::CookbookList(folder).read();
    auto fallback = books ? store::fallbackCookbook(*books) : std::nullopt;
    return fallback ? fallback->file : std::string(kStandardCookbookFile);
}

Result<void> checkCookbookFile(const ProgramFolder& folder, std::string_view file)
{
    if (auto name = checkCookbookFileName(file); !name) return name;
    if (!store::Cookbook(folder, std::string(file)).exists()) {
        return fail(ErrorCode::NotFound, "The cookbook file " + text::quotedForMessage(file) +
                                             " could not be found in " + folder.path().string() +
                                             ".");
    }
    return {};
}

Result<std::string> useCookbook(const ProgramFolder& folder, std::string_view title, bool tips)
{
    auto lock = FolderLock::acquire(folder);
    if (!lock) return std::unexpected(lock.error());
    auto file = store::CookbookList(folder).fileOf(title);
    if (!file) return file;
    if (auto usable = checkCookbookFile(folder, *file); !usable) {
        return fail(usable.error().code, usable.error().message +
                                             " Please choose another cookbook, or delete this "
                                             "one from the list.");
    }
    if (auto written = writeSettings(folder, *file, tips); !written) {
        return std::unexpected(written.error());
    }
    return file;
}

Result<std::optional<store::CookbookEntry>> useFallbackCookbook(const ProgramFolder& folder,
                                                                bool tips)
{
    auto lock = FolderLock::acquire(folder);
    if (!lock) return std::unexpected(lock.error());
    auto entries = store::CookbookList(folder).read();
    if (!entries) return std::unexpected(entries.error());
    auto fallback = store::fallbackCookbook(*entries);
    if (!fallback) return std::optional<store::CookbookEntry>{};
    if (auto written = writeSettings(folder, fallback->file, tips); !written) {
        return std::unexpected(written.error());
    }
    return fallback;
}

namespace {

// True when something (a file, a folder, a link, even a dangling one) has this name.
bool taken(const std::filesystem::path& path)
{
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
}

// Copies one delivered file under a temporary name and renames it into place, so that an
// interrupted first start never leaves half a file that would then count as the user's.
Result<bool> seedFile(const std::filesystem::path& source, const std::filesystem::path& target)
{
    namespace fs = std::filesystem;
    std::error_code error;
    if (!fs::is_regular_file(source, error)) return false;  // not delivered: nothing to seed
    const fs::path temporary = target.parent_path() / (target.filename().string() + ".seed");
    fs::copy_file(source, temporary, fs::copy_options::overwrite_existing, error);
    if (!error) fs::rename(temporary, target, error);
    if (error) {
        fs::remove(temporary, error);
        return fail(ErrorCode::Io, "Could not copy \"" + target.filename().string() +
                                       "\" into the data folder: " + error.message() + ".");
    }
    return true;
}

}  // namespace

Result<int> seedDataFolder(const std::filesystem::path& source, const std::filesystem::path& target)
{
    namespace fs = std::filesystem;
    std::error_code error;
    if (!fs::is_directory(source, error)) {
        return fail(ErrorCode::NotFound,
                    "The delivered data folder \"" + source.string() + "\" could not be read" +
                        (error ? ": " + error.message() : std::string()) + ".");
    }
    fs::create_directories(target, error);
    if (error) {
        return fail(ErrorCode::Io, "Could not create the data folder \"" + target.string() +
                                       "\": " + error.message() + ".");
    }
    const bool newList = !taken(target / "bocker.txt");
    int copied = 0;
    for (const std::string_view name : kSeededFiles) {
        const bool comesWithTheList = name == "BOOK1.TXT" || name == "tavendi.ini";
        if (comesWithTheList && !newList) continue;
        const fs::path destination = target / name;
        if (taken(destination)) continue;
        auto seeded = seedFile(source / name, destination);
        if (!seeded) return std::unexpected(seeded.error());
        if (*seeded) ++copied;
    }
    return copied;
}

std::filesystem::path deliveredFile(const std::filesystem::path& dataFolder,
                                    const std::filesystem::path& delivered,
                                    const std::filesystem::path& relative)
{
    std::error_code ignored;
    const auto own = dataFolder / relative;
    if (delivered.empty() || std::filesystem::is_regular_file(own, ignored)) return own;
    return delivered / relative;
}

Result<std::filesystem::path> dataFolder(std::string_view explicitDir)
{
    if (!explicitDir.empty()) return std::filesystem::path(std::string(explicitDir));
    if (const char* env = std::getenv("CULVORA_DATA_DIR"); env && *env) {
        return std::filesystem::path(env);
    }
    if (const char* xdg = std::getenv("XDG_DATA_HOME");
        xdg && *xdg && std::filesystem::path(xdg).is_absolute()) {
        return std::filesystem::path(xdg) / "culvora";
    }
    const char* home = std::getenv("HOME");
    if (!home || !std::filesystem::path(home).is_absolute()) {
        return fail(ErrorCode::NotFound, std::string(kNoDataFolderMessage));
    }
    return std::filesystem::path(home) / ".local" / "share" / "culvora";
}

std::filesystem::path deliveredData(const std::filesystem::path& executableFolder,
                                    const std::filesystem::path& sourceTreeData)
{
    std::error_code ignored;
    if (!executableFolder.empty()) {
        const auto installed = executableFolder / ".." / "share" / "culvora";
        if (std::filesystem::is_directory(installed, ignored)) return installed.lexically_normal();
    }
    return sourceTreeData;
}

std::filesystem::path executableFolder()
{
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : self.parent_path();
}

}  // namespace culvora::app
