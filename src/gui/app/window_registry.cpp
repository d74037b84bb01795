#include "gui/app/window_registry.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>

#include "gui/app/geometry.h"

namespace culvora::gui {

WindowRegistry::WindowRegistry(QMdiArea* area, QObject* parent) : QObject(parent), area_(area)
{
}

void WindowRegistry::addFactory(const QString& name, Factory factory)
{
    factories_.insert(name, std::move(factory));
}

bool WindowRegistry::hasFactory(const QString& name) const
{
    return factories_.contains(name);
}

QWidget* WindowRegistry::find(const QString& name) const
{
    for (QMdiSubWindow* sub : area_->subWindowList()) {
        QWidget* widget = sub->widget();
        if (widget && widget->objectName() == name && !sub->property("culvoraClosing").toBool()) {
            return widget;
        }
    }
    return nullptr;
}

QWidget* WindowRegistry::open(const QString& name)
{
    if (QWidget* existing = find(name)) {
        QMdiSubWindow* sub = subWindowOf(existing);
        sub->showNormal();
        area_->setActiveSubWindow(sub);
        return existing;
    }
    auto factory = factories_.find(name);
    if (factory == factories_.end()) return nullptr;
    QWidget* window = (*factory)();
    if (!window) return nullptr;
    if (!subWindowOf(window)) add(window);
    return window;
}

QWidget* WindowRegistry::reopen(const QString& name)
{
    close(name);
    return open(name);
}

void WindowRegistry::close(const QString& name)
{
    if (QWidget* window = find(name)) {
        QMdiSubWindow* sub = subWindowOf(window);
        // The sub-window is deleted later; until then it must not be found again.
        sub->setProperty("culvoraClosing", true);
        if (!sub->close()) sub->setProperty("culvoraClosing", false);
    }
}

void WindowRegistry::closeWindow(QWidget* window)
{
    if (!window) return;
    if (QMdiSubWindow* sub = subWindowOf(window)) {
        sub->setProperty("culvoraClosing", true);
        if (!sub->close()) sub->setProperty("culvoraClosing", false);
    } else {
        window->close();
    }
}

QMdiSubWindow* WindowRegistry::add(QWidget* window)
{
    window->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow* sub = area_->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(window->windowIcon());
    connect(sub, &QObject::destroyed, this, &WindowRegistry::windowsChanged);
    // A window that closes itself (a plain close()) takes its empty frame along. Queued, so
    // nothing touches a frame that is itself being destroyed.
    connect(window, &QObject::destroyed, sub, &QMdiSubWindow::close, Qt::QueuedConnection);
    sub->adjustSize();
    sub->show();
    area_->setActiveSubWindow(sub);
    emit windowsChanged();
    return sub;
}

void WindowRegistry::centerForm(QWidget* window) const
{
    QMdiSubWindow* sub = subWindowOf(window);
    QWidget* frame = sub ? static_cast<QWidget*>(sub) : window;
    const QSize area = area_->viewport()->size();
    TwipRect placed = CenterForm({0, 0, toTwips(frame->width()), toTwips(frame->height())},
                                 toTwips(area.width()), toTwips(area.height()));
    frame->move(std::max(0, twips(placed.left)), std::max(0, twips(placed.top)));
}

QMdiSubWindow* WindowRegistry::subWindowOf(const QWidget* window) const
{
    for (QMdiSubWindow* sub : area_->subWindowList()) {
        if (sub->widget() == window) return sub;
    }
    return nullptr;
}

}  // namespace culvora::gui
