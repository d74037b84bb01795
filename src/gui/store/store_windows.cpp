#include "gui/store/store_windows.h"

#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/store/bin_window.h"
#include "gui/store/cookbooks_dialog.h"
#include "gui/store/destination_chooser.h"
#include "gui/store/new_book_dialog.h"
#include "gui/store/recipe_types_window.h"

namespace culvora::gui {

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
    app.windows.addFactory(forms::kBin, [&app]() -> QWidget* {
        auto* window = new BinWindow(app);
        app.windows.add(window, WindowKind::Dialog);
        app.windows.centerForm(window);
        return window;
    });
    // Opened by openDestinationChooser (handover.h), which hands it the opener's timer.
    app.windows.addFactory(forms::kDestination, [&app]() -> QWidget* {
        auto* chooser = new DestinationChooser(app);
        app.windows.add(chooser, WindowKind::Dialog);
        app.windows.centerForm(chooser);
        return chooser;
    });
}

}  // namespace culvora::gui
