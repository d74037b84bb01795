#pragma once

namespace culvora::gui {

struct AppContext;

// Each subsystem registers the factories of its windows with the window registry.
void registerAppWindows(AppContext& app);     // gui/app: About
void registerWelcomeWindow(AppContext& app);  // gui/app: welcome
void registerStoreWindows(AppContext& app);   // gui/store: Valj, nybok, nytyp, frmWhere
void registerBrowserWindow(AppContext& app);  // gui/recipes: recept
void registerViewerWindow(AppContext& app);   // gui/recipes: Visa

inline void registerAllWindows(AppContext& app)
{
    registerAppWindows(app);
    registerWelcomeWindow(app);
    registerStoreWindows(app);
    registerBrowserWindow(app);
    registerViewerWindow(app);
}

}  // namespace culvora::gui
