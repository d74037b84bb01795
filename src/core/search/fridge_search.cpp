#include "core/search/fridge_search.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "core/search/lower_case.h"
#include "core/store/record_reader.h"
#include "core/text/text.h"

namespace culvora::search {

namespace {

// The progress needs the number of records first; counting them is a walk that keeps nothing,
// where a table of them would cost more than the file for one of millions of tiny records.
std::size_t recordCount(std::string_view cookbook)
{
    std::size_t count = 0;
    store::RecordReader reader(cookbook);
    while (reader.next()) ++count;
    return count;
}

std::string_view trimmed(std::string_view s)
{
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

std::string_view lastWordOf(std::string_view line)
{
    const auto blank = line.rfind(' ');
    if (blank == std::string_view::npos) return {};
    return trimmed(line.substr(blank + 1));
}

// Looks up a lower-cased word without making a string of it.
struct WordHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

}  // namespace

std::string searchCopy(std::string_view cookbook)
{
    std::string out;
    store::RecordReader reader(cookbook);
    while (auto record = reader.next()) {
        out += store::kTagName;
        out += text::kCrLf;
        out += record->name;
        out += text::kCrLf;
        out += store::kTagIngredients;
        out += text::kCrLf;
        store::appendNormalised(out, record->ingredients.lines.bytes());
    }
    return out;
}

std::string lastWord(std::string_view line)
{
    return std::string(lastWordOf(line));
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
    // Each lower-cased word of the list, and whether the entry that gives its spelling (the
    // first in the shown, sorted list) is marked. A hash, so a long list costs no more than a
    // short one.
    const std::unordered_set<std::string_view> marks(marked.begin(), marked.end());
    std::unordered_map<std::string, bool, WordHash, std::equal_to<>> known;
    known.reserve(words.size());
    for (const auto& word : words) known.try_emplace(text::toLower(word), marks.contains(word));

    const std::size_t total = progress ? recordCount(cookbook) : 0;
    std::vector<std::string> found;
    std::string lower;
    std::size_t examined = 0;
    store::RecordReader reader(cookbook);
    while (auto recipe = reader.next()) {
        // A match needs a recognised ingredient and every recognised one marked.
        bool recognised = false;
        bool allMarked = true;
        for (std::string_view line : recipe->ingredients.lines) {
            const std::string_view word = lastWordOf(line);
            if (word.empty()) continue;
            lower.clear();
            appendLowerCase(lower, word);
            auto it = known.find(std::string_view(lower));
            if (it == known.end()) continue;
            recognised = true;
            if (!it->second) {
                allMarked = false;
                break;
            }
        }
        if (recognised && allMarked) found.emplace_back(recipe->name);
        if (progress) progress(++examined, total, found.size());
    }
    text::sortCollated(found);
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
    return writeOutputFile(file, formatFridgeFile(marked));
}

std::vector<std::string> marksFromFridgeFile(std::string_view content,
                                             const std::vector<std::string>& words)
{
    // The file's lines are looked up among the list's words, not gathered: a fridge file is any
    // file the user picked, and may be a huge one.
    std::unordered_map<std::string, bool, WordHash, std::equal_to<>> wanted;
    for (const auto& word : words) wanted.try_emplace(text::toLower(word), false);
    text::LineReader lines(content);
    std::string lower;
    while (auto line = lines.next()) {
        lower.clear();
        appendLowerCase(lower, *line);
        if (auto it = wanted.find(std::string_view(lower)); it != wanted.end()) it->second = true;
    }
    std::vector<std::string> marks;
    for (const auto& word : words) {
        if (wanted.find(std::string_view(text::toLower(word)))->second) marks.push_back(word);
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
