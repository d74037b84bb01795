#include "core/store/cookbook_list.h"

#include <algorithm>
#include <system_error>

#include "core/app/settings.h"
#include "core/text/text.h"

namespace culvora::store {

namespace {

std::string inQuotes(std::string_view cp1252)
{
    return "\"" + text::toUtf8(cp1252) + "\"";
}

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
                       "There is already a cookbook called " + inQuotes(title) + ".");
    }
    if (file.empty()) {
        return problem(NewBookField::File, ErrorCode::Invalid,
                       "Please type a file name for the new cookbook.");
    }
    if (!isPlainFileName(file)) {
        return problem(NewBookField::File, ErrorCode::Invalid,
                       inQuotes(file) +
                           " is not a plain file name. Type a name without a folder, such as "
                           "BOOK5.TXT.");
    }
    std::error_code ignored;
    if (std::filesystem::exists(folder.resolve(file), ignored)) {
        return problem(NewBookField::File, ErrorCode::Refused, std::string(kFileExistsMessage));
    }
    // Two titles sharing one file would lose the other's recipes when one of them is deleted.
    if (const auto* owner = findByFile(entries, file)) {
        return problem(NewBookField::File, ErrorCode::Refused,
                       "The cookbook " + inQuotes(owner->title) + " already uses this file.");
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

Result<std::vector<CookbookEntry>> CookbookList::read() const
{
    auto content = readFileOrEmpty(folder_.resolve(kCookbookListFile));
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
    return fail(ErrorCode::NotFound, "There is no cookbook called " + inQuotes(title) + ".");
}

Result<void> CookbookList::write(std::span<const CookbookEntry> entries) const
{
    return writeFileAtomic(folder_.resolve(kCookbookListFile), formatCookbookList(entries),
                           kCookbookListTemp);
}

Result<void> CookbookList::add(std::string_view title, std::string_view file)
{
    auto entries = read();
    if (!entries) return std::unexpected(entries.error());
    if (auto problem = checkNewBook(*entries, folder_, title, file)) {
        return fail(problem->code, problem->message);
    }
    // The file is made first: creating it refuses a file that appeared meanwhile, and a book
    // is never listed without its file.
    const auto path = folder_.resolve(file);
    if (auto created = createEmptyFile(path); !created) {
        if (created.error().code == ErrorCode::Refused) {
            return fail(ErrorCode::Refused, std::string(kFileExistsMessage));
        }
        return created;
    }
    entries->push_back({std::string(title), std::string(file)});
    if (auto written = write(*entries); !written) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        return written;
    }
    return {};
}

Result<CookbookEntry> CookbookList::remove(std::string_view title)
{
    auto entries = read();
    if (!entries) return std::unexpected(entries.error());
    auto it = std::find_if(entries->begin(), entries->end(),
                           [&](const CookbookEntry& e) { return e.title == title; });
    if (it == entries->end()) {
        return fail(ErrorCode::NotFound, "There is no cookbook called " + inQuotes(title) + ".");
    }
    switch (removeRefusal(entries->size(), title)) {
    case RemoveRefusal::LastCookbook:
        return fail(ErrorCode::Refused, std::string(kLastCookbookMessage));
    case RemoveRefusal::StandardCookbook:
        return fail(ErrorCode::Refused, std::string(kStandardCookbookMessage));
    case RemoveRefusal::None: break;
    }
    CookbookEntry removed = *it;
    entries->erase(it);

    // A file named by another title, or one outside the data folder (a hand-edited list), is
    // left alone: deleting it would take recipes the user did not ask to delete.
    if (isPlainFileName(removed.file) && !findByFile(*entries, removed.file)) {
        const auto path = folder_.resolve(removed.file);
        std::error_code error;
        std::filesystem::remove(path, error);
        if (error) {
            return fail(ErrorCode::Io, "Could not delete " + inQuotes(removed.file) + ": " +
                                           error.message() + ". The cookbook was not removed.");
        }
    }
    if (auto written = write(*entries); !written) return std::unexpected(written.error());
    return removed;
}

Result<std::string> CookbookList::use(std::string_view title, bool tipsAtStartup) const
{
    auto file = fileOf(title);
    if (!file) return file;
    if (auto written = app::writeSettings(folder_, *file, tipsAtStartup); !written) {
        return std::unexpected(written.error());
    }
    return file;
}

Result<CookbookList::MoveOutcome> CookbookList::moveRecipe(const std::string& sourceFile,
                                                           std::string_view targetTitle,
                                                           std::string_view name) const
{
    auto target = fileOf(targetTitle);
    if (!target) return std::unexpected(target.error());
    if (*target == sourceFile) return MoveOutcome::SameCookbook;
    auto targetNames = Cookbook(folder_, *target).names();
    if (!targetNames) return std::unexpected(targetNames.error());
    if (std::ranges::find(*targetNames, name) != targetNames->end()) {
        return fail(ErrorCode::Refused, "The cookbook " + inQuotes(targetTitle) +
                                            " already has a recipe called " + inQuotes(name) +
                                            ". Nothing was moved.");
    }
    if (auto moved = store::moveRecipe(folder_, sourceFile, *target, name); !moved) {
        return std::unexpected(moved.error());
    }
    return MoveOutcome::Moved;
}

}  // namespace culvora::store
