#pragma once

// The ingredient viewer's pie chart: the shares of water, protein, fat and carbohydrates of
// one ingredient, clockwise from the top, each slice in its nutrient's colour (the theme's
// chart colours). An ingredient without any of the four shows an empty circle and "No data".

#include <QColor>
#include <QWidget>

#include <array>
#include <optional>

namespace culvora::gui {

class PieChart : public QWidget {
    Q_OBJECT
public:
    enum class Shows { Nothing, NoData, Slices };

    // The slices' colours, water first: dark blue, dark red, green and yellow.
    static QColor sliceColour(int slice);
    static QString noDataText();

    // radius in logical pixels; the widget is as large as the circle and its rim.
    explicit PieChart(int radius, QWidget* parent = nullptr);

    // Draws the slices between the boundaries a0..a4 (radians, clockwise from the positive x
    // axis), or the empty chart when there are none.
    void showAngles(const std::optional<std::array<double, 5>>& angles);

    Shows shows() const { return shows_; }
    const std::array<double, 5>& angles() const { return angles_; }
    int radius() const { return radius_; }
    // The circle's centre in the widget.
    QPointF centre() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int radius_;
    Shows shows_ = Shows::Nothing;
    std::array<double, 5> angles_{};
};

// A small box filled with one colour: the chart's legend.
class ColourBox : public QWidget {
    Q_OBJECT
public:
    ColourBox(const QColor& colour, QWidget* parent = nullptr);
    QColor colour() const { return colour_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor colour_;
};

}  // namespace culvora::gui
