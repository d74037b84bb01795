#pragma once

// "frmProgress": one progress bar `pb`, shown while the archive's recipe pages are written.

#include <QWidget>

class QLabel;
class QProgressBar;

namespace culvora::gui {

class ProgressWindow : public QWidget {
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget* parent = nullptr);

    // Moves the bar and paints the window at once: the work runs on this thread, so the
    // window would not be painted again before it ends. Repeated values cost nothing.
    void setPercent(int percent);
    // Lets the window system show the window as it is now (user input waits).
    void paintNow();
    int percent() const;

private:
    QProgressBar* bar_ = nullptr;
};

}  // namespace culvora::gui
