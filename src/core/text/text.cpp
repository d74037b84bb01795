#include "core/text/text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

namespace culvora::text {

namespace {

// Code points of the bytes 0x80..0x9F. The five bytes Windows-1252 leaves undefined keep the
// C1 control of the same value, so every byte survives a round trip.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t codePointOf(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F) return kHigh[byte - 0x80];
    return byte;
}


std::optional<unsigned char> byteOf(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<unsigned char>(cp);
    for (std::size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == cp) return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

unsigned char u(char c)
{
    return static_cast<unsigned char>(c);
}

}  // namespace

void appendCodePoint(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string toUtf8(std::string_view cp1252)
{
    std::string out;
    out.reserve(cp1252.size() + cp1252.size() / 8);
    appendUtf8(out, cp1252);
    return out;
}

void appendUtf8(std::string& out, std::string_view cp1252)
{
    // Runs of ASCII, most of any text, go over whole.
    std::size_t i = 0;
    while (i < cp1252.size()) {
        std::size_t run = i;
        while (run < cp1252.size() && u(cp1252[run]) < 0x80) ++run;
        out.append(cp1252.data() + i, run - i);
        if (run == cp1252.size()) break;
        appendCodePoint(out, codePointOf(u(cp1252[run])));
        i = run + 1;
    }
}

std::string shownForMessage(std::string_view cp1252, std::size_t maxChars)
{
    std::string out;
    const bool cut = cp1252.size() > maxChars;
    const std::string_view shown = cut ? cp1252.substr(0, maxChars) : cp1252;
    out.reserve(shown.size() + 8);
    for (char c : shown) {
        const unsigned char b = u(c);
        // C0 controls, DEL and the five bytes Windows-1252 leaves undefined (C1 controls).
        if (b < 0x20 || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 ||
            b == 0x9D) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            out += "\\x";
            out += kHex[b >> 4];
            out += kHex[b & 0xF];
        } else {
            appendUtf8(out, std::string_view(&c, 1));
        }
    }
    if (cut) out += "\u2026";
    return out;
}

std::string quotedForMessage(std::string_view cp1252, std::size_t maxChars)
{
    return "\"" + shownForMessage(cp1252, maxChars) + "\"";
}

std::string quotedUtf8ForMessage(std::string_view utf8, std::size_t maxChars)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out = "\"";
    auto escape = [&](unsigned char b) {
        out += "\\x";
        out += kHex[b >> 4];
        out += kHex[b & 0xF];
    };
    std::size_t chars = 0;
    std::size_t i = 0;
    while (i < utf8.size()) {
        if (chars == maxChars) {
            out += "\u2026";
            break;
        }
        ++chars;
        const unsigned char lead = u(utf8[i]);
        std::size_t length = 0;  // a byte that cannot start a character
        if (lead < 0x80) {
            length = 1;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
        }
        bool whole = length > 0 && i + length <= utf8.size();
        for (std::size_t k = 1; whole && k < length; ++k) whole = (u(utf8[i + k]) & 0xC0) == 0x80;
        // C1 controls are two bytes, C2 80 to C2 9F.
        const bool c1 = whole && length == 2 && lead == 0xC2 && u(utf8[i + 1]) < 0xA0;
        if (!whole || c1) {
            escape(c1 ? u(utf8[i + 1]) : lead);
            i += c1 ? 2 : 1;
        } else if (length == 1 && (lead < 0x20 || lead == 0x7F)) {
            escape(lead);
            ++i;
        } else {
            out.append(utf8.substr(i, length));
            i += length;
        }
    }
    out += "\"";
    return out;
}

namespace {

Error notUtf8(std::string_view utf8, std::size_t at)
{
    char detail[64];
    std::snprintf(detail, sizeof detail, " (the byte 0x%02X at position %zu)",
                  static_cast<unsigned>(u(utf8[at])), at + 1);
    return Error{ErrorCode::Invalid, std::string("The text is not valid UTF-8") + detail + "."};
}

}  // namespace

