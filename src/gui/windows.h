#pragma once

namespace culvora::gui {

struct AppContext;

// Every subsystem registers the factories of its windows with the window registry; the
// program (and a window test) calls this once, before the main window starts.
void registerAllWindows(AppContext& app);

}  // namespace culvora::gui
