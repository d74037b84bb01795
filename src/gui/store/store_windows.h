#pragma once

namespace culvora::gui {

struct AppContext;

// The cookbook store's windows: Valj, nybok, nytyp, and the Meal-Master import's chooser.
void registerStoreWindows(AppContext& app);

}  // namespace culvora::gui
