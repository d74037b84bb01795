#pragma once

// "cal", The (kcal)culator: the cook picks ingredients from the nutrition table, gives the
// grams of each, and reads the energy and nutrients of the whole dish. Nothing is saved.

#include <QStringList>
#include <QWidget>

#include <array>
#include <string>
#include <vector>

#include "core/nutrition/nutrition.h"
#include "gui/app/app_context.h"
#include "gui/app/unsaved_input.h"

class QHelpEvent;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;

namespace culvora::gui {

class CalculatorWindow : public QWidget, public UnsavedInput {
    Q_OBJECT
public:
    explicit CalculatorWindow(AppContext& app, QWidget* parent = nullptr);

    // The totals' texts, Label6 to Label15.
    QStringList totals() const;
    QTimer* clearTimer() const { return clearTimer_; }

    // UnsavedInput: the dish's lines. The calculator keeps nothing, so closing asks whether
    // they may go.
    bool hasUnsavedInput() const override { return !dish_.empty(); }
    QString unsavedInputName() const override { return QStringLiteral("the calculator's list"); }
    bool canSaveInput() const override { return false; }

public slots:
    void add();        // "Add", or Enter in the amount box
    void remove();     // "Delete"
    void clear();      // "Clear"
    void calculate();  // "Räkna!"
    void openHelp();   // "Help"
    // The find box over List1: shows the names that hold every typed word.
    void filterNames(const QString& typed);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Enter presses the button that has the focus, else "Räkna!".
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void fillNames();
    void showTotals(const std::array<std::string, nutrition::kValueCount>& texts);
    // The amount box's key filter: true when the key was refused.
    bool refuseKey(const QString& typed);
    // "Endast siffror, tack!", and the amount box emptied a moment later.
    void refuseAmount();
    // Moves the choice in List1 to the next shown name above or below.
    void stepChoice(int direction);
    void selectDishLine(int row);
    void showWholeName(QListWidget* list, QHelpEvent* event);

    AppContext& app_;
    std::vector<std::string> names_;  // List1's names, Windows-1252, in the list's order
    std::vector<nutrition::DishLine> dish_;

    QLineEdit* findBox_ = nullptr;
    QLabel* noMatch_ = nullptr;
    QListWidget* nameList_ = nullptr;                            // List1
    QLineEdit* amountBox_ = nullptr;                             // Text1
    QListWidget* dishNames_ = nullptr;                           // List2
    QListWidget* dishAmounts_ = nullptr;                         // List3
    std::array<QLabel*, nutrition::kValueCount> totalLabels_{};  // Label6..Label15
    QTimer* clearTimer_ = nullptr;                               // Timer1
    QPushButton* calculateButton_ = nullptr;                     // Command4
};

}  // namespace culvora::gui
