#pragma once

// "drinkar", "Drinks": the drinks by name, sorted, through the glass filter of the main
// window, and every drink action: open, add, edit, delete, reload. The filter button pops the
// main window's filter menu up under itself; a choice there reloads the list 100 ms later
// (Timer1), and closing the window takes the filter off again.

#include <QWidget>

#include <optional>
#include <string>

#include "core/drinks/drinks.h"
#include "gui/app/app_context.h"

class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

namespace culvora::gui {

class DrinksList : public QWidget {
    Q_OBJECT
public:
    explicit DrinksList(AppContext& app, QWidget* parent = nullptr);

    // The selected drink's name (Windows-1252); nothing when no entry is selected.
    std::optional<std::string> selectedName() const;
    QTimer* filterTimer() const { return filterTimer_; }  // Timer1

public slots:
    void reload();               // "Update", Timer1 and the opening: through the glass filter
    void refillWithoutFilter();  // after a new drink: every drink, the filter taken off
    void openSelected();         // "Open"
    void addDrink();             // "Add drink"
    void editSelected();         // "Edit"
    void deleteSelected();       // "Delete"
    void popupFilterMenu();      // the filter button

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void fill(const drinks::GlassFilter* filter);
    // The filter button's caption, colour and tip as the filter stands.
    void showFilterState();
    void filterChanged();

    AppContext& app_;
    QListWidget* list_ = nullptr;          // List1
    QLabel* count_ = nullptr;              // Label2
    QPushButton* filterButton_ = nullptr;  // Command7
    QTimer* filterTimer_ = nullptr;        // Timer1
};

}  // namespace culvora::gui
