#include "gui/search/fridge_list_editor.h"

#include <QCloseEvent>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

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

}  // namespace

FridgeListEditor::FridgeListEditor(AppContext& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName(forms::kFridgeList);
    setWindowTitle(QStringLiteral("The refrigerator index"));
    theme::setFridgeListPaper(this);

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("List1"));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setMinimumSize(twips(3600), twips(3600));
    list_->installEventFilter(this);

    auto* addLabel = new QLabel(QStringLiteral("Add ingredient:"), this);
    addLabel->setObjectName(QStringLiteral("Label1"));
    wordBox_ = new QLineEdit(this);
    wordBox_->setObjectName(QStringLiteral("Text1"));
    wordBox_->setPlaceholderText(QStringLiteral("e.g. garlic"));
    wordBox_->installEventFilter(this);
    addLabel->setBuddy(wordBox_);

    auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setMinimumWidth(twips(1300));
        return b;
    };
    addButton_ = button("Command1", QStringLiteral("&Add"));
    auto* deleteButton = button("Command2", QStringLiteral("&Delete"));
    okButton_ = button("Command3", QStringLiteral("&Ok"));
    auto* cancelButton = button("Command4", QStringLiteral("&Cancel"));
    okButton_->setDefault(true);
    connect(addButton_, &QPushButton::clicked, this, &FridgeListEditor::addWord);
    connect(deleteButton, &QPushButton::clicked, this, &FridgeListEditor::deleteWord);
    connect(okButton_, &QPushButton::clicked, this, &FridgeListEditor::save);
    // "&Cancel" is the cook's own word that the changes go: no question.
    connect(cancelButton, &QPushButton::clicked, this, [this] {
        letInputGo();
        app_.windows.closeWindow(this);
    });

    auto* countLabel = new QLabel(QStringLiteral("Number of ingredients:"), this);
    countLabel->setObjectName(QStringLiteral("label4"));
    countLabel->setProperty("hint", true);
    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("Label3"));
    count_->setProperty("count", true);

    auto* countRow = new QHBoxLayout;
    countRow->setSpacing(6);
    countRow->addWidget(countLabel);
    countRow->addWidget(count_);
    countRow->addStretch();

    auto* side = new QVBoxLayout;
    side->setSpacing(6);
    side->addWidget(deleteButton);
    side->addStretch();
    side->addWidget(okButton_);
    side->addWidget(cancelButton);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->setHorizontalSpacing(12);
    layout->setVerticalSpacing(4);
    layout->addWidget(addLabel, 0, 0);
    layout->addWidget(wordBox_, 1, 0);
    layout->addWidget(addButton_, 1, 1);
    layout->addItem(new QSpacerItem(0, 8), 2, 0);
    layout->addWidget(list_, 3, 0);
    layout->addLayout(side, 3, 1);
    layout->addLayout(countRow, 4, 0, 1, 2);

    // A missing sok.txt is an empty list: the first "&Ok" creates it.
    if (auto known = search::readFridgeList(app.state.folder)) {
        // Sorted once, rather than one insertion at a time: a long list opens at once.
        std::stable_sort(known->begin(), known->end(), text::CollateLess{});
        for (const std::string& word : *known) {
            auto* item = new QListWidgetItem(fromCp(word), list_);
            item->setData(Qt::UserRole,
                          QByteArray(word.data(), static_cast<qsizetype>(word.size())));
        }
    } else {
        app.services.prompter.inform(toQString(known.error()), QStringLiteral("Error"),
                                     MessageIcon::Exclamation);
    }
    read_ = words();
    showCount();
}

void FridgeListEditor::startEditing()
{
    wordBox_->setFocus();
}

std::vector<std::string> FridgeListEditor::words() const
{
    std::vector<std::string> all;
    all.reserve(static_cast<std::size_t>(list_->count()));
    for (int i = 0; i < list_->count(); ++i) all.push_back(wordOf(list_->item(i)));
    return all;
}

void FridgeListEditor::insertSorted(const std::string& word)
{
    // A sorted list puts a new entry after every entry that sorts equal or lower.
    const auto row = text::sortedInsertPosition(words(), word);
    auto* item = new QListWidgetItem(fromCp(word));
    item->setData(Qt::UserRole, QByteArray(word.data(), static_cast<qsizetype>(word.size())));
    list_->insertItem(static_cast<int>(row), item);
    list_->scrollToItem(item);
}

void FridgeListEditor::showCount()
{
    count_->setText(QString::number(list_->count()));
}

void FridgeListEditor::addWord()
{
    if (wordBox_->text().isEmpty()) return;
    auto word = toCp(wordBox_->text());
    if (word) word = search::fridgeWord(*word);
    if (!word) {
        app_.services.prompter.inform(toQString(word.error()), QStringLiteral("Error"),
                                      MessageIcon::Exclamation);
        return;
    }
    insertSorted(*word);
    wordBox_->clear();
    showCount();
}

void FridgeListEditor::deleteWord()
{
    const auto selected = list_->selectedItems();
    if (selected.isEmpty()) {
        app_.services.prompter.beep();
        return;
    }
    const int row = list_->row(selected.front());
    delete selected.front();
    // The entry that took its place is selected, so that neighbours go one after the other.
    if (list_->count() > 0) list_->setCurrentRow(std::min(row, list_->count() - 1));
    showCount();
}

void FridgeListEditor::save()
{
    if (auto written = search::writeFridgeList(app_.state.folder, words()); !written) {
        app_.services.prompter.inform(toQString(written.error()), QStringLiteral("Error"),
                                      MessageIcon::Exclamation);
        return;
    }
    letInputGo();  // saved: closing asks nothing
    app_.windows.closeWindow(this);
}

bool FridgeListEditor::hasUnsavedInput() const
{
    return !wordBox_->text().isEmpty() || words() != read_;
}

void FridgeListEditor::saveInput()
{
    if (!wordBox_->text().isEmpty()) {
        addWord();
        // A word that cannot be stored stays in the box, with the reason shown.
        if (!wordBox_->text().isEmpty()) return;
    }
    save();
}

void FridgeListEditor::closeEvent(QCloseEvent* event)
{
    if (!mayClose(this, app_.services.prompter)) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

bool FridgeListEditor::eventFilter(QObject* watched, QEvent* event)
{
    // While a word is typed, Enter adds it; elsewhere Enter is "&Ok".
    if (event->type() == QEvent::FocusIn && (watched == wordBox_ || watched == list_)) {
        const bool typing = watched == wordBox_;
        addButton_->setDefault(typing);
        okButton_->setDefault(!typing);
    }
    if (watched == list_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        deleteWord();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace culvora::gui
