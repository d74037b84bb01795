#include "gui/app/window_catalog.h"

namespace culvora::gui {

void registerWelcomeWindow(AppContext&) {}

}  // namespace culvora::gui
