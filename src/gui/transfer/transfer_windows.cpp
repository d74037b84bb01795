#include "gui/transfer/transfer_windows.h"

#include "gui/app/app_context.h"
#include "gui/app/shell.h"
#include "gui/transfer/imports.h"

namespace culvora::gui {

void registerTransferWindows(AppContext& app)
{
    // The destination chooser (registered with the store's windows) starts Timer1; this is
    // what the timer runs.
    app.shell.setImportOperation([&app] { importMealMasterFile(app); });
    app.shell.setImportCookbookOperation([&app] { importCookbookFile(app); });
}

}  // namespace culvora::gui