Result<std::string> fromUtf8(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const unsigned char lead = u(utf8[i]);
        char32_t cp = 0;
        std::size_t length = 0;
        char32_t smallest = 0;  // the first code point that needs this many bytes
        if (lead < 0x80) {
            cp = lead;
            length = 1;
        } else if ((lead & 0xE0) == 0xC0) {
            cp = lead & 0x1F;
            length = 2;
            smallest = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            cp = lead & 0x0F;
            length = 3;
            smallest = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            cp = lead & 0x07;
            length = 4;
            smallest = 0x10000;
        } else {
            return std::unexpected(notUtf8(utf8, i));
        }
        if (i + length > utf8.size()) return std::unexpected(notUtf8(utf8, i));
        for (std::size_t k = 1; k < length; ++k) {
            const unsigned char next = u(utf8[i + k]);
            if ((next & 0xC0) != 0x80) return std::unexpected(notUtf8(utf8, i + k));
            cp = (cp << 6) | (next & 0x3F);
        }
        // An overlong form (C0 AF for "/"), a surrogate or a code point past U+10FFFF is not
        // UTF-8 at all; taking it would let one character pass for another.
        if (cp < smallest || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
            return std::unexpected(notUtf8(utf8, i));
        }
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(cp));
        // Control characters (NUL, ESC, ...) have no place in a recipe and could carry
        // terminal escape sequences into whatever prints it; tab and line ends are text.
        const bool control =
            (cp < 0x20 && cp != '\t' && cp != '\r' && cp != '\n') || (cp >= 0x7F && cp <= 0x9F);
        if (control) {
            return fail(ErrorCode::Invalid, std::string("The text holds the control character ") +
                                                code +
                                                ", which cannot be stored. Please remove it.");
        }
        auto byte = byteOf(cp);
        if (!byte) {
            return fail(ErrorCode::Invalid,
                        "The character \"" + std::string(utf8.substr(i, length)) + "\" (" + code +
                            ") cannot be stored: the cookbook files hold Western European "
                            "letters and signs only (Windows-1252).");
        }
        out += static_cast<char>(*byte);
        i += length;
    }
    return out;
}

char toUpper(char c)
{
    unsigned char b = u(c);
    if (b >= 'a' && b <= 'z') return static_cast<char>(b - 32);
    if (b >= 0xE0 && b <= 0xFE && b != 0xF7) return static_cast<char>(b - 32);
    switch (b) {
    case 0x9A: return static_cast<char>(0x8A);  // š
    case 0x9C: return static_cast<char>(0x8C);  // œ
    case 0x9E: return static_cast<char>(0x8E);  // ž
    case 0xFF: return static_cast<char>(0x9F);  // ÿ
    default: return c;
    }
}

char toLower(char c)
{
    unsigned char b = u(c);
    if (b >= 'A' && b <= 'Z') return static_cast<char>(b + 32);
    if (b >= 0xC0 && b <= 0xDE && b != 0xD7) return static_cast<char>(b + 32);
    switch (b) {
    case 0x8A: return static_cast<char>(0x9A);
    case 0x8C: return static_cast<char>(0x9C);
    case 0x8E: return static_cast<char>(0x9E);
    case 0x9F: return static_cast<char>(0xFF);
    default: return c;
    }
}

std::string toUpper(std::string_view s)
{
    std::string out(s);
    for (char& c : out) c = toUpper(c);
    return out;
}

std::string toLower(std::string_view s)
{
    std::string out(s);
    for (char& c : out) c = toLower(c);
    return out;
}

