#include "gui/recipes/recipe_routines.h"

#include <QDateTime>
#include <QWidget>

#include "core/store/bin.h"
#include "core/store/cookbook.h"
#include "gui/app/app_context.h"
#include "gui/app/handover.h"
#include "gui/app/qt_text.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"

namespace culvora::gui {

RecipeBrowserLists* recipeBrowser(AppContext& app, bool create)
{
    QWidget* window = app.windows.find(forms::kBrowser);
    if (!window && create) window = app.windows.open(forms::kBrowser);
    return dynamic_cast<RecipeBrowserLists*>(window);
}

namespace {

bool fill(AppContext& app, RecipeBrowserLists& browser)
{
    auto names = store::Cookbook(app.state.folder, app.state.currentCookbookFile).names();
    if (!names) {
        app.services.prompter.inform(toQString(names.error()), QStringLiteral("Error"),
                                     MessageIcon::Exclamation);
        browser.setRecipeIndex(store::buildRecipeIndex({}));
        return false;
    }
    browser.setRecipeIndex(store::buildRecipeIndex(*names));
    return true;
}

}  // namespace

bool FillRecipeList(AppContext& app)
{
    RecipeBrowserLists* browser = recipeBrowser(app);
    if (!browser) return false;
    return fill(app, *browser);
}

bool DeleteRecipe(AppContext& app, const std::string& name, int labelIndex, DeleteFlag flag)
{
    return DeleteRecipe(app, store::RecordKey{name}, labelIndex, flag);
}

bool DeleteRecipe(AppContext& app, store::RecordKey key, int labelIndex, DeleteFlag flag)
{
    const QString shown = shownForMessage(key.name);
    if (flag == DeleteFlag::Ask &&
        !app.services.prompter.confirm(
            QStringLiteral("Are you sure you want to delete the recipe \u00B4") + shown +
                QStringLiteral("\u00B4?"),
            QStringLiteral("Delete ") + shown)) {
        return false;
    }
    // A delete the user chose keeps the recipe in the bin; the end of a move only removes it.
    Result<void> removed;
    if (flag == DeleteFlag::Ask) {
        const QDateTime now = app.services.clock.now();
        const exchange::LocalTime when{now.date().year(),  now.date().month(),
                                       now.date().day(),   now.time().hour(),
                                       now.time().minute(), now.time().second()};
        removed = store::deleteRecipe(app.state.folder, app.state.currentCookbookFile, key, when);
    } else {
        removed = store::Cookbook(app.state.folder, app.state.currentCookbookFile).remove(key);
    }
    if (!removed) {
        app.services.prompter.inform(toQString(removed.error()), QStringLiteral("Error"),
                                     MessageIcon::Exclamation);
        return false;
    }
    recipeRemoved(app, labelIndex, key);
    return true;
}

void recipeRemoved(AppContext& app, int labelIndex, store::RecordKey removed)
{
    // The key may point into a label about to be emptied.
    const std::string name(removed.name);
    if (RecipeBrowserLists* browser = recipeBrowser(app)) {
        fill(app, *browser);
        browser->hideNameLabel(labelIndex);
    }
    --app.state.nameCount;
    recordLeftCookbook(app, name, removed.occurrence);
}

}  // namespace culvora::gui
