// The exchange windows end to end against a real server (pyftpdlib) through libcurl: browsing,
// a download into another cookbook with and without a name clash, an upload, and a server that
// is not there, dies or freezes in the middle of a transfer. The window must go on painting
// while it waits, report through the session's message boxes, and close at once.

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest>

#include <filesystem>
#include <memory>

#include "gui/app/window_names.h"
#include "gui/exchange/download_window.h"
#include "gui/exchange/upload_window.h"
#include "gui/search/new_ingredients_dialog.h"
#include "gui/store/destination_chooser.h"
#include "support/exchange_server.h"
#include "support/gui_fixture.h"
#include "support/gui_helpers.h"
#include "support/records.h"
#include "support/scoped_env.h"

using namespace culvora;
using namespace culvora::testing;
using culvora::testing::record;
using gui::Answer;
using gui::DownloadWindow;
namespace fs = std::filesystem;

namespace {

constexpr const char* kLentilStem = "20250310091512";  // soups: "Red lentil soup with cumin"

const QString kClose = QStringLiteral("Close Connection and Session?");
const QString kTooSlow =
    QStringLiteral("The server sent too little for too long; try again later or ask its operator.");
// Below 1 KB/s for 2 seconds, or 4 seconds in all, and a request is given up.
const std::string kShortLimits = "connect_timeout=2\r\nslow_time=2\r\ntransfer_timeout=4\r\n";

QString question(const QString& operation, int code)
{
    return QStringLiteral("[Culvora] None YesNo default Yes: %1 Err: %2\r\n%3")
        .arg(operation)
        .arg(code)
        .arg(kClose);
}

QStringList shapes(const QList<gui::Message>& messages)
{
    QStringList all;
    for (const auto& m : messages) all << messageShape(m);
    return all;
}

// Measures how long the window's thread went without handling an event while a test waited:
// a timer that should fire every 10 ms notes the longest gap between two of its ticks.
class Heartbeat {
public:
    Heartbeat()
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (clock_.isValid())
                longest_ = std::max(longest_, clock_.restart());
            else
                clock_.start();
        });
        timer_.start();
    }
    qint64 longestGapMs() const { return longest_; }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 longest_ = 0;
};

// A cook's data folder whose exchange.ini points at the server: the standard cookbook and an
// empty "Exchange finds" that ends with a lone [NAMN].
struct Kitchen : GuiFixture {
    explicit Kitchen(int port)
    {
        writeDefaultFiles();
        dir.write("bocker.txt", crlf({"Standard", "BOOK1.TXT", "Exchange finds", "FINDS.TXT"}));
        dir.write("FINDS.TXT", "[NAMN]\r\n");
        dir.write("sok.txt", crlf({"onion", "garlic", "carrot", "salt", "pepper"}));
        dir.write("exchange.ini", exchangeIni(port));
        start(true);
    }

    DownloadWindow* openDownload()
    {
        download = qobject_cast<DownloadWindow*>(windows().open(gui::forms::kDownload));
        if (download) {
            tree = download->findChild<QTreeWidget*>(QStringLiteral("tree"));
            list = download->findChild<QTreeWidget*>(QStringLiteral("list"));
        }
        return download;
    }
    [[nodiscard]] bool settle(int ms = 30000)
    {
        return QTest::qWaitFor([this] { return !download || !download->busy(); }, ms);
    }
    [[nodiscard]] bool chooseCategory(const QString& name)
    {
        const auto found = tree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
        if (found.isEmpty()) return false;
        download->chooseCategory(found.front());
        return settle();
    }
    [[nodiscard]] bool downloadRecipe(const QString& name, bool tick)
    {
        const auto found = list->findItems(name, Qt::MatchExactly);
        if (found.isEmpty()) return false;
        list->setCurrentItem(found.front());
        download->chooseRecipe(found.front());
        auto* chooser = windows().find(gui::forms::kDestination);
        if (!chooser) return false;
        auto* books = chooser->findChild<QComboBox*>(QStringLiteral("Combo1"));
        books->setCurrentIndex(books->findText(QStringLiteral("Exchange finds")));
        chooser->findChild<QCheckBox*>(QStringLiteral("Check1"))->setChecked(tick);
        clickButton(chooser, QStringLiteral("Command1"));
        return QTest::qWaitFor([this] { return !download->downloadTimer()->isActive(); }, 2000) &&
               settle();
    }
    QStringList recipes()
    {
        QStringList lines;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            lines << list->topLevelItem(i)->text(0) + QStringLiteral(" | ") +
                         list->topLevelItem(i)->text(1);
        }
        return lines;
    }
    // Exchange and index files left in the data folder.
    QStringList leftovers()
    {
        QStringList left;
        for (const auto& entry : fs::directory_iterator(dir.path())) {
            const std::string name = entry.path().filename().string();
            if (name.ends_with(".tvx") || name == "netindex.txt" || name == "network.txt") {
                left << QString::fromStdString(name);
            }
        }
        return left;
    }

    QPointer<DownloadWindow> download;
    QTreeWidget* tree = nullptr;
    QTreeWidget* list = nullptr;
};

