#pragma once

// Cookbook files: tagged recipe records one after the other.
//
//   [NAMN] name [PORTIONER] servings [TID] time [IND] ingredient lines... [GÖRA]
//   instruction lines... [TYP] type
//
// All texts are Windows-1252. The records are read by the one record reader
// (record_reader.h), which also holds the rules for hand-edited files. The pure functions
// work on a file's content; Cookbook wraps them with reading and the atomic rewrite through
// "recept.tmp", each change holding the data folder's lock from its read to its rename.
//
// A record is looked up by its name line (the line after a "[NAMN]"), never by any line that
// happens to read the same. A name alone means the first record of that name; a RecordKey
// names the n-th, so a cookbook that holds a name twice can still reach the second.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "core/files/files.h"
#include "core/store/recipe_index.h"
#include "core/store/record_reader.h"

namespace culvora::store {

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

// The record as the viewer reads it: the reader's fields, the multi-line ones each line
// followed by CR LF. Nothing when the cookbook holds no such record.
std::optional<RecipeRecord> parseRecord(std::string_view content, std::string_view name);
std::optional<RecipeRecord> parseRecord(std::string_view content, RecordKey key);
RecipeRecord toRecipeRecord(const Record& record);

// The record's lines from its name line up to the next "[NAMN]" (not included) or the end,
// each followed by CR LF. Nothing when the name is not found.
std::optional<std::string> recordLines(std::string_view content, std::string_view name);
std::optional<std::string> recordLines(std::string_view content, RecordKey key);

// The lines of a record as appending writes them, from the name line on: multi-line texts are
// written unchanged and followed by one line end (or exactly as they are, AsRead).
std::string formatRecord(const RecipeRecord& record, TextForm form = TextForm::AsTyped);

// The record as the recipe editor loads it: lines that stand after the type line and before
// the next "[NAMN]" belong to no field; they are added to the instructions, where a save
// keeps them.
std::optional<RecipeRecord> parseRecordForEdit(std::string_view content, std::string_view name);
std::optional<RecipeRecord> parseRecordForEdit(std::string_view content, RecordKey key);

// The content after appending records: "[NAMN]" is written unless the content already ends
// with a lone "[NAMN]" line. The content before stays as it is, byte for byte.
std::string withAppended(std::string_view content, std::span<const RecipeRecord> records);
// The same for raw record lines that start at the name line (a move copies them this way).
std::string withAppendedLines(std::string_view content, std::string_view recordLinesFromName);
// What appending puts after the content before the first appended name line: a line end after
// an unterminated last line, and "[NAMN]" unless a lone one ends the content. Worked out from
// the content's last lines, so a writer can put the content, this and the records out one
// after the other without a copy of the whole.
std::string appendSeparator(std::string_view content);

// The content with the record replaced in place; nothing when the name is not found. Every
// line of the result ends with CR LF.
std::optional<std::string> withReplaced(std::string_view content, std::string_view name,
                                        const RecipeRecord& record,
                                        TextForm form = TextForm::AsTyped);
std::optional<std::string> withReplaced(std::string_view content, RecordKey key,
                                        const RecipeRecord& record,
                                        TextForm form = TextForm::AsTyped);

// The content with the record removed: the deleted record's "[NAMN]" line stays and heads the
// record that followed, so the file stays well formed; deleting the last record leaves a lone
// "[NAMN]" at the end. Nothing when the name is not found.
std::optional<std::string> withDeleted(std::string_view content, std::string_view name);
std::optional<std::string> withDeleted(std::string_view content, RecordKey key);

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
    Result<RecipeRecord> read(RecordKey key) const;
    Result<std::string> lines(std::string_view name) const;
    Result<std::string> lines(RecordKey key) const;

    // Changes refuse a missing cookbook with a clear message.
    Result<void> append(const RecipeRecord& record);
    Result<void> appendAll(std::span<const RecipeRecord> records);
    Result<void> appendLines(std::string_view recordLinesFromName);
    Result<void> replace(std::string_view name, const RecipeRecord& record,
                         TextForm form = TextForm::AsTyped);
    Result<void> replace(RecordKey key, const RecipeRecord& record,
                         TextForm form = TextForm::AsTyped);
    Result<void> remove(std::string_view name);
    Result<void> remove(RecordKey key);

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
Result<void> moveRecipe(const ProgramFolder& folder, const std::string& sourceFile,
                        const std::string& targetFile, RecordKey key);

}  // namespace culvora::store
