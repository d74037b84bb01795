#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <filesystem>

#include "gui/app/geometry.h"
#include "gui/app/window_names.h"
#include "support/gui_fixture.h"
#include "support/gui_helpers.h"
#include "support/temp_dir.h"

using namespace culvora;
using namespace culvora::gui;
using culvora::testing::addStandIn;
using culvora::testing::crlf;
using culvora::testing::GuiFixture;
using culvora::testing::infoShape;
using culvora::testing::messageShape;
using culvora::testing::TempDir;

class MainWindowTest : public QObject {
    Q_OBJECT

    static QAction* action(MainWindow& main, const char* name)
    {
        return main.findChild<QAction*>(QString::fromLatin1(name));
    }

private slots:
    void theMenuBarHidesThePopUpMenusAndTheFilterOffersEveryGlass()
    {
        GuiFixture f;
        f.writeDefaultFiles();
        MainWindow& main = f.start();
        QCOMPARE(main.windowTitle(), QStringLiteral("Culvora 1.0"));
        QCOMPARE(main.objectName(), QStringLiteral("Huvud"));
        // Options and Filter are only shown as pop-ups by the browser and the drinks list;
        // everything else on the bar is there to be used.
        for (QAction* top : main.menuBar()->actions()) {
            const bool popUp =
                top->menu() == main.optionsMenu() || top->menu() == main.filterMenu();
            QCOMPARE(top->isVisible(), !popUp);
        }
        QCOMPARE(main.optionsMenu()->objectName(), QStringLiteral("mnuOptions"));
        QCOMPARE(main.filterMenu()->objectName(), QStringLiteral("mnuFilter"));

        // One item for each glass the drinks file knows, in that order, and "&No filter"
        // checked to begin with.
        for (int i = 0; i < drinks::GlassFilter::kGlassCount; ++i) {
            QAction* glass = main.findChild<QAction*>(QStringLiteral("glas(%1)").arg(i));
            QVERIFY(glass);
            const auto name = drinks::GlassFilter::kGlassNames[static_cast<std::size_t>(i)];
            QCOMPARE(glass->text(),
                     QLatin1String(name.data(), static_cast<qsizetype>(name.size())));
            QVERIFY(glass->isCheckable() && !glass->isChecked());
        }
        QVERIFY(action(main, "mnuNoFilter")->isChecked());
    }

    void shortcutsReachTheirItems()
    {
        GuiFixture f;
        f.writeDefaultFiles();
        MainWindow& main = f.start(true);
        QApplication::setActiveWindow(&main);
        QVERIFY(QTest::qWaitForWindowActive(&main));
        int imports = 0;
        main.setMenuAction(menus::kImportCookbook, [&imports] { ++imports; });
        f.fakes.prompter.answers = {Answer::No};

        QTest::keyClick(&main, Qt::Key_W, Qt::ControlModifier);  // the warning before the editor
        QCOMPARE(f.fakes.prompter.messages.size(), 1);
        QCOMPARE(f.fakes.prompter.last().title, QStringLiteral("Open"));
        QTest::keyClick(&main, Qt::Key_F1);  // the help's contents
        QCOMPARE(f.fakes.opener.documents, QStringList{QString::fromStdString(
                                               (f.dir.path() / "help" / "index.html").string())});
        QTest::keyClick(&main, Qt::Key_O, Qt::ControlModifier);  // About
        QVERIFY(f.windows().isOpen(QStringLiteral("om")));
        QTest::keyClick(&main, Qt::Key_I, Qt::ControlModifier);  // the cookbook import
        QCOMPARE(imports, 1);
        QTest::keyClick(&main, Qt::Key_X, Qt::ControlModifier);  // exit
        QVERIFY(!main.isVisible());
        QCOMPARE(QString::fromStdString(f.dir.read("tavendi.ini")),
                 QStringLiteral("BOOK1.TXT\r\n0\r\n"));
    }

