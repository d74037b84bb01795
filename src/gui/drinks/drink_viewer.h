#pragma once

// "VisaDrink", "View drink recipe": one drink as a small printed card (its name as a dark blue
// title, the ingredients as a bulleted list, the mixing instructions, and the program's
// footer) beside the picture of the glass it is served in. "Print" prints the card, or only
// the part of it that is selected.

#include <QWidget>

#include <optional>
#include <string>

#include "core/drinks/drinks.h"
#include "core/print/print_job.h"
#include "gui/app/app_context.h"

class QLabel;
class QPushButton;
class QTextEdit;

namespace culvora::gui {

class DrinkViewer : public QWidget {
    Q_OBJECT
public:
    // The drink as it was read when the window opened; the window does not follow later
    // changes to the file.
    DrinkViewer(AppContext& app, drinks::Drink drink, QWidget* parent = nullptr);

    const std::string& drinkName() const { return drink_.name; }
    const drinks::Drink& drink() const { return drink_; }
    QSize sizeHint() const override;

    // What "Print" sends: three empty lines, then the selected part of the text, or all of it
    // when nothing is selected, in the fonts it has on screen. Nothing (after saying why) when
    // a character cannot be printed.
    std::optional<print::PrintJob> printJob();

public slots:
    void printDrink();  // "Print"

private:
    void buildControls();
    void buildText();
    void showGlass();

    AppContext& app_;
    drinks::Drink drink_;
    QTextEdit* text_ = nullptr;           // Text1
    QWidget* waitPanel_ = nullptr;        // Picture1 with Label1
    QLabel* picture_ = nullptr;           // image1
    QLabel* glassCaption_ = nullptr;      // Label3
    QPushButton* closeButton_ = nullptr;  // Command2
};

}  // namespace culvora::gui
