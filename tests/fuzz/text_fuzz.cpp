// The text layer under any bytes: the line reader, the encoding round trips, the number reader,
// the collation every sorted list uses and names shown in messages.
//
// fuzz-options: -max_len=4096

#include <cmath>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/text/text.h"
#include "fuzz_support.h"

namespace {

using namespace culvora;

// The reader's whole contract, position by position: each line is the text from where the
// previous one ended up to the next CR or LF (or the end), and the reader then stands just past
// that one terminator (CR LF counting as one).
void checkLines(std::string_view input)
{
    text::LineReader reader(input);
    std::vector<std::string_view> lines;
    std::size_t lineBytes = 0;
    for (;;) {
        const std::size_t start = reader.position();
        FUZZ_CHECK(start <= input.size());
        FUZZ_CHECK(reader.atEnd() == (start == input.size()));
        const auto line = reader.next();
        if (!line) {
            FUZZ_CHECK(start == input.size());
            break;
        }
        FUZZ_CHECK(!fuzz::hasLineBreak(*line));
        FUZZ_CHECK(*line == input.substr(start, line->size()));
        const std::size_t end = start + line->size();
        std::size_t next = end;
        if (end < input.size()) {
            FUZZ_CHECK(input[end] == '\r' || input[end] == '\n');
            next = end + 1;
            if (input[end] == '\r' && next < input.size() && input[next] == '\n') ++next;
        }
        FUZZ_CHECK(reader.position() == next);
        FUZZ_CHECK(next > start);  // every line consumes something: no endless loop
        lines.push_back(*line);
        lineBytes += line->size();
    }
    FUZZ_CHECK(lineBytes <= input.size());
    FUZZ_CHECK(lines.size() <= input.size());
    FUZZ_CHECK(lines.empty() == input.empty());

    const auto views = text::splitLineViews(input);
    const auto copies = text::splitLines(input);
    FUZZ_CHECK(views == lines);
    FUZZ_CHECK(copies.size() == lines.size());
    for (std::size_t i = 0; i < copies.size(); ++i) FUZZ_CHECK(copies[i] == lines[i]);

    // Written with CR LF and read again, the lines come back unchanged.
    const std::string joined = text::joinLines(copies);
    FUZZ_CHECK(text::splitLines(joined) == copies);

    const auto last = text::lastLine(input);
    FUZZ_CHECK(last.has_value() == !lines.empty());
    if (last) FUZZ_CHECK(*last == lines.back());
}

// A byte that fromUtf8 refuses on the way back: the control characters other than tab, CR and
// LF (C0, DEL and the C1 controls that the five undefined Windows-1252 bytes stand for).
bool isRefusedControl(unsigned char b)
{
    if (b < 0x20) return b != '\t' && b != '\r' && b != '\n';
    return b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

void checkEncoding(std::string_view input)
{
    // Windows-1252 to UTF-8 and back gives the same bytes, unless a control character had to
    // be refused on the way back.
    const std::string utf8 = text::toUtf8(input);
    FUZZ_CHECK(utf8.size() >= input.size() && utf8.size() <= 3 * input.size());
    bool control = false;
    for (char c : input) control = control || isRefusedControl(static_cast<unsigned char>(c));
    const auto back = text::fromUtf8(utf8);
    FUZZ_CHECK(back.has_value() == !control);
    if (back) FUZZ_CHECK(*back == input);
    if (!back) FUZZ_CHECK(!back.error().message.empty());

    // The input taken as UTF-8: what is accepted converts back to exactly the same bytes (no
    // overlong form or other second spelling gets through).
    const auto cp1252 = text::fromUtf8(input);
    if (cp1252) {
        FUZZ_CHECK(cp1252->size() <= input.size());
        FUZZ_CHECK(text::toUtf8(*cp1252) == input);
    } else {
        FUZZ_CHECK(cp1252.error().code == ErrorCode::Invalid);
        FUZZ_CHECK(!cp1252.error().message.empty());
    }

    // Case mapping is idempotent and keeps the length.
    const std::string upper = text::toUpper(input);
    const std::string lower = text::toLower(input);
    FUZZ_CHECK(upper.size() == input.size() && lower.size() == input.size());
    FUZZ_CHECK(text::toUpper(upper) == upper);
    FUZZ_CHECK(text::toLower(lower) == lower);
}

bool same(double a, double b)
{
    return a == b;  // 0.0 and -0.0 are the same number here
}

void checkNumber(std::string_view input)
{
    const double value = text::leadingNumber(input);
    FUZZ_CHECK(std::isfinite(value));
    // The number ends at the first character that cannot continue it, so one more such
    // character after the text changes nothing; neither do blanks before it.
    FUZZ_CHECK(same(text::leadingNumber(std::string(input) + "x"), value));
    FUZZ_CHECK(same(text::leadingNumber(" " + std::string(input)), value));
    // A minus sign in front negates a text that has no sign of its own.
    const auto first = input.find_first_not_of(" \t\r\n");
    const std::string_view rest = first == std::string_view::npos ? "" : input.substr(first);
    if (!rest.starts_with('+') && !rest.starts_with('-')) {
        FUZZ_CHECK(same(text::leadingNumber("-" + std::string(rest)), -value));
    }
}

int sign(std::weak_ordering order)
{
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

void checkCollation(std::string_view input)
{
    // A few texts to compare: the first lines of the input (and the whole input).
    std::vector<std::string_view> texts{input};
    for (auto line : text::splitLineViews(input)) {
        if (texts.size() == 6) break;
        texts.push_back(line);
    }
    for (auto a : texts) {
        FUZZ_CHECK(text::collate(a, a) == 0);
        const int group = text::letterGroup(a);
        FUZZ_CHECK(group >= -1 && group <= 28);
        for (auto b : texts) {
            const int ab = sign(text::collate(a, b));
            FUZZ_CHECK(ab == -sign(text::collate(b, a)));  // antisymmetric
            FUZZ_CHECK((ab == 0) == (a == b));             // total: only equal bytes tie
            FUZZ_CHECK(text::collateLess(a, b) == (ab < 0));
            // A text filed under an earlier letter sorts before it.
            const int groupB = text::letterGroup(b);
            if (group != groupB) FUZZ_CHECK(ab == (group < groupB ? -1 : 1));
            for (auto c : texts) {
                if (ab < 0 && sign(text::collate(b, c)) < 0) {
                    FUZZ_CHECK(sign(text::collate(a, c)) < 0);  // transitive
                }
            }
        }
    }

    // A sorted list box puts a new entry after every entry that collates equal or lower.
    std::vector<std::string> sorted(texts.begin() + 1, texts.end());
    std::stable_sort(sorted.begin(), sorted.end(), text::CollateLess{});
    const std::size_t at = text::sortedInsertPosition(sorted, input);
    FUZZ_CHECK(at <= sorted.size());
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        FUZZ_CHECK(text::collateLess(input, sorted[i]) == (i >= at));
    }
}

// A name in a message, from a data file (Windows-1252) or a file name (UTF-8): never a control
// byte for a terminal to obey, never longer than the limit allows, and whole when it is short.
void checkMessageNames(std::string_view input)
{
    constexpr std::size_t kLimit = 16;
    for (const std::string& shown : {text::quotedForMessage(input, kLimit),
                                     text::quotedUtf8ForMessage(input, kLimit)}) {
        FUZZ_CHECK(shown.size() <= 2 + kLimit * 4 + 3);
        FUZZ_CHECK(shown.starts_with('"') && shown.ends_with('"'));
        for (std::size_t i = 0; i < shown.size(); ++i) {
            const auto b = static_cast<unsigned char>(shown[i]);
            FUZZ_CHECK(b >= 0x20 && b != 0x7F);
            // No C1 control either, as UTF-8 (C2 80 to C2 9F).
            if (b == 0xC2 && i + 1 < shown.size()) {
                FUZZ_CHECK(static_cast<unsigned char>(shown[i + 1]) >= 0xA0);
            }
        }
    }
    if (input.size() <= kLimit) {
        FUZZ_CHECK(text::quotedForMessage(input, kLimit).find("\u2026") == std::string::npos ||
                   input.find('\x85') != std::string_view::npos);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input = fuzz::asText(data, size);
    checkLines(input);
    checkEncoding(input);
    checkNumber(input);
    checkCollation(input);
    checkMessageNames(input);
    return 0;
}
