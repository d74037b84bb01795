#include "gui/nutrition/calculator_window.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>

#include "core/text/text.h"
#include "gui/app/delivered_files.h"
#include "gui/app/qt_text.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/theme/theme.h"

namespace culvora::gui {

namespace {

// The totals' captions, in the order of the table's values.
const char* const kCaptions[nutrition::kValueCount] = {
    "Energy (kJ)",     "kcal:",    "water:", "protein:",    "fat:",
    "carbonhydrates:", "kalcium:", "iron:",  "vitamine A:", "vitamine C:"};

// Whether an amount begins with a number, as the totals read it: blanks, a sign, then digits
// with one decimal point. "." or "-" alone is no number of grams.
bool readsAsAmount(const QString& amount)
{
    qsizetype i = 0;
    while (i < amount.size() && amount[i] == QLatin1Char(' ')) ++i;
    if (i < amount.size() && (amount[i] == QLatin1Char('+') || amount[i] == QLatin1Char('-'))) {
        ++i;
    }
    bool point = false;
    for (; i < amount.size(); ++i) {
        const QChar c = amount[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) return true;
        if (c == QLatin1Char(' ')) continue;
        if (c != QLatin1Char('.') || point) break;
        point = true;
    }
    return false;
}

bool isEnter(const QKeyEvent* key)
{
    return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
           (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

QPushButton* makeButton(const char* name, const QString& caption, const QString& tip,
                        QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(tip);
    button->setFont(theme::sansFont(10));
    button->setMinimumSize(80, 28);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

QListWidget* makeList(const char* name, QWidget* parent)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QLatin1String(name));
    list->setFont(theme::sansFont(10));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setUniformItemSizes(true);
    return list;
}

}  // namespace

CalculatorWindow::CalculatorWindow(AppContext& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName(forms::kCalculator);
    setWindowTitle(QStringLiteral("The (kcal)culator"));
    buildControls();
    showTotals(nutrition::totalTexts({}));
    fillNames();
}

void CalculatorWindow::buildControls()
{
    theme::setPaper(this);
    setStyleSheet(theme::nutritionStyle());

    // --- The table's ingredients, and the amount of the chosen one ---------------------------
    auto* ingredients = new QGroupBox(QStringLiteral("Ingredients"), this);
    findBox_ = new QLineEdit(ingredients);
    findBox_->setObjectName(QStringLiteral("findBox"));
    findBox_->setFont(theme::sansFont(10));
    findBox_->setPlaceholderText(QStringLiteral("Find: type words of a name, e.g. milk whole"));
    findBox_->setClearButtonEnabled(true);
    findBox_->setToolTip(QStringLiteral("Shows the ingredients whose names hold every word you "
                                        "type; Enter goes on to the grams"));
    findBox_->installEventFilter(this);

    nameList_ = makeList("List1", ingredients);
    nameList_->setMinimumSize(370, 330);
    nameList_->installEventFilter(this);
    nameList_->viewport()->installEventFilter(this);

    noMatch_ = new QLabel(QStringLiteral("No ingredient holds every word you typed."), ingredients);
    noMatch_->setObjectName(QStringLiteral("noMatch"));
    noMatch_->setProperty("hint", true);
    noMatch_->setFont(theme::sansFont(9));
    noMatch_->hide();

    auto* amountCaption = new QLabel(QStringLiteral("Specific mass (gram):"), ingredients);
    amountCaption->setObjectName(QStringLiteral("Label2"));
    amountCaption->setFont(theme::sansFont(10));
    amountBox_ = new QLineEdit(ingredients);
    amountBox_->setObjectName(QStringLiteral("Text1"));
    amountBox_->setFont(theme::sansFont(10));
    amountBox_->setFixedWidth(90);
    amountBox_->setToolTip(QStringLiteral("The grams of the chosen ingredient in the dish"));
    amountBox_->installEventFilter(this);
    amountCaption->setBuddy(amountBox_);
    auto* addButton = makeButton("Command1", QStringLiteral("Add"),
                                 QStringLiteral("Add the grams of the chosen ingredient to the "
                                                "dish"),
                                 ingredients);

    auto* amountRow = new QHBoxLayout;
    amountRow->setSpacing(6);
    amountRow->addWidget(amountCaption);
    amountRow->addWidget(amountBox_);
    amountRow->addStretch(1);
    amountRow->addWidget(addButton);

    auto* ingredientLayout = new QVBoxLayout(ingredients);
    ingredientLayout->setSpacing(6);
    ingredientLayout->addWidget(findBox_);
    ingredientLayout->addWidget(nameList_, 1);
    ingredientLayout->addWidget(noMatch_);
    ingredientLayout->addLayout(amountRow);

    // --- The dish: names and grams in two lists side by side --------------------------------
    auto* dish = new QGroupBox(QStringLiteral("The dish"), this);
    dishNames_ = makeList("List2", dish);
    dishNames_->setMinimumSize(270, 330);
    dishNames_->viewport()->installEventFilter(this);
    dishAmounts_ = makeList("List3", dish);
    dishAmounts_->setFixedWidth(72);
    dishAmounts_->setMinimumHeight(330);
    for (QListWidget* list : {dishNames_, dishAmounts_}) {
        // The lists scroll together; the grams list's own bar would only be a second one.
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    dishAmounts_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* nameHeading = new QLabel(QStringLiteral("Ingredient"), dish);
    nameHeading->setProperty("heading", true);
    auto* gramHeading = new QLabel(QStringLiteral("Grams"), dish);
    gramHeading->setProperty("heading", true);

    auto* deleteButton = makeButton("Command2", QStringLiteral("Delete"),
                                    QStringLiteral("Take the chosen line out of the dish"), dish);
    auto* clearButton =
        makeButton("Command3", QStringLiteral("Clear"), QStringLiteral("Start a new dish"), dish);

    auto* dishGrid = new QGridLayout;
    dishGrid->setHorizontalSpacing(4);
    dishGrid->setVerticalSpacing(4);
    dishGrid->addWidget(nameHeading, 0, 0);
    dishGrid->addWidget(gramHeading, 0, 1);
    dishGrid->addWidget(dishNames_, 1, 0);
    dishGrid->addWidget(dishAmounts_, 1, 1);
    auto* dishButtons = new QHBoxLayout;
    dishButtons->addWidget(deleteButton);
    dishButtons->addStretch(1);
    dishButtons->addWidget(clearButton);
    auto* dishLayout = new QVBoxLayout(dish);
    dishLayout->setSpacing(6);
    dishLayout->addLayout(dishGrid, 1);
    dishLayout->addLayout(dishButtons);

    // --- The totals ------------------------------------------------------------------------
    // A card like the other two, with its heading inside.
    auto* totalsCard = new QGroupBox(this);
    auto* heading = new QLabel(QStringLiteral("Total values"), totalsCard);
    heading->setObjectName(QStringLiteral("Label5"));
    heading->setProperty("heading", true);
    heading->setFont(theme::serifFont(12));
    auto* totalsGrid = new QGridLayout;
    totalsGrid->setHorizontalSpacing(14);
    totalsGrid->setVerticalSpacing(5);
    for (int k = 0; k < nutrition::kValueCount; ++k) {
        auto* caption = new QLabel(QLatin1String(kCaptions[k]), totalsCard);
        caption->setObjectName(QStringLiteral("label4(%1)").arg(k));
        caption->setFont(theme::sansFont(10));
        auto* total = new QLabel(totalsCard);
        total->setObjectName(QStringLiteral("Label%1").arg(6 + k));
        total->setFont(theme::sansFont(10, true));
        total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        total->setMinimumWidth(90);
        total->setTextInteractionFlags(Qt::TextSelectableByMouse);
        theme::setInk(total, theme::kInk);
        totalLabels_[static_cast<std::size_t>(k)] = total;
        // A thin gap between the energy, the grams and the milligrams.
        const int row = k + (k >= 2 ? 1 : 0) + (k >= 6 ? 1 : 0);
        totalsGrid->addWidget(caption, row, 0);
        totalsGrid->addWidget(total, row, 1);
    }
    totalsGrid->setRowMinimumHeight(2, 6);
    totalsGrid->setRowMinimumHeight(7, 6);

    auto* calculateButton = makeButton("Command4", QStringLiteral("R\u00e4kna!"),
                                       QStringLiteral("Add up the dish again"), totalsCard);
    // What the window is for: Enter adds the dish up (see keyPressEvent).
    calculateButton->setDefault(true);
    calculateButton_ = calculateButton;
    auto* helpButton = makeButton("Command6", QStringLiteral("Help"),
                                  QStringLiteral("How the calculator works"), totalsCard);
    auto* closeButton = makeButton("Command5", QStringLiteral("Close"),
                                   QStringLiteral("Close the calculator"), totalsCard);
    auto* lowerButtons = new QHBoxLayout;
    lowerButtons->addWidget(helpButton);
    lowerButtons->addStretch(1);
    lowerButtons->addWidget(closeButton);

    auto* totalsLayout = new QVBoxLayout(totalsCard);
    totalsLayout->setContentsMargins(16, 4, 16, 10);
    totalsLayout->setSpacing(8);
    totalsLayout->addWidget(heading);
    totalsLayout->addLayout(totalsGrid);
    totalsLayout->addWidget(calculateButton);
    totalsLayout->addStretch(1);
    totalsLayout->addLayout(lowerButtons);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(14, 10, 14, 14);
    layout->setSpacing(12);
    layout->addWidget(ingredients, 5);
    layout->addWidget(dish, 4);
    layout->addWidget(totalsCard, 3);
    // One size: the lists scroll, the window does not grow.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    clearTimer_ = new QTimer(this);
    clearTimer_->setObjectName(QStringLiteral("Timer1"));
    clearTimer_->setInterval(100);
    clearTimer_->setSingleShot(true);
    connect(clearTimer_, &QTimer::timeout, amountBox_, &QLineEdit::clear);

    connect(findBox_, &QLineEdit::textChanged, this, &CalculatorWindow::filterNames);
    connect(nameList_, &QListWidget::itemClicked, this, [this] {
        amountBox_->clear();
        amountBox_->setFocus(Qt::OtherFocusReason);
    });
    connect(addButton, &QPushButton::clicked, this, &CalculatorWindow::add);
    connect(deleteButton, &QPushButton::clicked, this, &CalculatorWindow::remove);
    connect(clearButton, &QPushButton::clicked, this, &CalculatorWindow::clear);
    connect(calculateButton, &QPushButton::clicked, this, &CalculatorWindow::calculate);
    connect(helpButton, &QPushButton::clicked, this, &CalculatorWindow::openHelp);
    connect(closeButton, &QPushButton::clicked, this, [this] { app_.windows.closeWindow(this); });

    // Entry i of the grams is the amount of entry i of the names: choosing one chooses both.
    connect(dishNames_, &QListWidget::currentRowChanged, this, &CalculatorWindow::selectDishLine);
    connect(dishAmounts_, &QListWidget::currentRowChanged, this, &CalculatorWindow::selectDishLine);
    connect(dishNames_->verticalScrollBar(), &QAbstractSlider::valueChanged,
            dishAmounts_->verticalScrollBar(), &QAbstractSlider::setValue);
    connect(dishAmounts_->verticalScrollBar(), &QAbstractSlider::valueChanged,
            dishNames_->verticalScrollBar(), &QAbstractSlider::setValue);

    setFocusProxy(findBox_);
}

void CalculatorWindow::fillNames()
{
    auto table = nutrition::readTable(app_.state.folder);
    if (!table) {
        app_.services.prompter.inform(toQString(table.error()), QStringLiteral("Error"),
                                      MessageIcon::Exclamation);
        return;
    }
    // Every name line, a record cut short at the end of the file included: its known values
    // still count.
    names_.reserve(table->size());
    for (auto& ingredient : *table) names_.push_back(std::move(ingredient.name));
    std::stable_sort(names_.begin(), names_.end(), text::CollateLess{});
    QStringList shown;
    shown.reserve(static_cast<qsizetype>(names_.size()));
    for (const auto& name : names_) shown << fromCp(name);
    nameList_->addItems(shown);
}

QStringList CalculatorWindow::totals() const
{
    QStringList texts;
    for (const QLabel* label : totalLabels_) texts << label->text();
    return texts;
}

void CalculatorWindow::showTotals(const std::array<std::string, nutrition::kValueCount>& texts)
{
    for (int k = 0; k < nutrition::kValueCount; ++k) {
        totalLabels_[static_cast<std::size_t>(k)]->setText(
            fromCp(texts[static_cast<std::size_t>(k)]));
    }
}

void CalculatorWindow::add()
{
    const auto chosen = nameList_->selectedItems();
    const QString amount = amountBox_->text();
    if (chosen.isEmpty() || amount.isEmpty()) {
        app_.services.prompter.beep();
        return;
    }
    // A full stop passes the key filter for the decimals it starts, but alone it is no amount.
    if (!readsAsAmount(amount)) {
        refuseAmount();
        return;
    }
    const std::string& name = names_[static_cast<std::size_t>(nameList_->row(chosen.front()))];
    // The amount is read for its leading number only; a character the box let through that
    // Windows-1252 cannot hold must not cost the digits before it.
    auto cp = toCp(amount);
    dish_.push_back({name, cp ? std::move(*cp) : amount.toStdString()});
    dishNames_->addItem(fromCp(name));
    dishAmounts_->addItem(amount);
    dishAmounts_->item(dishAmounts_->count() - 1)
        ->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    selectDishLine(dishNames_->count() - 1);
    amountBox_->clear();
    calculate();
    // The next ingredient is looked for where the last was found.
    if (amountBox_->hasFocus()) {
        findBox_->setFocus(Qt::OtherFocusReason);
        findBox_->selectAll();
    }
}

void CalculatorWindow::remove()
{
    const int row = dishNames_->currentRow();
    if (row >= 0 && dishNames_->item(row)->isSelected()) {
        dish_.erase(dish_.begin() + row);
        delete dishNames_->takeItem(row);
        delete dishAmounts_->takeItem(row);
    }
    calculate();
}

void CalculatorWindow::clear()
{
    dish_.clear();
    dishNames_->clear();
    dishAmounts_->clear();
    showTotals(nutrition::totalTexts({}));
}

void CalculatorWindow::calculate()
{
    // The table is read once for the whole dish, and looked up by name.
    auto table = nutrition::readTable(app_.state.folder);
    if (!table) {
        app_.services.prompter.inform(toQString(table.error()), QStringLiteral("Error"),
                                      MessageIcon::Exclamation);
    }
    const std::vector<nutrition::Ingredient> rows =
        table ? std::move(*table) : std::vector<nutrition::Ingredient>{};
    showTotals(nutrition::totalTexts(nutrition::dishTotals(nutrition::indexByName(rows), dish_)));
    if (!dish_.empty()) selectDishLine(static_cast<int>(dish_.size()) - 1);
}

void CalculatorWindow::openHelp()
{
    const QString page = helpPage(app_.state, "kcal.html");
    if (!app_.services.opener.openDocument(page)) {
        app_.services.prompter.inform(
            QStringLiteral("The help page \"%1\" could not be opened: no program to show web "
                           "pages was found.")
                .arg(page),
            QStringLiteral("Error"), MessageIcon::Exclamation);
    }
}

void CalculatorWindow::selectDishLine(int row)
{
    for (QListWidget* list : {dishNames_, dishAmounts_}) {
        if (row < 0 || row >= list->count()) continue;
        if (list->currentRow() != row || !list->item(row)->isSelected()) list->setCurrentRow(row);
    }
}

void CalculatorWindow::filterNames(const QString& typed)
{
    const auto key = toCp(typed);
    int first = -1;
    int best = -1;
    for (int row = 0; row < nameList_->count(); ++row) {
        const std::string& name = names_[static_cast<std::size_t>(row)];
        const bool shown = key && nutrition::containsWords(name, *key);
        if (nameList_->isRowHidden(row) == shown) nameList_->setRowHidden(row, !shown);
        if (!shown) continue;
        if (first < 0) first = row;
        if (best < 0 && nutrition::startsWithWords(name, *key)) best = row;
    }
    noMatch_->setVisible(first < 0);
    // The choice goes to the first name that begins with the typed words ("milk whole" is
    // "Milk, whole, ...", not a baby food made with it); else it stays where it was while
    // that name is in sight, else it goes to the first name shown.
    const int current = nameList_->currentRow();
    const bool currentShown =
        current >= 0 && !nameList_->isRowHidden(current) && nameList_->item(current)->isSelected();
    if (first < 0) {
        nameList_->clearSelection();
        nameList_->setCurrentRow(-1);
    } else if (best >= 0) {
        nameList_->setCurrentRow(best);
    } else if (!currentShown) {
        nameList_->setCurrentRow(first);
    }
    if (nameList_->currentItem()) {
        nameList_->scrollToItem(nameList_->currentItem(), QAbstractItemView::PositionAtCenter);
    }
}

void CalculatorWindow::stepChoice(int direction)
{
    int row = nameList_->currentRow();
    for (int next = row + direction; next >= 0 && next < nameList_->count(); next += direction) {
        if (!nameList_->isRowHidden(next)) {
            nameList_->setCurrentRow(next);
            nameList_->scrollToItem(nameList_->item(next));
            return;
        }
    }
}

void CalculatorWindow::showWholeName(QListWidget* list, QHelpEvent* event)
{
    // The table's names are long: one cut short at the list's edge is shown whole on hover.
    const QListWidgetItem* item = list->itemAt(event->pos());
    const int room = list->viewport()->width() - 12;
    if (item && list->fontMetrics().horizontalAdvance(item->text()) > room) {
        QToolTip::showText(event->globalPos(), item->text(), list->viewport());
    } else {
        QToolTip::hideText();
        event->ignore();
    }
}

bool CalculatorWindow::refuseKey(const QString& typed)
{
    bool refused = false;
    for (const char32_t code : typed.toUcs4()) {
        if (code < 32 || code == 127) continue;  // control keys pass
        const auto cp = toCp(QString::fromUcs4(&code, 1));
        // A character Windows-1252 cannot hold is no digit either.
        if (!cp || cp->size() != 1 ||
            nutrition::refusedInAmount(static_cast<unsigned char>(cp->front()))) {
            refused = true;
            break;
        }
    }
    if (!refused) return false;
    refuseAmount();
    return true;
}

void CalculatorWindow::refuseAmount()
{
    app_.services.prompter.beep();
    app_.services.prompter.inform(QStringLiteral("Endast siffror, tack!"), QStringLiteral("Fel"));
    clearTimer_->start();
}

void CalculatorWindow::keyPressEvent(QKeyEvent* event)
{
    if (!isEnter(event)) {
        QWidget::keyPressEvent(event);
        return;
    }
    // Enter reaches the window from whatever did not take it (the dish's lists, a button):
    // a button with the focus is the one it presses, else the dish is added up.
    auto* focused = qobject_cast<QPushButton*>(focusWidget());
    (focused && focused->isEnabled() ? focused : calculateButton_)->click();
}

void CalculatorWindow::closeEvent(QCloseEvent* event)
{
    if (!mayClose(this, app_.services.prompter)) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

bool CalculatorWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        for (QListWidget* list : {nameList_, dishNames_}) {
            if (watched == list->viewport()) {
                showWholeName(list, static_cast<QHelpEvent*>(event));
                return true;
            }
        }
    }
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == amountBox_) {
        if (isEnter(key)) {
            add();
            return true;
        }
        if (!key->text().isEmpty() && refuseKey(key->text())) return true;
    } else if (watched == findBox_) {
        if (isEnter(key)) {
            if (!nameList_->selectedItems().isEmpty()) {
                amountBox_->clear();
                amountBox_->setFocus(Qt::OtherFocusReason);
            } else {
                app_.services.prompter.beep();
            }
            return true;
        }
        if (key->key() == Qt::Key_Down || key->key() == Qt::Key_Up) {
            stepChoice(key->key() == Qt::Key_Down ? 1 : -1);
            return true;
        }
    } else if (watched == nameList_ && isEnter(key) && !nameList_->selectedItems().isEmpty()) {
        amountBox_->clear();
        amountBox_->setFocus(Qt::OtherFocusReason);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace culvora::gui
