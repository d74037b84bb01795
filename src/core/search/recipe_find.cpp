#include "core/search/recipe_find.h"

#include <algorithm>
#include <unordered_map>

#include "core/text/text.h"

namespace culvora::search {

namespace {

void appendLine(std::string& out, std::string_view line)
{
    text::appendFoldedForFind(out, line);
    out.push_back('\n');
}

void appendLines(std::string& out, const store::Lines& lines)
{
    for (std::string_view line : lines) appendLine(out, line);
}

// The records whose part of `folded` holds the query: `starts` are where each record's part
// begins, in file order. After a hit the search goes on from the next record's part, so a
// query costs one pass over the text however many lines of a record hold it.
std::vector<std::size_t> recordsHolding(const std::string& folded,
                                        const std::vector<std::size_t>& starts,
                                        std::string_view query)
{
    std::vector<std::size_t> hits;
    std::size_t pos = 0;
    while (true) {
        const std::size_t at = std::string_view(folded).find(query, pos);
        if (at == std::string_view::npos) break;
        const auto next = std::upper_bound(starts.begin(), starts.end(), at);
        const auto ordinal = static_cast<std::size_t>(next - starts.begin()) - 1;
        hits.push_back(ordinal);
        if (next == starts.end()) break;
        pos = *next;
    }
    return hits;
}

}  // namespace

RecipeFinder::RecipeFinder(std::string_view cookbook)
{
    foldedLines_.reserve(cookbook.size());
    std::unordered_map<std::string_view, std::size_t> seen;
    store::RecordReader reader(cookbook);
    while (auto record = reader.next()) {
        names_.emplace_back(record->name);
        occurrences_.push_back(seen[record->name]++);
        nameStarts_.push_back(foldedNames_.size());
        appendLine(foldedNames_, record->name);
        recordStarts_.push_back(foldedLines_.size());
        appendLine(foldedLines_, record->name);
        appendLine(foldedLines_, record->servings);
        appendLine(foldedLines_, record->time);
        appendLines(foldedLines_, record->ingredients.lines);
        appendLines(foldedLines_, record->instructions.lines);
        appendLine(foldedLines_, record->type);
    }
    order_ = text::collatedOrder(std::span<const std::string>(names_));
    rank_.resize(order_.size());
    for (std::size_t i = 0; i < order_.size(); ++i) rank_[order_[i]] = i;
}

std::vector<std::size_t> RecipeFinder::find(std::string_view query, FindMode mode) const
{
    if (query.find_first_of("\r\n") != std::string_view::npos) return {};
    if (query.empty()) return order_;
    const std::string folded = text::foldedForFind(query);
    auto hits = mode == FindMode::Names ? recordsHolding(foldedNames_, nameStarts_, folded)
                                        : recordsHolding(foldedLines_, recordStarts_, folded);
    std::sort(hits.begin(), hits.end(),
              [&](std::size_t a, std::size_t b) { return rank_[a] < rank_[b]; });
    return hits;
}

std::vector<std::string> RecipeFinder::findNames(std::string_view query, FindMode mode) const
{
    std::vector<std::string> names;
    for (std::size_t ordinal : find(query, mode)) names.push_back(names_[ordinal]);
    return names;
}

}  // namespace culvora::search
