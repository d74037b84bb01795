#pragma once

// What the recipe editors do without a window: the texts their boxes show, the record a save
// writes, and the refusal of text the cookbook format cannot hold.
//
// A multi-line field has two forms. As a record holds it after reading, each line is
// followed by CR LF (no lines: the empty text). In an editor box the lines stand apart with
// no line end after the last. An unchanged box gives back exactly what was loaded, so opening
// a recipe and saving it leaves the cookbook byte for byte as it was.

#include <string>
#include <string_view>

#include "core/error.h"
#include "core/files/files.h"
#include "core/store/cookbook.h"

namespace culvora::recipes {

inline constexpr std::string_view kNoNameMessage = "You must enter a name for the recipe!";

// What an editor's boxes hold, Windows-1252. The two multi-line texts separate their lines
// with CR LF, LF or CR.
struct RecipeDraft {
    std::string name;
    std::string servings;
    std::string cookingTime;
    std::string ingredients;
    std::string instructions;
    std::string type;
    bool operator==(const RecipeDraft&) const = default;
};

// The box text of a field as read (one final line end less), with CR LF between the lines.
std::string boxText(std::string_view readForm);
// The field as a record holds it after reading, for what a box holds now. A box whose text
// is what `loaded` showed keeps `loaded` exactly (an empty box cannot tell no lines from one
// empty line).
std::string readForm(std::string_view box, std::string_view loaded = {});

// The boxes of the edit window for a record as read.
RecipeDraft draftOf(const store::RecipeRecord& record);

// Why the draft cannot be stored as typed, if it cannot: an empty name, a line break in a
// one-line field, or a line the cookbook would read as one of its markers ("[NAMN]",
// "[TYP]", ... on a line of its own, or an ingredient line beginning with "["), which would
// split the record or hide its lines. The message names the field and the line.
Result<void> checkDraft(const RecipeDraft& draft);

// The record the new-recipe editor appends: every field exactly as typed (the append adds the
// line end after each multi-line text).
store::RecipeRecord newRecord(const RecipeDraft& draft);

// The record the edit window writes, its multi-line texts in read form (see readForm).
store::RecipeRecord editedRecord(const RecipeDraft& draft, const store::RecipeRecord& loaded);

// Loading and saving the edit window's recipe in a cookbook. Loading a name the cookbook does
// not hold, and saving one that has gone meanwhile (deleted, moved, another cookbook chosen),
// are refused with a message; nothing is written then. A name means the first recipe of that
// name; a RecordKey names the n-th.
Result<store::RecipeRecord> loadForEdit(const ProgramFolder& folder, const std::string& cookbook,
                                        std::string_view name);
Result<store::RecipeRecord> loadForEdit(const ProgramFolder& folder, const std::string& cookbook,
                                        store::RecordKey key);
Result<void> saveEdit(const ProgramFolder& folder, const std::string& cookbook,
                      std::string_view name, const RecipeDraft& draft,
                      const store::RecipeRecord& loaded);
Result<void> saveEdit(const ProgramFolder& folder, const std::string& cookbook,
                      store::RecordKey key, const RecipeDraft& draft,
                      const store::RecipeRecord& loaded);

// Replaces a recipe with a record whose multi-line texts are in read form (each line ended),
// after the same checks; what saveEdit and culvora-cli's edit do.
Result<void> saveRecord(const ProgramFolder& folder, const std::string& cookbook,
                        std::string_view name, const store::RecipeRecord& record);
Result<void> saveRecord(const ProgramFolder& folder, const std::string& cookbook,
                        store::RecordKey key, const store::RecipeRecord& record);

// Appends a new recipe after checking it: the draft's checks, and those every new recipe passes
// (store::checkNewRecipe: a name of sane length, no control characters).
Result<void> saveNew(const ProgramFolder& folder, const std::string& cookbook,
                     const RecipeDraft& draft);

}  // namespace culvora::recipes
