#include "core/exchange/download.h"

#include <algorithm>

#include "core/store/cookbook.h"
#include "core/store/record_check.h"
#include "core/store/taken_names.h"
#include "core/text/text.h"

namespace culvora::exchange {

namespace {

std::string inQuotes(std::string_view cp1252)
{
    return text::quotedForMessage(cp1252);
}

Error notFetched(std::string_view file)
{
    return Error{ErrorCode::Io, "Could not fetch " + text::toUtf8(file) + " from the exchange."};
}

Result<std::string> fetch(FtpSession& session, const std::string& remoteFolder,
                          const std::string& file)
{
    auto content = session.HamtaFil(remoteFolder, file);
    if (!content) return std::unexpected(notFetched(file));
    return std::move(*content);
}

std::string categoryFolder(const std::string& folder)
{
    return std::string(kRootFolder) + "/" + folder;
}

// The record goes in when its name is free, all on one read of the cookbook taken under the
// lock, so no other writer can take the name or change the file between the check and the
// rename. When the name is taken: the first free numbered name, to propose instead.
Result<std::optional<std::string>> appendIfFree(const ProgramFolder& folder,
                                                const std::string& cookbookFile,
                                                const ExchangeRecipe& recipe,
                                                std::string_view name)
{
    auto lock = FolderLock::acquire(folder);
    if (!lock) return std::unexpected(lock.error());
    auto content = folder.read(cookbookFile);
    if (!content) {
        if (content.error().code != ErrorCode::NotFound) return std::unexpected(content.error());
        return fail(ErrorCode::NotFound, "The cookbook file " + inQuotes(cookbookFile) +
                                             " does not exist. Nothing was added to it.");
    }
    if (nameTaken(*content, name)) {
        return store::TakenNames(store::listNames(*content)).proposal(name);
    }
    const std::string changed = store::withAppendedLines(*content, renamedRecord(recipe, name));
    if (auto written = folder.write(cookbookFile, changed, store::kRewriteTemp); !written) {
        return std::unexpected(written.error());
    }
    return std::nullopt;
}

}  // namespace

Result<CategoryList> fetchCategories(FtpSession& session)
{
    auto content = fetch(session, std::string(kRootFolder), std::string(kNetworkFile));
    if (!content) return std::unexpected(content.error());
    return parseNetwork(*content);
}

Result<RecipeIndexFile> fetchRecipeIndex(FtpSession& session, const std::string& folder)
{
    if (auto plain = checkServerName(folder, "category folder"); !plain) {
        return std::unexpected(plain.error());
    }
    auto content = fetch(session, categoryFolder(folder), std::string(kNetIndexFile));
    if (!content) return std::unexpected(content.error());
    return parseNetIndex(*content);
}

Result<std::string> fetchExchangeFile(FtpSession& session, const std::string& folder,
                                      const std::string& stem)
{
    if (auto plain = checkServerName(folder, "category folder"); !plain) {
        return std::unexpected(plain.error());
    }
    if (auto plain = checkServerName(stem, "recipe file"); !plain) {
        return std::unexpected(plain.error());
    }
    return fetch(session, categoryFolder(folder), stem + std::string(kExchangeExtension));
}

Result<void> checkRecipeName(std::string_view name)
{
    // A name line the cookbook reads as something else would break the record apart, or give
    // a recipe nobody can find again.
    const std::string_view tags[] = {store::kTagName,         store::kTagServings,
                                     store::kTagTime,         store::kTagIngredients,
                                     store::kTagInstructions, store::kTagType};
    if (name.empty() || name.find_first_of("\r\n") != std::string_view::npos) {
        return fail(ErrorCode::Invalid, "A recipe's name must be one line of text. Nothing was "
                                        "added to the cookbook.");
    }
    if (std::ranges::find(tags, name) != std::end(tags)) {
        return fail(ErrorCode::Invalid, "A recipe cannot be called " + inQuotes(name) +
                                            ": the cookbook uses that line as one of its markers.");
    }
    return store::checkNewRecipe(name, {});
}

Result<AddedRecipe> addExchangeRecipe(const ProgramFolder& folder, const std::string& cookbookFile,
                                      std::string_view exchangeFile, RecipeNamer& namer,
                                      std::string_view name)
{
    auto recipe = readExchangeFile(exchangeFile);
    if (!recipe) return std::unexpected(recipe.error());
    // What could not be added by hand does not come in from a server either.
    if (auto usable = store::checkNewRecipe(recipe->name, recipe->lines); !usable) {
        return std::unexpected(usable.error());
    }
    if (auto plain = checkCookbookFileName(cookbookFile); !plain) {
        return std::unexpected(plain.error());
    }
    std::string wanted = name.empty() ? recipe->name : std::string(name);
    for (;;) {
        std::string proposed = wanted;
        if (auto usable = checkRecipeName(wanted); !usable) {
            namer.refused(usable.error());
        } else {
            auto taken = appendIfFree(folder, cookbookFile, *recipe, wanted);
            if (!taken) return std::unexpected(taken.error());
            if (!*taken) return AddedRecipe{true, wanted, recipe->name, recipe->ingredients};
            proposed = std::move(**taken);
        }
        // Asked without the lock: the question may stand open for minutes, and every other
        // change of the data folder would wait for it. The answer is checked on a fresh read.
        std::optional<std::string> answer;
        do {
            answer = namer.anotherName(wanted, proposed);
            if (!answer) return AddedRecipe{};
        } while (answer->empty());
        wanted = std::move(*answer);
    }
}

}  // namespace culvora::exchange
