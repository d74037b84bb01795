#include "core/transfer/web_recipe.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "core/files/files.h"
#include "core/store/cookbook.h"
#include "core/store/cookbook_list.h"
#include "core/store/taken_names.h"
#include "core/text/text.h"
#include "core/transfer/html_tokenizer.h"
#include "core/transfer/mealmaster.h"

namespace culvora::transfer {

namespace {

using Json = nlohmann::ordered_json;

// How deep the readers look into a page's JSON and markup: far deeper than any recipe page
// goes, and shallow enough that no page can exhaust the stack or the time.
constexpr int kMaxJsonDepth = 48;
constexpr std::size_t kMaxOpenElements = 1024;
constexpr std::size_t kEndTagSearch = 256;
// The part of a page searched for its <meta charset>.
constexpr std::size_t kCharsetPrescan = 16 * 1024;

// --- UTF-8 --------------------------------------------------------------------------------

// The code point at `i` (advanced past it), or U+FFFD for a byte that starts no valid one
// (then only that byte is taken).
char32_t nextCodePoint(std::string_view s, std::size_t& i)
{
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(s[at]); };
    const unsigned char b0 = byte(i);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int length = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
        cp = b0 & 0x1F;
        minimum = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        cp = b0 & 0x0F;
        minimum = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        cp = b0 & 0x07;
        minimum = 0x10000;
    }
    if (length == 0 || i + static_cast<std::size_t>(length) > s.size()) {
        ++i;
        return U'\uFFFD';
    }
    for (int k = 1; k < length; ++k) {
        const unsigned char b = byte(i + static_cast<std::size_t>(k));
        if ((b & 0xC0) != 0x80) {
            ++i;
            return U'\uFFFD';
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return U'\uFFFD';
    }
    i += static_cast<std::size_t>(length);
    return cp;
}

bool isValidUtf8(std::string_view s)
{
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t at = i;
        if (nextCodePoint(s, i) == U'\uFFFD' && !s.substr(at).starts_with("\xEF\xBF\xBD")) {
            return false;
        }
    }
    return true;
}

std::string sanitizedUtf8(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) text::appendCodePoint(out, nextCodePoint(s, i));
    return out;
}

// --- Charsets -----------------------------------------------------------------------------

std::string asciiLower(std::string_view s)
{
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string_view trimmedView(std::string_view s)
{
    const auto first = s.find_first_not_of(" \t\r\n\f");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t\r\n\f");
    return s.substr(first, last - first + 1);
}

// The charset named in a Content-Type ("text/html; charset=UTF-8"), lower case.
std::string charsetParameter(std::string_view contentType)
{
    const std::string lowered = asciiLower(contentType);
    const auto at = lowered.find("charset");
    if (at == std::string::npos) return {};
    std::size_t i = at + 7;
    while (i < lowered.size() && (lowered[i] == ' ' || lowered[i] == '\t')) ++i;
    if (i >= lowered.size() || lowered[i] != '=') return {};
    ++i;
    while (i < lowered.size() && (lowered[i] == ' ' || lowered[i] == '"' || lowered[i] == '\''))
        ++i;
    const std::size_t start = i;
    while (i < lowered.size() && lowered[i] != ';' && lowered[i] != '"' && lowered[i] != '\'' &&
           lowered[i] != ' ')
        ++i;
    return lowered.substr(start, i - start);
}

std::string metaCharset(std::string_view page)
{
    for (const HtmlToken& token : tokenizeHtml(page.substr(0, kCharsetPrescan))) {
        if (token.kind != HtmlToken::Kind::StartTag || token.name != "meta") continue;
        if (const std::string* charset = token.attribute("charset")) {
            return asciiLower(trimmedView(*charset));
        }
        const std::string* equiv = token.attribute("http-equiv");
        const std::string* content = token.attribute("content");
        if (equiv && content && asciiLower(trimmedView(*equiv)) == "content-type") {
            if (auto named = charsetParameter(*content); !named.empty()) return named;
        }
    }
    return {};
}

bool isWesternCharset(std::string_view name)
{
    static constexpr std::string_view kWestern[] = {
        "windows-1252", "cp1252",   "x-cp1252", "iso-8859-1", "iso8859-1", "latin1",
        "l1",           "us-ascii", "ascii",    "iso-8859-15", "latin-1",  "iso_8859-1"};
    return std::ranges::find(kWestern, name) != std::end(kWestern);
}

// --- Text ---------------------------------------------------------------------------------

bool isBlankCodePoint(char32_t cp)
{
    return cp == U' ' || cp == U'\t' || cp == U'\u00A0' || (cp >= U'\u2000' && cp <= U'\u200A') ||
           cp == U'\u202F' || cp == U'\u205F' || cp == U'\u3000' || cp == U'\u1680';
}

// A few characters Windows-1252 lacks, as their plain equivalents; nullptr for the others.
const char* plainEquivalent(char32_t cp)
{
    switch (cp) {
    case U'\u2010':
    case U'\u2011':
    case U'\u2012':
    case U'\u2015':
    case U'\u2043':
    case U'\u2212': return "-";
    case U'\u2044':
    case U'\u2215': return "/";
    case U'\u2032': return "'";
    case U'\u2033': return "\"";
    case U'\u2103': return "\u00B0C";
    case U'\u2109': return "\u00B0F";
    case U'\u2153': return "1/3";
    case U'\u2154': return "2/3";
    case U'\u2155': return "1/5";
    case U'\u2156': return "2/5";
    case U'\u2157': return "3/5";
    case U'\u2158': return "4/5";
    case U'\u2159': return "1/6";
    case U'\u215A': return "5/6";
    case U'\u215B': return "1/8";
    case U'\u215C': return "3/8";
    case U'\u215D': return "5/8";
    case U'\u215E': return "7/8";
    case U'\u2189': return "0/3";
    default: return nullptr;
    }
}

bool isInvisible(char32_t cp)
{
    return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F) || cp == U'\u00AD' ||
           (cp >= U'\u200B' && cp <= U'\u200F') || (cp >= U'\u202A' && cp <= U'\u202E') ||
           (cp >= U'\u2060' && cp <= U'\u2064') || cp == U'\uFEFF';
}

