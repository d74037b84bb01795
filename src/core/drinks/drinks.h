#pragma once

// drinkar.txt: the drinks, one record each — "[NAMN]", the name, the ingredient lines,
// "[GÖRA]", the mixing instructions, "[GLAS]", the glass — in the order they were added. The
// file may end with a lone "[NAMN]" that starts no record (left by deleting the last drink).
// The records are read by the store's record reader with the drinks' tags, so a hand-edited
// file reads by the same rules as a cookbook. Changes hold the data folder's lock and rewrite
// the file through drinkar.tmp.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/drinks/glass_filter.h"
#include "core/error.h"
#include "core/exchange/exchange_formats.h"
#include "core/files/files.h"
#include "core/store/record_reader.h"

namespace culvora::drinks {

inline constexpr std::string_view kDrinksFile = "drinkar.txt";
inline constexpr std::string_view kDrinksTemp = "drinkar.tmp";
inline constexpr std::string_view kTagName = store::kTagName;
inline constexpr std::string_view kTagInstructions = store::kTagInstructions;
inline constexpr std::string_view kTagGlass = store::kTagGlass;

inline constexpr std::string_view kNoNameMessage =
    "Du m\xE5ste d\xF6pa drinken till n\xE5got innan Du sparar";

// --- Glasses -------------------------------------------------------------------------------

// The glass a glass line stands for, as an index of GlassFilter::kGlassNames (the list the
// editors and the filter menu show); -1 for a line that names none. "Coffeecup" is the same
// glass as "Coffecup", and "(Inget)" the same as "(Unknown)": the program has written both
// spellings over the years, and a drink must keep its glass whichever it holds.
int glassIndex(std::string_view glassLine);
// The picture file of a glass (looked up without regard to letter case); empty for -1.
std::string_view glassPicture(int index);

// --- Records ------------------------------------------------------------------------------

struct Drink {
    std::string name;
    std::string ingredients;   // each line followed by CR LF (no lines: empty)
    std::string instructions;  // likewise
    std::string glass;         // the glass line as stored
    bool operator==(const Drink&) const = default;
};

struct DrinkList {
    std::vector<std::string> names;  // in file order
    bool endsWithLoneTag = false;    // the scan ended on a "[NAMN]" that starts no record
};

// The names, with or without a glass filter. A drink passes the filter when "No filter" is
// checked or its glass (as glassIndex reads it) is checked. Names are the lines after
// "[NAMN]" lines only.
DrinkList listDrinks(std::string_view content, const GlassFilter* filter = nullptr);

// The first drink whose name line equals the name. Ingredients end at the first line that
// begins with "[G", instructions at "[GLAS]" (a drink without its "[GÖRA]" line has no
// instructions, and the "[GLAS]" that ends its ingredients gives its glass); a record cut
// short keeps what was read.
std::optional<Drink> readDrink(std::string_view content, std::string_view name);

// A text typed for a drink (UTF-8) as drinkar.txt holds it (Windows-1252). A character the
// file cannot hold is refused by name, as every typed text is, the message speaking of the
// drinks file.
Result<std::string> drinkText(std::string_view utf8);

// Why a drink cannot be stored as typed: an empty name ("Du måste döpa drinken..."), a line
// break in the name or the glass, a line "[NAMN]" or "[GLAS]" anywhere, or an ingredient line
// beginning with "[G". The texts are box texts: lines apart, no line end after the last.
Result<void> checkDrink(std::string_view name, std::string_view ingredients,
                        std::string_view instructions, std::string_view glass);

// The new drink as appending writes it: the boxes' texts each followed by one line end (an
// empty box gives one empty line), after a "[NAMN]" unless a lone one ends the file.
std::string withAppendedDrink(std::string_view content, std::string_view name,
                              std::string_view ingredients, std::string_view instructions,
                              std::string_view glass);
// The first drink of that name with its body replaced (texts in read form: each line ended);
// nothing when the name is not there.
std::optional<std::string> withReplacedBody(std::string_view content, std::string_view name,
                                            const Drink& body);
// The first drink of that name removed; its "[NAMN]" line heads whatever followed, so the file
// stays well formed (a lone "[NAMN]" at the end after the last drink). Nothing when the name is
// not there.
std::optional<std::string> withDeletedDrink(std::string_view content, std::string_view name);

// --- drinkar.txt in the data folder ---------------------------------------------------------

// A missing drinkar.txt reads as empty; the first save creates it.
Result<std::string> readDrinksFile(const ProgramFolder& folder);
Result<Drink> loadDrink(const ProgramFolder& folder, std::string_view name);
// The new-drink editor's "Save": boxes as typed.
Result<void> appendDrink(const ProgramFolder& folder, std::string_view name,
                         std::string_view ingredients, std::string_view instructions,
                         std::string_view glass);
// The edit screen's "Ok": the boxes' texts (box form) and the glass. A box left as it was keeps
// what was loaded, so saving unchanged leaves the file byte for byte as it was.
Result<void> saveEditedDrink(const ProgramFolder& folder, const Drink& loaded,
                             std::string_view ingredients, std::string_view instructions,
                             std::string_view glass);
// Deletes the first drink of that name and keeps it in the bin (core/store/bin.h): both or
// neither.
Result<void> deleteDrink(const ProgramFolder& folder, std::string_view name,
                         const exchange::LocalTime& when);

}  // namespace culvora::drinks