std::string renamed(std::string record, const std::string& from, const std::string& to)
{
    record.replace(record.find(from), from.size(), to);
    return record;
}

}  // namespace

class ExchangeWindowsFlowTest : public QObject {
    Q_OBJECT
private slots:
    void browseAndDownloadIntoAnotherCookbook()
    {
        const SharedExchange shared = sharedExchange();
        Kitchen k(shared.port);
        QVERIFY(k.openDownload());
        QVERIFY(k.settle());
        QCOMPARE(k.download->statusText(), QStringLiteral("Ready."));
        QCOMPARE(k.download->findChild<QLabel*>(QStringLiteral("Label8"))->text(),
                 QStringLiteral("Welcome to the Culvora recipe exchange!\nDouble-click a category, "
                                "then a recipe to add it to one of your cookbooks.\n"
                                "Recipes you send in are read by a person and published within "
                                "a day.\n>"));
        QTreeWidgetItem* root = k.tree->topLevelItem(0);
        QStringList top;
        for (int i = 0; i < root->childCount(); ++i) top << root->child(i)->text(0);
        QCOMPARE(top, (QStringList{"Soups and stews", "Everyday dinners", "Baking", "Desserts"}));
        QCOMPARE(root->child(2)->childCount(), 2);
        QCOMPARE(root->child(2)->child(1)->text(0), QStringLiteral("Cakes"));

        QVERIFY(k.chooseCategory(QStringLiteral("Soups and stews")));
        QCOMPARE(k.recipes(), (QStringList{"Red lentil soup with cumin | 2025-03-10  09:15:12",
                                           "Nässelsoppa | 2025-04-21  17:42:05"}));
        QCOMPARE(k.download->statusText(), QStringLiteral("Ready."));

        // Into "Exchange finds", which ends with a lone [NAMN]: the record, byte for byte.
        const std::string lentils =
            readBytes(shared.tree() / "soups" / (std::string(kLentilStem) + ".tvx"));
        QVERIFY(k.downloadRecipe(QStringLiteral("Red lentil soup with cumin"), true));
        QCOMPARE(k.dir.read("FINDS.TXT"), lentils);
        QCOMPARE(messageShape(k.fakes.prompter.last()),
                 infoShape(QStringLiteral("Download"), QStringLiteral("Download successful!")));
        auto* dialog = k.windows().find<gui::NewIngredientsDialog>(gui::forms::kNewIngredients);
        QVERIFY(dialog);
        const auto offered = dialog->words();
        QVERIFY(std::ranges::find(offered, "lentils") != offered.end());
        QVERIFY(std::ranges::find(offered, "onion") == offered.end());
        k.windows().close(gui::forms::kNewIngredients);

        // Again: the name is taken, so the cook is asked for another one.
        k.fakes.prompter.inputs = {QStringLiteral("Lentil soup")};
        QVERIFY(k.downloadRecipe(QStringLiteral("Red lentil soup with cumin"), false));
        QCOMPARE(k.fakes.prompter.inputPrompts,
                 QStringList{
                     QStringLiteral("This receipe already exists. Please specify another name.")});
        QCOMPARE(k.dir.read("FINDS.TXT"),
                 lentils + renamed(lentils, "Red lentil soup with cumin", "Lentil soup"));
        QVERIFY(k.leftovers().isEmpty());
        QCOMPARE(k.dir.read("BOOK1.TXT"), std::string());
    }

