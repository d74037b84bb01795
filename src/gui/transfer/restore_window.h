#pragma once

// "frmRestore": puts a backup back. The user picks the backup's folder; the window lists what
// it holds (each file with its size and date in the backup, and whether the data folder has a
// file it will replace) and what it leaves out, and "Restore" asks before it replaces them.

#include <QString>
#include <QWidget>

#include <optional>

#include "core/transfer/restore.h"
#include "gui/app/app_context.h"

class QFileSystemModel;
class QLabel;
class QPushButton;
class QTreeView;
class QTreeWidget;

namespace culvora::gui {

class RestoreWindow : public QWidget {
    Q_OBJECT
public:
    explicit RestoreWindow(AppContext& app, QWidget* parent = nullptr);

    // The folder the list shows, empty before one is chosen.
    QString chosenFolder() const { return folder_; }

public slots:
    // Reads the folder and lists what a restore from it would do.
    void selectFolder(const QString& path);
    void startRestore();  // "Restore", the default button

private:
    AppContext& app_;
    QFileSystemModel* model_ = nullptr;
    QTreeView* folders_ = nullptr;
    QTreeWidget* files_ = nullptr;
    QLabel* notes_ = nullptr;
    QPushButton* restoreButton_ = nullptr;
    QString folder_;
    std::optional<transfer::RestorePlan> plan_;
};

}  // namespace culvora::gui
