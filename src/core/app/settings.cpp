#include "core/app/settings.h"

#include <cstdlib>

#include "core/text/text.h"

namespace culvora::app {

Settings readSettings(const ProgramFolder& folder)
{
    Settings settings;
    auto content = readFile(folder.resolve(kSettingsFile));
    if (!content) return settings;
    text::LineReader reader(*content);
    if (auto first = reader.next()) {
        settings.cookbookFile = std::string(*first);
        settings.found = !settings.cookbookFile.empty();
    }
    return settings;
}

Result<void> writeSettings(const ProgramFolder& folder, std::string_view cookbookFile, bool tips)
{
    std::string content(cookbookFile);
    content += text::kCrLf;
    content += tips ? "1" : "0";
    content += text::kCrLf;
    return writeFileAtomic(folder.resolve(kSettingsFile), content, "settings.tmp");
}

Result<int> seedDataFolder(const std::filesystem::path& source, const std::filesystem::path& target)
{
    namespace fs = std::filesystem;
    std::error_code error;
    fs::create_directories(target, error);
    if (error) {
        return fail(ErrorCode::Io, "Could not create the data folder \"" + target.string() +
                                       "\": " + error.message() + ".");
    }
    int copied = 0;
    fs::recursive_directory_iterator it(source, error);
    if (error) {
        return fail(ErrorCode::NotFound, "The delivered data folder \"" + source.string() +
                                             "\" could not be read: " + error.message() + ".");
    }
    for (; it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (error) break;
        const auto relative = fs::relative(it->path(), source, error);
        const auto destination = target / relative;
        if (it->is_directory()) {
            fs::create_directories(destination, error);
        } else if (it->is_regular_file() && !fs::exists(destination)) {
            // A user's file is never overwritten: only what is missing is copied.
            fs::copy_file(it->path(), destination, fs::copy_options::skip_existing, error);
            if (!error) ++copied;
        }
        if (error) {
            return fail(ErrorCode::Io, "Could not copy \"" + relative.string() +
                                           "\" into the data folder: " + error.message() + ".");
        }
    }
    if (error) {
        return fail(ErrorCode::Io, "Could not read the delivered data: " + error.message() + ".");
    }
    return copied;
}

std::filesystem::path dataFolder(std::string_view explicitDir)
{
    if (!explicitDir.empty()) return std::filesystem::path(std::string(explicitDir));
    if (const char* env = std::getenv("CULVORA_DATA_DIR"); env && *env) return env;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
        return std::filesystem::path(xdg) / "culvora";
    }
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home && *home ? home : ".") / ".local" / "share" / "culvora";
}

}  // namespace culvora::app
