#pragma once

// "frmAdd", "New ingredients?": the words of a new or downloaded recipe that the Fridge list
// does not know, each to be ticked on its own. "Done" appends the ticked words to sok.txt and
// refreshes the recipe browser, which then lists the new recipe.

#include <QWidget>

#include <string>
#include <vector>

#include "core/search/fridge_list.h"
#include "gui/app/app_context.h"

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace culvora::gui {

// The new-ingredient check, after a recipe has been added to a cookbook: the candidate words
// of its ingredient lines (empty lines left out by the caller) that sok.txt does not hold are
// offered in "New ingredients?", which stays open after the caller has gone. A dialog that is
// still open from an earlier recipe takes the new words too. When there is no word to offer,
// no dialog is shown (an empty one after every save would only be in the way), and the browser
// is refreshed at once instead, as "Done" would have done. The download shows the dialog
// even then (NothingNew::ShowDialog), empty when it has nothing to offer.
enum class NothingNew { RefreshBrowser, ShowDialog };
void runNewIngredientCheck(AppContext& app, const std::vector<std::string>& ingredientLines,
                           search::CheckVariant variant,
                           NothingNew nothingNew = NothingNew::RefreshBrowser);

// Closes and reopens the recipe browser, so that its list is read anew; it opens even when it
// was closed, since the point is to see the new recipe in the cookbook.
void refreshRecipeBrowser(AppContext& app);

class NewIngredientsDialog : public QWidget {
    Q_OBJECT
public:
    explicit NewIngredientsDialog(AppContext& app, QWidget* parent = nullptr);

    // Adds words (Windows-1252) to List1 in their sorted places, unticked.
    void addWords(const std::vector<std::string>& added);
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
