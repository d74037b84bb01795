#include "gui/recipes/picture_window.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/recipes/recipe_windows.h"
#include "gui/theme/theme.h"

namespace culvora::gui {

namespace {

// A tiny picture still gets a window wide enough for its caption and close button.
constexpr QSize kSmallestInside(180, 90);

}  // namespace

PictureWindow::PictureWindow(AppContext& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName(forms::kPicture);
    setWindowTitle(QStringLiteral("View picture"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, theme::kPictureMat);
    setPalette(palette);
    setAutoFillBackground(true);
    // The window itself takes the keyboard, so Escape closes it.
    setFocusPolicy(Qt::StrongFocus);

    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("picture1"));
    picture_->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kPictureMat, kPictureMat, kPictureMat, kPictureMat);
    layout->addWidget(picture_, 0, Qt::AlignCenter);
}

QSize PictureWindow::room() const
{
    QMdiSubWindow* frame = app_.windows.subWindowOf(this);
    QSize around;
    if (frame && frame->width() >= width() && frame->height() >= height()) {
        around = frame->size() - size();
    }
    return pictureRoom(*app_.windows.area(), around);
}

void PictureWindow::showPicture(const QImage& picture)
{
    const QSize room = this->room();
    QSize shown = picture.size();
    QPixmap pixmap;
    if (shown.width() > room.width() || shown.height() > room.height()) {
        shown = shown.scaled(room, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
        // Scaled for the screen's own pixels, so a photo stays sharp on a high-density screen.
        const qreal ratio = std::clamp(
            devicePixelRatioF(), 1.0, std::max(1.0, qreal(picture.width()) / qreal(shown.width())));
        QImage scaled =
            picture.scaled(QSize(qRound(shown.width() * ratio), qRound(shown.height() * ratio)),
                           Qt::KeepAspectRatio, Qt::SmoothTransformation);
        scaled.setDevicePixelRatio(ratio);
        pixmap = QPixmap::fromImage(std::move(scaled));
    } else {
        pixmap = QPixmap::fromImage(picture);
    }
    shownSize_ = shown;
    picture_->setPixmap(pixmap);
    picture_->setFixedSize(shown);
    setFixedSize((shown + QSize(2 * kPictureMat, 2 * kPictureMat)).expandedTo(kSmallestInside));
    if (QMdiSubWindow* frame = app_.windows.subWindowOf(this)) {
        frame->adjustSize();
        app_.windows.centerForm(this);
    }
    setFocus();
}

void registerPictureWindow(AppContext& app)
{
    app.windows.addFactory(forms::kPicture, [&app]() -> QWidget* {
        auto* window = new PictureWindow(app);
        // One size, the picture's; Escape closes it like a small dialog.
        app.windows.add(window, WindowKind::Dialog);
        return window;
    });
}

}  // namespace culvora::gui
