#include "gui/app/window_catalog.h"
#include "gui/app/window_registry.h"
#include "gui/store/cookbooks_dialog.h"
#include "gui/store/new_book_dialog.h"
#include "gui/store/recipe_types_window.h"

namespace culvora::gui {

// frmWhere has no factory: it needs the opener's timer, so openers call
// openDestinationChooser (destination_chooser.h).
void registerStoreWindows(AppContext& app)
{
    app.windows.addFactory(QStringLiteral("Valj"), [&app]() -> QWidget* {
        auto* dialog = new CookbooksDialog(app);
        app.windows.add(dialog);
        app.windows.centerForm(dialog);
        return dialog;
    });
    app.windows.addFactory(QStringLiteral("nybok"), [&app]() -> QWidget* {
        auto* dialog = new NewBookDialog(app);
        app.windows.add(dialog);
        app.windows.centerForm(dialog);
        dialog->startEditing();
        return dialog;
    });
    app.windows.addFactory(QStringLiteral("nytyp"), [&app]() -> QWidget* {
        auto* window = new RecipeTypesWindow(app);
        app.windows.add(window);
        app.windows.centerForm(window);
        return window;
    });
}

}  // namespace culvora::gui
