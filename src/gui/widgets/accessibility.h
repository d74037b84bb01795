#pragma once

// What a screen reader is told about the widgets that draw their own contents: the recipe
// browser's names and headings, the nutrition table's rows. Such a widget implements
// PaintedList; the program's accessibility factory (installed once, before the first window)
// then gives it an interface whose children are the painted items, with their texts, roles,
// places and states, and the widget announces where the keyboard has gone.
//
// The same factory gives a group of controls a role of its own (the browser's letter strip is
// a tool bar) and keeps controls that only hold the focus out of sight out of the reader's way.

#include <QAccessible>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace culvora::gui {

class PaintedList {
public:
    struct Item {
        QString text;
        // Said after the text: a row's values, what a click on the item does.
        QString description;
        // A heading is read as a heading and cannot be chosen; every other item is a list
        // entry.
        bool heading = false;
        // Where the item is drawn, in the widget's coordinates; empty when it is scrolled out
        // of view.
        QRect rect;
        bool selected = false;
    };

    virtual ~PaintedList() = default;

    virtual int paintedItemCount() const = 0;
    virtual Item paintedItem(int index) const = 0;
    // The item the keyboard is on, or -1.
    virtual int currentPaintedItem() const = 0;
    // What a reader can do with an entry (QAccessibleActionInterface's press and setFocus, and
    // the list's own actions), and doing one. Headings have no actions.
    virtual QStringList paintedItemActions(int index) const = 0;
    virtual void doPaintedItemAction(int index, const QString& action) = 0;
    // Said before the list's description: how many entries it has.
    virtual QString paintedSummary() const { return {}; }
};

// Installs the program's accessibility factory; later calls do nothing.
void installAccessibility();

// Tells a reader that the keyboard is on item `index` of a painted list (focus and selection
// move together in these lists), and that the items changed (a list read anew, an entry gone).
void announceCurrentItem(QWidget* list, int index);
void announceItemsChanged(QWidget* list);
// Sees every announcement, whether a reader listens or not (a platform without one, as in the
// window tests, drops them); nullptr stops watching.
void watchAnnouncements(std::function<void(const QAccessibleEvent&)> watcher);

// A widget that stands for a group of controls (the letter strip): the reader hears the role.
void setAccessibleRole(QWidget* group, QAccessible::Role role);

// A control that only holds the focus for a moment, out of sight: a reader passes it by.
void hideFromScreenReaders(QWidget* widget);
bool isHiddenFromScreenReaders(const QWidget* widget);

}  // namespace culvora::gui
