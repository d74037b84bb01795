#pragma once

namespace culvora::gui {

struct AppContext;

// Import, export and backup: the Meal-Master and cookbook imports of the "&Cookbook" menu,
// and the Archive Wizard "frmGenWiz" with its progress window "frmProgress".
void registerTransferWindows(AppContext& app);

}  // namespace culvora::gui
