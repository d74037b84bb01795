#pragma once

namespace culvora::gui {

struct AppContext;

// The Fridge list's windows: the editor "listan" and the dialog "New ingredients?" "frmAdd".
void registerFridgeWindows(AppContext& app);

// The searches: "Search recipe" "Sök" and "The Fridge" "kylen".
void registerSearchWindows(AppContext& app);

}  // namespace culvora::gui
