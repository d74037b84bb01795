#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QPushButton>
#include <QTreeView>
#include <QtTest>

#include <filesystem>
#include <optional>
#include <string>

#include "core/transfer/backup.h"
#include "gui/transfer/backup_window.h"
#include "support/gui_fixture.h"
#include "support/gui_helpers.h"
#include "support/records.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

using namespace culvora;
using culvora::testing::child;
using culvora::testing::clickButton;
using culvora::testing::crlf;
using culvora::testing::infoShape;
using culvora::testing::itemTexts;
using culvora::testing::messageShape;
using culvora::testing::record;

namespace {

const std::string kSoup = record({.name = "Soup", .ingredients = {"Water"}, .steps = {"Boil."}});
const std::string kDrinks = crlf({"[NAMN]", "Glögg", "[GLAS]", "Wine"});

// The window opened from "&Backup...", with no removable medium unless a test mounts one,
// and a home folder of its own.
struct Backup : testing::GuiFixture {
    Backup()
    {
        writeDefaultFiles();
        dir.write("BOOK1.TXT", kSoup);
        dir.write("drinkar.txt", kDrinks);
        start(true);
        main().findChild<QAction*>(QStringLiteral("mnuBackup"))->trigger();
        window = windows().find<gui::BackupWindow>(QStringLiteral("frmBackup"));
        if (window) window->setMediumFinder([this] { return medium; });
    }

    template <class T>
    T* control(const char* name)
    {
        return child<T>(window, QLatin1String(name));
    }
    bool open() { return windows().isOpen(QStringLiteral("frmBackup")); }
    QColor listInk()
    {
        auto* list = control<QTreeView>("Dir1");
        list->ensurePolished();
        return list->palette().color(list->isEnabled() ? QPalette::Active : QPalette::Disabled,
                                     QPalette::Text);
    }
    void chooseOtherFolder(const testing::TempDir& folder)
    {
        control<QComboBox>("Combo1")->setCurrentIndex(1);
        window->selectFolder(QString::fromStdString(folder.path().string()));
    }

    QString homePath() const { return QString::fromStdString(home.path().string()); }
    // The window as it opens with a medium plugged in.
    void mount(const testing::TempDir& stick)
    {
        medium = stick.path();
        window->setMediumFinder([this] { return medium; });
    }

    testing::TempDir home;
    testing::ScopedEnv homeVariable{"HOME", home.path().string()};
    gui::BackupWindow* window = nullptr;
    std::optional<std::filesystem::path> medium;
};

}  // namespace

class BackupWindowTest : public QObject {
    Q_OBJECT
private slots:
    void opensWithBothBoxesTickedOnTheFoldersWithoutAMedium()
    {
        Backup b;
        QVERIFY(b.window);
        QCOMPARE(b.window->windowTitle(), QStringLiteral("Backup"));
        QCOMPARE(b.control<QGroupBox>("Frame1")->title(), QStringLiteral("Options"));
        QCOMPARE(b.control<QGroupBox>("Frame2")->title(), QStringLiteral("Destination"));
        QCOMPARE(b.control<QCheckBox>("Check1")->text(),
                 QStringLiteral("Recipes (current cookbook)"));
        QCOMPARE(b.control<QCheckBox>("Check2")->text(), QStringLiteral("Drinks"));
        QVERIFY(b.control<QCheckBox>("Check1")->isChecked());
        QVERIFY(b.control<QCheckBox>("Check2")->isChecked());
        QCOMPARE(itemTexts(b.control<QComboBox>("Combo1")),
                 (QStringList{"Drive A:", "Other destination..."}));
        QCOMPARE(b.control<QPushButton>("Command1")->text(), QStringLiteral("Ok"));
        QCOMPARE(b.control<QPushButton>("Command2")->text(), QStringLiteral("Cancel"));
        QVERIFY(b.control<QPushButton>("Command1")->isEnabled());

        // Nothing plugged in: the folders are in use at once, the home folder chosen.
        QCOMPARE(b.control<QComboBox>("Combo1")->currentIndex(), 1);
        QVERIFY(b.control<QComboBox>("Drive1")->isEnabled());
        QVERIFY(b.control<QTreeView>("Dir1")->isEnabled());
        QCOMPARE(b.listInk(), QColor(0, 0, 0));
        QCOMPARE(b.window->chosenFolder(), b.homePath());

        // With a medium the window opens on it.
        testing::TempDir stick;
        b.mount(stick);
        QCOMPARE(b.control<QComboBox>("Combo1")->currentIndex(), 0);
        QVERIFY(!b.control<QTreeView>("Dir1")->isEnabled());
    }

