#include "gui/app/accessible_names.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QBoxLayout>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTabBar>
#include <QTextEdit>
#include <QToolButton>

#include <array>

#include "gui/app/window_names.h"
#include "gui/widgets/accessibility.h"

namespace culvora::gui {

namespace {

struct ControlText {
    QLatin1String form;
    const char* control;
    const char* name;         // nullptr: the control's own caption says it
    const char* description;  // nullptr: its tool tip says it
};

// clang-format off
const ControlText kControlTexts[] = {
    // The main window and the welcome screen.
    {forms::kMain, "Label1", "Culvora's website", nullptr},
    {forms::kWelcome, "Image1", "What's in the fridge?", "Find recipes that you can cook"},
    {forms::kWelcome, "Image2", "Drinks", "View available drinks"},
    {forms::kWelcome, "Image3", "Nutrition", "View a ingredient's nutrition and data"},
    {forms::kWelcome, "Image4", "Time and type", "Search recipes by cooking time and recipe type"},
    {forms::kWelcome, "Image5", "Recipes", "View available recipes"},
    {forms::kWelcome, "Image6", "Calorie calculator", "Calculate nutrition values and calories"},
    {forms::kWelcome, "Command1(0)", "Cookbooks", "Organize cookbooks"},
    {forms::kWelcome, "Command1(1)", "Weekly menu", "Compose weekly menu"},
    {forms::kWelcome, "Command1(2)", "Download", "Download recipes"},
    {forms::kWelcome, "Command1(3)", "Forum", "Discuss food with other users"},
    {forms::kWelcome, "Command1(4)", "Backup", "Create backup"},
    {forms::kAbout, "Command1", nullptr, "Close this window"},

    // Cookbooks, recipe types, the destination chooser.
    {forms::kCookbooks, "List1", "Cookbooks", "The cookbooks you keep; the chosen one is the one Use, Delete act on"},
    {forms::kCookbooks, "Command1", nullptr, "Work with the chosen cookbook from now on"},
    {forms::kCookbooks, "Command2", nullptr, "Delete the chosen cookbook and its recipes"},
    {forms::kCookbooks, "Command3", "Add new", "Start a new, empty cookbook"},
    {forms::kCookbooks, "Command5", nullptr, "Close without changing the current cookbook"},
    {forms::kNewBook, "Text1", "Title of book", "The name the cookbook is listed under"},
    {forms::kNewBook, "Text2", "File name", "The file in the data folder that keeps the cookbook's recipes"},
    {forms::kNewBook, "Command1", nullptr, "Create the cookbook"},
    {forms::kNewBook, "Command2", nullptr, "Close without creating a cookbook"},
    {forms::kRecipeTypes, "List1", "Recipe types", "The types a recipe can be given"},
    {forms::kRecipeTypes, "Text1", "Name of new group", "The name of a recipe type to add"},
    {forms::kRecipeTypes, "Command1", nullptr, "Add the typed name to the recipe types"},
    {forms::kRecipeTypes, "Command4", nullptr, "Take the chosen type off the list"},
    {forms::kRecipeTypes, "Command2", nullptr, "Keep the recipe types and close"},
    {forms::kRecipeTypes, "Command3", nullptr, "Close without changing the recipe types"},
    {forms::kDestination, "Combo1", "Cookbook", "The cookbook the recipe goes to"},
    {forms::kDestination, "Check1", nullptr, "Offer the recipe's ingredient words the Fridge list does not know"},
    {forms::kDestination, "Command1", nullptr, "Put the recipe into the chosen cookbook"},
    {forms::kDestination, "Command2", nullptr, "Close without doing anything"},

    // The recipe browser.
    {forms::kBrowser, "labels", "Recipes", "The recipes of the cookbook under their letters: arrow keys move, Enter opens a recipe, Delete deletes it"},
    {forms::kBrowser, "letters", "Letters", "Show the recipes under a letter"},
    {forms::kBrowser, "Command8", "Scroll left", "Show the column before"},
    {forms::kBrowser, "Command4", "Scroll right", "Show the next column"},
    {forms::kBrowser, "Command3", nullptr, "Drop a recipe's name here to edit the recipe"},
    {forms::kBrowser, "Command5", nullptr, "Drop a recipe's name here to move it to another cookbook"},
    {forms::kBrowser, "Command6", nullptr, "Drop a recipe's name here to share it with other users"},
    {forms::kBrowser, "Command9", nullptr, "Drop a recipe's name here to delete the recipe"},
    {forms::kBrowser, "Command12", "Options", "See some more options"},

    // The viewer and the editors.
    {forms::kViewer, "Text2", "Recipe", "The recipe's name, servings, cooking time, ingredients and instructions"},
    {forms::kNewRecipe, "t1", "Recipe's name", "The name the cookbook lists the recipe under"},
    {forms::kNewRecipe, "t2", "Serves", "How many people the recipe serves"},
    {forms::kNewRecipe, "t3", "Cooking time", "How long the dish takes, e.g. 45 min"},
    {forms::kNewRecipe, "Combo1", "Type of dish", "The recipe type the searches find it under"},
    {forms::kNewRecipe, "TabStrip1", "Ingredients or instructions", "Choose which of the two texts the box below shows"},
    {forms::kNewRecipe, "t4", "Ingredients", "One ingredient a line"},
    {forms::kNewRecipe, "t5", "Instructions", "How the dish is made"},
    {forms::kEditRecipe, "t1", "Recipe name", "The recipe's name, which stays as it is"},
    {forms::kEditRecipe, "t2", "Serves", "How many people the recipe serves"},
    {forms::kEditRecipe, "t3", "Time", "How long the dish takes"},
    {forms::kEditRecipe, "Combo1", "Type of dish", "The recipe type the searches find it under"},
    {forms::kEditRecipe, "t4", "Ingredients", "One ingredient a line"},
    {forms::kEditRecipe, "t5", "Instructions", "How the dish is made"},
    {forms::kPrintout, "Command1", nullptr, "Print what is chosen"},
    {forms::kPrintout, "Command2", nullptr, "Close without printing"},

    // The searches and the Fridge list.
    {forms::kSearch, "Combo1", "Recipe type", "The type of dish to look for"},
    {forms::kSearch, "Combo2", "Maximum cooking time", "The longest cooking time, in minutes"},
    {forms::kSearch, "Command4", "Minutes in hours", nullptr},
    {forms::kSearch, "List2", "Ingredients", "Tick the ingredients the dish must contain"},
    {forms::kSearch, "List1", "Results", "The recipes found; Enter opens the chosen one"},
    {forms::kFridgeList, "List1", "Fridge list", "The ingredient words the fridge search knows"},
    {forms::kFridgeList, "Text1", "Add ingredient", "A word to add to the list"},
    {forms::kFridgeList, "Command1", nullptr, "Add the typed word to the list"},
    {forms::kFridgeList, "Command2", nullptr, "Take the chosen word off the list"},
    {forms::kFridgeList, "Command3", nullptr, "Keep the list and close"},
    {forms::kFridgeList, "Command4", nullptr, "Close without changing the list"},
    {forms::kNewIngredients, "List1", "New ingredients", "Tick the words to add to the Fridge list"},
    {forms::kNewIngredients, "Command1", nullptr, "Add the ticked words to the Fridge list and close"},
    {forms::kFridgeSearch, "List1", "What you have at home", nullptr},
    {forms::kFridgeSearch, "List3", "Matching recipes", "The recipes you can cook; Enter opens the chosen one"},

    // Nutrition.
    {forms::kNutrition, "Text1", "Find", nullptr},
    {forms::kNutrition, "Command1", "Go", "Find the first ingredient whose name begins with the typed text"},
    {forms::kNutrition, "Combo1", "Font size", nullptr},
    {forms::kNutrition, "Grid1", "Nutrition table", "Every ingredient's energy and nutrients per 100 gram; Enter or a click shows its shares of water, protein, fat and carbohydrates"},
    {forms::kCalculator, "findBox", "Find ingredient", nullptr},
    {forms::kCalculator, "List1", "Ingredients", "The nutrition table's ingredients; choose one and give its grams"},
    {forms::kCalculator, "Text1", "Grams", nullptr},
    {forms::kCalculator, "List2", "The dish", "The ingredients of the dish"},
    {forms::kCalculator, "List3", "Grams in the dish", "The grams of each ingredient of the dish"},
    {forms::kCalculator, "Label6", "Energy (kJ)", "The dish's total"},
    {forms::kCalculator, "Label7", "Energy (kcal)", "The dish's total"},
    {forms::kCalculator, "Label8", "Water", "The dish's total"},
    {forms::kCalculator, "Label9", "Protein", "The dish's total"},
    {forms::kCalculator, "Label10", "Fat", "The dish's total"},
    {forms::kCalculator, "Label11", "Carbohydrates", "The dish's total"},
    {forms::kCalculator, "Label12", "Calcium", "The dish's total"},
    {forms::kCalculator, "Label13", "Iron", "The dish's total"},
    {forms::kCalculator, "Label14", "Vitamin A", "The dish's total"},
    {forms::kCalculator, "Label15", "Vitamin C", "The dish's total"},
    {forms::kCalculator, "Command4", "Calculate", nullptr},

    // The weekly menu.
    {forms::kWeeklyMenu, "List1", "Ingredients", nullptr},
    {forms::kWeeklyMenu, "List3", "Possible recipes", nullptr},

    // Drinks.
    {forms::kDrinks, "Command7", "Glass filter", nullptr},
    {forms::kDrinks, "List1", "Drinks", "The drinks of the collection; Enter opens the chosen one"},
    {forms::kDrinks, "Command4", nullptr, "Close the drinks list"},
    {forms::kDrinkViewer, "Text1", "Drink", "The drink's name, ingredients and mixing instructions"},
    {forms::kDrinkViewer, "Command2", nullptr, "Close the drink"},
    {forms::kNewDrink, "Text1", "Name", "The drink's name"},
    {forms::kNewDrink, "Text2", "Ingredients", "One ingredient a line"},
    {forms::kNewDrink, "Text3", "Mixing instructions", "How the drink is mixed"},
    {forms::kNewDrink, "Combo1", "Glass", "The glass the drink is served in"},
    {forms::kEditDrink, "Text1", "Ingredients", "One ingredient a line"},
    {forms::kEditDrink, "Text2", "Mixing instructions", "How the drink is mixed"},
    {forms::kEditDrink, "Combo1", "Glass", "The glass the drink is served in"},

    // The archive and the backup.
    {forms::kArchive, "Option1", nullptr, "Every page beside a list of all the recipes"},
    {forms::kArchive, "Option2", nullptr, "One page after another, with an index page"},
    {forms::kArchive, "Option3", nullptr, "A picture behind the pages"},
    {forms::kArchive, "Option4", nullptr, "A colour behind the pages"},
    {forms::kArchive, "Text2", "Picture file", "The picture behind the pages"},
    {forms::kArchive, "red2", "Red", "The red of the pages' colour"},
    {forms::kArchive, "green2", "Green", "The green of the pages' colour"},
    {forms::kArchive, "blue2", "Blue", "The blue of the pages' colour"},
    {forms::kArchive, "Command2", "Previous", "Back to the step before"},
    {forms::kArchive, "Command1", "Next", "On to the next step"},
    {forms::kArchive, "Command3", nullptr, "Close the wizard"},
    {forms::kArchive, "Label5", "Archive folder", "Where the archive's pages were written"},
    {forms::kArchive, "Command5", nullptr, "Open the archive's first page in the web browser"},
    {forms::kBackup, "Check1", nullptr, "Copy the current cookbook"},
    {forms::kBackup, "Check2", nullptr, "Copy the drinks"},
    {forms::kBackup, "Combo1", "Destination", "Where the copies go"},
    {forms::kBackup, "Drive1", "Place", "The folder the folder list starts from"},
    {forms::kBackup, "Dir1", "Folder", "The folder the copies go to"},
    {forms::kBackup, "Command1", nullptr, "Make the copies"},
    {forms::kBackup, "Command2", nullptr, "Close without making copies"},

    // The exchange.
    {forms::kDownload, "Label8", "Messages", "What the exchange server answered"},
    {forms::kDownload, "tree", "Directories", "The exchange's categories; a double click lists a category's recipes"},
    {forms::kDownload, "list", "Available recipes", "The recipes of the category; a double click downloads one"},
    {forms::kUpload, "Command2", nullptr, "Close this window"},
};
// clang-format on

// The characters of the editors' character row, by the name a reader gives them.
struct CharacterName {
    char16_t character;
    const char* name;
};
constexpr std::array<CharacterName, 5> kCharacterNames = {{
    {0xB0, "Degree sign"},
    {0xBC, "One quarter"},
    {0xBD, "One half"},
    {0xBE, "Three quarters"},
    {0xB1, "Plus-minus sign"},
}};

QString plainCaption(QString text)
{
    // "&Add new..." reads "Add new", "Find:" reads "Find".
    text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    text = text.trimmed();
    while (text.endsWith(QLatin1Char(':')) || text.endsWith(QLatin1Char('.'))) text.chop(1);
    return text.trimmed();
}

bool ownedByAnotherControl(const QWidget* widget, const QWidget* window)
{
    for (const QWidget* up = widget->parentWidget(); up && up != window; up = up->parentWidget()) {
        if (qobject_cast<const QComboBox*>(up) || qobject_cast<const QLineEdit*>(up) ||
            qobject_cast<const QAbstractSpinBox*>(up) || qobject_cast<const QTabBar*>(up) ||
            qobject_cast<const QAbstractScrollArea*>(up) || up->isWindow()) {
            return true;
        }
    }
    return false;
}

// The label in front of a control in its layout: the form's label, the cell to its left in a
// grid, or the item before it in a row or a column.
QLabel* labelInLayout(const QLayout* layout, const QWidget* control)
{
    if (!layout) return nullptr;
    const int at = layout->indexOf(control);
    if (at < 0) {
        for (int i = 0; i < layout->count(); ++i) {
            if (QLabel* found = labelInLayout(layout->itemAt(i)->layout(), control)) return found;
        }
        return nullptr;
    }
    if (const auto* form = qobject_cast<const QFormLayout*>(layout)) {
        return qobject_cast<QLabel*>(form->labelForField(const_cast<QWidget*>(control)));
    }
    if (const auto* grid = qobject_cast<const QGridLayout*>(layout)) {
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(at, &row, &column, &rowSpan, &columnSpan);
        if (column > 0) {
            if (QLayoutItem* left = grid->itemAtPosition(row, column - 1)) {
                return qobject_cast<QLabel*>(left->widget());
            }
        }
        if (row > 0) {
            if (QLayoutItem* above = grid->itemAtPosition(row - 1, column)) {
                return qobject_cast<QLabel*>(above->widget());
            }
        }
        return nullptr;
    }
    for (int i = at - 1; i >= 0; --i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->spacerItem()) continue;
        return qobject_cast<QLabel*>(item->widget());
    }
    return nullptr;
}

void nameFromFallbacks(QWidget* control)
{
    // Lists and tables do not fall back on their tool tip for a description, as other
    // controls do.
    if (qobject_cast<QAbstractItemView*>(control) && control->accessibleDescription().isEmpty()) {
        control->setAccessibleDescription(control->toolTip());
    }
    if (!control->accessibleName().isEmpty()) return;
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        const QString text = button->text();
        for (const CharacterName& c : kCharacterNames) {
            if (text == QString(QChar(c.character))) {
                control->setAccessibleName(QString::fromUtf8(c.name));
                return;
            }
        }
        // A button says its caption; one with a picture only, its tool tip.
        if (!plainCaption(text).isEmpty()) return;
        control->setAccessibleName(plainCaption(button->toolTip()));
        return;
    }
    if (qobject_cast<QLabel*>(control)) return;  // a label says its text
    QString name = captionFor(control);
    if (name.isEmpty()) {
        if (auto* line = qobject_cast<QLineEdit*>(control)) name = line->placeholderText();
    }
    if (name.isEmpty()) name = control->toolTip();
    control->setAccessibleName(plainCaption(name));
}