    void uploadARecipe()
    {
        const SharedExchange shared = sharedExchange();
        Kitchen k(shared.port);
        const std::string waffles = record({.name = "Crisp window waffles",
                                            .servings = "4",
                                            .time = "20",
                                            .ingredients = {"3 dl flour", "3 dl milk"},
                                            .steps = {"Bake in a hot iron."},
                                            .type = "Desserts"});
        k.dir.write("BOOK1.TXT", waffles);
        k.state.dragRecipe = "Crisp window waffles";
        // A stamp of its own on the shared server.
        k.fakes.clock.time = QDateTime(QDate(2031, 1, 2), QTime(3, 4, 5));
        QPointer<QWidget> window = k.windows().open(gui::forms::kUpload);
        QVERIFY(window);
        QVERIFY(QTest::qWaitFor([&] { return !window; }, 30000));
        QCOMPARE(shapes(k.fakes.prompter.messages),
                 QStringList{infoShape(QStringLiteral("OK!"),
                                       QStringLiteral("Thank you! Your recipe will be online "
                                                      "within 24 hours."))});
        QCOMPARE(readBytes(shared.tree() / "upload" / "20310102030405.tvx"), waffles);
        QVERIFY(k.leftovers().isEmpty());
    }

    void aServerThatIsNotThere()
    {
        TempDir root;
        makeStarterTree(root.path());
        int port = 0;
        {
            ExchangeServer gone(root.path());
            port = gone.port();
        }
        Kitchen k(port);
        k.fakes.prompter.answers = {Answer::Yes};
        QVERIFY(k.openDownload());
        QVERIFY(k.settle());
        QCOMPARE(shapes(k.fakes.prompter.messages),
                 (QStringList{
                     question(QStringLiteral("InternetConnect"), 12029),
                     infoShape(QStringLiteral("Culvora"), QStringLiteral("Not in session")),
                     infoShape(QStringLiteral("Download"),
                               QStringLiteral("There is no connection to the recipe exchange, so "
                                              "its categories cannot be shown. Check that this "
                                              "computer is connected to the internet, then "
                                              "double-click \u201CNetwork\u201D to try again."),
                               "Exclamation")}));
        QCOMPARE(k.download->statusText(), QStringLiteral("Not connected."));

        // The exchange is up again: "Network" connects and the categories come.
        ExchangeServer back(root.path());
        k.dir.write("exchange.ini", exchangeIni(back.port()));
        k.fakes.prompter.messages.clear();
        k.download->chooseCategory(k.tree->topLevelItem(0));
        QVERIFY(k.settle());
        QVERIFY(k.fakes.prompter.messages.isEmpty());
        QVERIFY(k.tree->topLevelItem(0)->childCount() > 0);
        QCOMPARE(k.download->statusText(), QStringLiteral("Ready."));
    }

    void aServerThatDiesOrFreezesInTheMiddleOfARecipe_data()
    {
        QTest::addColumn<bool>("freeze");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("advice");
        QTest::newRow("killed") << false << 12030 << QString();
        QTest::newRow("frozen") << true << 12002
                                << QStringLiteral(" The server sent too little for too long; try "
                                                  "again later or ask its operator.");
    }
    void aServerThatDiesOrFreezesInTheMiddleOfARecipe()
    {
        QFETCH(bool, freeze);
        QFETCH(int, code);
        QFETCH(QString, advice);
        const ScopedEnv limit("CULVORA_EXCHANGE_TIMEOUT", "2");
        TempDir root;
        makeStarterTree(root.path());
        const std::string victim = std::string(kLentilStem) + ".tvx";
        ExchangeServer server(root.path(), freeze ? ExchangeServer::Options::freezingDuring(victim)
                                                  : ExchangeServer::Options::dyingDuring(victim));
        Kitchen k(server.port());
        QVERIFY(k.openDownload());
        QVERIFY(k.settle());
        QVERIFY(k.chooseCategory(QStringLiteral("Soups and stews")));

        Heartbeat heartbeat;
        QElapsedTimer waited;
        waited.start();
        QVERIFY(k.downloadRecipe(QStringLiteral("Red lentil soup with cumin"), false));
        qInfo("the transfer ended after %lld ms; the window's longest pause was %lld ms",
              waited.elapsed(), heartbeat.longestGapMs());
        QVERIFY2(heartbeat.longestGapMs() < 1000,
                 qPrintable(QString::number(heartbeat.longestGapMs())));
        if (freeze) QVERIFY(waited.elapsed() >= 2000);
        QVERIFY(waited.elapsed() < 20000);
        QCOMPARE(shapes(k.fakes.prompter.messages),
                 (QStringList{question(QStringLiteral("FtpGetFile"), code),
                              infoShape(QStringLiteral("Download"),
                                        QStringLiteral("The recipe could not be fetched from the "
                                                       "exchange. Nothing was added to the "
                                                       "cookbook.") +
                                            advice,
                                        "Exclamation")}));
        QCOMPARE(k.dir.read("FINDS.TXT"), std::string("[NAMN]\r\n"));
        QVERIFY(k.leftovers().isEmpty());
    }

