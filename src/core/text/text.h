#pragma once

// Text as the data files hold it: Windows-1252 bytes in a std::string, one byte a character.

#include <compare>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"

namespace culvora::text {

inline constexpr std::string_view kCrLf = "\r\n";

// --- Encoding ------------------------------------------------------------------------------

// Every Windows-1252 byte has a UTF-8 form; the five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value, as Windows does.
std::string toUtf8(std::string_view cp1252);
// The same, added to the end of `out` (a long output built without a string per line).
void appendUtf8(std::string& out, std::string_view cp1252);
// One code point as UTF-8, added to the end of `out`.
void appendCodePoint(std::string& out, char32_t codePoint);

// A name as a message quotes it, in UTF-8 between straight double quotes: control characters
// are shown as \xNN (a name from a hand-edited file must not reach a terminal as an escape
// sequence), and a name longer than `maxChars` characters is cut there and ends with "…", so a
// runaway line cannot make a message box or a terminal line of megabytes.
inline constexpr std::size_t kMessageNameChars = 80;
std::string quotedForMessage(std::string_view cp1252, std::size_t maxChars = kMessageNameChars);
// The same without the quotes.
std::string shownForMessage(std::string_view cp1252, std::size_t maxChars = kMessageNameChars);
// The same rule for a text that is UTF-8 already (a file name on this system, a path the user
// picked): control characters and bytes that are not UTF-8 are shown as \xNN.
std::string quotedUtf8ForMessage(std::string_view utf8, std::size_t maxChars = kMessageNameChars);

// Refuses, with a message that names it, a character that Windows-1252 cannot hold, malformed
// UTF-8 (overlong forms, surrogates, cut sequences) and control characters other than tab, CR
// and LF; nothing is ever replaced by '?'.
Result<std::string> fromUtf8(std::string_view utf8);

// --- Case ------------------------------------------------------------------------------------

char toUpper(char c);
char toLower(char c);
std::string toUpper(std::string_view s);
std::string toLower(std::string_view s);

// --- Lines -----------------------------------------------------------------------------------

// Walks a text line by line. A line ends at CR LF, a lone CR or a lone LF; the terminator is
// not part of the line; a final line without terminator is still a line; an empty text has no
// lines.
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}
    std::optional<std::string_view> next();
    bool atEnd() const { return pos_ >= text_.size(); }
    // Byte offset of the next line to be read (the end of the text when none is left).
    std::size_t position() const { return pos_; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    // The next LF at or after pos_ (or the end of the text); npos until first looked for.
    std::size_t nextLf_ = std::string_view::npos;
};

std::vector<std::string> splitLines(std::string_view text);
std::vector<std::string_view> splitLineViews(std::string_view text);

// Each line followed by CR LF.
std::string joinLines(const std::vector<std::string>& lines);

// The last line of a text, or nothing for an empty text.
std::optional<std::string_view> lastLine(std::string_view text);

// --- Numbers ---------------------------------------------------------------------------------

// The leading number of a text: blanks are skipped, an optional sign and one decimal point are
// allowed, and a text that does not begin with a number reads as 0 ("45 min" is 45).
double leadingNumber(std::string_view s);

// --- Collation -------------------------------------------------------------------------------

// The one order of every sorted list: case-insensitive, a blank before any other character,
// digits and signs before letters, W counted as V, accented letters with their base letter,
// and Å, Ä, Ö (Æ with Ä, Ø with Ö) after Z. Texts that collate equal are ordered by their
// bytes so that the order is total.
std::weak_ordering collate(std::string_view a, std::string_view b);
inline bool collateLess(std::string_view a, std::string_view b)
{
    return collate(a, b) < 0;
}

struct CollateLess {
    bool operator()(std::string_view a, std::string_view b) const { return collateLess(a, b); }
};

// A text's collation key: bytes whose plain byte order (memcmp, std::string's <) is exactly
// the order of collate(), ties included, so a sort works out each text's key once instead of
// weighing both texts again at every comparison. The key is one byte a character for the
// collation weight, a 0, and then the text itself for the tie between texts that collate
// equal; it is about twice as long as the text.
std::string collationKey(std::string_view s);
void appendCollationKey(std::string& out, std::string_view s);

// The positions of the texts in collation order (equal texts in their given order). Each
// text's key is made once; the keys are sorted eight bytes at a time.
std::vector<std::size_t> collatedOrder(std::span<const std::string> texts);
std::vector<std::size_t> collatedOrder(std::span<const std::string_view> texts);
// Sorts texts into collation order, as a stable sort with CollateLess would, through their
// keys.
void sortCollated(std::vector<std::string>& texts);

// Where a sorted list box puts a new entry: after every entry that collates equal or lower.
std::size_t sortedInsertPosition(const std::vector<std::string>& sorted, std::string_view entry);

// --- Finding ---------------------------------------------------------------------------------

// What the collation compares of a character, as a character: letters in lower case, accented
// letters as their base letter ("\xC9" and "e" alike), W as V, Å, Ä and Ö kept apart from A and O
// as themselves in lower case (Æ folded with Ä, Ø with Ö), a no-break space as a blank; any
// other character stays itself. Two texts that collate equal fold to the same text, so a find
// field matches a text "in the order's own terms".
char foldForFind(char c);
std::string foldedForFind(std::string_view s);
// The same, added to the end of `out`.
void appendFoldedForFind(std::string& out, std::string_view s);

// The letter a text is filed under in an alphabetical list, as an index: 0 to 25 for A to Z
// (W counted as V, so 21 for both), 26 to 28 for Å, Ä and Ö; -1 for a text that begins with
// anything else (blank, digit, sign) or is empty, which sorts before A.
int letterGroup(std::string_view s);

}  // namespace culvora::text
