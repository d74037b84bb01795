#pragma once

// What the windows may ask of the main window: the "&Cookbook" menu, the two pop-up menus
// (Options, and the drinks list's glass filter), the tips setting, and the menu items whose
// work a subsystem registers. Windows depend on this, never on the concrete MainWindow.

#include <QString>

#include <functional>

#include "core/drinks/glass_filter.h"

class QObject;
class QPoint;

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

    // A menu item whose work belongs to a subsystem (window_names.h, menus::): the subsystem
    // registers it at start-up, as it registers its windows. Choosing the item runs `action`;
    // the item is greyed out while it has none.
    virtual void setMenuAction(const QString& item, std::function<void()> action) = 0;

    // Puts the welcome screen over the whole MDI area again (after a resize or a cascade).
    virtual void layoutWelcome() = 0;
};

}  // namespace culvora::gui
