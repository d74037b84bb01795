#pragma once

#include "gui/app/services.h"
#include "gui/app/shell_state.h"

namespace culvora::gui {

class MainWindow;
class WindowRegistry;

// What every window is handed: the shared state, the platform services, the window registry
// and the main window (menus, pop-up menus, the import timer).
struct AppContext {
    ShellState& state;
    Services& services;
    WindowRegistry& windows;
    MainWindow& main;
};

}  // namespace culvora::gui
