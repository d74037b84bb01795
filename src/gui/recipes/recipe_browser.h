#pragma once

// "recept": the recipe browser. Every recipe of the current cookbook as a name under its
// letter heading, in columns of ten; a click opens the viewer, a name held for 300 ms is
// dragged onto "Edit", "Move", "Upload" or "Delete".

#include <QElapsedTimer>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/search/recipe_find.h"
#include "gui/app/app_context.h"
#include "gui/recipes/browser_layout.h"
#include "gui/recipes/recipe_routines.h"

class QCheckBox;
class QFont;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace culvora::gui {

class NameCanvas;

// The heading font: a decorative script when one is installed, else a bold serif.
QFont headingFont();

class RecipeBrowser : public QWidget, public RecipeBrowserLists {
    Q_OBJECT
public:
    // The drag of a pressed name, replaceable so that a test can watch it start without the
    // platform's drag loop. It returns the objectName of the button the name was dropped on
    // (empty when dropped anywhere else).
    using DragStarter = std::function<QString(int nameIndex)>;

    explicit RecipeBrowser(AppContext& app, QWidget* parent = nullptr);
    ~RecipeBrowser() override;

    // RecipeBrowserLists: FillRecipeList and DeleteRecipe act on the window through these.
    void setRecipeIndex(const store::RecipeIndex& index) override;
    void hideNameLabel(int index) override;
    int findNameLabel(const std::string& name) const override;
    int findRecordLabel(const std::string& name, std::size_t occurrence) const override;
    // The recipe a name label stands for: its caption and which recipe of that name it is.
    store::RecordKey recordOf(int nameIndex) const;

    // Creates the labels from the list FillRecipeList made (once, when the window opens).
    void placeLabels();

    // The find field and its "Every word" box: the names shown are those that hold the field's
    // text (with the box ticked: those whose recipe holds it on any line), under the headings
    // of their letters; the count says how many of how many. The cookbook is read for it once
    // after each fill, when the field first takes the focus or a letter is typed.
    QLineEdit* findField() const { return findField_; }
    QCheckBox* everywhereBox() const { return everywhereBox_; }
    // Enter in the field: opens the first recipe found. False when the field is empty or
    // nothing is found.
    bool openFirstFound();

    const BrowserLayout& layout() const { return layout_; }
    const std::vector<store::IndexEntry>& sortedList() const { return list_; }  // List1
    int dragIndex() const { return dragIndex_; }
    QTimer* dragTimer() const { return dragTimer_; }
    QTimer* moveTimer() const { return moveTimer_; }

    // Where a label is drawn, in the window's pixels; empty when it is not on screen.
    QRect labelRect(LabelRef ref) const;
    // The pressed colour of the name and the hover bar while the button is held.
    bool namePressed() const { return pressed_; }
    // The name the keyboard is on (a ratt index), 0 before a key has chosen one.
    int focusedName() const { return focusName_; }
    // The tool tip at a point: the whole name of a name cut short on screen, else nothing.
    QString toolTipAt(const QPoint& windowPos) const;
    // True when a name does not fit its column and is shown cut short with "…".
    bool isElided(int nameIndex) const;
    // What the bar under a name shows: nothing for a name that fits, its whole text for one
    // that is cut short.
    QString barText() const;

    void setDragStarter(DragStarter starter) { dragStarter_ = std::move(starter); }

    // "Edit", "Move", "Upload" and "Delete" (Command3, 5, 6, 9) take a dropped name;
    // everything else refuses it.
    static bool isDropTarget(const QString& objectName);
    // The MIME type a dragged name travels as; the targets refuse anything else.
    static QString dragFormat();
    // imgDrag, imgDrop, imgNo: the delivered pictures, or drawn ones when they are missing;
    // read when a drag first needs them.
    const QPixmap& dragIcon() const { return dragIcons().drag; }
    const QPixmap& dropIcon() const { return dragIcons().drop; }
    const QPixmap& noDropIcon() const { return dragIcons().noDrop; }

public slots:
    // Shows what the find field finds (everything when it is empty).
    void applyFind();
    // Escape in the field: empties it and shows every recipe again.
    void clearFind();
    void scrollLeft();   // "<"
    void scrollRight();  // ">"
    void pressLetter(int index);
    void openNewRecipe();  // "New recipe"
    void popupOptions();   // "Options >"
    // A click on a drop target instead of a drop: "Drag and drop a recipe to do this".
    void refuseActionClick();
    // What a name dropped on "Edit", "Move", "Upload" or "Delete" does; the name is the one
    // pressed last (dragIndex).
    void editDragged();
    void moveDragged();
    void uploadDragged();
    void deleteDragged();
    // Timer2: the name has been held long enough; the drag starts.
    void dragTimerFired();
    // Timer3: the destination chooser has closed; the move runs.
    void moveTimerFired();
    // What a name dropped on a button does; the name is the one pressed last (dragIndex).
    void dropOn(const QString& targetName);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    friend class NameCanvas;

