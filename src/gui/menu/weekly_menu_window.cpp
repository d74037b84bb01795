#include "gui/menu/weekly_menu_window.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

#include "core/app/product.h"
#include "core/app/settings.h"
#include "core/menu/shopping_list.h"
#include "core/search/fridge_list.h"
#include "core/text/text.h"
#include "gui/app/delivered_files.h"
#include "gui/app/geometry.h"
#include "gui/app/handover.h"
#include "gui/app/printing.h"
#include "gui/app/qt_text.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/menu/shopping_list_dialog.h"
#include "gui/theme/theme.h"
#include "gui/widgets/clickable_label.h"

namespace culvora::gui {

namespace {

// The note with the week: a heading, then one line a day.
constexpr QSize kNoteSize(430, 460);
constexpr int kFirstLineTop = 70;
constexpr int kLineHeight = 52;
constexpr int kDayLeft = 26;
constexpr int kDayWidth = 96;
constexpr int kDishLeft = 130;
constexpr int kDishWidth = 244;
constexpr int kPlusLeft = 382;
constexpr int kLabelHeight = 24;

constexpr QLatin1String kMenuTitle{"Menu for the week"};

// Picture1: a note stuck on the fridge door with a magnet, ruled for the seven evenings.
class WeekNote : public QWidget {
public:
    explicit WeekNote(QWidget* parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("Picture1"));
        setFixedSize(kNoteSize);
        setMouseTracking(true);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF note = QRectF(rect()).adjusted(4, 10, -6, -6);
        // A soft shadow, then the paper.
        p.setPen(Qt::NoPen);
        p.setBrush(theme::week::kShadow);
        p.drawRoundedRect(note.translated(2, 3), 6, 6);
        p.setBrush(theme::week::kNote);
        p.setPen(QPen(theme::week::kNoteEdge, 1));
        p.drawRoundedRect(note, 6, 6);
        // Ruled lines under the days, and the red margin line of a notepad.
        p.setPen(QPen(theme::week::kLines, 1));
        for (int i = 0; i < 7; ++i) {
            const int y = kFirstLineTop + i * kLineHeight + kLabelHeight + 6;
            p.drawLine(QPointF(note.left() + 12, y), QPointF(note.right() - 12, y));
        }
        p.setPen(QPen(theme::week::kMargin, 1));
        p.drawLine(QPointF(kDishLeft - 8, note.top() + 44),
                   QPointF(kDishLeft - 8, note.bottom() - 10));
        // The heading.
        p.setPen(theme::kTitleInk);
        p.setFont(theme::headingFont());
        p.drawText(QRectF(note.left(), note.top() + 8, note.width(), 34), Qt::AlignCenter,
                   kMenuTitle);
        // The magnet.
        const QPointF magnet(note.right() - 30, note.top() + 2);
        QRadialGradient red(magnet - QPointF(3, 3), 12);
        red.setColorAt(0, theme::week::kMagnetLight);
        red.setColorAt(1, theme::week::kMagnet);
        p.setPen(QPen(theme::week::kMagnetEdge, 1));
        p.setBrush(red);
        p.drawEllipse(magnet, 10, 10);
    }
};

// A caption that is not a recipe's name: "(Nothing yet)", "(No suggestion)".
bool isPlaceholder(const std::string& dish)
{
    return dish.empty() || dish.front() == '(';
}

}  // namespace

WeeklyMenuWindow::WeeklyMenuWindow(AppContext& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName(forms::kWeeklyMenu);
    setWindowTitle(QStringLiteral("Compose a menu for the week"));
    QPalette paper = palette();
    paper.setColor(QPalette::Window, theme::kLinen);
    setPalette(paper);
    setAutoFillBackground(true);
    setStyleSheet(theme::searchStyle());

    dishes_.fill(std::string(menu::kNothingYet));
    printed_ = dishes_;
    buildWeek();
    buildComposer();
    fillWordList();
    clickDay(0);
}

