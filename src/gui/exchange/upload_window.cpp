#include "gui/exchange/upload_window.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <memory>

#include "core/exchange/exchange_formats.h"
#include "core/exchange/exchange_settings.h"
#include "core/exchange/upload.h"
#include "gui/app/geometry.h"
#include "gui/app/qt_text.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/exchange/exchange_pictures.h"
#include "gui/theme/theme.h"

namespace culvora::gui {

namespace {

const QString kUploadTitle = QStringLiteral("Upload");

exchange::LocalTime localTime(const QDateTime& now)
{
    const QDate date = now.date();
    const QTime time = now.time();
    return {date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()};
}

}  // namespace

UploadWindow::UploadWindow(AppContext& app, const FtpClientFactory& clients, QWidget* parent)
    : QWidget(parent),
      app_(app)
{
    setObjectName(forms::kUpload);
    setWindowTitle(QStringLiteral("Upload recipe"));
    setStyleSheet(theme::exchangeStyle());
    setAutoFillBackground(true);
    QPalette paper = palette();
    paper.setColor(QPalette::Window, theme::kPaper);
    setPalette(paper);

    worker_ = new SessionWorker(app.services.prompter, clients, this);
    // The pointer says the exchange is being waited for; the window still answers meanwhile.
    connect(worker_, &SessionWorker::busyStarted, this, [this] { setCursor(Qt::BusyCursor); });
    connect(worker_, &SessionWorker::idle, this, [this] { unsetCursor(); });

    auto* picture = new QFrame(this);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setProperty("card", true);
    auto* image = new QLabel(picture);
    image->setPixmap(exchange_pictures::uploadPicture());
    auto* promise =
        new QLabel(QStringLiteral("Your recipe will be online within 24 hours..."), picture);
    promise->setObjectName(QStringLiteral("Label2"));
    promise->setProperty("heading", true);
    promise->setWordWrap(true);
    recipe_ = new QLabel(picture);
    recipe_->setObjectName(QStringLiteral("recipeName"));
    recipe_->setProperty("hint", true);
    recipe_->setWordWrap(true);
    recipe_->setTextFormat(Qt::PlainText);
    auto* words = new QVBoxLayout;
    words->setSpacing(6);
    words->addStretch();
    words->addWidget(promise);
    words->addWidget(recipe_);
    words->addStretch();
    auto* card = new QHBoxLayout(picture);
    card->setContentsMargins(12, 10, 14, 10);
    card->setSpacing(14);
    card->addWidget(image);
    card->addLayout(words, 1);

    auto* treeHeading = new QLabel(QStringLiteral("Directories"), this);
    treeHeading->setObjectName(QStringLiteral("Label1"));
    treeHeading->setProperty("heading", true);
    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("tree"));
    tree_->setHeaderHidden(true);
    tree_->setRootIsDecorated(false);
    tree_->setFixedHeight(twips(600));
    tree_->setFocusPolicy(Qt::NoFocus);
    treeHeading->setBuddy(tree_);

    uploadButton_ = new QPushButton(QStringLiteral("Upload"), this);
    uploadButton_->setObjectName(QStringLiteral("Command1"));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Command2"));
    for (auto* b : {uploadButton_, cancel}) b->setMinimumWidth(twips(1300));
    uploadButton_->setToolTip(QStringLiteral("Send the recipe again"));
    connect(uploadButton_, &QPushButton::clicked, this, &UploadWindow::upload);
    connect(cancel, &QPushButton::clicked, this, [this] { app_.windows.closeWindow(this); });
    // "Upload" waits while a transfer runs, so one press sends one file.
    connect(worker_, &SessionWorker::idle, this, [this] { uploadButton_->setEnabled(true); });

