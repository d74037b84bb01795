#include "core/transfer/cookbook_import.h"

#include <algorithm>

#include "core/store/cookbook.h"
#include "core/store/record_check.h"
#include "core/store/record_reader.h"
#include "core/store/taken_names.h"
#include "core/text/text.h"
#include "core/transfer/mealmaster.h"

namespace culvora::transfer {

namespace {

// The bytes with every line ended by CR LF, as every rewrite writes them: a lone CR or LF
// becomes CR LF, and a last line without a line end gets one.
void writeNormalised(std::string_view bytes, const PieceWriter& write)
{
    std::size_t run = 0;  // the first byte not written yet
    std::size_t at = bytes.find_first_of("\r\n");
    while (at != std::string_view::npos) {
        if (bytes[at] == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n') {
            at = bytes.find_first_of("\r\n", at + 2);
            continue;
        }
        write(bytes.substr(run, at - run));
        write(text::kCrLf);
        run = at + 1;
        at = bytes.find_first_of("\r\n", run);
    }
    write(bytes.substr(run));
    if (!bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r') write(text::kCrLf);
}

}  // namespace

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

Result<CookbookImport> importedLines(std::string_view cookbookContent,
                                     std::string_view chosenText, const PieceWriter& write)
{
    text::LineReader lines(chosenText);
    auto first = lines.next();
    if (!first || *first != store::kTagName) {
        return fail(ErrorCode::Refused, std::string(kNotCookbookMessage));
    }
    CookbookImport report;
    store::TakenNames taken(store::listNames(cookbookContent));
    // The records that pass go in as they stand, but for a taken name; one that is left out
    // takes its "[NAMN]" line with it, so the next one follows the last one written as it
    // followed it in the file.
    store::RecordReader reader(chosenText);
    std::size_t lastEnd = 0;
    int number = 0;
    while (auto record = reader.next()) {
        ++number;
        lastEnd = record->end;
        const std::string_view bytes =
            chosenText.substr(record->nameStart, record->end - record->nameStart);
        if (auto problem = store::newRecipeProblem(record->name, bytes)) {
            if (report.skipped.size() < kSkippedShown) {
                report.skipped.push_back({number,
                                          std::string(record->name.substr(0, kSkippedTitleChars)),
                                          std::move(*problem)});
            }
            ++report.skippedCount;
            continue;
        }
        if (report.imported == 0) {
            write(store::appendSeparator(cookbookContent));
        } else {
            writeNormalised(chosenText.substr(record->start, record->nameStart - record->start),
                            write);
        }
        std::string given = taken.claim(record->name);
        write(given);
        // The rest of the record starts with the name line's end.
        const std::size_t nameEnd = record->nameStart + record->name.size();
        const std::string_view rest = chosenText.substr(nameEnd, record->end - nameEnd);
        if (rest.empty()) {
            write(text::kCrLf);
        } else {
            writeNormalised(rest, write);
        }
        if (given != record->name && report.renamed++ == 0) report.firstRenamed = std::move(given);
        ++report.imported;
    }
    // A lone "[NAMN]" after the last record comes along, as it stood in the file.
    if (report.imported > 0) writeNormalised(chosenText.substr(lastEnd), write);
    return report;
}

Result<ImportedCookbook> importedCookbook(std::string_view cookbookContent,
                                          std::string_view chosenBytes)
{
    auto chosen = cookbookFileText(chosenBytes);
    if (!chosen) return std::unexpected(chosen.error());
    ImportedCookbook imported;
    imported.content = std::string(cookbookContent);
    auto report = importedLines(cookbookContent, *chosen,
                                [&](std::string_view piece) { imported.content += piece; });
    if (!report) return std::unexpected(report.error());
    imported.report = std::move(*report);
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
    auto text = cookbookFileText(*chosen);
    if (!text) return std::unexpected(text.error());
    // Checked before anything is written: a file that is no cookbook changes nothing.
    auto checked = importedLines(*content, *text, [](std::string_view) {});
    if (!checked) return std::unexpected(checked.error());
    if (checked->imported == 0) return checked;
    Result<CookbookImport> report;
    auto written = folder.write(
        cookbookFile,
        [&](const PieceWriter& write) {
            write(*content);
            report = importedLines(*content, *text, write);
        },
        store::kRewriteTemp);
    if (!written) return std::unexpected(written.error());
    return report;
}

std::string cookbookImportMessage(const CookbookImport& report)
{
    std::string message = importedMessage(report.imported);
    if (report.renamed > 0) message += " " + renamedMessage(report.renamed, report.firstRenamed);
    return message;
}

std::string skippedMessage(const CookbookImport& report)
{
    return skippedList(report.skipped, static_cast<std::size_t>(std::max(report.skippedCount, 0)));
}

}  // namespace culvora::transfer