void WeeklyMenuWindow::buildWeek()
{
    week_ = new WeekNote(this);
    week_->installEventFilter(this);
    for (int i = 0; i < 7; ++i) {
        const int top = kFirstLineTop + i * kLineHeight;
        auto* day = new ClickableLabel(week_);
        day->setObjectName(QStringLiteral("klick(%1)").arg(i));
        day->setText(fromCp(menu::dayName(i + 1)));
        day->setFont(theme::sansFont(10.5, true));
        day->setToolTip(QStringLiteral("Compose this evening's dinner"));
        day->setKeyboardFocusable(true);
        day->setIndent(2);
        theme::setInk(day, theme::kTitleInk);
        day->setGeometry(kDayLeft, top, kDayWidth, kLabelHeight);
        connect(day, &ClickableLabel::clicked, this, [this, i] { clickDay(i); });
        dayLabels_[static_cast<std::size_t>(i)] = day;

        auto* dish = new ClickableLabel(week_, ClickableLabel::Click::Release);
        dish->setObjectName(QStringLiteral("dagens(%1)").arg(i + 1));
        dish->setGeometry(kDishLeft, top, kDishWidth, kLabelHeight);
        connect(dish, &ClickableLabel::clicked, this, [this, i] { openDish(i + 1); });
        dishLabels_[static_cast<std::size_t>(i)] = dish;

        auto* plus = new ClickableLabel(week_);
        plus->setObjectName(QStringLiteral("plus(%1)").arg(i));
        plus->setText(QStringLiteral("+"));
        plus->setToolTip(QStringLiteral("See possible recipes"));
        plus->setAlignment(Qt::AlignCenter);
        plus->setFont(theme::sansFont(13, true));
        theme::setInk(plus, theme::kTomato);
        plus->setGeometry(kPlusLeft, top, 24, kLabelHeight);
        plus->setKeyboardFocusable(true);
        plus->hide();
        connect(plus, &ClickableLabel::clicked, this, [this, i] { openCandidates(i); });
        plusLabels_[static_cast<std::size_t>(i)] = plus;
        showDish(i + 1);
    }

    highlight_ = new QFrame(week_);
    highlight_->setObjectName(QStringLiteral("ram"));
    highlight_->setStyleSheet(theme::dayFrameStyle());
    highlight_->setAttribute(Qt::WA_TransparentForMouseEvents);
    highlight_->lower();

    candidateList_ = new QListWidget(week_);
    candidateList_->setObjectName(QStringLiteral("List3"));
    candidateList_->setFont(theme::serifFont(11));
    candidateList_->setSelectionMode(QAbstractItemView::SingleSelection);
    candidateList_->setToolTip(QStringLiteral("Click the recipe you would like for this evening"));
    candidateList_->setFrameShape(QFrame::Box);
    candidateList_->resize(240, 150);
    candidateList_->installEventFilter(this);
    candidateList_->hide();
    connect(candidateList_, &QListWidget::itemClicked, this, &WeeklyMenuWindow::chooseCandidate);
    connect(candidateList_, &QListWidget::itemActivated, this, &WeeklyMenuWindow::chooseCandidate);
}

