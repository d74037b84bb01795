#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <memory>

#include "gui/app/handover.h"
#include "gui/store/destination_chooser.h"
#include "support/gui_fixture.h"
#include "support/gui_helpers.h"

using namespace culvora;
using culvora::testing::child;
using culvora::testing::crlf;
using culvora::testing::itemTexts;
using gui::ChooserMode;

Q_DECLARE_METATYPE(culvora::gui::ChooserMode)

namespace {

// Notes whether the opener's timer was already running when the chooser's frame closed.
class CloseSpy : public QObject {
public:
    explicit CloseSpy(const QTimer* timer) : timer_(timer) {}
    bool closed = false;
    bool timerRunningAtClose = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Close) {
            closed = true;
            timerRunningAtClose = timer_->isActive();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    const QTimer* timer_;
};

// Three cookbooks, "Soppor" current; an opener's one-shot timer.
struct Chooser : testing::GuiFixture {
    Chooser()
    {
        writeDefaultFiles();
        dir.write("bocker.txt", crlf({"Standard", "BOOK1.TXT", "Soppor", "BOOK2.TXT",
                                      "\xC5rets fest", "BOOK3.TXT", "Bakning", "BOOK4.TXT"}));
        dir.write("tavendi.ini", crlf({"BOOK2.TXT", "0"}));
        state.currentCookbookFile = "BOOK2.TXT";
        start(true);
        timer = std::make_unique<QTimer>();
        timer->setSingleShot(true);
        timer->setInterval(0);
    }

    gui::DestinationChooser* open(ChooserMode mode)
    {
        window = qobject_cast<gui::DestinationChooser*>(
            gui::openDestinationChooser(app(), mode, timer.get()));
        combo = child<QComboBox>(window, QStringLiteral("Combo1"));
        check = child<QCheckBox>(window, QStringLiteral("Check1"));
        confirm = child<QPushButton>(window, QStringLiteral("Command1"));
        return window;
    }
    bool chooserOpen() { return windows().isOpen(QStringLiteral("frmWhere")); }

    std::unique_ptr<QTimer> timer;
    gui::DestinationChooser* window = nullptr;
    QComboBox* combo = nullptr;
    QCheckBox* check = nullptr;
    QPushButton* confirm = nullptr;
};

}  // namespace

class DestinationChooserTest : public QObject {
    Q_OBJECT
private slots:
    void opensWithTheCurrentCookbookPreselected()
    {
        Chooser f;
        f.open(ChooserMode::Download);
        QCOMPARE(f.window->objectName(), QStringLiteral("frmWhere"));
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Add recipe"));
        QCOMPARE(child<QLabel>(f.window, QStringLiteral("Label1"))->text(),
                 QStringLiteral("Please tell me where you want to put this recipe..."));
        QCOMPARE(f.check->text(), QStringLiteral("Check for new ingredients"));
        QCOMPARE(child<QPushButton>(f.window, QStringLiteral("Command2"))->text(),
                 QStringLiteral("Cancel"));
        QCOMPARE(itemTexts(f.combo), (QStringList{"Bakning", "Soppor", "Standard", "Årets fest"}));
        QCOMPARE(f.combo->currentText(), QStringLiteral("Soppor"));
    }

    void aCurrentCookbookThatIsNotListedSelectsTheFirstTitle()
    {
        Chooser f;
        f.state.currentCookbookFile = "GONE.TXT";
        f.open(ChooserMode::Move);
        QCOMPARE(f.combo->currentText(), QStringLiteral("Bakning"));
    }

    void confirmStoresTheChoiceClosesAndThenStartsTheOpenersTimer_data()
    {
        QTest::addColumn<ChooserMode>("mode");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("checkable");
        QTest::newRow("move") << ChooserMode::Move << "Move" << false;
        QTest::newRow("import") << ChooserMode::Import << "Import" << false;
        QTest::newRow("download") << ChooserMode::Download << "Download" << true;
    }
    void confirmStoresTheChoiceClosesAndThenStartsTheOpenersTimer()
    {
        QFETCH(ChooserMode, mode);
        QFETCH(QString, caption);
        QFETCH(bool, checkable);
        Chooser f;
        // The opener's handler sees the state as the chooser left it, with the chooser gone.
        int ran = 0;
        bool chooserOpenWhenRun = true;
        std::string targetWhenRun;
        QObject::connect(f.timer.get(), &QTimer::timeout, [&] {
            ++ran;
            chooserOpenWhenRun = f.chooserOpen();
            targetWhenRun = f.state.targetBookTitle;
        });
        f.state.checkNewIngredients = true;  // left over from an earlier download

        f.open(mode);
        CloseSpy spy(f.timer.get());
        f.windows().subWindowOf(f.window)->installEventFilter(&spy);
        QCOMPARE(f.confirm->text(), caption);
        QCOMPARE(f.check->isEnabled(), checkable);
        QVERIFY(!f.check->isChecked());
        f.check->click();
        QCOMPARE(f.check->isChecked(), checkable);
        f.combo->setCurrentIndex(f.combo->findText(QStringLiteral("Årets fest")));
        QVERIFY(!f.timer->isActive());

        f.confirm->click();
        QVERIFY(!f.chooserOpen());
        QVERIFY(spy.closed);
        QVERIFY(!spy.timerRunningAtClose);
        QVERIFY(f.timer->isActive());
        QCOMPARE(f.state.targetBookTitle, std::string("\xC5rets fest"));
        QCOMPARE(f.state.checkNewIngredients, true);  // ticked for a download, untouched otherwise
        QCOMPARE(f.state.currentCookbookFile, std::string("BOOK2.TXT"));
        QCOMPARE(f.dir.read("tavendi.ini"), crlf({"BOOK2.TXT", "0"}));

        QCoreApplication::processEvents();  // a zero-interval one-shot fires on the next pass
        QCOMPARE(ran, 1);
        QVERIFY(!chooserOpenWhenRun);
        QCOMPARE(targetWhenRun, std::string("\xC5rets fest"));
    }

