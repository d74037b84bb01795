#pragma once

namespace culvora::gui {

struct AppContext;

// The shell's own windows: the About window and the welcome screen.
void registerAppWindows(AppContext& app);
void registerWelcomeWindow(AppContext& app);

}  // namespace culvora::gui
