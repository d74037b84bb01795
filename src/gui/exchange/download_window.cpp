#include "gui/exchange/download_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <memory>
#include <optional>

#include "core/exchange/download.h"
#include "core/exchange/exchange_settings.h"
#include "core/search/fridge_list.h"
#include "core/store/cookbook_list.h"
#include "gui/app/geometry.h"
#include "gui/app/handover.h"
#include "gui/app/qt_text.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/exchange/exchange_pictures.h"
#include "gui/theme/theme.h"

namespace culvora::gui {

namespace {

using exchange_pictures::TreeImage;

const QString kDownloadTitle = QStringLiteral("Download");
const QString kNameTakenPrompt =
    QStringLiteral("This receipe already exists. Please specify another name.");

// A node's tag ("Root", or the entry number of its category) and key ("root").
constexpr int kTagRole = Qt::UserRole;
constexpr int kKeyRole = Qt::UserRole + 1;
// The number of a node's picture: 1 the chosen category, 2 the others, 3 the network.
constexpr int kImageRole = Qt::UserRole + 2;
// A recipe item keeps its stem as the server wrote it (Windows-1252), and the category folder
// it was listed from: a list still arriving for an earlier category never sends a recipe's
// fetch to the folder chosen since.
constexpr int kStemRole = Qt::UserRole;
constexpr int kFolderRole = Qt::UserRole + 1;

void setImage(QTreeWidgetItem* node, TreeImage image)
{
    node->setIcon(0, exchange_pictures::treeIcon(image));
    node->setData(0, kImageRole, static_cast<int>(image));
}

QByteArray bytes(const std::string& cp1252)
{
    return QByteArray(cp1252.data(), static_cast<qsizetype>(cp1252.size()));
}

// The message block's lines each end with a CR; shown as lines of the label.
QString messageText(const std::string& block)
{
    QString shown = fromCp(block);
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (shown.endsWith(QLatin1Char('\n'))) shown.chop(1);
    return shown;
}

// The download's question for another name, put to the cook through the Prompter.
class PrompterNamer : public exchange::RecipeNamer {
public:
    explicit PrompterNamer(Prompter& prompter) : prompter_(prompter) {}

    // The box offers the name proposed (the first free numbered name), and after a letter the
    // cookbook cannot hold, what the cook typed, to be put right rather than typed again.
    std::optional<std::string> anotherName(const std::string&, const std::string& proposed) override
    {
        QString offered = fromCp(proposed);
        for (;;) {
            auto answer = prompter_.input(kNameTakenPrompt, kDownloadTitle, offered);
            if (!answer) return std::nullopt;
            auto typed = toCp(*answer);
            if (typed) return std::move(*typed);
            refused(typed.error());
            offered = *answer;
        }
    }
    void refused(const Error& why) override
    {
        prompter_.inform(toQString(why), kDownloadTitle, MessageIcon::Exclamation);
    }

private:
    Prompter& prompter_;
};

}  // namespace

// What a category's transfer brought back to the window.
struct DownloadWindow::IndexFetch {
    std::string folder;
    bool fetched = false;
    bool connected = false;
    QString advice;  // what a cook can do about the failure, when the session knows
    exchange::RecipeIndexFile index;
};

// What the recipe's transfer brought back, and the choices the chooser made for it.
struct DownloadWindow::RecipeFetch {
    bool fetched = false;
    QString advice;
    std::string content;
    std::string targetTitle;
    bool checkNewIngredients = false;
};

DownloadWindow::DownloadWindow(AppContext& app, const FtpClientFactory& clients, QWidget* parent)
    : QWidget(parent),
      app_(app)
{
    setObjectName(forms::kDownload);
    setWindowTitle(QStringLiteral("Download recipes"));
    setStyleSheet(theme::exchangeStyle());
    setAutoFillBackground(true);
    QPalette paper = palette();
    paper.setColor(QPalette::Window, theme::kPaper);
    setPalette(paper);

    worker_ = new SessionWorker(app.services.prompter, clients, this);
    // The pointer says the exchange is being waited for; the window still answers meanwhile.
    connect(worker_, &SessionWorker::busyStarted, this, [this] { setCursor(Qt::BusyCursor); });
    connect(worker_, &SessionWorker::idle, this, [this] { unsetCursor(); });

    toolbar_ = new QToolBar(this);
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QAction* close = toolbar_->addAction(QStringLiteral("  Close  "));
    close->setObjectName(QStringLiteral("Close"));
    close->setToolTip(QStringLiteral("Close the window"));
    connect(close, &QAction::triggered, this, [this] { app_.windows.closeWindow(this); });

    auto* messagesHeading = new QLabel(QStringLiteral("Messages"), this);
    messagesHeading->setObjectName(QStringLiteral("Label7"));
    messagesHeading->setFont(theme::sansFont(8, true));
    messagesHeading->setProperty("heading", true);
    messages_ = new QLabel(QStringLiteral("Please wait while connecting ..."), this);
    messages_->setObjectName(QStringLiteral("Label8"));
    messages_->setFont(theme::sansFont(8));
    messages_->setProperty("messages", true);
    messages_->setWordWrap(true);
    messages_->setTextFormat(Qt::PlainText);
    messages_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    messages_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    messages_->setMinimumHeight(twips(900));

    auto* treeHeading = new QLabel(QStringLiteral("Directories"), this);
    treeHeading->setObjectName(QStringLiteral("Label1"));
    treeHeading->setProperty("heading", true);
    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("tree"));
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    // A double click chooses a category; it does not fold away the subcategories below it.
    tree_->setExpandsOnDoubleClick(false);
    tree_->setMinimumWidth(twips(3000));
    treeHeading->setBuddy(tree_);
    // Enter chooses a category as a double click does.
    connect(tree_, &QTreeWidget::itemActivated, this, &DownloadWindow::chooseCategory);

