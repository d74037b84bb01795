#pragma once

// Window geometry is worked out in twips (1/1440 inch); widgets only apply the results.

#include <QPoint>
#include <QRect>
#include <QSize>

#include <vector>

namespace culvora::gui {

struct TwipRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const TwipRect&) const = default;
};

// 15 twips are one logical pixel (96 dpi); Qt scales logical pixels on HiDPI screens.
constexpr int twips(int t)
{
    return t / 15;
}
constexpr int toTwips(int px)
{
    return px * 15;
}
inline QRect toPixels(const TwipRect& r)
{
    return {twips(r.left), twips(r.top), twips(r.width), twips(r.height)};
}

// Centred horizontally on the screen, its top 400 twips above the vertical centre.
TwipRect CenterForm(TwipRect window, int screenWidth, int screenHeight);
// An object centred inside a window of the given size.
TwipRect CenterInside(TwipRect object, int windowWidth, int windowHeight);

// A row of controls placed from their specified places, with the widths their captions need
// in the font of the day (all in one unit). A control keeps its place and width where its
// caption fits; one that needs more grows to that width and moves the controls after it along
// by as much, so the gaps between them stay. The last control's right edge tells how wide the
// row has become.
std::vector<TwipRect> fitRow(const std::vector<TwipRect>& specified,
                             const std::vector<int>& needed);

// How much a picture of the given size is drawn smaller so that it fits the room: 1 when it
// fits as it is.
double shrinkToFit(int width, int height, int roomWidth, int roomHeight);

}  // namespace culvora::gui
