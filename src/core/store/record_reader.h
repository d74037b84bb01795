#pragma once

// The one reader of the tagged record files: cookbooks (and exchange files, which hold one
// cookbook record) and, with its own tags, the drinks file. Everything that reads records goes
// through it, so the rules for a hand-edited file are made here once:
//
// - A line reads "[NAMN]" or it does not: tags are whole lines compared exactly. A line ends at
//   CR LF, a lone CR or a lone LF; a last line without a line end is still a line.
// - Lines before the first "[NAMN]" line belong to no record.
// - A "[NAMN]" line starts a record; the line after it is the record's name, whatever it reads
//   (even "[NAMN]"). From the line after the name on, a "[NAMN]" line always starts the next
//   record, wherever it stands: no field ever reads into the next record.
// - A "[NAMN]" line that no line follows starts no record (deleting the last record leaves it).
// - A field the record does not reach (cut short by the next "[NAMN]" or the end of the file)
//   reads as empty.
//
// A cookbook record, after its name:
//   the servings tag, the servings, the time tag, the time, the ingredients tag: taken by
//     position, their text not compared ("[Portioner]" still gives the servings). A line that
//     is exactly a tag that comes later ("[TID]", "[IND]", "[GÖRA]", "[TYP]") where an earlier
//     line was expected is taken as that tag, and the fields it skips read as empty: a record
//     that lost its "[PORTIONER]" line still shows its time and ingredients. (The editors
//     refuse those tags as values, so a record they write always reads back by position.)
//   the ingredient lines: up to the first line beginning "[G" (the instructions tag, known by
//     this prefix alone, so "[GORA]" from a file that lost its Ö still ends them) or, when the
//     instructions tag is missing, the type tag "[TYP]";
//   the instruction lines: up to the line "[TYP]";
//   the type: the line after "[TYP]";
//   the lines after the type line up to the next record belong to no field (the editor adds
//   them to the instructions).
// A drinks record, after its name: the ingredient lines up to the first line beginning "[G",
// the mixing instructions up to "[GLAS]", and the glass on the line after it. When the line
// that ends the ingredients is "[GLAS]" itself, the drink has no instructions and that line is
// its glass tag.
//
// The reader walks the bytes once and copies nothing: a record is views into the file and byte
// offsets, and its multi-line fields are ranges of whole lines that a consumer walks with a line
// cursor. Nothing is stored per line, so a file of a hundred megabytes of empty lines costs no
// more memory than its own bytes.

#include <cstddef>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "core/text/text.h"

namespace culvora::store {

inline constexpr std::string_view kTagName = "[NAMN]";
inline constexpr std::string_view kTagServings = "[PORTIONER]";
inline constexpr std::string_view kTagTime = "[TID]";
inline constexpr std::string_view kTagIngredients = "[IND]";
inline constexpr std::string_view kTagInstructions = "[G\xD6RA]";
inline constexpr std::string_view kTagType = "[TYP]";
inline constexpr std::string_view kTagGlass = "[GLAS]";
// The instructions tag is recognised by this prefix alone.
inline constexpr std::string_view kInstructionsPrefix = "[G";

enum class RecordFormat {
    Cookbook,  // cookbooks and exchange files
    Drinks,    // drinkar.txt
};

// Whole lines of a file, each with its line end as the file holds it (the last line of the file
// may have none). Walk them with a range-for or a line cursor.
class Lines {
public:
    Lines() = default;
    Lines(std::string_view bytes, std::size_t offset) : bytes_(bytes), offset_(offset) {}

    std::string_view bytes() const { return bytes_; }
    // Where the lines begin in the file.
    std::size_t offset() const { return offset_; }
    bool empty() const { return bytes_.empty(); }
    text::LineReader cursor() const { return text::LineReader(bytes_); }

    class Iterator {
    public:
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        Iterator() = default;
        explicit Iterator(std::string_view bytes) : reader_(bytes) { ++*this; }
        std::string_view operator*() const { return line_; }
        Iterator& operator++()
        {
            auto next = reader_.next();
            done_ = !next;
            if (next) line_ = *next;
            return *this;
        }
        void operator++(int) { ++*this; }
        bool operator==(std::default_sentinel_t) const { return done_; }

