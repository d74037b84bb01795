#pragma once

namespace culvora::gui {

struct AppContext;

// The cookbook store's windows: the Cookbooks dialog "Valj", "nybok", the recipe types "nytyp"
// the destination chooser "frmWhere" and the bin "frmPapperskorg".
void registerStoreWindows(AppContext& app);

}  // namespace culvora::gui
