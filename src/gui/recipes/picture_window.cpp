#include "gui/recipes/recipe_windows.h"

namespace culvora::gui {

// Filled in when the window is built.
void registerPictureWindow(AppContext&) {}

}  // namespace culvora::gui
