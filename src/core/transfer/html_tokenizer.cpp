#include "core/transfer/html_tokenizer.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

#include "core/text/text.h"

namespace culvora::transfer {

namespace {

// &nbsp; to &yuml;: the named references of U+00A0 to U+00FF, in code point order.
constexpr std::array<std::string_view, 96> kLatin1Names = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",
    "uml",    "copy",   "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",
    "deg",    "plusmn", "sup2",   "sup3",   "acute",  "micro",  "para",   "middot",
    "cedil",  "sup1",   "ordm",   "raquo",  "frac14", "frac12", "frac34", "iquest",
    "Agrave", "Aacute", "Acirc",  "Atilde", "Auml",   "Aring",  "AElig",  "Ccedil",
    "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave", "Iacute", "Icirc",  "Iuml",
    "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",   "times",
    "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",  "szlig",
    "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil",
    "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",
    "eth",    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide",
    "oslash", "ugrave", "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};

// The other references recipe pages use: markup, typography, fractions.
constexpr std::pair<std::string_view, char32_t> kOtherNames[] = {
    {"amp", U'&'},          {"lt", U'<'},           {"gt", U'>'},
    {"quot", U'"'},         {"apos", U'\''},        {"OElig", U'\u0152'},
    {"oelig", U'\u0153'},   {"Scaron", U'\u0160'},  {"scaron", U'\u0161'},
    {"Yuml", U'\u0178'},    {"Zcaron", U'\u017D'},  {"zcaron", U'\u017E'},
    {"fnof", U'\u0192'},    {"circ", U'\u02C6'},    {"tilde", U'\u02DC'},
    {"ensp", U'\u2002'},    {"emsp", U'\u2003'},    {"thinsp", U'\u2009'},
    {"zwnj", U'\u200C'},    {"zwj", U'\u200D'},     {"lrm", U'\u200E'},
    {"rlm", U'\u200F'},     {"hyphen", U'\u2010'},  {"dash", U'\u2010'},
    {"ndash", U'\u2013'},   {"mdash", U'\u2014'},   {"lsquo", U'\u2018'},
    {"rsquo", U'\u2019'},   {"sbquo", U'\u201A'},   {"ldquo", U'\u201C'},
    {"rdquo", U'\u201D'},   {"bdquo", U'\u201E'},   {"dagger", U'\u2020'},
    {"Dagger", U'\u2021'},  {"bull", U'\u2022'},    {"hellip", U'\u2026'},
    {"permil", U'\u2030'},  {"prime", U'\u2032'},   {"Prime", U'\u2033'},
    {"lsaquo", U'\u2039'},  {"rsaquo", U'\u203A'},  {"frasl", U'\u2044'},
    {"euro", U'\u20AC'},    {"trade", U'\u2122'},   {"TRADE", U'\u2122'},
    {"minus", U'\u2212'},   {"half", U'\u00BD'},    {"frac13", U'\u2153'},
    {"frac23", U'\u2154'},  {"frac15", U'\u2155'},  {"frac25", U'\u2156'},
    {"frac35", U'\u2157'},  {"frac45", U'\u2158'},  {"frac16", U'\u2159'},
    {"frac56", U'\u215A'},  {"frac18", U'\u215B'},  {"frac38", U'\u215C'},
    {"frac58", U'\u215D'},  {"frac78", U'\u215E'},  {"AMP", U'&'},
    {"LT", U'<'},           {"GT", U'>'},           {"QUOT", U'"'},
    {"nbsp", U'\u00A0'},    {"NewLine", U'\n'},     {"Tab", U'\t'},
};

// The names read without their ";" too (pages write them so), where nothing of a name follows.
constexpr std::array<std::string_view, 4> kNamesWithoutSemicolon = {"amp", "lt", "gt", "quot"};

constexpr std::size_t kLongestName = 8;

bool isAlpha(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isAlnum(char c)
{
    return isAlpha(c) || (c >= '0' && c <= '9');
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string lowered(std::string_view s)
{
    std::string out(s);
    for (char& c : out) c = lower(c);
    return out;
}

std::optional<char32_t> namedReference(std::string_view name)
{
    for (std::size_t i = 0; i < kLatin1Names.size(); ++i) {
        if (kLatin1Names[i] == name) return static_cast<char32_t>(0xA0 + i);
    }
    for (const auto& [known, codePoint] : kOtherNames) {
        if (known == name) return codePoint;
    }
    return std::nullopt;
}

// A numeric reference's character: U+FFFD for none, the Windows-1252 letters for 128 to 159.
void appendNumbered(std::string& out, char32_t value, bool valid)
{
    if (!valid || value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        text::appendCodePoint(out, U'\uFFFD');
    } else if (value >= 0x80 && value <= 0x9F) {
        const char byte = static_cast<char>(value);
        out += text::toUtf8(std::string_view(&byte, 1));
    } else {
        text::appendCodePoint(out, value);
    }
}

// The reference at `at` (which holds '&'): appended to `out`, and how many bytes it took; 0
// when it is no reference (the '&' is then ordinary text).
std::size_t decodeReference(std::string_view s, std::size_t at, std::string& out)
{
    std::size_t i = at + 1;
    if (i < s.size() && s[i] == '#') {
        ++i;
        const bool hex = i < s.size() && (s[i] == 'x' || s[i] == 'X');
        if (hex) ++i;
        const std::size_t digitsStart = i;
        char32_t value = 0;
        bool valid = true;
        while (i < s.size()) {
            const char c = s[i];
            int digit = -1;
            if (c >= '0' && c <= '9') {
                digit = c - '0';
            } else if (hex && c >= 'a' && c <= 'f') {
                digit = c - 'a' + 10;
            } else if (hex && c >= 'A' && c <= 'F') {
                digit = c - 'A' + 10;
            }
            if (digit < 0) break;
            if (value <= 0x10FFFF) {
                value = value * (hex ? 16 : 10) + static_cast<char32_t>(digit);
            } else {
                valid = false;  // far past the last code point; the rest only counts
            }
            ++i;
        }
        if (i == digitsStart) return 0;
        if (i < s.size() && s[i] == ';') ++i;
        appendNumbered(out, value, valid);
        return i - at;
    }
    std::size_t end = i;
    while (end < s.size() && end - i < kLongestName + 1 && isAlnum(s[end])) ++end;
    const std::string_view name = s.substr(i, end - i);
    if (name.empty()) return 0;
    if (end < s.size() && s[end] == ';') {
        if (auto codePoint = namedReference(name)) {
            text::appendCodePoint(out, *codePoint);
            return end + 1 - at;
        }
        return 0;
    }
    // Without ";": amp, lt, gt and quot, and only when no letter, digit or "=" follows
    // ("&amp" yes; "&ampx" and "?a=1&lt=2" no).
    for (std::string_view bare : kNamesWithoutSemicolon) {
        if (s.substr(i).starts_with(bare)) {
            const std::size_t after = i + bare.size();
            if (after < s.size() && (isAlnum(s[after]) || s[after] == '=')) return 0;
            text::appendCodePoint(out, *namedReference(bare));
            return after - at;
        }
    }
    return 0;
}

bool isRawTextElement(std::string_view name)
{
    return name == "script" || name == "style";
}

bool isEscapableRawTextElement(std::string_view name)
{
    return name == "title" || name == "textarea";
}

// Where the contents of a raw text element end: at "</name" followed by a blank, "/" or ">"
// (any letter case), or at the end of the page.
std::size_t rawTextEnd(std::string_view s, std::size_t from, std::string_view name)
{
    std::size_t i = from;
    while ((i = s.find("</", i)) != std::string_view::npos) {
        const std::size_t nameEnd = i + 2 + name.size();
        if (nameEnd <= s.size() && lowered(s.substr(i + 2, name.size())) == name &&
            (nameEnd == s.size() || isSpace(s[nameEnd]) || s[nameEnd] == '/' ||
             s[nameEnd] == '>')) {
            return i;
        }
        i += 2;
    }
    return s.size();
}

class Tokenizer {
public:
    explicit Tokenizer(std::string_view s) : s_(s) {}

    std::vector<HtmlToken> run()
    {
        while (i_ < s_.size()) {
            if (s_[i_] == '<' && markup()) continue;
            textRun();
        }
        flushText();
        return std::move(tokens_);
    }

private:
    // Text up to the next '<' that may start markup (at least the character at i_).
    void textRun()
    {
        std::size_t end = s_.find('<', i_ + 1);
        if (end == std::string_view::npos) end = s_.size();
        pendingText_.append(s_.substr(i_, end - i_));
        i_ = end;
    }

    void flushText()
    {
        if (pendingText_.empty()) return;
        HtmlToken token;
        token.kind = HtmlToken::Kind::Text;
        token.text = decodeCharacterReferences(pendingText_);
        tokens_.push_back(std::move(token));
        pendingText_.clear();
    }

    void push(HtmlToken token)
    {
        flushText();
        tokens_.push_back(std::move(token));
    }

    // Markup at i_ ('<'): true when it was taken as markup, false when the '<' is text.
    bool markup()
    {
        const std::size_t next = i_ + 1;
        if (next >= s_.size()) return false;
        const char c = s_[next];
        if (s_.substr(i_).starts_with("<!--")) {
            comment(i_ + 4, "-->");
            return true;
        }
        if (c == '!' || c == '?') {
            comment(next + 1, ">");  // a doctype or some other declaration: nothing to read
            return true;
        }
        if (c == '/' && next + 1 < s_.size() && isAlpha(s_[next + 1])) {
            endTag(next + 1);
            return true;
        }
        if (isAlpha(c)) {
            startTag(next);
            return true;
        }
        return false;
    }

    void comment(std::size_t from, std::string_view end)
    {
        std::size_t stop = s_.find(end, from);
        HtmlToken token;
        token.kind = HtmlToken::Kind::Comment;
        token.text = std::string(s_.substr(from, stop == std::string_view::npos ? s_.npos
                                                                                  : stop - from));
        push(std::move(token));
        i_ = stop == std::string_view::npos ? s_.size() : stop + end.size();
    }

    std::string tagName(std::size_t& i) const
    {
        const std::size_t start = i;
        while (i < s_.size() && !isSpace(s_[i]) && s_[i] != '/' && s_[i] != '>') ++i;
        return lowered(s_.substr(start, i - start));
    }

    void endTag(std::size_t from)
    {
        std::size_t i = from;
        HtmlToken token;
        token.kind = HtmlToken::Kind::EndTag;
        token.name = tagName(i);
        const std::size_t close = s_.find('>', i);
        // A tag the page never closes is not a tag: the rest of the page is dropped with it.
        i_ = close == std::string_view::npos ? s_.size() : close + 1;
        if (close != std::string_view::npos) push(std::move(token));
    }

    void startTag(std::size_t from)
    {
        std::size_t i = from;
        HtmlToken token;
        token.kind = HtmlToken::Kind::StartTag;
        token.name = tagName(i);
        bool closed = false;
        while (i < s_.size()) {
            while (i < s_.size() && isSpace(s_[i])) ++i;
            if (i >= s_.size()) break;
            if (s_[i] == '>') {
                ++i;
                closed = true;
                break;
            }
            if (s_[i] == '/') {
                ++i;
                if (i < s_.size() && s_[i] == '>') token.selfClosing = true;
                continue;
            }
            attribute(i, token);
        }
        i_ = i;
        if (!closed) return;
        const std::string name = token.name;
        push(std::move(token));
        if (isRawTextElement(name) || isEscapableRawTextElement(name)) {
            const std::size_t end = rawTextEnd(s_, i_, name);
            HtmlToken contents;
            const std::string_view raw = s_.substr(i_, end - i_);
            if (isRawTextElement(name)) {
                contents.kind = HtmlToken::Kind::RawText;
                contents.text = std::string(raw);
            } else {
                contents.kind = HtmlToken::Kind::Text;
                contents.text = decodeCharacterReferences(raw);
            }
            if (!contents.text.empty()) push(std::move(contents));
            i_ = end;
        }
    }

    void attribute(std::size_t& i, HtmlToken& token) const
    {
        // A name runs to a blank, "/", ">" or "="; an "=" in first place belongs to it.
        const std::size_t start = i;
        ++i;
        while (i < s_.size() && !isSpace(s_[i]) && s_[i] != '/' && s_[i] != '>' && s_[i] != '=')
            ++i;
        HtmlAttribute attribute{lowered(s_.substr(start, i - start)), {}};
        std::size_t j = i;
        while (j < s_.size() && isSpace(s_[j])) ++j;
        if (j < s_.size() && s_[j] == '=') {
            i = j + 1;
            while (i < s_.size() && isSpace(s_[i])) ++i;
            std::string_view value;
            if (i < s_.size() && (s_[i] == '"' || s_[i] == '\'')) {
                const char quote = s_[i];
                const std::size_t close = s_.find(quote, i + 1);
                const std::size_t end = close == std::string_view::npos ? s_.size() : close;
                value = s_.substr(i + 1, end - i - 1);
                i = close == std::string_view::npos ? s_.size() : close + 1;
            } else {
                const std::size_t valueStart = i;
                while (i < s_.size() && !isSpace(s_[i]) && s_[i] != '>') ++i;
                value = s_.substr(valueStart, i - valueStart);
            }
            attribute.value = decodeCharacterReferences(value);
        }
        // The first of a name counts, as in browsers.
        if (!token.attribute(attribute.name)) token.attributes.push_back(std::move(attribute));
    }

    std::string_view s_;
    std::size_t i_ = 0;
    std::string pendingText_;
    std::vector<HtmlToken> tokens_;
};

}  // namespace

const std::string* HtmlToken::attribute(std::string_view wanted) const
{
    for (const HtmlAttribute& a : attributes) {
        if (a.name == wanted) return &a.value;
    }
    return nullptr;
}

std::string decodeCharacterReferences(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t amp = s.find('&', i);
        if (amp == std::string_view::npos) {
            out.append(s.substr(i));
            break;
        }
        out.append(s.substr(i, amp - i));
        const std::size_t taken = decodeReference(s, amp, out);
        if (taken == 0) {
            out += '&';
            i = amp + 1;
        } else {
            i = amp + taken;
        }
    }
    return out;
}

std::vector<HtmlToken> tokenizeHtml(std::string_view utf8)
{
    return Tokenizer(utf8).run();
}

bool breaksLine(std::string_view name)
{
    static constexpr std::string_view kBlocks[] = {
        "address", "article", "aside", "blockquote", "br",     "dd",      "div",   "dl",
        "dt",      "figcaption", "figure", "footer", "form",   "h1",      "h2",    "h3",
        "h4",      "h5",      "h6",      "header",   "hr",     "li",      "main",  "nav",
        "ol",      "p",       "pre",     "section",  "table",  "tbody",   "thead", "tr",
        "ul"};
    return std::ranges::find(kBlocks, name) != std::end(kBlocks);
}

}  // namespace culvora::transfer
