#include "core/search/fridge_list.h"

#include <algorithm>
#include <unordered_set>

#include "core/text/text.h"

namespace culvora::search {

namespace {

std::string trimmed(std::string_view s)
{
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(' ');
    return std::string(s.substr(first, last - first + 1));
}

}  // namespace

std::vector<std::string> parseFridgeList(std::string_view content)
{
    std::vector<std::string> words;
    for (auto line : text::splitLineViews(content)) {
        if (!line.empty()) words.emplace_back(line);
    }
    return words;
}

Result<std::vector<std::string>> readFridgeList(const ProgramFolder& folder)
{
    auto content = folder.readOrEmpty(kFridgeListFile);
    if (!content) return std::unexpected(content.error());
    return parseFridgeList(*content);
}

Result<void> writeFridgeList(const ProgramFolder& folder, std::vector<std::string> words)
{
    std::stable_sort(words.begin(), words.end(), text::CollateLess{});
    return folder.write(kFridgeListFile, text::joinLines(words), kFridgeListTemp);
}

Result<void> appendFridgeWords(const ProgramFolder& folder, const std::vector<std::string>& words)
{
    if (words.empty()) return {};
    auto lock = FolderLock::acquire(folder);
    if (!lock) return std::unexpected(lock.error());
    auto content = folder.readOrEmpty(kFridgeListFile);
    if (!content) return std::unexpected(content.error());
    std::string updated = *content;
    if (!updated.empty() && updated.back() != '\n' && updated.back() != '\r') {
        updated += text::kCrLf;
    }
    updated += text::joinLines(words);
    return folder.write(kFridgeListFile, updated, kFridgeListTemp);
}

Result<std::string> fridgeWord(std::string_view typed)
{
    if (typed.find_first_of("\r\n") != std::string_view::npos) {
        return fail(ErrorCode::Invalid, "An ingredient word must be one line.");
    }
    return text::toLower(typed);
}

std::string candidateWord(std::string_view line)
{
    const auto blank = line.rfind(' ');
    return text::toLower(blank == std::string_view::npos ? line : line.substr(blank + 1));
}

std::vector<std::string> newIngredientCandidates(const std::vector<std::string>& lines,
                                                 const std::vector<std::string>& fridgeWords,
                                                 CheckVariant variant)
{
    // Looked up in a hash of the lower-cased list: a long list and a long recipe stay quick.
    std::unordered_set<std::string> known;
    known.reserve(fridgeWords.size());
    for (const auto& word : fridgeWords) known.insert(text::toLower(word));
    std::vector<std::string> offered;
    for (const auto& line : lines) {
        const std::string candidate = candidateWord(line);
        if (known.contains(candidate)) continue;
        if (variant == CheckVariant::Download) {
            if (candidate.empty()) continue;
            offered.push_back(trimmed(candidate));
        } else {
            const std::string word = trimmed(candidate);
            if (word.empty() || word.back() == ')') continue;
            offered.push_back(word);
        }
    }
    return offered;
}

}  // namespace culvora::search