    // A server that drips: the windows give up at the rate limit (2 seconds here), say so in
    // plain words, and keep painting meanwhile.
    void aServerThatDripsTheCategoryList()
    {
        Kitchen k(hostileServerPort());
        k.dir.write("exchange.ini",
                    exchangeIni(hostileServerPort()) + kShortLimits + std::string("user=drip\r\n"));
        Heartbeat heartbeat;
        QElapsedTimer waited;
        waited.start();
        QVERIFY(k.openDownload());
        QVERIFY(k.settle());
        QVERIFY(waited.elapsed() >= 2000);
        QVERIFY(waited.elapsed() < 8000);
        QVERIFY(heartbeat.longestGapMs() < 1000);
        // The session's question closed the connection; the window's sentence ends with what
        // else a cook can do.
        const QString said =
            QStringLiteral("There is no connection to the recipe exchange, so its categories "
                           "cannot be shown. Check that this computer is connected to the "
                           "internet, then double-click \u201CNetwork\u201D to try again. ") +
            kTooSlow;
        QCOMPARE(shapes(k.fakes.prompter.messages),
                 (QStringList{question(QStringLiteral("FtpGetFile"), 12002),
                              infoShape(QStringLiteral("Download"), said, "Exclamation")}));
        QCOMPARE(k.download->findChild<QLabel*>(QStringLiteral("Label8"))->text(), said);
        QCOMPARE(k.tree->topLevelItem(0)->childCount(), 0);
        QVERIFY(k.leftovers().isEmpty());
    }

    void anUploadToAServerThatDripsItsReplies()
    {
        Kitchen k(hostileServerPort());
        k.dir.write("exchange.ini", exchangeIni(hostileServerPort()) + kShortLimits +
                                        std::string("user=drip-replies\r\n"));
        k.dir.write("BOOK1.TXT", crlf({"[NAMN]", "Toast", "[PORTIONER]", "1", "[TID]", "5", "[IND]",
                                       "bread", "[G\xD6RA]", "Toast it.", "[TYP]", "Standard"}));
        k.state.dragRecipe = "Toast";
        k.fakes.prompter.answers = {Answer::Yes};
        QElapsedTimer waited;
        waited.start();
        QPointer<QWidget> window = k.windows().open(gui::forms::kUpload);
        QVERIFY(window);
        QVERIFY(QTest::qWaitFor([&] { return k.fakes.prompter.messages.size() == 2; }, 10000));
        QVERIFY(waited.elapsed() >= 2000);
        QCOMPARE(shapes(k.fakes.prompter.messages),
                 (QStringList{question(QStringLiteral("InternetConnect"), 12002),
                              infoShape(QStringLiteral("Upload"),
                                        gui::kNoConnectionMessage + QStringLiteral(" ") + kTooSlow,
                                        "Exclamation")}));
        QVERIFY(k.leftovers().isEmpty());
    }

    void closingWhileAFrozenServerHoldsATransfer()
    {
        TempDir root;
        makeStarterTree(root.path());
        ExchangeServer server(root.path());
        Kitchen k(server.port());
        QVERIFY(k.openDownload());
        QVERIFY(k.settle());
        server.freeze();
        Heartbeat heartbeat;
        k.download->chooseCategory(
            k.tree->findItems(QStringLiteral("Baking"), Qt::MatchExactly | Qt::MatchRecursive)
                .front());
        // Without a limit of 2 seconds the session would wait 30; the window does not.
        QTest::qWait(700);
        QVERIFY(k.download->busy());
        QCOMPARE(k.download->statusText(), QStringLiteral("Downloading data..."));
        QElapsedTimer closing;
        closing.start();
        k.download->findChild<QToolBar*>(QStringLiteral("Toolbar1"))->actions().front()->trigger();
        const qint64 took = closing.elapsed();
        qInfo("closing took %lld ms; the window's longest pause while waiting was %lld ms", took,
              heartbeat.longestGapMs());
        QVERIFY2(took < 1000, qPrintable(QString::number(took)));
        QVERIFY(!k.windows().isOpen(gui::forms::kDownload));
        QVERIFY(heartbeat.longestGapMs() < 1000);
        QTest::qWait(50);
        QVERIFY(k.fakes.prompter.messages.isEmpty());
        server.thaw();
    }
};

QTEST_MAIN(ExchangeWindowsFlowTest)
#include "exchange_windows_flow_test.moc"