void WeeklyMenuWindow::buildComposer()
{
    dayFrame_ = new QGroupBox(this);
    dayFrame_->setObjectName(QStringLiteral("Frame1"));
    // The caption names the evening being composed: it is the heading of everything in here.
    dayFrame_->setFont(theme::sansFont(12, true));

    auto button = [](const char* name, const QString& caption, const QString& tip,
                     QWidget* parent) {
        auto* b = new QPushButton(caption, parent);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(tip);
        b->setFont(theme::sansFont(10));
        b->setMinimumSize(96, 28);
        b->setCursor(Qt::PointingHandCursor);
        return b;
    };
    previousButton_ = button("Command4", QStringLiteral("< Sunday"),
                             QStringLiteral("Compose the evening before"), dayFrame_);
    nextButton_ = button("Command3", QStringLiteral("Tuesday >"),
                         QStringLiteral("Compose the evening after"), dayFrame_);
    connect(previousButton_, &QPushButton::clicked, this, &WeeklyMenuWindow::stepToPreviousDay);
    connect(nextButton_, &QPushButton::clicked, this, &WeeklyMenuWindow::stepToNextDay);

    auto caption = [](const char* name, const QString& text, QWidget* parent) {
        auto* label = new QLabel(text, parent);
        label->setObjectName(QLatin1String(name));
        label->setFont(theme::sansFont(10));
        label->setWordWrap(true);
        return label;
    };
    auto* mealCaption = caption(
        "Label2", QStringLiteral("Please choose what you'd like to eat this evening:"), dayFrame_);
    auto* mealGroup = new QButtonGroup(this);
    const char* const mealNames[] = {"Something light", "Something casual", "Something special"};
    const char* const mealTips[] = {"A first course", "A hot dish of at most 50 minutes",
                                    "A hot dish that takes more than 50 minutes"};
    for (std::size_t i = 0; i < mealOptions_.size(); ++i) {
        auto* option = new QRadioButton(QLatin1String(mealNames[i]), dayFrame_);
        option->setObjectName(QStringLiteral("Option%1").arg(i + 1));
        option->setFont(theme::sansFont(10));
        option->setToolTip(QLatin1String(mealTips[i]));
        option->setCursor(Qt::PointingHandCursor);
        mealGroup->addButton(option);
        mealOptions_[i] = option;
    }
    mealOptions_[1]->setChecked(true);

    auto* wordCaption = caption(
        "Label1", QStringLiteral("Dish must contain the following ingredient(s):"), dayFrame_);
    wordList_ = new QListWidget(dayFrame_);
    wordList_->setObjectName(QStringLiteral("List1"));
    wordList_->setFont(theme::sansFont(10));
    wordList_->setUniformItemSizes(true);
    wordList_->setMinimumHeight(120);
    wordList_->setToolTip(QStringLiteral("Tick the ingredients the dish must contain"));
    wordList_->installEventFilter(this);
    wordCaption->setBuddy(wordList_);
    // A click anywhere on a word ticks it or lets it go, so the small box need not be hit.
    connect(wordList_, &QListWidget::itemClicked, this, [](QListWidgetItem* item) {
        item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    });

    auto* searchButton = button("Command5", QStringLiteral("Search"),
                                QStringLiteral("Find a dish for this evening"), dayFrame_);
    connect(searchButton, &QPushButton::clicked, this, &WeeklyMenuWindow::search);
    searchButton->setFocus();
    // What the window is for: Enter composes the evening (see keyPressEvent).
    searchButton->setDefault(true);
    searchButton_ = searchButton;

    auto* arrows = new QHBoxLayout;
    arrows->addWidget(previousButton_);
    arrows->addStretch();
    arrows->addWidget(nextButton_);
    auto* searchRow = new QHBoxLayout;
    searchRow->addStretch();
    searchRow->addWidget(searchButton);

    auto* frameLayout = new QVBoxLayout(dayFrame_);
    frameLayout->setSpacing(4);
    frameLayout->addLayout(arrows);
    frameLayout->addSpacing(8);
    frameLayout->addWidget(mealCaption);
    for (QRadioButton* option : mealOptions_) frameLayout->addWidget(option);
    frameLayout->addSpacing(8);
    frameLayout->addWidget(wordCaption);
    frameLayout->addWidget(wordList_, 1);
    frameLayout->addSpacing(4);
    frameLayout->addLayout(searchRow);

    auto* helpButton =
        button("Command6", QStringLiteral("Help"), QStringLiteral("How to compose a menu"), this);
    auto* printButton = button("Command1", QStringLiteral("Print report"),
                               QStringLiteral("Print the week's menu"), this);
    auto* closeButton =
        button("Command2", QStringLiteral("Close"), QStringLiteral("Close the weekly menu"), this);
    connect(helpButton, &QPushButton::clicked, this, &WeeklyMenuWindow::openHelp);
    connect(printButton, &QPushButton::clicked, this, &WeeklyMenuWindow::printReport);
    connect(closeButton, &QPushButton::clicked, this, &WeeklyMenuWindow::closeMenu);
    shoppingButton_ = button("cmdShoppingList", QStringLiteral("Shopping list"),
                             QStringLiteral("One shopping list for the week's dishes"), this);
    shoppingButton_->setAccessibleName(QStringLiteral("Shopping list"));
    shoppingButton_->setAccessibleDescription(
        QStringLiteral("The ingredients of the week's dishes in one list, to print"));
    shoppingButton_->setEnabled(false);
    connect(shoppingButton_, &QPushButton::clicked, this, &WeeklyMenuWindow::openShoppingList);

    auto* top = new QHBoxLayout;
    top->setSpacing(14);
    top->addWidget(week_, 0, Qt::AlignTop);
    top->addWidget(dayFrame_, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(helpButton);
    bottom->addStretch();
    bottom->addWidget(shoppingButton_);
    bottom->addWidget(printButton);
    bottom->addWidget(closeButton);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 10, 14, 12);
    layout->setSpacing(10);
    layout->addLayout(top);
    layout->addLayout(bottom);
    dayFrame_->setMinimumWidth(290);
    setFixedSize(sizeHint().expandedTo(QSize(kNoteSize.width() + 290 + 42, 0)));
}

