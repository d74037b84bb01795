#pragma once

// "editdrink", "Edit drink": a drink's ingredients, mixing instructions and glass, changed in
// place; its name cannot be changed. "Ok" rewrites the drink where it stands: a drink saved
// without changes leaves drinkar.txt byte for byte as it was, and a glass left as it was keeps
// the spelling the file holds.

#include <QString>
#include <QWidget>

#include <optional>
#include <string>

#include "core/drinks/drinks.h"
#include "gui/app/unsaved_input.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;

namespace culvora::gui {

struct AppContext;

class DrinkEditScreen : public QWidget, public UnsavedInput {
    Q_OBJECT
public:
    DrinkEditScreen(AppContext& app, drinks::Drink loaded, QWidget* parent = nullptr);

    const std::string& drinkName() const { return loaded_.name; }
    QSize sizeHint() const override;
    // Whether a box or the glass differs from what the window opened with.
    bool hasChanges() const;

    // UnsavedInput: the changes.
    bool hasUnsavedInput() const override { return hasChanges(); }
    QString unsavedInputName() const override;
    void saveInput() override { save(); }

public slots:
    void save();                      // "Ok"
    void cancel();                    // "Cancel"
    void showChosenGlass(int glass);  // a choice in Combo1

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void fill();
    // A box's text in Windows-1252: what was loaded when it is unchanged, so that even a
    // character that could not be typed stays; nothing (after saying why) when the box holds a
    // character the file cannot.
    std::optional<std::string> boxContent(const QPlainTextEdit* box, const QString& shown,
                                          const std::string& loaded, const QString& what);

    AppContext& app_;
    drinks::Drink loaded_;
    int storedGlass_ = -1;  // the stored glass line's entry in Combo1; -1 when it names none
    QString shownIngredients_;
    QString shownInstructions_;

    QLabel* nameLabel_ = nullptr;                // Label1
    QPlainTextEdit* ingredientsBox_ = nullptr;   // Text1
    QPlainTextEdit* instructionsBox_ = nullptr;  // Text2
    QComboBox* glassList_ = nullptr;             // Combo1
    QLabel* storedGlassLabel_ = nullptr;         // Label3
    QLabel* picture_ = nullptr;                  // Image1
};

}  // namespace culvora::gui
