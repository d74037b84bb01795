#pragma once

// "Valj": the cookbooks the user keeps. Choose the current one, delete one, add a new one.

#include <QWidget>

#include <string>

#include "gui/app/app_context.h"

class QListWidget;
class QPushButton;

namespace culvora::gui {

class CookbooksDialog : public QWidget {
    Q_OBJECT
public:
    explicit CookbooksDialog(AppContext& app, QWidget* parent = nullptr);

    // Reads bocker.txt into List1 again in the program's sort order; with `selectCurrent` the
    // current cookbook's title is selected.
    void fillList(bool selectCurrent);
    int titleCount() const;

public slots:
    void useSelected();     // "&Use", also a double click or Enter on a title
    void deleteSelected();  // "&Delete"
    void addNew();          // "&Add new..."

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::string selectedTitle() const;
    void fallBackAfterDelete();

    AppContext& app_;
    QListWidget* list_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    // Set when the current cookbook was deleted and no other has been chosen yet.
    bool currentDeleted_ = false;
};

}  // namespace culvora::gui
