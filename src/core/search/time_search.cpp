#include "core/search/time_search.h"

#include <algorithm>
#include <unordered_map>

#include "core/store/cookbook.h"
#include "core/text/text.h"

namespace culvora::search {

namespace {

// What the time search reads of one record.
struct SearchRecord {
    std::string ingredientText;  // lower case: every line and a blank after it
    std::string type;
    bool hasType = false;
};

// Each record's lines run from its name line up to the next "[NAMN]". Within them the tags are
// looked for by their text: "[IND]", then the ingredient lines up to and including the first
// line that begins with "[", then "[TYP]" and the type after it.
std::vector<std::pair<std::string, SearchRecord>> parseForSearch(std::string_view cookbook)
{
    std::vector<std::pair<std::string, SearchRecord>> records;
    text::LineReader reader(cookbook);
    enum class Step { Outside, Name, ToIngredients, Ingredients, ToType, Type, Done };
    Step step = Step::Outside;
    SearchRecord* current = nullptr;
    while (auto line = reader.next()) {
        if (*line == store::kTagName && step != Step::Name) {
            step = Step::Name;
            continue;
        }
        switch (step) {
        case Step::Outside:
        case Step::Done: break;
        case Step::Name:
            records.emplace_back(std::string(*line), SearchRecord{});
            current = &records.back().second;
            step = Step::ToIngredients;
            break;
        case Step::ToIngredients:
            if (*line == store::kTagIngredients) step = Step::Ingredients;
            break;
        case Step::Ingredients:
            current->ingredientText += text::toLower(*line);
            current->ingredientText += ' ';
            if (line->starts_with("[")) step = Step::ToType;
            break;
        case Step::ToType:
            if (*line == store::kTagType) step = Step::Type;
            break;
        case Step::Type:
            current->type = std::string(*line);
            current->hasType = true;
            step = Step::Done;
            break;
        }
    }
    return records;
}

}  // namespace

std::vector<TimeEntry> buildTimeIndex(std::string_view cookbook)
{
    std::vector<TimeEntry> entries;
    text::LineReader reader(cookbook);
    enum class Step { Outside, Name, ToTime, Time };
    Step step = Step::Outside;
    while (auto line = reader.next()) {
        if (step == Step::Name) {
            entries.push_back({std::string(*line), {}});
            step = Step::ToTime;
        } else if (*line == store::kTagName) {
            step = Step::Name;
        } else if (step == Step::Time) {
            entries.back().time = std::string(*line);
            step = Step::Outside;
        } else if (step == Step::ToTime && *line == store::kTagTime) {
            // The record's first "[TID]" gives its time.
            step = Step::Time;
        }
    }
    return entries;
}

std::string formatTimeIndex(const std::vector<TimeEntry>& entries)
{
    std::string out;
    for (const auto& entry : entries) {
        out += entry.name;
        out += text::kCrLf;
        out += entry.time;
        out += text::kCrLf;
    }
    return out;
}

std::vector<TimeEntry> parseTimeIndex(std::string_view content)
{
    std::vector<TimeEntry> entries;
    text::LineReader reader(content);
    while (auto name = reader.next()) {
        auto time = reader.next();
        if (!time) break;
        entries.push_back({std::string(*name), std::string(*time)});
    }
    return entries;
}

Result<std::vector<TimeEntry>> writeTimeIndex(const ProgramFolder& folder,
                                              const std::string& cookbookFile)
{
    if (auto valid = checkCookbookFileName(cookbookFile); !valid) {
        return std::unexpected(valid.error());
    }
    auto text = folder.readOrEmpty(cookbookFile);
    if (!text) return std::unexpected(text.error());
    auto entries = buildTimeIndex(*text);
    if (auto written = folder.write(kTimeIndexFile, formatTimeIndex(entries), kTimeIndexTemp);
        !written) {
        return std::unexpected(written.error());
    }
    return entries;
}

double recipeMinutes(std::string_view time)
{
    const auto blank = time.find(' ');
    return text::leadingNumber(blank == std::string_view::npos ? time : time.substr(0, blank));
}

std::vector<std::string> maxTimeChoices()
{
    std::vector<std::string> choices;
    for (int minutes = 0; minutes <= 300; minutes += 10) choices.push_back(std::to_string(minutes));
    return choices;
}

std::vector<std::string>
searchByTime(std::string_view cookbook, const std::vector<TimeEntry>& index, const TimeQuery& query,
             const std::function<void(std::size_t examined, std::size_t hits)>& progress)
{
    const auto records = parseForSearch(cookbook);
    // Every record of a name, in file order: the n-th index entry of a name is its n-th record.
    std::unordered_map<std::string_view, std::vector<std::size_t>> byName;
    byName.reserve(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) byName[records[i].first].push_back(i);
    std::unordered_map<std::string_view, std::size_t> seen;

    std::vector<std::string> hits;
    std::size_t examined = 0;
    for (const TimeEntry& entry : index) {
        const std::size_t nth = seen[entry.name]++;
        const auto found = byName.find(entry.name);
        ++examined;
        if (found != byName.end() && nth < found->second.size()) {
            const SearchRecord& record = records[found->second[nth]].second;
            const bool inTime = query.maxMinutes >= recipeMinutes(entry.time);
            const bool ofType = record.hasType && record.type == query.type;
            const bool withWords = std::ranges::all_of(query.words, [&](const std::string& word) {
                return record.ingredientText.find(word) != std::string::npos;
            });
            if (inTime && ofType && withWords) hits.push_back(entry.name);
        }
        if (progress) progress(examined, hits.size());
    }
    std::stable_sort(hits.begin(), hits.end(), text::CollateLess{});
    return hits;
}

std::vector<std::string> minutesTable()
{
    return {"60 min = 1h",       "30 min = \xBD h", "90 min = 1\xBD h",  "120 min = 2 h",
            "150 min = 2\xBD h", "180 min = 3 h",   "210 min = 3\xBD h", "240 min = 4 h",
            "270 min = 4\xBD h", "300 min = 5 h"};
}

}  // namespace culvora::search
