#pragma once

// "frmMenu": a dinner for each evening of the week. The week lies on a note (Picture1), one
// line a day; the frame beside it (Frame1) composes one day at a time: the kind of meal, the
// Fridge-list words the dish must hold, and "Search", which picks one of the recipes that
// qualify. A "+" beside a day lists every recipe that qualified; a click on a dish opens it.

#include <QWidget>

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/menu/weekly_menu.h"
#include "gui/app/app_context.h"
#include "gui/app/unsaved_input.h"

class QFrame;
class QGroupBox;
class QKeyEvent;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;

namespace culvora::gui {

class ClickableLabel;

class WeeklyMenuWindow : public QWidget, public UnsavedInput {
    Q_OBJECT
public:
    explicit WeeklyMenuWindow(AppContext& app, QWidget* parent = nullptr);

    // The day Frame1 composes, 1 (Monday) to 7 (Sunday).
    int composingDay() const { return composingDay_; }
    // The day label the highlight frame `ram` is round, 0 (Monday) to 6.
    int highlightedDay() const { return highlightedDay_; }
    // Each evening's dish caption, Monday first (Windows-1252).
    const std::array<std::string, 7>& dishes() const { return dishes_; }
    // The words ticked in List1 (Windows-1252), top to bottom.
    std::vector<std::string> tickedWords() const;
    menu::Meal meal() const;

    // Composes the day of that name: the recipes of the current cookbook that fit the chosen
    // meal and hold every ticked word become the day's candidates, and one of them, picked at
    // random, its dish.
    void Compose(std::string_view dayName);

    // UnsavedInput: a week with a dish in it that has changed since it was last printed. It is
    // kept the way the window keeps it: "Print report", on paper or, without a printer, as a
    // PDF.
    bool hasUnsavedInput() const override;
    QString unsavedInputName() const override { return QStringLiteral("the weekly menu"); }
    void saveInput() override;

public slots:
    void clickDay(int index);                     // klick(index), Monday = 0
    void stepToNextDay();                         // Command3
    void stepToPreviousDay();                     // Command4
    void search();                                // Command5, "Search"
    void openCandidates(int index);               // plus(index), Monday = 0
    void chooseCandidate(QListWidgetItem* item);  // a click in List3
    void openDish(int day);                       // a click on dagens(day), Monday = 1
    void printReport();                           // Command1
    // "Shopping list": the week's dishes' ingredients in one list, shown to print.
    void openShoppingList();
    void openHelp();                              // Command6
    void closeMenu();                             // Command2

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Enter presses the button that has the focus, else "Search".
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWeek();
    void buildComposer();
    void fillWordList();
    void showDay(int day);
    void showDish(int day);
    void untickWords();
    void placeHighlight(int index);
    void hideCandidates();
    void showArrowCaptions();
    // "Print report": false when the print dialog was cancelled.
    bool printMenu();

    AppContext& app_;
    int composingDay_ = 1;
    int highlightedDay_ = 0;
    int openListDay_ = 0;
    std::array<std::string, 7> dishes_;
    std::array<std::string, 7> printed_;  // the dishes as last printed
    // Each day's candidates from its last search, in the program's alphabetical order.
    std::array<std::vector<std::string>, 7> candidates_;

    QWidget* week_ = nullptr;                      // Picture1
    std::array<ClickableLabel*, 7> dayLabels_{};   // klick(0..6)
    std::array<ClickableLabel*, 7> dishLabels_{};  // dagens(1..7)
    std::array<ClickableLabel*, 7> plusLabels_{};  // plus(0..6)
    QFrame* highlight_ = nullptr;                  // ram
    QListWidget* candidateList_ = nullptr;         // List3
    QGroupBox* dayFrame_ = nullptr;                // Frame1
    QPushButton* previousButton_ = nullptr;        // Command4
    QPushButton* nextButton_ = nullptr;            // Command3
    QPushButton* searchButton_ = nullptr;          // Command5
    QPushButton* shoppingButton_ = nullptr;        // "Shopping list"
    std::array<QRadioButton*, 3> mealOptions_{};   // Option1..3
    QListWidget* wordList_ = nullptr;              // List1
};

}  // namespace culvora::gui
