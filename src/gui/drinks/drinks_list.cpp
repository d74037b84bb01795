#include "gui/drinks/drinks_list.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStringList>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "core/text/text.h"
#include "gui/app/delivered_files.h"
#include "gui/app/qt_text.h"
#include "gui/app/shell.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/drinks/drink_edit_screen.h"
#include "gui/drinks/drink_viewer.h"
#include "gui/theme/theme.h"

namespace culvora::gui {

namespace {

// The names keep their bytes beside the text shown, so a name is looked up exactly as the
// file holds it.
constexpr int kNameRole = Qt::UserRole;

QByteArray bytes(const std::string& cp1252)
{
    return {cp1252.data(), static_cast<qsizetype>(cp1252.size())};
}

}  // namespace

DrinksList::DrinksList(AppContext& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName(forms::kDrinks);
    setWindowTitle(QStringLiteral("Drinks"));
    buildControls();
    app_.shell.onGlassFilterChanged(this, [this] { filterChanged(); });
    reload();
}

void DrinksList::buildControls()
{
    setAttribute(Qt::WA_StyledBackground);
    setProperty("drinks", true);
    setStyleSheet(theme::drinksStyle());

    filterButton_ = new QPushButton(app_.shell.filterCaption(), this);
    filterButton_->setObjectName(QStringLiteral("Command7"));
    filterButton_->setMinimumHeight(28);
    connect(filterButton_, &QPushButton::clicked, this, &DrinksList::popupFilterMenu);
    showFilterState();

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("List1"));
    list_->setFont(theme::sansFont(10.5));
    list_->setMinimumSize(220, 220);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        list_->setCurrentItem(item);
        openSelected();
    });

    auto* countCaption = new QLabel(QStringLiteral("Number of drinks:"), this);
    countCaption->setObjectName(QStringLiteral("Label1"));
    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("Label2"));
    count_->setProperty("heading", true);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("GVBox1"));
    picture->setPixmap(loadPicture(app_.state, QStringLiteral("tavendi3.gif")));
    picture->setFixedSize(360, 240);
    picture->setProperty("glass", true);

    auto button = [this](const char* name, const QString& caption, const QString& tip) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(tip);
        b->setFont(theme::sansFont(10));
        b->setMinimumSize(100, 30);
        return b;
    };
    auto* open = button("Command1", QStringLiteral("Open"), QStringLiteral("Show the drink"));
    auto* add =
        button("Command2", QStringLiteral("Add drink"), QStringLiteral("Write down a new drink"));
    auto* edit =
        button("Command3", QStringLiteral("Edit"), QStringLiteral("Change the drink's recipe"));
    auto* remove = button("Command5", QStringLiteral("Delete"),
                          QStringLiteral("Take the drink out of the collection"));
    auto* update =
        button("Command6", QStringLiteral("Update"), QStringLiteral("Read the drinks again"));
    auto* close = button("Command4", QStringLiteral("Close"), QString());
    open->setDefault(true);
    connect(open, &QPushButton::clicked, this, &DrinksList::openSelected);
    connect(add, &QPushButton::clicked, this, &DrinksList::addDrink);
    connect(edit, &QPushButton::clicked, this, &DrinksList::editSelected);
    connect(remove, &QPushButton::clicked, this, &DrinksList::deleteSelected);
    connect(update, &QPushButton::clicked, this, &DrinksList::reload);
    connect(close, &QPushButton::clicked, this, [this] { app_.windows.closeWindow(this); });

    auto* countRow = new QHBoxLayout;
    countRow->setSpacing(6);
    countRow->addWidget(countCaption);
    countRow->addWidget(count_);
    countRow->addStretch();

    auto* left = new QVBoxLayout;
    left->setSpacing(6);
    left->addWidget(filterButton_);
    left->addWidget(list_, 1);
    left->addLayout(countRow);

    auto* buttons = new QGridLayout;
    buttons->setHorizontalSpacing(8);
    buttons->setVerticalSpacing(6);
    buttons->addWidget(open, 0, 0);
    buttons->addWidget(add, 0, 1);
    buttons->addWidget(edit, 0, 2);
    buttons->addWidget(remove, 1, 0);
    buttons->addWidget(update, 1, 1);
    buttons->addWidget(close, 1, 2);

    auto* right = new QVBoxLayout;
    right->setSpacing(10);
    right->addWidget(picture);
    right->addStretch();
    right->addLayout(buttons);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(14);
    layout->addLayout(left, 1);
    layout->addLayout(right);

    filterTimer_ = new QTimer(this);
    filterTimer_->setObjectName(QStringLiteral("Timer1"));
    filterTimer_->setSingleShot(true);
    filterTimer_->setInterval(100);
    connect(filterTimer_, &QTimer::timeout, this, &DrinksList::reload);

    setTabOrder(list_, open);
    setTabOrder(open, add);
    setTabOrder(add, edit);
    setTabOrder(edit, remove);
    setTabOrder(remove, update);
    setTabOrder(update, close);
    setTabOrder(close, filterButton_);
    setFocusProxy(list_);
}

void DrinksList::reload()
{
    fill(&app_.shell.glassFilter());
}

