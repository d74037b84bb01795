#pragma once

// The child windows of the main window's MDI area, found by their objectName (the form name:
// "recept", "Visa", "Valj", ...). Windows register a factory once; the rest of the program
// opens them by name, so a screen can be reached before every screen is built.

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>

class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace culvora::gui {

class WindowRegistry : public QObject {
    Q_OBJECT
public:
    using Factory = std::function<QWidget*()>;

    explicit WindowRegistry(QMdiArea* area, QObject* parent = nullptr);

    QMdiArea* area() const { return area_; }

    void addFactory(const QString& name, Factory factory);
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
    // Closes the window if it is open, then opens it afresh (a list read anew).
    QWidget* reopen(const QString& name);
    void close(const QString& name);
    // Closes a window and its frame (what a window's own "Close" or "Cancel" does).
    void closeWindow(QWidget* window);

    // Puts a window the caller created into the area, shows it and activates it. The window
    // is deleted when it closes.
    QMdiSubWindow* add(QWidget* window);

    // Places an open window centred horizontally in the area, 400 twips above the centre.
    void centerForm(QWidget* window) const;

    QMdiSubWindow* subWindowOf(const QWidget* window) const;

signals:
    // A window opened or closed.
    void windowsChanged();

private:
    QMdiArea* area_;
    QHash<QString, Factory> factories_;
};

}  // namespace culvora::gui
