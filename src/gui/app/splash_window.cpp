#include "gui/app/splash_window.h"

#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "gui/app/delivered_files.h"
#include "gui/app/shell_state.h"
#include "gui/app/window_names.h"
#include "gui/theme/theme.h"

namespace culvora::gui {

SplashWindow::SplashWindow(const ShellState& state, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(forms::kSplash);
    setAttribute(Qt::WA_DeleteOnClose);
    setStyleSheet(theme::splashStyle());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 14);
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(loadPicture(state, QStringLiteral("tavendi3.gif")));
    picture->setAlignment(Qt::AlignCenter);
    auto* product =
        new QLabel(QStringLiteral("Culvora 1.0 \u2014 the home kitchen cookbook"), this);
    product->setObjectName(QStringLiteral("Label1"));
    product->setAlignment(Qt::AlignCenter);
    QFont font = product->font();
    font.setPointSizeF(font.pointSizeF() + 2);
    font.setBold(true);
    product->setFont(font);
    auto* loading = new QLabel(QStringLiteral("Opening your cookbooks\u2026"), this);
    loading->setObjectName(QStringLiteral("Label2"));
    loading->setAlignment(Qt::AlignCenter);
    layout->addWidget(picture);
    layout->addWidget(product);
    layout->addWidget(loading);
    setFocusPolicy(Qt::StrongFocus);
}

void SplashWindow::keyPressEvent(QKeyEvent*)
{
    close();
}

}  // namespace culvora::gui
