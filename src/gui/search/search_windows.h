#pragma once

class QWidget;

namespace culvora::gui {

struct AppContext;

// The Fridge list's windows: the editor "listan" and the dialog "New ingredients?" "frmAdd".
void registerFridgeWindows(AppContext& app);

// The searches: "Search recipe" "Sök" and "The Fridge" "kylen".
void registerSearchWindows(AppContext& app);

// The look of the small Fridge-list windows: the recipe editors' paper, boxes and buttons
// (the default one in bold), and white lists marked in honey.
void applyPaperLook(QWidget* window);

}  // namespace culvora::gui
