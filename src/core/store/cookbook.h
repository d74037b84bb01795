#pragma once

// Cookbook files: tagged recipe records one after the other.
//
//   [NAMN] name [PORTIONER] servings [TID] time [IND] ingredient lines... [GÖRA]
//   instruction lines... [TYP] type
//
// All texts are Windows-1252. The pure functions work on a file's content; Cookbook wraps
// them with reading and the atomic rewrite through "recept.tmp", each change holding the data
// folder's lock from its read to its rename.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "core/files/files.h"
#include "core/store/recipe_index.h"

namespace culvora::store {

inline constexpr std::string_view kTagName = "[NAMN]";
inline constexpr std::string_view kTagServings = "[PORTIONER]";
inline constexpr std::string_view kTagTime = "[TID]";
inline constexpr std::string_view kTagIngredients = "[IND]";
inline constexpr std::string_view kTagInstructions = "[G\xD6RA]";
inline constexpr std::string_view kTagType = "[TYP]";
inline constexpr std::string_view kRewriteTemp = "recept.tmp";

// How the two multi-line fields of a record hold their lines.
enum class TextForm {
    // As an editor box holds them: written unchanged and followed by one line end (so an
    // empty text gives one empty line, and a text ending in a line end an empty last line).
    AsTyped,
    // As reading a record returns them: every line already followed by CR LF, an empty text
    // for no lines. Written exactly as they are.
    AsRead,
};

struct RecipeRecord {
    std::string name;
    std::string servings;
    std::string cookingTime;
    std::string ingredients;   // lines joined by CR LF (a read record ends with CR LF)
    std::string instructions;  // likewise
    std::string type;
    bool operator==(const RecipeRecord&) const = default;
};

// --- Pure functions over a cookbook's content ------------------------------------------------

// Names in file order: the line after every "[NAMN]"; a lone "[NAMN]" at the end yields none.
std::vector<std::string> listNames(std::string_view content);

// The record whose name line (the line after a "[NAMN]") equals the name. Ingredients end at
// the first line beginning with "[G", instructions at "[TYP]"; a record cut short yields what
// was read. Nothing when no name line matches.
std::optional<RecipeRecord> parseRecord(std::string_view content, std::string_view name);

// The record's lines from its name line up to the next "[NAMN]" (not included) or the end,
// each followed by CR LF. Nothing when the name is not found.
std::optional<std::string> recordLines(std::string_view content, std::string_view name);

// The lines of a record as appending writes them, from the name line on: multi-line texts are
// written unchanged and followed by one line end (or exactly as they are, AsRead).
std::string formatRecord(const RecipeRecord& record, TextForm form = TextForm::AsTyped);

// The record as the recipe editor loads it: lines that stand after the type line and before
// the next "[NAMN]" belong to no field; they are added to the instructions, where a save
// keeps them.
std::optional<RecipeRecord> parseRecordForEdit(std::string_view content, std::string_view name);

// The content after appending records: "[NAMN]" is written unless the content already ends
// with a lone "[NAMN]" line.
std::string withAppended(std::string_view content, std::span<const RecipeRecord> records);
// The same for raw record lines that start at the name line (a move copies them this way).
std::string withAppendedLines(std::string_view content, std::string_view recordLinesFromName);

// The content with the record replaced in place; nothing when the name is not found.
std::optional<std::string> withReplaced(std::string_view content, std::string_view name,
                                        const RecipeRecord& record,
                                        TextForm form = TextForm::AsTyped);

// The content with the record removed: the deleted record's "[NAMN]" line stays and heads the
// record that followed, so the file stays well formed; deleting the last record leaves a lone
// "[NAMN]" at the end. Nothing when the name is not found.
std::optional<std::string> withDeleted(std::string_view content, std::string_view name);

// --- A cookbook file in the program folder ---------------------------------------------------

class Cookbook {
public:
    Cookbook(ProgramFolder folder, std::string fileName)
        : folder_(std::move(folder)),
          fileName_(std::move(fileName))
    {
    }

    const std::string& fileName() const { return fileName_; }
    const ProgramFolder& folder() const { return folder_; }
    // The cookbook's file; a name that leaves the data folder or names one of the program's
    // own files is refused (every operation below checks it).
    Result<std::filesystem::path> path() const;
    // True when the cookbook's file is there (an empty cookbook is a 0-byte file).
    bool exists() const;

    // A missing cookbook lists as empty.
    Result<std::vector<std::string>> names() const;
    Result<RecipeRecord> read(std::string_view name) const;
    Result<std::string> lines(std::string_view name) const;

    // Changes refuse a missing cookbook with a clear message.
    Result<void> append(const RecipeRecord& record);
    Result<void> appendAll(std::span<const RecipeRecord> records);
    Result<void> appendLines(std::string_view recordLinesFromName);
    Result<void> replace(std::string_view name, const RecipeRecord& record,
                         TextForm form = TextForm::AsTyped);
    Result<void> remove(std::string_view name);

private:
    Result<std::string> content() const;
    Result<std::string> contentForChange() const;
    Result<void> rewrite(std::string_view content);

    ProgramFolder folder_;
    std::string fileName_;
};

// Moves a record from one cookbook to another: the record is written to the target first and
// only then removed from the source, so an interruption leaves it in both, never in neither.
Result<void> moveRecipe(const ProgramFolder& folder, const std::string& sourceFile,
                        const std::string& targetFile, std::string_view name);

}  // namespace culvora::store
