#include "gui/transfer/backup_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTreeView>
#include <QVBoxLayout>

#include "core/transfer/backup.h"
#include "gui/app/geometry.h"
#include "gui/app/qt_text.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/theme/theme.h"
#include "gui/widgets/wait_cursor.h"

namespace culvora::gui {

namespace {

constexpr int kDriveA = 0;
constexpr int kOtherDestination = 1;

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString pathText(const std::filesystem::path& path)
{
    return QString::fromStdString(path.string());
}

QPushButton* button(const char* name, const QString& caption, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setMinimumWidth(twips(1300));
    return b;
}

}  // namespace

BackupWindow::BackupWindow(AppContext& app, QWidget* parent)
    : QWidget(parent),
      app_(app),
      findMedium_([] { return transfer::removableMedium(); })
{
    setObjectName(forms::kBackup);
    setWindowTitle(QStringLiteral("Backup"));
    setProperty("paper", true);
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(theme::transferStyle());

    auto* options = new QGroupBox(QStringLiteral("Options"), this);
    options->setObjectName(QStringLiteral("Frame1"));
    recipesBox_ = new QCheckBox(QStringLiteral("Recipes (current cookbook)"), options);
    recipesBox_->setObjectName(QStringLiteral("Check1"));
    drinksBox_ = new QCheckBox(QStringLiteral("Drinks"), options);
    drinksBox_->setObjectName(QStringLiteral("Check2"));
    recipesBox_->setChecked(true);
    drinksBox_->setChecked(true);
    connect(recipesBox_, &QCheckBox::clicked, this, &BackupWindow::updateOkButton);
    connect(drinksBox_, &QCheckBox::clicked, this, &BackupWindow::updateOkButton);
    auto* optionsLayout = new QVBoxLayout(options);
    optionsLayout->addWidget(recipesBox_);
    optionsLayout->addWidget(drinksBox_);

    auto* destination = new QGroupBox(QStringLiteral("Destination"), this);
    destination->setObjectName(QStringLiteral("Frame2"));
    kind_ = new QComboBox(destination);
    kind_->setObjectName(QStringLiteral("Combo1"));
    mediumHint_ = new QLabel(destination);
    mediumHint_->setObjectName(QStringLiteral("lblMedium"));
    mediumHint_->setProperty("hint", true);
    mediumHint_->setWordWrap(true);
    drives_ = new QComboBox(destination);
    drives_->setObjectName(QStringLiteral("Drive1"));
    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setReadOnly(true);
    folders_ = new QTreeView(destination);
    folders_->setObjectName(QStringLiteral("Dir1"));
    folders_->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column) folders_->hideColumn(column);
    folders_->setHeaderHidden(true);
    folders_->setMinimumSize(twips(4200), twips(3300));
    auto* driveLabel = new QLabel(QStringLiteral("Place:"), destination);
    driveLabel->setBuddy(drives_);
    auto* driveRow = new QHBoxLayout;
    driveRow->addWidget(driveLabel);
    driveRow->addWidget(drives_, 1);
    auto* destinationLayout = new QVBoxLayout(destination);
    destinationLayout->addWidget(kind_);
    destinationLayout->addWidget(mediumHint_);
    destinationLayout->addLayout(driveRow);
    destinationLayout->addWidget(folders_, 1);

    okButton_ = button("Command1", QStringLiteral("Ok"), this);
    okButton_->setDefault(true);
    auto* cancelButton = button("Command2", QStringLiteral("Cancel"), this);
    connect(okButton_, &QPushButton::clicked, this, &BackupWindow::startBackup);
    connect(cancelButton, &QPushButton::clicked, this, [this] { app_.windows.closeWindow(this); });

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton);
    buttons->addStretch();
    auto* left = new QVBoxLayout;
    left->addWidget(options);
    left->addWidget(destination, 1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 14);
    layout->setSpacing(14);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    fillDrives();
    connect(drives_, &QComboBox::currentIndexChanged, this, &BackupWindow::chooseDrive);
    chooseDrive();
    kind_->addItem(QStringLiteral("Drive A:"));
    kind_->addItem(QStringLiteral("Other destination..."));
    connect(kind_, &QComboBox::currentIndexChanged, this, &BackupWindow::chooseDestinationKind);
    chooseFirstDestination();
}

void BackupWindow::setMediumFinder(MediumFinder finder)
{
    findMedium_ = std::move(finder);
    const QString shown = chosenFolder();
    fillDrives();
    selectFolder(shown);
    chooseFirstDestination();
}

