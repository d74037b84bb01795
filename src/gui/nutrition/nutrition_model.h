#pragma once

// The nutrition table as the grid shows it: one row per record, the name in column 0 and the
// ten value lines, exactly as stored, in columns 1 to 10. The grid paints only the rows on
// screen, so the 7,413 foods of the delivered table cost no widget and no item each.

#include <QAbstractTableModel>

#include <vector>

#include "core/nutrition/nutrition.h"

namespace culvora::gui {

class NutritionModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit NutritionModel(QObject* parent = nullptr);

    void setTable(std::vector<nutrition::Ingredient> table);
    const std::vector<nutrition::Ingredient>& table() const { return table_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<nutrition::Ingredient> table_;
};

}  // namespace culvora::gui
