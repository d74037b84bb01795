#pragma once

// How a window of one subsystem hands work to a window of another: it opens the other window
// by its form name through the registry, and what that window needs goes by way of the shared
// state (selectedRecipe, targetBookTitle) or of one of the small interfaces below, which the
// receiving window implements. So no subsystem includes another's headers.

#include <QString>
#include <QStringList>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/search/fridge_list.h"

class QTimer;
class QWidget;

namespace culvora::gui {

struct AppContext;

// --- The recipe viewer "Visa" ----------------------------------------------------------------

class RecipeViewerView {
public:
    virtual ~RecipeViewerView() = default;
    // Reads selectedRecipe from the current cookbook and shows it.
    virtual void fillView() = 0;
};

// Shows a recipe in the viewer: sets selectedRecipe (and which of the recipes of that name,
// selectedOccurrence), opens the viewer (or fills the open one again) and sets its caption to
// "Read recipe: " and the name. Browser, searches and the weekly menu all open recipes this
// way; what knows only a name opens the first recipe of it.
void showRecipe(AppContext& app, const std::string& name, std::size_t occurrence = 0);

// --- Windows that hold a recipe by its place -------------------------------------------------

// A window that holds a recipe of a cookbook by its name and occurrence (the viewer, the
// editor). When a record leaves the cookbook the later records of its name move up one, and
// the window must follow, or its Edit or Save would reach the next one.
class RecordFollower {
public:
    virtual ~RecordFollower() = default;
    // The record (name, occurrence) has left the cookbook file.
    virtual void recordRemoved(const std::string& cookbookFile, std::string_view name,
                               std::size_t occurrence) = 0;
};

// Tells the shared state and every open RecordFollower that a record has left the current
// cookbook (deleted or moved).
void recordLeftCookbook(AppContext& app, std::string_view name, std::size_t occurrence);

// Where a held occurrence goes when a record of its name leaves: one up when the record stood
// before it; nothing when it was the record itself.
std::optional<std::size_t> followRemoval(std::size_t held, std::size_t removed);

// --- The new-recipe editor "NyttRecept" -----------------------------------------------------

// What the editor's boxes are to hold: a multi-line text one entry a line, the type one of
// the editor's list (left as it is when the list lacks it).
struct NewRecipeFields {
    QString name;
    QString servings;
    QString cookingTime;
    QStringList ingredients;
    QStringList instructions;
    QString type;
};

class NewRecipePrefill {
public:
    virtual ~NewRecipePrefill() = default;
    // True when a box holds something the cook has typed (or a recipe put there before).
    virtual bool holdsText() const = 0;
    // Fills the boxes, shows the ingredients and puts the focus in the name box; the cook
    // checks the recipe and saves it with "Save" as any new recipe.
    virtual void prefill(const NewRecipeFields& fields) = 0;
};

// Whether the new-recipe editor is open with a recipe in its boxes.
bool newRecipeHoldsText(AppContext& app);
// Opens the new-recipe editor (or brings the open one forward) with these fields in its
// boxes; nullptr when the program has no such editor.
QWidget* openNewRecipeWith(AppContext& app, const NewRecipeFields& fields);

// --- The destination chooser "frmWhere" ------------------------------------------------------

// What the chooser's confirm button starts; its caption names it.
enum class ChooserMode {
    Move,      // the browser's move (its Timer3)
    Import,    // the Meal-Master import (the transfer's Timer1)
    Download,  // the recipe download (the download window's Timer1)
};

class DestinationChoice {
public:
    virtual ~DestinationChoice() = default;
    // Prepares the chooser for an opener: the confirm caption, the check box (cleared and
    // disabled unless downloading) and the timer to start once the chooser has closed.
    virtual void setOperation(ChooserMode mode, QTimer* timer) = 0;
};

// Opens the chooser for an operation (or prepares the one already open) and returns it;
// nullptr when the program has no chooser. `timer` belongs to the opener; the chooser starts
// it after confirming and closing, and never when cancelled.
QWidget* openDestinationChooser(AppContext& app, ChooserMode mode, QTimer* timer);

// --- "New ingredients?" "frmAdd" -------------------------------------------------------------

class IngredientOffer {
public:
    virtual ~IngredientOffer() = default;
    // Adds words (Windows-1252) to the offer in their sorted places, unticked.
    virtual void addWords(const std::vector<std::string>& words) = 0;
};

// The new-ingredient check, after a recipe has been added to a cookbook: the candidate words
// of its ingredient lines (empty lines left out by the caller) that sok.txt does not hold are
// offered in "New ingredients?", which stays open after the caller has gone. A dialog that is
// still open from an earlier recipe takes the new words too. When there is no word to offer,
// no dialog is shown (an empty one after every save would only be in the way), and the browser
// is refreshed at once instead, as "Done" would have done. The download shows the dialog
// even then (NothingNew::ShowDialog), empty when it has nothing to offer.
enum class NothingNew { RefreshBrowser, ShowDialog };
void runNewIngredientCheck(AppContext& app, const std::vector<std::string>& ingredientLines,
                           search::CheckVariant variant,
                           NothingNew nothingNew = NothingNew::RefreshBrowser);

// Closes and reopens the recipe browser, so that its list is read anew; it opens even when it
// was closed, since the point is to see the new recipe in the cookbook.
void refreshRecipeBrowser(AppContext& app);

}  // namespace culvora::gui
