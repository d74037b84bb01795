#pragma once

// Where the ingredient viewer "Indx" puts its window, its grid and its pie chart, in twips.
// The left margin beside the grid holds the chosen ingredient's name, the chart, its legend,
// the find box and the font size; the grid takes the rest and follows the window's size.

#include "gui/app/geometry.h"

namespace culvora::gui::index_layout {

// The chart: its centre and radius inside the window.
inline constexpr int kChartCentreX = 1380;
inline constexpr int kChartCentreY = 2850;
inline constexpr int kChartRadius = 1000;

// The grid's fixed left and top edges; its right edge stays 350 twips inside the window and
// its bottom 950 twips above the window's bottom.
inline constexpr int kGridLeft = 3000;
inline constexpr int kGridTop = 560;
inline constexpr int kGridRightMargin = 350;
inline constexpr int kGridHeightMargin = 950;

// The window's normal place in a "screen" (the main window's area) of the given size: 100
// narrower and 1100 lower than the screen, centred, then 500 higher. It is never placed above
// or left of the screen, and never smaller than the margin and a useful piece of grid.
TwipRect windowRect(int screenWidth, int screenHeight);

// The grid for a window of the given inner size.
TwipRect gridRect(int windowWidth, int windowHeight);

// The smallest window that still shows the margin, a few columns and rows of the grid.
inline constexpr int kMinimumWidth = 9000;
inline constexpr int kMinimumHeight = 6600;

}  // namespace culvora::gui::index_layout
