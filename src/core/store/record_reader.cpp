#include "core/store/record_reader.h"

#include <cstring>

namespace culvora::store {

namespace {

constexpr std::size_t npos = std::string_view::npos;

bool isBreak(char c)
{
    return c == '\r' || c == '\n';
}

// A line: where its text ends and where the next line starts.
struct LineEnd {
    std::size_t end = 0;
    std::size_t next = 0;
};

// The lines read one at a time this way are short (tags, one-line fields), so a plain scan
// suits them; it never looks past the line's own end, which keeps files with lone CR line
// ends linear.
LineEnd lineAt(std::string_view s, std::size_t pos)
{
    const char* d = s.data();
    const std::size_t n = s.size();
    std::size_t e = pos;
    while (e < n && !isBreak(d[e])) ++e;
    std::size_t next = e;
    if (e < n) {
        next = e + 1;
        if (d[e] == '\r' && next < n && d[next] == '\n') ++next;
    }
    return {e, next};
}

// Tags are a few bytes long: comparing them in place is cheaper than a call to memcmp.
bool lineBegins(std::string_view s, std::size_t pos, std::string_view prefix)
{
    if (s.size() - pos < prefix.size()) return false;
    const char* d = s.data() + pos;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (d[i] != prefix[i]) return false;
    }
    return true;
}

bool lineIs(std::string_view s, std::size_t pos, std::string_view tag)
{
    return lineBegins(s, pos, tag) &&
           (pos + tag.size() == s.size() || isBreak(s[pos + tag.size()]));
}

bool same(std::string_view line, std::string_view tag)
{
    return line.size() == tag.size() && lineBegins(line, 0, tag);
}

// The next line at or after `from` (itself a line start) that begins with "[": every tag does,
// and a memchr over the text finds them far faster than splitting it into lines.
std::size_t nextBracketLine(std::string_view s, std::size_t from)
{
    const char* d = s.data();
    while (from < s.size()) {
        const void* hit = std::memchr(d + from, '[', s.size() - from);
        if (!hit) return npos;
        const auto at = static_cast<std::size_t>(static_cast<const char*>(hit) - d);
        if (at == 0 || isBreak(d[at - 1])) return at;
        from = at + 1;
    }
    return npos;
}

std::size_t nextTagLine(std::string_view s, std::size_t from, std::string_view tag)
{
    for (std::size_t at = nextBracketLine(s, from); at != npos; at = nextBracketLine(s, at + 1)) {
        if (lineIs(s, at, tag)) return at;
    }
    return npos;
}

std::string_view lineText(std::string_view s, std::size_t pos, const LineEnd& line)
{
    return s.substr(pos, line.end - pos);
}

Lines linesBetween(std::string_view s, std::size_t from, std::size_t to)
{
    return Lines(s.substr(from, to - from), from);
}

// Reads one record whose "[NAMN]" line starts at `start`; false when no line follows the tag.
class RecordParser {
public:
    RecordParser(std::string_view content, RecordFormat format)
        : s_(content),
          format_(format),
          endTag_(format == RecordFormat::Drinks ? kTagGlass : kTagType)
    {
    }

    // `r` is a fresh record.
    bool parse(std::size_t start, Record& r)
    {
        r.start = start;
        r.nameStart = lineAt(s_, start).next;
        if (r.nameStart >= s_.size()) return false;
        const LineEnd name = lineAt(s_, r.nameStart);
        r.name = lineText(s_, r.nameStart, name);
        r.bodyStart = name.next;
        r.head = linesBetween(s_, r.bodyStart, r.bodyStart);
        if (format_ == RecordFormat::Drinks) {
            r.ingredients.present = true;
            ingredients(r, r.bodyStart);
        } else {
            head(r);
        }
        return true;
    }

private:
    // The servings tag, the servings, the time tag, the time and the ingredients tag, by
    // position; a later tag where an earlier line was expected skips to it. Only the exact
    // tags count here, which the editors refuse as values, so every record they write reads
    // back by position.
    void head(Record& r)
    {
        enum Slot { ServingsTag, Servings, TimeTag, Time, IngredientsTag };
        int slot = ServingsTag;
        std::size_t p = r.bodyStart;
        for (;;) {
            if (p >= s_.size() || lineIs(s_, p, kTagName)) {
                r.head = linesBetween(s_, r.bodyStart, p);
                r.end = p;
                return;
            }
            const LineEnd line = lineAt(s_, p);
            const std::string_view text = lineText(s_, p, line);
            if (same(text, kTagInstructions) || same(text, endTag_)) {
                // The ingredients tag is missing: this tag ends an ingredient section that
                // never began.
                r.head = linesBetween(s_, r.bodyStart, p);
                afterIngredientsEnd(r, p, line);
                return;
            }
            if (same(text, kTagIngredients) || slot == IngredientsTag) {
                r.head = linesBetween(s_, r.bodyStart, line.next);
                r.ingredients.present = true;
                ingredients(r, line.next);
                return;
            }
            if (same(text, kTagTime) && slot <= TimeTag) {
                slot = Time;
            } else {
                if (slot == Servings) r.servings = text;
                if (slot == Time) r.time = text;
                ++slot;
            }
            p = line.next;
        }
    }