void WeeklyMenuWindow::fillWordList()
{
    // A missing or unreadable sok.txt leaves the list empty: the menu works without words.
    auto words = search::readFridgeList(app_.state.folder);
    if (!words) return;
    std::stable_sort(words->begin(), words->end(), text::CollateLess{});
    for (const std::string& word : *words) {
        auto* item = new QListWidgetItem(fromCp(word), wordList_);
        item->setData(Qt::UserRole, QByteArray::fromStdString(word));
        // Ticked by a click anywhere on the line (see above), not only on the box.
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Unchecked);
    }
    if (wordList_->count() > 0) wordList_->setCurrentRow(0);
}

std::vector<std::string> WeeklyMenuWindow::tickedWords() const
{
    std::vector<std::string> words;
    for (int i = 0; i < wordList_->count(); ++i) {
        const QListWidgetItem* item = wordList_->item(i);
        if (item->checkState() == Qt::Checked) {
            words.push_back(item->data(Qt::UserRole).toByteArray().toStdString());
        }
    }
    return words;
}

menu::Meal WeeklyMenuWindow::meal() const
{
    if (mealOptions_[0]->isChecked()) return menu::Meal::Light;
    if (mealOptions_[2]->isChecked()) return menu::Meal::Special;
    return menu::Meal::Casual;
}

void WeeklyMenuWindow::untickWords()
{
    for (int i = 0; i < wordList_->count(); ++i) wordList_->item(i)->setCheckState(Qt::Unchecked);
}

void WeeklyMenuWindow::showDay(int day)
{
    composingDay_ = day;
    dayFrame_->setTitle(fromCp(menu::dayName(day)));
}

void WeeklyMenuWindow::placeHighlight(int index)
{
    // Round the label: 60 twips to its left, 20 above, 100 wider and 50 taller.
    const QRect label = dayLabels_[static_cast<std::size_t>(index)]->geometry();
    highlight_->setGeometry(label.x() - twips(60), label.y() - twips(20),
                            label.width() + twips(100), label.height() + twips(50));
    highlight_->show();
    highlightedDay_ = index;
}

void WeeklyMenuWindow::clickDay(int index)
{
    if (index < 0 || index > 6) return;
    placeHighlight(index);
    untickWords();
    showDay(index + 1);
    // The arrows step from the day clicked: "Thursday" comes with "< Wednesday" and
    // "Friday >", not with the neighbours of the day composed before.
    showArrowCaptions();
}

void WeeklyMenuWindow::stepToNextDay()
{
    untickWords();
    showDay(menu::nextDay(composingDay_));
    showArrowCaptions();
}

void WeeklyMenuWindow::stepToPreviousDay()
{
    untickWords();
    showDay(menu::previousDay(composingDay_));
    showArrowCaptions();
}

void WeeklyMenuWindow::showArrowCaptions()
{
    previousButton_->setText(fromCp(menu::previousCaption(composingDay_)));
    nextButton_->setText(fromCp(menu::nextCaption(composingDay_)));
}

void WeeklyMenuWindow::search()
{
    Compose(menu::dayName(composingDay_));
}

