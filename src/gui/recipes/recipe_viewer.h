#pragma once

// "Visa": one recipe on the picture of an open book. Name, servings and cooking time at the
// top of the left page, the ingredients below them in a scrolling frame, the instructions on
// the right page; Back and Forward step through the cookbook in the program's order, Zoom
// makes the texts larger, and the toolbar reaches every action on the recipe.

#include <QPixmap>
#include <QWidget>

#include <optional>
#include <string>
#include <vector>

#include "core/recipes/printout.h"
#include "core/recipes/recipe_view.h"
#include "gui/app/app_context.h"
#include "gui/app/handover.h"
#include "gui/recipes/recipe_routines.h"

class QAction;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QSpinBox;
class QToolBar;

namespace culvora::gui {

class RecipeViewer : public QWidget, public RecipeViewerView, public RecordFollower {
    Q_OBJECT
public:
    explicit RecipeViewer(AppContext& app, QWidget* parent = nullptr);

    // Reads selectedRecipe (the selectedOccurrence-th recipe of that name) from the current
    // cookbook, shows it and names it in the caption. The other names are not read until Back
    // or Forward asks for a neighbour.
    void fillView() override;

    // RecordFollower: the recipe on show keeps its place when an earlier one of its name goes.
    void recordRemoved(const std::string& cookbookFile, std::string_view name,
                       std::size_t occurrence) override;

    // The recipe on show (Label1's text), Windows-1252.
    const std::string& shownName() const { return shownName_; }
    // Which recipe of that name it is (0 the first, in file order).
    std::size_t shownOccurrence() const { return shownOccurrence_; }
    // The name with the servings and time texts under it (Label2, Label3), Windows-1252: the
    // top of the printed recipe.
    recipes::ShownRecipe shownRecipe() const;
    // Text1's height in twips as the fill and "Zoom in" set it. The label on screen is never
    // smaller than its text needs.
    int ingredientHeight() const { return ingredientHeight_; }
    // The servings box beside "(Serves N)": the ingredients shown for another number of
    // servings. It starts at the recipe's own servings whenever a recipe is shown, and is
    // greyed out for a recipe whose servings are not a number.
    QSpinBox* servingsBox() const { return servingsBox_; }
    // The servings the ingredients are shown for when the box has changed them; 0 when the
    // recipe is shown as it is written.
    int scaledServings() const;
    // The names Back and Forward step through (a name once for each of its recipes), and the
    // position of the recipe on show (-1 when it is not among them), read from the cookbook
    // when asked.
    std::vector<std::string> recipeOrder() const;
    int listIndex() const;

public slots:
    // Shows the ingredients and the servings text for that many servings; the cookbook is not
    // changed.
    void showServings(int servings);
    void showNextRecipe();
    void showPreviousRecipe();
    void zoomIn();
    void zoomOut();
    // What a click on the toolbar button with that key does.
    void runToolbarAction(const QString& key);
    // Greys out the keys whose windows are not available.
    void updateToolbar();
    // The toolbar's keys: Delete, and the windows the other keys open.
    void deleteShownRecipe();
    void editShownRecipe();
    void openSearch();
    void uploadShownRecipe();
    void showShownPicture();
    void saveShownAsWebPage();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The toolbar as a table: each key, its tool tip, the window it needs and what it does.
    struct ToolbarKey {
        const char* key;  // nullptr: a separator
        const char* tip;
        QLatin1String window;
        void (RecipeViewer::*run)();
    };
    static const std::vector<ToolbarKey>& toolbarKeys();
    static const ToolbarKey* toolbarKey(const QString& key);
    bool keyAvailable(const ToolbarKey& key) const;
    // Opens the window of the key being run (Print, Picture).
    void openWindowOf();
    // Label1: the name, in a font small enough to fit.
    void showName(const QString& name);

    void buildToolbar();
    void buildPages();
    void step(bool forward);
    void scrollIngredients(int value);
    // Sizes Text1 to its text and sets the scroll bar's range to match.
    void layoutIngredients();
    // The servings box for a recipe just shown.
    void startServings(const recipes::RecipeTexts& texts);

    AppContext& app_;
    const ToolbarKey* runningKey_ = nullptr;
    std::string shownName_;
    std::size_t shownOccurrence_ = 0;
    int ingredientHeight_ = 0;
    QPixmap tableStrip_;

    QToolBar* toolbar_ = nullptr;
    QWidget* book_ = nullptr;
    QLabel* nameLabel_ = nullptr;
    QLabel* servingsLabel_ = nullptr;
    QSpinBox* servingsBox_ = nullptr;
    std::optional<int> ownServings_;  // the recipe's own servings, when they are a number
    // The record on show, read when the box first changes it.
    std::optional<store::RecipeRecord> shownRecord_;
    QLabel* timeLabel_ = nullptr;
    QWidget* ingredientFrame_ = nullptr;
    QLabel* ingredientText_ = nullptr;
    QScrollBar* ingredientScroll_ = nullptr;
    QPlainTextEdit* instructionBox_ = nullptr;
    QPushButton* backButton_ = nullptr;
    QPushButton* forwardButton_ = nullptr;
    QPushButton* zoomInButton_ = nullptr;
    QPushButton* zoomOutButton_ = nullptr;
};

}  // namespace culvora::gui
