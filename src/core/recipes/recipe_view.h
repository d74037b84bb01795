#pragma once

// What the recipe viewer shows for one recipe, worked out without a window: the three label
// texts, the ingredient and instruction texts, the ingredient label's height rule, the scroll
// arithmetic of the ingredient frame, and the Back/Forward neighbours in the program's order.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "core/files/files.h"
#include "core/store/cookbook.h"
#include "core/store/record_search.h"

namespace culvora::recipes {

// The ingredient label grows by this much for every line of its section, the closing tag
// included.
inline constexpr int kIngredientLineTwips = 29;
// The label's height before a recipe is read.
inline constexpr int kIngredientStartTwips = 185;

// n ingredient lines give 29 × (n + 1) twips.
constexpr int ingredientHeightTwips(int lines)
{
    return kIngredientLineTwips * (lines + 1);
}

// All texts Windows-1252; the multi-line texts hold each line followed by CR LF.
struct RecipeTexts {
    std::string name;         // Label1
    std::string servings;     // Label2: "(Serves 4)"
    std::string time;         // Label3: "Time to cook: 30 min"
    std::string ingredients;  // Text1
    int ingredientLines = 0;
    std::string instructions;  // Text2
    bool found = true;         // false: the texts say that the recipe is missing
};

RecipeTexts recipeTexts(const store::RecipeRecord& record);

// The time line as the viewer, the printout and every HTML page show it: "Time to cook: " and
// the cooking time, then " min" unless the time already names its unit, so that "25 min"
// never reads "25 min min".
std::string timeText(std::string_view cookingTime);
// True when the time ends with a unit of time ("25 min", "25min", "1 hour", "2 timmar", "45
// minutes."; letter case, trailing blanks and full stops aside). "20 ca" names none.
bool namesTimeUnit(std::string_view cookingTime);

// What the viewer shows for a name the cookbook does not hold (deleted meanwhile, or moved):
// the name, no servings or time, and a sentence in the ingredient area that says so. `reason`
// is that sentence; empty gives the usual one.
RecipeTexts missingRecipeTexts(std::string_view name, std::string_view reason = {});

// The recipe on show. Opening a recipe reads the cookbook and finds the record's name line; it
// neither lists nor sorts the other names (Back and Forward work out their neighbour when
// they are clicked).
struct ViewerPage {
    RecipeTexts texts;
};

// A missing cookbook file is an error (NotFound) with a sentence for the user; a name that the
// cookbook does not hold is not: its page says so, and Back and Forward still lead on to a
// recipe that is there.
Result<ViewerPage> readViewerPage(const ProgramFolder& folder, const std::string& cookbookFile,
                                  std::string_view name);
ViewerPage viewerPage(std::string_view content, std::string_view name);
// The same for the n-th recipe of a name (a cookbook may hold a name twice): the one the user
// picked.
Result<ViewerPage> readViewerPage(const ProgramFolder& folder, const std::string& cookbookFile,
                                  store::RecordKey key);
ViewerPage viewerPage(std::string_view content, store::RecordKey key);

using store::ReadMore;

// The page of a recipe looked up while its cookbook is read piece by piece: the reading stops
// at the end of the record, and no more than a piece and a little context is held. The same
// page as viewerPage() over the whole content; nothing when the pieces cannot settle it (a
// name after some 64 KB of "[NAMN]" lines, or a name the search cannot find, such as one that
// reads "[NAMN]"): then the whole file is to be read.
Result<std::optional<ViewerPage>> viewerPageFromPieces(const ReadMore& read, std::string_view name,
                                                       std::size_t pieceSize = 1024 * 1024);
Result<std::optional<ViewerPage>> viewerPageFromPieces(const ReadMore& read, store::RecordKey key,
                                                       std::size_t pieceSize = 1024 * 1024);

// --- Back and Forward ----------------------------------------------------------------------

enum class Step { Back, Forward };

// The first entry equal to the name, or -1.
int findEntry(std::span<const std::string> order, std::string_view name);

// The name Back or Forward leads to among the cookbook's names (in any order): the next name
// in the program's order, or the previous one, wrapping from the last to the first and back.
// Names equal to the current one are passed over: a cookbook with the same name twice
// (imports can make that) would otherwise show the same first record again and never move on.
// A name not among them leads to the first (Forward) or the last (Back) name. Nothing when
// there are no names. One pass over the names, comparing each with the current one: nothing
// is sorted.
std::optional<std::string> neighbour(std::span<const std::string> names, std::string_view current,
                                     Step step);

// The same for the names of a cookbook file, read when Back or Forward is clicked, so a
// recipe added meanwhile is reached. A missing cookbook has no neighbours.
Result<std::optional<std::string>> readNeighbour(const ProgramFolder& folder,
                                                 const std::string& cookbookFile,
                                                 std::string_view current, Step step);

// A record as a screen holds it: its name and which of the records of that name it is.
struct RecordRef {
    std::string name;
    std::size_t occurrence = 0;
    store::RecordKey key() const { return {name, occurrence}; }
    bool operator==(const RecordRef&) const = default;
};

// The record Back or Forward leads to from a record, as the browser lists them: in the
// program's order, a name that stands more than once once for each of its records, in file
// order. So Forward from the first "Pancakes" leads to the second, and from the last one on
// to the next name; Back comes the other way (to the last record of the name before). A name
// the cookbook does not hold any more leads to the first record (Forward) or the last (Back);
// an occurrence past the last of its name stands just after them. Nothing when there are no
// names. One pass over the names (a second to count the records of a name stepped back to):
// nothing is sorted.
std::optional<RecordRef> neighbour(std::span<const std::string> names, store::RecordKey current,
                                   Step step);
Result<std::optional<RecordRef>> readNeighbour(const ProgramFolder& folder,
                                               const std::string& cookbookFile,
                                               store::RecordKey current, Step step);

// --- Scrolling the ingredients -------------------------------------------------------------

// The scroll bar value v moves the label to the top −10 × v twips. The range always reaches
// the label's last line, however far "Zoom in" has grown it: a 16-bit value would leave the
// end of a long, zoomed list out of reach.
struct ScrollRange {
    int maximum = 0;
    int singleStep = 1;
    int pageStep = 1;
};

// Enough range to bring the label's last line to the bottom of the frame; a click on an arrow
// moves one line, a click beside the thumb one frame.
ScrollRange ingredientScrollRange(int labelHeightTwips, int frameHeightTwips, int lineHeightTwips);

// The label's top for a scroll value, in twips (a negative value is held at 0).
int ingredientTop(int value);

}  // namespace culvora::recipes
