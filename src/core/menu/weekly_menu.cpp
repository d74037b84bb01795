#include "core/menu/weekly_menu.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/store/record_reader.h"
#include "core/text/text.h"

namespace culvora::menu {

int dayNumber(std::string_view name)
{
    auto it = std::ranges::find(kDays, name);
    return it == kDays.end() ? 0 : static_cast<int>(it - kDays.begin()) + 1;
}

std::string_view dayName(int number)
{
    return number >= 1 && number <= 7 ? kDays[static_cast<std::size_t>(number - 1)]
                                      : std::string_view();
}

int nextDay(int number)
{
    return number % 7 + 1;
}

int previousDay(int number)
{
    return (number + 5) % 7 + 1;
}

std::string previousCaption(int number)
{
    return "< " + std::string(dayName(previousDay(number)));
}

std::string nextCaption(int number)
{
    return std::string(dayName(nextDay(number))) + " >";
}

namespace {

bool fits(Meal meal, std::string_view type, double minutes)
{
    switch (meal) {
    case Meal::Light: return type == "First Course" && minutes != 0;
    case Meal::Casual: return type == "Hot dish" && minutes <= 50;
    case Meal::Special: return type == "Hot dish" && minutes > 50;
    }
    return false;
}

}  // namespace

namespace {

// The ingredient text the words are looked for in: the ingredient lines and the tag line that
// ended them ("[GÖRA]"), each followed by CR LF.
void ingredientText(std::string& out, const store::Section& ingredients)
{
    out.clear();
    store::appendNormalised(out, ingredients.lines.bytes());
    if (ingredients.endLine) {
        out += *ingredients.endLine;
        out += text::kCrLf;
    }
}

}  // namespace

Composed compose(std::string_view cookbook, Meal meal, const std::vector<std::string>& words)
{
    Composed result;
    std::optional<store::Section> lastIngredients;
    std::string ingredients;
    store::RecordReader reader(cookbook);
    while (auto record = reader.next()) {
        if (record->ingredients.present) lastIngredients = record->ingredients;
        const double minutes = text::leadingNumber(record->time);
        if (record->name.empty() || record->type.empty() || minutes == 0) continue;
        if (!fits(meal, record->type, minutes)) continue;
        if (!words.empty()) {
            ingredientText(ingredients, record->ingredients);
            const bool hasWords = std::ranges::all_of(words, [&](const std::string& word) {
                return ingredients.find(word) != std::string::npos;
            });
            if (!hasWords) continue;
        }
        result.candidates.emplace_back(record->name);
    }
    if (lastIngredients) {
        result.anyIngredients = true;
        ingredientText(result.lastIngredients, *lastIngredients);
    }
    return result;
}

Result<Composed> composeFromCookbook(const ProgramFolder& folder, const std::string& cookbookFile,
                                     Meal meal, const std::vector<std::string>& words)
{
    if (auto valid = checkCookbookFileName(cookbookFile); !valid)
        return std::unexpected(valid.error());
    auto content = folder.readOrEmpty(cookbookFile);
    if (!content) return std::unexpected(content.error());
    Composed composed = compose(*content, meal, words);
    if (composed.anyIngredients) {
        if (auto written = folder.write(kScratchFile, composed.lastIngredients, kScratchTemp);
            !written) {
            return std::unexpected(written.error());
        }
    }
    return composed;
}

double seededRandom(std::uint64_t seed)
{
    // splitmix64: one well-mixed step, its top 53 bits as a fraction.
    std::uint64_t z = seed + 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<double>(z >> 11) * 0x1.0p-53;
}

std::string pickDish(const std::vector<std::string>& candidates, double r)
{
    if (candidates.empty()) return std::string(kNoSuggestion);
    const auto n = candidates.size();
    auto index =
        static_cast<std::size_t>(std::floor(std::clamp(r, 0.0, 1.0) * static_cast<double>(n)));
    return candidates[std::min(index, n - 1)];
}

print::PrintJob menuPrintout(const std::array<std::string, 7>& dishes, std::string_view webAddress)
{
    print::PrintJob job;
    for (int i = 0; i < 4; ++i) job.print("");
    job.setFont({"Arial", 20.25, true, true});
    job.print("       Menu for the week");
    job.print("");
    job.setBold(false);
    job.setItalic(false);
    job.setSize(16);
    for (int day = 1; day <= 7; ++day) {
        if (day > 1) {
            job.setFontName("Arial");
            job.setSize(16);
        }
        job.print("");
        job.print("           " + std::string(dayName(day)));
        job.setFontName("Times New Roman");
        job.setSize(14.25);
        job.print("   ", false);
        job.setSize(14);
        job.print(dishes[static_cast<std::size_t>(day - 1)]);
        job.setBold(false);
        if (day < 7) job.print("");
    }
    job.setSize(11);
    job.print("");
    job.print("");
    job.print("                   Printed from 'Culvora'");
    job.print("                   Visit us at " + std::string(webAddress));
    job.end();
    return job;
}

}  // namespace culvora::menu
