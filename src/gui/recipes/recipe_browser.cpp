#include "gui/app/window_catalog.h"

namespace culvora::gui {

void registerBrowserWindow(AppContext&) {}

}  // namespace culvora::gui