    auto* listHeading = new QLabel(QStringLiteral("Available recipes"), this);
    listHeading->setObjectName(QStringLiteral("Label2"));
    listHeading->setProperty("heading", true);
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("list"));
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setHeaderLabels({QStringLiteral("Recipe"), QStringLiteral("Date / Time")});
    list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    list_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    list_->header()->setStretchLastSection(false);
    list_->setMinimumWidth(twips(5200));
    list_->setToolTip(QStringLiteral("Double-click a recipe to put it into one of your cookbooks"));
    listHeading->setBuddy(list_);
    connect(list_, &QTreeWidget::itemActivated, this, &DownloadWindow::chooseRecipe);

    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName(QStringLiteral("Status"));
    statusBar_->setSizeGripEnabled(false);
    status_ = new QLabel(statusBar_);
    status_->setObjectName(QStringLiteral("StatusText"));
    statusBar_->addWidget(status_, 1);

    downloadTimer_ = new QTimer(this);
    downloadTimer_->setObjectName(QStringLiteral("Timer1"));
    downloadTimer_->setSingleShot(true);
    downloadTimer_->setInterval(100);
    connect(downloadTimer_, &QTimer::timeout, this, &DownloadWindow::downloadSelected);

    auto column = [this](QLabel* heading, QWidget* view) {
        auto* box = new QWidget(this);
        auto* layout = new QVBoxLayout(box);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(3);
        layout->addWidget(heading);
        layout->addWidget(view, 1);
        return box;
    };
    auto* split = new QSplitter(Qt::Horizontal, this);
    split->setChildrenCollapsible(false);
    split->addWidget(column(treeHeading, tree_));
    split->addWidget(column(listHeading, list_));
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 3);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(10, 8, 10, 6);
    body->setSpacing(3);
    body->addWidget(messagesHeading);
    body->addWidget(messages_);
    body->addSpacing(8);
    body->addWidget(split, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolbar_);
    layout->addLayout(body, 1);
    layout->addWidget(statusBar_);
    resize(twips(10500), twips(7200));
}

DownloadWindow::~DownloadWindow()
{
    worker_->stop();
}

void DownloadWindow::closeEvent(QCloseEvent* event)
{
    worker_->stop();
    QWidget::closeEvent(event);
}

QString DownloadWindow::statusText() const
{
    return status_->text();
}

void DownloadWindow::setStatus(const QString& text)
{
    status_->setText(text);
    emit statusChanged(text);
}

void DownloadWindow::showMessages(const QString& note)
{
    messages_->setText(note.isEmpty()             ? serverMessage_
                       : serverMessage_.isEmpty() ? note
                                                  : serverMessage_ + QStringLiteral("\n\n") + note);
}

void DownloadWindow::start()
{
    setStatus(QStringLiteral("Ready"));
    auto* root = new QTreeWidgetItem(tree_, {QStringLiteral("Network")});
    root->setData(0, kKeyRole, QStringLiteral("root"));
    root->setData(0, kTagRole, QStringLiteral("Root"));
    setImage(root, TreeImage::Network);
    root->setExpanded(true);
    connectToExchange();
}

