#include "gui/search/time_search_window.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "core/search/fridge_list.h"
#include "core/store/recipe_types.h"
#include "core/text/text.h"
#include "gui/app/handover.h"
#include "gui/app/qt_text.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/theme/theme.h"
#include "gui/widgets/wait_cursor.h"

namespace culvora::gui {

namespace {

// "50" in the time box.
constexpr int kDefaultTimeChoice = 5;

// The lines of the "?" table are joined by a carriage return; Qt's message box breaks the
// line there as it does at a line feed.
const QChar kTableLineBreak = QLatin1Char('\r');

QLabel* captionLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setFont(theme::sansFont(10));
    return label;
}

bool isEnterKey(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
           (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

}  // namespace

TimeSearchWindow::TimeSearchWindow(AppContext& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName(forms::kSearch);
    setWindowTitle(QStringLiteral("Search recipe"));
    buildControls();
    fillLists();
}

void TimeSearchWindow::buildControls()
{
    theme::setSearchPaper(this);
    setStyleSheet(theme::searchStyle());

    auto* options = new QGroupBox(QStringLiteral("Options"), this);
    options->setObjectName(QStringLiteral("Frame3"));

    typeBox_ = new QComboBox(options);
    typeBox_->setObjectName(QStringLiteral("Combo1"));
    typeBox_->setFont(theme::sansFont(10));
    typeBox_->setMinimumWidth(200);
    auto* typeCaption = captionLabel(QStringLiteral("Search for dishes that are:"), options);
    typeCaption->setBuddy(typeBox_);

    timeBox_ = new QComboBox(options);
    timeBox_->setObjectName(QStringLiteral("Combo2"));
    timeBox_->setFont(theme::sansFont(10));
    timeBox_->setMinimumWidth(80);
    // Thirty-one choices: the whole list drops down at once.
    timeBox_->setMaxVisibleItems(31);
    auto* timeCaption = captionLabel(QStringLiteral("Maximum cooking time:"), options);
    timeCaption->setBuddy(timeBox_);
    auto* minutesCaption = captionLabel(QStringLiteral("minutes"), options);

    auto button = [](const char* name, const QString& caption, const QString& tip,
                     QWidget* parent) {
        auto* b = new QPushButton(caption, parent);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(tip);
        b->setFont(theme::sansFont(10));
        b->setMinimumSize(88, 28);
        b->setCursor(Qt::PointingHandCursor);
        return b;
    };
    auto* tableButton = button("Command4", QStringLiteral("?"),
                               QStringLiteral("How many hours the minutes are"), options);
    tableButton->setMinimumSize(28, 28);
    tableButton->setMaximumWidth(32);

    wordList_ = new QListWidget(options);
    wordList_->setObjectName(QStringLiteral("List2"));
    wordList_->setFont(theme::sansFont(10));
    // A click chooses a word and a second click lets it go again, so several can be chosen
    // without holding a key.
    wordList_->setSelectionMode(QAbstractItemView::MultiSelection);
    wordList_->setUniformItemSizes(true);
    wordList_->setMinimumSize(220, 200);
    wordList_->setToolTip(QStringLiteral("Click the ingredients the dish must contain"));
    auto* wordCaption =
        captionLabel(QStringLiteral("Dish must contain the ingredient(s):"), options);
    wordCaption->setBuddy(wordList_);

    chosenLabel_ = new QLabel(options);
    chosenLabel_->setObjectName(QStringLiteral("chosenLabel"));
    chosenLabel_->setFont(theme::sansFont(9.5));
    chosenLabel_->setWordWrap(true);

    auto* clearButton = button("Command5", QStringLiteral("Clear"),
                               QStringLiteral("Let go of every chosen ingredient"), options);
    auto* searchButton =
        button("Command2", QStringLiteral("Search"),
               QStringLiteral("Find the recipes of this type within the time"), options);
    searchButton->setDefault(true);

    auto* timeRow = new QHBoxLayout;
    timeRow->setSpacing(6);
    timeRow->addWidget(timeBox_);
    timeRow->addWidget(minutesCaption);
    timeRow->addWidget(tableButton);
    timeRow->addStretch();

    auto* optionButtons = new QHBoxLayout;
    optionButtons->addWidget(clearButton);
    optionButtons->addStretch();
    optionButtons->addWidget(searchButton);

    auto* optionLayout = new QVBoxLayout(options);
    optionLayout->setSpacing(4);
    optionLayout->addWidget(typeCaption);
    optionLayout->addWidget(typeBox_);
    optionLayout->addSpacing(8);
    optionLayout->addWidget(timeCaption);
    optionLayout->addLayout(timeRow);
    optionLayout->addSpacing(8);
    optionLayout->addWidget(wordCaption);
    optionLayout->addWidget(wordList_, 1);
    optionLayout->addWidget(chosenLabel_);
    optionLayout->addSpacing(6);
    optionLayout->addLayout(optionButtons);

    auto* results = new QGroupBox(QStringLiteral("Results"), this);
    results->setObjectName(QStringLiteral("Frame2"));

    noTypesLabel_ =
        new QLabel(QStringLiteral("No recipe types: add one in the recipe types window"), results);
    noTypesLabel_->setObjectName(QStringLiteral("noTypesLabel"));
    noTypesLabel_->setProperty("hint", true);
    noTypesLabel_->setWordWrap(true);
    noTypesLabel_->hide();

    hitList_ = new QListWidget(results);
    hitList_->setObjectName(QStringLiteral("List1"));
    hitList_->setFont(theme::serifFont(11));
    hitList_->setSelectionMode(QAbstractItemView::SingleSelection);
    hitList_->setUniformItemSizes(true);
    hitList_->setMinimumSize(260, 260);
    hitList_->setToolTip(QStringLiteral("Double-click a recipe to read it"));
    hitList_->installEventFilter(this);

    countLabel_ = new QLabel(QStringLiteral("0 hits"), results);
    countLabel_->setObjectName(QStringLiteral("Label2"));
    countLabel_->setFont(theme::sansFont(10, true));

    auto* openButton = button("Command1", QStringLiteral("Open"),
                              QStringLiteral("Read the chosen recipe"), results);
    auto* closeButton =
        button("Command3", QStringLiteral("Close"), QStringLiteral("Close the search"), results);

    auto* resultButtons = new QHBoxLayout;
    resultButtons->addWidget(countLabel_);
    resultButtons->addStretch();
    resultButtons->addWidget(openButton);
    resultButtons->addWidget(closeButton);

    auto* resultLayout = new QVBoxLayout(results);
    resultLayout->setSpacing(6);
    resultLayout->addWidget(noTypesLabel_);
    resultLayout->addWidget(hitList_, 1);
    resultLayout->addLayout(resultButtons);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(14, 10, 14, 14);
    layout->setSpacing(14);
    layout->addWidget(options, 4);
    layout->addWidget(results, 5);

    connect(tableButton, &QPushButton::clicked, this, &TimeSearchWindow::showMinutesTable);
    connect(clearButton, &QPushButton::clicked, this, &TimeSearchWindow::clearWords);
    connect(searchButton, &QPushButton::clicked, this, &TimeSearchWindow::runSearch);
    connect(openButton, &QPushButton::clicked, this, &TimeSearchWindow::openHit);
    connect(hitList_, &QListWidget::itemDoubleClicked, this, &TimeSearchWindow::openHit);
    connect(wordList_, &QListWidget::itemSelectionChanged, this, &TimeSearchWindow::showChosen);
    connect(closeButton, &QPushButton::clicked, this, [this] { app_.windows.closeWindow(this); });

    setFocusProxy(typeBox_);
}

void TimeSearchWindow::fillLists()
{
    const ProgramFolder& folder = app_.state.folder;

    // A Fridge list that cannot be read leaves nothing to choose; the search works without.
    if (auto words = search::readFridgeList(folder)) words_ = std::move(*words);
    std::stable_sort(words_.begin(), words_.end(), text::CollateLess{});
    QStringList shownWords;
    shownWords.reserve(static_cast<qsizetype>(words_.size()));
    for (const auto& word : words_) shownWords << fromCp(word);
    wordList_->addItems(shownWords);

    // sök.tmp is this window's own scratch file: when it cannot be written, the index in memory
    // serves just as well.
    const std::string& book = app_.state.currentCookbookFile;
    if (auto written = search::writeTimeIndex(folder, book)) {
        index_ = std::move(*written);
    } else if (checkCookbookFileName(book)) {
        if (auto content = folder.readOrEmpty(book)) index_ = search::buildTimeIndex(*content);
    }

    for (const auto& minutes : search::maxTimeChoices()) {
        timeBox_->addItem(QString::fromStdString(minutes));
    }

    if (auto types = store::readTypes(folder)) types_ = std::move(*types);
    std::stable_sort(types_.begin(), types_.end(), text::CollateLess{});
    for (const auto& type : types_) typeBox_->addItem(fromCp(type));

    typeBox_->setCurrentIndex(types_.empty() ? -1 : 0);
    timeBox_->setCurrentIndex(kDefaultTimeChoice);
    noTypesLabel_->setVisible(types_.empty());
    showChosen();
}

void TimeSearchWindow::showChosen()
{
    // The chosen words may lie far apart in a long list: they are named under it.
    QStringList chosen;
    for (int row = 0; row < wordList_->count(); ++row) {
        if (wordList_->item(row)->isSelected()) chosen << wordList_->item(row)->text();
    }
    chosenLabel_->setText(chosen.isEmpty()
                              ? QStringLiteral("No ingredient chosen")
                              : QStringLiteral("Chosen: ") + chosen.join(QStringLiteral(", ")));
}

void TimeSearchWindow::runSearch()
{
    WaitCursor wait;
    hitList_->clear();
    hits_.clear();

    const ProgramFolder& folder = app_.state.folder;
    const std::string& book = app_.state.currentCookbookFile;
    const Result<void> valid = checkCookbookFileName(book);
    const Result<std::string> cookbook =
        valid ? folder.readOrEmpty(book) : Result<std::string>(std::unexpected(valid.error()));
    if (!cookbook) {
        // Finding nothing in a cookbook that could not be read would be a false answer.
        app_.services.prompter.inform(toQString(cookbook.error()), QStringLiteral("Error"),
                                      MessageIcon::Exclamation);
        return;
    }

    const int type = typeBox_->currentIndex();
    search::TimeQuery query;
    query.maxMinutes = timeBox_->currentText().toInt();
    for (int row = 0; row < wordList_->count(); ++row) {
        if (wordList_->item(row)->isSelected()) {
            query.words.push_back(words_[static_cast<std::size_t>(row)]);
        }
    }
    // The running count is painted at most every progressInterval_; the count after the last
    // recipe is always shown. An empty index leaves the count as it was.
    bool lastShown = true;
    progressClock_.invalidate();
    auto progress = [&](std::size_t, std::size_t hitsSoFar) {
        lastShown = false;
        if (progressClock_.isValid() && progressClock_.elapsed() < progressInterval_.count()) {
            return;
        }
        showCount(hitsSoFar);
        lastShown = true;
        progressClock_.start();
    };
    if (type >= 0) {
        query.type = types_[static_cast<std::size_t>(type)];
        hits_ = search::searchByTime(*cookbook, index_, query, progress);
    } else {
        // Without a type no recipe is of the chosen type: each is looked at, none is a hit.
        for (std::size_t i = 0; i < index_.size(); ++i) progress(i + 1, 0);
    }

    QStringList shown;
    shown.reserve(static_cast<qsizetype>(hits_.size()));
    for (const auto& hit : hits_) shown << fromCp(hit);
    hitList_->addItems(shown);
    if (!lastShown) showCount(hits_.size());
}

void TimeSearchWindow::showCount(std::size_t hits)
{
    countLabel_->setText(QString::number(hits) + QStringLiteral(" hits"));
    // The window stays painted during a long search; the user cannot act meanwhile.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    emit progressShown();
}

void TimeSearchWindow::openHit()
{
    const auto selected = hitList_->selectedItems();
    if (selected.isEmpty()) {
        app_.services.prompter.beep();
        return;
    }
    const int row = hitList_->row(selected.front());
    showRecipe(app_, hits_[static_cast<std::size_t>(row)]);
}

void TimeSearchWindow::clearWords()
{
    wordList_->clearSelection();
}

void TimeSearchWindow::showMinutesTable()
{
    QStringList lines;
    for (const auto& line : search::minutesTable()) lines << fromCp(line);
    app_.services.prompter.inform(lines.join(kTableLineBreak), QStringLiteral("Info"));
}

bool TimeSearchWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Enter on a hit reads the one the keyboard is on; elsewhere Enter presses "Search".
    if (watched == hitList_ && isEnterKey(event)) {
        if (hitList_->selectedItems().isEmpty() && hitList_->currentItem()) {
            hitList_->currentItem()->setSelected(true);
        }
        openHit();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace culvora::gui