// Cuts a line to at most `maxChars` characters, at the last blank in its last fifth when
// there is one.
std::string cutToLength(std::string line, std::size_t maxChars)
{
    std::size_t count = 0;
    std::size_t i = 0;
    while (i < line.size() && count < maxChars) {
        nextCodePoint(line, i);
        ++count;
    }
    if (i >= line.size()) return line;
    std::string cut = line.substr(0, i);
    const auto blank = cut.rfind(' ');
    if (blank != std::string::npos && blank > cut.size() - cut.size() / 5) cut.resize(blank);
    while (!cut.empty() && cut.back() == ' ') cut.pop_back();
    return cut;
}

// One line of a field: invisible characters out, blanks of every width one blank, the
// characters with a plain equivalent replaced, blanks at either end trimmed, a "[" at its
// start made "(", and no longer than `maxChars`.
std::string foldLine(std::string_view utf8, std::size_t maxChars = kMaxWebLineChars)
{
    std::string out;
    out.reserve(utf8.size());
    bool blank = false;
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t cp = nextCodePoint(utf8, i);
        if (isBlankCodePoint(cp) || cp == U'\n' || cp == U'\r' || cp == U'\f' || cp == U'\v') {
            blank = !out.empty();
            continue;
        }
        if (isInvisible(cp)) continue;
        if (blank) out += ' ';
        blank = false;
        if (const char* plain = plainEquivalent(cp)) {
            // "1⅓ cups" reads "1 1/3 cups".
            if (cp >= U'\u2153' && cp <= U'\u2189' && !out.empty() && out.back() >= '0' &&
                out.back() <= '9')
                out += ' ';
            out += plain;
        } else {
            text::appendCodePoint(out, cp);
        }
    }
    if (!out.empty() && out.front() == '[') {
        out.front() = '(';
        if (const auto close = out.find(']'); close != std::string::npos) out[close] = ')';
    }
    return cutToLength(std::move(out), maxChars);
}

// The text of a run of tokens: the text pieces, a line break for each element that stands on
// a line of its own, a blank between table cells; scripts, styles and comments left out.
std::string tokensText(const std::vector<HtmlToken>& tokens, std::size_t begin, std::size_t end)
{
    std::string out;
    for (std::size_t i = begin; i < end && i < tokens.size(); ++i) {
        const HtmlToken& token = tokens[i];
        switch (token.kind) {
        case HtmlToken::Kind::Text: out += token.text; break;
        case HtmlToken::Kind::StartTag:
        case HtmlToken::Kind::EndTag:
            if (breaksLine(token.name)) {
                out += '\n';
            } else if (token.name == "td" || token.name == "th") {
                out += ' ';
            }
            break;
        case HtmlToken::Kind::RawText:
        case HtmlToken::Kind::Comment: break;
        }
    }
    return out;
}

// The lines of a text that may hold HTML, each folded, empty ones left out.
void appendTextLines(std::string_view html, std::vector<std::string>& lines)
{
    const auto tokens = tokenizeHtml(html);
    const std::string plain = tokensText(tokens, 0, tokens.size());
    std::size_t start = 0;
    while (start <= plain.size()) {
        auto end = plain.find_first_of("\r\n", start);
        if (end == std::string::npos) end = plain.size();
        std::string line = foldLine(std::string_view(plain).substr(start, end - start));
        if (!line.empty()) lines.push_back(std::move(line));
        start = end + 1;
    }
}

// A one-line field of a text that may hold HTML.
std::string oneLine(std::string_view html, std::size_t maxChars = kMaxWebLineChars)
{
    const auto tokens = tokenizeHtml(html);
    return foldLine(tokensText(tokens, 0, tokens.size()), maxChars);
}

std::vector<std::string> splitCategories(std::string_view html)
{
    std::vector<std::string> out;
    const std::string line = oneLine(html);
    std::size_t start = 0;
    while (start <= line.size()) {
        auto end = line.find(',', start);
        if (end == std::string::npos) end = line.size();
        std::string piece(trimmedView(std::string_view(line).substr(start, end - start)));
        if (!piece.empty()) out.push_back(std::move(piece));
        start = end + 1;
    }
    return out;
}

