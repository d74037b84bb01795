#include "gui/search/search_windows.h"

#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/search/fridge_list_editor.h"
#include "gui/search/new_ingredients_dialog.h"

namespace culvora::gui {

void registerFridgeWindows(AppContext& app)
{
    app.windows.addFactory(forms::kFridgeList, [&app]() -> QWidget* {
        auto* editor = new FridgeListEditor(app);
        app.windows.add(editor, WindowKind::Dialog);
        app.windows.centerForm(editor);
        editor->startEditing();
        return editor;
    });
    // Opened empty; the new-ingredient check fills it (runNewIngredientCheck, handover.h).
    app.windows.addFactory(forms::kNewIngredients, [&app]() -> QWidget* {
        auto* dialog = new NewIngredientsDialog(app);
        app.windows.add(dialog, WindowKind::Dialog);
        app.windows.centerForm(dialog);
        return dialog;
    });
}

}  // namespace culvora::gui