void DownloadWindow::connectToExchange()
{
    auto settings = exchange::readExchangeSettings(app_.state.folder);
    if (!settings) {
        app_.services.prompter.inform(toQString(settings.error()), QStringLiteral("Error"),
                                      MessageIcon::Exclamation);
        settings = exchange::ExchangeSettings{};
    }
    struct Fetch {
        bool connected = false;
        QString advice;
        std::optional<exchange::CategoryList> list;
    };
    auto fetch = std::make_shared<Fetch>();
    SessionWorker* worker = worker_;
    worker_->run(
        [this, worker, settings = *settings, fetch](exchange::FtpSession& session) {
            // A session closed after a failed attempt has forgotten the server: it is told
            // again, so trying once more connects as the first time did.
            session.configure(settings);
            session.OpenSession();
            worker->post([this] { setStatus(QStringLiteral("Connecting to network...")); });
            session.Connect();
            worker->post([this] { setStatus(QStringLiteral("Reading data...")); });
            if (auto list = exchange::fetchCategories(session)) fetch->list = std::move(*list);
            fetch->connected = session.active();
            fetch->advice = adviceAfter(session);
        },
        [this, fetch] {
            if (!fetch->list) {
                categoriesMissing(fetch->connected, fetch->advice);
                return;
            }
            setStatus(QStringLiteral("Drawing tree..."));
            showCategories(*fetch->list);
        });
}

void DownloadWindow::categoriesMissing(bool connected, const QString& advice)
{
    // After the session's own reports, a sentence that says what it means and what to do:
    // the window stays usable, and "Network" connects again.
    const QString plain =
        connected ? QStringLiteral("The recipe exchange did not send its list of categories. "
                                   "Double-click \u201CNetwork\u201D to ask for it again, or "
                                   "close this window and try again later.")
                  : QStringLiteral("There is no connection to the recipe exchange, so its "
                                   "categories cannot be shown. Check that this computer is "
                                   "connected to the internet, then double-click "
                                   "\u201CNetwork\u201D to try again.");
    const QString said = withAdvice(plain, advice);
    messages_->setText(said);
    transferFailed(connected);
    tree_->topLevelItem(0)->setToolTip(
        0, QStringLiteral("Double-click to connect to the recipe exchange again"));
    app_.services.prompter.inform(said, kDownloadTitle, MessageIcon::Exclamation);
}

void DownloadWindow::transferFailed(bool connected)
{
    setStatus(connected ? QStringLiteral("Ready.") : QStringLiteral("Not connected."));
}

void DownloadWindow::showCategories(const exchange::CategoryList& list)
{
    serverMessage_ = messageText(list.message);
    QTreeWidgetItem* root = tree_->topLevelItem(0);
    categories_ = list.categories;
    nodes_.clear();
    for (std::size_t i = 0; i < categories_.size(); ++i) {
        const exchange::Category& category = categories_[i];
        QTreeWidgetItem* parent = category.kind == exchange::CategoryKind::Child
                                      ? nodes_[static_cast<std::size_t>(category.parent - 1)]
                                      : root;
        auto* node = new QTreeWidgetItem(parent, {fromCp(category.name)});
        node->setData(0, kTagRole, static_cast<int>(i + 1));
        setImage(node, TreeImage::ClosedFolder);
        nodes_.push_back(node);
    }
    // The subcategories are in sight at once; a cook need not guess where they are.
    tree_->expandAll();
    if (!list.complete) {
        // The categories read so far stay; the status keeps saying where it stopped.
        showMessages(QStringLiteral("Not every category could be shown: the list from the "
                                    "exchange stops early (%1).")
                         .arg(QString::fromStdString(list.problem)));
        return;
    }
    showMessages();
    setStatus(QStringLiteral("Ready."));
}

void DownloadWindow::chooseCategory(QTreeWidgetItem* node)
{
    if (!node) return;
    if (node->data(0, kTagRole).toString() == QStringLiteral("Root")) {
        // Once the categories are there the root only heads them; before, it tries again.
        if (categories_.empty() && !busy()) {
            node->setToolTip(0, QString());
            messages_->setText(QStringLiteral("Please wait while connecting ..."));
            connectToExchange();
        }
        return;
    }
    const int entry = node->data(0, kTagRole).toInt();
    if (entry < 1 || entry > static_cast<int>(categories_.size())) return;
    const std::string folderName = categories_[static_cast<std::size_t>(entry - 1)].folder;
    if (auto plain = exchange::checkServerName(folderName, "category folder"); !plain) {
        app_.services.prompter.inform(toQString(plain.error()), kDownloadTitle,
                                      MessageIcon::Exclamation);
        return;
    }
    currentFolder_ = folderName;
    for (QTreeWidgetItem* each : nodes_) setImage(each, TreeImage::ClosedFolder);
    setImage(node, TreeImage::OpenFolder);
    list_->clear();
    showMessages();

    auto fetch = std::make_shared<IndexFetch>();
    fetch->folder = folderName;
    SessionWorker* worker = worker_;
    worker_->run(
        [this, worker, folderName, fetch](exchange::FtpSession& session) {
            worker->post([this] { setStatus(QStringLiteral("Downloading data...")); });
            session.ListFolder("");
            if (auto index = exchange::fetchRecipeIndex(session, folderName)) {
                fetch->fetched = true;
                fetch->index = std::move(*index);
            }
            fetch->connected = session.active();
            fetch->advice = adviceAfter(session);
        },
        [this, fetch] { showRecipes(*fetch); });
}

