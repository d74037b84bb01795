#pragma once

// Meal-Master text exports, turned into cookbook records.
//
// Real archives are collections of recipes gathered over decades: each recipe starts with its
// own header line ("---------- Recipe via Meal-Master (tm) v7.04" or "MMMMM----- Recipe via
// Meal-Master (tm) v8.05"), has right-aligned labels ("Title:", "Categories:", "Yield:" or
// "Servings:"), fixed-column ingredients (amount in columns 1-7, unit in 9-10, text from 12),
// sometimes two of them side by side, continuation lines, group headings and blank lines
// between groups, and ends with "-----" or "MMMMM". Text between recipes is skipped. Files are
// DOS code page text or UTF-8.
//
// Each recipe becomes one record: the title with its first letter in upper case and the rest
// in lower case, the servings as a whole number, time 0, the ingredient lines trimmed and
// ended by one empty line, the instruction lines trimmed, the type "Imported". A recipe that
// cannot be read whole is not imported and is reported with its reason.

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "core/files/files.h"
#include "core/store/cookbook.h"

namespace culvora::transfer {

// Code page 850 (the DOS code page Meal-Master files are written in), bytes 0x80 to 0xFF,
// as Unicode: read by the import, written by the export.
inline constexpr std::array<char32_t, 128> kCp850 = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF,
    0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0, 0x00A9, 0x2563, 0x2551, 0x2557,
    0x255D, 0x00A2, 0x00A5, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4, 0x00F0, 0x00D0, 0x00CA, 0x00CB,
    0x00C8, 0x0131, 0x00CD, 0x00CE, 0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580,
    0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE, 0x00DE, 0x00DA, 0x00DB, 0x00D9,
    0x00FD, 0x00DD, 0x00AF, 0x00B4, 0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8,
    0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,
};

inline constexpr std::string_view kImportedType = "Imported";
inline constexpr std::string_view kNotMealMasterMessage = "Sorry, not a Meal Master document!";
inline constexpr std::string_view kNotMealMasterTitle = "Error";
inline constexpr std::string_view kImportedTitle = "Ok";
inline constexpr std::string_view kSkippedTitle = "Import";

// How the bytes of an imported text file are read. Detect takes UTF-8 when the whole file
// decodes as UTF-8 and DOS code page 850 otherwise.
enum class TextEncoding { Detect, Utf8, Cp850, Cp1252 };

struct DecodedText {
    std::string cp1252;
    TextEncoding encoding = TextEncoding::Cp1252;  // the one used (never Detect)
    // Characters Windows-1252 cannot hold (box drawing, malformed UTF-8), each replaced by '?'.
    int replaced = 0;
};

// The file's text in Windows-1252. A byte-order mark is dropped, DOS's end-of-file byte
// (0x1A) ends the text, tabs and line ends are kept, and other control bytes are left out.
DecodedText decodeForImport(std::string_view bytes, TextEncoding encoding);

// True when the whole text decodes as UTF-8: what Detect takes for UTF-8.
bool decodesAsUtf8(std::string_view bytes);

// "utf-8", "cp850", "cp1252" (any case); nothing for another name.
std::optional<TextEncoding> encodingNamed(std::string_view name);

// How much of a skipped recipe's title is kept: enough for a message to show it and say
// that it goes on.
inline constexpr std::size_t kSkippedTitleChars = 100;

struct SkippedRecipe {
    int number = 0;      // the recipe's place in the file, from 1
    std::string title;   // Windows-1252 as in the file (trimmed, at most kSkippedTitleChars)
    std::string reason;  // UTF-8
};

struct MealMasterFile {
    bool isMealMaster = false;  // at least one recipe header was found
    std::vector<store::RecipeRecord> recipes;
    std::vector<SkippedRecipe> skipped;
    int replacedCharacters = 0;
    TextEncoding encoding = TextEncoding::Cp1252;
};

// Reads every recipe of a Meal-Master file (the raw bytes).
MealMasterFile parseMealMaster(std::string_view bytes,
                               TextEncoding encoding = TextEncoding::Detect);

// The servings line for a yield text ("8 servings", "1 1/2 cups", "  8"): the leading number,
// a fraction after it counted ("1 1/2" is one and a half), rounded half up to a whole number
// and at least 1; "0" when the text does not begin with a number.
std::string servingsOf(std::string_view yieldText);

// The name of an imported recipe: the first character in upper case, the others in lower case.
std::string importedName(std::string_view title);

// How many of the recipes left out an import keeps to name in its message.
inline constexpr std::size_t kSkippedShown = 5;

struct MealMasterImport {
    int imported = 0;
    std::vector<SkippedRecipe> skipped;  // the first kSkippedShown left out
    int skippedCount = 0;                // all that were left out
    int replacedCharacters = 0;
    // Recipes whose name the cookbook already had, or an earlier recipe of the file took: each
    // got a numbered name ("Pancakes (2)"), so that none hides behind another of its name.
    int renamed = 0;
    std::string firstRenamed;  // the first numbered name given (Windows-1252)
};

// "3 recipes imported."
std::string importedMessage(int count);
// The sentence about the recipes given a numbered name, naming the first (UTF-8): "2 recipes
// had names that were taken and were given numbered names, such as "Pancakes (2)"."
std::string renamedMessage(int renamed, std::string_view firstRenamed);
// "3 recipes imported." and, when some were renamed, that sentence after it.
std::string importedMessage(const MealMasterImport& report);
// What was left out and why (the first few titles), and how many characters were replaced;
// empty when nothing was.
std::string skippedMessage(const MealMasterImport& report);
// "3 recipes were not imported:" and the first of them with their reasons (the count is at least
// the number of recipes given); empty for none.
std::string skippedList(const std::vector<SkippedRecipe>& first, std::size_t count);

// Imports a Meal-Master file into the cookbook with the given title (bocker.txt names its
// file). The whole file is read first and every complete recipe appended in one rewrite of the
// cookbook, so the cookbook holds all of them or, after a failure, none. A recipe whose name
// is taken gets a numbered one (MealMasterImport::renamed). A file without any
// recipe header is refused with kNotMealMasterMessage (ErrorCode::Refused) and nothing is
// written.
Result<MealMasterImport> importMealMaster(const ProgramFolder& folder, std::string_view bookTitle,
                                          const std::filesystem::path& file,
                                          TextEncoding encoding = TextEncoding::Detect);

// The same into a cookbook file given directly.
Result<MealMasterImport> importMealMasterInto(const ProgramFolder& folder,
                                              const std::string& cookbookFile,
                                              std::string_view bytes,
                                              TextEncoding encoding = TextEncoding::Detect);

}  // namespace culvora::transfer
