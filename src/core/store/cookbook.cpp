#include "core/store/cookbook.h"

#include <algorithm>

#include "core/text/text.h"

namespace culvora::store {

namespace {

void appendLine(std::string& out, std::string_view line)
{
    out += line;
    out += text::kCrLf;
}

std::size_t formattedSize(const RecipeRecord& r)
{
    return r.name.size() + r.servings.size() + r.cookingTime.size() + r.ingredients.size() +
           r.instructions.size() + r.type.size() + 64;
}

void appendRecordLines(std::string& out, const RecipeRecord& r, TextForm form = TextForm::AsTyped)
{
    auto lines = [&](std::string_view s) {
        if (form == TextForm::AsTyped) {
            appendLine(out, s);
        } else {
            out += s;
        }
    };
    appendLine(out, r.name);
    appendLine(out, kTagServings);
    appendLine(out, r.servings);
    appendLine(out, kTagTime);
    appendLine(out, r.cookingTime);
    appendLine(out, kTagIngredients);
    lines(r.ingredients);
    appendLine(out, kTagInstructions);
    lines(r.instructions);
    appendLine(out, kTagType);
    appendLine(out, r.type);
}

// The content ready to have a record appended: a line end after an unterminated last line
// (so "[NAMN]" cannot run into it) and "[NAMN]" unless a lone one ends the file already. The
// content itself is copied as it stands.
std::string openForAppend(std::string_view content, std::size_t extra)
{
    std::string out;
    out.reserve(content.size() + extra + 16);
    out += content;
    if (!out.empty() && out.back() != '\n' && out.back() != '\r') out += text::kCrLf;
    if (!endsWithLoneTag(out)) appendLine(out, kTagName);
    return out;
}

Error recipeNotFound(std::string_view name)
{
    return Error{ErrorCode::NotFound,
                 "The recipe " + text::quotedForMessage(name) + " was not found in the cookbook."};
}

}  // namespace

std::vector<std::string> listNames(std::string_view content)
{
    std::vector<std::string> names;
    RecordReader reader(content);
    while (auto record = reader.next()) names.emplace_back(record->name);
    return names;
}

RecipeRecord toRecipeRecord(const Record& record)
{
    return {std::string(record.name),
            std::string(record.servings),
            std::string(record.time),
            joinedLines(record.ingredients.lines),
            joinedLines(record.instructions.lines),
            std::string(record.type)};
}

std::optional<RecipeRecord> parseRecord(std::string_view content, RecordKey key)
{
    auto record = findRecord(content, key);
    if (!record) return std::nullopt;
    return toRecipeRecord(*record);
}

std::optional<RecipeRecord> parseRecord(std::string_view content, std::string_view name)
{
    return parseRecord(content, RecordKey{name});
}

std::optional<std::string> recordLines(std::string_view content, RecordKey key)
{
    auto record = findRecord(content, key);
    if (!record) return std::nullopt;
    std::string out;
    out.reserve(record->end - record->nameStart + 2);
    appendNormalised(out, content.substr(record->nameStart, record->end - record->nameStart));
    return out;
}

std::optional<std::string> recordLines(std::string_view content, std::string_view name)
{
    return recordLines(content, RecordKey{name});
}

std::string formatRecord(const RecipeRecord& record, TextForm form)
{
    std::string out;
    out.reserve(formattedSize(record));
    appendRecordLines(out, record, form);
    return out;
}

std::optional<RecipeRecord> parseRecordForEdit(std::string_view content, RecordKey key)
{
    auto record = findRecord(content, key);
    if (!record) return std::nullopt;
    RecipeRecord read = toRecipeRecord(*record);
    // Whatever follows the type line within the record joins the instructions.
    appendNormalised(read.instructions, record->after.bytes());
    return read;
}

std::optional<RecipeRecord> parseRecordForEdit(std::string_view content, std::string_view name)
{
    return parseRecordForEdit(content, RecordKey{name});
}

std::string withAppended(std::string_view content, std::span<const RecipeRecord> records)
{
    if (records.empty()) return std::string(content);
    std::size_t extra = 0;
    for (const auto& record : records) extra += formattedSize(record) + kTagName.size() + 2;
    std::string out = openForAppend(content, extra);
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (i > 0) appendLine(out, kTagName);
        appendRecordLines(out, records[i]);
    }
    return out;
}