// --- Durations ----------------------------------------------------------------------------

std::optional<double> readNumber(std::string_view s, std::size_t& i)
{
    const std::size_t start = i;
    double value = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        value = std::min(value * 10 + (s[i] - '0'), 1e12);
        ++i;
    }
    if (i < s.size() && (s[i] == '.' || s[i] == ',') && i + 1 < s.size() && s[i + 1] >= '0' &&
        s[i + 1] <= '9') {
        ++i;
        double scale = 0.1;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
            value += (s[i] - '0') * scale;
            scale /= 10;
            ++i;
        }
    }
    if (i == start) return std::nullopt;
    return value;
}

std::optional<long> wholeMinutes(double seconds)
{
    const double minutes = std::floor(seconds / 60.0 + 0.5);
    if (minutes < 0 || minutes > static_cast<double>(kMaxWebMinutes)) return std::nullopt;
    return static_cast<long>(minutes);
}

// "PT1H30M", "P0DT45M", "PT90M", "PT1.5H", "P1D": years and months have no length in
// minutes and are not read.
std::optional<long> isoMinutes(std::string_view s)
{
    std::size_t i = 1;
    bool inTime = false;
    bool any = false;
    double seconds = 0;
    while (i < s.size()) {
        if (s[i] == 'T' || s[i] == 't') {
            if (inTime) return std::nullopt;
            inTime = true;
            ++i;
            continue;
        }
        const auto number = readNumber(s, i);
        if (!number || i >= s.size()) return std::nullopt;
        const char unit = static_cast<char>(std::toupper(static_cast<unsigned char>(s[i])));
        ++i;
        double scale = 0;
        if (!inTime && unit == 'W') {
            scale = 7 * 86400.0;
        } else if (!inTime && unit == 'D') {
            scale = 86400;
        } else if (inTime && unit == 'H') {
            scale = 3600;
        } else if (inTime && unit == 'M') {
            scale = 60;
        } else if (inTime && unit == 'S') {
            scale = 1;
        } else {
            return std::nullopt;
        }
        seconds += *number * scale;
        any = true;
    }
    if (!any) return std::nullopt;
    return wholeMinutes(seconds);
}

// "1 hour 30 minutes", "45 min", "1.5 hrs", "20-30 minutes" (the first of a range), "45".
std::optional<long> plainMinutes(std::string_view s)
{
    double seconds = 0;
    bool any = false;
    std::size_t i = 0;
    while (i < s.size()) {
        if (!(s[i] >= '0' && s[i] <= '9')) {
            ++i;
            continue;
        }
        const double number = *readNumber(s, i);
        std::size_t j = i;
        while (j < s.size() && s[j] == ' ') ++j;
        // A range: the second number is skipped with its "-".
        if (j < s.size() && s[j] == '-') {
            std::size_t k = j + 1;
            while (k < s.size() && s[k] == ' ') ++k;
            if (k < s.size() && s[k] >= '0' && s[k] <= '9') {
                readNumber(s, k);
                j = k;
                while (j < s.size() && s[j] == ' ') ++j;
            }
        }
        const std::string unit = asciiLower(s.substr(j, std::min<std::size_t>(3, s.size() - j)));
        double scale = 60;
        if (unit.starts_with('h')) {
            scale = 3600;
        } else if (unit.starts_with('d')) {
            scale = 86400;
        } else if (unit.starts_with("sec") || unit == "s" || unit.starts_with("s ")) {
            scale = 1;
        }
        seconds += number * scale;
        any = true;
        i = j;
    }
    if (!any) return std::nullopt;
    return wholeMinutes(seconds);
}

// --- JSON-LD ------------------------------------------------------------------------------

const Json* member(const Json& object, const char* key)
{
    if (!object.is_object()) return nullptr;
    const auto found = object.find(key);
    return found == object.end() ? nullptr : &*found;
}

bool namesRecipe(const Json& type)
{
    if (type.is_array()) return std::any_of(type.begin(), type.end(), namesRecipe);
    if (!type.is_string()) return false;
    std::string_view name = type.get_ref<const std::string&>();
    // "Recipe", "schema:Recipe", "https://schema.org/Recipe"
    if (const auto cut = name.find_last_of("/:#"); cut != std::string_view::npos) {
        name.remove_prefix(cut + 1);
    }
    return asciiLower(trimmedView(name)) == "recipe";
}

void findRecipes(const Json& node, int depth, std::vector<const Json*>& found)
{
    if (depth > kMaxJsonDepth || found.size() >= kMaxWebRecipes * 4) return;
    if (node.is_object()) {
        if (const Json* type = member(node, "@type"); type && namesRecipe(*type)) {
            found.push_back(&node);
            return;
        }
        for (const auto& [key, value] : node.items()) findRecipes(value, depth + 1, found);
    } else if (node.is_array()) {
        for (const Json& element : node) findRecipes(element, depth + 1, found);
    }
}

std::string numberText(const Json& value)
{
    if (value.is_number_integer()) return std::to_string(value.get<std::int64_t>());
    if (value.is_number_unsigned()) return std::to_string(value.get<std::uint64_t>());
    const double d = value.get<double>();
    if (!std::isfinite(d)) return {};
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, d);
    return error == std::errc() ? std::string(buffer, end) : std::string();
}

