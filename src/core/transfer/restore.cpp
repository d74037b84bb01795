#include "core/transfer/restore.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "core/store/cookbook.h"
#include "core/store/cookbook_list.h"
#include "core/text/text.h"
#include "core/transfer/backup.h"

namespace culvora::transfer {

namespace {

std::string localTime(std::time_t when)
{
    std::tm local{};
    ::localtime_r(&when, &local);
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min);
    return stamp;
}

// The temporary file a data file is rewritten through: the one its own writer uses.
std::string_view tempFor(std::string_view name)
{
    const std::string lower = text::toLower(name);
    if (lower == "drinkar.txt") return "drinkar.tmp";
    if (lower == "bocker.txt") return "bocker.new";
    if (lower == "bilder.txt") return "bilder.tmp";
    if (lower == "typer.txt") return "typer.tmp";
    if (lower == "sok.txt") return "sok.tmp";
    return store::kRewriteTemp;
}

void addUnique(std::vector<std::string>& names, std::string name)
{
    if (std::find(names.begin(), names.end(), name) == names.end()) {
        names.push_back(std::move(name));
    }
}

}  // namespace

Result<RestorePlan> planRestore(const ProgramFolder& folder, const std::filesystem::path& source,
                                const std::string& currentCookbook)
{
    std::error_code error;
    if (!std::filesystem::is_directory(source, error)) {
        return fail(ErrorCode::NotFound, "The backup " + source.string() + " is not a folder.");
    }
    const ProgramFolder backup(source);
    RestorePlan plan;
    plan.source = source;

    // The names a restore may take, in the order it takes them: the cookbooks, the drinks,
    // then the lists and the fridge files.
    std::vector<std::string> cookbooks;
    if (!currentCookbook.empty()) addUnique(cookbooks, currentCookbook);
    for (const ProgramFolder* listed : {&folder, &backup}) {
        auto entries = store::CookbookList(*listed).read();
        if (!entries) continue;
        for (const auto& entry : *entries) addUnique(cookbooks, entry.file);
    }
    std::vector<std::string> names;
    for (auto& cookbook : cookbooks) {
        if (!checkCookbookFileName(cookbook)) {
            if (backup.exists(cookbook)) {
                plan.notes.push_back(text::quotedForMessage(cookbook) +
                                     " is not a cookbook's file name; it was left out.");
            }
            continue;
        }
        addUnique(names, cookbook);
    }
    addUnique(names, "drinkar.txt");
    for (auto name : kListFiles) addUnique(names, std::string(name));
    std::vector<std::string> fridgeFiles;
    for (const auto& entry : std::filesystem::directory_iterator(source, error)) {
        auto name = text::fromUtf8(entry.path().filename().string());
        if (name && isFridgeFileName(*name)) fridgeFiles.push_back(*name);
    }
    std::sort(fridgeFiles.begin(), fridgeFiles.end());
    for (auto& name : fridgeFiles) addUnique(names, std::move(name));

    for (const auto& name : names) {
        auto path = backup.resolve(name);
        if (!path) continue;
        struct stat info {};
        if (::lstat(path->c_str(), &info) != 0) continue;  // the backup does not hold it
        const std::string shown = text::quotedForMessage(name);
        if (!S_ISREG(info.st_mode)) {
            plan.notes.push_back(shown + " in the backup is not an ordinary file (a link, a "
                                         "folder or a device); it was left out.");
            continue;
        }
        const auto size = static_cast<std::uintmax_t>(info.st_size);
        if (size > kMaxFileBytes) {
            plan.notes.push_back(shown + " in the backup is larger than the program reads; it "
                                         "was left out.");
            continue;
        }
        plan.items.push_back({name, size, localTime(info.st_mtime), folder.exists(name)});
    }
    return plan;
}

Result<void> restore(const ProgramFolder& folder, const RestorePlan& plan)
{
    auto lock = FolderLock::acquire(folder);
    if (!lock) return std::unexpected(lock.error());
    const ProgramFolder backup(plan.source);
    std::string done;
    for (const auto& item : plan.items) {
        auto content = backup.read(item.file);  // a regular file again, not followed if a link
        Result<void> written =
            content ? folder.write(item.file, *content, tempFor(item.file))
                    : Result<void>(std::unexpected(content.error()));
        if (!written) {
            std::string message = "Could not restore " + text::quotedForMessage(item.file) + ": " +
                                  written.error().message;
            message += done.empty() ? " Nothing was restored."
                                    : " Restored before it: " + done + ".";
            return fail(written.error().code, message);
        }
        done += (done.empty() ? "" : ", ") + text::shownForMessage(item.file);
    }
    return {};
}

}  // namespace culvora::transfer
