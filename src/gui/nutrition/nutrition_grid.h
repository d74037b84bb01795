#pragma once

// Grid1 of the ingredient viewer: the table with its headings as the fixed top row and the
// names as a fixed first column, which stays in place while the values scroll sideways (a
// large font makes the grid wider than the window).
//
// A screen reader is given the grid as a list: the headings first, then one entry per
// ingredient, named after it and described by its values under their headings, so moving
// down the rows says which ingredient is reached and what it holds.

#include <QTableView>

#include "gui/widgets/accessibility.h"

namespace culvora::gui {

class NutritionGrid : public QTableView, public PaintedList {
    Q_OBJECT
public:
    explicit NutritionGrid(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;
    // The font of the cells and headings, with the row height and heading height that fit it.
    void setGridFont(const QFont& font);

    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

    // The names' column laid over the grid's left edge.
    QTableView* namesColumn() const { return names_; }

    // PaintedList: item 0 is the row of headings, item r + 1 the ingredient of row r.
    int paintedItemCount() const override;
    Item paintedItem(int index) const override;
    int currentPaintedItem() const override;
    QStringList paintedItemActions(int index) const override;
    void doPaintedItemAction(int index, const QString& action) override;
    QString paintedSummary() const override;

protected:
    // The reader hears of the row the keyboard moves to (the table's own events count cells,
    // which this list does not have).
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;
    void focusInEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void updateGeometries() override;

private:
    void placeNamesColumn();

    QTableView* names_;
};

}  // namespace culvora::gui
