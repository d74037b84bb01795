#include "core/transfer/mealmaster.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "core/store/cookbook_list.h"
#include "core/store/record_check.h"
#include "core/store/recipe_index.h"
#include "core/store/taken_names.h"
#include "core/text/text.h"

namespace culvora::transfer {

namespace {

constexpr char kReplacement = '?';

// Windows-1252 bytes 0x80 to 0x9F as Unicode; 0 where the code page leaves the byte undefined.
constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// The Windows-1252 byte of a character, if the code page has one.
std::optional<char> cp1252Byte(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (std::size_t i = 0; i < kCp1252High.size(); ++i) {
        if (kCp1252High[i] != 0 && kCp1252High[i] == c) return static_cast<char>(0x80 + i);
    }
    return std::nullopt;
}

// The next UTF-8 character at `pos` (advanced past it), or nothing for a malformed sequence
// (pos then moves past one byte).
std::optional<char32_t> nextUtf8(std::string_view s, std::size_t& pos)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char first = byte(pos);
    if (first < 0x80) {
        ++pos;
        return first;
    }
    int length = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if ((first & 0xE0) == 0xC0) {
        length = 2, c = first & 0x1F, minimum = 0x80;
    } else if ((first & 0xF0) == 0xE0) {
        length = 3, c = first & 0x0F, minimum = 0x800;
    } else if ((first & 0xF8) == 0xF0) {
        length = 4, c = first & 0x07, minimum = 0x10000;
    } else {
        ++pos;
        return std::nullopt;
    }
    if (pos + static_cast<std::size_t>(length) > s.size()) {
        ++pos;
        return std::nullopt;
    }
    for (int i = 1; i < length; ++i) {
        const unsigned char next = byte(pos + static_cast<std::size_t>(i));
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return std::nullopt;
        }
        c = (c << 6) | (next & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++pos;
        return std::nullopt;
    }
    pos += static_cast<std::size_t>(length);
    return c;
}

bool isValidUtf8(std::string_view s)
{
    std::size_t pos = 0;
    while (pos < s.size()) {
        // ASCII, most of any recipe, one byte at a time without decoding.
        if (static_cast<unsigned char>(s[pos]) < 0x80) {
            ++pos;
        } else if (!nextUtf8(s, pos)) {
            return false;
        }
    }
    return true;
}

// --- Lines ---------------------------------------------------------------------------------

bool isBlank(std::string_view line)
{
    return line.find_first_not_of(' ') == std::string_view::npos;
}

std::string_view trimmed(std::string_view s)
{
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(' ');
    return s.substr(first, last - first + 1);
}

bool containsNoCase(std::string_view text, std::string_view word)
{
    return std::search(text.begin(), text.end(), word.begin(), word.end(), [](char a, char b) {
               return text::toLower(a) == text::toLower(b);
           }) != text.end();
}

enum class HeaderStyle { None, Hyphens, Ms };

// "---------- Recipe via Meal-Master (tm) v8.05", "MMMMM----- Recipe via Meal-Master",
// "---------- Recipe Extracted from Meal-Master (tm) Database".
HeaderStyle headerStyle(std::string_view line)
{
    std::string_view text = trimmed(line);
    if (!containsNoCase(text, "Meal-Master")) return HeaderStyle::None;
    if (text.starts_with("MMMMM")) return HeaderStyle::Ms;
    if (text.starts_with("-----")) return HeaderStyle::Hyphens;
    return HeaderStyle::None;
}

// The line that ends a recipe: "-----" or "MMMMM" from the first column (trailing blanks are
// allowed; a leading blank makes it an instruction line).
bool isEndMark(std::string_view line)
{
    std::string_view text = line.substr(0, line.find_last_not_of(' ') + 1);
    return text == "-----" || text == "MMMMM";
}

// "MMMMM--------FILLING--------" or "-----FILLING-----": a heading inside the ingredients.
bool isSectionHeading(std::string_view line)
{
    std::string_view text = trimmed(line);
    if (isEndMark(text) || text.size() < 6) return false;
    return text.starts_with("MMMMM-") || text.starts_with("-----");
}

// The value after a label ("Title:", "Yield:", "Servings:") in a line, if the line holds it.
// The one blank after the colon belongs to the label.
std::optional<std::string_view> labelValue(std::string_view line, std::string_view label)
{
    const auto at = line.find(label);
    if (at == std::string_view::npos) return std::nullopt;
    std::string_view rest = line.substr(at + label.size());
    if (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    return trimmed(rest);
}

// A title label that can open a recipe on its own (after the end of the previous one): only
// blanks stand before it.
bool isTitleLabel(std::string_view line)
{
    const auto at = line.find("Title:");
    return at != std::string_view::npos && isBlank(line.substr(0, at));
}

bool isUnit(std::string_view unit)
{
    static constexpr std::array<std::string_view, 36> kUnits = {
        "x",  "sm", "md", "lg", "cn", "pk", "pn", "dr", "ds", "ct", "bn", "sl",
        "ea", "t",  "ts", "T",  "tb", "fl", "c",  "pt", "qt", "ga", "oz", "lb",
        "ml", "cb", "cl", "dl", "l",  "mg", "cg", "dg", "g",  "kg", "Tb", "Ts",
    };
    std::string_view text = trimmed(unit);
    return text.empty() || std::ranges::find(kUnits, text) != kUnits.end();
}

// An ingredient in the fixed columns: amount in columns 1-7 (digits, blanks, '/', '.', '-'),
// a blank, the unit in 9-10, a blank, the text from column 12.
enum class Shape { None, Ingredient, Continuation };

Shape ingredientShape(std::string_view segment, bool requireAmount)
{
    if (segment.size() < 12 || segment[11] == ' ') return Shape::None;
    if (segment[7] != ' ' || segment[10] != ' ') return Shape::None;
    std::string_view amount = segment.substr(0, 7);
    if (amount.find_first_not_of(" 0123456789/.-") != std::string_view::npos) return Shape::None;
    const bool hasAmount = amount.find_first_of("0123456789") != std::string_view::npos;
    if (isBlank(amount) && isBlank(segment.substr(8, 2)) && segment[11] == '-') {
        return Shape::Continuation;
    }
    if (!isUnit(segment.substr(8, 2))) return Shape::None;
    if (requireAmount && !hasAmount) return Shape::None;
    if (!hasAmount && !isBlank(amount)) return Shape::None;
    return Shape::Ingredient;
}

// The column where the right-hand ingredient of a two-column row begins.
constexpr std::size_t kSecondColumn = 41;

// The right-hand half of a two-column row, if the line is one.
std::optional<std::string_view> secondColumn(std::string_view line)
{
    if (line.size() <= kSecondColumn + 11 || line[kSecondColumn - 1] != ' ') return std::nullopt;
    std::string_view right = line.substr(kSecondColumn);
    if (ingredientShape(right, false) == Shape::None) return std::nullopt;
    std::string_view left = line.substr(0, kSecondColumn);
    if (!isBlank(left) && ingredientShape(left, false) == Shape::None) return std::nullopt;
    return right;
}

// A line that a cookbook reader would take for one of its tags gets a leading blank, so the
// record stays well formed: "[G..." would end the ingredients, "[TYP]" the instructions and
// "[NAMN]" would start a record of its own.
std::string safeLine(std::string_view line, bool inIngredients)
{
    const bool tagLike = line == store::kTagName || line == store::kTagType ||
                         (inIngredients && line.starts_with("[G"));
    return tagLike ? " " + std::string(line) : std::string(line);
}

std::string joinCrLf(const std::vector<std::string>& lines)
{
    return text::joinLines(lines);
}

// Tabs become blanks up to the next multiple of eight within their line, so the fixed
// columns stay in place. A text without tabs is left as it is (most are).
void expandTabs(std::string& text)
{
    if (text.find('\t') == std::string::npos) return;
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    std::size_t column = 0;
    for (char c : text) {
        if (c == '\t') {
            do out += ' ';
            while (++column % 8 != 0);
        } else {
            out += c;
            column = c == '\r' || c == '\n' ? 0 : column + 1;
        }
    }
    text = std::move(out);
}

// The lines of the decoded text, reached by the byte position where each starts: a recipe is
// read where it stands, without a string or a table entry per line. A line ends at CR LF, a
// lone CR or a lone LF; a position at the end of the text has no line.
class Lines {
public:
    explicit Lines(std::string_view text) : text_(text) {}

    bool has(std::size_t at) const { return at < text_.size(); }
    std::string_view operator[](std::size_t at) const { return text_.substr(at, endOf(at) - at); }
    // Where the line after the one at `at` starts.
    std::size_t next(std::size_t at) const
    {
        std::size_t end = endOf(at);
        if (end < text_.size()) {
            if (text_[end] == '\r' && end + 1 < text_.size() && text_[end + 1] == '\n') ++end;
            ++end;
        }
        return end;
    }

private:
    std::size_t endOf(std::size_t at) const
    {
        const char* data = text_.data();
        std::size_t end = at;
        while (end < text_.size() && data[end] != '\r' && data[end] != '\n') ++end;
        return end;
    }

    std::string_view text_;
};

// --- Recipes -------------------------------------------------------------------------------

// Where the records go as they are read: gathered (parseMealMaster) or written out at once.
class RecipeSink {
public:
    virtual ~RecipeSink() = default;
    virtual void recipe(store::RecipeRecord&& record) = 0;
    virtual void skipped(SkippedRecipe&& skipped) = 0;
};

class Parser {
public:
    Parser(std::string_view text, RecipeSink& sink) : lines_(text), sink_(sink) {}

    // True when the text holds a recipe header.
    bool run()
    {
        std::size_t i = 0;
        while (lines_.has(i)) {
            const std::string_view line = lines_[i];
            const HeaderStyle style = headerStyle(line);
            if (style != HeaderStyle::None) {
                isMealMaster_ = true;
                style_ = style;
                i = recipe(lines_.next(i));
            } else if (isMealMaster_ && isTitleLabel(line)) {
                // A recipe that follows the previous one's end line without a header.
                i = recipe(i);
            } else {
                i = lines_.next(i);  // mail headers, notes, blank lines between recipes
            }
        }
        return isMealMaster_;
    }

private:
    bool atBoundary(std::size_t i) const
    {
        const std::string_view line = lines_[i];
        return headerStyle(line) != HeaderStyle::None || isEndMark(line);
    }

    void skip(std::string_view title, std::string reason)
    {
        // A message shows only the start of a title; a runaway title line is not kept whole.
        sink_.skipped({number_, std::string(trimmed(title).substr(0, kSkippedTitleChars)),
                       std::move(reason)});
    }

    // Past the end line of a recipe that is being left out (or at the next header).
    std::size_t skipRest(std::size_t i) const
    {
        while (lines_.has(i)) {
            if (headerStyle(lines_[i]) != HeaderStyle::None) return i;
            if (isEndMark(lines_[i])) return lines_.next(i);
            i = lines_.next(i);
        }
        return i;
    }

    // Reads one recipe from line i (the line after its header, or its title line); returns
    // where the search for the next recipe goes on.
    std::size_t recipe(std::size_t i)
    {
        ++number_;

        // The title.
        while (lines_.has(i) && !atBoundary(i) && lines_[i].find("Title:") == std::string::npos) {
            i = lines_.next(i);
        }
        if (!lines_.has(i)) {
            skip("", "the file ends before its title");
            return i;
        }
        if (atBoundary(i)) {
            skip("", "it has no title");
            return skipRest(i);
        }
        const std::string title(*labelValue(lines_[i], "Title:"));
        if (title.empty()) {
            skip("", "it has no title");
            return skipRest(lines_.next(i));
        }

        // The yield.
        std::optional<std::string_view> yield;
        bool yieldLabel = false;
        i = lines_.next(i);
        for (; lines_.has(i) && !atBoundary(i); i = lines_.next(i)) {
            if ((yield = labelValue(lines_[i], "Yield:"))) {
                yieldLabel = true;
                break;
            }
            if ((yield = labelValue(lines_[i], "Servings:"))) break;
        }
        if (!lines_.has(i)) {
            skip(title, "it is cut off by the end of the file");
            return i;
        }
        if (!yield) {
            skip(title, "it has no Yield or Servings line");
            return skipRest(i);
        }
        store::RecipeRecord record;
        record.name = importedName(title);
        record.servings = servingsOf(*yield);
        record.cookingTime = "0";
        record.type = std::string(kImportedType);

        // The recipe in its first form: a hyphen header and "Yield:". The line after the yield
        // is passed over, and the first empty line ends the ingredients, even an empty first
        // one.
        const bool classic = style_ == HeaderStyle::Hyphens && yieldLabel;
        i = lines_.next(i);
        if (classic) {
            if (lines_.has(i) && isBlank(lines_[i])) i = lines_.next(i);
        } else {
            while (lines_.has(i) && isBlank(lines_[i])) i = lines_.next(i);
        }

        // The ingredients.
        std::vector<std::string> ingredients;
        bool sawIngredient = false;
        // Where the last ingredient of the left and right column stands, for continuations.
        std::optional<std::size_t> lastLeft;
        std::optional<std::size_t> lastRight;
        auto addIngredient = [&](std::string_view segment, std::optional<std::size_t>& last) {
            if (ingredientShape(segment, false) == Shape::Continuation && last) {
                std::string_view more = trimmed(segment.substr(12));
                if (!more.empty()) {
                    ingredients[*last] += ' ';
                    ingredients[*last] += more;
                }
                return;
            }
            ingredients.push_back(safeLine(trimmed(segment), true));
            last = ingredients.size() - 1;
            sawIngredient = true;
        };
        bool ended = false;  // the ingredients reached the recipe's end line
        while (true) {
            if (!lines_.has(i)) {
                skip(title, "it is cut off by the end of the file");
                return i;
            }
            const std::string_view line = lines_[i];
            if (headerStyle(line) != HeaderStyle::None || isEndMark(line)) {
                ingredients.emplace_back();
                ended = true;
                break;
            }
            if (isBlank(line)) {
                // A blank line between two groups of ingredients does not end them.
                std::size_t next = lines_.next(i);
                while (lines_.has(next) && isBlank(lines_[next])) next = lines_.next(next);
                const bool groupFollows =
                    sawIngredient && lines_.has(next) && !atBoundary(next) &&
                    (isSectionHeading(lines_[next]) ||
                     ingredientShape(lines_[next], true) == Shape::Ingredient ||
                     secondColumn(lines_[next]));
                ingredients.emplace_back();
                if (!groupFollows) {
                    i = lines_.next(i);
                    break;
                }
                lastLeft.reset();
                lastRight.reset();
                i = next;
                continue;
            }
            if (isSectionHeading(line)) {
                ingredients.emplace_back(trimmed(line));
                lastLeft.reset();
                lastRight.reset();
                sawIngredient = true;
            } else if (auto right = secondColumn(line)) {
                std::string_view left = line.substr(0, kSecondColumn);
                if (!isBlank(left)) addIngredient(left, lastLeft);
                addIngredient(*right, lastRight);
            } else {
                addIngredient(line, lastLeft);
                lastRight.reset();
            }
            i = lines_.next(i);
        }

        // The instructions, up to the end line.
        std::vector<std::string> instructions;
        if (!ended) {
            while (true) {
                if (!lines_.has(i)) {
                    skip(title, "it is cut off by the end of the file");
                    return i;
                }
                const std::string_view line = lines_[i];
                if (isEndMark(line)) {
                    i = lines_.next(i);
                    break;
                }
                // A recipe whose end line is missing ends where the next one begins.
                if (headerStyle(line) != HeaderStyle::None) break;
                instructions.push_back(safeLine(trimmed(line), false));
                i = lines_.next(i);
            }
        } else if (lines_.has(i) && isEndMark(lines_[i])) {
            i = lines_.next(i);
        }
        record.ingredients = joinCrLf(ingredients);
        record.instructions = joinCrLf(instructions);
        // What a recipe typed in the window could not be, an import cannot bring in either.
        if (auto problem = store::newRecipeProblem(record)) {
            skip(title, std::move(*problem));
            return i;
        }
        sink_.recipe(std::move(record));
        return i;
    }

    Lines lines_;
    RecipeSink& sink_;
    bool isMealMaster_ = false;
    HeaderStyle style_ = HeaderStyle::None;
    int number_ = 0;
};

// The records gathered in memory.
class CollectingSink final : public RecipeSink {
public:
    explicit CollectingSink(MealMasterFile& file) : file_(file) {}
    void recipe(store::RecipeRecord&& record) override
    {
        file_.recipes.push_back(std::move(record));
    }
    void skipped(SkippedRecipe&& skipped) override { file_.skipped.push_back(std::move(skipped)); }

private:
    MealMasterFile& file_;
};

// The records written one after the other into the lines an append adds to a cookbook, each
// as soon as it is read: the import holds the file and these lines, never a record per recipe.
class WritingSink final : public RecipeSink {
public:
    WritingSink(std::string& lines, MealMasterImport& report, store::TakenNames& taken)
        : lines_(lines),
          report_(report),
          taken_(taken)
    {
    }
    void recipe(store::RecipeRecord&& record) override
    {
        if (std::string given = taken_.claim(record.name); given != record.name) {
            record.name = std::move(given);
            if (report_.renamed++ == 0) report_.firstRenamed = record.name;
        }
        if (report_.imported > 0) {
            lines_ += store::kTagName;
            lines_ += text::kCrLf;
        }
        lines_ += store::formatRecord(record, store::TextForm::AsRead);
        ++report_.imported;
    }
    void skipped(SkippedRecipe&& skipped) override
    {
        // A file of a million broken recipes must not cost a million reasons.
        if (report_.skipped.size() < kSkippedShown) report_.skipped.push_back(std::move(skipped));
        ++report_.skippedCount;
    }

private:
    std::string& lines_;
    MealMasterImport& report_;
    store::TakenNames& taken_;
};

// Decodes the bytes where they are: no character of the result takes more bytes than it came
// from, so the text is written over the bytes already read.
int decodeInPlace(std::string& bytes, TextEncoding& encoding)
{
    std::size_t from = 0;
    if (std::string_view(bytes).starts_with("\xEF\xBB\xBF")) {
        from = 3;
        if (encoding == TextEncoding::Detect) encoding = TextEncoding::Utf8;
    }
    if (encoding == TextEncoding::Detect) {
        encoding = isValidUtf8(std::string_view(bytes).substr(from)) ? TextEncoding::Utf8
                                                                     : TextEncoding::Cp850;
    }
    std::size_t to = 0;
    int replaced = 0;
    // Adds one decoded character; false once DOS's end-of-file mark has been met.
    auto add = [&](char32_t c) {
        if (c == 0x1A) return false;
        if (c == '\t' || c == '\r' || c == '\n') {
            bytes[to++] = static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            // Stray control bytes (0x14 and the like) carry nothing a cook reads.
        } else if (auto byte = cp1252Byte(c)) {
            bytes[to++] = *byte;
        } else {
            bytes[to++] = kReplacement;
            ++replaced;
        }
        return true;
    };
    const std::size_t size = bytes.size();
    switch (encoding) {
    case TextEncoding::Utf8: {
        const std::string_view view(bytes);
        std::size_t pos = from;
        while (pos < size) {
            const auto ascii = static_cast<unsigned char>(bytes[pos]);
            if (ascii < 0x80) {
                ++pos;
                if (!add(ascii)) break;
                continue;
            }
            auto c = nextUtf8(view, pos);
            if (!c) {
                bytes[to++] = kReplacement;
                ++replaced;
            } else if (!add(*c)) {
                break;
            }
        }
        break;
    }
    case TextEncoding::Cp850:
        for (std::size_t pos = from; pos < size; ++pos) {
            const auto u = static_cast<unsigned char>(bytes[pos]);
            if (!add(u < 0x80 ? char32_t{u} : kCp850[u - 0x80])) break;
        }
        break;
    case TextEncoding::Cp1252:
    case TextEncoding::Detect:
        for (std::size_t pos = from; pos < size; ++pos) {
            const auto u = static_cast<unsigned char>(bytes[pos]);
            if (u >= 0x80) {
                bytes[to++] = bytes[pos];
            } else if (!add(u)) {
                break;
            }
        }
        break;
    }
    bytes.resize(to);
    return replaced;
}

// Appends the lines to the cookbook in one rewrite, holding the data folder's lock from the
// read to the rename, as every change of a cookbook does. The new file is written from its
// pieces (the cookbook, what appending puts between, the lines), never put together.
Result<void> appendToCookbook(const ProgramFolder& folder, const std::string& cookbookFile,
                              std::string_view lines)
{
    if (auto name = checkCookbookFileName(cookbookFile); !name) {
        return std::unexpected(name.error());
    }
    auto lock = FolderLock::acquire(folder);
    if (!lock) return std::unexpected(lock.error());
    auto content = folder.read(cookbookFile);
    if (!content && content.error().code == ErrorCode::NotFound) {
        return fail(ErrorCode::NotFound, "The cookbook file " +
                                             text::quotedForMessage(cookbookFile) +
                                             " does not exist.");
    }
    if (!content) return std::unexpected(content.error());
    const std::string between = store::appendSeparator(*content);
    const std::string_view pieces[] = {*content, between, lines};
    return folder.write(cookbookFile, pieces, store::kRewriteTemp);
}

// The import of a file's bytes, taken over: they are decoded where they lie and read in
// place, and the records go straight into the lines that are appended. An 80 MB file costs
// about twice its size in memory.
Result<MealMasterImport> importBytes(const ProgramFolder& folder, const std::string& cookbookFile,
                                     std::string&& bytes, TextEncoding encoding)
{
    if (auto name = checkCookbookFileName(cookbookFile); !name) {
        return std::unexpected(name.error());
    }
    // Held from reading the names already there to the rename: no other writer can take one
    // of the names given meanwhile.
    auto lock = FolderLock::acquire(folder);
    if (!lock) return std::unexpected(lock.error());
    auto names = store::readNames(folder, cookbookFile);
    if (!names) return std::unexpected(names.error());
    store::TakenNames taken(*names);
    std::vector<std::string>().swap(*names);

    MealMasterImport report;
    report.replacedCharacters = decodeInPlace(bytes, encoding);
    expandTabs(bytes);
    std::string lines;
    // Room for the records, so that the buffer does not move while it grows; pages of it that
    // are never written take no memory.
    lines.reserve(bytes.size() + bytes.size() / 2 + 65536);
    WritingSink sink(lines, report, taken);
    if (!Parser(bytes, sink).run()) {
        return fail(ErrorCode::Refused, std::string(kNotMealMasterMessage));
    }
    std::string().swap(bytes);  // the memory goes back now, not when the caller is done
    if (report.imported > 0) {
        if (auto appended = appendToCookbook(folder, cookbookFile, lines); !appended) {
            return std::unexpected(appended.error());
        }
    }
    return report;
}

}  // namespace

DecodedText decodeForImport(std::string_view bytes, TextEncoding encoding)
{
    DecodedText decoded;
    decoded.cp1252 = std::string(bytes);
    decoded.encoding = encoding;
    decoded.replaced = decodeInPlace(decoded.cp1252, decoded.encoding);
    return decoded;
}

std::optional<TextEncoding> encodingNamed(std::string_view name)
{
    const std::string lower = text::toLower(name);
    if (lower == "utf-8" || lower == "utf8") return TextEncoding::Utf8;
    if (lower == "cp850" || lower == "ibm850" || lower == "dos") return TextEncoding::Cp850;
    if (lower == "cp1252" || lower == "windows-1252") return TextEncoding::Cp1252;
    return std::nullopt;
}

std::string servingsOf(std::string_view yieldText)
{
    std::string_view s = trimmed(yieldText);
    std::size_t pos = 0;
    auto digits = [&](double& value) {
        const std::size_t start = pos;
        value = 0;
        while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9') {
            value = std::min(value * 10 + (s[pos] - '0'), 1e12);
            ++pos;
        }
        return pos > start;
    };
    double whole = 0;
    if (!digits(whole)) {
        // ".5" still begins with a number; anything else does not.
        if (!(s.size() > 1 && s[0] == '.' && s[1] >= '0' && s[1] <= '9')) return "0";
    }
    double value = whole;
    if (pos < s.size() && s[pos] == '.') {
        ++pos;
        double scale = 0.1;
        while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9') {
            value += (s[pos] - '0') * scale;
            scale /= 10;
            ++pos;
        }
    } else if (pos < s.size() && s[pos] == '/') {
        // "1/2": a fraction on its own.
        ++pos;
        double below = 0;
        if (digits(below) && below > 0) value = whole / below;
    } else {
        // "1 1/2": a whole number and a fraction.
        std::size_t save = pos;
        while (pos < s.size() && s[pos] == ' ') ++pos;
        double above = 0;
        double below = 0;
        if (digits(above) && pos < s.size() && s[pos] == '/' && (++pos, digits(below)) &&
            below > 0) {
            value += above / below;
        } else {
            pos = save;
        }
    }
    const double rounded = std::floor(value + 0.5);
    const long long servings = std::clamp(static_cast<long long>(rounded), 1LL, 999999LL);
    return std::to_string(servings);
}

