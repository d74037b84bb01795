#pragma once

// "listan", "The refrigerator index": the Fridge list sok.txt in a sorted list. Words are
// added in lower case and deleted in the window; "&Ok" writes the list in alphabetical order,
// "&Cancel" leaves the file as it was.

#include <QWidget>

#include <string>
#include <vector>

#include "gui/app/app_context.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace culvora::gui {

class FridgeListEditor : public QWidget {
    Q_OBJECT
public:
    explicit FridgeListEditor(AppContext& app, QWidget* parent = nullptr);

    // The words of List1 from top to bottom (Windows-1252).
    std::vector<std::string> words() const;
    // The focus in the box, ready for the first word.
    void startEditing();

public slots:
    void addWord();     // "&Add", also Enter in the box
    void deleteWord();  // "&Delete", also the Delete key in the list
    void save();        // "&Ok"

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void insertSorted(const std::string& word);
    void showCount();

    AppContext& app_;
    QListWidget* list_ = nullptr;
    QLineEdit* wordBox_ = nullptr;
    QLabel* count_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

}  // namespace culvora::gui
