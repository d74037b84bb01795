#pragma once

#include <QApplication>

namespace culvora::gui {

// The busy pointer for the length of a scope. Messages come after the scope ends, so a box
// never shows the hourglass.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace culvora::gui
