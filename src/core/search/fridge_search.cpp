#include "core/search/fridge_search.h"

#include <algorithm>
#include <cstdint>
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

// The Fridge list's words, lower-cased, each with whether it is marked: an open-addressing
// table looked up with the last word of every ingredient line of the cookbook, lower-casing
// and hashing that word in one pass and never copying it.
class KnownWords {
public:
    explicit KnownWords(std::size_t count)
    {
        std::size_t size = 16;
        while (size < count * 2) size *= 2;
        slots_.resize(size);
        mask_ = size - 1;
    }

    // Keeps the first entry of a word, as the list shows it first.
    void add(std::string_view lowered, bool marked)
    {
        for (std::size_t i = hash(lowered) & mask_;; i = (i + 1) & mask_) {
            Slot& slot = slots_[i];
            if (!slot.used) {
                slot = {std::string(lowered), marked, true};
                return;
            }
            if (slot.word == lowered) return;
        }
    }

    // The entry of a word as it stands in a line, lower-cased here; none when it is not known.
    const bool* marked(std::string_view word) const
    {
        if (word.size() > longest_) return nullptr;
        for (std::size_t i = hash(word) & mask_;; i = (i + 1) & mask_) {
            const Slot& slot = slots_[i];
            if (!slot.used) return nullptr;
            if (slot.word.size() == word.size() && sameLowered(slot.word, word)) {
                return &slot.marked;
            }
        }
    }

    void setLongest(std::size_t longest) { longest_ = longest; }

private:
    struct Slot {
        std::string word;
        bool marked = false;
        bool used = false;
    };

    static std::size_t hash(std::string_view word)
    {
        const auto& lower = lowerCaseTable();
        std::uint64_t h = 1469598103934665603ULL;
        for (char c : word) {
            h ^= static_cast<unsigned char>(lower[static_cast<unsigned char>(c)]);
            h *= 1099511628211ULL;
        }
        return static_cast<std::size_t>(h ^ (h >> 29));
    }

    static bool sameLowered(std::string_view lowered, std::string_view word)
    {
        const auto& lower = lowerCaseTable();
        for (std::size_t i = 0; i < word.size(); ++i) {
            if (lowered[i] != lower[static_cast<unsigned char>(word[i])]) return false;
        }
        return true;
    }

    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
    std::size_t longest_ = 0;
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
    KnownWords known(words.size());
    std::size_t longest = 0;
    for (const auto& word : words) {
        known.add(text::toLower(word), marks.contains(word));
        longest = std::max(longest, word.size());
    }
    known.setLongest(longest);

    const std::size_t total = progress ? recordCount(cookbook) : 0;
    std::vector<std::string> found;
    std::size_t examined = 0;
    store::RecordReader reader(cookbook);
    while (auto recipe = reader.next()) {
        // A match needs a recognised ingredient and every recognised one marked.
        bool recognised = false;
        bool allMarked = true;
        for (std::string_view line : recipe->ingredients.lines) {
            const std::string_view word = lastWordOf(line);
            if (word.empty()) continue;
            const bool* isMarked = known.marked(word);
            if (isMarked == nullptr) continue;
            recognised = true;
            if (!*isMarked) {
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
