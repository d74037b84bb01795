#pragma once

// The one property of the record files: for any bytes, every consumer of a cookbook (the list,
// reading a record, the time index and the time search, the fridge search and its search copy,
// the weekly menu, the archive pages, the exchange record) sees exactly the records the reader
// yields — those culvora-cli's list lists — in the same order, with the same fields; the
// drinks file likewise. And the reader's own: fields never hold a line break or a line that
// would have ended them, offsets lie in the file and rise, and a rewrite keeps every other
// record.
//
// Each check returns what went wrong, or the empty text. The fuzz target for the reader and
// the store's agreement test both run them.

#include <algorithm>
#include <cstddef>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/drinks/drinks.h"
#include "core/exchange/exchange_formats.h"
#include "core/menu/weekly_menu.h"
#include "core/recipes/html_page.h"
#include "core/recipes/recipe_view.h"
#include "core/search/fridge_search.h"
#include "core/search/time_search.h"
#include "core/store/cookbook.h"
#include "core/store/record_reader.h"
#include "core/text/text.h"
#include "core/transfer/html_archive.h"

namespace culvora::agreement {

using store::Record;

// Reading many records is quadratic in the look-ups by name, so the per-record checks look at
// the first few records and the last one: enough to reach every path.
inline constexpr std::size_t kRecordsChecked = 5;

inline std::vector<Record> readAll(std::string_view content,
                                   store::RecordFormat format = store::RecordFormat::Cookbook,
                                   bool* loneTag = nullptr)
{
    std::vector<Record> records;
    store::RecordReader reader(content, format, store::RecordReader::Count::Occurrences);
    while (auto record = reader.next()) records.push_back(*record);
    if (loneTag) *loneTag = reader.endedOnLoneTag();
    return records;
}

inline std::vector<std::size_t> sample(std::size_t count)
{
    std::vector<std::size_t> picked;
    for (std::size_t i = 0; i < count && i < kRecordsChecked; ++i) picked.push_back(i);
    if (count > kRecordsChecked) picked.push_back(count - 1);
    return picked;
}

inline std::vector<std::string> namesOf(const std::vector<Record>& records)
{
    std::vector<std::string> names;
    for (const auto& record : records) names.emplace_back(record.name);
    return names;
}

inline bool hasBreak(std::string_view s)
{
    return s.find_first_of("\r\n") != std::string_view::npos;
}

inline std::string at(std::size_t i, std::string_view what)
{
    return "record " + std::to_string(i) + ": " + std::string(what);
}

// --- The reader's own invariants ------------------------------------------------------------

inline std::string readerBroken(std::string_view content, store::RecordFormat format)
{
    bool loneTag = false;
    const auto records = readAll(content, format, &loneTag);
    const std::string_view endTag =
        format == store::RecordFormat::Drinks ? store::kTagGlass : store::kTagType;
    auto lineStart = [&](std::size_t pos) {
        return pos == 0 || pos == content.size() || content[pos - 1] == '\n' ||
               (content[pos - 1] == '\r' && content[pos] != '\n');
    };
    auto within = [&](const store::Lines& lines, std::size_t from, std::size_t to) {
        return lines.offset() >= from && lines.offset() + lines.bytes().size() <= to &&
               lineStart(lines.offset()) && lineStart(lines.offset() + lines.bytes().size()) &&
               content.substr(lines.offset(), lines.bytes().size()) == lines.bytes();
    };
    std::size_t previousEnd = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Record& r = records[i];
        if (r.ordinal != i) return at(i, "ordinal out of order");
        std::size_t same = 0;
        for (std::size_t k = 0; k < i; ++k) same += records[k].name == r.name;
        if (r.occurrence != same) return at(i, "wrong occurrence");
        if (!(previousEnd <= r.start && r.start < r.nameStart && r.nameStart <= r.bodyStart &&
              r.bodyStart <= r.end && r.end <= content.size())) {
            return at(i, "offsets out of order");
        }
        if (i > 0 && records[i - 1].end != r.start) return at(i, "a gap between records");
        if (text::LineReader(content.substr(r.start)).next() != store::kTagName) {
            return at(i, "does not start at a [NAMN] line");
        }
        if (text::LineReader(content.substr(r.nameStart)).next() != r.name) {
            return at(i, "the name is not its name line");
        }
        for (std::string_view field : {r.name, r.servings, r.time, r.type}) {
            if (hasBreak(field)) return at(i, "a line break in a field");
        }
        if (r.servings == store::kTagName || r.time == store::kTagName ||
            r.type == store::kTagName) {
            return at(i, "[NAMN] in a field");
        }
        const store::Lines* ranges[] = {&r.head, &r.ingredients.lines, &r.instructions.lines,
                                        &r.after};
        std::size_t from = r.bodyStart;
        for (const store::Lines* lines : ranges) {
            if (lines->empty()) continue;
            if (!within(*lines, from, r.end)) return at(i, "a field outside its record");
            from = lines->offset() + lines->bytes().size();
        }
        for (std::string_view line : r.ingredients.lines) {
            if (line == store::kTagName || line.starts_with(store::kInstructionsPrefix) ||
                line == endTag) {
                return at(i, "an ingredient line that ends the ingredients");
            }
        }
        for (std::string_view line : r.instructions.lines) {
            if (line == store::kTagName || line == endTag) {
                return at(i, "an instruction line that ends the instructions");
            }
        }
        for (std::string_view line : r.after) {
            if (line == store::kTagName) return at(i, "[NAMN] after the type");
        }
        if (!r.ingredients.present && !r.ingredients.lines.empty()) {
            return at(i, "ingredient lines without the section");
        }
        previousEnd = r.end;
    }
    // After the last record: the end of the file, or a lone "[NAMN]" line.
    if (!records.empty() && records.back().end != content.size()) {
        if (!loneTag ||
            text::LineReader(content.substr(records.back().end)).next() != store::kTagName) {
            return "the last record ends before the end of the file";
        }
    }
    for (std::size_t i : sample(records.size())) {
        const Record& r = records[i];
        auto found = store::findRecord(content, {r.name, r.occurrence}, format);
        if (!found || found->start != r.start) return at(i, "not found by name and occurrence");
        auto placed = store::recordAt(content, i, format);
        if (!placed || placed->start != r.start) return at(i, "not found by its place");
    }
    if (store::endsWithLoneTag(content, format) != loneTag) return "the lone [NAMN] is misread";
    return {};
}