std::string importedName(std::string_view title)
{
    if (title.empty()) return {};
    std::string name = text::toLower(title);
    name[0] = text::toUpper(title[0]);
    return name;
}

MealMasterFile parseMealMaster(std::string_view bytes, TextEncoding encoding)
{
    DecodedText decoded = decodeForImport(bytes, encoding);
    expandTabs(decoded.cp1252);
    MealMasterFile file;
    file.encoding = decoded.encoding;
    file.replacedCharacters = decoded.replaced;
    CollectingSink sink(file);
    file.isMealMaster = Parser(decoded.cp1252, sink).run();
    return file;
}

bool decodesAsUtf8(std::string_view bytes)
{
    return isValidUtf8(bytes);
}

std::string importedMessage(int count)
{
    return std::to_string(count) + " recipes imported.";
}

std::string skippedList(const std::vector<SkippedRecipe>& first, std::size_t count)
{
    count = std::max(count, first.size());
    if (count == 0) return {};
    std::string message = std::to_string(count) + (count == 1 ? " recipe was not imported:"
                                                              : " recipes were not imported:");
    const std::size_t shown = std::min(first.size(), kSkippedShown);
    for (std::size_t i = 0; i < shown; ++i) {
        const SkippedRecipe& skipped = first[i];
        message += "\n";
        message += skipped.title.empty()
                       ? "recipe " + std::to_string(skipped.number) + " of the file"
                       : text::quotedForMessage(skipped.title);
        message += ": " + skipped.reason + ".";
    }
    if (count > shown) message += "\n... and " + std::to_string(count - shown) + " more.";
    return message;
}

