#pragma once

// "frmAdd", "New ingredients?": the words of a new or downloaded recipe that the Fridge list
// does not know, each to be ticked on its own. "Done" appends the ticked words to sok.txt and
// refreshes the recipe browser, which then lists the new recipe.

#include <QWidget>

#include <string>
#include <vector>

#include "gui/app/app_context.h"
#include "gui/app/handover.h"

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace culvora::gui {

class NewIngredientsDialog : public QWidget, public IngredientOffer {
    Q_OBJECT
public:
    explicit NewIngredientsDialog(AppContext& app, QWidget* parent = nullptr);

    // IngredientOffer: adds words (Windows-1252) to List1 in their sorted places, unticked.
    void addWords(const std::vector<std::string>& added) override;
    // The words of List1 from top to bottom, and those ticked.
    std::vector<std::string> words() const;
    std::vector<std::string> tickedWords() const;

public slots:
    // "Done": the ticked words appended to sok.txt in the list's order, the browser refreshed,
    // the dialog closed. A failed write is reported and the dialog stays open.
    void done();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AppContext& app_;
    QListWidget* list_ = nullptr;
    QPushButton* doneButton_ = nullptr;
    // The entry under the last press and its mark then.
    QListWidgetItem* pressedItem_ = nullptr;
    Qt::CheckState pressedState_ = Qt::Unchecked;
};

}  // namespace culvora::gui
