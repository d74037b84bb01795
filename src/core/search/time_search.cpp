#include "core/search/time_search.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "core/search/lower_case.h"
#include "core/store/record_reader.h"
#include "core/text/text.h"

namespace culvora::search {

namespace {

// Whether a record is a hit. The text buffer is kept from record to record.
class Matcher {
public:
    explicit Matcher(const TimeQuery& query) : query_(query) {}

    bool matches(const store::Record& record, std::string_view time)
    {
        if (!(query_.maxMinutes >= recipeMinutes(time))) return false;
        if (record.type != query_.type) return false;
        if (query_.words.empty()) return true;
        ingredientText(record);
        return std::ranges::all_of(query_.words, [&](const std::string& word) {
            return text_.find(word) != std::string::npos;
        });
    }

private:
    // The ingredient lines and the line that ended them, each lower-cased and followed by a
    // blank, up to and including the first line that begins with "[".
    void ingredientText(const store::Record& record)
    {
        text_.clear();
        if (!record.ingredients.present) return;
        auto add = [&](std::string_view line) {
            appendLowerCase(text_, line);
            text_ += ' ';
            return line.starts_with('[');
        };
        for (std::string_view line : record.ingredients.lines) {
            if (add(line)) return;
        }
        if (record.ingredients.endLine) add(*record.ingredients.endLine);
    }

    const TimeQuery& query_;
    std::string text_;
};

// The n-th index entry of a name stands for the n-th record of that name.
struct Occurrence {
    std::string_view name;
    std::size_t nth = 0;
    bool operator==(const Occurrence&) const = default;
};

struct OccurrenceHash {
    std::size_t operator()(const Occurrence& o) const
    {
        return std::hash<std::string_view>{}(o.name) * 31 + o.nth;
    }
};

void sortHits(std::vector<std::string>& hits)
{
    text::sortCollated(hits);
}

}  // namespace

std::vector<TimeEntry> buildTimeIndex(std::string_view cookbook)
{
    std::vector<TimeEntry> entries;
    store::RecordReader reader(cookbook);
    while (auto record = reader.next()) {
        entries.push_back({std::string(record->name), std::string(record->time)});
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
    Matcher matcher(query);
    std::vector<std::string> hits;
    store::RecordReader reader(cookbook);
    std::optional<store::Record> record = reader.next();
    // The index was made from this cookbook, so its entries are the records in order until the
    // cookbook has changed since: walk both side by side as long as they agree.
    std::size_t done = 0;
    for (; record && done < index.size() && index[done].name == record->name;
         record = reader.next()) {
        if (matcher.matches(*record, index[done].time)) hits.emplace_back(record->name);
        ++done;
        if (progress) progress(done, hits.size());
    }
    if (done < index.size()) {
        // Changed: the entries left are found by name and occurrence. Up to here both sides
        // held the same names, so their occurrence counts start out equal.
        std::unordered_map<std::string_view, std::size_t> entryCount;
        for (std::size_t i = 0; i < done; ++i) ++entryCount[index[i].name];
        std::unordered_map<std::string_view, std::size_t> recordCount = entryCount;
        std::unordered_map<Occurrence, std::size_t, OccurrenceHash> entryOf;
        for (std::size_t i = done; i < index.size(); ++i) {
            entryOf.emplace(Occurrence{index[i].name, entryCount[index[i].name]++}, i);
        }
        std::vector<bool> hit(index.size() - done, false);
        for (; record; record = reader.next()) {
            const Occurrence key{record->name, recordCount[record->name]++};
            auto entry = entryOf.find(key);
            if (entry == entryOf.end()) continue;
            hit[entry->second - done] = matcher.matches(*record, index[entry->second].time);
        }
        for (std::size_t i = done; i < index.size(); ++i) {
            if (hit[i - done]) hits.push_back(index[i].name);
            if (progress) progress(i + 1, hits.size());
        }
    }
    sortHits(hits);
    return hits;
}

std::vector<std::string> searchByTime(std::string_view cookbook, const TimeQuery& query)
{
    Matcher matcher(query);
    std::vector<std::string> hits;
    store::RecordReader reader(cookbook);
    while (auto record = reader.next()) {
        if (matcher.matches(*record, record->time)) hits.emplace_back(record->name);
    }
    sortHits(hits);
    return hits;
}

std::vector<std::string> minutesTable()
{
    return {"60 min = 1h",       "30 min = \xBD h", "90 min = 1\xBD h",  "120 min = 2 h",
            "150 min = 2\xBD h", "180 min = 3 h",   "210 min = 3\xBD h", "240 min = 4 h",
            "270 min = 4\xBD h", "300 min = 5 h"};
}

}  // namespace culvora::search