// The text of a value that should be one: a text, a number, the first of a list that has
// one, or an object's "@value", "value", "text" or "name".
std::string jsonText(const Json& value, int depth = 0)
{
    if (depth > 8) return {};
    if (value.is_string()) return value.get<std::string>();
    if (value.is_number()) return numberText(value);
    if (value.is_array()) {
        for (const Json& element : value) {
            if (std::string text = jsonText(element, depth + 1); !trimmedView(text).empty()) {
                return text;
            }
        }
        return {};
    }
    if (value.is_object()) {
        for (const char* key : {"@value", "value", "text", "name"}) {
            if (const Json* inner = member(value, key)) {
                if (std::string text = jsonText(*inner, depth + 1); !trimmedView(text).empty()) {
                    return text;
                }
            }
        }
    }
    return {};
}

std::string jsonYield(const Json& value)
{
    if (value.is_array()) {
        for (const Json& element : value) {
            const std::string text = jsonText(element);
            if (text.find_first_of("0123456789") != std::string::npos) return text;
        }
        return {};
    }
    return jsonText(value);
}

void addJsonLines(const Json& value, std::vector<std::string>& lines, int depth = 0)
{
    if (depth > 8) return;
    if (value.is_array()) {
        for (const Json& element : value) addJsonLines(element, lines, depth + 1);
    } else if (value.is_object() || value.is_string() || value.is_number()) {
        appendTextLines(jsonText(value), lines);
    }
}

bool hasType(const Json& node, std::string_view wanted)
{
    const Json* type = member(node, "@type");
    if (!type) return false;
    auto is = [&](const Json& t) {
        if (!t.is_string()) return false;
        std::string_view name = t.get_ref<const std::string&>();
        if (const auto cut = name.find_last_of("/:#"); cut != std::string_view::npos) {
            name.remove_prefix(cut + 1);
        }
        return name == wanted;
    };
    return type->is_array() ? std::any_of(type->begin(), type->end(), is) : is(*type);
}

void addInstructions(const Json& value, std::vector<std::string>& lines, int depth = 0)
{
    if (depth > 12 || lines.size() > kMaxWebLines) return;
    if (value.is_string()) {
        appendTextLines(value.get_ref<const std::string&>(), lines);
    } else if (value.is_array()) {
        for (const Json& element : value) addInstructions(element, lines, depth + 1);
    } else if (value.is_object()) {
        const Json* steps = member(value, "itemListElement");
        const bool section = hasType(value, "HowToSection") ||
                             (steps && !member(value, "text") && hasType(value, "ItemList"));
        if (section) {
            if (const Json* name = member(value, "name")) {
                std::string heading = oneLine(jsonText(*name));
                if (!heading.empty()) {
                    if (!heading.ends_with(':')) heading += ':';
                    lines.push_back(cutToLength(std::move(heading), kMaxWebLineChars));
                }
            }
            if (steps) addInstructions(*steps, lines, depth + 1);
            return;
        }
        if (const Json* text = member(value, "text"); text && !jsonText(*text).empty()) {
            addInstructions(text->is_string() ? *text : Json(jsonText(*text)), lines, depth + 1);
        } else if (steps) {
            addInstructions(*steps, lines, depth + 1);
        } else if (const Json* name = member(value, "name")) {
            appendTextLines(jsonText(*name), lines);
        } else if (const Json* plain = member(value, "@value")) {
            appendTextLines(jsonText(*plain), lines);
        }
    } else if (value.is_number()) {
        appendTextLines(numberText(value), lines);
    }
}

void addCategories(const Json& value, std::vector<std::string>& categories, int depth = 0)
{
    if (depth > 4) return;
    if (value.is_array()) {
        for (const Json& element : value) addCategories(element, categories, depth + 1);
        return;
    }
    for (std::string& category : splitCategories(jsonText(value))) {
        categories.push_back(std::move(category));
    }
}

// The time of a recipe from its three durations.
std::string recipeMinutes(const std::optional<long>& total, const std::optional<long>& prep,
                          const std::optional<long>& cook)
{
    if (total && *total > 0) return std::to_string(*total);
    if (prep || cook) {
        const long sum = prep.value_or(0) + cook.value_or(0);
        if (sum <= kMaxWebMinutes) return std::to_string(sum);
    }
    return "0";
}

std::optional<long> jsonMinutes(const Json* value)
{
    if (!value) return std::nullopt;
    return webMinutes(oneLine(jsonText(*value)));
}