    void tipsAtStartupCannotBeTickedAndItsMarkIsWhatExitSaves()
    {
        GuiFixture f;
        f.writeDefaultFiles();
        MainWindow& main = f.start();
        QAction* tips = action(main, "mnutips");
        QVERIFY(tips->isCheckable());
        QVERIFY(!tips->isEnabled());
        QVERIFY(!action(main, "mnuvisanu")->isEnabled());
        tips->trigger();  // disabled: the click does nothing
        QVERIFY(!tips->isChecked());
        QVERIFY(!main.tipsAtStartup());

        // The mark, whoever sets it, is line 2 of tavendi.ini at exit.
        tips->setChecked(true);
        QVERIFY(main.tipsAtStartup());
        action(main, "mnu7")->trigger();
        QCOMPARE(QString::fromStdString(f.dir.read("tavendi.ini")),
                 QStringLiteral("BOOK1.TXT\r\n1\r\n"));
    }

    void glassFilterChecksSeveralGlassesAndNoFilterClearsThem()
    {
        GuiFixture f;
        f.writeDefaultFiles();
        MainWindow& main = f.start();
        int changes = 0;
        connect(&main, &MainWindow::glassFilterChanged, this, [&changes] { ++changes; });
        auto glass = [&main](int i) {
            return main.findChild<QAction*>(QStringLiteral("glas(%1)").arg(i));
        };

        glass(1)->trigger();   // Beer
        glass(14)->trigger();  // Wine
        QVERIFY(glass(1)->isChecked());
        QVERIFY(glass(14)->isChecked());
        QVERIFY(!action(main, "mnuNoFilter")->isChecked());
        QCOMPARE(main.filterCaption(), QStringLiteral("Filter ON"));
        QVERIFY(main.glassFilter().isChecked(1) && main.glassFilter().isChecked(14));

        glass(1)->trigger();  // a second click takes Beer away again
        QVERIFY(!glass(1)->isChecked());
        QVERIFY(!action(main, "mnuNoFilter")->isChecked());

        action(main, "mnuNoFilter")->trigger();
        QVERIFY(!glass(14)->isChecked());
        QVERIFY(action(main, "mnuNoFilter")->isChecked());
        QCOMPARE(main.filterCaption(), QStringLiteral("Filter OFF"));
        QCOMPARE(changes, 4);
    }

    void openDatabaseWarnsFirst()
    {
        GuiFixture f;
        f.writeDefaultFiles();
        MainWindow& main = f.start();
        f.fakes.prompter.answers = {Answer::No, Answer::Yes};
        action(main, "mnu2")->trigger();
        QCOMPARE(f.fakes.prompter.messages.size(), 1);
        const Message& warning = f.fakes.prompter.last();
        QCOMPARE(warning.text,
                 QStringLiteral("WARNING! This requires good knowledge about programming. "
                                "Editing the datbase may cause severe damage to the cookbook."));
        QCOMPARE(warning.title, QStringLiteral("Open"));
        QCOMPARE(warning.icon, MessageIcon::Stop);
        QCOMPARE(warning.buttons, MessageButtons::YesNo);
        QCOMPARE(warning.defaultButton, Answer::No);
        QVERIFY(f.fakes.opener.edited.isEmpty());

        action(main, "mnu2")->trigger();
        const QString path = QString::fromStdString(f.dir.file("BOOK1.TXT").string());
        QCOMPARE(f.fakes.opener.edited, QStringList{path});
        // The editor started: nothing more to say.
        QCOMPARE(f.fakes.prompter.messages.size(), 2);
        QCOMPARE(f.fakes.prompter.last().text, f.fakes.prompter.messages.front().text);
    }

    void openDatabaseSaysSoWhenNoEditorCanBeStarted()
    {
        GuiFixture f;
        f.writeDefaultFiles();
        MainWindow& main = f.start();
        f.fakes.opener.opens = false;
        f.fakes.prompter.answers = {Answer::Yes};
        action(main, "mnu2")->trigger();
        const QString path = QString::fromStdString(f.dir.file("BOOK1.TXT").string());
        QCOMPARE(f.fakes.opener.edited, QStringList{path});
        QCOMPARE(f.fakes.prompter.messages.size(), 2);
        QCOMPARE(messageShape(f.fakes.prompter.last()),
                 infoShape("Open",
                           QStringLiteral("No text editor could be started for \"%1\". Install a "
                                          "text editor (for example gedit or mousepad), or set the "
                                          "VISUAL variable to the editor you use, and try again.")
                               .arg(path),
                           "Exclamation"));
        QVERIFY(f.fakes.prompter.last().text.startsWith(
            QStringLiteral("No text editor could be started")));
    }

