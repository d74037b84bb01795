#include "gui/menu/menu_windows.h"

#include "gui/app/app_context.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/menu/weekly_menu_window.h"

namespace culvora::gui {

void registerMenuWindows(AppContext& app)
{
    app.windows.addFactory(forms::kWeeklyMenu, [&app]() -> QWidget* {
        auto* window = new WeeklyMenuWindow(app);
        app.windows.add(window, WindowKind::Fixed);
        app.windows.centerForm(window);
        return window;
    });
}

}  // namespace culvora::gui