    void ingredients(Record& r, std::size_t from)
    {
        for (std::size_t at = nextBracketLine(s_, from); at != npos;
             at = nextBracketLine(s_, at + 1)) {
            if (lineIs(s_, at, kTagName)) {
                r.ingredients.lines = linesBetween(s_, from, at);
                r.end = at;
                return;
            }
            if (lineBegins(s_, at, kInstructionsPrefix) || lineIs(s_, at, endTag_)) {
                r.ingredients.lines = linesBetween(s_, from, at);
                afterIngredientsEnd(r, at, lineAt(s_, at));
                return;
            }
        }
        r.ingredients.lines = linesBetween(s_, from, s_.size());
        r.end = s_.size();
    }

    // `at` is the line that ends the ingredients: the instructions tag, or the type tag when
    // the instructions tag is missing.
    void afterIngredientsEnd(Record& r, std::size_t at, const LineEnd& line)
    {
        const std::string_view text = lineText(s_, at, line);
        r.ingredients.endLine = text;
        if (same(text, endTag_)) {
            typeLine(r, line.next);
        } else {
            r.instructions.present = true;
            instructions(r, line.next);
        }
    }

    void instructions(Record& r, std::size_t from)
    {
        for (std::size_t at = nextBracketLine(s_, from); at != npos;
             at = nextBracketLine(s_, at + 1)) {
            if (lineIs(s_, at, kTagName)) {
                r.instructions.lines = linesBetween(s_, from, at);
                r.end = at;
                return;
            }
            if (lineIs(s_, at, endTag_)) {
                r.instructions.lines = linesBetween(s_, from, at);
                const LineEnd tag = lineAt(s_, at);
                r.instructions.endLine = lineText(s_, at, tag);
                typeLine(r, tag.next);
                return;
            }
        }
        r.instructions.lines = linesBetween(s_, from, s_.size());
        r.end = s_.size();
    }

    void typeLine(Record& r, std::size_t p)
    {
        if (p >= s_.size() || lineIs(s_, p, kTagName)) {
            r.end = p;
            return;
        }
        const LineEnd line = lineAt(s_, p);
        r.type = lineText(s_, p, line);
        r.hasType = true;
        const std::size_t next = nextTagLine(s_, line.next, kTagName);
        r.end = next == npos ? s_.size() : next;
        r.after = linesBetween(s_, line.next, r.end);
    }

    std::string_view s_;
    RecordFormat format_;
    std::string_view endTag_;
};

}  // namespace

RecordReader::RecordReader(std::string_view content, RecordFormat format, Count count)
    : content_(content),
      format_(format),
      countOccurrences_(count == Count::Occurrences)
{
}

RecordReader::RecordReader(std::string_view content, RecordFormat format, std::size_t start,
                           std::size_t ordinal)
    : content_(content),
      format_(format),
      pos_(start),
      searching_(false),
      ordinal_(ordinal)
{
}

std::optional<Record> RecordReader::next()
{
    if (searching_) {
        pos_ = nextTagLine(content_, pos_, kTagName);
        searching_ = false;
    }
    std::optional<Record> record;
    if (pos_ == npos || pos_ >= content_.size()) return record;
    if (!RecordParser(content_, format_).parse(pos_, record.emplace())) {
        loneTag_ = true;
        pos_ = npos;
        record.reset();
        return record;
    }
    record->ordinal = ordinal_++;
    if (countOccurrences_) record->occurrence = seen_[record->name]++;
    pos_ = record->end;
    return record;
}

std::optional<Record> findRecord(std::string_view content, RecordKey key, RecordFormat format)
{
    RecordReader reader(content, format);
    std::size_t seen = 0;
    while (auto record = reader.next()) {
        if (record->name != key.name) continue;
        if (seen++ == key.occurrence) {
            record->occurrence = key.occurrence;
            return record;
        }
    }
    return std::nullopt;
}

std::optional<Record> recordAt(std::string_view content, std::size_t ordinal, RecordFormat format)
{
    RecordReader reader(content, format, RecordReader::Count::Occurrences);
    while (auto record = reader.next()) {
        if (record->ordinal == ordinal) return record;
    }
    return std::nullopt;
}

bool endsWithLoneTag(std::string_view content, RecordFormat format)
{
    // Only a file whose last line reads "[NAMN]" needs the walk that tells a tag from a name.
    auto last = text::lastLine(content);
    if (!last || *last != kTagName) return false;
    RecordReader reader(content, format);
    while (reader.next()) {}
    return reader.endedOnLoneTag();
}

std::size_t nextLineStart(std::string_view content, std::size_t lineStart)
{
    return lineAt(content, lineStart).next;
}

void appendNormalised(std::string& out, std::string_view bytes)
{
    text::LineReader reader(bytes);
    std::size_t run = 0;  // start of the lines not yet copied, all ended by CR LF
    for (;;) {
        const std::size_t start = reader.position();
        auto line = reader.next();
        if (!line) break;
        const std::size_t textEnd = start + line->size();
        if (reader.position() - textEnd == 2) continue;
        out.append(bytes, run, textEnd - run);
        out += text::kCrLf;
        run = reader.position();
    }
    out.append(bytes, run, bytes.size() - run);
}

std::string joinedLines(const Lines& lines)
{
    std::string out;
    out.reserve(lines.bytes().size() + 2);
    appendNormalised(out, lines.bytes());
    return out;
}

}  // namespace culvora::store
