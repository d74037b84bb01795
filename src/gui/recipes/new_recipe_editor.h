#pragma once

// "NyttRecept", "New recipe": where a recipe is typed and added to the current cookbook.
// "Save" appends it, asks for a picture of the dish and offers the ingredient words the Fridge
// list does not know yet ("New ingredients?"), then closes the editor.

#include <QWidget>

#include <optional>
#include <string>

#include "core/recipes/recipe_edit.h"
#include "gui/app/app_context.h"
#include "gui/app/handover.h"
#include "gui/app/unsaved_input.h"

class QComboBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabBar;
class QTimer;

namespace culvora::gui {

class CharacterRow;

class NewRecipeEditor : public QWidget, public UnsavedInput, public NewRecipePrefill {
    Q_OBJECT
public:
    // The window's height in twips as it opens, and with the character row under it.
    static constexpr int kClosedHeight = 4980;
    static constexpr int kInsertHeight = 5490;
    static constexpr int kWidth = 10500;

    // ShellState::lastFocusedBox as this editor uses it: the box that had the focus last.
    static constexpr int kNoTextBox = 0;  // none yet, or t1, t2 or t3
    static constexpr int kIngredientsBox = 4;
    static constexpr int kInstructionsBox = 5;

    explicit NewRecipeEditor(AppContext& app, QWidget* parent = nullptr);

    // The focus in the name box, ready for typing.
    void startEditing();
    // A recipe from elsewhere (a web page) in the boxes, for the cook to check and save.
    bool holdsText() const override;
    void prefill(const NewRecipeFields& fields) override;
    // Whether "Insert..." has shown the character row.
    bool characterRowShown() const;
    QTimer* servingsTimer() const { return servingsTimer_; }  // Timer1

public slots:
    void save();                // "Save"
    void reset();               // "Reset": the five boxes emptied, the type kept
    void openHelp();            // "Help"
    void showCharacterRow();    // "Insert..."
    void chooseTab(int index);  // TabStrip1: 0 "Ingredients", 1 "To do"
    // A character button: the character typed at the caret of the box that had the focus
    // last (t4 or t5); nothing when it was neither.
    void insertCharacter(const QString& character);

public:
    // UnsavedInput: whatever is typed in the five boxes is the new recipe.
    bool hasUnsavedInput() const override;
    QString unsavedInputName() const override;
    void saveInput() override { save(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    QLayout* buildFields(QWidget* parent);  // name, servings, time, type
    QLayout* buildTexts(QWidget* card);     // the tab strip and the two text pages
    QLayout* buildButtons(QWidget* page);
    void buildCharacterRow();
    void fillTypes();
    // What the boxes hold, in Windows-1252; a character the files cannot hold is reported
    // with the place it stands in, and nothing then.
    std::optional<recipes::RecipeDraft> draft();
    // The servings filter: a letter (Windows-1252 codes 65 to 246) beeps and empties the box
    // 100 ms later; from 215 on it also says "Endast siffror, tack!".
    void servingsKey(const QString& typed);
    // True when no recipe of the cookbook has the name, or the cook chose to save under it
    // all the same; false puts the cook back in the name box.
    bool nameFreeOrAccepted(const std::string& name);
    QPlainTextEdit* lastTextBox();

    AppContext& app_;
    QLineEdit* nameBox_ = nullptr;               // t1
    QLineEdit* servingsBox_ = nullptr;           // t2
    QLineEdit* timeBox_ = nullptr;               // t3
    QComboBox* typeBox_ = nullptr;               // Combo1
    QTabBar* tabs_ = nullptr;                    // TabStrip1
    QWidget* ingredientsPage_ = nullptr;         // Picture1
    QWidget* instructionsPage_ = nullptr;        // Picture2
    QPlainTextEdit* ingredientsBox_ = nullptr;   // t4
    QPlainTextEdit* instructionsBox_ = nullptr;  // t5
    CharacterRow* characterRow_ = nullptr;       // Label2 and Command6 to Command10
    QTimer* servingsTimer_ = nullptr;            // Timer1
};

}  // namespace culvora::gui