// --- Rewrites keep every other record -------------------------------------------------------

struct Fields {
    store::RecipeRecord record;
    std::string after;
    bool operator==(const Fields&) const = default;
};

inline std::vector<Fields> fieldsOf(const std::vector<Record>& records)
{
    std::vector<Fields> out;
    for (const auto& r : records) {
        out.push_back({store::toRecipeRecord(r), store::joinedLines(r.after)});
    }
    return out;
}

inline std::string rewriteBroken(std::string_view content)
{
    const auto records = readAll(content);
    const auto before = fieldsOf(records);
    for (std::size_t i : sample(records.size())) {
        const store::RecordKey key{records[i].name, records[i].occurrence};
        auto others = before;
        others.erase(others.begin() + static_cast<std::ptrdiff_t>(i));

        const auto deleted = store::withDeleted(content, key);
        if (!deleted) return at(i, "delete did not find it");
        if (fieldsOf(readAll(*deleted)) != others) return at(i, "delete changed another record");

        const store::RecipeRecord replacement{
            std::string(records[i].name), "2", "20 min", "flour", "Mix.", "Desserts"};
        const auto replaced = store::withReplaced(content, key, replacement);
        if (!replaced) return at(i, "replace did not find it");
        auto after = fieldsOf(readAll(*replaced));
        if (after.size() != before.size()) return at(i, "replace changed the records");
        const Fields expected{
            {replacement.name, "2", "20 min", "flour\r\n", "Mix.\r\n", "Desserts"}, ""};
        if (after[i] != expected) return at(i, "replace did not write the record");
        after.erase(after.begin() + static_cast<std::ptrdiff_t>(i));
        if (after != others) return at(i, "replace changed another record");
    }
    const store::RecipeRecord added{"Appended \x01", "1", "5", "", "", "x"};
    const std::string appended = store::withAppended(content, std::span(&added, 1));
    auto grown = fieldsOf(readAll(appended));
    if (grown.empty() || grown.back().record.name != added.name) return "append lost the record";
    grown.pop_back();
    if (grown != before) return "append changed another record";
    return {};
}

// --- Every consumer sees the reader's records -----------------------------------------------

// The time search's ingredient text: lower-cased lines and the line that ended them, each
// followed by a blank, up to the first line that begins with "[".
inline std::string timeSearchText(const Record& r)
{
    std::string out;
    if (!r.ingredients.present) return out;
    auto add = [&](std::string_view line) {
        out += text::toLower(line);
        out += ' ';
        return line.starts_with('[');
    };
    for (std::string_view line : r.ingredients.lines) {
        if (add(line)) return out;
    }
    if (r.ingredients.endLine) add(*r.ingredients.endLine);
    return out;
}