    void infoTellsDateTimeAndSize()
    {
        GuiFixture f;
        f.writeDefaultFiles();
        f.dir.write("tavendi.ini", crlf({"book1.txt", "0"}));
        f.dir.write("book1.txt", std::string(1234, 'x'));
        const QDateTime when(QDate(2026, 3, 7), QTime(8, 5, 9));
        QFile file(QString::fromStdString(f.dir.file("book1.txt").string()));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(when, QFileDevice::FileModificationTime));
        file.close();
        MainWindow& main = f.start();
        action(main, "mnu2b")->trigger();
        const Message& info = f.fakes.prompter.last();
        QCOMPARE(info.title, QStringLiteral("Info"));
        QCOMPARE(info.icon, MessageIcon::Exclamation);
        QCOMPARE(info.text, QStringLiteral("BOOK1.TXT was saved ") +
                                QLocale::system().toString(when.date(), QLocale::LongFormat) +
                                QStringLiteral(", at 08:05:09.  Its size is 1234 bytes."));
    }

    void helpAndWebSiteGoToTheOpener()
    {
        GuiFixture f;
        f.writeDefaultFiles();
        MainWindow& main = f.start();
        action(main, "mnuhelpindex")->trigger();
        action(main, "mnuOptionsHelp")->trigger();
        action(main, "mnuTavendiHEM")->trigger();
        QCOMPARE(
            f.fakes.opener.documents,
            (QStringList{QString::fromStdString((f.dir.path() / "help" / "index.html").string()),
                         QString::fromStdString((f.dir.path() / "help" / "recipes.html").string()),
                         QString::fromLatin1(kWebSite)}));
        auto* site = main.findChild<QLabel*>(QStringLiteral("Label1"));
        QVERIFY(site);
        QCOMPARE(site->toolTip(), QStringLiteral("Click here to visit Culvora's homepage!"));
        QCOMPARE(site->cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseClick(site, Qt::LeftButton);
        QCOMPARE(f.fakes.opener.documents.last(), QString::fromLatin1(kWebSite));
    }

    void helpPagesAreReadWhereTheProgramIsInstalledUnlessTheUserHasACopy()
    {
        GuiFixture f;
        TempDir installed;
        f.state.deliveredFolder = installed.path();
        f.writeDefaultFiles();
        std::filesystem::create_directories(f.dir.file("help"));
        f.dir.write("help/recipes.html", "<p>my own notes</p>");
        MainWindow& main = f.start();
        action(main, "mnuhelpindex")->trigger();
        action(main, "mnuOptionsHelp")->trigger();
        QCOMPARE(f.fakes.opener.documents,
                 (QStringList{
                     QString::fromStdString((installed.path() / "help" / "index.html").string()),
                     QString::fromStdString(f.dir.file("help/recipes.html").string())}));
    }

    void exitRewritesTheSettingsWithTheFirstLineAsRead()
    {
        GuiFixture f;
        f.writeDefaultFiles();
        f.dir.write("tavendi.ini", crlf({"BOOK7.TXT", "1"}));
        f.dir.write("BOOK7.TXT", "");
        MainWindow& main = f.start();
        QCOMPARE(QString::fromStdString(f.state.currentCookbookFile), QStringLiteral("BOOK7.TXT"));
        action(main, "mnu7")->trigger();
        QCOMPARE(QString::fromStdString(f.dir.read("tavendi.ini")),
                 QStringLiteral("BOOK7.TXT\r\n0\r\n"));
    }

    void aMissingSettingsFileStartsWithTheStandardCookbook()
    {
        GuiFixture f;
        f.writeDefaultFiles();
        f.dir.write("bocker.txt", crlf({"Mine", "BOOK2.TXT", "Standard", "BOOK1.TXT"}));
        std::filesystem::remove(f.dir.file("tavendi.ini"));
        MainWindow& main = f.start();
        QCOMPARE(QString::fromStdString(f.state.currentCookbookFile), QStringLiteral("BOOK1.TXT"));
        main.close();
        QCOMPARE(QString::fromStdString(f.dir.read("tavendi.ini")),
                 QStringLiteral("BOOK1.TXT\r\n0\r\n"));
    }

    void aMissingCookbookIsReportedAndTheCookbooksDialogOffered()
    {
        GuiFixture f;
        f.writeDefaultFiles();
        f.dir.write("tavendi.ini", crlf({"GONE.TXT", "0"}));
        MainWindow& main = f.start();
        addStandIn(f.windows(), QStringLiteral("Valj"));
        main.checkCurrentCookbook();
        QCOMPARE(f.fakes.prompter.messages.size(), 1);
        QVERIFY(f.fakes.prompter.last().text.startsWith(
            QStringLiteral("The cookbook file \"GONE.TXT\" could not be found")));
        QCOMPARE(f.fakes.prompter.last().title, QStringLiteral("Error"));
        QVERIFY(f.windows().isOpen(QStringLiteral("Valj")));

        // With the cookbook in place nothing is said.
        f.fakes.prompter.messages.clear();
        f.state.currentCookbookFile = "BOOK1.TXT";
        main.checkCurrentCookbook();
        QVERIFY(f.fakes.prompter.messages.isEmpty());
    }

    void theCookbookMenuIsDisabledWhileARecipeWindowIsOpen()
    {
        GuiFixture f;
        f.writeDefaultFiles();
        MainWindow& main = f.start();
        addStandIn(f.windows(), QStringLiteral("recept"));
        addStandIn(f.windows(), QStringLiteral("om"));
        QVERIFY(main.cookbookMenuEnabled());
        f.windows().open(QStringLiteral("om"));
        QVERIFY(main.cookbookMenuEnabled());
        QWidget* browser = f.windows().open(QStringLiteral("recept"));
        QVERIFY(!main.cookbookMenuEnabled());
        // Opening it again shows the same window.
        QCOMPARE(f.windows().open(QStringLiteral("recept")), browser);
        f.windows().closeWindow(browser);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!f.windows().isOpen(QStringLiteral("recept")));
        QVERIFY(main.cookbookMenuEnabled());

        // A window that closes itself the plain way takes its frame along too.
        browser = f.windows().open(QStringLiteral("recept"));
        QVERIFY(!main.cookbookMenuEnabled());
        const int frames = f.windows().area()->subWindowList().size();
        browser->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!f.windows().isOpen(QStringLiteral("recept")));
        QCOMPARE(f.windows().area()->subWindowList().size(), frames - 1);
        QVERIFY(main.cookbookMenuEnabled());
    }

    void resizingKeepsTheBannerFullWidthAndTheAddressCentred()
    {
        GuiFixture f;
        f.writeDefaultFiles();
        f.copyDeliveredData();
        MainWindow& main = f.start(true);
        auto* strip = main.findChild<QToolBar*>(QStringLiteral("Toolbar1"));
        auto* banner = strip->findChild<QLabel*>(QStringLiteral("Image1"));
        auto* site = strip->findChild<QLabel*>(QStringLiteral("Label1"));
        QVERIFY(banner && site);
        // Wide and narrow again: the window can always shrink back.
        for (int width : {1500, 700, 1100, 600}) {
            main.resize(width, 600);
            QCoreApplication::processEvents();
            QCOMPARE(main.width(), width);
            QCOMPARE(banner->width(), main.width());
            // Centred, unless that would put it on the wordmark at the left.
            QCOMPARE(site->x(), std::max((main.width() - site->width()) / 2, 348));
            // No picture under the address: the banner drawn without it shows only its
            // plain colour there.
            site->hide();
            const QImage drawn = banner->grab().toImage();
            site->show();
            const QColor plain = drawn.pixelColor(drawn.width() - 1, drawn.height() - 12);
            const QRect under = site->geometry().adjusted(-6, 0, 6, 0);
            int differing = 0;
            for (int x = under.left(); x <= under.right(); x += 2) {
                for (int y = 4; y < drawn.height() - 8; y += 2) {
                    if (drawn.pixelColor(x * drawn.devicePixelRatio(),
                                         y * drawn.devicePixelRatio()) != plain) {
                        ++differing;
                    }
                }
            }
            QCOMPARE(differing, 0);
        }

        // After maximise and restore it still grows and shrinks again.
        main.showMaximized();
        QCoreApplication::processEvents();
        QVERIFY(main.isMaximized());
        QCOMPARE(banner->width(), main.width());
        main.showNormal();
        QCoreApplication::processEvents();
        for (int width : {1500, 600}) {
            main.resize(width, 600);
            QCoreApplication::processEvents();
            QCOMPARE(main.width(), width);
            QCOMPARE(banner->width(), width);
        }
        QVERIFY(main.minimumSizeHint().width() <= 600);
    }

    void menuItemsOpenTheirWindowsAndAreGreyedOutWithout_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("window");
        QTest::newRow("Backup") << "mnuBackup" << QString(forms::kBackup);
        QTest::newRow("Cookbooks") << "mnuvaljreceptbok" << QString(forms::kCookbooks);
        QTest::newRow("Fridge database") << "mnuadd" << QString(forms::kFridgeList);
        QTest::newRow("HTML archive") << "mnuOptionsGenerateArchive" << QString(forms::kArchive);
        QTest::newRow("Types of recipes") << "mnuOptionsTypes" << QString(forms::kRecipeTypes);
    }
    void menuItemsOpenTheirWindowsAndAreGreyedOutWithout()
    {
        QFETCH(QString, item);
        QFETCH(QString, window);
        for (bool present : {false, true}) {
            GuiFixture f;
            f.writeDefaultFiles();
            f.adjustWindows = [present, window](WindowRegistry& windows) {
                if (present) {
                    addStandIn(windows, window);
                } else {
                    windows.removeFactory(window);
                }
            };
            MainWindow& main = f.start();
            QAction* a = main.findChild<QAction*>(item);
            QVERIFY(a);
            QCOMPARE(a->isEnabled(), present);
            a->trigger();
            QCOMPARE(f.windows().isOpen(window), present);
        }
    }

    void itemsWithRegisteredWorkRunItAndAreGreyedOutWithout()
    {
        GuiFixture f;
        f.writeDefaultFiles();
        f.dir.write("bocker.txt", crlf({"Standard", "BOOK1.TXT", "Imports", "BOOK2.TXT"}));
        f.dir.write("BOOK2.TXT", "");
        MainWindow& main = f.start();
        // The program's own work is there: the Meal-Master import asks for the cookbook first.
        QVERIFY(action(main, "mnuImport")->isEnabled());
        QVERIFY(action(main, "mnu4")->isEnabled());
        action(main, "mnuImport")->trigger();
        QWidget* chooser = f.windows().find(QStringLiteral("frmWhere"));
        QVERIFY(chooser);
        QCOMPARE(chooser->findChild<QAbstractButton*>(QStringLiteral("Command1"))->text(),
                 QStringLiteral("Import"));
        f.windows().closeWindow(chooser);

        for (QLatin1String item : {menus::kImportMealMaster, menus::kImportCookbook}) {
            main.setMenuAction(item, {});
            QAction* entry = main.findChild<QAction*>(item);
            QVERIFY(!entry->isEnabled());
            entry->trigger();  // greyed out: nothing runs, nothing breaks
            int runs = 0;
            main.setMenuAction(item, [&runs] { ++runs; });
            QVERIFY(entry->isEnabled());
            entry->trigger();
            QCOMPARE(runs, 1);
            main.setMenuAction(item, {});
        }
    }

    void theAboutWindowOpensAndCloses()
    {
        GuiFixture f;
        f.writeDefaultFiles();
        MainWindow& main = f.start();
        action(main, "mnuhelpom")->trigger();
        QWidget* about = f.windows().find(QStringLiteral("om"));
        QVERIFY(about);
        QCOMPARE(about->windowTitle(), QStringLiteral("About"));
        QVERIFY(about->findChild<QLabel*>(QStringLiteral("lblWarning")));
        about->findChild<QAbstractButton*>(QStringLiteral("Command1"))->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!f.windows().isOpen(QStringLiteral("om")));
    }

    void placementHelpersWorkInTwips()
    {
        // Centred horizontally, 400 twips above the vertical centre.
        QCOMPARE(CenterForm({0, 0, 6000, 4000}, 15360, 11520), (TwipRect{4680, 3360, 6000, 4000}));
        QCOMPARE(CenterForm({99, 99, 16000, 12000}, 15360, 11520),
                 (TwipRect{-320, -640, 16000, 12000}));
        QCOMPARE(CenterInside({7, 7, 9600, 7200}, 12000, 9000), (TwipRect{1200, 900, 9600, 7200}));
        QCOMPARE(CenterInside({0, 0, 101, 51}, 200, 100), (TwipRect{49, 24, 101, 51}));
        QCOMPARE(twips(1440), 96);
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
