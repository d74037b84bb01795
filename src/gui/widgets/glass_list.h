#pragma once

// What the drink editors and the drink viewer share: the glass drop-down list "Combo1" and the
// framed glass picture "Image1".

#include <QPixmap>

#include <functional>

#include "gui/widgets/drop_down_list.h"

class QLabel;

namespace culvora::gui {

// The fifteen glasses in the order of the filter menu, each beside a small picture of itself
// (`picture(i)` for glass i), nothing chosen yet; the whole list drops down below the box.
class GlassList : public DropDownList {
    Q_OBJECT
public:
    GlassList(const std::function<QPixmap(int)>& picture, QWidget* parent = nullptr);
};

// The framed glass picture (the drinks style frames a QLabel with glass=true), empty until a
// glass is shown.
QLabel* makeGlassPicture(QWidget* parent);

}  // namespace culvora::gui
