#include "gui/store/recipe_types_window.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/store/recipe_types.h"
#include "core/text/text.h"
#include "gui/app/geometry.h"
#include "gui/app/qt_text.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"

namespace culvora::gui {

namespace {

std::string itemText(const QListWidgetItem* item)
{
    return item->data(Qt::UserRole).toByteArray().toStdString();
}

}  // namespace

RecipeTypesWindow::RecipeTypesWindow(AppContext& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName(forms::kRecipeTypes);
    setWindowTitle(QStringLiteral("Types of recipes"));

    auto* listLabel = new QLabel(QStringLiteral("Already existing:"), this);
    listLabel->setObjectName(QStringLiteral("Label1"));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("List1"));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    listLabel->setBuddy(list_);

    auto* nameLabel = new QLabel(QStringLiteral("Name of new group:"), this);
    nameLabel->setObjectName(QStringLiteral("Label2"));
    nameBox_ = new QLineEdit(this);
    nameBox_->setObjectName(QStringLiteral("Text1"));
    nameBox_->installEventFilter(this);
    nameLabel->setBuddy(nameBox_);

    auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setMinimumWidth(twips(1300));
        return b;
    };
    addButton_ = button("Command1", QStringLiteral("Add"));
    auto* deleteButton = button("Command4", QStringLiteral("Delete"));
    okButton_ = button("Command2", QStringLiteral("Ok"));
    auto* cancelButton = button("Command3", QStringLiteral("Cancel"));
    okButton_->setDefault(true);
    connect(addButton_, &QPushButton::clicked, this, &RecipeTypesWindow::addType);
    connect(deleteButton, &QPushButton::clicked, this, &RecipeTypesWindow::deleteType);
    connect(okButton_, &QPushButton::clicked, this, &RecipeTypesWindow::save);
    connect(cancelButton, &QPushButton::clicked, this, [this] { app_.windows.closeWindow(this); });

    auto* listButtons = new QVBoxLayout;
    listButtons->addWidget(deleteButton);
    listButtons->addStretch();
    listButtons->addWidget(okButton_);
    listButtons->addWidget(cancelButton);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setHorizontalSpacing(12);
    layout->setVerticalSpacing(4);
    layout->addWidget(listLabel, 0, 0);
    layout->addWidget(list_, 1, 0);
    layout->addLayout(listButtons, 1, 1);
    layout->addItem(new QSpacerItem(0, 8), 2, 0);
    layout->addWidget(nameLabel, 3, 0);
    layout->addWidget(nameBox_, 4, 0);
    layout->addWidget(addButton_, 4, 1);
    list_->setMinimumSize(twips(3300), twips(2700));

    auto names = store::readTypes(app.state.folder);
    if (!names) {
        app.services.prompter.inform(toQString(names.error()), QStringLiteral("Error"));
        return;
    }
    for (const auto& name : *names) insertSorted(name);
}

std::vector<std::string> RecipeTypesWindow::types() const
{
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(list_->count()));
    for (int i = 0; i < list_->count(); ++i) names.push_back(itemText(list_->item(i)));
    return names;
}

void RecipeTypesWindow::insertSorted(const std::string& name)
{
    // A sorted list box puts a new entry after every entry that sorts equal or lower.
    const auto row = text::sortedInsertPosition(types(), name);
    auto* item = new QListWidgetItem(fromCp(name));
    item->setData(Qt::UserRole, QByteArray(name.data(), static_cast<qsizetype>(name.size())));
    list_->insertItem(static_cast<int>(row), item);
}

void RecipeTypesWindow::addType()
{
    if (nameBox_->text().isEmpty()) return;
    auto name = toCp(nameBox_->text());
    // The same rule as everywhere a type is added: not blank, one line.
    if (name) {
        if (auto valid = store::checkTypeName(*name); !valid) name = std::unexpected(valid.error());
    }
    if (!name) {
        app_.services.prompter.inform(toQString(name.error()), QStringLiteral("Error"));
        return;
    }
    insertSorted(*name);
}

void RecipeTypesWindow::deleteType()
{
    const auto selected = list_->selectedItems();
    if (selected.isEmpty()) return;
    if (store::isOriginalType(itemText(selected.front()))) {
        app_.services.prompter.inform(QString::fromUtf8(store::kOriginalTypeMessage),
                                      QStringLiteral("Error"));
        return;
    }
    delete selected.front();
}

void RecipeTypesWindow::save()
{
    if (auto written = store::writeTypes(app_.state.folder, types()); !written) {
        app_.services.prompter.inform(toQString(written.error()), QStringLiteral("Error"));
        return;
    }
    app_.windows.closeWindow(this);
}

bool RecipeTypesWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Typing a new name makes "Add" the button Enter presses.
    if (watched == nameBox_ && event->type() == QEvent::FocusIn) {
        okButton_->setDefault(false);
        addButton_->setDefault(true);
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace culvora::gui
