#include "gui/widgets/drop_down_list.h"

#include <QPainter>
#include <QStyledItemDelegate>

#include "gui/theme/theme.h"

namespace culvora::gui {

DropDownList::DropDownList(QWidget* parent) : QComboBox(parent)
{
    setItemDelegate(new QStyledItemDelegate(this));
}

void DropDownList::paintEvent(QPaintEvent* event)
{
    QComboBox::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(isEnabled() ? theme::kSoftInk : theme::kLinen, 1.6, Qt::SolidLine,
                        Qt::RoundCap, Qt::RoundJoin));
    const QPointF middle(width() - 14.0, height() / 2.0 + 1.5);
    painter.drawPolyline(QPolygonF{middle + QPointF(-4.5, -3), middle, middle + QPointF(4.5, -3)});
}

}  // namespace culvora::gui
