#include "core/search/fridge_search.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "core/store/cookbook.h"
#include "core/text/text.h"

namespace culvora::search {

namespace {

struct FridgeRecipe {
    std::string name;
    std::vector<std::string_view> lines;
};

// The records with their ingredient lines, read once: after the name, the lines after the
// record's "[IND]" up to the first line that begins with "[G".
std::vector<FridgeRecipe> ingredientLines(std::string_view cookbook)
{
    std::vector<FridgeRecipe> recipes;
    text::LineReader reader(cookbook);
    enum class Step { Outside, Name, ToIngredients, Ingredients };
    Step step = Step::Outside;
    while (auto line = reader.next()) {
        if (step == Step::Name) {
            recipes.push_back({std::string(*line), {}});
            step = Step::ToIngredients;
        } else if (*line == store::kTagName) {
            step = Step::Name;
        } else if (step == Step::ToIngredients) {
            if (*line == store::kTagIngredients) step = Step::Ingredients;
        } else if (step == Step::Ingredients) {
            if (line->starts_with("[G")) {
                step = Step::Outside;
            } else {
                recipes.back().lines.push_back(*line);
            }
        }
    }
    return recipes;
}

std::string trimmed(std::string_view s)
{
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(s.substr(first, s.find_last_not_of(' ') - first + 1));
}

}  // namespace

std::string searchCopy(std::string_view cookbook)
{
    std::string out;
    for (const auto& recipe : ingredientLines(cookbook)) {
        out += store::kTagName;
        out += text::kCrLf;
        out += recipe.name;
        out += text::kCrLf;
        out += store::kTagIngredients;
        out += text::kCrLf;
        for (auto line : recipe.lines) {
            out += line;
            out += text::kCrLf;
        }
    }
    return out;
}

std::string lastWord(std::string_view line)
{
    const auto blank = line.rfind(' ');
    if (blank == std::string_view::npos) return {};
    return trimmed(line.substr(blank + 1));
}

Progress searchProgress(std::size_t i, std::size_t n)
{
    Progress p;
    if (n == 0) {
        p.percent = 100;
        p.bar = 100;
    } else {
        p.percent = static_cast<int>(i * 100 / n);
        p.bar = static_cast<int>((i - std::min<std::size_t>(i, 1)) * 100 / n);
    }
    p.label = std::to_string(p.percent) + " % klart";
    return p;
}

std::string foundText(std::size_t found)
{
    return "I have found " + std::to_string(found) + " recipes...";
}

std::vector<std::string>
fridgeSearch(std::string_view cookbook, const std::vector<std::string>& words,
             const std::vector<std::string>& marked,
             const std::function<void(std::size_t, std::size_t, std::size_t)>& progress)
{
    // The first entry of the shown (sorted) list gives a word's spelling; the look-up is a hash
    // of the lower-cased list, so a long list costs no more than a short one.
    std::unordered_map<std::string, std::string_view> spelling;
    spelling.reserve(words.size());
    for (const auto& word : words) spelling.try_emplace(text::toLower(word), word);
    const std::unordered_set<std::string_view> marks(marked.begin(), marked.end());

    const auto recipes = ingredientLines(cookbook);
    std::vector<std::string> found;
    std::size_t examined = 0;
    for (const auto& recipe : recipes) {
        std::unordered_set<std::string_view> recognised;
        for (auto line : recipe.lines) {
            const std::string word = lastWord(line);
            if (word.empty()) continue;
            if (auto it = spelling.find(text::toLower(word)); it != spelling.end()) {
                recognised.insert(it->second);
            }
        }
        const bool matches =
            !recognised.empty() &&
            std::ranges::all_of(recognised, [&](std::string_view w) { return marks.contains(w); });
        if (matches) found.push_back(recipe.name);
        if (progress) progress(++examined, recipes.size(), found.size());
    }
    std::stable_sort(found.begin(), found.end(), text::CollateLess{});
    return found;
}

Result<void> writeSearchCopy(const ProgramFolder& folder, std::string_view cookbook)
{
    return folder.write(kSearchCopyFile, searchCopy(cookbook), kSearchCopyTemp);
}

std::string formatFridgeFile(const std::vector<std::string>& marked)
{
    std::string out;
    for (const auto& word : marked) {
        out += text::toLower(word);
        out += text::kCrLf;
    }
    return out;
}

Result<void> saveFridgeFile(const std::filesystem::path& file,
                            const std::vector<std::string>& marked)
{
    return writeFileAtomic(file, formatFridgeFile(marked), file.filename().string() + ".tmp");
}

std::vector<std::string> marksFromFridgeFile(std::string_view content,
                                             const std::vector<std::string>& words)
{
    std::unordered_set<std::string> wanted;
    for (auto line : text::splitLineViews(content)) wanted.insert(text::toLower(line));
    std::vector<std::string> marks;
    for (const auto& word : words) {
        if (wanted.contains(text::toLower(word))) marks.push_back(word);
    }
    return marks;
}

Result<std::vector<std::string>> openFridgeFile(const std::filesystem::path& file,
                                                const std::vector<std::string>& words)
{
    auto content = readFile(file);
    if (!content) return std::unexpected(content.error());
    return marksFromFridgeFile(*content, words);
}

}  // namespace culvora::search
