#pragma once

#include <QWidget>

namespace culvora::gui {

struct ShellState;

// "frmSplash": shown while the main window loads; a key press closes it early.
class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(const ShellState& state, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace culvora::gui
