#include "gui/widgets/type_list.h"

#include "gui/theme/theme.h"

namespace culvora::gui {

TypeList::TypeList(QWidget* parent) : DropDownList(parent)
{
    setStyleSheet(theme::typeListStyle());
    setMaxVisibleItems(20);
}

}  // namespace culvora::gui
