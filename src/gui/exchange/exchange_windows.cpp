#include "gui/exchange/exchange_windows.h"

#include "gui/app/app_context.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/exchange/download_window.h"
#include "gui/exchange/upload_window.h"

namespace culvora::gui {

void registerExchangeWindows(AppContext& app, FtpClientFactory clients)
{
    // Both connect as soon as they are on the screen, so their first status texts are seen.
    app.windows.addFactory(forms::kDownload, [&app, clients]() -> QWidget* {
        auto* window = new DownloadWindow(app, clients);
        app.windows.add(window, WindowKind::Document);
        app.windows.centerForm(window);
        window->start();
        return window;
    });
    app.windows.addFactory(forms::kUpload, [&app, clients]() -> QWidget* {
        auto* window = new UploadWindow(app, clients);
        app.windows.add(window, WindowKind::Dialog);
        app.windows.centerForm(window);
        window->start();
        return window;
    });
}

}  // namespace culvora::gui
