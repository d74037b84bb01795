#pragma once

namespace culvora::gui {

struct AppContext;

// The weekly menu "frmMenu".
void registerMenuWindows(AppContext& app);

}  // namespace culvora::gui
