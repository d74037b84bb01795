#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

#include "gui/app/window_names.h"
#include "gui/exchange/exchange_windows.h"
#include "gui/exchange/upload_window.h"
#include "support/fake_ftp_factory.h"
#include "support/gui_fixture.h"
#include "support/gui_helpers.h"
#include "support/records.h"

using namespace culvora;
using culvora::testing::child;
using culvora::testing::crlf;
using culvora::testing::infoShape;
using culvora::testing::messageShape;
using culvora::testing::record;
using gui::Answer;
using gui::UploadWindow;

namespace {

// "Waffles" is also an ingredient line of the soup before it: the record is found by its
// name line.
const std::string kSoup = record({.name = "Soup", .ingredients = {"Waffles"}, .steps = {"Boil."}});
const std::string kWaffles = record({.name = "Waffles",
                                     .time = "15",
                                     .ingredients = {"3 dl flour"},
                                     .steps = {"Bake."},
                                     .type = "Desserts"});
const std::string kBread = record({.name = "Bread",
                                   .servings = "8",
                                   .time = "90",
                                   .ingredients = {"1 kg flour"},
                                   .steps = {"Knead."},
                                   .type = "Baking"});

const QString kThanks = QStringLiteral("Thank you! Your recipe will be online within 24 hours.");

QStringList shapes(const QList<gui::Message>& messages)
{
    QStringList all;
    for (const auto& m : messages) all << messageShape(m);
    return all;
}

struct Upload : testing::GuiFixture {
    Upload()
    {
        writeDefaultFiles();
        dir.write("BOOK1.TXT", kSoup + kWaffles + kBread);
        server->folders["/tavendi/upload"] = {};
        state.dragRecipe = "Waffles";
        adjustWindows = [this](gui::WindowRegistry&) {
            gui::registerExchangeWindows(app(), testing::fakeClients(server));
        };
        start(true);
    }

    UploadWindow* open()
    {
        window = qobject_cast<UploadWindow*>(windows().open(gui::forms::kUpload));
        if (!window) return nullptr;
        statuses = QStringList{window->statusText()};
        QObject::connect(window, &UploadWindow::statusChanged,
                         [this](const QString& text) { statuses << text; });
        return window;
    }
    [[nodiscard]] bool settle()
    {
        return QTest::qWaitFor([this] { return !window || !window->busy(); }, 5000);
    }
    bool isOpen() { return windows().isOpen(gui::forms::kUpload); }
    QStringList localExchangeFiles()
    {
        QStringList found;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
            if (entry.path().extension() == ".tvx") {
                found << QString::fromStdString(entry.path().filename().string());
            }
        }
        found.sort();
        return found;
    }

    std::shared_ptr<testing::FakeFtpServer> server = std::make_shared<testing::FakeFtpServer>();
    QPointer<UploadWindow> window;
    QStringList statuses;
};

}  // namespace

class UploadWindowTest : public QObject {
    Q_OBJECT
private slots:
    void opensAndSendsTheRecipeAtOnce()
    {
        Upload f;
        // A file of the data folder with the name the upload will have: the cook's, or left by
        // an earlier version. The upload never writes or removes it.
        const std::string own = crlf({"[NAMN]", "Kept", "my own notes"});
        f.dir.write("20261209183005.tvx", own);
        QVERIFY(f.open());
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Upload recipe"));
        QCOMPARE(child<QLabel>(f.window, QStringLiteral("Label2"))->text(),
                 QStringLiteral("Your recipe will be online within 24 hours..."));
        QVERIFY(child<QWidget>(f.window, QStringLiteral("Picture1"))
                    ->isAncestorOf(child<QLabel>(f.window, QStringLiteral("Label2"))));
        QCOMPARE(child<QPushButton>(f.window, QStringLiteral("Command1"))->text(),
                 QStringLiteral("Upload"));
        QCOMPARE(child<QPushButton>(f.window, QStringLiteral("Command2"))->text(),
                 QStringLiteral("Cancel"));
        QCOMPARE(child<QLabel>(f.window, QStringLiteral("Label1"))->text(),
                 QStringLiteral("Directories"));
        auto* tree = child<QTreeWidget>(f.window, QStringLiteral("tree"));
        QCOMPARE(tree->topLevelItemCount(), 1);
        QCOMPARE(tree->topLevelItem(0)->text(0), QStringLiteral("Network"));
        QCOMPARE(tree->topLevelItem(0)->data(0, Qt::UserRole).toString(), QStringLiteral("Root"));
        QCOMPARE(child<QLabel>(f.window, QStringLiteral("recipeName"))->text(),
                 QStringLiteral("\u201CWaffles\u201D"));

        QVERIFY(f.settle());
        QCOMPARE(f.statuses,
                 (QStringList{"Ready", "Connecting to network...", "Uploading file...", "Done."}));
        // The file is named by the clock (2026-12-09 18:30:05) and holds exactly the record.
        QCOMPARE(f.server->filesIn("/tavendi/upload"),
                 (std::map<std::string, std::string>{{"20261209183005.tvx", kWaffles}}));
        const auto calls = f.server->callsMade();
        QCOMPARE((std::vector<std::string>(calls.end() - 3, calls.end())),
                 (std::vector<std::string>{"cd tavendi/upload",
                                           "put /tavendi/upload 20261209183005.tvx", "close"}));
        QCOMPARE(shapes(f.fakes.prompter.messages),
                 QStringList{infoShape(QStringLiteral("OK!"), kThanks)});
        QCOMPARE(f.localExchangeFiles(), QStringList{"20261209183005.tvx"});
        QCOMPARE(f.dir.read("20261209183005.tvx"), own);
        QVERIFY(!f.isOpen());
    }

