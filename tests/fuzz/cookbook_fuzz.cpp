// A cookbook file's content, as a user's hand edit, another program or an exchange download
// may leave it: the edits the program makes (append, replace, delete, and the copy a move
// makes), with record texts the fuzzer steers, keep every other record where it was, and what
// they write reads back as written. (Listing and reading records, and that every reader agrees
// on them, is the record reader's target.)
//
// fuzz-options: -max_len=16384

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/store/cookbook.h"
#include "core/text/text.h"
#include "fuzz_support.h"

namespace {

using namespace culvora;
using store::RecipeRecord;

// Each name is checked against the whole content, so only the first few distinct ones are:
// enough to reach every code path without making an input of many records crawl.
constexpr std::size_t kNamesChecked = 6;

std::vector<std::string> withoutFirst(std::vector<std::string> names, std::string_view name)
{
    auto it = std::find(names.begin(), names.end(), name);
    if (it != names.end()) names.erase(it);
    return names;
}

bool isTag(std::string_view line)
{
    for (std::string_view tag :
         {store::kTagName, store::kTagServings, store::kTagTime, store::kTagIngredients,
          store::kTagInstructions, store::kTagType}) {
        if (line == tag) return true;
    }
    return false;
}

// A line of the input that can stand as a one-line field (the editors refuse the tags there),
// or the fallback.
std::string fieldLine(const std::vector<std::string>& lines, std::size_t i, std::string fallback)
{
    if (lines.empty()) return fallback;
    const std::string& line = lines[i % lines.size()];
    return isTag(line) ? fallback : line;
}

// Lines of the input joined by CR LF (no final line end, as an editor hands them over), minus
// the lines that would end the section early.
std::string fieldLines(const std::vector<std::string>& lines, std::size_t from, std::size_t count,
                       bool ingredients)
{
    std::string out;
    for (std::size_t i = 0; i < count && !lines.empty(); ++i) {
        const std::string& line = lines[(from + i) % lines.size()];
        if (line == store::kTagName) continue;
        if (ingredients && (line.starts_with("[G") || line == store::kTagType)) continue;
        if (!ingredients && line == store::kTagType) continue;
        if (!out.empty()) out += text::kCrLf;
        out += line;
    }
    return out;
}

// A well-formed record made of the input's own lines, so the fuzzer steers its texts too.
RecipeRecord recordFrom(const std::vector<std::string>& lines, std::string name)
{
    RecipeRecord record;
    record.name = std::move(name);
    record.servings = fieldLine(lines, 1, "4");
    record.cookingTime = fieldLine(lines, 2, "30 min");
    record.ingredients = fieldLines(lines, 3, 3, true);
    record.instructions = fieldLines(lines, 6, 2, false);
    record.type = fieldLine(lines, 8, "Desserts");
    return record;
}

// What reading a written record gives back: each multi-line text ended by one CR LF.
RecipeRecord asRead(RecipeRecord record)
{
    record.ingredients += text::kCrLf;
    record.instructions += text::kCrLf;
    return record;
}

// A name no record of the content has: the input's last line if it can be one, else made up.
std::string freshName(const std::vector<std::string>& lines, const std::vector<std::string>& names)
{
    std::string name = lines.empty() ? std::string("Fuzzed pie") : lines.back();
    while (std::find(names.begin(), names.end(), name) != names.end()) name += '\'';
    return name;
}

void checkDelete(std::string_view content, const std::vector<std::string>& names)
{
    for (const auto& name : fuzz::firstDistinct(names, kNamesChecked)) {
        const auto changed = store::withDeleted(content, name);
        FUZZ_CHECK(changed.has_value());
        // The first record of that name goes; every other one stays, in order.
        FUZZ_CHECK(store::listNames(*changed) == withoutFirst(names, name));
    }
}

void checkAppend(std::string_view content, const std::vector<std::string>& names,
                 const std::vector<std::string>& lines)
{
    const RecipeRecord record = recordFrom(lines, freshName(lines, names));
    const std::string changed =
        store::withAppended(content, std::span<const RecipeRecord>(&record, 1));
    auto expected = names;
    expected.push_back(record.name);
    FUZZ_CHECK(store::listNames(changed) == expected);
    const auto read = store::parseRecord(changed, record.name);
    FUZZ_CHECK(read.has_value());
    FUZZ_CHECK(*read == asRead(record));

    // Two at once: both, in order, the second read back whole too.
    const RecipeRecord second = recordFrom(lines, record.name + "'");
    if (std::find(expected.begin(), expected.end(), second.name) == expected.end()) {
        const RecipeRecord both[] = {record, second};
        const std::string twice = store::withAppended(content, both);
        auto expectedTwice = expected;
        expectedTwice.push_back(second.name);
        FUZZ_CHECK(store::listNames(twice) == expectedTwice);
        const auto readSecond = store::parseRecord(twice, second.name);
        FUZZ_CHECK(readSecond.has_value() && *readSecond == asRead(second));
    }
}

void checkReplace(std::string_view content, const std::vector<std::string>& names,
                  const std::vector<std::string>& lines)
{
    for (const auto& name : fuzz::firstDistinct(names, kNamesChecked)) {
        const RecipeRecord record = recordFrom(lines, name);
        const auto changed = store::withReplaced(content, name, record);
        FUZZ_CHECK(changed.has_value());
        FUZZ_CHECK(store::listNames(*changed) == names);
        const auto read = store::parseRecord(*changed, name);
        FUZZ_CHECK(read.has_value());
        FUZZ_CHECK(*read == asRead(record));
    }
}

// A move copies a record's lines into another cookbook: the copy reads as the original did.
void checkCopy(std::string_view content, const std::vector<std::string>& names)
{
    for (const auto& name : fuzz::firstDistinct(names, kNamesChecked)) {
        const auto original = store::parseRecord(content, name);
        const auto lines = store::recordLines(content, name);
        FUZZ_CHECK(original.has_value() && lines.has_value());

        const std::string intoEmpty = store::withAppendedLines("", *lines);
        FUZZ_CHECK(store::listNames(intoEmpty) == std::vector<std::string>{name});
        const auto copy = store::parseRecord(intoEmpty, name);
        FUZZ_CHECK(copy.has_value() && *copy == *original);

        const std::string intoSame = store::withAppendedLines(content, *lines);
        auto expected = names;
        expected.push_back(name);
        FUZZ_CHECK(store::listNames(intoSame) == expected);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view content = fuzz::asText(data, size);
    const auto names = store::listNames(content);
    const auto lines = text::splitLines(content);

    checkDelete(content, names);
    checkAppend(content, names, lines);
    checkReplace(content, names, lines);
    checkCopy(content, names);
    return 0;
}