WebRecipe recipeFromJson(const Json& node)
{
    WebRecipe recipe;
    const Json* name = member(node, "name");
    if (!name || jsonText(*name).empty()) name = member(node, "headline");
    if (name) recipe.name = oneLine(jsonText(*name), kMaxWebNameChars);

    const Json* yield = member(node, "recipeYield");
    if (!yield) yield = member(node, "yield");
    recipe.servings = yield ? webServings(oneLine(jsonYield(*yield))) : "0";

    recipe.cookingTime =
        recipeMinutes(jsonMinutes(member(node, "totalTime")), jsonMinutes(member(node, "prepTime")),
                      jsonMinutes(member(node, "cookTime")));

    const Json* ingredients = member(node, "recipeIngredient");
    if (!ingredients) ingredients = member(node, "ingredients");
    if (ingredients) addJsonLines(*ingredients, recipe.ingredients);
    if (const Json* instructions = member(node, "recipeInstructions")) {
        addInstructions(*instructions, recipe.instructions);
    }
    if (const Json* category = member(node, "recipeCategory")) {
        addCategories(*category, recipe.categories);
    }
    return recipe;
}

// What a script holds, made readable for a strict JSON parser: the comment or CDATA wrapping
// some pages put round it taken off, and line breaks and other control characters written
// raw inside strings (which browsers' and search engines' readers let pass) made blanks.
// Nothing when it nests deeper than any recipe does.
std::optional<std::string> jsonOfScript(std::string_view raw)
{
    std::string_view s = trimmedView(raw);
    for (std::string_view opening : {"<!--", "//<![CDATA[", "/*<![CDATA[*/", "<![CDATA["}) {
        if (s.starts_with(opening)) {
            s.remove_prefix(opening.size());
            break;
        }
    }
    s = trimmedView(s);
    for (std::string_view closing : {"-->", "//]]>", "/*]]>*/", "]]>"}) {
        if (s.ends_with(closing)) {
            s.remove_suffix(closing.size());
            break;
        }
    }
    std::string out(s);
    bool inString = false;
    bool escaped = false;
    int depth = 0;
    for (char& c : out) {
        if (inString) {
            if (escaped) {
                escaped = false;
            } else if (c == '\\') {
                escaped = true;
            } else if (c == '"') {
                inString = false;
            } else if (static_cast<unsigned char>(c) < 0x20) {
                c = ' ';
            }
            continue;
        }
        if (c == '"') {
            inString = true;
        } else if (c == '{' || c == '[') {
            if (++depth > kMaxJsonDepth) return std::nullopt;
        } else if (c == '}' || c == ']') {
            --depth;
        }
    }
    return out;
}

bool isJsonLdScript(const HtmlToken& token)
{
    if (token.kind != HtmlToken::Kind::StartTag || token.name != "script") return false;
    const std::string* type = token.attribute("type");
    if (!type) return false;
    std::string_view value = *type;
    value = trimmedView(value.substr(0, value.find(';')));
    return asciiLower(value) == "application/ld+json";
}

std::vector<WebRecipe> jsonLdRecipes(const std::vector<HtmlToken>& tokens)
{
    std::vector<WebRecipe> recipes;
    for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
        if (!isJsonLdScript(tokens[i]) || tokens[i + 1].kind != HtmlToken::Kind::RawText) continue;
        const auto text = jsonOfScript(tokens[i + 1].text);
        if (!text) continue;
        try {
            const Json document = Json::parse(*text, nullptr, false, true);
            if (document.is_discarded()) continue;  // a broken script: the next may be sound
            std::vector<const Json*> found;
            findRecipes(document, 0, found);
            for (const Json* node : found) recipes.push_back(recipeFromJson(*node));
        } catch (const nlohmann::json::exception&) {
            // A value of a kind no reader above expects: this script gives nothing.
        }
    }
    return recipes;
}

// --- Microdata ----------------------------------------------------------------------------

struct Element {
    std::size_t start = 0;  // its start tag's token
    std::size_t end = 0;    // its end tag's token (or where it was closed), exclusive of it
    int scope = -1;         // the nearest element with itemscope round it, not itself
    bool itemscope = false;
};

bool isVoidElement(std::string_view name)
{
    static constexpr std::string_view kVoid[] = {"area",  "base",  "br",    "col",  "embed",
                                                 "hr",    "img",   "input", "link", "meta",
                                                 "param", "source", "track", "wbr", "keygen"};
    return std::ranges::find(kVoid, name) != std::end(kVoid);
}

bool closesParagraph(std::string_view name)
{
    static constexpr std::string_view kBlocks[] = {
        "address", "article", "aside", "blockquote", "div",     "dl",     "fieldset",
        "footer",  "form",    "h1",    "h2",         "h3",      "h4",     "h5",
        "h6",      "header",  "hr",    "main",       "nav",     "ol",     "p",
        "pre",     "section", "table", "ul",         "details", "figure", "li"};
    return std::ranges::find(kBlocks, name) != std::end(kBlocks);
}

