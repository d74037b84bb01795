#include "gui/search/search_windows.h"

namespace culvora::gui {

// Filled in when the windows are built.
void registerFridgeWindows(AppContext&) {}

}  // namespace culvora::gui
