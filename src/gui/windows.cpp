#include "gui/windows.h"

#include "gui/app/app_windows.h"
#include "gui/drinks/drink_windows.h"
#include "gui/exchange/exchange_windows.h"
#include "gui/menu/menu_windows.h"
#include "gui/nutrition/nutrition_windows.h"
#include "gui/recipes/printout_window.h"
#include "gui/recipes/recipe_windows.h"
#include "gui/search/search_windows.h"
#include "gui/store/store_windows.h"
#include "gui/transfer/transfer_windows.h"

namespace culvora::gui {

void registerAllWindows(AppContext& app)
{
    registerAppWindows(app);
    registerWelcomeWindow(app);
    registerStoreWindows(app);
    registerBrowserWindow(app);
    registerViewerWindow(app);
    registerNewRecipeEditor(app);
    registerRecipeEditor(app);
    registerPictureWindow(app);
    registerPrintoutWindow(app);
    registerFridgeWindows(app);
    registerMenuWindows(app);
    registerNutritionWindows(app);
    registerSearchWindows(app);
    registerDrinkWindows(app);
    registerExchangeWindows(app);
    registerTransferWindows(app);
}

}  // namespace culvora::gui
