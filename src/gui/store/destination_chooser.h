#pragma once

// "frmWhere": asks which cookbook a recipe goes into. It never does the work itself: its
// confirm button records the choice in the shell state, closes the chooser and then starts
// the opener's one-shot timer, whose handler runs the operation.

#include <QPointer>
#include <QWidget>

#include <string>

#include "gui/app/app_context.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QTimer;

namespace culvora::gui {

// What the confirm button starts; its caption names it.
enum class ChooserMode {
    Move,      // the browser's move (its Timer3)
    Import,    // the Meal-Master import (the main window's Timer1)
    Download,  // the recipe download (the download window's Timer1)
};

class DestinationChooser : public QWidget {
    Q_OBJECT
public:
    explicit DestinationChooser(AppContext& app, QWidget* parent = nullptr);

    // Prepares the chooser for an opener: the confirm caption, the check box (cleared and
    // disabled unless downloading) and the timer to start once the chooser has closed.
    void setOperation(ChooserMode mode, QTimer* timer);
    ChooserMode mode() const { return mode_; }

public slots:
    void confirm();  // Command1: "Move", "Import" or "Download"

private:
    AppContext& app_;
    QComboBox* books_ = nullptr;
    QCheckBox* checkIngredients_ = nullptr;
    QPushButton* confirmButton_ = nullptr;
    ChooserMode mode_ = ChooserMode::Download;
    QPointer<QTimer> timer_;
};

// Opens the chooser for an operation (or prepares the one already open) and returns it.
// `timer` belongs to the opener; the chooser starts it after confirming and closing, and
// never when cancelled.
DestinationChooser* openDestinationChooser(AppContext& app, ChooserMode mode, QTimer* timer);

}  // namespace culvora::gui