std::optional<std::string_view> LineReader::next()
{
    if (pos_ >= text_.size()) return std::nullopt;
    const std::size_t start = pos_;
    const char* data = text_.data();
    // The next LF is remembered between lines: a file with lone CR line ends has none, and
    // searching the rest of the text for it on every line would make reading quadratic.
    if (nextLf_ == std::string_view::npos || nextLf_ < start) {
        const void* lf = std::memchr(data + start, '\n', text_.size() - start);
        nextLf_ = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - data) : text_.size();
    }
    const void* cr = std::memchr(data + start, '\r', nextLf_ - start);
    const std::size_t end =
        cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - data) : nextLf_;
    if (end >= text_.size()) {
        pos_ = text_.size();
        return text_.substr(start);
    }
    pos_ = end + 1;
    if (text_[end] == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
    return text_.substr(start, end - start);
}

std::vector<std::string> splitLines(std::string_view text)
{
    std::vector<std::string> lines;
    LineReader reader(text);
    while (auto line = reader.next()) lines.emplace_back(*line);
    return lines;
}

std::vector<std::string_view> splitLineViews(std::string_view text)
{
    std::vector<std::string_view> lines;
    LineReader reader(text);
    while (auto line = reader.next()) lines.push_back(*line);
    return lines;
}

std::string joinLines(const std::vector<std::string>& lines)
{
    std::string out;
    for (const auto& line : lines) {
        out += line;
        out += kCrLf;
    }
    return out;
}

std::optional<std::string_view> lastLine(std::string_view text)
{
    if (text.empty()) return std::nullopt;
    std::size_t end = text.size();
    // Drop the final terminator: CR LF, CR or LF.
    if (text[end - 1] == '\n') {
        --end;
        if (end > 0 && text[end - 1] == '\r') --end;
    } else if (text[end - 1] == '\r') {
        --end;
    }
    std::size_t start = end == 0 ? std::string_view::npos : text.find_last_of("\r\n", end - 1);
    start = start == std::string_view::npos ? 0 : start + 1;
    return text.substr(start, end - start);
}

double leadingNumber(std::string_view s)
{
    // Blanks anywhere inside the number are skipped ("1 5" is 15, "2 .5" is 2.5); the number
    // ends at the first other character or at a second decimal point.
    auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    std::size_t i = 0;
    while (i < s.size() && isBlank(s[i])) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    std::string digits;
    bool point = false;
    bool anyDigit = false;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (isBlank(c)) continue;
        if (c >= '0' && c <= '9') {
            anyDigit = true;
            // Leading zeros add nothing and would only make the text long.
            if (c == '0' && !point && digits.empty()) continue;
            digits += c;
        } else if (c == '.' && !point) {
            point = true;
            if (digits.empty()) digits += '0';
            digits += '.';
        } else {
            break;
        }
    }
    if (!anyDigit) return 0;
    if (digits.empty() || digits == "0.") return 0;
    // The decimal conversion of the standard library: exact to the last digit a double holds,
    // whatever the locale, and a fraction too small to hold reads as 0.
    double value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                              std::chars_format::fixed);
    if (error == std::errc::result_out_of_range) {
        value = digits.find('.') == 1 && digits.front() == '0' ? 0.0
                                                               : std::numeric_limits<double>::max();
    } else if (error != std::errc()) {
        value = 0;
    }
    return negative && value != 0 ? -value : value;
}