void WeeklyMenuWindow::Compose(std::string_view dayName)
{
    const int day = menu::dayNumber(dayName);
    if (day == 0) return;
    const auto& folder = app_.state.folder;
    const std::string& book = app_.state.currentCookbookFile;
    // A cookbook that is not there would read as one without a single recipe: say so instead
    // of suggesting nothing.
    if (auto usable = app::checkCookbookFile(folder, book); !usable) {
        app_.services.prompter.inform(toQString(usable.error()), QStringLiteral("Info"),
                                      MessageIcon::Exclamation);
        return;
    }
    auto composed = menu::composeFromCookbook(folder, book, meal(), tickedWords());
    if (!composed) {
        app_.services.prompter.inform(toQString(composed.error()), QStringLiteral("Error"),
                                      MessageIcon::Exclamation);
        return;
    }
    // Each search seeds the pick anew from the time of day, so two searches a moment apart
    // may propose different dishes.
    app_.services.random.seed(
        static_cast<std::uint64_t>(app_.services.clock.now().time().msecsSinceStartOfDay()));
    const std::size_t d = static_cast<std::size_t>(day - 1);
    dishes_[d] = composed->candidates.empty()
                     ? std::string(menu::kNoSuggestion)
                     : menu::pickDish(composed->candidates, app_.services.random.next());
    candidates_[d] = std::move(composed->candidates);
    std::stable_sort(candidates_[d].begin(), candidates_[d].end(), text::CollateLess{});
    if (openListDay_ == day) hideCandidates();
    showDish(day);
}

void WeeklyMenuWindow::showDish(int day)
{
    const std::size_t d = static_cast<std::size_t>(day - 1);
    ClickableLabel* label = dishLabels_[d];
    const std::string& dish = dishes_[d];
    const bool recipe = !isPlaceholder(dish);
    QFont font = theme::serifFont(11.5);
    font.setItalic(!recipe);
    label->setFont(font);
    theme::setInk(label, recipe ? theme::kInk : theme::kSoftInk);
    // A long name is cut short with an ellipsis; the tool tip has all of it.
    const QString caption = fromCp(dish);
    const QString shown = QFontMetrics(font).elidedText(caption, Qt::ElideRight, label->width());
    label->setText(shown);
    label->setToolTip(recipe ? (shown == caption ? QStringLiteral("Read the recipe")
                                                 : caption + QStringLiteral(": read the recipe"))
                             : QString());
    label->setCursor(recipe ? Qt::PointingHandCursor : Qt::ArrowCursor);
    label->setKeyboardFocusable(recipe);
    plusLabels_[d]->setVisible(candidates_[d].size() > 1);
    if (shoppingButton_) {
        shoppingButton_->setEnabled(std::ranges::any_of(
            dishes_, [](const std::string& other) { return !isPlaceholder(other); }));
    }
}

void WeeklyMenuWindow::openCandidates(int index)
{
    if (index < 0 || index > 6) return;
    const int day = index + 1;
    const std::size_t d = static_cast<std::size_t>(index);
    if (candidates_[d].empty()) return;
    openListDay_ = day;
    candidateList_->move(plusLabels_[d]->pos());
    candidateList_->clear();
    int current = 0;
    for (const std::string& name : candidates_[d]) {
        auto* item = new QListWidgetItem(fromCp(name), candidateList_);
        item->setData(Qt::UserRole, QByteArray::fromStdString(name));
        if (name == dishes_[d]) current = candidateList_->count() - 1;
    }
    // As tall as its names (ten at most, then it scrolls), and on the paper: it opens to the
    // left of a "+" at the edge, and upwards from one near the bottom.
    const int rows = std::min(candidateList_->count(), 10);
    candidateList_->resize(candidateList_->width(), rows * candidateList_->sizeHintForRow(0) +
                                                        2 * candidateList_->frameWidth() + 4);
    const QRect paper = week_->rect().adjusted(6, 12, -8, -8);
    candidateList_->move(
        std::clamp(candidateList_->x(), paper.left(), paper.right() + 1 - candidateList_->width()),
        std::clamp(candidateList_->y(), paper.top(),
                   std::max(paper.top(), paper.bottom() + 1 - candidateList_->height())));
    // Selecting the entry makes it the day's dish, as a click on it would.
    candidateList_->setCurrentRow(current);
    dishes_[d] = candidateList_->item(current)->data(Qt::UserRole).toByteArray().toStdString();
    showDish(day);
    candidateList_->show();
    candidateList_->raise();
    candidateList_->setFocus();
}

void WeeklyMenuWindow::chooseCandidate(QListWidgetItem* item)
{
    if (!item || openListDay_ < 1) return;
    dishes_[static_cast<std::size_t>(openListDay_ - 1)] =
        item->data(Qt::UserRole).toByteArray().toStdString();
    showDish(openListDay_);
    hideCandidates();
}

