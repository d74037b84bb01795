#include "gui/store/store_windows.h"

#include "gui/app/shell.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/store/cookbooks_dialog.h"
#include "gui/store/destination_chooser.h"
#include "gui/store/new_book_dialog.h"
#include "gui/store/recipe_types_window.h"

namespace culvora::gui {

// frmWhere has no factory: it needs the opener's timer, so openers call
// openDestinationChooser (destination_chooser.h).
void registerStoreWindows(AppContext& app)
{
    app.windows.addFactory(forms::kCookbooks, [&app]() -> QWidget* {
        auto* dialog = new CookbooksDialog(app);
        app.windows.add(dialog, WindowKind::Dialog);
        app.windows.centerForm(dialog);
        return dialog;
    });
    app.windows.addFactory(forms::kNewBook, [&app]() -> QWidget* {
        auto* dialog = new NewBookDialog(app);
        app.windows.add(dialog, WindowKind::Dialog);
        app.windows.centerForm(dialog);
        dialog->startEditing();
        return dialog;
    });
    app.windows.addFactory(forms::kRecipeTypes, [&app]() -> QWidget* {
        auto* window = new RecipeTypesWindow(app);
        app.windows.add(window, WindowKind::Dialog);
        app.windows.centerForm(window);
        return window;
    });
    // "&Import from Meal Master..." asks for the destination cookbook first; the chooser
    // starts the main window's import timer.
    app.shell.setImportChooser(
        [&app] { openDestinationChooser(app, ChooserMode::Import, app.shell.importTimer()); });
}

}  // namespace culvora::gui
