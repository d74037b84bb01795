#include "gui/widgets/accessibility.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace culvora::gui {

namespace {

const char* const kRoleProperty = "culvoraAccessibleRole";
const char* const kHiddenProperty = "culvoraAccessibleHidden";

class PaintedListAccessible;

// One painted item. It holds its index, not a copy of the item: a list read anew is read
// anew by the reader too, and an index past the end is no longer valid.
class PaintedItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    PaintedItemAccessible(QWidget* list, PaintedList* items, int index)
        : list_(list),
          items_(items),
          index_(index)
    {
    }

    int index() const { return index_; }
    const QWidget* list() const { return list_; }

    bool isValid() const override { return list_ && index_ < items_->paintedItemCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return list_ ? list_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override
    {
        return list_ ? QAccessible::queryAccessibleInterface(list_.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override
    {
        if (!isValid()) return {};
        const PaintedList::Item item = items_->paintedItem(index_);
        switch (t) {
        case QAccessible::Name: return item.text;
        case QAccessible::Description: return item.description;
        default: return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override
    {
        if (!isValid()) return {};
        const QRect r = items_->paintedItem(index_).rect;
        if (r.isEmpty()) return {};
        return QRect(list_->mapToGlobal(r.topLeft()), r.size());
    }

    QAccessible::Role role() const override
    {
        if (!isValid()) return QAccessible::NoRole;
        return items_->paintedItem(index_).heading ? QAccessible::Heading : QAccessible::ListItem;
    }

    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        const PaintedList::Item item = items_->paintedItem(index_);
        if (item.rect.isEmpty()) {
            s.invisible = true;
            s.offscreen = true;
        }
        if (item.heading) {
            s.readOnly = true;
            return s;
        }
        s.focusable = true;
        s.selectable = true;
        s.selected = item.selected;
        s.focused = list_->hasFocus() && items_->currentPaintedItem() == index_;
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ActionInterface) {
            return static_cast<QAccessibleActionInterface*>(this);
        }
        return nullptr;
    }

    QStringList actionNames() const override
    {
        if (!isValid() || items_->paintedItem(index_).heading) return {};
        return items_->paintedItemActions(index_);
    }
    void doAction(const QString& action) override
    {
        if (!isValid() || !actionNames().contains(action)) return;
        if (action == QAccessibleActionInterface::setFocusAction()) {
            list_->setFocus(Qt::OtherFocusReason);
        }
        items_->doPaintedItemAction(index_, action);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<QWidget> list_;
    PaintedList* items_;
    int index_;
};

// The painted list itself: its children are made when a reader first asks for them and kept
// (registered with QAccessible) until the list goes.
class PaintedListAccessible : public QAccessibleWidget {
public:
    PaintedListAccessible(QWidget* list, PaintedList* items)
        : QAccessibleWidget(list, QAccessible::List),
          items_(items)
    {
    }
    ~PaintedListAccessible() override
    {
        for (QAccessible::Id id : std::as_const(children_))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return items_->paintedItemCount(); }

    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= childCount()) return nullptr;
        if (auto found = children_.constFind(index); found != children_.cend()) {
            return QAccessible::accessibleInterface(*found);
        }
        auto* item = new PaintedItemAccessible(widget(), items_, index);
        children_.insert(index, QAccessible::registerAccessibleInterface(item));
        return item;
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const auto* item = dynamic_cast<const PaintedItemAccessible*>(child);
        if (!item || item->list() != widget() || !item->isValid()) return -1;
        return item->index();
    }

    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QPoint at = widget()->mapFromGlobal(QPoint(x, y));
        for (int i = 0; i < childCount(); ++i) {
            if (items_->paintedItem(i).rect.contains(at)) return child(i);
        }
        return nullptr;
    }

    QString text(QAccessible::Text t) const override
    {
        const QString own = QAccessibleWidget::text(t);
        const QString summary = items_->paintedSummary();
        if (t != QAccessible::Description || summary.isEmpty()) return own;
        return own.isEmpty() ? summary : summary + QStringLiteral(". ") + own;
    }

    QAccessibleInterface* focusChild() const override
    {
        const int current = items_->currentPaintedItem();
        if (!widget()->hasFocus() || current < 0) return nullptr;
        return child(current);
    }

private:
    PaintedList* items_;
    mutable QHash<int, QAccessible::Id> children_;
};

// A group of controls with the role it was given; its children are its controls.
class GroupAccessible : public QAccessibleWidget {
public:
    GroupAccessible(QWidget* group, QAccessible::Role role) : QAccessibleWidget(group, role) {}
};

// A control a reader should pass by: invisible to it, though it is on the window.
class HiddenAccessible : public QAccessibleWidget {
public:
    explicit HiddenAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::NoRole) {}
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.invisible = true;
        s.offscreen = true;
        s.focusable = false;
        return s;
    }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
};

QAccessibleInterface* accessibilityFactory(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget) return nullptr;
    if (widget->property(kHiddenProperty).toBool()) return new HiddenAccessible(widget);
    if (auto* items = dynamic_cast<PaintedList*>(widget)) {
        return new PaintedListAccessible(widget, items);
    }
    if (const QVariant role = widget->property(kRoleProperty); role.isValid()) {
        return new GroupAccessible(widget, static_cast<QAccessible::Role>(role.toInt()));
    }
    return nullptr;
}

}  // namespace

void installAccessibility()
{
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(accessibilityFactory);
}

static std::function<void(const QAccessibleEvent&)>& announcementWatcher()
{
    static std::function<void(const QAccessibleEvent&)> watcher;
    return watcher;
}

static void announce(QWidget* list, QAccessible::Event type, int child)
{
    const bool listening = QAccessible::isActive();
    if (!listening && !announcementWatcher()) return;
    QAccessibleEvent event(list, type);
    if (child >= 0) event.setChild(child);
    if (announcementWatcher()) announcementWatcher()(event);
    if (listening) QAccessible::updateAccessibility(&event);
}

void announceCurrentItem(QWidget* list, int index)
{
    if (index < 0) return;
    if (list->hasFocus()) announce(list, QAccessible::Focus, index);
    announce(list, QAccessible::Selection, index);
}

void announceItemsChanged(QWidget* list)
{
    announce(list, QAccessible::ObjectReorder, -1);
}

void watchAnnouncements(std::function<void(const QAccessibleEvent&)> watcher)
{
    announcementWatcher() = std::move(watcher);
}

void setAccessibleRole(QWidget* group, QAccessible::Role role)
{
    group->setProperty(kRoleProperty, static_cast<int>(role));
}

void hideFromScreenReaders(QWidget* widget)
{
    widget->setProperty(kHiddenProperty, true);
}

bool isHiddenFromScreenReaders(const QWidget* widget)
{
    return widget->property(kHiddenProperty).toBool();
}

}  // namespace culvora::gui