std::string withAppendedLines(std::string_view content, std::string_view recordLinesFromName)
{
    std::string out = openForAppend(content, recordLinesFromName.size() + 2);
    appendNormalised(out, recordLinesFromName);
    return out;
}

namespace {

// Where the content's last line that is not "[NAMN]" starts (0 when every line is one). The
// listing waits for no name after such a line, whatever came before it, so the content from
// there on ends as the whole content does: in a line end or not, in a lone "[NAMN]" or not.
std::size_t lastOtherLine(std::string_view content)
{
    std::size_t end = content.size();
    for (;;) {
        std::size_t stop = end;
        if (stop > 0 && content[stop - 1] == '\n') {
            --stop;
            if (stop > 0 && content[stop - 1] == '\r') --stop;
        } else if (stop > 0 && content[stop - 1] == '\r') {
            --stop;
        }
        std::size_t start = stop;
        while (start > 0 && content[start - 1] != '\r' && content[start - 1] != '\n') --start;
        if (content.substr(start, stop - start) != kTagName || start == 0) return start;
        end = start;
    }
}

}  // namespace

std::string appendSeparator(std::string_view content)
{
    const std::string_view tail = content.substr(lastOtherLine(content));
    return openForAppend(tail, 0).substr(tail.size());
}

std::optional<std::string> withReplaced(std::string_view content, RecordKey key,
                                        const RecipeRecord& record, TextForm form)
{
    auto found = findRecord(content, key);
    if (!found) return std::nullopt;
    // One pass straight into the result: the lines before and after the record are copied
    // with their line ends made CR LF, never through a normalised copy of the whole file.
    std::string out;
    out.reserve(content.size() + formattedSize(record));
    appendNormalised(out, content.substr(0, found->nameStart));
    appendRecordLines(out, record, form);
    appendNormalised(out, content.substr(found->end));
    return out;
}

std::optional<std::string> withReplaced(std::string_view content, std::string_view name,
                                        const RecipeRecord& record, TextForm form)
{
    return withReplaced(content, RecordKey{name}, record, form);
}

std::optional<std::string> withDeleted(std::string_view content, RecordKey key)
{
    auto found = findRecord(content, key);
    if (!found) return std::nullopt;
    // The deleted record's own "[NAMN]" stays and heads whatever follows the next one.
    std::string out;
    out.reserve(content.size() + 2);
    appendNormalised(out, content.substr(0, found->nameStart));
    if (found->end < content.size()) {
        appendNormalised(out, content.substr(nextLineStart(content, found->end)));
    }
    return out;
}

std::optional<std::string> withDeleted(std::string_view content, std::string_view name)
{
    return withDeleted(content, RecordKey{name});
}

Result<std::filesystem::path> Cookbook::path() const
{
    if (auto name = checkCookbookFileName(fileName_); !name) return std::unexpected(name.error());
    return folder_.resolve(fileName_);
}

bool Cookbook::exists() const
{
    return checkCookbookFileName(fileName_).has_value() && folder_.exists(fileName_);
}

Result<std::string> Cookbook::content() const
{
    if (auto name = checkCookbookFileName(fileName_); !name) return std::unexpected(name.error());
    return folder_.read(fileName_);
}

Result<std::vector<std::string>> Cookbook::names() const
{
    auto text = content();
    if (!text && text.error().code == ErrorCode::NotFound) return std::vector<std::string>{};
    if (!text) return std::unexpected(text.error());
    return listNames(*text);
}

Result<RecipeRecord> Cookbook::read(RecordKey key) const
{
    auto text = content();
    if (!text) {
        if (text.error().code == ErrorCode::NotFound) {
            return std::unexpected(recipeNotFound(key.name));
        }
        return std::unexpected(text.error());
    }
    auto record = parseRecord(*text, key);
    if (!record) return std::unexpected(recipeNotFound(key.name));
    return *record;
}

