#include "gui/nutrition/nutrition_windows.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "gui/app/app_context.h"
#include "gui/app/geometry.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/nutrition/calculator_window.h"
#include "gui/nutrition/nutrition_layout.h"
#include "gui/nutrition/nutrition_viewer.h"

namespace culvora::gui {

void registerNutritionWindows(AppContext& app)
{
    app.windows.addFactory(forms::kNutrition, [&app]() -> QWidget* {
        auto* viewer = new NutritionViewer(app);
        QMdiSubWindow* frame = app.windows.add(viewer, WindowKind::Document);
        // The grid wants all the room there is: the welcome screen opens it maximised, and
        // going back to it from another window leaves it so.
        app.windows.keepMaximised(viewer);
        // Its normal size: the main window's area is its screen.
        const QSize screen = app.windows.area()->viewport()->size();
        frame->setGeometry(
            toPixels(index_layout::windowRect(toTwips(screen.width()), toTwips(screen.height()))));
        return viewer;
    });
    app.windows.addFactory(forms::kCalculator, [&app]() -> QWidget* {
        auto* calculator = new CalculatorWindow(app);
        app.windows.add(calculator, WindowKind::Fixed);
        app.windows.centerForm(calculator);
        return calculator;
    });
}

}  // namespace culvora::gui
