#pragma once

// "Indx", the Nutrition index: the whole nutrition table in a grid, the chosen ingredient's
// shares of water, protein, fat and carbohydrates as a pie chart, a find by the beginning of a
// name and a choice of font size.

#include <QWidget>

#include <vector>

#include "core/nutrition/nutrition.h"
#include "gui/app/app_context.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace culvora::gui {

class NutritionGrid;
class NutritionModel;
class PieChart;

class NutritionViewer : public QWidget {
    Q_OBJECT
public:
    explicit NutritionViewer(AppContext& app, QWidget* parent = nullptr);

    const std::vector<nutrition::Ingredient>& table() const;
    NutritionGrid* grid() const { return grid_; }
    PieChart* chart() const { return chart_; }

public slots:
    // A click on a row: its name above the chart, the row chosen, the chart drawn.
    void showIngredient(int row);
    // Enter in Text1, or "Go".
    void find();
    // A choice in Combo1.
    void applyFontSize(int points);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void placeNote();
    void load();

    AppContext& app_;
    NutritionModel* model_ = nullptr;
    NutritionGrid* grid_ = nullptr;  // Grid1
    PieChart* chart_ = nullptr;
    QWidget* findRow_ = nullptr;       // the row above the grid
    QLabel* nameLabel_ = nullptr;      // Label2
    QLabel* note_ = nullptr;           // Label1
    QLineEdit* findBox_ = nullptr;     // Text1
    QComboBox* fontChoice_ = nullptr;  // Combo1
};

}  // namespace culvora::gui
