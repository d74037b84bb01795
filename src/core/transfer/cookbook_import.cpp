#include "core/transfer/cookbook_import.h"

#include "core/store/cookbook.h"
#include "core/text/text.h"

namespace culvora::transfer {

Result<std::string> withImportedCookbook(std::string_view cookbookContent,
                                         std::string_view chosenContent)
{
    text::LineReader reader(chosenContent);
    auto first = reader.next();
    if (!first || *first != store::kTagName) {
        return fail(ErrorCode::Refused, std::string(kNotCookbookMessage));
    }
    std::string rest;
    while (auto line = reader.next()) {
        rest += *line;
        rest += text::kCrLf;
    }
    return store::withAppendedLines(cookbookContent, rest);
}

Result<void> importCookbook(const ProgramFolder& folder, const std::string& cookbookFile,
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
    auto changed = withImportedCookbook(*content, *chosen);
    if (!changed) return std::unexpected(changed.error());
    return folder.write(cookbookFile, *changed, store::kRewriteTemp);
}

}  // namespace culvora::transfer
