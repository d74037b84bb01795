#pragma once

namespace culvora::gui {

struct AppContext;

// The nutrition windows: the Nutrition index "Indx" and the calculator "cal".
void registerNutritionWindows(AppContext& app);

}  // namespace culvora::gui
