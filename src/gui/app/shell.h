#pragma once

// What the windows may ask of the main window: the "&Cookbook" menu, the two pop-up menus
// (Options, and the drinks list's glass filter), the tips setting and the Meal-Master import
// timer. Windows depend on this, never on the concrete MainWindow.

#include <QString>

#include <functional>

#include "core/drinks/glass_filter.h"

class QObject;
class QPoint;
class QTimer;

namespace culvora::gui {

class Shell {
public:
    virtual ~Shell() = default;

    // Windows that must not run while the cookbook changes disable the "&Cookbook" menu; it is
    // worked out from the open windows whenever one opens, closes or is activated.
    virtual void updateCookbookMenu() = 0;
    virtual bool cookbookMenuEnabled() const = 0;

    // The Options pop-up menu with its top left corner at a global position.
    virtual void popupOptionsMenu(const QPoint& globalPos) = 0;

    // The glass filter: its check marks, the filter button's caption after the last change
    // ("Filter ON"/"Filter OFF"), the pop-up menu, and a call whenever the filter changes
    // (`context` ends the subscription when it is destroyed).
    virtual const drinks::GlassFilter& glassFilter() const = 0;
    virtual QString filterCaption() const = 0;
    virtual void popupFilterMenu(const QPoint& globalPos) = 0;
    virtual void resetGlassFilter() = 0;
    virtual void onGlassFilterChanged(QObject* context, std::function<void()> handler) = 0;

    // "&Tips at startup": its check state is line 2 of tavendi.ini.
    virtual bool tipsAtStartup() const = 0;

    // Timer1: the destination chooser starts it to run the Meal-Master import after the
    // chooser has closed. `openChooser` runs when "&Import from Meal Master..." is chosen,
    // `import` when the timer fires; the menu item is enabled once both are there.
    virtual QTimer* importTimer() const = 0;
    virtual void setImportChooser(std::function<void()> openChooser) = 0;
    virtual void setImportOperation(std::function<void()> import) = 0;
    // "&Import cookbook...": enabled once the cookbook import is there.
    virtual void setImportCookbookOperation(std::function<void()> operation) = 0;

    // Puts the welcome screen over the whole MDI area again (after a resize or a cascade).
    virtual void layoutWelcome() = 0;
};

}  // namespace culvora::gui