Result<RecipeRecord> Cookbook::read(std::string_view name) const
{
    return read(RecordKey{name});
}

Result<std::string> Cookbook::lines(RecordKey key) const
{
    auto text = content();
    if (!text) {
        if (text.error().code == ErrorCode::NotFound) {
            return std::unexpected(recipeNotFound(key.name));
        }
        return std::unexpected(text.error());
    }
    auto found = recordLines(*text, key);
    if (!found) return std::unexpected(recipeNotFound(key.name));
    return std::move(*found);
}

Result<std::string> Cookbook::lines(std::string_view name) const
{
    return lines(RecordKey{name});
}

Result<std::string> Cookbook::contentForChange() const
{
    auto text = content();
    if (!text && text.error().code == ErrorCode::NotFound) {
        return fail(ErrorCode::NotFound,
                    "The cookbook file " + text::quotedForMessage(fileName_) + " does not exist.");
    }
    return text;
}

Result<void> Cookbook::rewrite(std::string_view newContent)
{
    return folder_.write(fileName_, newContent, kRewriteTemp);
}

Result<void> Cookbook::append(const RecipeRecord& record)
{
    return appendAll(std::span<const RecipeRecord>(&record, 1));
}

Result<void> Cookbook::appendAll(std::span<const RecipeRecord> records)
{
    auto lock = FolderLock::acquire(folder_);
    if (!lock) return std::unexpected(lock.error());
    auto text = contentForChange();
    if (!text) return std::unexpected(text.error());
    std::string changed = withAppended(*text, records);
    *text = std::string();  // the old content goes before the new one is written
    return rewrite(changed);
}

Result<void> Cookbook::appendLines(std::string_view recordLinesFromName)
{
    auto lock = FolderLock::acquire(folder_);
    if (!lock) return std::unexpected(lock.error());
    auto text = contentForChange();
    if (!text) return std::unexpected(text.error());
    std::string changed = withAppendedLines(*text, recordLinesFromName);
    *text = std::string();
    return rewrite(changed);
}

Result<void> Cookbook::replace(RecordKey key, const RecipeRecord& record, TextForm form)
{
    auto lock = FolderLock::acquire(folder_);
    if (!lock) return std::unexpected(lock.error());
    auto text = contentForChange();
    if (!text) return std::unexpected(text.error());
    auto changed = withReplaced(*text, key, record, form);
    if (!changed) return std::unexpected(recipeNotFound(key.name));
    *text = std::string();
    return rewrite(*changed);
}

Result<void> Cookbook::replace(std::string_view name, const RecipeRecord& record, TextForm form)
{
    return replace(RecordKey{name}, record, form);
}

Result<void> Cookbook::remove(RecordKey key)
{
    auto lock = FolderLock::acquire(folder_);
    if (!lock) return std::unexpected(lock.error());
    auto text = contentForChange();
    if (!text) return std::unexpected(text.error());
    auto changed = withDeleted(*text, key);
    if (!changed) return std::unexpected(recipeNotFound(key.name));
    *text = std::string();
    return rewrite(*changed);
}

Result<void> Cookbook::remove(std::string_view name)
{
    return remove(RecordKey{name});
}

Result<void> moveRecipe(const ProgramFolder& folder, const std::string& sourceFile,
                        const std::string& targetFile, RecordKey key)
{
    // One lock over both files: nobody sees the recipe in neither cookbook, and no other
    // writer slips in between the copy and the delete.
    auto lock = FolderLock::acquire(folder);
    if (!lock) return std::unexpected(lock.error());
    Cookbook source(folder, sourceFile);
    Cookbook target(folder, targetFile);
    auto lines = source.lines(key);
    if (!lines) return std::unexpected(lines.error());
    if (auto written = target.appendLines(*lines); !written) return written;
    return source.remove(key);
}

Result<void> moveRecipe(const ProgramFolder& folder, const std::string& sourceFile,
                        const std::string& targetFile, std::string_view name)
{
    return moveRecipe(folder, sourceFile, targetFile, RecordKey{name});
}

}  // namespace culvora::store
