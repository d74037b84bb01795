#pragma once

// "frmPapperskorg": the bin. Lists the recipes and drinks deleted lately, newest first, with
// the cookbook each came from and when; "Put back" returns the selected one to the end of
// where it came from (a taken name gets a number), and the browser or the drinks list shows
// it at once.

#include <QWidget>

#include <vector>

#include "core/store/bin.h"
#include "gui/app/app_context.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace culvora::gui {

class BinWindow : public QWidget {
    Q_OBJECT
public:
    explicit BinWindow(AppContext& app, QWidget* parent = nullptr);

    // The entries as listed, top row first.
    const std::vector<store::BinEntry>& entries() const { return entries_; }

public slots:
    void reload();
    void putBackSelected();  // "Put back", the default button

private:
    AppContext& app_;
    QTreeWidget* list_ = nullptr;
    QPushButton* putBackButton_ = nullptr;
    QLabel* label_ = nullptr;
    std::vector<store::BinEntry> entries_;  // newest first, as the rows
};

}  // namespace culvora::gui
