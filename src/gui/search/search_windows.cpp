#include "gui/search/search_windows.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>

#include "gui/app/app_context.h"
#include "gui/app/geometry.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/search/fridge_search_window.h"
#include "gui/search/time_search_window.h"

namespace culvora::gui {

void registerSearchWindows(AppContext& app)
{
    app.windows.addFactory(forms::kSearch, [&app]() -> QWidget* {
        auto* window = new TimeSearchWindow(app);
        QMdiSubWindow* frame = app.windows.add(window, WindowKind::Dialog);
        // "Search recipe" sits in the very middle, not above it as most windows do.
        const QSize area = app.windows.area()->viewport()->size();
        const QRect placed =
            toPixels(CenterInside({0, 0, toTwips(frame->width()), toTwips(frame->height())},
                                  toTwips(area.width()), toTwips(area.height())));
        frame->move(std::max(0, placed.left()), std::max(0, placed.top()));
        window->setFocus();
        return window;
    });
    app.windows.addFactory(forms::kFridgeSearch, [&app]() -> QWidget* {
        auto* window = new FridgeSearchWindow(app);
        app.windows.add(window, WindowKind::Dialog);
        app.windows.centerForm(window);
        window->setFocus();
        return window;
    });
}

}  // namespace culvora::gui
