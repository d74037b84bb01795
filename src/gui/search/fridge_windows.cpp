#include "gui/search/search_windows.h"

#include <QPalette>
#include <QString>
#include <QWidget>

#include "gui/app/theme.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/search/fridge_list_editor.h"
#include "gui/search/new_ingredients_dialog.h"

namespace culvora::gui {

void applyPaperLook(QWidget* window)
{
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, theme::kPaper);
    palette.setColor(QPalette::Highlight, QColor(0xF0, 0xD3, 0x9A));
    palette.setColor(QPalette::HighlightedText, theme::kInk);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
    window->setStyleSheet(
        theme::editorStyle() + theme::scrollBarStyle() +
        QStringLiteral("QListWidget { background: white; color: #3a261a; border: 1px solid #decdaa;"
                       "  border-radius: 4px; padding: 2px; selection-background-color: #f0d39a;"
                       "  selection-color: #3a261a; }"
                       "QListWidget:focus { border: 2px solid #d98c2b; padding: 1px; }"
                       "QListWidget::item { padding: 2px; }"
                       "QLabel[heading=\"true\"] { color: #4a2418; font-weight: bold; }"
                       "QLabel[hint=\"true\"] { color: #6b4a33; font-style: italic; }"
                       "QLabel[count=\"true\"] { color: #a83a24; font-weight: bold; }"));
}

void registerFridgeWindows(AppContext& app)
{
    app.windows.addFactory(forms::kFridgeList, [&app]() -> QWidget* {
        auto* editor = new FridgeListEditor(app);
        app.windows.add(editor, WindowKind::Dialog);
        app.windows.centerForm(editor);
        editor->startEditing();
        return editor;
    });
    // Opened empty; the new-ingredient check fills it (runNewIngredientCheck).
    app.windows.addFactory(forms::kNewIngredients, [&app]() -> QWidget* {
        auto* dialog = new NewIngredientsDialog(app);
        app.windows.add(dialog, WindowKind::Dialog);
        app.windows.centerForm(dialog);
        return dialog;
    });
}

}  // namespace culvora::gui
