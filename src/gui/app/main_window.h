#pragma once

// The main window "Huvud": the MDI frame that holds every screen, its menus, the two hidden
// pop-up menus, the banner strip and the settings written at exit.

#include <QHash>
#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

#include "core/app/product.h"
#include "core/drinks/glass_filter.h"
#include "gui/app/app_context.h"
#include "gui/app/shell.h"

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;

namespace culvora::gui {

class BannerPicture;
class ClickableLabel;
class WindowRegistry;

class MainWindow : public QMainWindow, public Shell {
    Q_OBJECT
public:
    MainWindow(ShellState& state, Services& services, QWidget* parent = nullptr);
    ~MainWindow() override;

    AppContext& context() { return context_; }
    WindowRegistry& windows() { return *registry_; }
    QMdiArea* mdiArea() const { return mdi_; }

    // After the subsystems have registered their windows: greys out the menu items whose
    // windows are missing and shows the welcome screen.
    void start();

    // Shell
    void updateCookbookMenu() override;
    bool cookbookMenuEnabled() const override;
    void popupOptionsMenu(const QPoint& globalPos) override;
    const drinks::GlassFilter& glassFilter() const override { return glassFilter_; }
    QString filterCaption() const override { return filterCaption_; }
    void popupFilterMenu(const QPoint& globalPos) override;
    void resetGlassFilter() override;
    void onGlassFilterChanged(QObject* context, std::function<void()> handler) override;
    bool tipsAtStartup() const override;
    void setMenuAction(const QString& item, std::function<void()> action) override;
    // Puts the welcome screen over the whole MDI area (normal state) or the screen (maximised).
    void layoutWelcome() override;

    // Logging out, as the desktop's session manager asks for it (Main hands its
    // QSessionManager over in these three calls).
    struct SessionEnd {
        std::function<bool()> allowsInteraction;  // asks for leave to ask the user
        std::function<void()> release;            // the asking is over, the logout goes on
        std::function<void()> cancel;             // turns the logout down
    };
    // Windows holding unsaved input ask as at Exit when the session gives leave to ask; without
    // that leave, or after a Cancel or a save that did not go through, the logout is turned
    // down, so that nothing typed is lost.
    void commitData(const SessionEnd& session);

    QMenu* optionsMenu() const { return optionsMenu_; }
    QMenu* filterMenu() const { return filterMenu_; }

    // The text of "&Info about database..." for the current cookbook.
    QString databaseInfoText() const;
    int bannerHeight() const;

public slots:
    // Tells the user when the current cookbook's file is missing and offers the Cookbooks
    // dialog; runs once after the window is first shown.
    void checkCurrentCookbook();
    void openDatabase();
    void showDatabaseInfo();
    void openHelpIndex();
    void openHelpRecipes();
    void openWebSite();
    void openAbout();
    void openCookbooks();
    void chooseGlass(int index);
    void chooseNoFilter();
    // Window › Cascade.
    void cascadeWindows();
    // The "Main menu" entry of the Window menu: the welcome screen in front again.
    void showWelcome();

signals:
    // The glass filter changed: the drinks list reloads with the checked glass types.
    void glassFilterChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildMenus();
    void buildBanner();
    void layoutBanner();
    void fillWindowMenu();
    void writeSettingsAtExit();
    // Asks every window holding unsaved input, in turn, what becomes of it; then saves what is
    // to be saved and closes what is let go. False, with every window still open, after a
    // Cancel; false too when a save did not go through (that window stays open).
    bool settleUnsavedInput();
    void syncFilterChecks();
    void openWindow(const QString& name);
    void runMenuAction(const QString& item);

    ShellState& state_;
    Services& services_;
    QMdiArea* mdi_ = nullptr;
    std::unique_ptr<WindowRegistry> registry_;
    AppContext context_;

    QMenu* cookbookMenu_ = nullptr;
    QMenu* windowMenu_ = nullptr;
    QMenu* optionsMenu_ = nullptr;
    QMenu* filterMenu_ = nullptr;
    QAction* tipsAction_ = nullptr;
    QAction* noFilterAction_ = nullptr;
    std::array<QAction*, drinks::GlassFilter::kGlassCount> glassActions_{};
    QToolBar* toolbar_ = nullptr;
    BannerPicture* banner_ = nullptr;
    ClickableLabel* siteLabel_ = nullptr;
    QHash<QString, std::function<void()>> menuActions_;
    drinks::GlassFilter glassFilter_;
    QString filterCaption_ = QStringLiteral("Filter OFF");
    bool settingsWritten_ = false;
    bool checkedCookbook_ = false;
};

// The product's fixed addresses (core/app/product.h), by the names the shell's windows use.
using app::kForum;
using app::kWebSite;

}  // namespace culvora::gui