// The weekly menu's: the lines and the line that ended them, each followed by CR LF.
inline std::string menuText(const Record& r)
{
    std::string out = store::joinedLines(r.ingredients.lines);
    if (r.ingredients.endLine) out += std::string(*r.ingredients.endLine) + "\r\n";
    return out;
}

inline std::vector<std::string> sortedCopy(std::vector<std::string> names)
{
    std::stable_sort(names.begin(), names.end(), text::CollateLess{});
    return names;
}

inline bool containsAll(std::string_view text, const std::vector<std::string>& words)
{
    return std::ranges::all_of(words,
                               [&](const std::string& w) { return text.find(w) != text.npos; });
}

inline std::string consumersDisagree(std::string_view content)
{
    const auto records = readAll(content);
    const auto names = namesOf(records);

    if (store::listNames(content) != names) return "the list";

    for (std::size_t i : sample(records.size())) {
        const store::RecordKey key{records[i].name, records[i].occurrence};
        if (store::parseRecord(content, key) != store::toRecipeRecord(records[i])) {
            return at(i, "reading the record");
        }
        auto forEdit = store::toRecipeRecord(records[i]);
        forEdit.instructions += store::joinedLines(records[i].after);
        if (store::parseRecordForEdit(content, key) != forEdit) return at(i, "the editor");
        std::string lines;
        store::appendNormalised(
            lines, content.substr(records[i].nameStart, records[i].end - records[i].nameStart));
        if (records[i].occurrence == 0) {
            if (exchange::exchangeRecord(content, records[i].name) != "[NAMN]\r\n" + lines) {
                return at(i, "the exchange record");
            }
            if (!exchange::nameTaken(content, records[i].name)) return at(i, "a taken name");
        }
        if (store::recordLines(content, key) != lines) return at(i, "the record's lines");

        // A name no record has is found by none of the look-ups, whatever lines read like it.
        const std::string other = std::string(records[i].name) + "\x01";
        if (std::find(names.begin(), names.end(), other) == names.end() &&
            (store::parseRecord(content, other) || store::recordLines(content, other) ||
             store::withDeleted(content, other) || exchange::exchangeRecord(content, other) ||
             exchange::nameTaken(content, other) || drinks::readDrink(content, other))) {
            return at(i, "a name that is not listed was found");
        }
    }

    // The time index and the time search, over the index and over the cookbook alone.
    const auto index = search::buildTimeIndex(content);
    if (index.size() != records.size()) return "the time index";
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (index[i].name != records[i].name || index[i].time != records[i].time) {
            return at(i, "the time index");
        }
    }
    std::vector<std::string> types = {"Hot dish"};
    for (std::size_t i : sample(records.size())) types.emplace_back(records[i].type);
    std::vector<std::vector<std::string>> wordSets = {{}};
    for (std::size_t i : sample(records.size())) {
        const std::string text = timeSearchText(records[i]);
        if (text.size() >= 3) wordSets.push_back({text.substr(text.size() / 3, 3)});
    }
    for (const auto& type : types) {
        for (double maxMinutes : {std::numeric_limits<double>::infinity(), 30.0}) {
            for (const auto& words : wordSets) {
                const search::TimeQuery query{type, maxMinutes, words};
                std::vector<std::string> expected;
                for (const auto& r : records) {
                    if (maxMinutes >= search::recipeMinutes(r.time) && r.type == type &&
                        containsAll(timeSearchText(r), words)) {
                        expected.emplace_back(r.name);
                    }
                }
                expected = sortedCopy(expected);
                if (search::searchByTime(content, index, query) != expected) {
                    return "the time search over its index";
                }
                if (search::searchByTime(content, query) != expected) return "the time search";
            }
        }
    }

    // The fridge search's copy and the search itself.
    std::string copy;
    for (const auto& r : records) {
        copy += "[NAMN]\r\n" + std::string(r.name) + "\r\n[IND]\r\n" +
                store::joinedLines(r.ingredients.lines);
    }
    if (search::searchCopy(content) != copy) return "the fridge search copy";
    std::vector<std::string> list;
    for (const auto& r : records) {
        for (std::string_view line : r.ingredients.lines) {
            const std::string word = search::lastWord(line);
            if (!word.empty() && std::find(list.begin(), list.end(), word) == list.end()) {
                list.push_back(word);
            }
        }
    }
    list = sortedCopy(list);
    const std::vector<std::string> marked(
        list.begin(), list.begin() + static_cast<std::ptrdiff_t>(list.size() / 2));
    std::vector<std::string> fridge;
    for (const auto& r : records) {
        bool recognised = false;
        bool allMarked = true;
        for (std::string_view line : r.ingredients.lines) {
            const std::string word = text::toLower(search::lastWord(line));
            if (word.empty()) continue;
            auto spelled = std::find_if(list.begin(), list.end(), [&](const std::string& w) {
                return text::toLower(w) == word;
            });
            if (spelled == list.end()) continue;
            recognised = true;
            allMarked =
                allMarked && std::find(marked.begin(), marked.end(), *spelled) != marked.end();
        }
        if (recognised && allMarked) fridge.emplace_back(r.name);
    }
    if (search::fridgeSearch(content, list, marked) != sortedCopy(fridge))
        return "the fridge search";

    // The weekly menu.
    for (auto meal : {menu::Meal::Light, menu::Meal::Casual, menu::Meal::Special}) {
        for (const std::vector<std::string>& words :
             {std::vector<std::string>{}, std::vector<std::string>{"e"}}) {
            std::vector<std::string> expected;
            for (const auto& r : records) {
                const double minutes = text::leadingNumber(r.time);
                if (r.name.empty() || r.type.empty() || minutes == 0) continue;
                const bool fits =
                    meal == menu::Meal::Light
                        ? r.type == "First Course"
                        : r.type == "Hot dish" &&
                              (meal == menu::Meal::Casual ? minutes <= 50 : minutes > 50);
                if (fits && containsAll(menuText(r), words)) expected.emplace_back(r.name);
            }
            if (menu::compose(content, meal, words).candidates != expected) {
                return "the weekly menu";
            }
        }
    }
    const auto composed = menu::compose(content, menu::Meal::Casual, {});
    auto last = std::find_if(records.rbegin(), records.rend(),
                             [](const Record& r) { return r.ingredients.present; });
    if (composed.anyIngredients != (last != records.rend()) ||
        (last != records.rend() && composed.lastIngredients != menuText(*last))) {
        return "the weekly menu's scratch file";
    }

    // The archive: a page for every record with a name of its own (not empty, not a tag line),
    // in alphabetical order.
    transfer::ArchiveOptions options;
    options.frames = false;
    const auto files = transfer::archiveFiles(content, options);
    std::vector<const Record*> sorted;
    for (const auto& r : records) {
        const std::string_view tags[] = {store::kTagName,         store::kTagServings,
                                         store::kTagTime,         store::kTagIngredients,
                                         store::kTagInstructions, store::kTagType};
        if (!r.name.empty() && std::ranges::find(tags, r.name) == std::end(tags)) {
            sorted.push_back(&r);
        }
    }
    if (files.size() != sorted.size() + 1) return "the archive's pages";
    std::stable_sort(sorted.begin(), sorted.end(), [](const Record* a, const Record* b) {
        return text::collateLess(a->name, b->name);
    });
    const std::string background = transfer::backgroundLine(options);
    for (std::size_t i : sample(sorted.size())) {
        const Record& r = *sorted[i];
        const recipes::HtmlPageTexts texts{
            std::string(r.name), "(Serves " + std::string(r.servings) + ")",
            recipes::timeText(r.time),
            store::joinedLines(r.ingredients.lines), store::joinedLines(r.instructions.lines)};
        if (files[i + 1].content != recipes::recipePage(texts, background)) {
            return at(i, "the archive page");
        }
    }
    return {};
}

// --- The drinks file --------------------------------------------------------------------------

inline std::string drinksDisagree(std::string_view content)
{
    bool loneTag = false;
    const auto records = readAll(content, store::RecordFormat::Drinks, &loneTag);
    const auto listed = drinks::listDrinks(content);
    if (listed.names != namesOf(records) || listed.endsWithLoneTag != loneTag) {
        return "the drinks list";
    }
    drinks::GlassFilter filter;
    for (int glass : {0, 4, 5, 14}) filter.toggle(glass);
    std::vector<std::string> filtered;
    for (const auto& r : records) {
        if (filter.isChecked(drinks::glassIndex(r.glass()))) filtered.emplace_back(r.name);
    }
    if (drinks::listDrinks(content, &filter).names != filtered) return "the glass filter";
    for (std::size_t i : sample(records.size())) {
        if (records[i].occurrence != 0) continue;
        const drinks::Drink expected{
            std::string(records[i].name), store::joinedLines(records[i].ingredients.lines),
            store::joinedLines(records[i].instructions.lines), std::string(records[i].glass())};
        if (drinks::readDrink(content, records[i].name) != expected)
            return at(i, "reading a drink");
    }
    return {};
}

}  // namespace culvora::agreement
