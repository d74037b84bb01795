#include "gui/app/geometry.h"

#include <algorithm>

namespace culvora::gui {

TwipRect CenterForm(TwipRect window, int screenWidth, int screenHeight)
{
    window.left = (screenWidth - window.width) / 2;
    window.top = (screenHeight - window.height) / 2 - 400;
    return window;
}

TwipRect CenterInside(TwipRect object, int windowWidth, int windowHeight)
{
    object.left = (windowWidth - object.width) / 2;
    object.top = (windowHeight - object.height) / 2;
    return object;
}

std::vector<TwipRect> fitRow(const std::vector<TwipRect>& specified,
                             const std::vector<int>& needed)
{
    std::vector<TwipRect> placed;
    placed.reserve(specified.size());
    int shift = 0;
    for (std::size_t i = 0; i < specified.size(); ++i) {
        TwipRect r = specified[i];
        r.left += shift;
        if (i < needed.size() && needed[i] > r.width) {
            shift += needed[i] - r.width;
            r.width = needed[i];
        }
        placed.push_back(r);
    }
    return placed;
}

double shrinkToFit(int width, int height, int roomWidth, int roomHeight)
{
    if (width <= 0 || height <= 0) return 1.0;
    const double across = static_cast<double>(std::max(0, roomWidth)) / width;
    const double down = static_cast<double>(std::max(0, roomHeight)) / height;
    return std::min({1.0, across, down});
}

}  // namespace culvora::gui