std::string renamedMessage(int renamed, std::string_view firstRenamed)
{
    const std::string example = "\"" + text::toUtf8(firstRenamed) + "\"";
    if (renamed == 1) {
        return "1 recipe had a name that was taken and was given a numbered name, " + example +
               ".";
    }
    return std::to_string(renamed) +
           " recipes had names that were taken and were given numbered names, such as " +
           example + ".";
}

std::string importedMessage(const MealMasterImport& report)
{
    std::string message = importedMessage(report.imported);
    if (report.renamed > 0) message += " " + renamedMessage(report.renamed, report.firstRenamed);
    return message;
}

std::string skippedMessage(const MealMasterImport& report)
{
    std::string message =
        skippedList(report.skipped, static_cast<std::size_t>(std::max(report.skippedCount, 0)));
    if (report.replacedCharacters > 0) {
        if (!message.empty()) message += "\n\n";
        message += std::to_string(report.replacedCharacters) +
                   (report.replacedCharacters == 1
                        ? " character that a cookbook cannot hold was replaced by \"?\"."
                        : " characters that a cookbook cannot hold were replaced by \"?\".");
    }
    return message;
}

Result<MealMasterImport> importMealMasterInto(const ProgramFolder& folder,
                                              const std::string& cookbookFile,
                                              std::string_view bytes, TextEncoding encoding)
{
    return importBytes(folder, cookbookFile, std::string(bytes), encoding);
}

Result<MealMasterImport> importMealMaster(const ProgramFolder& folder, std::string_view bookTitle,
                                          const std::filesystem::path& file, TextEncoding encoding)
{
    auto cookbookFile = store::CookbookList(folder).fileOf(bookTitle);
    if (!cookbookFile) return std::unexpected(cookbookFile.error());
    auto bytes = readFile(file);
    if (!bytes) return std::unexpected(bytes.error());
    return importBytes(folder, *cookbookFile, std::move(*bytes), encoding);
}

}  // namespace culvora::transfer
