#pragma once

// Every window of the program, opened one after the other over the delivered data, for the
// tests that hold all windows to the same rule (every control has a name a screen reader can
// say; no caption is cut short). Each window is opened the way the program opens it, with the
// state it needs (a recipe chosen for the viewer, a name for the upload).

#include <QCoreApplication>
#include <QLatin1String>
#include <QList>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

#include "gui/app/handover.h"
#include "gui/app/window_names.h"
#include "gui/exchange/exchange_windows.h"
#include "support/fake_ftp_factory.h"
#include "support/gui_fixture.h"

namespace culvora::testing {

// The forms a test opens by name, in the order of the program's parts. The main window
// ("Huvud") and the welcome screen are there from the start.
inline const QList<QLatin1String>& everyForm()
{
    using namespace gui::forms;
    static const QList<QLatin1String> forms = {
        kAbout,      kCookbooks,      kNewBook,      kRecipeTypes, kDestination, kBrowser,
        kViewer,     kNewRecipe,      kEditRecipe,   kPrintout,    kPicture,     kSearch,
        kFridgeList, kNewIngredients, kFridgeSearch, kNutrition,   kCalculator,  kWeeklyMenu,
        kDrinks,     kDrinkViewer,    kNewDrink,     kEditDrink,   kArchive,     kBackup,
        kProgress,   kDownload,       kUpload,       kWebImport,   kBin,
        kRestore,
    };
    return forms;
}

// A main window over the delivered data (a cookbook of recipes, the drinks, the nutrition
// table) with an exchange server that answers, shown at a size a desktop gives it.
struct EveryWindow : GuiFixture {
    EveryWindow()
    {
        copyDeliveredData();
        state.selectedRecipe = "Apple crumble";
        state.editRecipe = "Apple crumble";
        state.dragRecipe = "Apple crumble";
        server->folders["/tavendi/upload"] = {};
        adjustWindows = [this](gui::WindowRegistry&) {
            gui::registerExchangeWindows(app(), fakeClients(server));
        };
        start(true);
        main().resize(1200, 860);
        QCoreApplication::processEvents();
    }

    // Opens a window by its form name as the program does; nullptr when it did not open.
    QWidget* open(QLatin1String form)
    {
        using namespace gui::forms;
        // The printout prints what the viewer shows; a drink is opened from the drinks list.
        if (form == kPrintout) windows().open(kViewer);
        if (form == kDrinkViewer || form == kEditDrink) {
            auto* drinks =
                windows().open(kDrinks)->findChild<QListWidget*>(QStringLiteral("List1"));
            if (drinks && drinks->count() > 0) drinks->setCurrentRow(0);
        }
        QWidget* window = form == kDestination
                              ? gui::openDestinationChooser(app(), gui::ChooserMode::Move, &timer)
                              : windows().open(form);
        return windows().find(form) ? window : nullptr;
    }

    // Closes every window but the welcome screen.
    void closeAll()
    {
        for (QMdiSubWindow* frame : windows().area()->subWindowList()) {
            QWidget* window = frame->widget();
            if (window && window->objectName() != gui::forms::kWelcome) {
                windows().closeWindow(window);
            }
        }
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    std::shared_ptr<FakeFtpServer> server = std::make_shared<FakeFtpServer>();
    QTimer timer;
};

}  // namespace culvora::testing
