#include "gui/app/geometry.h"

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

}  // namespace culvora::gui