    auto* statusBar = new QStatusBar(this);
    statusBar->setObjectName(QStringLiteral("Status"));
    statusBar->setSizeGripEnabled(false);
    status_ = new QLabel(statusBar);
    status_->setObjectName(QStringLiteral("StatusText"));
    statusBar->addWidget(status_, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(uploadButton_);
    buttons->addWidget(cancel);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(12, 12, 12, 8);
    body->setSpacing(6);
    body->addWidget(picture);
    body->addSpacing(4);
    body->addWidget(treeHeading);
    body->addWidget(tree_);
    body->addSpacing(6);
    body->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(body, 1);
    layout->addWidget(statusBar);
    setMinimumWidth(twips(7500));
}

UploadWindow::~UploadWindow()
{
    worker_->stop();
}

void UploadWindow::closeEvent(QCloseEvent* event)
{
    worker_->stop();
    QWidget::closeEvent(event);
}

QString UploadWindow::statusText() const
{
    return status_->text();
}

void UploadWindow::setStatus(const QString& text)
{
    status_->setText(text);
    emit statusChanged(text);
}

void UploadWindow::start()
{
    setStatus(QStringLiteral("Ready"));
    auto* root = new QTreeWidgetItem(tree_, {QStringLiteral("Network")});
    root->setData(0, Qt::UserRole, QStringLiteral("Root"));
    root->setData(0, Qt::UserRole + 1, QStringLiteral("root"));
    root->setIcon(0, exchange_pictures::treeIcon(exchange_pictures::TreeImage::Network));
    root->setExpanded(true);

    auto settings = exchange::readExchangeSettings(app_.state.folder);
    if (!settings) {
        app_.services.prompter.inform(toQString(settings.error()), QStringLiteral("Error"),
                                      MessageIcon::Exclamation);
        settings = exchange::ExchangeSettings{};
    }
    SessionWorker* worker = worker_;
    worker_->run([this, worker, settings = *settings](exchange::FtpSession& session) {
        session.configure(settings);
        session.OpenSession();
        worker->post([this] { setStatus(QStringLiteral("Connecting to network...")); });
        session.Connect();
    });
    queueUpload();
}

void UploadWindow::upload()
{
    queueUpload();
}

void UploadWindow::queueUpload()
{
    enum class Outcome { NoConnection, NotWritten, NotSent, Sent };
    struct Upload {
        Outcome outcome = Outcome::NotSent;
        std::string problem;  // UTF-8
        QString advice;       // after a connection or transfer that failed
    };
    const std::string name = app_.state.dragRecipe;
    const std::size_t occurrence = app_.state.dragOccurrence;
    const std::string book = app_.state.currentCookbookFile;
    const exchange::LocalTime time = localTime(app_.services.clock.now());
    recipe_->setText(QStringLiteral("\u201C%1\u201D").arg(fromCp(name)));
    uploadButton_->setEnabled(false);

    auto result = std::make_shared<Upload>();
    const ProgramFolder folder = app_.state.folder;
    SessionWorker* worker = worker_;
    worker_->run(
        [this, worker, folder, name, occurrence, book, time,
         result](exchange::FtpSession& session) {
            if (!session.active()) {
                result->outcome = Outcome::NoConnection;
                result->advice = adviceAfter(session);
                return;
            }
            auto file = exchange::WriteExchangeFile(folder, book, name, time, occurrence);
            if (!file) {
                result->outcome = Outcome::NotWritten;
                result->problem = file.error().message;
                return;
            }
            session.ChangeFolder(std::string(exchange::kUploadFolder));
            worker->post([this] { setStatus(QStringLiteral("Uploading file...")); });
            const bool sent = session.PutFile(file->content, file->name);
            worker->post([this] { setStatus(QStringLiteral("Done.")); });
            // A file that did not go is made anew by the next "Upload".
            if (sent) result->outcome = Outcome::Sent;
            result->advice = adviceAfter(session);
        },
        [this, result] {
            Prompter& prompter = app_.services.prompter;
            switch (result->outcome) {
            case Outcome::NoConnection:
                setStatus(QStringLiteral("Not connected."));
                prompter.inform(withAdvice(kNoConnectionMessage, result->advice), kUploadTitle,
                                MessageIcon::Exclamation);
                break;
            case Outcome::NotWritten:
                prompter.inform(QString::fromStdString(result->problem), kUploadTitle,
                                MessageIcon::Exclamation);
                break;
            case Outcome::NotSent:
                // The session has said what failed; a timeout also gets what to do about it.
                if (!result->advice.isEmpty()) {
                    prompter.inform(result->advice, kUploadTitle, MessageIcon::Exclamation);
                }
                break;
            case Outcome::Sent:
                prompter.inform(
                    QStringLiteral("Thank you! Your recipe will be online within 24 hours."),
                    QStringLiteral("OK!"));
                app_.windows.closeWindow(this);
                break;
            }
        });
}

}  // namespace culvora::gui
