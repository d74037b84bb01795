#include "gui/widgets/clickable_label.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "gui/theme/theme.h"

namespace culvora::gui {

ClickableLabel::ClickableLabel(QWidget* parent, Click click) : QLabel(parent), click_(click)
{
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

void ClickableLabel::setKeyboardFocusable(bool focusable)
{
    setFocusPolicy(focusable ? Qt::StrongFocus : Qt::NoFocus);
}

void ClickableLabel::mouseMoveEvent(QMouseEvent* event)
{
    // Taken here: passed on, the window behind would take it for a move off the button.
    event->accept();
    emit hovered();
}

void ClickableLabel::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    if (!pressed_) QLabel::mousePressEvent(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool inside =
        event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    const bool click = inside && (pressed_ || click_ == Click::Release);
    pressed_ = false;
    if (click) emit clicked();
}

void ClickableLabel::leaveEvent(QEvent* event)
{
    // A fast mouse can jump from one button to another without a move in between.
    if (!hasFocus()) emit left();
    QLabel::leaveEvent(event);
}

void ClickableLabel::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (focusPolicy() != Qt::NoFocus) {
            emit clicked();
            return;
        }
        break;
    default: break;
    }
    QLabel::keyPressEvent(event);
}

void ClickableLabel::focusInEvent(QFocusEvent* event)
{
    // The keyboard's way of pointing at a button: it lights up as it does under the mouse.
    emit hovered();
    update();
    QLabel::focusInEvent(event);
}

void ClickableLabel::focusOutEvent(QFocusEvent* event)
{
    emit left();
    update();
    QLabel::focusOutEvent(event);
}

void ClickableLabel::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (!hasFocus()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(theme::kFocus, 2, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5), 6, 6);
}

}  // namespace culvora::gui