void DrinksList::refillWithoutFilter()
{
    // Every drink is shown after a new one is saved, so the filter comes off with it: the
    // button and the menu's ticks say what the list shows.
    app_.shell.resetGlassFilter();
    showFilterState();
    fill(nullptr);
}

void DrinksList::fill(const drinks::GlassFilter* filter)
{
    auto content = drinks::readDrinksFile(app_.state.folder);
    if (!content) {
        app_.services.prompter.inform(toQString(content.error()), QStringLiteral("Error"),
                                      MessageIcon::Exclamation);
        content.emplace();
    }
    drinks::DrinkList found = drinks::listDrinks(*content, filter);
    std::stable_sort(found.names.begin(), found.names.end(), text::CollateLess{});
    list_->clear();
    for (const std::string& name : found.names) {
        auto* item = new QListWidgetItem(fromCp(name), list_);
        item->setData(kNameRole, bytes(name));
    }
    count_->setText(QString::number(found.names.size()));
    if (found.endsWithLoneTag && list_->count() > 0) list_->setCurrentRow(0);
}

std::optional<std::string> DrinksList::selectedName() const
{
    const auto selected = list_->selectedItems();
    if (selected.isEmpty()) return std::nullopt;
    const QByteArray name = selected.front()->data(kNameRole).toByteArray();
    return std::string(name.constData(), static_cast<std::size_t>(name.size()));
}

void DrinksList::openSelected()
{
    const auto name = selectedName();
    if (!name) {
        app_.services.prompter.beep();
        return;
    }
    // The viewer reads its drink once, when it opens: one showing another drink, or this one
    // as it was before an edit, gives way to the drink as the file holds it now.
    if (auto* viewer = app_.windows.find<DrinkViewer>(forms::kDrinkViewer)) {
        const auto now = drinks::loadDrink(app_.state.folder, *name);
        if (!now || !(*now == viewer->drink())) app_.windows.close(forms::kDrinkViewer);
    }
    app_.windows.open(forms::kDrinkViewer);
}

void DrinksList::addDrink()
{
    app_.windows.open(forms::kNewDrink);
}

void DrinksList::editSelected()
{
    const auto name = selectedName();
    if (!name) {
        app_.services.prompter.beep();
        return;
    }
    // An edit screen on another drink gives way unless it holds changes: those are saved or
    // cancelled first, so it comes to the front instead.
    if (auto* editor = app_.windows.find<DrinkEditScreen>(forms::kEditDrink);
        editor && editor->drinkName() != *name && !editor->hasChanges()) {
        app_.windows.close(forms::kEditDrink);
    }
    app_.windows.open(forms::kEditDrink);
}

void DrinksList::deleteSelected()
{
    const auto name = selectedName();
    if (!name) {
        app_.services.prompter.beep();
        app_.services.prompter.inform(QStringLiteral("Please select a drink to delete"),
                                      QStringLiteral("Error"));
        return;
    }
    const QString shown = shownForMessage(*name);
    if (!app_.services.prompter.confirm(
            QStringLiteral("This will delete the drink \u00B4%1\u00B4. Are you sure?").arg(shown),
            QStringLiteral("Ta bort ") + shown)) {
        return;
    }
    const QDateTime now = app_.services.clock.now();
    const exchange::LocalTime when{now.date().year(),  now.date().month(),
                                   now.date().day(),   now.time().hour(),
                                   now.time().minute(), now.time().second()};
    if (auto deleted = drinks::deleteDrink(app_.state.folder, *name, when); !deleted) {
        app_.services.prompter.inform(toQString(deleted.error()), QStringLiteral("Error"),
                                      MessageIcon::Exclamation);
    }
    reload();
}

void DrinksList::popupFilterMenu()
{
    app_.shell.popupFilterMenu(filterButton_->mapToGlobal(QPoint(0, filterButton_->height())));
}

void DrinksList::showFilterState()
{
    const QString caption = app_.shell.filterCaption();
    filterButton_->setText(caption);
    filterButton_->setProperty("filterOn", caption == QLatin1String("Filter ON"));
    // A dynamic property takes effect in the style sheet only when the style looks again.
    filterButton_->style()->unpolish(filterButton_);
    filterButton_->style()->polish(filterButton_);

    // The button cannot say which glasses are ticked; its tip can.
    const drinks::GlassFilter& filter = app_.shell.glassFilter();
    QStringList ticked;
    for (int glass = 0; glass < drinks::GlassFilter::kGlassCount; ++glass) {
        if (filter.isChecked(glass)) {
            const std::string_view name =
                drinks::GlassFilter::kGlassNames[static_cast<std::size_t>(glass)];
            ticked << QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
        }
    }
    if (filter.noFilter()) {
        filterButton_->setToolTip(
            QStringLiteral("Show only the drinks served in the glasses you tick"));
    } else if (ticked.isEmpty()) {
        filterButton_->setToolTip(QStringLiteral("No glass is ticked: tick one, or No filter"));
    } else {
        filterButton_->setToolTip(QStringLiteral("Showing the drinks served in: ") +
                                  ticked.join(QStringLiteral(", ")));
    }
}

void DrinksList::filterChanged()
{
    showFilterState();
    filterTimer_->start();
}

void DrinksList::closeEvent(QCloseEvent* event)
{
    app_.shell.resetGlassFilter();
    QWidget::closeEvent(event);
}

}  // namespace culvora::gui
