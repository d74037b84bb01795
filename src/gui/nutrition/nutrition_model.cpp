#include "gui/nutrition/nutrition_model.h"

#include "gui/app/qt_text.h"

namespace culvora::gui {

NutritionModel::NutritionModel(QObject* parent) : QAbstractTableModel(parent)
{
}

void NutritionModel::setTable(std::vector<nutrition::Ingredient> table)
{
    beginResetModel();
    table_ = std::move(table);
    endResetModel();
}

int NutritionModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(table_.size());
}

int NutritionModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : nutrition::kValueCount + 1;
}

QVariant NutritionModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const auto& ingredient = table_[static_cast<std::size_t>(index.row())];
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        if (column == 0) return fromCp(ingredient.name);
        // A record cut short at the end of the file shows its missing values as empty cells.
        return column <= ingredient.valueCount
                   ? fromCp(ingredient.values[static_cast<std::size_t>(column - 1)])
                   : QString();
    case Qt::ToolTipRole:
        // Long names are cut at the column's edge; the whole name is a hover away.
        return column == 0 ? QVariant(fromCp(ingredient.name)) : QVariant();
    case Qt::TextAlignmentRole:
        return column == 0 ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                           : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    default: return {};
    }
}

QVariant NutritionModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal) return {};
    if (role == Qt::DisplayRole) {
        // The names' column has no heading.
        if (section <= 0 || section > nutrition::kValueCount) return QString();
        return QString::fromLatin1(nutrition::kHeadings[static_cast<std::size_t>(section - 1)]);
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant(Qt::AlignCenter | Qt::TextWordWrap);
    }
    return {};
}

}  // namespace culvora::gui
