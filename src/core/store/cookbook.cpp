#include "core/store/cookbook.h"

#include <algorithm>

#include "core/text/text.h"

namespace culvora::store {

namespace {

using text::LineReader;

// Files written elsewhere may end lines with a lone CR or LF, or leave the last line without
// one; a rewrite writes every line with CR LF, so the pieces it copies are normalised first.
std::string normalised(std::string_view content)
{
    bool clean = true;
    for (std::size_t i = 0; i < content.size() && clean; ++i) {
        if (content[i] == '\r') {
            clean = i + 1 < content.size() && content[i + 1] == '\n';
            ++i;
        } else if (content[i] == '\n') {
            clean = false;
        }
    }
    if (clean && (content.empty() || content.back() == '\n')) return std::string(content);
    std::string out;
    out.reserve(content.size() + 2);
    LineReader reader(content);
    while (auto line = reader.next()) {
        out += *line;
        out += text::kCrLf;
    }
    return out;
}

// Where a record's name line starts and where the line after it starts, in CR LF content.
struct NameLine {
    std::size_t start = 0;
    std::size_t next = 0;
};

// The first name line (a line right after a "[NAMN]" line) equal to the name.
std::optional<NameLine> findNameLine(std::string_view content, std::string_view name)
{
    LineReader reader(content);
    bool afterTag = false;
    for (;;) {
        std::size_t start = reader.position();
        auto line = reader.next();
        if (!line) return std::nullopt;
        if (afterTag) {
            // A name line, even one that reads "[NAMN]": the same lines listNames() takes.
            if (*line == name) return NameLine{start, reader.position()};
            afterTag = false;
        } else {
            afterTag = *line == kTagName;
        }
    }
}

// Offset just past the next "[NAMN]" line at or after `from`, or npos.
std::size_t afterNextTag(std::string_view content, std::size_t from)
{
    LineReader reader(content.substr(from));
    while (auto line = reader.next()) {
        if (*line == kTagName) return from + reader.position();
    }
    return std::string_view::npos;
}

void appendRecordLines(std::string& out, const RecipeRecord& r, TextForm form = TextForm::AsTyped)
{
    auto line = [&out](std::string_view s) {
        out += s;
        out += text::kCrLf;
    };
    auto lines = [&](std::string_view s) {
        if (form == TextForm::AsTyped) {
            line(s);
        } else {
            out += s;
        }
    };
    line(r.name);
    line(kTagServings);
    line(r.servings);
    line(kTagTime);
    line(r.cookingTime);
    line(kTagIngredients);
    lines(r.ingredients);
    line(kTagInstructions);
    lines(r.instructions);
    line(kTagType);
    line(r.type);
}

// True when the last line is a "[NAMN]" tag that no name follows (left by deleting the last
// record), not a name line that happens to read "[NAMN]".
bool endsWithLoneTag(std::string_view content)
{
    auto last = text::lastLine(content);
    if (!last || *last != kTagName) return false;
    LineReader reader(content);
    bool awaitingName = false;
    while (auto line = reader.next()) awaitingName = !awaitingName && *line == kTagName;
    return awaitingName;
}

// The content ready to have a record appended: a line end after an unterminated last line
// (so "[NAMN]" cannot run into it) and "[NAMN]" unless a lone one ends the file already.
std::string openForAppend(std::string_view content)
{
    std::string out(content);
    if (!out.empty() && out.back() != '\n' && out.back() != '\r') out += text::kCrLf;
    if (!endsWithLoneTag(out)) {
        out += kTagName;
        out += text::kCrLf;
    }
    return out;
}

std::string quotedName(std::string_view cp1252)
{
    return "\"" + text::toUtf8(cp1252) + "\"";
}

Error recipeNotFound(std::string_view name)
{
    return Error{ErrorCode::NotFound,
                 "The recipe " + quotedName(name) + " was not found in the cookbook."};
}

}  // namespace

std::vector<std::string> listNames(std::string_view content)
{
    std::vector<std::string> names;
    LineReader reader(content);
    while (auto line = reader.next()) {
        if (*line != kTagName) continue;
        auto name = reader.next();
        if (!name) break;
        names.emplace_back(*name);
    }
    return names;
}

std::optional<RecipeRecord> parseRecord(std::string_view content, std::string_view name)
{
    auto found = findNameLine(content, name);
    if (!found) return std::nullopt;
    RecipeRecord record;
    record.name = std::string(name);
    LineReader reader(content.substr(found->next));
    // The three tags are taken by position; their text is not compared. A record cut short
    // keeps what was read, and no section reads into the next record.
    bool ended = false;
    auto field = [&]() -> std::string {
        if (ended) return {};
        auto line = reader.next();
        if (!line || *line == kTagName) {
            ended = true;
            return {};
        }
        return std::string(*line);
    };
    field();
    record.servings = field();
    field();
    record.cookingTime = field();
    field();
    if (ended) return record;
    for (;;) {
        auto line = reader.next();
        if (!line || *line == kTagName) return record;
        if (line->starts_with("[G")) break;
        record.ingredients += *line;
        record.ingredients += text::kCrLf;
    }
    for (;;) {
        auto line = reader.next();
        if (!line || *line == kTagName) return record;
        if (*line == kTagType) break;
        record.instructions += *line;
        record.instructions += text::kCrLf;
    }
    if (auto type = reader.next(); type && *type != kTagName) record.type = std::string(*type);
    return record;
}

std::optional<std::string> recordLines(std::string_view content, std::string_view name)
{
    std::string normal = normalised(content);
    auto found = findNameLine(normal, name);
    if (!found) return std::nullopt;
    std::size_t end = afterNextTag(normal, found->next);
    if (end == std::string_view::npos) return normal.substr(found->start);
    // Back up to the start of that "[NAMN]" line.
    end -= kTagName.size() + text::kCrLf.size();
    return normal.substr(found->start, end - found->start);
}

std::string formatRecord(const RecipeRecord& record, TextForm form)
{
    std::string out;
    appendRecordLines(out, record, form);
    return out;
}

std::optional<RecipeRecord> parseRecordForEdit(std::string_view content, std::string_view name)
{
    auto record = parseRecord(content, name);
    if (!record) return record;
    auto lines = recordLines(content, name);
    if (!lines) return record;
    // Whatever follows the type line within the record joins the instructions. The first six
    // lines are the name and the three tags with their values, taken by position.
    enum class Section { Head, Ingredients, Instructions, Type, After };
    Section section = Section::Head;
    int line = 0;
    LineReader reader(*lines);
    while (auto next = reader.next()) {
        switch (section) {
        case Section::Head:
            if (++line == 6) section = Section::Ingredients;
            break;
        case Section::Ingredients:
            if (next->starts_with("[G")) section = Section::Instructions;
            break;
        case Section::Instructions:
            if (*next == kTagType) section = Section::Type;
            break;
        case Section::Type: section = Section::After; break;
        case Section::After:
            record->instructions += *next;
            record->instructions += text::kCrLf;
            break;
        }
    }
    return record;
}

std::string withAppended(std::string_view content, std::span<const RecipeRecord> records)
{
    if (records.empty()) return std::string(content);
    std::string out = openForAppend(content);
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (i > 0) {
            out += kTagName;
            out += text::kCrLf;
        }
        appendRecordLines(out, records[i]);
    }
    return out;
}

