#include "gui/app/window_catalog.h"

namespace culvora::gui {

void registerViewerWindow(AppContext&) {}

}  // namespace culvora::gui