void DownloadWindow::showRecipes(const IndexFetch& fetch)
{
    if (!fetch.fetched) {
        if (!fetch.advice.isEmpty()) showMessages(fetch.advice);
        transferFailed(fetch.connected);
        return;
    }
    setStatus(QStringLiteral("Reading data..."));
    list_->clear();
    const QIcon icon = exchange_pictures::recipeIcon();
    for (const exchange::IndexedRecipe& recipe : fetch.index.recipes) {
        auto* item = new QTreeWidgetItem(list_, {fromCp(recipe.name), fromCp(recipe.dateTime)});
        item->setIcon(0, icon);
        item->setData(0, kStemRole, bytes(recipe.stem));
        item->setData(0, kFolderRole, bytes(fetch.folder));
    }
    if (!fetch.index.complete) {
        showMessages(QStringLiteral("Not every recipe of this category could be shown: its "
                                    "list on the exchange stops early."));
        return;
    }
    setStatus(QStringLiteral("Ready."));
}

void DownloadWindow::chooseRecipe(QTreeWidgetItem* item)
{
    if (!item || list_->topLevelItemCount() == 0) return;
    openDestinationChooser(app_, ChooserMode::Download, downloadTimer_);
}

void DownloadWindow::downloadSelected()
{
    downloadTimer_->stop();
    QTreeWidgetItem* item = list_->currentItem();
    if (!item) return;
    setStatus(QStringLiteral("Downloading recipe..."));
    const std::string stem = item->data(0, kStemRole).toByteArray().toStdString();
    if (auto plain = exchange::checkServerName(stem, "recipe file"); !plain) {
        app_.services.prompter.inform(toQString(plain.error()), kDownloadTitle,
                                      MessageIcon::Exclamation);
        setStatus(QStringLiteral("Ready."));
        return;
    }
    // The chooser's choices as they are now: another download may ask again meanwhile.
    auto fetch = std::make_shared<RecipeFetch>();
    fetch->targetTitle = app_.state.targetBookTitle;
    fetch->checkNewIngredients = app_.state.checkNewIngredients;
    const std::string folder = item->data(0, kFolderRole).toByteArray().toStdString();
    worker_->run(
        [folder, stem, fetch](exchange::FtpSession& session) {
            if (auto content = exchange::fetchExchangeFile(session, folder, stem)) {
                fetch->fetched = true;
                fetch->content = std::move(*content);
            } else {
                fetch->advice = adviceAfter(session);
            }
        },
        [this, fetch] { addRecipe(*fetch); });
}

void DownloadWindow::addRecipe(const RecipeFetch& fetch)
{
    setStatus(QStringLiteral("Done."));
    Prompter& prompter = app_.services.prompter;
    auto refuse = [&](const QString& why) {
        prompter.inform(why, kDownloadTitle, MessageIcon::Exclamation);
    };
    if (!fetch.fetched) {
        refuse(withAdvice(QStringLiteral("The recipe could not be fetched from the exchange. "
                                         "Nothing was added to the cookbook."),
                          fetch.advice));
        return;
    }
    auto book = store::CookbookList(app_.state.folder).fileOf(fetch.targetTitle);
    if (!book) {
        return refuse(toQString(book.error()) + QStringLiteral(" The recipe was not downloaded."));
    }
    PrompterNamer namer(prompter);
    auto added = exchange::addExchangeRecipe(app_.state.folder, *book, fetch.content, namer);
    if (!added) return refuse(toQString(added.error()));
    // Left out at the name question: nothing more to say.
    if (!added->added) return;

    QString done = QStringLiteral("Download successful!");
    if (added->name != added->ownName) {
        done += QStringLiteral(" The recipe is called \u201C%1\u201D in the cookbook.")
                    .arg(fromCp(added->name));
    }
    prompter.inform(done, kDownloadTitle);
    // "New ingredients?" opens in any case, with the recipe's new words when they were asked
    // for: a cook who ticked nothing still sees that the check is there.
    runNewIngredientCheck(
        app_, fetch.checkNewIngredients ? added->ingredients : std::vector<std::string>{},
        search::CheckVariant::Download, NothingNew::ShowDialog);
}

}  // namespace culvora::gui