// Every element of the page with where it starts and ends, from the tags as a browser would
// close them in the cases recipe markup meets: an end tag closes the nearest open element of
// its name, a new <li> closes the one before it in the same list (likewise <dt>, <dd>,
// <option>, <tr>, <td>, <th>), a block closes an open <p>, and what is still open at the end
// of the page ends there.
std::vector<Element> elementsOf(const std::vector<HtmlToken>& tokens)
{
    std::vector<Element> elements;
    std::vector<std::size_t> open;  // indexes into elements
    auto nameOf = [&](std::size_t element) -> const std::string& {
        return tokens[elements[element].start].name;
    };
    auto closeFrom = [&](std::size_t position, std::size_t at) {
        while (open.size() > position) {
            elements[open.back()].end = at;
            open.pop_back();
        }
    };
    // Closes the nearest open `name` that no `boundary` element stands above.
    auto closeSibling = [&](std::initializer_list<std::string_view> names,
                            std::initializer_list<std::string_view> boundaries, std::size_t at) {
        for (std::size_t k = open.size(); k-- > 0 && open.size() - k <= kEndTagSearch;) {
            const std::string& name = nameOf(open[k]);
            if (std::ranges::find(boundaries, name) != boundaries.end()) return;
            if (std::ranges::find(names, name) != names.end()) {
                closeFrom(k, at);
                return;
            }
        }
    };
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const HtmlToken& token = tokens[i];
        if (token.kind == HtmlToken::Kind::EndTag) {
            for (std::size_t k = open.size(); k-- > 0 && open.size() - k <= kEndTagSearch;) {
                if (nameOf(open[k]) == token.name) {
                    closeFrom(k, i);
                    break;
                }
            }
            continue;
        }
        if (token.kind != HtmlToken::Kind::StartTag) continue;
        const std::string& name = token.name;
        if (name == "li") {
            closeSibling({"li"}, {"ul", "ol", "menu"}, i);
        } else if (name == "dt" || name == "dd") {
            closeSibling({"dt", "dd"}, {"dl"}, i);
        } else if (name == "option") {
            closeSibling({"option"}, {"select", "datalist"}, i);
        } else if (name == "tr") {
            closeSibling({"tr", "td", "th"}, {"table", "thead", "tbody", "tfoot"}, i);
        } else if (name == "td" || name == "th") {
            closeSibling({"td", "th"}, {"tr", "table"}, i);
        }
        if (closesParagraph(name) && !open.empty() && nameOf(open.back()) == "p") {
            closeFrom(open.size() - 1, i);
        }
        Element element;
        element.start = i;
        element.end = i + 1;
        element.itemscope = token.attribute("itemscope") != nullptr;
        for (std::size_t k = open.size(); k-- > 0;) {
            if (elements[open[k]].itemscope) {
                element.scope = static_cast<int>(open[k]);
                break;
            }
        }
        elements.push_back(element);
        if (!isVoidElement(name) && !token.selfClosing && open.size() < kMaxOpenElements) {
            open.push_back(elements.size() - 1);
        }
    }
    closeFrom(0, tokens.size());
    return elements;
}

