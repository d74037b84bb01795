#pragma once

// The editors' drop-down list of recipe types: the whole list drops down below the box.

#include "gui/widgets/drop_down_list.h"

namespace culvora::gui {

class TypeList : public DropDownList {
    Q_OBJECT
public:
    explicit TypeList(QWidget* parent = nullptr);
};

}  // namespace culvora::gui
