#pragma once

// Grid1 of the ingredient viewer: the table with its headings as the fixed top row and the
// names as a fixed first column, which stays in place while the values scroll sideways (a
// large font makes the grid wider than the window).

#include <QTableView>

namespace culvora::gui {

class NutritionGrid : public QTableView {
    Q_OBJECT
public:
    explicit NutritionGrid(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;
    // The font of the cells and headings, with the row height and heading height that fit it.
    void setGridFont(const QFont& font);

    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

    // The names' column laid over the grid's left edge.
    QTableView* namesColumn() const { return names_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void updateGeometries() override;

private:
    void placeNamesColumn();

    QTableView* names_;
};

}  // namespace culvora::gui
