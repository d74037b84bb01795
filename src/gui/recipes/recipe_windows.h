#pragma once

namespace culvora::gui {

struct AppContext;

// The recipe windows: the browser "recept" and the viewer "Visa", the new-recipe editor
// "NyttRecept", the recipe editor "RedigeraRecept" and the picture window "visabild".
void registerBrowserWindow(AppContext& app);
void registerViewerWindow(AppContext& app);
void registerNewRecipeEditor(AppContext& app);
void registerRecipeEditor(AppContext& app);
void registerPictureWindow(AppContext& app);

}  // namespace culvora::gui
