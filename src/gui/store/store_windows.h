#pragma once

namespace culvora::gui {

struct AppContext;

// The cookbook store's windows: the Cookbooks dialog "Valj", "nybok", the recipe types "nytyp"
// and the destination chooser "frmWhere".
void registerStoreWindows(AppContext& app);

}  // namespace culvora::gui
