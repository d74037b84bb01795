#pragma once

// The two shared routines that act on the recipe browser: FillRecipeList rebuilds its sorted
// list and count, DeleteRecipe removes a recipe from the current cookbook and hides its label.

#include <cstddef>
#include <string>

#include "core/store/cookbook.h"

namespace culvora::gui {

struct AppContext;

// What the routines need of the browser window ("recept"). The browser implements it.
class RecipeBrowserLists {
public:
    virtual ~RecipeBrowserLists() = default;
    // List1 and label4.
    virtual void setRecipeIndex(const store::RecipeIndex& index) = 0;
    // Hides the name label ratt(index) and empties its caption.
    virtual void hideNameLabel(int index) = 0;
    // The first name label (0 = the template, up to nameCount) whose caption equals the name,
    // or -1.
    virtual int findNameLabel(const std::string& name) const = 0;
    // The label of the n-th recipe of that name (its n-th label of that caption, since the list
    // keeps equal names in file order), or -1.
    virtual int findRecordLabel(const std::string& name, std::size_t occurrence) const
    {
        return occurrence == 0 ? findNameLabel(name) : -1;
    }
};

// The browser, created when it does not exist yet; nullptr when it cannot be.
RecipeBrowserLists* recipeBrowser(AppContext& app, bool create = true);

// Rebuilds the browser's list from the current cookbook. A cookbook that cannot be read is
// reported through the Prompter; false then.
bool FillRecipeList(AppContext& app);

// After a recipe has left the current cookbook: refills the browser's list, hides label
// `labelIndex`, decreases nameCount and tells the windows that hold a later recipe of the same
// name (recordLeftCookbook). DeleteRecipe ends with it; so does the browser's move.
void recipeRemoved(AppContext& app, int labelIndex, store::RecordKey removed);

// Whether DeleteRecipe asks first: a delete the user chose asks; the end of a move does not.
enum class DeleteFlag { Ask = 0, NoQuestion = 1 };

// Asks (unless told not to), removes the record from the current cookbook (keeping it in the
// bin when the user chose the delete, core/store/bin.h), refills the list,
// hides label `labelIndex` and decreases nameCount. True when the recipe was deleted. A name
// alone deletes the first recipe of that name; a RecordKey the one the user picked.
bool DeleteRecipe(AppContext& app, const std::string& name, int labelIndex,
                  DeleteFlag flag = DeleteFlag::Ask);
bool DeleteRecipe(AppContext& app, store::RecordKey key, int labelIndex,
                  DeleteFlag flag = DeleteFlag::Ask);

}  // namespace culvora::gui