void WeeklyMenuWindow::hideCandidates()
{
    candidateList_->hide();
}

void WeeklyMenuWindow::openDish(int day)
{
    if (day < 1 || day > 7) return;
    const std::string& dish = dishes_[static_cast<std::size_t>(day - 1)];
    if (isPlaceholder(dish)) return;
    showRecipe(app_, dish);
}

void WeeklyMenuWindow::printReport()
{
    printMenu();
}

void WeeklyMenuWindow::openShoppingList()
{
    std::vector<std::string> week;
    for (const std::string& dish : dishes_) {
        if (!isPlaceholder(dish)) week.push_back(dish);
    }
    if (week.empty()) return;
    auto list = menu::shoppingListOf(app_.state.folder, app_.state.currentCookbookFile, week);
    if (!list) {
        app_.services.prompter.inform(toQString(list.error()), QStringLiteral("Error"),
                                      MessageIcon::Exclamation);
        return;
    }
    auto* dialog = new ShoppingListDialog(app_, std::move(*list), this);
    dialog->setWindowFlag(Qt::Dialog);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

bool WeeklyMenuWindow::printMenu()
{
    // Cancelling the print dialog prints nothing; without a printer the menu becomes a PDF.
    if (app_.services.printer.hasPrinter() && !app_.services.prompter.choosePrinter()) {
        return false;
    }
    sendToPrinter(kMenuTitle, menu::menuPrintout(dishes_, app::kWebSite), app_.services.printer);
    printed_ = dishes_;
    return true;
}

bool WeeklyMenuWindow::hasUnsavedInput() const
{
    // A week of "(Nothing yet)" and "(No suggestion)" holds nothing to keep.
    return dishes_ != printed_ && std::ranges::any_of(dishes_, [](const std::string& dish) {
               return !isPlaceholder(dish);
           });
}

void WeeklyMenuWindow::saveInput()
{
    if (printMenu()) app_.windows.closeWindow(this);
}

void WeeklyMenuWindow::closeEvent(QCloseEvent* event)
{
    if (!mayClose(this, app_.services.prompter)) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void WeeklyMenuWindow::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    // Enter reaches the window from whatever did not take it: a button with the focus is the
    // one it presses, anything else (the word list, a meal) asks for a dish.
    auto* focused = qobject_cast<QPushButton*>(focusWidget());
    (focused && focused->isEnabled() ? focused : searchButton_)->click();
}

void WeeklyMenuWindow::openHelp()
{
    const QString page = helpPage(app_.state, "menu.html");
    if (!app_.services.opener.openDocument(page)) {
        app_.services.prompter.inform(
            QStringLiteral("The help page \"%1\" could not be opened: no program to show web "
                           "pages was found.")
                .arg(page),
            QStringLiteral("Error"), MessageIcon::Exclamation);
    }
}

void WeeklyMenuWindow::closeMenu()
{
    app_.windows.closeWindow(this);
}

bool WeeklyMenuWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == week_ && event->type() == QEvent::MouseMove) {
        // Moving over the note itself, not over a day, a dish or the list, puts the list away.
        const auto* move = static_cast<QMouseEvent*>(event);
        if (candidateList_->isVisible() && !week_->childAt(move->position().toPoint())) {
            hideCandidates();
        }
    } else if (watched == candidateList_ && event->type() == QEvent::KeyPress &&
               static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        hideCandidates();
        return true;
    } else if (watched == candidateList_ && event->type() == QEvent::KeyPress &&
               (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return ||
                static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter)) {
        // Enter chooses the dish, and goes no further: it must not search the day anew.
        chooseCandidate(candidateList_->currentItem());
        return true;
    } else if (watched == candidateList_ && event->type() == QEvent::FocusOut) {
        const auto* focus = static_cast<QFocusEvent*>(event);
        if (focus->reason() == Qt::MouseFocusReason || focus->reason() == Qt::TabFocusReason ||
            focus->reason() == Qt::BacktabFocusReason) {
            hideCandidates();
        }
    } else if (watched == wordList_ && event->type() == QEvent::KeyPress &&
               static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        if (QListWidgetItem* item = wordList_->currentItem()) {
            item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace culvora::gui
