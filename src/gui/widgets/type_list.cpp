#include "gui/widgets/type_list.h"

#include <QPainter>
#include <QStyledItemDelegate>

#include "gui/theme/theme.h"

namespace culvora::gui {

TypeList::TypeList(QWidget* parent) : QComboBox(parent)
{
    setStyleSheet(theme::typeListStyle());
    setItemDelegate(new QStyledItemDelegate(this));
    setMaxVisibleItems(20);
}

void TypeList::paintEvent(QPaintEvent* event)
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