    // The button row and the drop targets, as tables.
    struct RowButton {
        const char* name;
        const char* caption;
        const char* tip;
        int left;
        int width;
        void (RecipeBrowser::*clicked)();
    };
    struct DropTarget {
        const char* button;
        QLatin1String window;  // the window the drop opens; none for what the browser does
        void (RecipeBrowser::*dropped)();
    };
    static const std::vector<RowButton>& rowButtons();
    static const DropTarget* dropTarget(const QString& objectName);
    bool dropTargetAvailable(const DropTarget& target) const;
    std::string draggedName() const;
    std::size_t draggedOccurrence() const;

    void buildControls();
    void buildFindField();
    // The count line: the fill's "Number of recipes: N", or how many of them the field finds.
    void showCount();
    // The letters of the strip that have no recipe found are greyed out while finding.
    void updateLetters();
    // Reads the cookbook for the find field, unless it has been since the last fill.
    void readForFinding();
    // The name label of a record the finder found, or -1.
    int labelOfRecord(store::RecordKey key);
    QPushButton* addButton(const char* name, const QString& caption, const QString& tip,
                           QWidget* parent = nullptr);
    QPushButton* letterButton(int index) const;
    // Checks the letter the first column begins in.
    void showCurrentLetter();
    void focusSink();

    // The canvas's mouse handling.
    LabelSizes labelSizes() const;
    int labelWidth(LabelRef ref) const;
    LabelRef labelAt(const QPoint& windowPos) const;
    void hoverAt(const QPoint& windowPos);
    // The names without a mouse: arrows, Home and End move, Enter opens the viewer, Delete
    // asks to delete, letters jump to the first name that begins with what was typed.
    bool keyOnNames(QKeyEvent* event);
    void focusOnName(int nameIndex);
    void pressAt(const QPoint& windowPos);
    void releaseName();
    void hideBar();
    void showBar(int nameIndex);
    void afterScroll();
    QString runPlatformDrag(int nameIndex);

    AppContext& app_;
    BrowserLayout layout_;
    std::vector<store::IndexEntry> list_;  // List1: headers and names in the program's order
    QPixmap background_;                   // Image1
    struct DragIcons {
        QPixmap drag;    // imgDrag
        QPixmap drop;    // imgDrop
        QPixmap noDrop;  // imgNo
    };
    const DragIcons& dragIcons() const;
    mutable std::optional<DragIcons> dragIcons_;

    NameCanvas* canvas_ = nullptr;
    QWidget* letters_ = nullptr;  // the strip of Command10
    QLabel* bar_ = nullptr;             // Label3
    QLabel* count_ = nullptr;           // label4
    QLineEdit* findField_ = nullptr;
    QCheckBox* everywhereBox_ = nullptr;
    QString countText_;  // what the fill wrote in label4
    int recipeCount_ = 0;
    // Read from the cookbook at the first search after a fill; the name labels of each name,
    // in list order, to find a record's label by its occurrence.
    std::optional<search::RecipeFinder> finder_;
    std::unordered_map<std::string, std::vector<int>> labelsOfName_;
    QPushButton* focusSink_ = nullptr;  // Command7
    QPushButton* optionsButton_ = nullptr;
    QTimer* dragTimer_ = nullptr;  // Timer2
    QTimer* moveTimer_ = nullptr;  // Timer3

    int dragIndex_ = 0;
    bool pressed_ = false;
    int focusName_ = 0;
    QString typed_;  // the letters typed in a row, for the jump
    QElapsedTimer typedAt_;
    int barName_ = 0;  // the name the bar stands under, 0 when hidden
    QString dropTarget_;
    DragStarter dragStarter_;
};

}  // namespace culvora::gui
