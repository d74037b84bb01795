#include "core/recipes/printout.h"

#include "core/recipes/recipe_view.h"
#include "core/recipes/scaling.h"
#include "core/store/cookbook.h"
#include "core/text/text.h"

namespace culvora::recipes {

namespace {

constexpr std::size_t kLineLength = 107;
constexpr std::size_t kBlankSearchEnd = 1107;

Result<store::RecipeRecord> recordToPrint(const ProgramFolder& folder, const std::string& cookbook,
                                          std::string_view name, std::size_t occurrence)
{
    auto record = store::Cookbook(folder, cookbook).read(store::RecordKey{name, occurrence});
    if (!record && record.error().code == ErrorCode::NotFound) {
        return fail(ErrorCode::NotFound, "The recipe " + text::quotedForMessage(name) +
                                             " is not in the cookbook any more, so it cannot "
                                             "be printed. It may have been deleted or moved.");
    }
    return record;
}

// A printout of more lines than this (some two thousand pages) is refused: every printed line
// costs a few hundred bytes on its way to the printer, and a recipe of a hundred megabytes of
// empty lines would take all memory, and all paper, before anything came out.
constexpr std::size_t kMaxPrintedLines = 100000;

Error tooLong(std::string_view name)
{
    return Error{ErrorCode::Refused, "The recipe " + text::quotedForMessage(name) +
                                         " is too long to print: it runs to more than " +
                                         std::to_string(kMaxPrintedLines) + " lines."};
}

bool addIngredients(std::vector<PrintedLine>& lines, const store::RecipeRecord& record)
{
    text::LineReader reader(record.ingredients);
    while (auto line = reader.next()) {
        if (lines.size() >= kMaxPrintedLines) return false;
        lines.push_back({LineStyle::Body, std::string(*line)});
    }
    return true;
}

// The record for the servings asked for (0: as it is written).
Result<void> scaleForPrint(store::RecipeRecord& record, int servings)
{
    if (servings == 0) return {};
    auto scaled = scaledRecord(record, servings);
    if (!scaled) {
        return fail(ErrorCode::Refused,
                    "The recipe " + text::quotedForMessage(record.name) +
                        " cannot be printed for " + std::to_string(servings) +
                        " servings: it serves " + text::quotedForMessage(record.servings) +
                        ", which is no number to scale its amounts from.");
    }
    record = std::move(*scaled);
    return {};
}

}  // namespace

std::vector<std::string> breakInstructionLine(std::string_view line)
{
    std::vector<std::string> pieces;
    while (line.size() > kLineLength) {
        // Positions 108 to 1107, counted from 1, are the indexes 107 to 1106.
        const std::size_t searchEnd = std::min(line.size(), kBlankSearchEnd);
        const std::size_t blank = line.substr(0, searchEnd).find(' ', kLineLength);
        const std::size_t length = blank == std::string_view::npos ? kLineLength : blank + 1;
        pieces.emplace_back(line.substr(0, length));
        line.remove_prefix(length);
    }
    pieces.emplace_back(line);
    return pieces;
}

void printLine(print::PrintJob& job, std::string_view text, LineStyle style)
{
    job.setFont({"Courier New", 8.25, true, false});
    job.print("   ", false);
    const double size = style == LineStyle::Title ? 24 : (style == LineStyle::Heading ? 12 : 10);
    job.setFont({"Times New Roman", size, style == LineStyle::Heading, false});
    job.print(text, true);
    if (style == LineStyle::Heading) job.setBold(false);
}

const char* styleName(LineStyle style)
{
    switch (style) {
    case LineStyle::Title: return "title";
    case LineStyle::Heading: return "heading";
    case LineStyle::Body: break;
    }
    return "body";
}

Result<std::vector<PrintedLine>> recipeLines(const ProgramFolder& folder,
                                             const std::string& cookbook, const ShownRecipe& shown)
{
    auto record = recordToPrint(folder, cookbook, shown.name, shown.occurrence);
    if (!record) return std::unexpected(record.error());
    if (auto scaled = scaleForPrint(*record, shown.servings); !scaled) {
        return std::unexpected(scaled.error());
    }
    // Scaled, the servings line says for how many, as the viewer's does.
    const std::string servingsText =
        shown.servings != 0 ? recipeTexts(*record).servings : shown.servingsText;
    std::vector<PrintedLine> lines = {{LineStyle::Heading, ""},
                                      {LineStyle::Heading, ""},
                                      {LineStyle::Title, shown.name},
                                      {LineStyle::Heading, servingsText},
                                      {LineStyle::Heading, shown.timeText},
                                      {LineStyle::Heading, ""},
                                      {LineStyle::Heading, "Ingredients:"}};
    if (!addIngredients(lines, *record)) return std::unexpected(tooLong(shown.name));
    lines.push_back({LineStyle::Heading, ""});
    lines.push_back({LineStyle::Heading, "Instructions:"});
    text::LineReader reader(record->instructions);
    while (auto line = reader.next()) {
        if (lines.size() >= kMaxPrintedLines) return std::unexpected(tooLong(shown.name));
        for (auto& piece : breakInstructionLine(*line))
            lines.push_back({LineStyle::Body, std::move(piece)});
    }
    return lines;
}

Result<std::vector<PrintedLine>> groceryLines(const ProgramFolder& folder,
                                              const std::string& cookbook, std::string_view name,
                                              std::size_t occurrence, int servings)
{
    auto record = recordToPrint(folder, cookbook, name, occurrence);
    if (!record) return std::unexpected(record.error());
    if (auto scaled = scaleForPrint(*record, servings); !scaled) {
        return std::unexpected(scaled.error());
    }
    // The dish the list is for, under its heading: a list on the fridge door says what it
    // was for.
    std::vector<PrintedLine> lines = {{LineStyle::Heading, ""},
                                      {LineStyle::Heading, "Grocery list"},
                                      {LineStyle::Heading, std::string(name)},
                                      {LineStyle::Heading, ""}};
    // A list for other servings than the recipe's says for how many.
    if (servings != 0) {
        lines.insert(lines.end() - 1, {LineStyle::Heading, recipeTexts(*record).servings});
    }
    if (!addIngredients(lines, *record)) return std::unexpected(tooLong(name));
    return lines;
}

print::PrintJob printJob(const std::vector<PrintedLine>& lines)
{
    print::PrintJob job;
    for (const auto& line : lines) printLine(job, line.text, line.style);
    job.end();
    return job;
}

}  // namespace culvora::recipes
