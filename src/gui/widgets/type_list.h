#pragma once

// The editors' drop-down list of recipe types: the whole list drops down below the box, and
// its arrow is drawn in the ink of the labels, since the style's own button looks out of place
// in a white box with round corners.

#include <QComboBox>

namespace culvora::gui {

class TypeList : public QComboBox {
    Q_OBJECT
public:
    explicit TypeList(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace culvora::gui