bool hasWord(std::string_view list, std::string_view word)
{
    std::size_t start = 0;
    while (start < list.size()) {
        const auto end = list.find_first_of(" \t\r\n\f", start);
        const auto piece = list.substr(start, end == std::string_view::npos ? end : end - start);
        if (piece == word) return true;
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return false;
}

bool isRecipeItemType(std::string_view types)
{
    std::size_t start = 0;
    while (start < types.size()) {
        const auto end = types.find_first_of(" \t\r\n\f", start);
        std::string_view piece =
            types.substr(start, end == std::string_view::npos ? end : end - start);
        if (const auto cut = piece.find_last_of("/:#"); cut != std::string_view::npos) {
            piece.remove_prefix(cut + 1);
        }
        if (asciiLower(piece) == "recipe") return true;
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return false;
}

// An itemprop's value: an attribute for the elements that carry it in one, else the text of
// the element.
std::string propertyValue(const std::vector<HtmlToken>& tokens, const Element& element)
{
    const HtmlToken& token = tokens[element.start];
    const char* attribute = nullptr;
    if (token.name == "meta") {
        attribute = "content";
    } else if (token.name == "time") {
        attribute = "datetime";
    } else if (token.name == "data" || token.name == "meter") {
        attribute = "value";
    }
    if (attribute) {
        if (const std::string* value = token.attribute(attribute)) return *value;
    }
    if (const std::string* content = token.attribute("content")) return *content;
    return tokensText(tokens, element.start + 1, element.end);
}

std::vector<WebRecipe> microdataRecipes(const std::vector<HtmlToken>& tokens)
{
    const std::vector<Element> elements = elementsOf(tokens);
    std::vector<WebRecipe> recipes;
    for (std::size_t r = 0; r < elements.size() && recipes.size() < kMaxWebRecipes; ++r) {
        const HtmlToken& scopeTag = tokens[elements[r].start];
        const std::string* itemtype = scopeTag.attribute("itemtype");
        if (!elements[r].itemscope || !itemtype || !isRecipeItemType(*itemtype)) continue;
        WebRecipe recipe;
        std::string yield;
        std::optional<long> total;
        std::optional<long> prep;
        std::optional<long> cook;
        auto firstMinutes = [](std::optional<long>& into, const std::string& value) {
            if (!into) into = webMinutes(foldLine(value));
        };
        // The recipe's own properties lie inside it and belong to no item nested in it.
        for (std::size_t p = r + 1; p < elements.size() && elements[p].start < elements[r].end;
             ++p) {
            if (elements[p].scope != static_cast<int>(r)) continue;
            const std::string* itemprop = tokens[elements[p].start].attribute("itemprop");
            if (!itemprop) continue;
            const std::string value = propertyValue(tokens, elements[p]);
            const std::string_view props = *itemprop;
            if (hasWord(props, "name") && recipe.name.empty()) {
                recipe.name = foldLine(value, kMaxWebNameChars);
            }
            if ((hasWord(props, "recipeYield") || hasWord(props, "yield")) && yield.empty()) {
                yield = foldLine(value);
            }
            if (hasWord(props, "totalTime")) firstMinutes(total, value);
            if (hasWord(props, "prepTime")) firstMinutes(prep, value);
            if (hasWord(props, "cookTime")) firstMinutes(cook, value);
            if (hasWord(props, "recipeIngredient") || hasWord(props, "ingredients")) {
                appendTextLines(value, recipe.ingredients);
            }
            if (hasWord(props, "recipeInstructions")) {
                appendTextLines(value, recipe.instructions);
            }
            if (hasWord(props, "recipeCategory")) {
                for (std::string& category : splitCategories(value)) {
                    recipe.categories.push_back(std::move(category));
                }
            }
        }
        recipe.servings = webServings(yield);
        recipe.cookingTime = recipeMinutes(total, prep, cook);
        recipes.push_back(std::move(recipe));
    }
    return recipes;
}

// --- Finishing --------------------------------------------------------------------------------

void finish(WebRecipe& recipe, std::string_view source)
{
    if (recipe.ingredients.size() > kMaxWebLines) recipe.ingredients.resize(kMaxWebLines);
    if (recipe.instructions.size() > kMaxWebLines) recipe.instructions.resize(kMaxWebLines);
    if (recipe.categories.size() > kMaxWebLines) recipe.categories.resize(kMaxWebLines);
    const std::string shown = foldLine(sanitizedUtf8(source));
    if (!shown.empty()) {
        recipe.instructions.push_back(
            cutToLength(std::string(kSourcePrefix) + shown, kMaxWebLineChars));
    }
}

bool isEmptyRecipe(const WebRecipe& recipe)
{
    return recipe.name.empty() && recipe.ingredients.empty() && recipe.instructions.empty();
}

std::string percentDecoded(std::string_view s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && std::isxdigit(static_cast<unsigned char>(s[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(s[i + 2]))) {
            out += static_cast<char>(std::stoi(std::string(s.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::string sizeText(std::size_t bytes)
{
    constexpr std::size_t kMegabyte = 1024 * 1024;
    if (bytes >= kMegabyte && bytes % kMegabyte == 0) return std::to_string(bytes / kMegabyte) + " MB";
    return std::to_string(bytes) + " bytes";
}

}  // namespace

std::string webPageText(std::string_view page, std::string_view contentType)
{
    if (page.starts_with("\xEF\xBB\xBF")) return sanitizedUtf8(page.substr(3));
    std::string charset = charsetParameter(contentType);
    if (charset.empty()) charset = metaCharset(page);
    if (isWesternCharset(charset)) return text::toUtf8(page);
    if (charset.empty() && !isValidUtf8(page)) return text::toUtf8(page);
    return sanitizedUtf8(page);
}

std::optional<long> webMinutes(std::string_view duration)
{
    const std::string_view s = trimmedView(duration);
    if (s.empty()) return std::nullopt;
    if (s.front() == 'P' || s.front() == 'p') return isoMinutes(s);
    if (s.front() == '-') return std::nullopt;
    return plainMinutes(s);
}

std::string webServings(std::string_view yield)
{
    const auto digit = yield.find_first_of("0123456789");
    if (digit == std::string_view::npos) return "0";
    std::string servings = servingsOf(yield.substr(digit));
    if (servings.size() > 4 || servings.find_first_not_of("0123456789") != std::string::npos) {
        return "0";
    }
    return servings;
}

std::vector<WebRecipe> readWebRecipes(std::string_view page, std::string_view source,
                                      std::string_view contentType)
{
    const std::string utf8 = webPageText(page, contentType);
    const std::vector<HtmlToken> tokens = tokenizeHtml(utf8);
    std::vector<WebRecipe> found = jsonLdRecipes(tokens);
    std::erase_if(found, isEmptyRecipe);
    if (found.empty()) {
        found = microdataRecipes(tokens);
        std::erase_if(found, isEmptyRecipe);
    }
    std::vector<WebRecipe> recipes;
    for (WebRecipe& recipe : found) {
        if (recipes.size() == kMaxWebRecipes) break;
        if (std::ranges::find(recipes, recipe) != recipes.end()) continue;
        recipes.push_back(std::move(recipe));
    }
    for (WebRecipe& recipe : recipes) finish(recipe, source);
    return recipes;
}

std::string chooseType(const std::vector<std::string>& categories,
                       const std::vector<std::string>& types, std::string_view defaultType)
{
    for (const std::string& category : categories) {
        auto cp = text::fromUtf8(trimmedView(category));
        if (!cp || cp->empty()) continue;
        const std::string wanted = text::toLower(*cp);
        for (const std::string& type : types) {
            if (text::toLower(trimmedView(type)) == wanted) return type;
        }
    }
    return std::string(defaultType);
}

Result<recipes::RecipeDraft> webRecipeDraft(const WebRecipe& recipe, std::string_view type)
{
    recipes::RecipeDraft draft;
    auto one = [](std::string_view what, const std::string& value,
                  std::string& into) -> Result<void> {
        auto cp = text::fromUtf8(value);
        if (!cp) {
            return fail(cp.error().code,
                        std::string(what) + " cannot be saved. " + cp.error().message);
        }
        into = std::move(*cp);
        return {};
    };
    auto lines = [](std::string_view field, const std::vector<std::string>& values,
                    std::string& into) -> Result<void> {
        for (std::size_t i = 0; i < values.size(); ++i) {
            auto cp = text::fromUtf8(values[i]);
            if (!cp) {
                return fail(cp.error().code, "The line \"" + values[i] + "\" in the " +
                                                 std::string(field) + " cannot be saved. " +
                                                 cp.error().message);
            }
            if (i > 0) into += text::kCrLf;
            into += *cp;
        }
        return {};
    };
    if (auto ok = one("The recipe's name", recipe.name, draft.name); !ok) {
        return std::unexpected(ok.error());
    }
    if (auto ok = one("The number of servings", recipe.servings, draft.servings); !ok) {
        return std::unexpected(ok.error());
    }
    if (auto ok = one("The cooking time", recipe.cookingTime, draft.cookingTime); !ok) {
        return std::unexpected(ok.error());
    }
    if (auto ok = lines("ingredients", recipe.ingredients, draft.ingredients); !ok) {
        return std::unexpected(ok.error());
    }
    if (auto ok = lines("instructions", recipe.instructions, draft.instructions); !ok) {
        return std::unexpected(ok.error());
    }
    draft.type = std::string(type);
    return draft;
}

Result<std::string> addWebRecipe(const ProgramFolder& folder, std::string_view bookTitle,
                                 const recipes::RecipeDraft& draft, NameTaken whenTaken)
{
    auto file = store::CookbookList(folder).fileOf(bookTitle);
    if (!file) return std::unexpected(file.error());
    if (auto ok = recipes::checkDraft(draft); !ok) return std::unexpected(ok.error());
    store::Cookbook cookbook(folder, *file);
    auto names = cookbook.names();
    if (!names) return std::unexpected(names.error());
    const store::TakenNames taken(*names);
    recipes::RecipeDraft named = draft;
    if (taken.taken(draft.name)) {
        if (whenTaken == NameTaken::Refuse) {
            return fail(ErrorCode::Refused, "A recipe named " +
                                                text::quotedForMessage(draft.name) +
                                                " is in the cookbook already. Nothing was added.");
        }
        named.name = taken.proposal(draft.name);
    }
    if (auto added = cookbook.append(recipes::newRecord(named)); !added) {
        return std::unexpected(added.error());
    }
    return named.name;
}

Result<std::vector<WebRecipe>> readWebRecipesFrom(std::string_view fileOrAddress,
                                                  const std::atomic<bool>* cancelled,
                                                  exchange::HttpLimits limits)
{
    const std::string_view given = trimmedView(fileOrAddress);
    if (given.empty()) {
        return fail(ErrorCode::Invalid, "Please give a web address or a saved web page.");
    }
    std::string page;
    std::string source;
    std::string contentType;
    const std::string lowered = asciiLower(given.substr(0, 16));
    if (exchange::isWebAddress(given)) {
        limits.maxBytes = std::min(limits.maxBytes, kMaxWebPageBytes);
        auto fetched = exchange::httpGet(given, limits, cancelled);
        if (!fetched) return std::unexpected(fetched.error());
        page = std::move(fetched->body);
        source = std::move(fetched->address);
        contentType = std::move(fetched->contentType);
    } else {
        std::string pathText(given);
        if (lowered.starts_with("file://")) {
            std::string_view rest = given.substr(7);
            if (asciiLower(rest.substr(0, 10)) == "localhost/") rest.remove_prefix(9);
            pathText = percentDecoded(rest);
        } else if (const auto colon = given.find("://");
                   colon != std::string_view::npos && colon > 0 &&
                   given.substr(0, colon).find_first_not_of(
                       "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+.-") ==
                       std::string_view::npos) {
            return fail(ErrorCode::Invalid,
                        "Only web addresses that begin with https:// or http:// can be read.");
        }
        const std::filesystem::path file(pathText);
        std::error_code error;
        const auto size = std::filesystem::file_size(file, error);
        if (!error && size > kMaxWebPageBytes) {
            return fail(ErrorCode::Refused, "The file is larger than " +
                                                sizeText(kMaxWebPageBytes) +
                                                ", more than a recipe page can be; it was not "
                                                "read.");
        }
        auto bytes = readFile(file);
        if (!bytes) return std::unexpected(bytes.error());
        if (bytes->size() > kMaxWebPageBytes) bytes->resize(kMaxWebPageBytes);
        page = std::move(*bytes);
        const auto absolute = std::filesystem::absolute(file, error);
        source = (error ? file : absolute.lexically_normal()).string();
    }
    auto recipes = readWebRecipes(page, source, contentType);
    if (recipes.empty()) return fail(ErrorCode::NotFound, std::string(kNoWebRecipeMessage));
    return recipes;
}

}  // namespace culvora::transfer
