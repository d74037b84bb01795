#include "gui/nutrition/nutrition_layout.h"

#include <algorithm>

namespace culvora::gui::index_layout {

TwipRect windowRect(int screenWidth, int screenHeight)
{
    const int width = std::max(kMinimumWidth, screenWidth - 100);
    const int height = std::max(kMinimumHeight, screenHeight - 1100);
    const int left = std::max(0, (screenWidth - width) / 2);
    const int top = std::max(0, (screenHeight - height) / 2 - 500);
    return {left, top, width, height};
}

TwipRect gridRect(int windowWidth, int windowHeight)
{
    return {kGridLeft, kGridTop, std::max(0, windowWidth - kGridRightMargin - kGridLeft),
            std::max(0, windowHeight - kGridHeightMargin)};
}

}  // namespace culvora::gui::index_layout
