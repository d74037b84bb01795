#pragma once

// "listan", "The refrigerator index": the Fridge list sok.txt in a sorted list. Words are
// added in lower case and deleted in the window; "&Ok" writes the list in alphabetical order,
// "&Cancel" leaves the file as it was.

#include <QWidget>

#include <string>
#include <vector>

#include "gui/app/app_context.h"
#include "gui/app/unsaved_input.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace culvora::gui {

class FridgeListEditor : public QWidget, public UnsavedInput {
    Q_OBJECT
public:
    explicit FridgeListEditor(AppContext& app, QWidget* parent = nullptr);

    // The words of List1 from top to bottom (Windows-1252).
    std::vector<std::string> words() const;
    // The focus in the box, ready for the first word.
    void startEditing();

    // UnsavedInput: the words changed since the list was read, or a word typed and not added.
    bool hasUnsavedInput() const override;
    QString unsavedInputName() const override { return QStringLiteral("the Fridge list"); }
    // The word in the box is added first, then the list is written ("&Ok").
    void saveInput() override;

public slots:
    void addWord();     // "&Add", also Enter in the box
    void deleteWord();  // "&Delete", also the Delete key in the list
    void save();        // "&Ok"

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void insertSorted(const std::string& word);
    void showCount();

    AppContext& app_;
    std::vector<std::string> read_;  // the words as sok.txt gave them, in the list's order
    QListWidget* list_ = nullptr;
    QLineEdit* wordBox_ = nullptr;
    QLabel* count_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

}  // namespace culvora::gui
