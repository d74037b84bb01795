#pragma once

// Taking recipes from the exchange, one way for the download window and culvora-cli alike.
//
// The category list, a category's recipe list and a recipe's exchange file are fetched into
// memory and read from there: nothing the server sends is ever written to the data folder, so
// a server cannot name a file there, let alone replace or remove one. A fetched recipe then goes
// into the chosen cookbook: it must be one complete record, its name must be free in that
// cookbook (the cook is asked for another while it is not), and the name check and the append
// happen under the folder's lock on one read of the cookbook.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "core/exchange/exchange_formats.h"
#include "core/exchange/ftp_session.h"
#include "core/files/files.h"

namespace culvora::exchange {

// --- Fetching ------------------------------------------------------------------------------
// A failed transfer has been reported by the session already; the error then says only which
// file did not come (ErrorCode::Io). A folder or stem that is not a plain name is refused
// before anything is asked of the server (ErrorCode::Invalid).

// network.txt of the exchange root, read.
Result<CategoryList> fetchCategories(FtpSession& session);
// netindex.txt of a category folder, read.
Result<RecipeIndexFile> fetchRecipeIndex(FtpSession& session, const std::string& folder);
// The bytes of a recipe's exchange file (stem + ".tvx") in a category folder.
Result<std::string> fetchExchangeFile(FtpSession& session, const std::string& folder,
                                      const std::string& stem);

// --- Adding a fetched recipe to a cookbook ---------------------------------------------------

// How the download asks for another name. The window asks the cook; culvora-cli has been given
// its one answer on the command line.
class RecipeNamer {
public:
    virtual ~RecipeNamer() = default;
    // The recipe cannot go in under `current` (Windows-1252): the cookbook has a recipe of that
    // name, or refused() has just said why the name cannot be used. `proposed` is a name that
    // would do: the first free numbered name ("Pancakes (2)") for a taken one, the name itself
    // after a refusal. Returns the name to try next, or nothing to leave the recipe out. An
    // empty answer is asked again.
    virtual std::optional<std::string> anotherName(const std::string& current,
                                                   const std::string& proposed) = 0;
    // A name that no recipe can have, and why (a full sentence, UTF-8).
    virtual void refused(const Error& why) = 0;
};

// A name a recipe can have in a cookbook: one line of text, and not one of the record's
// markers, which the cookbook would read as the start of a field ("[TYP]").
Result<void> checkRecipeName(std::string_view cp1252Name);

struct AddedRecipe {
    bool added = false;  // false: the cook left the recipe out when asked for another name
    std::string name;    // the name it has in the cookbook, Windows-1252
    std::string ownName;  // the name the exchange file gave it
    std::vector<std::string> ingredients;  // its non-empty ingredient lines, for the Fridge check
};

// Adds the recipe of a fetched exchange file to a cookbook of the data folder, under `name`
// when one is given, otherwise under its own. While the cookbook has a recipe of that name
// (a name line equal to it; a name that only stands inside another recipe's text is free) the
// namer is asked for another, with the first free numbered name proposed. The record goes in exactly as it came, with the new name when it
// got one; "[NAMN]" is written before it unless the cookbook ends with a lone one.
//
// The bytes are checked before anything is asked: a file that is not one complete recipe
// record changes nothing. So does a missing cookbook, and a name left out.
Result<AddedRecipe> addExchangeRecipe(const ProgramFolder& folder, const std::string& cookbookFile,
                                      std::string_view exchangeFile, RecipeNamer& namer,
                                      std::string_view name = {});

}  // namespace culvora::exchange
