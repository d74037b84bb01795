#pragma once

#include <QWidget>

#include "core/files/files.h"

namespace culvora::gui {

// "frmSplash": shown while the main window loads; a key press closes it early.
class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(const ProgramFolder& folder, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace culvora::gui
