#pragma once

// The main window "Huvud": the MDI frame that holds every screen, its menus, the two hidden
// pop-up menus, the banner strip and the settings written at exit.

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

#include "gui/app/app_context.h"
#include "core/drinks/glass_filter.h"

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QTimer;
class QToolBar;

namespace culvora::gui {

class WindowRegistry;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(ShellState& state, Services& services, QWidget* parent = nullptr);
    ~MainWindow() override;

    AppContext& context() { return context_; }
    WindowRegistry& windows() { return *registry_; }
    QMdiArea* mdiArea() const { return mdi_; }

    // Windows that must not run while the cookbook changes disable the "&Cookbook" menu; it
    // is worked out from the open windows whenever one opens or closes.
    void updateCookbookMenu();
    bool cookbookMenuEnabled() const;

    QMenu* optionsMenu() const { return optionsMenu_; }
    QMenu* filterMenu() const { return filterMenu_; }
    // Shows the Options pop-up menu with its top left corner at a global position.
    void popupOptionsMenu(const QPoint& globalPos);

    bool tipsAtStartup() const;
    const drinks::GlassFilter& glassFilter() const { return glassFilter_; }
    // The drinks list's filter button caption after the last change: "Filter ON"/"Filter OFF".
    QString filterCaption() const { return filterCaption_; }

    // Timer1: the destination chooser starts it to run the Meal-Master import after the
    // chooser has closed. The import sets the operation it runs, which enables its menu item.
    QTimer* importTimer() const { return importTimer_; }
    void setImportOperation(std::function<void()> operation);
    // "&Import cookbook...": enabled once the cookbook import is there.
    void setImportCookbookOperation(std::function<void()> operation);

    // The text of "&Info about database..." for the current cookbook.
    QString databaseInfoText() const;

    // Puts the welcome screen over the whole MDI area (normal state) or the screen (maximised).
    void layoutWelcome();

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
    void writeSettingsAtExit();
    void syncFilterChecks();

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
    QAction* importAction_ = nullptr;
    QAction* importBookAction_ = nullptr;
    QAction* noFilterAction_ = nullptr;
    std::array<QAction*, drinks::GlassFilter::kGlassCount> glassActions_{};
    QToolBar* toolbar_ = nullptr;
    QLabel* banner_ = nullptr;
    QLabel* siteLabel_ = nullptr;
    QTimer* importTimer_ = nullptr;
    std::function<void()> importOperation_;
    std::function<void()> importBookOperation_;
    drinks::GlassFilter glassFilter_;
    QString filterCaption_ = QStringLiteral("Filter OFF");
    bool settingsWritten_ = false;
    bool checkedCookbook_ = false;
};

// The product's fixed addresses.
inline constexpr const char* kWebSite = "https://culvora.example.org/";
inline constexpr const char* kForum = "https://culvora.example.org/forum/";

}  // namespace culvora::gui
