#pragma once

// The child windows of the main window's MDI area, found by their objectName (the form name,
// see window_names.h). Windows register a factory once; the rest of the program opens them by
// name, so a screen can be reached before every screen is built.
//
// The registry also gives every window the same manners: activating a window brings it back
// to its normal size, a window of one size or a small dialog has no maximise button, Escape
// closes a dialog and Enter presses its default button, and when a window closes, the window
// that opened it gets the focus back.

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace culvora::gui {

enum class WindowKind {
    Document,    // resizable; may be maximised (until it is activated again)
    Fixed,       // one size, fixed by its picture: moves and minimises only
    Dialog,      // small: no maximise; Escape closes it, Enter presses its default button
    Background,  // the welcome screen: no frame, fills the area, stays behind the others
};

class WindowRegistry : public QObject {
    Q_OBJECT
public:
    using Factory = std::function<QWidget*()>;

    explicit WindowRegistry(QMdiArea* area, QObject* parent = nullptr);

    QMdiArea* area() const { return area_; }

    void addFactory(const QString& name, Factory factory);
    // Takes a factory away again (tests that need a window to be missing).
    void removeFactory(const QString& name);
    bool hasFactory(const QString& name) const;

    // The open window of that name, or nullptr.
    QWidget* find(const QString& name) const;
    template <class W>
    W* find(const QString& name) const
    {
        return qobject_cast<W*>(find(name));
    }
    bool isOpen(const QString& name) const { return find(name) != nullptr; }

    // Shows and activates the open window, or creates it through its factory and shows it.
    // nullptr when no factory is known.
    QWidget* open(const QString& name);
    // Closes the window if it is open, then opens it afresh (a list read anew). A window that
    // holds unsaved input is kept and shown instead.
    QWidget* reopen(const QString& name);
    void close(const QString& name);
    // Closes a window and its frame (what a window's own "Close" or "Cancel" does).
    void closeWindow(QWidget* window);

    // Puts a window the caller created into the area, shows it and activates it. The window
    // is deleted when it closes; the window active before it gets the focus back then.
    QMdiSubWindow* add(QWidget* window, WindowKind kind = WindowKind::Document);
    WindowKind kindOf(const QMdiSubWindow* frame) const;
    // A window that opens maximised and stays so when activated (the nutrition grid).
    void keepMaximised(QWidget* window);

    // Places an open window centred horizontally in the area, 400 twips above the centre.
    void centerForm(QWidget* window) const;

    // Window › Cascade: the open windows one below the other, each a step further down and
    // to the right and keeping its size; the welcome screen stays where it is, behind them.
    void cascade();

    QMdiSubWindow* subWindowOf(const QWidget* window) const;

signals:
    // A window opened or closed.
    void windowsChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void activated(QMdiSubWindow* frame);
    bool handleDialogKey(QWidget* window, int key);
    void returnTo(QMdiSubWindow* opener);

    QMdiArea* area_;
    QHash<QString, Factory> factories_;
    QHash<const QMdiSubWindow*, QPointer<QMdiSubWindow>> openers_;
};

}  // namespace culvora::gui
