#pragma once

// The week's shopping list, shown beside the weekly menu: the dishes' ingredient lines made
// into one list (like lines added up), to read, print, or save as a PDF where no printer is.

#include <QDialog>

#include <string>
#include <vector>

#include "gui/app/app_context.h"

class QPlainTextEdit;
class QPushButton;

namespace culvora::gui {

class ShoppingListDialog : public QDialog {
    Q_OBJECT
public:
    // `list`: the lines in Windows-1252, as menu::shoppingList makes them.
    ShoppingListDialog(AppContext& app, std::vector<std::string> list, QWidget* parent = nullptr);

    const std::vector<std::string>& list() const { return list_; }

public slots:
    // Prints the list; cancelling the print dialog prints nothing.
    void printList();

private:
    AppContext& app_;
    std::vector<std::string> list_;
    QPlainTextEdit* text_ = nullptr;
};

}  // namespace culvora::gui
