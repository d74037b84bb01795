#pragma once

// "frmBackup": copies the current cookbook and the drinks file, under their own names, to the
// removable medium ("Drive A:") or to a folder the user picks ("Other destination..."). It
// opens on the medium when one is mounted, else on the folders.

#include <QString>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <optional>

#include "gui/app/app_context.h"

class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QLabel;
class QPushButton;
class QTreeView;

namespace culvora::gui {

class BackupWindow : public QWidget {
    Q_OBJECT
public:
    using MediumFinder = std::function<std::optional<std::filesystem::path>()>;

    explicit BackupWindow(AppContext& app, QWidget* parent = nullptr);

    // Once the window is on screen: Enter then starts the backup instead of ticking or
    // clearing the box that would have the focus first.
    void focusOkButton();

    // What "Drive A:" stands for here, shown under the destination while it is chosen: the
    // mounted medium's folder, or that none is plugged in.
    QString mediumText() const;

    // Where the first removable medium is mounted ("Drive A:", and an entry of Drive1);
    // transfer::removableMedium unless a test hands in its own. The window then looks again
    // and chooses its destination as it does when it opens.
    void setMediumFinder(MediumFinder finder);

    // Drive1's places: the home folder, the whole computer ("/") and, when one is mounted,
    // the removable medium.
    QStringList drivePaths() const;
    // The folder "Other destination..." copies into: the folder selected in Dir1, or the
    // place chosen in Drive1 while none is.
    QString chosenFolder() const;

public slots:
    void startBackup();            // Command1 "Ok"
    void updateOkButton();         // after a click on Check1 or Check2
    void chooseDestinationKind();  // Combo1
    void chooseDrive();            // Drive1
    // Shows a folder in Dir1 and selects it, choosing the place of Drive1 that holds it.
    void selectFolder(const QString& path);

private:
    void fillDrives();
    void showMedium();
    // "Drive A:" when a removable medium is mounted, else "Other destination...".
    void chooseFirstDestination();

    AppContext& app_;
    MediumFinder findMedium_;
    QCheckBox* recipesBox_ = nullptr;
    QCheckBox* drinksBox_ = nullptr;
    QComboBox* kind_ = nullptr;
    QLabel* mediumHint_ = nullptr;
    QComboBox* drives_ = nullptr;
    QTreeView* folders_ = nullptr;
    QFileSystemModel* model_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

}  // namespace culvora::gui
