#pragma once

// "SkrivUt": prints the recipe on show in the viewer, whole or as a grocery list.

#include <QWidget>

#include "core/recipes/printout.h"
#include "gui/app/app_context.h"

class QLabel;
class QRadioButton;

namespace culvora::gui {

class PrintoutWindow : public QWidget {
    Q_OBJECT
public:
    // `shown` is the recipe the viewer showed when "Print" was clicked.
    PrintoutWindow(AppContext& app, recipes::ShownRecipe shown, QWidget* parent = nullptr);

    // What "Ok" prints: the recipe the viewer shows now, or the one it showed at the start
    // when the viewer has been closed since.
    recipes::ShownRecipe recipeToPrint() const;

public slots:
    void printAndClose();  // "Ok"
    void cancel();         // "Cancel"
    // Names the recipe "Ok" would print; run again whenever the window comes to the front.
    void showRecipeName();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AppContext& app_;
    recipes::ShownRecipe opened_;
    QLabel* nameLabel_ = nullptr;
    QRadioButton* recipeOption_ = nullptr;   // option2
    QRadioButton* groceryOption_ = nullptr;  // option1
};

void registerPrintoutWindow(AppContext& app);

}  // namespace culvora::gui