void BackupWindow::chooseFirstDestination()
{
    // "Drive A:" with nothing plugged in could only fail: the window starts on the folders then.
    const bool medium = findMedium_ && findMedium_();
    kind_->setCurrentIndex(medium ? kDriveA : kOtherDestination);
    chooseDestinationKind();
}

void BackupWindow::focusOkButton()
{
    okButton_->setFocus();
}

QString BackupWindow::mediumText() const
{
    return mediumHint_->text();
}

void BackupWindow::showMedium()
{
    const auto medium = findMedium_ ? findMedium_() : std::nullopt;
    mediumHint_->setText(
        medium ? QStringLiteral("The copies go to the USB stick or memory card at %1.")
                     .arg(pathText(*medium))
               : QStringLiteral("No USB stick or memory card is plugged in."));
}

void BackupWindow::fillDrives()
{
    const QSignalBlocker quiet(drives_);
    drives_->clear();
    drives_->addItem(QStringLiteral("Home folder (%1)").arg(QDir::homePath()), QDir::homePath());
    drives_->addItem(QStringLiteral("Whole computer (/)"), QStringLiteral("/"));
    if (const auto medium = findMedium_ ? findMedium_() : std::nullopt) {
        const QString path = pathText(*medium);
        drives_->addItem(QStringLiteral("Removable medium (%1)").arg(path), path);
    }
    drives_->setCurrentIndex(0);
}

QStringList BackupWindow::drivePaths() const
{
    QStringList paths;
    for (int i = 0; i < drives_->count(); ++i) paths << drives_->itemData(i).toString();
    return paths;
}

QString BackupWindow::chosenFolder() const
{
    const QModelIndex selected = folders_->currentIndex();
    if (selected.isValid()) return model_->filePath(selected);
    return drives_->currentData().toString();
}

void BackupWindow::updateOkButton()
{
    okButton_->setEnabled(recipesBox_->isChecked() || drinksBox_->isChecked());
}

void BackupWindow::chooseDestinationKind()
{
    const bool other = kind_->currentIndex() != kDriveA;
    if (!other) showMedium();
    mediumHint_->setVisible(!other);
    drives_->setEnabled(other);
    folders_->setEnabled(other);
    // The style sheet greys the list by its enabled state; a new state needs a new polish.
    folders_->style()->unpolish(folders_);
    folders_->style()->polish(folders_);
}

void BackupWindow::chooseDrive()
{
    const QString root = drives_->currentData().toString();
    folders_->setRootIndex(model_->setRootPath(root));
    folders_->setCurrentIndex(QModelIndex());
}

void BackupWindow::selectFolder(const QString& path)
{
    const QString folder = QDir::cleanPath(QDir(path).absolutePath());
    // The place that holds the folder most closely.
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < drives_->count(); ++i) {
        const QString root = QDir::cleanPath(drives_->itemData(i).toString());
        const bool holds = folder == root || root == QLatin1String("/") ||
                           folder.startsWith(root + QLatin1Char('/'));
        if (holds && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    if (best < 0) return;
    drives_->setCurrentIndex(best);
    chooseDrive();
    const QModelIndex index = model_->index(folder);
    if (!index.isValid()) return;
    folders_->setCurrentIndex(index);
    folders_->scrollTo(index);
}

void BackupWindow::startBackup()
{
    Prompter& prompter = app_.services.prompter;
    const QString failed = fromUtf8(transfer::kBackupFailedMessage);
    const QString failedTitle = fromUtf8(transfer::kBackupFailedTitle);

    transfer::BackupRequest request;
    request.recipes = recipesBox_->isChecked();
    request.drinks = drinksBox_->isChecked();
    if (!request.recipes && !request.drinks) return;
    request.cookbookFile = app_.state.currentCookbookFile;
    if (kind_->currentIndex() == kDriveA) {
        const auto medium = findMedium_ ? findMedium_() : std::nullopt;
        if (!medium) {
            prompter.inform(failed + QLatin1Char('\n') + fromUtf8(transfer::noMediumMessage({})),
                            failedTitle, MessageIcon::Exclamation);
            return;
        }
        request.destination = *medium;
    } else {
        request.destination = std::filesystem::path(chosenFolder().toStdString());
    }

    Result<void> done;
    {
        WaitCursor wait;
        done = transfer::backup(app_.state.folder, request);
    }
    if (!done) {
        // The window stays, so another destination can be tried.
        prompter.inform(failed + QLatin1Char('\n') + toQString(done.error()), failedTitle,
                        MessageIcon::Exclamation);
        return;
    }
    prompter.inform(fromUtf8(transfer::kBackupDoneMessage), fromUtf8(transfer::kBackupDoneTitle),
                    MessageIcon::Information);
    app_.windows.closeWindow(this);
}

}  // namespace culvora::gui
