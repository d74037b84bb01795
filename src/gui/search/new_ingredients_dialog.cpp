#include "gui/search/new_ingredients_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/search/fridge_list.h"
#include "core/text/text.h"
#include "gui/app/geometry.h"
#include "gui/app/qt_text.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/theme/theme.h"

namespace culvora::gui {

namespace {

std::string wordOf(const QListWidgetItem* item)
{
    return item->data(Qt::UserRole).toByteArray().toStdString();
}

void reportError(AppContext& app, const Error& error)
{
    app.services.prompter.inform(toQString(error), QStringLiteral("Error"),
                                 MessageIcon::Exclamation);
}

}  // namespace

NewIngredientsDialog::NewIngredientsDialog(AppContext& app, QWidget* parent)
    : QWidget(parent),
      app_(app)
{
    setObjectName(forms::kNewIngredients);
    setWindowTitle(QStringLiteral("New ingredients?"));
    theme::setFridgeListPaper(this);

    auto* ask = new QLabel(QStringLiteral("Please mark every new ingredient (if any)"), this);
    ask->setObjectName(QStringLiteral("Label1"));
    ask->setProperty("heading", true);

    auto* why = new QLabel(
        QStringLiteral("Culvora does not know whether these words are ingredients or not."), this);
    why->setObjectName(QStringLiteral("Label2"));
    why->setProperty("hint", true);
    why->setWordWrap(true);

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("List1"));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setMinimumSize(twips(3900), twips(2700));
    // A click on the word ticks it as well as a click on its box.
    // The list ticks a click on the box itself, so only a click that left the mark as it was
    // at the press is turned into a tick here.
    list_->viewport()->installEventFilter(this);
    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (item != pressedItem_ || item->checkState() != pressedState_) return;
        item->setCheckState(pressedState_ == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    });

    doneButton_ = new QPushButton(QStringLiteral("Done"), this);
    doneButton_->setObjectName(QStringLiteral("Command1"));
    doneButton_->setDefault(true);
    doneButton_->setMinimumWidth(twips(1300));
    connect(doneButton_, &QPushButton::clicked, this, &NewIngredientsDialog::done);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(doneButton_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->setSpacing(6);
    layout->addWidget(ask);
    layout->addWidget(why);
    layout->addSpacing(2);
    layout->addWidget(list_, 1);
    layout->addSpacing(4);
    layout->addLayout(buttons);
    // The label wraps within the width of the list rather than widening the dialog.
    why->setMaximumWidth(twips(3900) + 40);
}

bool NewIngredientsDialog::eventFilter(QObject* watched, QEvent* event)
{
    // The state before the list handles the press (which it swallows on the box).
    if (watched == list_->viewport() && event->type() == QEvent::MouseButtonPress) {
        pressedItem_ = list_->itemAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        pressedState_ = pressedItem_ ? pressedItem_->checkState() : Qt::Unchecked;
    }
    return QWidget::eventFilter(watched, event);
}

void NewIngredientsDialog::addWords(const std::vector<std::string>& added)
{
    for (const std::string& word : added) {
        // A sorted list puts a new entry after every entry that sorts equal or lower.
        const auto row = text::sortedInsertPosition(words(), word);
        auto* item = new QListWidgetItem(fromCp(word));
        item->setData(Qt::UserRole, QByteArray(word.data(), static_cast<qsizetype>(word.size())));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        list_->insertItem(static_cast<int>(row), item);
    }
    // The keyboard starts at the top; no entry is highlighted, which could pass for a mark.
    if (!list_->currentItem() && list_->count() > 0) {
        list_->selectionModel()->setCurrentIndex(list_->model()->index(0, 0),
                                                 QItemSelectionModel::NoUpdate);
    }
    list_->setFocus();
}

std::vector<std::string> NewIngredientsDialog::words() const
{
    std::vector<std::string> all;
    all.reserve(static_cast<std::size_t>(list_->count()));
    for (int i = 0; i < list_->count(); ++i) all.push_back(wordOf(list_->item(i)));
    return all;
}

std::vector<std::string> NewIngredientsDialog::tickedWords() const
{
    std::vector<std::string> ticked;
    for (int i = 0; i < list_->count(); ++i) {
        if (list_->item(i)->checkState() == Qt::Checked) ticked.push_back(wordOf(list_->item(i)));
    }
    return ticked;
}

void NewIngredientsDialog::done()
{
    if (auto added = search::appendFridgeWords(app_.state.folder, tickedWords()); !added) {
        reportError(app_, added.error());
        return;
    }
    refreshRecipeBrowser(app_);
    app_.windows.closeWindow(this);
}

}  // namespace culvora::gui
