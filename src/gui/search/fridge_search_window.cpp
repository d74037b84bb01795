#include "gui/search/fridge_search_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedLayout>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>
#include <unordered_set>
#include <utility>

#include "core/search/fridge_list.h"
#include "core/search/fridge_search.h"
#include "core/text/text.h"
#include "gui/app/delivered_files.h"
#include "gui/app/handover.h"
#include "gui/app/qt_text.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/theme/theme.h"
#include "gui/widgets/wait_cursor.h"

namespace culvora::gui {

namespace {

const QString kOpenTitle = QStringLiteral("\u00D6ppna tidigare kylsk\u00E5p");
const QString kSaveTitle = QStringLiteral("Spara kylsk\u00E5p");
const QString kFilter = QStringLiteral("Kylsk\u00E5p-filer (*.kyl);;Alla filer (*.*)");
const QString kSuffix = QStringLiteral("kyl");

bool isEnterKey(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
           (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

// A file the user picked, as the file system names it.
std::filesystem::path chosenPath(const QString& name)
{
    return std::filesystem::path(QFile::encodeName(name).toStdString());
}

}  // namespace

FridgeSearchWindow::FridgeSearchWindow(AppContext& app, QWidget* parent)
    : QWidget(parent),
      app_(app)
{
    setObjectName(forms::kFridgeSearch);
    setWindowTitle(QStringLiteral("The Fridge"));
    buildControls();
    fillWords();
}

FridgeSearchWindow::~FridgeSearchWindow()
{
    // Also when the program ends with the window open.
    removeSearchCopy();
}

void FridgeSearchWindow::buildControls()
{
    theme::setSearchPaper(this);
    setStyleSheet(theme::searchStyle());

    mainPanel_ = new QWidget(this);
    mainPanel_->setObjectName(QStringLiteral("Picture1"));

    auto caption = [](const QString& text, QWidget* parent) {
        auto* label = new QLabel(text, parent);
        label->setFont(theme::sansFont(10, true));
        return label;
    };
    auto button = [](const char* name, const QString& text, const QString& tip, QWidget* parent) {
        auto* b = new QPushButton(text, parent);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(tip);
        b->setFont(theme::sansFont(10));
        b->setMinimumSize(96, 28);
        b->setCursor(Qt::PointingHandCursor);
        return b;
    };

    wordList_ = new QListWidget(mainPanel_);
    wordList_->setObjectName(QStringLiteral("List1"));
    wordList_->setFont(theme::sansFont(10));
    wordList_->setSelectionMode(QAbstractItemView::SingleSelection);
    wordList_->setUniformItemSizes(true);
    wordList_->setMinimumSize(230, 300);
    wordList_->setToolTip(QStringLiteral("Tick what you have at home (click or press Space)"));
    auto* wordCaption = caption(QStringLiteral("&Mark what you have at home:"), mainPanel_);
    wordCaption->setBuddy(wordList_);

    noWordsLabel_ = new QLabel(QStringLiteral("The Fridge list is empty. Close this window and add "
                                              "the ingredients you keep with Cookbook \u203A "
                                              "Edit fridge-database..."),
                               mainPanel_);
    noWordsLabel_->setObjectName(QStringLiteral("noWordsLabel"));
    noWordsLabel_->setProperty("hint", true);
    noWordsLabel_->setWordWrap(true);
    noWordsLabel_->hide();

    auto* searchButton =
        button("Command3", QStringLiteral("Search"),
               QStringLiteral("Find the recipes you can cook from what is ticked"), mainPanel_);
    searchButton->setDefault(true);
    searchButton->setMinimumSize(110, 34);

    foundList_ = new QListWidget(mainPanel_);
    foundList_->setObjectName(QStringLiteral("List3"));
    foundList_->setFont(theme::serifFont(11));
    foundList_->setSelectionMode(QAbstractItemView::SingleSelection);
    foundList_->setUniformItemSizes(true);
    foundList_->setMinimumSize(260, 300);
    foundList_->setToolTip(QStringLiteral("Double-click a recipe to read it"));
    foundList_->installEventFilter(this);
    auto* foundCaption = caption(QStringLiteral("Matching recipes:"), mainPanel_);
    foundCaption->setBuddy(foundList_);

    resultLabel_ = new QLabel(mainPanel_);
    resultLabel_->setObjectName(QStringLiteral("resultLabel"));
    resultLabel_->setFont(theme::sansFont(10));

    auto* openButton = button("Command9", QStringLiteral("&Open"),
                              QStringLiteral("Read the chosen recipe"), mainPanel_);
    auto* clearButton = button("Command2", QStringLiteral("Delete all"),
                               QStringLiteral("Take every tick away"), mainPanel_);
    auto* openFridgeButton = button("Command6", QStringLiteral("Open another fridge"),
                                    QStringLiteral("Tick what a saved fridge holds"), mainPanel_);
    auto* saveFridgeButton =
        button("Command7", QStringLiteral("Save this fridge"),
               QStringLiteral("Keep these ticks in a fridge file"), mainPanel_);
    auto* helpButton = button("Command11", QStringLiteral("Help"),
                              QStringLiteral("How to find recipes from what you have"), mainPanel_);
    auto* closeButton = button("Command4", QStringLiteral("&Close"),
                               QStringLiteral("Close the Fridge"), mainPanel_);

    markCountLabel_ = new QLabel(mainPanel_);
    markCountLabel_->setObjectName(QStringLiteral("markCountLabel"));
    markCountLabel_->setFont(theme::sansFont(9.5));

    // The two lists on cards, as the pages of the other windows.
    auto card = [](QWidget* parent) {
        auto* frame = new QFrame(parent);
        frame->setProperty("card", true);
        auto* column = new QVBoxLayout(frame);
        column->setContentsMargins(12, 10, 12, 10);
        column->setSpacing(6);
        return std::pair{frame, column};
    };
    auto [wordCard, wordColumn] = card(mainPanel_);
    wordColumn->addWidget(wordCaption);
    wordColumn->addWidget(noWordsLabel_);
    wordColumn->addWidget(wordList_, 1);
    auto* markButtons = new QHBoxLayout;
    markButtons->addWidget(clearButton);
    markButtons->addStretch();
    markButtons->addWidget(markCountLabel_);
    wordColumn->addLayout(markButtons);

    // "Search" between the two lists: from what is ticked to what can be cooked.
    auto* searchColumn = new QVBoxLayout;
    searchColumn->addStretch();
    searchColumn->addWidget(searchButton);
    searchColumn->addStretch();

    auto [foundCard, foundColumn] = card(mainPanel_);
    foundColumn->addWidget(foundCaption);
    foundColumn->addWidget(foundList_, 1);
    auto* foundButtons = new QHBoxLayout;
    foundButtons->addWidget(resultLabel_, 1);
    foundButtons->addWidget(openButton);
    foundColumn->addLayout(foundButtons);

    auto* lists = new QHBoxLayout;
    lists->setSpacing(12);
    lists->addWidget(wordCard, 5);
    lists->addLayout(searchColumn);
    lists->addWidget(foundCard, 6);

    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(8);
    bottom->addWidget(openFridgeButton);
    bottom->addWidget(saveFridgeButton);
    bottom->addStretch();
    bottom->addWidget(helpButton);
    bottom->addWidget(closeButton);

    auto* mainLayout = new QVBoxLayout(mainPanel_);
    mainLayout->setContentsMargins(14, 12, 14, 12);
    mainLayout->setSpacing(12);
    mainLayout->addLayout(lists, 1);
    mainLayout->addLayout(bottom);

    buildProgressPanel();

    panels_ = new QStackedLayout(this);
    panels_->addWidget(mainPanel_);
    panels_->addWidget(progressPanel_);
    panels_->setCurrentWidget(mainPanel_);

    connect(searchButton, &QPushButton::clicked, this, &FridgeSearchWindow::runSearch);
    connect(openButton, &QPushButton::clicked, this, &FridgeSearchWindow::openFound);
    connect(foundList_, &QListWidget::itemDoubleClicked, this, &FridgeSearchWindow::openFound);
    connect(clearButton, &QPushButton::clicked, this, &FridgeSearchWindow::clearMarks);
    connect(openFridgeButton, &QPushButton::clicked, this, &FridgeSearchWindow::openFridge);
    connect(saveFridgeButton, &QPushButton::clicked, this, &FridgeSearchWindow::saveFridge);
    connect(helpButton, &QPushButton::clicked, this, &FridgeSearchWindow::openHelp);
    connect(closeButton, &QPushButton::clicked, this, [this] { app_.windows.closeWindow(this); });
    connect(wordList_, &QListWidget::itemChanged, this, &FridgeSearchWindow::markChanged);
    // A click on a word marks it as a click on its box does.
    connect(wordList_, &QListWidget::itemPressed, this, [this](QListWidgetItem* item) {
        pressedItem_ = item;
        pressedState_ = item->checkState();
    });
    connect(wordList_, &QListWidget::itemClicked, this, &FridgeSearchWindow::markFromClick);

    // Tab follows the window from left to right: the marks, then the results, then the fridges.
    QWidget::setTabOrder(wordList_, clearButton);
    QWidget::setTabOrder(clearButton, searchButton);
    QWidget::setTabOrder(searchButton, foundList_);
    QWidget::setTabOrder(foundList_, openButton);
    QWidget::setTabOrder(openButton, openFridgeButton);
    QWidget::setTabOrder(openFridgeButton, saveFridgeButton);
    QWidget::setTabOrder(saveFridgeButton, helpButton);
    QWidget::setTabOrder(helpButton, closeButton);
    setFocusProxy(wordList_);
}

void FridgeSearchWindow::buildProgressPanel()
{
    // Picture2: in place of the window while a search runs.
    progressPanel_ = new QWidget(this);
    progressPanel_->setObjectName(QStringLiteral("Picture2"));
    auto* searching = new QLabel(QStringLiteral("Searching ..."), progressPanel_);
    searching->setObjectName(QStringLiteral("Label5"));
    searching->setFont(theme::serifFont(16));
    searching->setProperty("heading", true);
    bar_ = new QProgressBar(progressPanel_);
    bar_->setObjectName(QStringLiteral("prog"));
    bar_->setRange(0, 100);
    bar_->setTextVisible(false);
    bar_->setMinimumWidth(320);
    foundLabel_ = new QLabel(progressPanel_);
    foundLabel_->setObjectName(QStringLiteral("label4"));
    foundLabel_->setFont(theme::sansFont(10));
    percentLabel_ = new QLabel(progressPanel_);
    percentLabel_->setObjectName(QStringLiteral("Label2"));
    percentLabel_->setFont(theme::sansFont(10, true));

    auto* progressLayout = new QVBoxLayout(progressPanel_);
    progressLayout->setContentsMargins(40, 20, 40, 20);
    progressLayout->setSpacing(10);
    progressLayout->addStretch();
    progressLayout->addWidget(searching, 0, Qt::AlignHCenter);
    progressLayout->addWidget(bar_);
    auto* counts = new QHBoxLayout;
    counts->addWidget(foundLabel_);
    counts->addStretch();
    counts->addWidget(percentLabel_);
    progressLayout->addLayout(counts);
    progressLayout->addStretch();
}

void FridgeSearchWindow::fillWords()
{
    // A Fridge list that cannot be read offers nothing to mark, as an empty one does.
    if (auto words = search::readFridgeList(app_.state.folder)) words_ = std::move(*words);
    std::stable_sort(words_.begin(), words_.end(), text::CollateLess{});
    const QSignalBlocker quiet(wordList_);
    for (const auto& word : words_) {
        auto* item = new QListWidgetItem(fromCp(word));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        wordList_->addItem(item);
    }
    noWordsLabel_->setVisible(words_.empty());
    // The stacked panels do not pass on the wrapped hint's height: the empty list makes room.
    if (words_.empty()) wordList_->setMinimumHeight(wordList_->minimumHeight() - 100);
    showMarkCount();
}

std::vector<std::string> FridgeSearchWindow::marked() const
{
    std::vector<std::string> marks;
    for (int row = 0; row < wordList_->count(); ++row) {
        if (wordList_->item(row)->checkState() == Qt::Checked) {
            marks.push_back(words_[static_cast<std::size_t>(row)]);
        }
    }
    return marks;
}

void FridgeSearchWindow::markChanged(QListWidgetItem* item)
{
    // A marked word stands out in bold, so the marks can be read at a glance down a long list;
    // the bold follows the mark, and the count follows the bold.
    QFont font = item->font();
    const bool marked = item->checkState() == Qt::Checked;
    if (font.bold() == marked) return;
    font.setBold(marked);
    markCount_ = marked ? markCount_ + 1 : markCount_ - 1;
    item->setFont(font);
    showMarkCount();
}

void FridgeSearchWindow::showMarkCount()
{
    markCountLabel_->setText(markCount_ == 0 ? QStringLiteral("Nothing marked")
                                             : QStringLiteral("%1 marked").arg(markCount_));
}

void FridgeSearchWindow::markFromClick(QListWidgetItem* item)
{
    // A press on the box itself is the box's own (the list reports no press then), and the
    // box has turned the mark already.
    QListWidgetItem* pressed = std::exchange(pressedItem_, nullptr);
    if (item != pressed || item->checkState() != pressedState_) return;
    item->setCheckState(pressedState_ == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

void FridgeSearchWindow::runSearch()
{
    if (searching_) return;
    const std::vector<std::string> marks = marked();
    // Nothing marked: the last result stays.
    if (marks.empty()) return;

    const ProgramFolder& folder = app_.state.folder;
    const std::string& book = app_.state.currentCookbookFile;
    const Result<void> valid = checkCookbookFileName(book);
    const Result<std::string> cookbook =
        valid ? folder.readOrEmpty(book) : Result<std::string>(std::unexpected(valid.error()));
    if (!cookbook) {
        // "No recipe" from a cookbook that could not be read would be a false answer.
        app_.services.prompter.inform(toQString(cookbook.error()), QStringLiteral("Error"),
                                      MessageIcon::Exclamation);
        return;
    }

    searching_ = true;
    WaitCursor wait;
    foundList_->clear();
    found_.clear();
    panels_->setCurrentWidget(progressPanel_);
    // Nothing looked at yet: "0 % klart".
    showProgress(0, search::searchProgress(0, 1).label, 0);
    progressClock_.start();

    // sökta.txt is kept beside the cookbook while the window is open; the search itself works
    // from the text in memory, so a copy that cannot be written costs nothing.
    (void)search::writeSearchCopy(folder, *cookbook);

    found_ =
        search::fridgeSearch(*cookbook, words_, marks,
                             [this](std::size_t examined, std::size_t total, std::size_t found) {
                                 if (progressClock_.elapsed() < progressInterval_.count()) return;
                                 const search::Progress step =
                                     search::searchProgress(examined, total);
                                 showProgress(step.bar, step.label, found);
                                 progressClock_.start();
                             });
    // The end, however quick the search was and however few the recipes: "100 % klart", the
    // whole bar and every recipe found.
    showProgress(100, search::searchProgress(1, 1).label, found_.size());

    QStringList shown;
    shown.reserve(static_cast<qsizetype>(found_.size()));
    for (const auto& name : found_) shown << fromCp(name);
    foundList_->addItems(shown);
    resultLabel_->setText(QString::fromStdString(search::foundText(found_.size())));
    panels_->setCurrentWidget(mainPanel_);
    if (!found_.empty()) foundList_->setFocus();
    searching_ = false;
}

void FridgeSearchWindow::showProgress(int bar, const std::string& percent, std::size_t found)
{
    bar_->setValue(bar);
    percentLabel_->setText(QString::fromStdString(percent));
    foundLabel_->setText(QString::fromStdString(search::foundText(found)));
    // The panel stays painted during a long search; the user cannot act meanwhile.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    emit progressShown();
}

void FridgeSearchWindow::openFound()
{
    const auto selected = foundList_->selectedItems();
    if (selected.isEmpty()) return;
    showRecipe(app_, found_[static_cast<std::size_t>(foundList_->row(selected.front()))]);
}

void FridgeSearchWindow::clearMarks()
{
    for (int row = 0; row < wordList_->count(); ++row) {
        wordList_->item(row)->setCheckState(Qt::Unchecked);
    }
}

void FridgeSearchWindow::openFridge()
{
    const QString name = app_.services.prompter.openFileName(kOpenTitle, kFilter);
    if (name.isEmpty()) return;
    auto marks = search::openFridgeFile(chosenPath(name), words_);
    if (!marks) {
        app_.services.prompter.inform(toQString(marks.error()), QStringLiteral("Error"),
                                      MessageIcon::Exclamation);
        return;
    }
    WaitCursor wait;
    const std::unordered_set<std::string> wanted(marks->begin(), marks->end());
    for (int row = 0; row < wordList_->count(); ++row) {
        const bool mark = wanted.contains(words_[static_cast<std::size_t>(row)]);
        wordList_->item(row)->setCheckState(mark ? Qt::Checked : Qt::Unchecked);
    }
    if (wordList_->count() > 0) {
        wordList_->setCurrentRow(0);
        wordList_->scrollToTop();
    }
}

void FridgeSearchWindow::saveFridge()
{
    const QString name = app_.services.prompter.saveFileName(kSaveTitle, kFilter, kSuffix);
    if (name.isEmpty()) return;
    if (auto saved = search::saveFridgeFile(chosenPath(name), marked()); !saved) {
        // The user must not go away believing the fridge was kept.
        app_.services.prompter.inform(toQString(saved.error()), QStringLiteral("Error"),
                                      MessageIcon::Exclamation);
    }
}

void FridgeSearchWindow::openHelp()
{
    // As the main window's help: a missing browser is not reported.
    app_.services.opener.openDocument(helpPage(app_.state, "fridge.html"));
}

void FridgeSearchWindow::removeSearchCopy()
{
    (void)app_.state.folder.remove(search::kSearchCopyFile);
}

bool FridgeSearchWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Enter on a result reads the one the keyboard is on; elsewhere Enter presses "Search".
    if (watched == foundList_ && isEnterKey(event)) {
        if (foundList_->selectedItems().isEmpty() && foundList_->currentItem()) {
            foundList_->currentItem()->setSelected(true);
        }
        openFound();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void FridgeSearchWindow::closeEvent(QCloseEvent* event)
{
    // The search paints the window as it goes; it is not closed under it.
    if (searching_) {
        event->ignore();
        return;
    }
    removeSearchCopy();
    QWidget::closeEvent(event);
}

}  // namespace culvora::gui
