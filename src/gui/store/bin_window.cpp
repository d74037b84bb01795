#include "gui/store/bin_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/text/text.h"
#include "gui/app/geometry.h"
#include "gui/app/handover.h"
#include "gui/app/qt_text.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"

namespace culvora::gui {

BinWindow::BinWindow(AppContext& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName(forms::kBin);
    setWindowTitle(QStringLiteral("Recently deleted"));

    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setWordWrap(true);
    label_ = label;
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("lstDeleted"));
    list_->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Cookbook"),
                            QStringLiteral("Deleted")});
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setAllColumnsShowFocus(true);
    list_->setMinimumSize(twips(7200), twips(3600));
    list_->header()->setSectionResizeMode(QHeaderView::Interactive);
    list_->setAccessibleName(QStringLiteral("Recently deleted"));
    list_->setAccessibleDescription(
        QStringLiteral("The deleted recipes and drinks with their cookbook and date"));
    label->setBuddy(list_);

    putBackButton_ = new QPushButton(QStringLiteral("Put back"), this);
    putBackButton_->setObjectName(QStringLiteral("cmdPutBack"));
    putBackButton_->setAccessibleDescription(
        QStringLiteral("Puts the selected recipe or drink back where it came from"));
    putBackButton_->setDefault(true);
    auto* closeButton = new QPushButton(QStringLiteral("Close"), this);
    closeButton->setObjectName(QStringLiteral("cmdClose"));
    closeButton->setAccessibleDescription(QStringLiteral("Closes the window"));
    for (auto* button : {putBackButton_, closeButton}) button->setMinimumWidth(twips(1300));
    connect(putBackButton_, &QPushButton::clicked, this, &BinWindow::putBackSelected);
    connect(closeButton, &QPushButton::clicked, this, [this] { app_.windows.closeWindow(this); });
    connect(list_, &QTreeWidget::itemDoubleClicked, this, &BinWindow::putBackSelected);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(putBackButton_);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addWidget(label);
    layout->addWidget(list_);
    layout->addLayout(buttons);

    reload();
}

void BinWindow::reload()
{
    list_->clear();
    entries_.clear();
    auto read = store::readBin(app_.state.folder);
    if (!read) {
        app_.services.prompter.inform(toQString(read.error()), QStringLiteral("Error"),
                                      MessageIcon::Exclamation);
    } else {
        entries_.assign(read->rbegin(), read->rend());
    }
    for (const auto& entry : entries_) {
        auto* item = new QTreeWidgetItem(
            {fromCp(entry.name), fromCp(entry.title.empty() ? entry.file : entry.title),
             fromCp(entry.deletedAt)});
        list_->addTopLevelItem(item);
    }
    for (int column = 0; column < 3; ++column) list_->resizeColumnToContents(column);
    if (!entries_.empty()) list_->setCurrentItem(list_->topLevelItem(0));
    putBackButton_->setEnabled(!entries_.empty());
    // An empty list alone would leave a new cook wondering what the window is for.
    label_->setText(entries_.empty()
                        ? QStringLiteral("Nothing has been deleted yet. A recipe or drink you "
                                         "delete comes here, and can be put back.")
                        : QStringLiteral("Deleted recipes and drinks, the newest first:"));
}

void BinWindow::putBackSelected()
{
    const int row = list_->indexOfTopLevelItem(list_->currentItem());
    if (row < 0 || static_cast<std::size_t>(row) >= entries_.size()) {
        app_.services.prompter.beep();
        return;
    }
    const store::BinEntry entry = entries_[static_cast<std::size_t>(row)];
    auto back = store::putBack(app_.state.folder, entry);
    if (!back) {
        app_.services.prompter.inform(toQString(back.error()), QStringLiteral("Error"),
                                      MessageIcon::Exclamation);
        reload();
        return;
    }
    reload();
    if (back->kind == store::BinKind::Recipe) {
        if (back->file == app_.state.currentCookbookFile && app_.windows.isOpen(forms::kBrowser)) {
            refreshRecipeBrowser(app_);
        }
    } else if (app_.windows.isOpen(forms::kDrinks)) {
        app_.windows.reopen(forms::kDrinks);
    }
    if (back->renamed) {
        app_.services.prompter.inform(
            QStringLiteral("\"%1\" was put back into \"%2\" as \"%3\", because the name was "
                           "taken.")
                .arg(fromCp(entry.name), fromCp(back->title), fromCp(back->name)),
            QStringLiteral("Put back"));
    }
    if (!back->note.empty()) {
        app_.services.prompter.inform(QString::fromStdString(back->note), QStringLiteral("Error"),
                                      MessageIcon::Exclamation);
    }
}

}  // namespace culvora::gui
