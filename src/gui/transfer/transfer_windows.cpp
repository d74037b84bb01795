#include "gui/transfer/transfer_windows.h"

#include "gui/app/app_context.h"
#include "gui/app/shell.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/transfer/archive_wizard.h"
#include "gui/transfer/backup_window.h"
#include "gui/transfer/imports.h"
#include "gui/transfer/mealmaster_export_dialog.h"
#include "gui/transfer/progress_window.h"
#include "gui/transfer/restore_window.h"
#include "gui/transfer/web_import_dialog.h"

namespace culvora::gui {

void registerTransferWindows(AppContext& app)
{
    registerImports(app);
    registerWebImport(app);

    app.windows.addFactory(kExportMealMasterForm, [&app]() -> QWidget* {
        auto* dialog = new MealMasterExportDialog(app);
        app.windows.add(dialog, WindowKind::Dialog);
        app.windows.centerForm(dialog);
        return dialog;
    });
    app.shell.setMenuAction(menus::kExportMealMaster,
                            [&app] { app.windows.open(kExportMealMasterForm); });

    app.windows.addFactory(forms::kArchive, [&app]() -> QWidget* {
        auto* wizard = new ArchiveWizard(app);
        app.windows.add(wizard, WindowKind::Dialog);
        app.windows.centerForm(wizard);
        return wizard;
    });
    app.windows.addFactory(forms::kProgress, [&app]() -> QWidget* {
        auto* progress = new ProgressWindow;
        app.windows.add(progress, WindowKind::Fixed);
        app.windows.centerForm(progress);
        return progress;
    });
    app.windows.addFactory(forms::kBackup, [&app]() -> QWidget* {
        auto* window = new BackupWindow(app);
        app.windows.add(window, WindowKind::Dialog);
        app.windows.centerForm(window);
        window->focusOkButton();
        return window;
    });
    app.windows.addFactory(forms::kRestore, [&app]() -> QWidget* {
        auto* window = new RestoreWindow(app);
        app.windows.add(window, WindowKind::Dialog);
        app.windows.centerForm(window);
        return window;
    });
}

}  // namespace culvora::gui
