// "frmRestore": opened from the File menu, it lists what a backup folder holds and what it
// will replace, asks, and puts the files back.

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include <filesystem>

#include "gui/transfer/restore_window.h"
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
using culvora::testing::messageShape;
using culvora::testing::record;

namespace {

const std::string kSoup = record({.name = "Soup"});
const std::string kOldSoup = record({.name = "Old soup"});

struct Restore : testing::GuiFixture {
    Restore()
    {
        writeDefaultFiles();
        dir.write("BOOK1.TXT", kSoup);
        stick.write("BOOK1.TXT", kOldSoup);
        stick.write("week.kyl", crlf({"milk"}));
        std::filesystem::create_symlink("/etc/passwd", stick.file("drinkar.txt"));
        start(true);
        auto* item = main().findChild<QAction*>(QStringLiteral("mnuRestore"));
        if (item) item->trigger();
        window = windows().find<gui::RestoreWindow>(QStringLiteral("frmRestore"));
    }
    QString stickPath() const { return QString::fromStdString(stick.path().string()); }
    QStringList rows()
    {
        QStringList out;
        auto* list = child<QTreeWidget>(window, QStringLiteral("lstFiles"));
        for (int i = 0; list && i < list->topLevelItemCount(); ++i) {
            const auto* item = list->topLevelItem(i);
            out << item->text(0) + " | " + item->text(1) + " | " + item->text(3);
        }
        return out;
    }
    bool open() { return windows().isOpen(QStringLiteral("frmRestore")); }

    testing::TempDir home;
    testing::ScopedEnv homeVariable{"HOME", home.path().string()};
    testing::TempDir stick;
    gui::RestoreWindow* window = nullptr;
};

}  // namespace

class RestoreWindowTest : public QObject {
    Q_OBJECT
private slots:
    void theFileMenuOpensItAndAFolderShowsWhatWillBeReplaced()
    {
        Restore r;
        auto* item = r.main().findChild<QAction*>(QStringLiteral("mnuRestore"));
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("&Restore from backup\u2026"));
        QVERIFY(r.window);
        QCOMPARE(r.window->windowTitle(), QStringLiteral("Restore from backup"));
        auto* restore = child<QPushButton>(r.window, QStringLiteral("cmdRestore"));
        QCOMPARE(restore->text(), QStringLiteral("Restore"));
        QVERIFY(restore->isDefault());

        // The home folder holds no backup.
        r.window->selectFolder(QString::fromStdString(r.home.path().string()));
        QVERIFY(r.rows().isEmpty());
        QVERIFY(!restore->isEnabled());
        QCOMPARE(child<QLabel>(r.window, QStringLiteral("lblNotes"))->text(),
                 QStringLiteral("This folder holds no backup."));

        r.window->selectFolder(r.stickPath());
        QCOMPARE(r.rows(), (QStringList{
                               QStringLiteral("BOOK1.TXT | %1 bytes | will be replaced")
                                   .arg(kOldSoup.size()),
                               QStringLiteral("week.kyl | 6 bytes | new")}));
        QCOMPARE(child<QLabel>(r.window, QStringLiteral("lblNotes"))->text(),
                 QStringLiteral("\"drinkar.txt\" in the backup is not an ordinary file (a link, "
                                "a folder or a device); it was left out."));
        QVERIFY(restore->isEnabled());
    }

    void restoreAsksAndReplacesOnlyOnYes()
    {
        Restore r;
        QVERIFY(r.window);
        r.window->selectFolder(r.stickPath());
        r.fakes.prompter.answers = {gui::Answer::No};
        clickButton(r.window, QStringLiteral("cmdRestore"));
        const QString question =
            QStringLiteral("[Restore from backup] Question YesNo default No: Restore 2 files from "
                           "%1? 1 of your files will be replaced by the backup's copies, and "
                           "that cannot be undone.")
                .arg(r.stickPath());
        QCOMPARE(messageShape(r.fakes.prompter.last()), question);
        QCOMPARE(r.dir.read("BOOK1.TXT"), kSoup);
        QVERIFY(!r.dir.exists("week.kyl"));
        QVERIFY(r.open());

        r.fakes.prompter.answers = {gui::Answer::Yes};
        clickButton(r.window, QStringLiteral("cmdRestore"));
        QCOMPARE(messageShape(r.fakes.prompter.last()),
                 infoShape("Restore from backup", "2 files were restored.", "Information"));
        QCOMPARE(r.dir.read("BOOK1.TXT"), kOldSoup);
        QCOMPARE(r.dir.read("week.kyl"), crlf({"milk"}));
        QVERIFY(!std::filesystem::is_symlink(r.dir.file("drinkar.txt")));
        QTRY_VERIFY(!r.open());
    }
};

QTEST_MAIN(RestoreWindowTest)
#include "restore_window_test.moc"
