#pragma once

namespace culvora::gui {

struct AppContext;

// Import, export and backup: the Meal-Master and cookbook imports of the "&Cookbook" menu,
// the Archive Wizard "frmGenWiz" with its progress window "frmProgress", and the backup
// window "frmBackup".
void registerTransferWindows(AppContext& app);

}  // namespace culvora::gui