    private:
        text::LineReader reader_{std::string_view()};
        std::string_view line_;
        bool done_ = true;
    };
    Iterator begin() const { return Iterator(bytes_); }
    std::default_sentinel_t end() const { return {}; }

private:
    std::string_view bytes_;
    std::size_t offset_ = 0;
};

// A multi-line field and the tag line that ended it.
struct Section {
    bool present = false;  // the record reached the section (for cookbooks: its tag was read)
    Lines lines;
    // The tag line that ended the section ("[GÖRA]" after the ingredients, "[TYP]" after the
    // instructions), when one did; a record that ends first leaves it unset.
    std::optional<std::string_view> endLine;
};

// One record as the file holds it: views into the file's bytes, valid as long as they are.
struct Record {
    std::size_t ordinal = 0;     // its place among the file's records, from 0
    std::size_t occurrence = 0;  // how many records before it have the same name (when counted)

    std::size_t start = 0;      // offset of its "[NAMN]" line
    std::size_t nameStart = 0;  // offset of its name line
    std::size_t bodyStart = 0;  // offset of the line after the name line
    std::size_t end = 0;        // offset of the next record's "[NAMN]" line, or the file's end

    std::string_view name;
    // Cookbooks: the lines between the name and the ingredient lines (the three tags and the
    // two values, as far as the record has them).
    Lines head;
    std::string_view servings;
    std::string_view time;
    Section ingredients;
    Section instructions;
    bool hasType = false;   // a line stands after the type tag (or, for drinks, the glass tag)
    std::string_view type;  // for drinks: the glass
    Lines after;            // lines after the type line, up to the next record

    std::string_view glass() const { return type; }
};

// A record as the user picked it: the n-th (from 0) of the records whose name line reads
// `name`. Occurrence 0 is the first record of that name, which is what a look-up by name finds.
struct RecordKey {
    std::string_view name;
    std::size_t occurrence = 0;
};

class RecordReader {
public:
    enum class Count { Ordinals, Occurrences };

    // With Count::Occurrences each record also learns how many records before it have its
    // name (a table of the names read so far is kept for that).
    explicit RecordReader(std::string_view content, RecordFormat format = RecordFormat::Cookbook,
                          Count count = Count::Ordinals);

    // Starts at a record that an earlier walk of the same content found: `start` is that
    // record's offset and `ordinal` its place. The records after it follow as usual.
    RecordReader(std::string_view content, RecordFormat format, std::size_t start,
                 std::size_t ordinal);

    // The next record in file order, or nothing at the end of the file.
    std::optional<Record> next();

    // Once next() has given nothing: whether the file ended with a "[NAMN]" line that no line
    // follows.
    bool endedOnLoneTag() const { return loneTag_; }

private:
    std::string_view content_;
    RecordFormat format_;
    bool countOccurrences_ = false;
    std::size_t pos_ = 0;    // offset of the next "[NAMN]" line, or npos to search for one
    bool searching_ = true;  // pos_ is where to look for the next "[NAMN]" line from
    std::size_t ordinal_ = 0;
    bool loneTag_ = false;
    std::unordered_map<std::string_view, std::size_t> seen_;
};

// The record of that name and occurrence, or nothing.
std::optional<Record> findRecord(std::string_view content, RecordKey key,
                                 RecordFormat format = RecordFormat::Cookbook);
// The record at that place in the file (from 0), or nothing.
std::optional<Record> recordAt(std::string_view content, std::size_t ordinal,
                               RecordFormat format = RecordFormat::Cookbook);

// True when the content's last line is a "[NAMN]" line that starts no record (not a name line
// that happens to read "[NAMN]"): the next append reuses it.
bool endsWithLoneTag(std::string_view content, RecordFormat format = RecordFormat::Cookbook);

// Offset of the line after the line that starts at `lineStart`.
std::size_t nextLineStart(std::string_view content, std::size_t lineStart);

// Appends the bytes with every line ended by CR LF, as every rewrite writes them: lone CR and
// LF line ends become CR LF, and a last line without one gets one. Runs that are CR LF already
// are copied as they stand.
void appendNormalised(std::string& out, std::string_view bytes);

// A multi-line field as a record in memory holds it: every line followed by CR LF (no lines:
// the empty text).
std::string joinedLines(const Lines& lines);

}  // namespace culvora::store
