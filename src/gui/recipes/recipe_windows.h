#pragma once

namespace culvora::gui {

struct AppContext;

// The recipe windows: the browser "recept" and the viewer "Visa".
void registerBrowserWindow(AppContext& app);
void registerViewerWindow(AppContext& app);

}  // namespace culvora::gui
