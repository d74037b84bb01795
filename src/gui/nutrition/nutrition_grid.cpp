#include "gui/nutrition/nutrition_grid.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QStringList>

namespace culvora::gui {

NutritionGrid::NutritionGrid(QWidget* parent) : QTableView(parent), names_(new QTableView(this))
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    // The row numbers would only repeat what the names say.
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);

    names_->setObjectName(QStringLiteral("Grid1Names"));
    names_->setFocusPolicy(Qt::NoFocus);
    names_->verticalHeader()->hide();
    names_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // The names are often longer than their column: its edge can be dragged wider.
    names_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    names_->horizontalHeader()->setStretchLastSection(false);
    names_->horizontalHeader()->setHighlightSections(false);
    names_->horizontalHeader()->setSectionsClickable(false);
    names_->setSelectionBehavior(QAbstractItemView::SelectRows);
    names_->setSelectionMode(QAbstractItemView::SingleSelection);
    names_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    names_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    names_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    names_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    names_->setWordWrap(false);
    names_->setFrameShape(QFrame::NoFrame);
    names_->setProperty("namesColumn", true);
    // The names are the grid's own entries to a reader; the column over them is only drawn.
    hideFromScreenReaders(names_);
    viewport()->stackUnder(names_);

    // The two scroll as one.
    connect(names_->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, names_->verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int section, int, int size) {
                if (section == 0) {
                    names_->setColumnWidth(0, size);
                    placeNamesColumn();
                }
            });
    connect(names_->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int section, int, int size) {
                if (section == 0) setColumnWidth(0, size);
            });
    // A click on a name is a click on the grid.
    connect(names_, &QAbstractItemView::clicked, this, &QAbstractItemView::clicked);
    connect(names_, &QAbstractItemView::activated, this, &QAbstractItemView::activated);
    connect(names_, &QAbstractItemView::pressed, this, [this] { setFocus(Qt::MouseFocusReason); });
}

void NutritionGrid::setModel(QAbstractItemModel* model)
{
    QTableView::setModel(model);
    // The names' edge is half in their own heading and half in the grid's, which takes the
    // drag too.
    if (model->columnCount() > 0)
        horizontalHeader()->setSectionResizeMode(0, QHeaderView::Interactive);
    names_->setModel(model);
    names_->setSelectionModel(selectionModel());
    for (int column = 1; column < model->columnCount(); ++column)
        names_->setColumnHidden(column, true);
    names_->setColumnWidth(0, columnWidth(0));
    placeNamesColumn();
    names_->show();
}

void NutritionGrid::setGridFont(const QFont& font)
{
    setFont(font);
    names_->setFont(font);
    horizontalHeader()->setFont(font);
    names_->horizontalHeader()->setFont(font);
    const QFontMetrics metrics(font);
    const int rowHeight = metrics.height() + 6;
    verticalHeader()->setMinimumSectionSize(1);
    names_->verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(rowHeight);
    names_->verticalHeader()->setDefaultSectionSize(rowHeight);
    // Headings such as "Carb.-hydrates g" take two lines in a value column.
    const int headingHeight = 2 * metrics.lineSpacing() + 10;
    horizontalHeader()->setFixedHeight(headingHeight);
    names_->horizontalHeader()->setFixedHeight(headingHeight);
    placeNamesColumn();
}

void NutritionGrid::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    placeNamesColumn();
}

void NutritionGrid::updateGeometries()
{
    QTableView::updateGeometries();
    placeNamesColumn();
}

void NutritionGrid::placeNamesColumn()
{
    if (!model()) return;
    names_->setGeometry(frameWidth(), frameWidth(), columnWidth(0),
                        viewport()->height() + horizontalHeader()->height());
    // Over the grid's own heading too, so that the names' heading takes the drag of its edge.
    names_->raise();
}

QModelIndex NutritionGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex current = QTableView::moveCursor(cursorAction, modifiers);
    // Moving left onto a value hidden under the names scrolls it into view.
    if (cursorAction == MoveLeft && current.column() > 0 &&
        visualRect(current).topLeft().x() < names_->columnWidth(0)) {
        const int newValue = horizontalScrollBar()->value() + visualRect(current).topLeft().x() -
                             names_->columnWidth(0);
        horizontalScrollBar()->setValue(newValue);
    }
    return current;
}

void NutritionGrid::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    // The names never scroll sideways: a name needs only its row brought into view.
    const int across = horizontalScrollBar()->value();
    QTableView::scrollTo(index, hint);
    if (index.column() == 0) horizontalScrollBar()->setValue(across);
}

// --- What a screen reader is given ----------------------------------------------------------

int NutritionGrid::paintedItemCount() const
{
    return model() ? model()->rowCount() + 1 : 0;
}

PaintedList::Item NutritionGrid::paintedItem(int index) const
{
    Item item;
    if (!model() || index < 0 || index >= paintedItemCount()) return item;
    const int columns = model()->columnCount();
    if (index == 0) {
        QStringList headings;
        for (int column = 0; column < columns; ++column) {
            const QString heading =
                model()->headerData(column, Qt::Horizontal).toString().simplified();
            if (!heading.isEmpty()) headings << heading;
        }
        item.heading = true;
        item.text = headings.join(QStringLiteral(", "));
        item.rect = horizontalHeader()->geometry();
        return item;
    }
    const int row = index - 1;
    item.text = model()->index(row, 0).data().toString();
    QStringList values;
    for (int column = 1; column < columns; ++column) {
        const QString heading = model()->headerData(column, Qt::Horizontal).toString().simplified();
        values << QStringLiteral("%1 %2").arg(heading, model()->index(row, column).data().toString());
    }
    item.description = values.join(QStringLiteral(", "));
    const QRect first = visualRect(model()->index(row, 0));
    const QRect shown = QRect(first.left(), first.top(), viewport()->width(), first.height())
                            .intersected(viewport()->rect());
    if (!shown.isEmpty()) item.rect = shown.translated(viewport()->pos());
    item.selected = selectionModel() && selectionModel()->isRowSelected(row, QModelIndex());
    return item;
}

int NutritionGrid::currentPaintedItem() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : -1;
}

QStringList NutritionGrid::paintedItemActions(int index) const
{
    if (index <= 0 || index >= paintedItemCount()) return {};
    return {QAccessibleActionInterface::pressAction(),
            QAccessibleActionInterface::setFocusAction()};
}

void NutritionGrid::doPaintedItemAction(int index, const QString& action)
{
    if (index <= 0 || index >= paintedItemCount()) return;
    const QModelIndex name = model()->index(index - 1, 0);
    setCurrentIndex(name);
    scrollTo(name);
    // A press is a click on the row: the viewer shows its chart.
    if (action == QAccessibleActionInterface::pressAction()) emit clicked(name);
}

QString NutritionGrid::paintedSummary() const
{
    const int rows = model() ? model()->rowCount() : 0;
    return rows == 1 ? QStringLiteral("1 ingredient") : QStringLiteral("%1 ingredients").arg(rows);
}

void NutritionGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QAbstractItemView::currentChanged(current, previous);
    if (current.isValid() && current.row() != previous.row()) {
        announceCurrentItem(this, current.row() + 1);
    }
}

void NutritionGrid::selectionChanged(const QItemSelection& selected,
                                     const QItemSelection& deselected)
{
    QAbstractItemView::selectionChanged(selected, deselected);
}

void NutritionGrid::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    announceCurrentItem(this, currentPaintedItem());
}

}  // namespace culvora::gui