namespace {

// Collation weight of one byte: blank first, then every other non-letter in byte order, then
// the letters A..Z (W as V), then Å, Ä, Ö.
constexpr std::uint16_t kLetters = 1000;
constexpr std::uint16_t kAring = kLetters + 26 * 2;

constexpr std::uint16_t weight(unsigned char b)
{
    auto letter = [](char upper) {
        if (upper == 'W') upper = 'V';
        return static_cast<std::uint16_t>(kLetters + (upper - 'A') * 2);
    };
    if (b == ' ' || b == 0xA0) return 1;
    if (b >= 'a' && b <= 'z') return letter(static_cast<char>(b - 32));
    if (b >= 'A' && b <= 'Z') return letter(static_cast<char>(b));
    // clang-format off
    switch (b) {
    case 0xC5: case 0xE5: return kAring;                                   // Å
    case 0xC4: case 0xE4: case 0xC6: case 0xE6: return kAring + 1;         // Ä, Æ
    case 0xD6: case 0xF6: case 0xD8: case 0xF8: return kAring + 2;         // Ö, Ø
    case 0xC0: case 0xC1: case 0xC2: case 0xC3:
    case 0xE0: case 0xE1: case 0xE2: case 0xE3: return letter('A');
    case 0xC7: case 0xE7: return letter('C');
    case 0xD0: case 0xF0: return letter('D');
    case 0xC8: case 0xC9: case 0xCA: case 0xCB:
    case 0xE8: case 0xE9: case 0xEA: case 0xEB: return letter('E');
    case 0xCC: case 0xCD: case 0xCE: case 0xCF:
    case 0xEC: case 0xED: case 0xEE: case 0xEF: return letter('I');
    case 0xD1: case 0xF1: return letter('N');
    case 0xD2: case 0xD3: case 0xD4: case 0xD5:
    case 0xF2: case 0xF3: case 0xF4: case 0xF5:
    case 0x8C: case 0x9C: return letter('O');
    case 0x8A: case 0x9A: case 0xDF: return letter('S');
    case 0xDE: case 0xFE: return letter('T');
    case 0xD9: case 0xDA: case 0xDB: case 0xDC:
    case 0xF9: case 0xFA: case 0xFB: case 0xFC: return letter('U');
    case 0xDD: case 0xFD: case 0xFF: case 0x9F: return letter('Y');
    case 0x8E: case 0x9E: return letter('Z');
    default: return static_cast<std::uint16_t>(2 + b);
    }
    // clang-format on
}

// The weights above, numbered densely from 1 in their order: one byte each, so a comparison
// is a table look-up instead of a switch, and a collation key is one byte a character with 0
// free to end the key's first part.
constexpr std::array<unsigned char, 256> kRank = [] {
    std::array<std::uint16_t, 256> distinct{};
    for (int b = 0; b < 256; ++b)
        distinct[static_cast<std::size_t>(b)] = weight(static_cast<unsigned char>(b));
    std::sort(distinct.begin(), distinct.end());
    const auto end = std::unique(distinct.begin(), distinct.end());
    std::array<unsigned char, 256> rank{};
    for (int b = 0; b < 256; ++b) {
        const auto at =
            std::lower_bound(distinct.begin(), end, weight(static_cast<unsigned char>(b)));
        rank[static_cast<std::size_t>(b)] = static_cast<unsigned char>(1 + (at - distinct.begin()));
    }
    return rank;
}();

// The letter group of a text's first byte (see letterGroup).
constexpr std::array<signed char, 256> kGroup = [] {
    std::array<signed char, 256> group{};
    for (int b = 0; b < 256; ++b) {
        const std::uint16_t w = weight(static_cast<unsigned char>(b));
        group[static_cast<std::size_t>(b)] =
            static_cast<signed char>(w < kLetters ? -1
                                     : w < kAring ? (w - kLetters) / 2
                                                  : 26 + (w - kAring));
    }
    return group;
}();

static_assert(kRank[' '] == 1 && kRank[0xA0] == 1, "a blank comes first");
static_assert(kRank['W'] == kRank['v'] && kRank[0xD6] > kRank[0xC4] && kRank[0xC4] > kRank['Z']);

// Each byte as the character that stands for its collation weight: a lower-case ASCII letter
// for the letters A to Z, the lower-case letter itself for Å, Ä and Ö, a blank for the blanks,
// and the byte itself for the weights no other byte shares.
constexpr std::array<char, 256> kFold = [] {
    constexpr unsigned char preferred[] = {'a',  'b',  'c',  'd',  'e',  'f', 'g', 'h', 'i',
                                           'j',  'k',  'l',  'm',  'n',  'o', 'p', 'q', 'r',
                                           's',  't',  'u',  'v',  'x',  'y', 'z', 0xE5, 0xE4,
                                           0xF6, ' '};
    std::array<char, 256> fold{};
    for (int b = 0; b < 256; ++b) {
        unsigned char to = static_cast<unsigned char>(b);
        for (unsigned char p : preferred) {
            if (kRank[p] == kRank[static_cast<std::size_t>(b)]) {
                to = p;
                break;
            }
        }
        fold[static_cast<std::size_t>(b)] = static_cast<char>(to);
    }
    return fold;
}();

static_assert(kFold['W'] == 'v' && kFold[0xC9] == 'e' && kFold[0xC5] == '\xE5' &&
              kFold[0xC6] == '\xE4' && kFold[0xA0] == ' ' && kFold['1'] == '1');

unsigned char rankOf(char c)
{
    return kRank[static_cast<unsigned char>(c)];
}

// Eight bytes of a key from `depth` on as one number, in the key's byte order; past the end of
// the key, zeros. No key is the beginning of another (the 0 after the weights stands where a
// longer text has a weight), so two keys whose chunks are equal continue alike or are equal.
std::uint64_t keyChunk(std::string_view key, std::size_t depth)
{
    std::uint64_t chunk = 0;
    if (depth + 8 <= key.size()) {
        std::memcpy(&chunk, key.data() + depth, 8);
        if constexpr (std::endian::native == std::endian::little) chunk = std::byteswap(chunk);
        return chunk;
    }
    for (std::size_t i = 0; i < 8; ++i) {
        chunk <<= 8;
        if (depth + i < key.size()) chunk |= u(key[depth + i]);
    }
    return chunk;
}

template <class Text>
std::vector<std::size_t> orderOf(std::span<const Text> texts)
{
    const std::size_t n = texts.size();
    std::size_t total = 0;
    for (const auto& t : texts) total += 2 * t.size() + 1;
    std::vector<std::size_t> order(n);
    if (n > std::numeric_limits<std::uint32_t>::max() ||
        total > std::numeric_limits<std::uint32_t>::max()) {
        // Beyond any cookbook: the plain comparison sort.
        for (std::size_t i = 0; i < n; ++i) order[i] = i;
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return collateLess(texts[a], texts[b]);
        });
        return order;
    }
    std::string keys;
    keys.reserve(total);
    std::vector<std::uint32_t> start(n);
    for (std::size_t i = 0; i < n; ++i) {
        start[i] = static_cast<std::uint32_t>(keys.size());
        appendCollationKey(keys, texts[i]);
    }

    // Each slot carries where its key is, so that working out the next eight bytes of a run's
    // keys needs no look-up on the way, and the bytes can be fetched ahead.
    struct Slot {
        std::uint64_t chunk;
        const char* key;
        std::uint32_t length;
        std::uint32_t index;
        std::string_view rest(std::size_t depth) const
        {
            return std::string_view(key, length).substr(depth);
        }
    };
    std::vector<Slot> slots(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t length = static_cast<std::uint32_t>(2 * texts[i].size() + 1);
        const char* key = keys.data() + start[i];
        slots[i] = {keyChunk(std::string_view(key, length), 0), key, length,
                    static_cast<std::uint32_t>(i)};
    }
    start = {};
    // Sorted by the first eight bytes of the keys; each run of equal chunks is then sorted by
    // the next eight, and so on. A small run compares the rest of its keys directly.
    struct Run {
        std::size_t begin;
        std::size_t end;
        std::size_t depth;
    };
    constexpr std::size_t kSmallRun = 16;
    constexpr std::size_t kAhead = 8;
    std::vector<Run> work{{0, n, 0}};
    while (!work.empty()) {
        const Run run = work.back();
        work.pop_back();
        const auto first = slots.begin() + static_cast<std::ptrdiff_t>(run.begin);
        const auto last = slots.begin() + static_cast<std::ptrdiff_t>(run.end);
        if (run.depth > 0 && run.end - run.begin <= kSmallRun) {
            std::sort(first, last, [&](const Slot& a, const Slot& b) {
                const int compared = a.rest(run.depth).compare(b.rest(run.depth));
                return compared != 0 ? compared < 0 : a.index < b.index;
            });
            continue;
        }
        if (run.depth > 0) {
            for (std::size_t i = run.begin; i < run.end; ++i) {
                if (i + kAhead < run.end) __builtin_prefetch(slots[i + kAhead].key + run.depth);
                Slot& slot = slots[i];
                slot.chunk = keyChunk(std::string_view(slot.key, slot.length), run.depth);
            }
        }
        std::sort(first, last, [](const Slot& a, const Slot& b) { return a.chunk < b.chunk; });
        for (std::size_t i = run.begin; i < run.end;) {
            std::size_t j = i + 1;
            while (j < run.end && slots[j].chunk == slots[i].chunk) ++j;
            if (j - i > 1) {
                if (slots[i].length > run.depth + 8) {
                    work.push_back({i, j, run.depth + 8});
                } else {
                    // The same text more than once: in the order given.
                    std::sort(slots.begin() + static_cast<std::ptrdiff_t>(i),
                              slots.begin() + static_cast<std::ptrdiff_t>(j),
                              [](const Slot& a, const Slot& b) { return a.index < b.index; });
                }
            }
            i = j;
        }
    }
    for (std::size_t i = 0; i < n; ++i) order[i] = slots[i].index;
    return order;
}

}  // namespace

