#include "core/store/cookbook_list.h"

#include <algorithm>
#include <system_error>

#include "core/text/text.h"

namespace culvora::store {

namespace {

bool hasControlCharacter(std::string_view s)
{
    return std::any_of(s.begin(), s.end(), [](char c) {
        auto b = static_cast<unsigned char>(c);
        return b < 0x20 || b == 0x7F;
    });
}

bool isBlank(std::string_view s)
{
    return s.find_first_not_of(' ') == std::string_view::npos;
}

}  // namespace

std::vector<CookbookEntry> parseCookbookList(std::string_view content)
{
    std::vector<CookbookEntry> entries;
    text::LineReader reader(content);
    while (auto title = reader.next()) {
        auto file = reader.next();
        if (!file) break;
        entries.push_back({std::string(*title), std::string(*file)});
    }
    return entries;
}

std::string formatCookbookList(std::span<const CookbookEntry> entries)
{
    std::string content;
    for (const auto& entry : entries) {
        content += entry.title;
        content += text::kCrLf;
        content += entry.file;
        content += text::kCrLf;
    }
    return content;
}

std::vector<std::string> sortedTitles(std::span<const CookbookEntry> entries)
{
    std::vector<std::string> titles;
    titles.reserve(entries.size());
    for (const auto& entry : entries) titles.push_back(entry.title);
    std::stable_sort(titles.begin(), titles.end(), text::CollateLess{});
    return titles;
}

const CookbookEntry* findByTitle(std::span<const CookbookEntry> entries, std::string_view title)
{
    auto it = std::find_if(entries.begin(), entries.end(),
                           [&](const CookbookEntry& e) { return e.title == title; });
    return it == entries.end() ? nullptr : &*it;
}

const CookbookEntry* findByFile(std::span<const CookbookEntry> entries, std::string_view file)
{
    auto it = std::find_if(entries.begin(), entries.end(),
                           [&](const CookbookEntry& e) { return e.file == file; });
    return it == entries.end() ? nullptr : &*it;
}

bool isStandardTitle(std::string_view title)
{
    return text::toLower(title) == "standard";
}

RemoveRefusal removeRefusal(std::size_t count, std::string_view title)
{
    if (count <= 1) return RemoveRefusal::LastCookbook;
    if (isStandardTitle(title)) return RemoveRefusal::StandardCookbook;
    return RemoveRefusal::None;
}

CookbookEntry proposeNewBook(std::size_t count)
{
    return {"New book " + std::to_string(count), "BOOK" + std::to_string(count + 1) + ".TXT"};
}

std::optional<NewBookProblem> checkNewBook(std::span<const CookbookEntry> entries,
                                           const ProgramFolder& folder, std::string_view title,
                                           std::string_view file)
{
    auto problem = [](NewBookField field, ErrorCode code, std::string message) {
        return std::optional<NewBookProblem>(NewBookProblem{field, code, std::move(message)});
    };
    if (isBlank(title)) {
        return problem(NewBookField::Title, ErrorCode::Invalid,
                       "Please type a title for the new cookbook.");
    }
    // A line break in a title would split its pair and shift every pair after it.
    if (hasControlCharacter(title)) {
        return problem(NewBookField::Title, ErrorCode::Invalid,
                       "The title of a cookbook must be one line of text.");
    }
    if (findByTitle(entries, title)) {
        return problem(NewBookField::Title, ErrorCode::Refused,
                       "There is already a cookbook called " + text::quotedForMessage(title) + ".");
    }
    if (file.empty()) {
        return problem(NewBookField::File, ErrorCode::Invalid,
                       "Please type a file name for the new cookbook.");
    }
    if (auto name = checkCookbookFileName(file); !name) {
        return problem(NewBookField::File, ErrorCode::Invalid, name.error().message);
    }
    std::error_code ignored;
    if (std::filesystem::exists(std::filesystem::symlink_status(*folder.resolve(file), ignored))) {
        return problem(NewBookField::File, ErrorCode::Refused, std::string(kFileExistsMessage));
    }
    // Two titles sharing one file would lose the other's recipes when one of them is deleted.
    if (const auto* owner = findByFile(entries, file)) {
        return problem(NewBookField::File, ErrorCode::Refused,
                       "The cookbook " + text::quotedForMessage(owner->title) +
                           " already uses this file.");
    }
    return std::nullopt;
}

std::optional<CookbookEntry> fallbackCookbook(std::span<const CookbookEntry> entries)
{
    for (const auto& entry : entries) {
        if (isStandardTitle(entry.title)) return entry;
    }
    auto titles = sortedTitles(entries);
    if (titles.empty()) return std::nullopt;
    return *findByTitle(entries, titles.front());
}

int currentTitleRow(std::span<const std::string> titles, std::span<const CookbookEntry> entries,
                    std::string_view currentFile)
{
    const auto* current = findByFile(entries, currentFile);
    if (!current) return -1;
    auto it = std::find(titles.begin(), titles.end(), current->title);
    return it == titles.end() ? -1 : static_cast<int>(it - titles.begin());
}

Result<std::vector<CookbookEntry>> CookbookList::read() const
{
    auto content = folder_.readOrEmpty(kCookbookListFile);
    if (!content) return std::unexpected(content.error());
    return parseCookbookList(*content);
}

Result<std::vector<std::string>> CookbookList::titles() const
{
    auto entries = read();
    if (!entries) return std::unexpected(entries.error());
    return sortedTitles(*entries);
}

Result<std::string> CookbookList::fileOf(std::string_view title) const
{
    auto entries = read();
    if (!entries) return std::unexpected(entries.error());
    if (const auto* entry = findByTitle(*entries, title)) return entry->file;
    return fail(ErrorCode::NotFound,
                "There is no cookbook called " + text::quotedForMessage(title) + ".");
}

Result<void> CookbookList::write(std::span<const CookbookEntry> entries) const
{
    return folder_.write(kCookbookListFile, formatCookbookList(entries), kCookbookListTemp);
}

Result<void> CookbookList::add(std::string_view title, std::string_view file)
{
    auto lock = FolderLock::acquire(folder_);
    if (!lock) return std::unexpected(lock.error());
    auto entries = read();
    if (!entries) return std::unexpected(entries.error());
    if (auto problem = checkNewBook(*entries, folder_, title, file)) {
        return fail(problem->code, problem->message);
    }
    // The file is made first: creating it refuses a file that appeared meanwhile, and a book
    // is never listed without its file.
    if (auto created = folder_.createEmpty(file); !created) {
        if (created.error().code == ErrorCode::Refused) {
            return fail(ErrorCode::Refused, std::string(kFileExistsMessage));
        }
        return created;
    }
    entries->push_back({std::string(title), std::string(file)});
    if (auto written = write(*entries); !written) {
        (void)folder_.remove(file);
        return written;
    }
    return {};
}

Result<RemovedCookbook> CookbookList::remove(std::string_view title)
{
    auto lock = FolderLock::acquire(folder_);
    if (!lock) return std::unexpected(lock.error());
    auto entries = read();
    if (!entries) return std::unexpected(entries.error());
    auto it = std::find_if(entries->begin(), entries->end(),
                           [&](const CookbookEntry& e) { return e.title == title; });
    if (it == entries->end()) {
        return fail(ErrorCode::NotFound,
                    "There is no cookbook called " + text::quotedForMessage(title) + ".");
    }
    switch (removeRefusal(entries->size(), title)) {
    case RemoveRefusal::LastCookbook:
        return fail(ErrorCode::Refused, std::string(kLastCookbookMessage));
    case RemoveRefusal::StandardCookbook:
        return fail(ErrorCode::Refused, std::string(kStandardCookbookMessage));
    case RemoveRefusal::None: break;
    }
    RemovedCookbook removed{*it, {}};
    entries->erase(it);

    // The list first: if it cannot be rewritten nothing has changed, and the book with its
    // recipes is still there.
    if (auto written = write(*entries); !written) return std::unexpected(written.error());

    // A file named by another title, one outside the data folder or one of the program's own
    // (a hand-edited list) is left alone: deleting it would take what the user did not ask
    // to delete.
    if (checkCookbookFileName(removed.entry.file) && !findByFile(*entries, removed.entry.file)) {
        if (auto deleted = folder_.remove(removed.entry.file); !deleted) {
            removed.note = "The cookbook " + text::quotedForMessage(removed.entry.title) +
                           " was taken off the list, but its file could not be deleted: " +
                           deleted.error().message;
        }
    }
    return removed;
}

Result<CookbookList::MoveOutcome> CookbookList::moveRecipe(const std::string& sourceFile,
                                                           std::string_view targetTitle,
                                                           std::string_view name) const
{
    return moveRecipe(sourceFile, targetTitle, RecordKey{name});
}

Result<CookbookList::MoveOutcome> CookbookList::moveRecipe(const std::string& sourceFile,
                                                           std::string_view targetTitle,
                                                           RecordKey key) const
{
    const std::string_view name = key.name;
    auto lock = FolderLock::acquire(folder_);
    if (!lock) return std::unexpected(lock.error());
    auto target = fileOf(targetTitle);
    if (!target) return std::unexpected(target.error());
    if (*target == sourceFile) return MoveOutcome::SameCookbook;
    auto targetNames = Cookbook(folder_, *target).names();
    if (!targetNames) return std::unexpected(targetNames.error());
    if (std::ranges::find(*targetNames, name) != targetNames->end()) {
        return fail(ErrorCode::Refused, "The cookbook " + text::quotedForMessage(targetTitle) +
                                            " already has a recipe called " +
                                            text::quotedForMessage(name) + ". Nothing was moved.");
    }
    if (auto moved = store::moveRecipe(folder_, sourceFile, *target, key); !moved) {
        return std::unexpected(moved.error());
    }
    return MoveOutcome::Moved;
}

}  // namespace culvora::store
