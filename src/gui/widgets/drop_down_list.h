#pragma once

// A drop-down list whose arrow is drawn in the ink of the labels (pale while the list is
// disabled): the style's own button looks out of place in a white box with round corners. Its
// entries are drawn by a styled delegate, so the style sheet's item rules reach them.

#include <QComboBox>

namespace culvora::gui {

class DropDownList : public QComboBox {
    Q_OBJECT
public:
    explicit DropDownList(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace culvora::gui