    void aFailedStoreKeepsTheWindowAndUploadSendsANewFile()
    {
        Upload f;
        f.server->putReply = {553, "Could not create file."};
        f.fakes.prompter.answers = {Answer::Ok, Answer::No};
        QVERIFY(f.open());
        QVERIFY(f.settle());
        QCOMPARE(shapes(f.fakes.prompter.messages),
                 (QStringList{infoShape(QStringLiteral("Culvora"),
                                        QStringLiteral("FtpPutFile Extd Err: 553 Could not "
                                                       "create file.")),
                              QStringLiteral("[Culvora] None YesNo default Yes: FtpPutFile Err: "
                                             "12003\r\nClose Connection and Session?")}));
        QCOMPARE(f.statuses,
                 (QStringList{"Ready", "Connecting to network...", "Uploading file...", "Done."}));
        QVERIFY(f.isOpen());
        QVERIFY(f.server->filesIn("/tavendi/upload").empty());

        // "Upload" makes the file anew, a second later, and sends it.
        f.server->putReply = {};
        f.fakes.prompter.messages.clear();
        f.fakes.clock.time = f.fakes.clock.time.addSecs(1);
        auto* upload = child<QPushButton>(f.window, QStringLiteral("Command1"));
        QVERIFY(upload->isEnabled());
        upload->click();
        QVERIFY(!upload->isEnabled());  // one press, one file
        QVERIFY(f.settle());
        QCOMPARE(f.server->filesIn("/tavendi/upload"),
                 (std::map<std::string, std::string>{{"20261209183006.tvx", kWaffles}}));
        // The exchange files went from memory: none was ever in the data folder.
        QVERIFY(f.localExchangeFiles().isEmpty());
        QCOMPARE(shapes(f.fakes.prompter.messages),
                 QStringList{infoShape(QStringLiteral("OK!"), kThanks)});
        QVERIFY(!f.isOpen());
    }

    void withoutAConnectionUploadSaysSo()
    {
        const QString noConnection =
            infoShape(QStringLiteral("Upload"), gui::kNoConnectionMessage, "Exclamation");
        // The server cannot be reached: the session's report, then ours.
        Upload f;
        f.server->connectFailure = exchange::kCannotConnect;
        QVERIFY(f.open());
        QVERIFY(f.settle());
        QCOMPARE(shapes(f.fakes.prompter.messages),
                 (QStringList{QStringLiteral("[Culvora] None YesNo default Yes: InternetConnect "
                                             "Err: 12029\r\nClose Connection and Session?"),
                              noConnection}));
        QCOMPARE(f.window->statusText(), QStringLiteral("Not connected."));
        f.fakes.prompter.messages.clear();
        child<QPushButton>(f.window, QStringLiteral("Command1"))->click();
        QVERIFY(f.settle());
        QCOMPARE(shapes(f.fakes.prompter.messages), QStringList{noConnection});
        QVERIFY(f.localExchangeFiles().isEmpty());
        QVERIFY(f.isOpen());

        // Yes to closing the connection after a failed store: "Upload" has nothing to send by.
        Upload closed;
        closed.server->putReply = {553, "Could not create file."};
        closed.fakes.prompter.answers = {Answer::Ok, Answer::Yes};
        QVERIFY(closed.open());
        QVERIFY(closed.settle());
        closed.fakes.prompter.messages.clear();
        child<QPushButton>(closed.window, QStringLiteral("Command1"))->click();
        QVERIFY(closed.settle());
        QCOMPARE(shapes(closed.fakes.prompter.messages), QStringList{noConnection});
    }

    void aRecipeTheCookbookDoesNotHoldSendsNothing()
    {
        Upload f;
        f.state.dragRecipe = "Pancakes";
        QVERIFY(f.open());
        QVERIFY(f.settle());
        QCOMPARE(shapes(f.fakes.prompter.messages),
                 QStringList{infoShape(QStringLiteral("Upload"),
                                       QStringLiteral("The recipe \"Pancakes\" is not in the "
                                                      "cookbook, so there is nothing to send."),
                                       "Exclamation")});
        QVERIFY(f.server->filesIn("/tavendi/upload").empty());
        QVERIFY(f.isOpen());
    }

    void closingWhileTheStoreHangsReturnsAtOnce()
    {
        Upload f;
        f.server->hangOn = "put";
        QVERIFY(f.open());
        QVERIFY(QTest::qWaitFor([&] { return f.server->hanging.load(); }, 5000));
        QTRY_COMPARE(f.window->statusText(), QStringLiteral("Uploading file..."));
        QElapsedTimer clock;
        clock.start();
        testing::clickButton(f.window, QStringLiteral("Command2"));
        const qint64 took = clock.elapsed();
        qInfo("closing took %lld ms", took);
        QVERIFY2(took < 1000, qPrintable(QString::number(took)));
        QVERIFY(!f.isOpen());
        QTRY_VERIFY(!f.window);
        QTest::qWait(50);
        QVERIFY(f.fakes.prompter.messages.isEmpty());
        QVERIFY(f.localExchangeFiles().isEmpty());
    }
};

QTEST_MAIN(UploadWindowTest)
#include "upload_window_test.moc"
