#include "gui/store/cookbooks_dialog.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/app/settings.h"
#include "core/store/cookbook_list.h"
#include "gui/app/geometry.h"
#include "gui/app/qt_text.h"
#include "gui/app/shell.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"

namespace culvora::gui {

namespace {

const QString kErrorTitle = QStringLiteral("Error");
const QString kFelTitle = QStringLiteral("Fel");

// Items keep the title's Windows-1252 bytes: the text shown is for the eye only.
void addTitleItem(QListWidget* list, const std::string& title)
{
    auto* item = new QListWidgetItem(fromCp(title), list);
    item->setData(Qt::UserRole, QByteArray(title.data(), static_cast<qsizetype>(title.size())));
}

std::string itemText(const QListWidgetItem* item)
{
    return item->data(Qt::UserRole).toByteArray().toStdString();
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setMinimumWidth(twips(1500));
    return b;
}

}  // namespace

CookbooksDialog::CookbooksDialog(AppContext& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName(forms::kCookbooks);
    setWindowTitle(QStringLiteral("Cookbooks"));

    auto* label = new QLabel(QStringLiteral("Available books:"), this);
    label->setObjectName(QStringLiteral("Label1"));

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("List1"));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->viewport()->setCursor(Qt::PointingHandCursor);
    list_->installEventFilter(this);
    label->setBuddy(list_);
    connect(list_, &QListWidget::itemDoubleClicked, this, &CookbooksDialog::useSelected);

    auto* useButton = button(this, "Command1", QStringLiteral("&Use"));
    auto* deleteButton = button(this, "Command2", QStringLiteral("&Delete"));
    auto* addButton = button(this, "Command3", QStringLiteral("&Add new..."));
    cancelButton_ = button(this, "Command5", QStringLiteral("&Cancel"));
    useButton->setDefault(true);
    connect(useButton, &QPushButton::clicked, this, &CookbooksDialog::useSelected);
    connect(deleteButton, &QPushButton::clicked, this, &CookbooksDialog::deleteSelected);
    connect(addButton, &QPushButton::clicked, this, &CookbooksDialog::addNew);
    connect(cancelButton_, &QPushButton::clicked, this, [this] { app_.windows.closeWindow(this); });

    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(6);
    buttons->addWidget(useButton);
    buttons->addWidget(deleteButton);
    buttons->addWidget(addButton);
    buttons->addStretch();
    buttons->addWidget(cancelButton_);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setHorizontalSpacing(12);
    layout->setVerticalSpacing(4);
    layout->addWidget(label, 0, 0);
    layout->addWidget(list_, 1, 0);
    layout->addLayout(buttons, 1, 1);
    list_->setMinimumSize(twips(3600), twips(2700));

    fillList(true);
}

void CookbooksDialog::fillList(bool selectCurrent)
{
    list_->clear();
    store::CookbookList books(app_.state.folder);
    auto entries = books.read();
    if (!entries) {
        app_.services.prompter.inform(toQString(entries.error()), kErrorTitle);
        return;
    }
    const auto titles = store::sortedTitles(*entries);
    for (const auto& title : titles) addTitleItem(list_, title);
    if (!selectCurrent || list_->count() == 0) return;
    // Walking the list for a title that is not there stops on the last entry.
    const int row = store::currentTitleRow(titles, *entries, app_.state.currentCookbookFile);
    list_->setCurrentRow(row < 0 ? list_->count() - 1 : row);
}

int CookbooksDialog::titleCount() const
{
    return list_->count();
}

std::string CookbooksDialog::selectedTitle() const
{
    const auto selected = list_->selectedItems();
    return selected.isEmpty() ? std::string() : itemText(selected.front());
}

void CookbooksDialog::useSelected()
{
    if (list_->selectedItems().isEmpty()) {
        app_.services.prompter.beep();
        app_.services.prompter.inform(
            QStringLiteral("Du måste först välja en bok som Du ska öppna"), kFelTitle);
        return;
    }
    auto file = app::useCookbook(app_.state.folder, selectedTitle(), app_.shell.tipsAtStartup());
    if (!file) {
        app_.services.prompter.beep();
        app_.services.prompter.inform(toQString(file.error()), kErrorTitle,
                                      MessageIcon::Exclamation);
        return;
    }
    app_.state.currentCookbookFile = *file;
    currentDeleted_ = false;
    app_.windows.closeWindow(this);
}

void CookbooksDialog::deleteSelected()
{
    auto& prompter = app_.services.prompter;
    const std::string title = selectedTitle();
    const auto refusal = store::removeRefusal(static_cast<std::size_t>(list_->count()), title);
    if (refusal == store::RemoveRefusal::LastCookbook) {
        prompter.beep();
        prompter.inform(QString::fromUtf8(store::kLastCookbookMessage), kErrorTitle);
        return;
    }
    if (list_->selectedItems().isEmpty()) {
        prompter.beep();
        prompter.inform(QStringLiteral("Select the cookbook you want to delete."), kErrorTitle);
        return;
    }
    if (refusal == store::RemoveRefusal::StandardCookbook) {
        prompter.beep();
        prompter.inform(QString::fromUtf8(store::kStandardCookbookMessage), kFelTitle);
        return;
    }
    prompter.beep();
    if (!prompter.confirm(QStringLiteral("Are you sure you want to delete this cookbook?"),
                          QStringLiteral("Remove ") + shownForMessage(title))) {
        return;
    }
    auto removed = store::CookbookList(app_.state.folder).remove(title);
    if (!removed) {
        prompter.inform(toQString(removed.error()), kErrorTitle);
        return;
    }
    if (removed->entry.file == app_.state.currentCookbookFile) currentDeleted_ = true;
    if (!removed->note.empty()) {
        prompter.inform(QString::fromStdString(removed->note), kErrorTitle,
                        MessageIcon::Exclamation);
    }

    prompter.inform(QStringLiteral("Now select a new cookbook to open."),
                    QStringLiteral("Culvora"));
    cancelButton_->setEnabled(false);
    delete list_->selectedItems().front();
    // The user picks the next cookbook; nothing is chosen for them.
    list_->clearSelection();
    list_->setCurrentRow(-1);
}

void CookbooksDialog::addNew()
{
    app_.windows.open(forms::kNewBook);
}

void CookbooksDialog::fallBackAfterDelete()
{
    auto fallback = app::useFallbackCookbook(app_.state.folder, app_.shell.tipsAtStartup());
    if (!fallback) {
        app_.services.prompter.inform(toQString(fallback.error()), kErrorTitle);
        return;
    }
    if (!*fallback) return;
    app_.state.currentCookbookFile = (*fallback)->file;
    app_.services.prompter.inform(
        QStringLiteral("The cookbook you were using has been deleted. \"%1\" is now the current "
                       "cookbook.")
            .arg(fromCp((*fallback)->title)),
        QStringLiteral("Info"), MessageIcon::Information);
}

void CookbooksDialog::closeEvent(QCloseEvent* event)
{
    // Leaving without "&Use" after deleting the current cookbook must not leave the program
    // working on a file that no longer exists.
    if (currentDeleted_) {
        currentDeleted_ = false;
        fallBackAfterDelete();
    }
    QWidget::closeEvent(event);
}

bool CookbooksDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            useSelected();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace culvora::gui
