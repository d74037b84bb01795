#pragma once

// "Export to Meal-Master...": the recipes of the current cookbook, all ticked, to untick those
// that stay home; the encoding of the file; then a save dialog, and the file is written.

#include <QWidget>

#include <vector>

#include "core/store/cookbook.h"
#include "gui/app/app_context.h"

class QComboBox;
class QListWidget;
class QPushButton;

namespace culvora::gui {

inline constexpr QLatin1String kExportMealMasterForm{"frmExportMealMaster"};

class MealMasterExportDialog : public QWidget {
    Q_OBJECT
public:
    explicit MealMasterExportDialog(AppContext& app, QWidget* parent = nullptr);

    // The encodings offered, code page 850 first (what the other programs read).
    static QStringList encodingNames();

public slots:
    void tickAll(bool ticked);
    // Asks where to write the ticked recipes and writes them; the dialog closes once written.
    void exportRecipes();

private:
    void fillList();

    AppContext& app_;
    std::vector<store::RecipeRecord> records_;  // the cookbook's, in file order
    QListWidget* list_ = nullptr;
    QComboBox* encoding_ = nullptr;
    QPushButton* exportButton_ = nullptr;
};

}  // namespace culvora::gui
