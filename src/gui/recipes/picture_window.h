#pragma once

// "visabild": the picture of a dish on a grey mat. The window takes the picture's size; a
// photo larger than the main window is scaled down to fit, keeping its proportions. Showing
// another recipe's picture reuses the window.

#include <QWidget>

#include "gui/app/app_context.h"
#include "gui/recipes/picture_routines.h"

class QLabel;

namespace culvora::gui {

class PictureWindow : public QWidget, public PictureView {
    Q_OBJECT
public:
    explicit PictureWindow(AppContext& app, QWidget* parent = nullptr);

    void showPicture(const QImage& picture) override;

    // The picture's size on screen, in logical pixels.
    QSize shownSize() const { return shownSize_; }

private:
    // The room for the picture: the main window's area less this window's own frame.
    QSize room() const;

    AppContext& app_;
    QLabel* picture_ = nullptr;
    QSize shownSize_;
};

}  // namespace culvora::gui
