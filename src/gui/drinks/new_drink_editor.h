#pragma once

// "nydrink", "Add drink": a new drink's name, ingredients, mixing instructions and glass, with
// the glass's picture beside them. "Save" adds the drink at the end of drinkar.txt and shows
// every drink in the drinks list. "Insert..." opens a row of buttons for the characters a
// recipe needs and a keyboard rarely has (°, ¼, ½, ¾, ±).

#include <QWidget>

#include <optional>
#include <string>

#include "gui/app/unsaved_input.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace culvora::gui {

class CharacterRow;

struct AppContext;

class NewDrinkEditor : public QWidget, public UnsavedInput {
    Q_OBJECT
public:
    // The window's size in twips as it opens, and with the character row under it.
    static constexpr int kWidth = 9600;
    static constexpr int kClosedHeight = 3930;
    static constexpr int kInsertHeight = 4380;

    // ShellState::lastFocusedBox as this editor uses it.
    static constexpr int kNoTextBox = 0;  // none yet, or the name box
    static constexpr int kIngredientsBox = 2;
    static constexpr int kInstructionsBox = 3;

    explicit NewDrinkEditor(AppContext& app, QWidget* parent = nullptr);

    // The focus in the name box, ready for typing.
    void startEditing();
    bool characterRowShown() const;

public slots:
    void save();              // "Save"
    void cancel();            // "Cancel"
    void showCharacterRow();  // "Insert..."
    // A character button: the character typed at the caret of the box that had the focus last
    // (ingredients or instructions); nothing when it was neither.
    void insertCharacter(const QString& character);
    void showChosenGlass(int glass);  // a choice in Combo1

public:
    // UnsavedInput: whatever is typed in the three boxes is the new drink.
    bool hasUnsavedInput() const override;
    QString unsavedInputName() const override;
    void saveInput() override { save(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    QPlainTextEdit* lastTextBox() const;
    // The boxes in Windows-1252; nothing (after saying which box holds what) when a character
    // cannot be stored.
    std::optional<std::string> converted(const QString& text, const QString& what, QWidget* box);

    AppContext& app_;
    QLineEdit* nameBox_ = nullptr;               // Text1
    QPlainTextEdit* ingredientsBox_ = nullptr;   // Text2
    QPlainTextEdit* instructionsBox_ = nullptr;  // Text3
    QComboBox* glassList_ = nullptr;             // Combo1
    QLabel* picture_ = nullptr;                  // Image1
    CharacterRow* characterRow_ = nullptr;       // Label2 and Command6 to Command10
};

}  // namespace culvora::gui