void appendCollationKey(std::string& out, std::string_view s)
{
    const std::size_t at = out.size();
    out.resize(at + 2 * s.size() + 1);
    char* key = out.data() + at;
    for (char c : s) *key++ = static_cast<char>(rankOf(c));
    *key++ = 0;
    std::memcpy(key, s.data(), s.size());
}

std::string collationKey(std::string_view s)
{
    std::string key;
    appendCollationKey(key, s);
    return key;
}

std::vector<std::size_t> collatedOrder(std::span<const std::string> texts)
{
    return orderOf(texts);
}

std::vector<std::size_t> collatedOrder(std::span<const std::string_view> texts)
{
    return orderOf(texts);
}

void sortCollated(std::vector<std::string>& texts)
{
    const auto order = collatedOrder(texts);
    std::vector<std::string> sorted;
    sorted.reserve(texts.size());
    for (std::size_t i : order) sorted.push_back(std::move(texts[i]));
    texts = std::move(sorted);
}

int letterGroup(std::string_view s)
{
    return s.empty() ? -1 : kGroup[static_cast<unsigned char>(s.front())];
}

std::size_t sortedInsertPosition(const std::vector<std::string>& sorted, std::string_view entry)
{
    auto at = std::upper_bound(
        sorted.begin(), sorted.end(), entry,
        [](std::string_view a, const std::string& b) { return collateLess(a, b); });
    return static_cast<std::size_t>(at - sorted.begin());
}

char foldForFind(char c)
{
    return kFold[static_cast<unsigned char>(c)];
}

void appendFoldedForFind(std::string& out, std::string_view s)
{
    const std::size_t at = out.size();
    out.resize(at + s.size());
    for (std::size_t i = 0; i < s.size(); ++i) out[at + i] = foldForFind(s[i]);
}

std::string foldedForFind(std::string_view s)
{
    std::string out;
    appendFoldedForFind(out, s);
    return out;
}

std::weak_ordering collate(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (a[i] == b[i]) continue;
        const unsigned char ra = rankOf(a[i]);
        const unsigned char rb = rankOf(b[i]);
        if (ra != rb) return ra < rb ? std::weak_ordering::less : std::weak_ordering::greater;
    }
    if (a.size() != b.size()) {
        return a.size() < b.size() ? std::weak_ordering::less : std::weak_ordering::greater;
    }
    const int bytes = a.compare(b);
    if (bytes == 0) return std::weak_ordering::equivalent;
    return bytes < 0 ? std::weak_ordering::less : std::weak_ordering::greater;
}

}  // namespace culvora::text