// On Linux a reader names a drop-down list after the label that has it as its buddy (the list's
// own name is the entry it shows). The label in front of it becomes its buddy; a list without
// one gets a label that is never shown.
void labelDropDownList(QComboBox* list)
{
    const QWidget* window = list->window();
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (label->buddy() == list && label->parentWidget() == list->parentWidget()) return;
    }
    const QWidget* parent = list->parentWidget();
    if (QLabel* label = parent ? labelInLayout(parent->layout(), list) : nullptr;
        label && !label->buddy() && label->parentWidget() == parent) {
        label->setBuddy(list);
        return;
    }
    const QString name =
        list->accessibleName().isEmpty() ? plainCaption(list->toolTip()) : list->accessibleName();
    // The card round it says it already.
    const auto* card = qobject_cast<const QGroupBox*>(parent);
    if (name.isEmpty() || !parent || (card && plainCaption(card->title()) == name)) return;
    auto* unseen = new QLabel(name, list->parentWidget());
    unseen->setObjectName(list->objectName() + QStringLiteral("Caption"));
    unseen->setBuddy(list);
    unseen->hide();
}

}  // namespace

QString captionFor(const QWidget* control)
{
    const QWidget* parent = control->parentWidget();
    if (!parent) return {};
    const QWidget* window = control->window();
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (label->buddy() == control) return plainCaption(label->text());
    }
    if (const QLabel* label = labelInLayout(parent->layout(), control)) {
        return plainCaption(label->text());
    }
    return {};
}

bool isInteractiveControl(const QWidget* widget, const QWidget* window)
{
    if (widget == window || widget->objectName().startsWith(QLatin1String("qt_"))) return false;
    if (qobject_cast<const QScrollBar*>(widget) || qobject_cast<const QMdiSubWindow*>(widget)) {
        return false;
    }
    if (ownedByAnotherControl(widget, window)) return false;
    if (qobject_cast<const QAbstractButton*>(widget)) return true;
    return widget->focusPolicy() != Qt::NoFocus;
}

void describeControls(QWidget* window)
{
    const QString form = window->objectName();
    for (const ControlText& text : kControlTexts) {
        if (form != text.form) continue;
        for (QWidget* control : window->findChildren<QWidget*>(QLatin1String(text.control))) {
            if (text.name) control->setAccessibleName(QString::fromUtf8(text.name));
            if (text.description) {
                control->setAccessibleDescription(QString::fromUtf8(text.description));
            }
        }
    }
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (isInteractiveControl(control, window) && !isHiddenFromScreenReaders(control)) {
            nameFromFallbacks(control);
            if (auto* list = qobject_cast<QComboBox*>(control)) labelDropDownList(list);
        }
    }
}

}  // namespace culvora::gui