    void theFirstOkWithoutAMediumCopiesIntoTheHomeFolder()
    {
        // Enter starts the backup, and with nothing plugged in it does not fail.
        Backup b;
        b.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(b.window->window()));
        QCOMPARE(b.window->focusWidget(), b.control<QWidget>("Command1"));
        QTest::keyClick(b.window->focusWidget(), Qt::Key_Return);
        QVERIFY(b.control<QCheckBox>("Check1")->isChecked());
        QCOMPARE(b.fakes.prompter.messages.size(), 1);
        QCOMPARE(messageShape(b.fakes.prompter.last()),
                 infoShape("Ok!", "Backup successful.", "Information"));
        QCOMPARE(b.home.read("BOOK1.TXT"), kSoup);
        QCOMPARE(b.home.read("drinkar.txt"), kDrinks);
        QTRY_VERIFY(!b.open());
    }

    void okNeedsATickedBox()
    {
        Backup b;
        auto* ok = b.control<QPushButton>("Command1");
        b.control<QCheckBox>("Check1")->click();
        QVERIFY(ok->isEnabled());
        b.control<QCheckBox>("Check2")->click();
        QVERIFY(!ok->isEnabled());
        b.control<QCheckBox>("Check2")->click();
        QVERIFY(ok->isEnabled());
        b.control<QCheckBox>("Check2")->click();
        b.control<QCheckBox>("Check1")->click();
        QVERIFY(ok->isEnabled());
    }

    void driveAPutsThePlacesOutOfUse()
    {
        Backup b;
        b.control<QComboBox>("Combo1")->setCurrentIndex(0);
        auto* drives = b.control<QComboBox>("Drive1");
        auto* folders = b.control<QTreeView>("Dir1");
        QVERIFY(!drives->isEnabled());
        QVERIFY(!folders->isEnabled());
        QCOMPARE(b.listInk(), QColor(200, 200, 200));
        // Under it the user reads what "Drive A:" is on this computer.
        auto* hint = b.control<QWidget>("lblMedium");
        QVERIFY(hint->isVisible());
        QCOMPARE(b.window->mediumText(),
                 QStringLiteral("No USB stick or memory card is plugged in."));

        b.control<QComboBox>("Combo1")->setCurrentIndex(1);
        QVERIFY(drives->isEnabled());
        QVERIFY(folders->isEnabled());
        QCOMPARE(b.listInk(), QColor(0, 0, 0));
        QVERIFY(!hint->isVisible());

        b.control<QComboBox>("Combo1")->setCurrentIndex(0);
        QVERIFY(!folders->isEnabled());
        QCOMPARE(b.listInk(), QColor(200, 200, 200));
    }

    void thePlacesAreTheHomeFolderTheWholeComputerAndAMountedMedium()
    {
        Backup b;
        QCOMPARE(b.window->drivePaths(), (QStringList{b.homePath(), "/"}));
        testing::TempDir stick;
        b.mount(stick);
        const QString mounted = QString::fromStdString(stick.path().string());
        QCOMPARE(b.window->drivePaths(), (QStringList{b.homePath(), "/", mounted}));
        QCOMPARE(
            b.window->mediumText(),
            QStringLiteral("The copies go to the USB stick or memory card at %1.").arg(mounted));
        // Choosing a place shows its folders; with none selected the place itself is chosen.
        auto* drives = b.control<QComboBox>("Drive1");
        drives->setCurrentIndex(2);
        QCOMPARE(b.window->chosenFolder(), mounted);
        drives->setCurrentIndex(1);
        QCOMPARE(b.window->chosenFolder(), QStringLiteral("/"));
    }

    void withoutAMediumDriveAFailsAndTheWindowStays()
    {
        // "Drive A:" chosen by hand while nothing is plugged in.
        Backup b;
        b.control<QComboBox>("Combo1")->setCurrentIndex(0);
        clickButton(b.window, QStringLiteral("Command1"));
        QCOMPARE(b.fakes.prompter.messages.size(), 1);
        QCOMPARE(
            messageShape(b.fakes.prompter.last()),
            infoShape("Error",
                      "Backup failed.\n" + QString::fromStdString(transfer::noMediumMessage("")),
                      "Exclamation"));
        QVERIFY(b.open());
    }

    void driveAIsTheMountedMedium()
    {
        Backup b;
        testing::TempDir stick;
        b.mount(stick);
        clickButton(b.window, QStringLiteral("Command1"));
        QCOMPARE(messageShape(b.fakes.prompter.last()),
                 infoShape("Ok!", "Backup successful.", "Information"));
        QCOMPARE(stick.read("BOOK1.TXT"), kSoup);
        QCOMPARE(stick.read("drinkar.txt"), kDrinks);
        QTRY_VERIFY(!b.open());
    }

    void anotherFolderGetsTheTickedFilesAndTheWindowCloses_data()
    {
        QTest::addColumn<bool>("recipes");
        QTest::addColumn<bool>("drinks");
        QTest::newRow("both") << true << true;
        QTest::newRow("recipes only") << true << false;
        QTest::newRow("drinks only") << false << true;
    }
    void anotherFolderGetsTheTickedFilesAndTheWindowCloses()
    {
        QFETCH(bool, recipes);
        QFETCH(bool, drinks);
        Backup b;
        testing::TempDir target;
        target.write("BOOK1.TXT", "an older backup");
        b.chooseOtherFolder(target);
        QCOMPARE(b.window->chosenFolder(), QString::fromStdString(target.path().string()));
        if (!recipes) b.control<QCheckBox>("Check1")->click();
        if (!drinks) b.control<QCheckBox>("Check2")->click();
        clickButton(b.window, QStringLiteral("Command1"));

        QCOMPARE(b.fakes.prompter.messages.size(), 1);
        QCOMPARE(messageShape(b.fakes.prompter.last()),
                 infoShape("Ok!", "Backup successful.", "Information"));
        QCOMPARE(target.read("BOOK1.TXT"), recipes ? kSoup : std::string("an older backup"));
        QCOMPARE(target.exists("drinkar.txt"), drinks);
        QTRY_VERIFY(!b.open());
    }

    void aFailureAfterTheCookbookKeepsItsCopyAndTheWindow()
    {
        Backup b;
        std::filesystem::remove(b.dir.file("drinkar.txt"));
        testing::TempDir target;
        b.chooseOtherFolder(target);
        clickButton(b.window, QStringLiteral("Command1"));

        QCOMPARE(b.fakes.prompter.messages.size(), 1);
        const auto& failed = b.fakes.prompter.last();
        QCOMPARE(failed.title, QStringLiteral("Error"));
        const QStringList lines = failed.text.split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], QStringLiteral("Backup failed."));
        QVERIFY2(lines[1].contains(QStringLiteral("drinkar.txt")), qPrintable(lines[1]));
        QCOMPARE(target.read("BOOK1.TXT"), kSoup);
        QVERIFY(b.open());
    }

    void cancelCloses()
    {
        Backup b;
        clickButton(b.window, QStringLiteral("Command2"));
        QTRY_VERIFY(!b.open());
        QVERIFY(b.fakes.prompter.messages.isEmpty());
    }
};

QTEST_MAIN(BackupWindowTest)
#include "backup_window_test.moc"