std::string withAppendedLines(std::string_view content, std::string_view recordLinesFromName)
{
    std::string out = openForAppend(content);
    out += normalised(recordLinesFromName);
    return out;
}

std::optional<std::string> withReplaced(std::string_view content, std::string_view name,
                                        const RecipeRecord& record, TextForm form)
{
    std::string normal = normalised(content);
    auto found = findNameLine(normal, name);
    if (!found) return std::nullopt;
    std::string out = normal.substr(0, found->start);
    appendRecordLines(out, record, form);
    std::size_t rest = afterNextTag(normal, found->next);
    if (rest != std::string_view::npos) {
        out += kTagName;
        out += text::kCrLf;
        out.append(normal, rest);
    }
    return out;
}

std::optional<std::string> withDeleted(std::string_view content, std::string_view name)
{
    std::string normal = normalised(content);
    auto found = findNameLine(normal, name);
    if (!found) return std::nullopt;
    // The deleted record's own "[NAMN]" stays and heads whatever follows the next one.
    std::string out = normal.substr(0, found->start);
    std::size_t rest = afterNextTag(normal, found->next);
    if (rest != std::string_view::npos) out.append(normal, rest);
    return out;
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

Result<RecipeRecord> Cookbook::read(std::string_view name) const
{
    auto text = content();
    if (!text) {
        if (text.error().code == ErrorCode::NotFound) return std::unexpected(recipeNotFound(name));
        return std::unexpected(text.error());
    }
    auto record = parseRecord(*text, name);
    if (!record) return std::unexpected(recipeNotFound(name));
    return *record;
}

Result<std::string> Cookbook::lines(std::string_view name) const
{
    auto text = content();
    if (!text) {
        if (text.error().code == ErrorCode::NotFound) return std::unexpected(recipeNotFound(name));
        return std::unexpected(text.error());
    }
    auto found = recordLines(*text, name);
    if (!found) return std::unexpected(recipeNotFound(name));
    return *found;
}

Result<std::string> Cookbook::contentForChange() const
{
    auto text = content();
    if (!text && text.error().code == ErrorCode::NotFound) {
        return fail(ErrorCode::NotFound,
                    "The cookbook file " + quotedName(fileName_) + " does not exist.");
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
    return rewrite(withAppended(*text, records));
}

Result<void> Cookbook::appendLines(std::string_view recordLinesFromName)
{
    auto lock = FolderLock::acquire(folder_);
    if (!lock) return std::unexpected(lock.error());
    auto text = contentForChange();
    if (!text) return std::unexpected(text.error());
    return rewrite(withAppendedLines(*text, recordLinesFromName));
}

Result<void> Cookbook::replace(std::string_view name, const RecipeRecord& record, TextForm form)
{
    auto lock = FolderLock::acquire(folder_);
    if (!lock) return std::unexpected(lock.error());
    auto text = contentForChange();
    if (!text) return std::unexpected(text.error());
    auto changed = withReplaced(*text, name, record, form);
    if (!changed) return std::unexpected(recipeNotFound(name));
    return rewrite(*changed);
}

Result<void> Cookbook::remove(std::string_view name)
{
    auto lock = FolderLock::acquire(folder_);
    if (!lock) return std::unexpected(lock.error());
    auto text = contentForChange();
    if (!text) return std::unexpected(text.error());
    auto changed = withDeleted(*text, name);
    if (!changed) return std::unexpected(recipeNotFound(name));
    return rewrite(*changed);
}

Result<void> moveRecipe(const ProgramFolder& folder, const std::string& sourceFile,
                        const std::string& targetFile, std::string_view name)
{
    // One lock over both files: nobody sees the recipe in neither cookbook, and no other
    // writer slips in between the copy and the delete.
    auto lock = FolderLock::acquire(folder);
    if (!lock) return std::unexpected(lock.error());
    Cookbook source(folder, sourceFile);
    Cookbook target(folder, targetFile);
    auto lines = source.lines(name);
    if (!lines) return std::unexpected(lines.error());
    if (auto written = target.appendLines(*lines); !written) return written;
    return source.remove(name);
}

}  // namespace culvora::store
