#include "gui/exchange/exchange_pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <functional>

#include "gui/theme/theme.h"

namespace culvora::gui::exchange_pictures {

namespace {

using theme::exchange::kDeepSea;
using theme::exchange::kFolder;
using theme::exchange::kFolderLight;
using theme::exchange::kLand;
using theme::exchange::kSea;
const QColor& kFolderDark = theme::exchange::kFolderEdge;

using Painting = std::function<void(QPainter&)>;

// A picture drawn in a box of `units` x `units`, at `logical` pixels and the given ratio.
QPixmap drawn(int logical, qreal ratio, qreal units, const Painting& paint)
{
    QPixmap pixmap(QSize(logical, logical) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(theme::kClear);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(logical / units, logical / units);
    paint(painter);
    return pixmap;
}

// Sharp at 16 pixels on a plain screen and on a HiDPI one.
QIcon icon(const Painting& paint)
{
    QIcon made;
    for (int logical : {16, 24}) {
        for (qreal ratio : {1.0, 2.0}) made.addPixmap(drawn(logical, ratio, 16, paint));
    }
    return made;
}

void globe(QPainter& p, QPointF centre, qreal radius)
{
    QRadialGradient sea(centre - QPointF(radius / 3, radius / 3), radius * 1.4);
    sea.setColorAt(0, kSea.lighter(135));
    sea.setColorAt(1, kDeepSea);
    p.setPen(QPen(kDeepSea.darker(120), radius / 7));
    p.setBrush(sea);
    p.drawEllipse(centre, radius, radius);

    // Two bits of land, kept inside the sea.
    QPainterPath round;
    round.addEllipse(centre, radius * 0.92, radius * 0.92);
    p.save();
    p.setClipPath(round);
    p.setPen(Qt::NoPen);
    p.setBrush(kLand);
    p.drawEllipse(
        QRectF(centre.x() - radius * 0.8, centre.y() - radius * 0.55, radius * 0.8, radius * 0.6));
    p.drawEllipse(
        QRectF(centre.x() + radius * 0.1, centre.y() + radius * 0.1, radius * 0.7, radius * 0.75));
    p.restore();

    // The lines of the net.
    QPen net(theme::exchange::kNet, radius / 9);
    p.setPen(net);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, radius * 0.45, radius);
    p.drawLine(QPointF(centre.x(), centre.y() - radius), QPointF(centre.x(), centre.y() + radius));
    p.drawLine(QPointF(centre.x() - radius, centre.y()), QPointF(centre.x() + radius, centre.y()));
    p.drawLine(QPointF(centre.x() - radius * 0.85, centre.y() - radius * 0.5),
               QPointF(centre.x() + radius * 0.85, centre.y() - radius * 0.5));
    p.drawLine(QPointF(centre.x() - radius * 0.85, centre.y() + radius * 0.5),
               QPointF(centre.x() + radius * 0.85, centre.y() + radius * 0.5));
}

void closedFolder(QPainter& p)
{
    p.setPen(QPen(kFolderDark, 0.8));
    p.setBrush(kFolder.darker(108));
    QPainterPath tab;
    tab.moveTo(1.5, 4);
    tab.lineTo(6, 4);
    tab.lineTo(7.5, 5.5);
    tab.lineTo(14.5, 5.5);
    tab.lineTo(14.5, 13.5);
    tab.lineTo(1.5, 13.5);
    tab.closeSubpath();
    p.drawPath(tab);
    QLinearGradient front(0, 6, 0, 14);
    front.setColorAt(0, kFolderLight);
    front.setColorAt(1, kFolder);
    p.setBrush(front);
    p.drawRoundedRect(QRectF(1.5, 6.5, 13, 7), 0.8, 0.8);
}

void openFolder(QPainter& p)
{
    p.setPen(QPen(kFolderDark, 0.8));
    p.setBrush(kFolder.darker(118));
    QPainterPath back;
    back.moveTo(1.5, 3.5);
    back.lineTo(6, 3.5);
    back.lineTo(7.5, 5);
    back.lineTo(13.5, 5);
    back.lineTo(13.5, 13.5);
    back.lineTo(1.5, 13.5);
    back.closeSubpath();
    p.drawPath(back);
    // A sheet of paper peeks out of the open folder.
    p.setBrush(theme::kPaper);
    p.drawRect(QRectF(3.5, 5.5, 8.5, 5));
    QLinearGradient flap(0, 8, 0, 14);
    flap.setColorAt(0, kFolderLight);
    flap.setColorAt(1, kFolder);
    p.setBrush(flap);
    QPainterPath front;
    front.moveTo(3.5, 8);
    front.lineTo(15.5, 8);
    front.lineTo(13.5, 13.5);
    front.lineTo(1.5, 13.5);
    front.closeSubpath();
    p.drawPath(front);
}

void recipeCard(QPainter& p, const QRectF& card)
{
    const qreal u = card.width() / 11;
    p.setPen(QPen(theme::kSoftInk, u * 0.7));
    p.setBrush(theme::exchange::kCard);
    p.drawRoundedRect(card, u, u);
    p.setPen(Qt::NoPen);
    p.setBrush(theme::kTomato);
    p.drawRect(
        QRectF(card.left() + u * 0.4, card.top() + u * 0.4, card.width() - u * 0.8, u * 2.2));
    p.setPen(QPen(theme::kSoftInk.lighter(150), u * 0.8, Qt::SolidLine, Qt::RoundCap));
    for (int line = 0; line < 4; ++line) {
        const qreal y = card.top() + u * (4.6 + 2.1 * line);
        const qreal end = line == 3 ? card.width() * 0.55 : card.width() - u * 2.2;
        p.drawLine(QPointF(card.left() + u * 2, y), QPointF(card.left() + end, y));
    }
}

}  // namespace

QIcon treeIcon(TreeImage image)
{
    switch (image) {
    case TreeImage::OpenFolder: return icon(openFolder);
    case TreeImage::ClosedFolder: return icon(closedFolder);
    case TreeImage::Network: break;
    }
    return icon([](QPainter& p) { globe(p, {8, 8}, 6.6); });
}

QIcon recipeIcon()
{
    return icon([](QPainter& p) { recipeCard(p, QRectF(2.5, 1.5, 11, 13)); });
}

QPixmap uploadPicture()
{
    const qreal ratio = 2.0;
    QPixmap pixmap(QSize(96, 80) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(theme::kClear);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    globe(p, {72, 22}, 17);

    // The card, tilted a little, leaving for the exchange along a dashed path.
    p.setPen(QPen(theme::kAccent, 2.2, Qt::DashLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    path.moveTo(38, 46);
    path.cubicTo(42, 26, 48, 22, 54, 24);
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(theme::kAccent);
    p.drawPolygon(QPolygonF({QPointF(52, 18.5), QPointF(58.5, 24.5), QPointF(51, 28)}));

    p.save();
    p.translate(22, 54);
    p.rotate(-8);
    recipeCard(p, QRectF(-16, -20, 32, 38));
    p.restore();
    return pixmap;
}

}  // namespace culvora::gui::exchange_pictures
