#pragma once

// "RedigeraRecept": changes a recipe of the current cookbook in place. Everything but the name
// can be changed; Save replaces the record where it stands, and a recipe opened and saved
// without changes leaves the cookbook byte for byte as it was.

#include <QString>
#include <QWidget>

#include <optional>
#include <string>

#include "core/recipes/recipe_edit.h"
#include "core/store/cookbook.h"
#include "gui/app/app_context.h"
#include "gui/app/handover.h"
#include "gui/app/unsaved_input.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace culvora::gui {

class RecipeEditor : public QWidget, public UnsavedInput, public RecordFollower {
    Q_OBJECT
public:
    // `cookbook` is the file the record was read from; `occurrence` says which recipe of its
    // name it is (a cookbook may hold a name twice).
    RecipeEditor(AppContext& app, std::string cookbook, store::RecipeRecord loaded,
                 std::size_t occurrence, QWidget* parent = nullptr);

    // The recipe being edited (Windows-1252).
    const std::string& recipeName() const { return loaded_.name; }
    std::size_t occurrence() const { return occurrence_; }

    // RecordFollower: Save keeps to this recipe when an earlier one of its name goes, and
    // saves nothing when this one has gone.
    void recordRemoved(const std::string& cookbookFile, std::string_view name,
                       std::size_t occurrence) override;

    QSize sizeHint() const override;

    // UnsavedInput: a box or the type changed from what the recipe was loaded with.
    bool hasUnsavedInput() const override;
    QString unsavedInputName() const override;
    void saveInput() override { save(); }

public slots:
    void save();           // "Save"
    void cancel();         // "Cancel"
    void choosePicture();  // "Picture?"
    void openHelp();       // "Help"

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void fill();
    // The boxes as the cookbook will hold them; nothing (after saying why) when a box holds a
    // character the cookbook cannot.
    std::optional<recipes::RecipeDraft> draft();
    void refuse(const QString& message, QWidget* box = nullptr);

    AppContext& app_;
    std::string cookbook_;
    store::RecipeRecord loaded_;
    std::size_t occurrence_ = 0;
    recipes::RecipeDraft shown_;  // what the boxes were filled with

    QLineEdit* nameBox_ = nullptr;
    QLineEdit* servingsBox_ = nullptr;
    QLineEdit* timeBox_ = nullptr;
    QComboBox* typeList_ = nullptr;
    QPlainTextEdit* ingredientsBox_ = nullptr;
    QPlainTextEdit* instructionsBox_ = nullptr;
};

}  // namespace culvora::gui
