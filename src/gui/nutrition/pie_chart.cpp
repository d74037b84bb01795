#include "gui/nutrition/pie_chart.h"

#include <QPainter>
#include <QPolygonF>

#include <cmath>

#include "gui/theme/theme.h"

namespace culvora::gui {

namespace {

// The room round the circle for the rim's pen and the antialiased edge.
constexpr int kRim = 3;

// A slice as the fan of radii from its start angle in steps of 0.01, closed at its end angle
// itself, so that neighbouring slices meet without a sliver between them at any size.
QPolygonF fan(QPointF centre, double radius, double from, double to)
{
    QPolygonF polygon;
    polygon << centre;
    auto rim = [&](double t) {
        return centre + QPointF(radius * std::cos(t), radius * std::sin(t));
    };
    // A whole circle is 629 steps; the bound keeps an absurd angle from running on.
    for (int step = 0; step < 1000; ++step) {
        const double t = from + step * 0.01;
        if (!(t < to)) break;
        polygon << rim(t);
    }
    polygon << rim(to);
    return polygon;
}

}  // namespace

QColor PieChart::sliceColour(int slice)
{
    return theme::chart::kSlices[static_cast<std::size_t>(slice)];
}

QString PieChart::noDataText()
{
    return QStringLiteral("No data");
}

PieChart::PieChart(int radius, QWidget* parent) : QWidget(parent), radius_(radius)
{
    setFixedSize(sizeHint());
}

QSize PieChart::sizeHint() const
{
    return {2 * (radius_ + kRim), 2 * (radius_ + kRim)};
}

QPointF PieChart::centre() const
{
    return {width() / 2.0, height() / 2.0};
}

void PieChart::showAngles(const std::optional<std::array<double, 5>>& angles)
{
    shows_ = angles ? Shows::Slices : Shows::NoData;
    angles_ = angles.value_or(std::array<double, 5>{});
    update();
}

void PieChart::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c = centre();
    const double r = radius_;
    if (shows_ == Shows::Nothing) {
        // Where the chart will be, until an ingredient is chosen.
        p.setPen(QPen(theme::kLinen, 1.5, Qt::DashLine));
        p.drawEllipse(c, r, r);
        return;
    }

    // The first radius, straight up: the line every chart starts from.
    p.setPen(QPen(theme::kInk, 2));
    p.drawLine(c, c - QPointF(0, r));

    if (shows_ == Shows::NoData) {
        p.setPen(QPen(theme::kSoftInk, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, r, r);
        p.setFont(theme::sansFont(9));
        p.drawText(QRectF(c.x() - r, c.y() + r * 0.15, 2 * r, r * 0.5), Qt::AlignCenter,
                   noDataText());
        return;
    }

    // Each slice is painted from its start to the end of the circle, over the one before: the
    // antialiased edge between two slices then blends their colours, never the paper's.
    p.setPen(Qt::NoPen);
    for (int slice = 0; slice < 4; ++slice) {
        const double from = angles_[static_cast<std::size_t>(slice)];
        if (!(from < angles_[4])) continue;
        p.setBrush(sliceColour(slice));
        p.drawPolygon(fan(c, r, from, angles_[4]));
    }
    p.setPen(QPen(theme::chart::kRim, 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r, r);
}

ColourBox::ColourBox(const QColor& colour, QWidget* parent) : QWidget(parent), colour_(colour)
{
    setFixedSize(14, 14);
}

void ColourBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), colour_);
    p.setPen(theme::chart::kLegendEdge);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace culvora::gui
