#pragma once

// "nytyp": the recipe types the editors offer. Changes stay in the list until "Ok" writes
// typer.txt; "Cancel" leaves the file as it was.

#include <QWidget>

#include <string>
#include <vector>

#include "gui/app/app_context.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace culvora::gui {

class RecipeTypesWindow : public QWidget {
    Q_OBJECT
public:
    explicit RecipeTypesWindow(AppContext& app, QWidget* parent = nullptr);

    // The names in List1 from top to bottom (Windows-1252).
    std::vector<std::string> types() const;

public slots:
    void addType();     // "Add", also Enter in the text box
    void deleteType();  // "Delete"
    void save();        // "Ok"

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void insertSorted(const std::string& name);

    AppContext& app_;
    QListWidget* list_ = nullptr;
    QLineEdit* nameBox_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

}  // namespace culvora::gui
