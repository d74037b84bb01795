#pragma once

namespace culvora::gui {

struct AppContext;

// Import, export and backup: the Meal-Master and cookbook imports of the "&Cookbook" menu.
void registerTransferWindows(AppContext& app);

}  // namespace culvora::gui