    void anUntickedDownloadClearsTheFlag()
    {
        Chooser f;
        f.state.checkNewIngredients = true;
        f.open(ChooserMode::Download);
        f.confirm->click();
        QCOMPARE(f.state.checkNewIngredients, false);
        QCOMPARE(f.state.targetBookTitle, std::string("Soppor"));
    }

    void cancelOrTheCloseBoxStartsNothing_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("cancel") << false;
        QTest::newRow("close box") << true;
    }
    void cancelOrTheCloseBoxStartsNothing()
    {
        QFETCH(bool, closeBox);
        Chooser f;
        f.state.targetBookTitle = "Before";
        f.open(ChooserMode::Import);
        f.combo->setCurrentIndex(0);
        if (closeBox)
            f.windows().subWindowOf(f.window)->close();
        else
            child<QPushButton>(f.window, QStringLiteral("Command2"))->click();
        QVERIFY(!f.chooserOpen());
        QVERIFY(!f.timer->isActive());
        QCOMPARE(f.state.targetBookTitle, std::string("Before"));
    }

    void anOpenChooserIsPreparedAgainForTheNextOpener()
    {
        Chooser f;
        auto* first = f.open(ChooserMode::Download);
        f.check->click();
        QVERIFY(f.check->isChecked());

        QTimer importTimer;
        importTimer.setSingleShot(true);
        QCOMPARE(gui::openDestinationChooser(f.app(), ChooserMode::Import, &importTimer),
                 static_cast<QWidget*>(first));
        QCOMPARE(f.confirm->text(), QStringLiteral("Import"));
        QVERIFY(!f.check->isChecked());
        QVERIFY(!f.check->isEnabled());

        f.open(ChooserMode::Download);
        QCOMPARE(f.window, first);
        QVERIFY(f.check->isEnabled());
        f.confirm->click();
        QVERIFY(f.timer->isActive());
        QVERIFY(!importTimer.isActive());
    }

    void anOpenerThatIsGoneStartsNothing()
    {
        Chooser f;
        f.open(ChooserMode::Move);
        f.timer.reset();  // the browser closed while the chooser was open
        f.confirm->click();
        QVERIFY(!f.chooserOpen());
        QCOMPARE(f.state.targetBookTitle, std::string("Soppor"));
    }

    void theOpenerGetsTheFocusBackWhenTheChooserCloses()
    {
        Chooser f;
        for (const char* button : {"Command1", "Command2"}) {
            auto* opener = new QWidget;
            opener->setObjectName(QStringLiteral("recept"));
            f.windows().add(opener);
            auto* timer = new QTimer(opener);
            timer->setSingleShot(true);
            f.window = qobject_cast<gui::DestinationChooser*>(
                gui::openDestinationChooser(f.app(), ChooserMode::Move, timer));
            QCOMPARE(f.windows().area()->activeSubWindow()->widget(), f.window);
            child<QPushButton>(f.window, QString::fromLatin1(button))->click();
            QCOMPARE(f.windows().area()->activeSubWindow()->widget(), opener);
            f.windows().closeWindow(opener);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    void aLongCookbookTitleNeitherWidensTheChooserNorIsCut()
    {
        Chooser f;
        std::string longTitle;
        for (int i = 0; longTitle.size() < 300; ++i)
            longTitle += "Grandmother's Sunday roast " + std::to_string(i) + " ";
        longTitle.resize(300);
        f.dir.write("bocker.txt", f.dir.read("bocker.txt") + crlf({longTitle, "BOOK5.TXT"}));
        f.dir.write("BOOK5.TXT", "");
        f.open(ChooserMode::Move);
        QMdiSubWindow* frame = f.windows().subWindowOf(f.window);
        frame->adjustSize();
        frame->show();
        QCoreApplication::processEvents();
        QVERIFY2(frame->width() < 700, qPrintable(QString::number(frame->width())));
        QVERIFY(f.window->width() < 700);
        // The whole title is there to choose, and chosen whole.
        const int row = f.combo->findText(QString::fromStdString(longTitle));
        QVERIFY(row >= 0);
        f.combo->setCurrentIndex(row);
        QCOMPARE(f.combo->currentText().size(), 300);
        f.confirm->click();
        QCOMPARE(f.state.targetBookTitle, longTitle);
        QVERIFY(f.timer->isActive());
    }

    void withoutCookbooksThereIsNothingToConfirm()
    {
        Chooser f;
        std::filesystem::remove(f.dir.file("bocker.txt"));
        f.open(ChooserMode::Download);
        QCOMPARE(f.combo->count(), 0);
        QVERIFY(!f.confirm->isEnabled());
    }
};

QTEST_MAIN(DestinationChooserTest)
#include "destination_chooser_test.moc"
