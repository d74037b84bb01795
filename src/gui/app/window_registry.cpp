#include "gui/app/window_registry.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>

#include "gui/app/accessible_names.h"
#include "gui/app/geometry.h"
#include "gui/app/unsaved_input.h"
#include "gui/widgets/accessibility.h"

namespace culvora::gui {

namespace {

const char* const kKindProperty = "culvoraKind";
const char* const kClosingProperty = "culvoraClosing";
const char* const kKeepMaximisedProperty = "culvoraKeepMaximised";

// The frame is deleted later; until then it must not be found again.
bool markClosing(QMdiSubWindow* frame)
{
    frame->setProperty(kClosingProperty, true);
    if (frame->close()) return true;
    frame->setProperty(kClosingProperty, false);
    return false;
}

Qt::WindowFlags flagsFor(WindowKind kind)
{
    switch (kind) {
    case WindowKind::Fixed:
        return Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
               Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
    case WindowKind::Dialog:
        return Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
               Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    case WindowKind::Background: return Qt::SubWindow | Qt::FramelessWindowHint;
    case WindowKind::Document: break;
    }
    return Qt::SubWindow;
}

}  // namespace

WindowRegistry::WindowRegistry(QMdiArea* area, QObject* parent) : QObject(parent), area_(area)
{
    installAccessibility();
    // A window activated while another is maximised keeps its own size.
    area_->setOption(QMdiArea::DontMaximizeSubWindowOnActivation);
    connect(area_, &QMdiArea::subWindowActivated, this, &WindowRegistry::activated);
}

void WindowRegistry::addFactory(const QString& name, Factory factory)
{
    factories_.insert(name, std::move(factory));
}

void WindowRegistry::removeFactory(const QString& name)
{
    factories_.remove(name);
}

bool WindowRegistry::hasFactory(const QString& name) const
{
    return factories_.contains(name);
}

QWidget* WindowRegistry::find(const QString& name) const
{
    for (QMdiSubWindow* sub : area_->subWindowList()) {
        QWidget* widget = sub->widget();
        if (widget && widget->objectName() == name && !sub->property(kClosingProperty).toBool()) {
            return widget;
        }
    }
    return nullptr;
}

QWidget* WindowRegistry::open(const QString& name)
{
    if (QWidget* existing = find(name)) {
        QMdiSubWindow* sub = subWindowOf(existing);
        if (!sub->property(kKeepMaximisedProperty).toBool() || sub->isMinimized()) {
            sub->showNormal();
        }
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
    // A window holding input that is not saved is shown as it is, not read anew.
    if (QWidget* shown = find(name); !shown || !holdsUnsavedInput(shown)) close(name);
    return open(name);
}

void WindowRegistry::close(const QString& name)
{
    if (QWidget* window = find(name)) closeWindow(window);
}

void WindowRegistry::closeWindow(QWidget* window)
{
    if (!window) return;
    QMdiSubWindow* sub = subWindowOf(window);
    if (!sub) {
        window->close();
        return;
    }
    const QPointer<QMdiSubWindow> opener = openers_.value(sub);
    if (!markClosing(sub)) return;
    // The focus goes back now; when the frame is destroyed later it must not be taken again
    // from a window opened in the meantime ("New ingredients?" after the editor's Save).
    openers_.remove(sub);
    returnTo(opener);
}

void WindowRegistry::returnTo(QMdiSubWindow* opener)
{
    if (opener && !opener->property(kClosingProperty).toBool()) area_->setActiveSubWindow(opener);
}

QMdiSubWindow* WindowRegistry::add(QWidget* window, WindowKind kind)
{
    QPointer<QMdiSubWindow> opener = area_->activeSubWindow();
    window->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow* sub = area_->addSubWindow(window, flagsFor(kind));
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setProperty(kKindProperty, static_cast<int>(kind));
    sub->setWindowIcon(window->windowIcon());
    connect(sub, &QObject::destroyed, this, &WindowRegistry::windowsChanged);
    // A window that closes itself (a plain close()) takes its empty frame along. Queued, so
    // nothing touches a frame that is itself being destroyed.
    connect(window, &QObject::destroyed, sub, &QMdiSubWindow::close, Qt::QueuedConnection);
    // The window that opened this one gets the focus back when it closes, as a dialog
    // returns to its owner: at once when the program closes it, and after the fact when
    // the user closes its frame.
    if (opener && kind != WindowKind::Background) openers_.insert(sub, opener);
    connect(sub, &QObject::destroyed, this, [this, sub] {
        const QPointer<QMdiSubWindow> back = openers_.take(sub);
        if (back) QTimer::singleShot(0, this, [this, back] { returnTo(back); });
    });
    if (kind == WindowKind::Dialog) window->installEventFilter(this);
    describeControls(window);
    sub->adjustSize();
    sub->show();
    area_->setActiveSubWindow(sub);
    emit windowsChanged();
    return sub;
}

WindowKind WindowRegistry::kindOf(const QMdiSubWindow* frame) const
{
    return frame ? static_cast<WindowKind>(frame->property(kKindProperty).toInt())
                 : WindowKind::Document;
}

void WindowRegistry::keepMaximised(QWidget* window)
{
    if (QMdiSubWindow* sub = subWindowOf(window)) sub->setProperty(kKeepMaximisedProperty, true);
}

void WindowRegistry::activated(QMdiSubWindow* frame)
{
    if (!frame) return;
    if (kindOf(frame) == WindowKind::Background) {
        if (frame->isMinimized() || frame->isMaximized()) frame->showNormal();
        // A click on the welcome screen must not bury the windows opened from it. The area
        // raises the frame once this signal is through, so it goes back down afterwards;
        // only when asked for by name does it stay in front.
        if (frame->property("culvoraRaiseOnce").toBool()) {
            frame->setProperty("culvoraRaiseOnce", false);
            return;
        }
        QPointer<QMdiSubWindow> background = frame;
        QMetaObject::invokeMethod(
            frame,
            [background] {
                if (background) background->lower();
            },
            Qt::QueuedConnection);
        return;
    }
    // Every activation brings a window back to its normal size; a window of one size would
    // otherwise sit in a grey full-size frame.
    const bool keep = frame->property(kKeepMaximisedProperty).toBool();
    if (frame->isMinimized() || (frame->isMaximized() && !keep)) frame->showNormal();
}

bool WindowRegistry::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* window = qobject_cast<QWidget*>(watched);
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (window && modifiers == Qt::NoModifier && handleDialogKey(window, key->key())) {
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

bool WindowRegistry::handleDialogKey(QWidget* window, int key)
{
    if (key == Qt::Key_Escape) {
        closeWindow(window);
        return true;
    }
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    QWidget* focus = window->focusWidget();
    // Enter in a text of several lines is a line break.
    if (qobject_cast<QPlainTextEdit*>(focus) || qobject_cast<QTextEdit*>(focus)) return false;
    // A button with the focus is the one Enter presses; else the window's default button.
    if (auto* button = qobject_cast<QAbstractButton*>(focus);
        button && button->isEnabled() && button->isVisible()) {
        button->click();
        return true;
    }
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        if (button->isDefault() && button->isEnabled() && button->isVisibleTo(window)) {
            button->click();
            return true;
        }
    }
    return false;
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

void WindowRegistry::cascade()
{
    const int step = std::max(16, area_->style()->pixelMetric(QStyle::PM_TitleBarHeight) + 4);
    const QSize room = area_->viewport()->size();
    // Each window one step below and to the right of the last, whatever its size: a window
    // taller or wider than what is left scrolls into view. Only when the next title bar would
    // leave the area does the stair start again at the top, half a step further right, so no
    // two windows ever lie on the same corner.
    const int stairs =
        std::max(1, std::min((room.height() - 2 * step) / step, (room.width() - 4 * step) / step));
    int position = 0;
    for (QMdiSubWindow* frame : area_->subWindowList(QMdiArea::CreationOrder)) {
        if (kindOf(frame) == WindowKind::Background || frame->isHidden() || frame->isMinimized() ||
            frame->property(kClosingProperty).toBool()) {
            continue;
        }
        if (frame->isMaximized()) frame->showNormal();
        const int stair = position % stairs;
        const int round = position / stairs;
        frame->move(stair * step + round * step / 2, stair * step);
        frame->raise();
        ++position;
    }
    if (QMdiSubWindow* active = area_->activeSubWindow();
        active && kindOf(active) != WindowKind::Background) {
        active->raise();
    }
}

QMdiSubWindow* WindowRegistry::subWindowOf(const QWidget* window) const
{
    for (QMdiSubWindow* sub : area_->subWindowList()) {
        if (sub->widget() == window) return sub;
    }
    return nullptr;
}

}  // namespace culvora::gui
