#pragma once

#include "gui/app/services.h"
#include "gui/app/shell_state.h"

namespace culvora::gui {

class Shell;
class WindowRegistry;

// What every window is handed: the shared state, the platform services, the window registry
// and the shell (menus, pop-up menus, the import timer).
struct AppContext {
    ShellState& state;
    Services& services;
    WindowRegistry& windows;
    Shell& shell;
};

}  // namespace culvora::gui
