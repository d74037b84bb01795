#include "core/transfer/cookbook_import.h"

#include <algorithm>

#include "core/store/cookbook.h"
#include "core/store/record_reader.h"
#include "core/store/taken_names.h"
#include "core/text/text.h"
#include "core/transfer/mealmaster.h"

namespace culvora::transfer {

Result<std::string> cookbookFileText(std::string_view bytes)
{
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    const bool marked = bytes.starts_with(kByteOrderMark);
    if (marked) bytes.remove_prefix(kByteOrderMark.size());
    const bool ascii = std::ranges::all_of(bytes, [](char c) { return (c & 0x80) == 0; });
    // Plain ASCII reads the same either way, and is taken as it stands.
    if (ascii || (!marked && !decodesAsUtf8(bytes))) return std::string(bytes);
    auto converted = text::fromUtf8(bytes);
    if (!converted) {
        return fail(ErrorCode::Invalid, converted.error().message + " Nothing was imported.");
    }
    return converted;
}

Result<ImportedCookbook> importedCookbook(std::string_view cookbookContent,
                                          std::string_view chosenBytes)
{
    auto chosen = cookbookFileText(chosenBytes);
    if (!chosen) return std::unexpected(chosen.error());
    const std::string_view content(*chosen);
    text::LineReader lines(content);
    auto first = lines.next();
    if (!first || *first != store::kTagName) {
        return fail(ErrorCode::Refused, std::string(kNotCookbookMessage));
    }

    // The lines after the first, copied as they stand but for the names that are taken.
    ImportedCookbook imported;
    CookbookImport& report = imported.report;
    store::TakenNames taken(store::listNames(cookbookContent));
    std::string rest;
    rest.reserve(content.size() + content.size() / 16);
    std::size_t copied = lines.position();
    store::RecordReader reader(content);
    while (auto record = reader.next()) {
        ++report.imported;
        std::string given = taken.claim(record->name);
        if (given == record->name) continue;
        // The chunk ends where the name line starts, so with a whole line end.
        store::appendNormalised(rest, content.substr(copied, record->nameStart - copied));
        rest += given;
        copied = record->nameStart + record->name.size();
        if (report.renamed++ == 0) report.firstRenamed = std::move(given);
    }
    store::appendNormalised(rest, content.substr(copied));
    // A renamed name on the file's last line, with no line end after it.
    if (!rest.empty() && !rest.ends_with(text::kCrLf)) rest += text::kCrLf;
    imported.content = store::withAppendedLines(cookbookContent, rest);
    return imported;
}

Result<std::string> withImportedCookbook(std::string_view cookbookContent,
                                         std::string_view chosenBytes)
{
    auto imported = importedCookbook(cookbookContent, chosenBytes);
    if (!imported) return std::unexpected(imported.error());
    return std::move(imported->content);
}

Result<CookbookImport> importCookbook(const ProgramFolder& folder, const std::string& cookbookFile,
                                      const std::filesystem::path& chosenFile)
{
    // The chosen file is read under the lock too: it may be the cookbook itself.
    auto lock = FolderLock::acquire(folder);
    if (!lock) return std::unexpected(lock.error());
    auto chosen = readFile(chosenFile);
    if (!chosen) return std::unexpected(chosen.error());
    auto cookbookPath = store::Cookbook(folder, cookbookFile).path();
    if (!cookbookPath) return std::unexpected(cookbookPath.error());
    auto content = folder.read(cookbookFile);
    if (!content) return std::unexpected(content.error());
    auto changed = importedCookbook(*content, *chosen);
    if (!changed) return std::unexpected(changed.error());
    if (auto written = folder.write(cookbookFile, changed->content, store::kRewriteTemp);
        !written) {
        return std::unexpected(written.error());
    }
    return changed->report;
}

std::string cookbookImportMessage(const CookbookImport& report)
{
    std::string message = importedMessage(report.imported);
    if (report.renamed > 0) message += " " + renamedMessage(report.renamed, report.firstRenamed);
    return message;
}

}  // namespace culvora::transfer
