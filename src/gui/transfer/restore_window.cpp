#include "gui/transfer/restore_window.h"

#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/transfer/backup.h"
#include "gui/app/geometry.h"
#include "gui/app/handover.h"
#include "gui/app/qt_text.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/widgets/wait_cursor.h"

namespace culvora::gui {

namespace {

const QString kTitle = QStringLiteral("Restore from backup");

QString sizeText(std::uintmax_t bytes)
{
    if (bytes < 1024) return QStringLiteral("%1 bytes").arg(bytes);
    return QStringLiteral("%1 KB").arg((bytes + 1023) / 1024);
}

}  // namespace

RestoreWindow::RestoreWindow(AppContext& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName(forms::kRestore);
    setWindowTitle(kTitle);

    auto* folderLabel = new QLabel(QStringLiteral("The backup's folder:"), this);
    folderLabel->setObjectName(QStringLiteral("Label1"));
    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setReadOnly(true);
    folders_ = new QTreeView(this);
    folders_->setObjectName(QStringLiteral("Dir1"));
    folders_->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column) folders_->hideColumn(column);
    folders_->setHeaderHidden(true);
    folders_->setMinimumSize(twips(3600), twips(3600));
    folders_->setRootIndex(model_->setRootPath(QStringLiteral("/")));
    folders_->setAccessibleName(QStringLiteral("Backup folder"));
    folders_->setAccessibleDescription(QStringLiteral("The folder that holds the backup"));
    folderLabel->setBuddy(folders_);
    connect(folders_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& index) {
                if (index.isValid()) selectFolder(model_->filePath(index));
            });

    auto* filesLabel = new QLabel(QStringLiteral("What it will put back:"), this);
    filesLabel->setObjectName(QStringLiteral("Label2"));
    files_ = new QTreeWidget(this);
    files_->setObjectName(QStringLiteral("lstFiles"));
    files_->setHeaderLabels({QStringLiteral("File"), QStringLiteral("Size"),
                             QStringLiteral("Date in the backup"),
                             QStringLiteral("In the data folder")});
    files_->setRootIsDecorated(false);
    files_->setSelectionMode(QAbstractItemView::NoSelection);
    files_->setMinimumSize(twips(6000), twips(2400));
    files_->setAccessibleName(QStringLiteral("Files to restore"));
    files_->setAccessibleDescription(QStringLiteral(
        "Each file of the backup with its size, its date and whether it replaces one of yours"));
    filesLabel->setBuddy(files_);
    notes_ = new QLabel(this);
    notes_->setObjectName(QStringLiteral("lblNotes"));
    notes_->setWordWrap(true);

    restoreButton_ = new QPushButton(QStringLiteral("Restore"), this);
    restoreButton_->setObjectName(QStringLiteral("cmdRestore"));
    restoreButton_->setAccessibleDescription(
        QStringLiteral("Asks, then replaces the data folder's files with the backup's"));
    restoreButton_->setDefault(true);
    restoreButton_->setEnabled(false);
    auto* cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("cmdCancel"));
    cancelButton->setAccessibleDescription(QStringLiteral("Closes the window and restores nothing"));
    for (auto* b : {restoreButton_, cancelButton}) b->setMinimumWidth(twips(1300));
    connect(restoreButton_, &QPushButton::clicked, this, &RestoreWindow::startRestore);
    connect(cancelButton, &QPushButton::clicked, this, [this] { app_.windows.closeWindow(this); });

    auto* right = new QVBoxLayout;
    right->addWidget(filesLabel);
    right->addWidget(files_, 1);
    right->addWidget(notes_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(restoreButton_);
    buttons->addWidget(cancelButton);
    right->addLayout(buttons);
    auto* left = new QVBoxLayout;
    left->addWidget(folderLabel);
    left->addWidget(folders_, 1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(12);
    layout->addLayout(left);
    layout->addLayout(right, 1);

    // A backup usually sits on the stick the backup window writes to.
    const auto medium = transfer::removableMedium();
    const QString start =
        medium ? QString::fromStdString(medium->string()) : QDir::homePath();
    const QModelIndex index = model_->index(start);
    if (index.isValid()) {
        folders_->setCurrentIndex(index);
        folders_->scrollTo(index);
    }
}

void RestoreWindow::selectFolder(const QString& path)
{
    folder_ = QDir::cleanPath(QDir(path).absolutePath());
    files_->clear();
    plan_.reset();
    auto plan = transfer::planRestore(app_.state.folder,
                                      std::filesystem::path(folder_.toStdString()),
                                      app_.state.currentCookbookFile);
    if (!plan) {
        notes_->setText(toQString(plan.error()));
        restoreButton_->setEnabled(false);
        return;
    }
    for (const auto& item : plan->items) {
        files_->addTopLevelItem(new QTreeWidgetItem(
            {fromCp(item.file), sizeText(item.size), fromCp(item.modified),
             item.replaces ? QStringLiteral("will be replaced") : QStringLiteral("new")}));
    }
    for (int column = 0; column < 4; ++column) files_->resizeColumnToContents(column);
    QStringList notes;
    if (plan->items.empty()) notes << QStringLiteral("This folder holds no backup.");
    for (const auto& note : plan->notes) notes << QString::fromStdString(note);
    notes_->setText(notes.join(QLatin1Char('\n')));
    restoreButton_->setEnabled(!plan->items.empty());
    plan_ = std::move(*plan);
}

void RestoreWindow::startRestore()
{
    if (!plan_ || plan_->items.empty()) {
        app_.services.prompter.beep();
        return;
    }
    int replaced = 0;
    for (const auto& item : plan_->items) replaced += item.replaces ? 1 : 0;
    const int count = static_cast<int>(plan_->items.size());
    const QString question =
        QStringLiteral("Restore %1 from %2? %3 of your files will be replaced by the backup's "
                       "copies, and that cannot be undone.")
            .arg(count == 1 ? QStringLiteral("1 file") : QStringLiteral("%1 files").arg(count),
                 folder_)
            .arg(replaced);
    if (!app_.services.prompter.confirm(question, kTitle)) return;
    Result<void> done;
    {
        WaitCursor wait;
        done = transfer::restore(app_.state.folder, *plan_);
    }
    if (!done) {
        app_.services.prompter.inform(toQString(done.error()), kTitle, MessageIcon::Exclamation);
        selectFolder(folder_);
        return;
    }
    // What the open windows show came from the files just replaced.
    if (app_.windows.isOpen(forms::kBrowser)) refreshRecipeBrowser(app_);
    if (app_.windows.isOpen(forms::kDrinks)) app_.windows.reopen(forms::kDrinks);
    app_.services.prompter.inform(
        count == 1 ? QStringLiteral("1 file was restored.")
                   : QStringLiteral("%1 files were restored.").arg(count),
        kTitle, MessageIcon::Information);
    app_.windows.closeWindow(this);
}

}  // namespace culvora::gui
