#include "core/recipes/recipe_edit.h"

#include <algorithm>
#include <array>

#include "core/store/record_check.h"
#include "core/text/text.h"

namespace culvora::recipes {

namespace {

constexpr std::array<std::string_view, 6> kTags = {store::kTagName,         store::kTagServings,
                                                   store::kTagTime,         store::kTagIngredients,
                                                   store::kTagInstructions, store::kTagType};

bool isTag(std::string_view line)
{
    return std::ranges::find(kTags, line) != kTags.end();
}

// The lines of a box, the last one kept even when empty ("a\n" is "a" and "").
std::vector<std::string_view> boxLines(std::string_view box)
{
    std::vector<std::string_view> lines = text::splitLineViews(box);
    if (!box.empty() && (box.back() == '\n' || box.back() == '\r')) lines.emplace_back();
    return lines;
}

Result<void> checkOneLine(std::string_view field, std::string_view value)
{
    if (value.find_first_of("\r\n") != std::string_view::npos) {
        return fail(ErrorCode::Invalid, "The " + std::string(field) +
                                            " must be one line; please remove the line break.");
    }
    if (isTag(value)) {
        return fail(ErrorCode::Invalid, "The " + std::string(field) + " cannot be " +
                                            text::quotedForMessage(value) +
                                            ": the cookbook uses that line as one of its markers.");
    }
    return {};
}

Result<void> checkLines(std::string_view field, std::string_view box, bool ingredients)
{
    for (std::string_view line : boxLines(box)) {
        const bool marker = ingredients ? line.starts_with("[") : isTag(line);
        if (!marker) continue;
        const std::string why =
            ingredients
                ? " begins with \"[\", which the cookbook reads as the end of the ingredients."
                : " is one of the cookbook's markers and would break the recipe apart.";
        return fail(ErrorCode::Invalid, "The line " + text::quotedForMessage(line) + " in the " +
                                            std::string(field) + why + " Please change that line.");
    }
    return {};
}

}  // namespace

std::string boxText(std::string_view readForm)
{
    std::string box;
    text::LineReader reader(readForm);
    bool first = true;
    while (auto line = reader.next()) {
        if (!first) box += text::kCrLf;
        box += *line;
        first = false;
    }
    return box;
}

std::string readForm(std::string_view box, std::string_view loaded)
{
    const std::string shown = boxText(loaded);
    if (boxLines(box) == boxLines(shown)) return std::string(loaded);
    std::string out;
    if (box.empty()) return out;
    for (std::string_view line : boxLines(box)) {
        out += line;
        out += text::kCrLf;
    }
    return out;
}

RecipeDraft draftOf(const store::RecipeRecord& record)
{
    return {record.name,
            record.servings,
            record.cookingTime,
            boxText(record.ingredients),
            boxText(record.instructions),
            record.type};
}

Result<void> checkDraft(const RecipeDraft& draft)
{
    if (draft.name.empty()) return fail(ErrorCode::Invalid, std::string(kNoNameMessage));
    for (auto [field, value] : {std::pair<std::string_view, std::string_view>{"name", draft.name},
                                {"number of servings", draft.servings},
                                {"cooking time", draft.cookingTime},
                                {"type", draft.type}}) {
        if (auto ok = checkOneLine(field, value); !ok) return ok;
    }
    if (auto ok = checkLines("ingredients", draft.ingredients, true); !ok) return ok;
    return checkLines("instructions", draft.instructions, false);
}

store::RecipeRecord newRecord(const RecipeDraft& draft)
{
    // Line ends as the file writes them; the text itself as typed.
    auto crlf = [](std::string_view box) {
        std::string out;
        const auto lines = boxLines(box);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i > 0) out += text::kCrLf;
            out += lines[i];
        }
        return out;
    };
    return {draft.name,
            draft.servings,
            draft.cookingTime,
            crlf(draft.ingredients),
            crlf(draft.instructions),
            draft.type};
}

store::RecipeRecord editedRecord(const RecipeDraft& draft, const store::RecipeRecord& loaded)
{
    return {draft.name,
            draft.servings,
            draft.cookingTime,
            readForm(draft.ingredients, loaded.ingredients),
            readForm(draft.instructions, loaded.instructions),
            draft.type};
}

Result<store::RecipeRecord> loadForEdit(const ProgramFolder& folder, const std::string& cookbook,
                                        store::RecordKey key)
{
    store::Cookbook book(folder, cookbook);
    if (auto path = book.path(); !path) return std::unexpected(path.error());
    auto content = folder.read(cookbook);
    if (!content) return std::unexpected(content.error());
    auto record = store::parseRecordForEdit(*content, key);
    if (!record) {
        return fail(ErrorCode::NotFound, "The recipe " + text::quotedForMessage(key.name) +
                                             " is not in the cookbook any more; it may have "
                                             "been deleted or moved.");
    }
    return *record;
}

Result<store::RecipeRecord> loadForEdit(const ProgramFolder& folder, const std::string& cookbook,
                                        std::string_view name)
{
    return loadForEdit(folder, cookbook, store::RecordKey{name});
}

Result<void> saveEdit(const ProgramFolder& folder, const std::string& cookbook,
                      store::RecordKey key, const RecipeDraft& draft,
                      const store::RecipeRecord& loaded)
{
    if (auto ok = checkDraft(draft); !ok) return ok;
    return saveRecord(folder, cookbook, key, editedRecord(draft, loaded));
}

Result<void> saveEdit(const ProgramFolder& folder, const std::string& cookbook,
                      std::string_view name, const RecipeDraft& draft,
                      const store::RecipeRecord& loaded)
{
    return saveEdit(folder, cookbook, store::RecordKey{name}, draft, loaded);
}

Result<void> saveRecord(const ProgramFolder& folder, const std::string& cookbook,
                        store::RecordKey key, const store::RecipeRecord& record)
{
    if (auto ok = checkDraft(draftOf(record)); !ok) return ok;
    if (record.name != key.name) {
        return fail(ErrorCode::Invalid, "The name of a recipe cannot be changed here.");
    }
    auto saved = store::Cookbook(folder, cookbook).replace(key, record, store::TextForm::AsRead);
    if (!saved && saved.error().code == ErrorCode::NotFound) {
        return fail(ErrorCode::NotFound, "The recipe " + text::quotedForMessage(key.name) +
                                             " is not in the cookbook any more (it may have been "
                                             "deleted or moved, or another cookbook chosen). "
                                             "Nothing was saved.");
    }
    return saved;
}

Result<void> saveRecord(const ProgramFolder& folder, const std::string& cookbook,
                        std::string_view name, const store::RecipeRecord& record)
{
    return saveRecord(folder, cookbook, store::RecordKey{name}, record);
}

Result<void> saveNew(const ProgramFolder& folder, const std::string& cookbook,
                     const RecipeDraft& draft)
{
    if (auto ok = checkDraft(draft); !ok) return ok;
    const store::RecipeRecord record = newRecord(draft);
    if (auto ok = store::checkNewRecipe(record); !ok) return ok;
    return store::Cookbook(folder, cookbook).append(record);
}

}  // namespace culvora::recipes
