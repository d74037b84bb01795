#pragma once

// "frmWhere": asks which cookbook a recipe goes into. It never does the work itself: its
// confirm button records the choice in the shell state, closes the chooser and then starts
// the opener's one-shot timer, whose handler runs the operation. Openers reach it through
// openDestinationChooser (gui/app/handover.h).

#include <QPointer>
#include <QWidget>

#include <string>

#include "gui/app/app_context.h"
#include "gui/app/handover.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QTimer;

namespace culvora::gui {

class DestinationChooser : public QWidget, public DestinationChoice {
    Q_OBJECT
public:
    explicit DestinationChooser(AppContext& app, QWidget* parent = nullptr);

    // DestinationChoice: the confirm caption, the check box (cleared and disabled unless
    // downloading) and the opener's timer to start once the chooser has closed.
    void setOperation(ChooserMode mode, QTimer* timer) override;
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

}  // namespace culvora::gui
