// The drinks list "drinkar" over a temporary data folder: the sorted names and their count,
// the glass filter of the main window, the entry chosen after a reload, and Open, Edit and
// Delete.

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "core/store/bin.h"
#include "drinks_fixture.h"
#include "gui/app/main_window.h"
#include "gui/drinks/drink_edit_screen.h"
#include "gui/drinks/drink_viewer.h"

using namespace culvora;
using namespace culvora::gui;
using culvora::testing::child;
using culvora::testing::drink;
using culvora::testing::DrinksFixture;
using culvora::testing::infoShape;

namespace {

// The Mojito has an ingredient line that reads like the name of the drink after it. The
// glasses use both spellings of the coffee cup and of the unknown glass, and one glass no
// table knows.
const std::string kDrinks =
    drink("Mojito", {"6 mint leaves", "Ice", "4 cl white rum"}, {"Muddle, stir."}, "Highball") +
    drink("Ice", {"Water"}, {"Freeze."}, "Shot") +
    drink("Irish Coffee", {"4 cl whiskey", "coffee"}, {"Float the cream."}, "Coffeecup") +
    drink("Caf\xE9 au rhum", {"coffee", "2 cl rum"}, {"Stir."}, "Coffecup") +
    drink("\xD6lflip", {"1 beer", "1 egg"}, {"Whisk."}, "Beer") +
    drink("whisky sour", {"4 cl whisky", "2 cl lemon"}, {"Shake."}, "Sour") +
    drink("Vodka tonic", {"4 cl vodka", "tonic"}, {"Build."}, "Highball") +
    drink("Mystery", {"?"}, {"?"}, "(Inget)") + drink("Anything", {}, {}, "(Unknown)") +
    drink("Zombie", {"rum"}, {"Shake."}, "Tiki mug");

// Sorted as every list of the program: W counts as V, and \xD6 comes after Z.
const QStringList kSorted = {QStringLiteral("Anything"),    QStringLiteral("Caf\u00E9 au rhum"),
                             QStringLiteral("Ice"),         QStringLiteral("Irish Coffee"),
                             QStringLiteral("Mojito"),      QStringLiteral("Mystery"),
                             QStringLiteral("whisky sour"), QStringLiteral("Vodka tonic"),
                             QStringLiteral("Zombie"),      QStringLiteral("\u00D6lflip")};

}  // namespace

class DrinksListTest : public QObject {
    Q_OBJECT

private slots:
    void theWelcomeScreenOpensTheSortedNamesAndTheirCount()
    {
        DrinksFixture d(kDrinks);
        QWidget* welcome = d.f.windows().find(QStringLiteral("welcome"));
        QTest::mouseClick(child<QWidget>(welcome, QStringLiteral("Image2")), Qt::LeftButton);
        DrinksList* list = d.list();
        QVERIFY(list);
        QCOMPARE(list->windowTitle(), QStringLiteral("Drinks"));
        QCOMPARE(d.shown(), kSorted);
        QCOMPARE(child<QLabel>(list, QStringLiteral("Label1"))->text(),
                 QStringLiteral("Number of drinks:"));
        QCOMPARE(d.count(), QStringLiteral("10"));
        QVERIFY(d.names()->selectedItems().isEmpty());
        QCOMPARE(child<QPushButton>(list, QStringLiteral("Command7"))->text(),
                 QStringLiteral("Filter OFF"));
        QVERIFY(!child<QLabel>(list, QStringLiteral("GVBox1"))->pixmap().isNull());
        const QStringList captions = {"Open", "Add drink", "Edit", "Close", "Delete", "Update"};
        for (int i = 0; i < captions.size(); ++i) {
            QCOMPARE(child<QPushButton>(list, QStringLiteral("Command%1").arg(i + 1))->text(),
                     captions[i]);
        }
        QVERIFY(!list->filterTimer()->isActive());
        QCOMPARE(list->filterTimer()->interval(), 100);
        QVERIFY(list->filterTimer()->isSingleShot());
        // A small window: no maximise, Escape closes it, Enter opens the selected drink.
        QCOMPARE(d.f.windows().kindOf(d.f.windows().subWindowOf(list)), WindowKind::Dialog);
        QVERIFY(d.messages().isEmpty());
    }

    // An entry is chosen after a reload only when the file ends with a lone "[NAMN]" (left
    // by deleting the last drink): then the first name.
    void theFirstEntryIsChosenOnlyAfterALoneNameTag_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("chosen");
        auto bytes = [](const std::string& s) { return QByteArray(s.data(), qsizetype(s.size())); };
        QTest::newRow("records only") << bytes(kDrinks) << QString();
        QTest::newRow("lone tag at the end")
            << bytes(kDrinks + "[NAMN]\r\n") << QStringLiteral("Anything");
        QTest::newRow("nothing but the tag") << QByteArray("[NAMN]\r\n") << QString();
        QTest::newRow("empty file") << QByteArray() << QString();
    }
    void theFirstEntryIsChosenOnlyAfterALoneNameTag()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, chosen);
        DrinksFixture d(file.toStdString());
        d.openList();
        QCOMPARE(testing::selectedText(d.names()), chosen);
        // "Update" chooses the same way, whatever was chosen before.
        if (d.names()->count() > 1) d.names()->setCurrentRow(1);
        d.click("Command6");
        QCOMPARE(testing::selectedText(d.names()), chosen);
    }

    void aMissingDrinksFileIsAnEmptyList()
    {
        DrinksFixture d(std::nullopt);
        d.openList();
        QCOMPARE(d.shown(), QStringList());
        QCOMPARE(d.count(), QStringLiteral("0"));
        QVERIFY(d.messages().isEmpty());
        QVERIFY(!d.f.dir.exists("drinkar.txt"));
    }

    void theFilterListsTheTickedGlassesAfterTheTimer()
    {
        DrinksFixture d(kDrinks);
        d.openList();
        auto* button = child<QPushButton>(d.list(), QStringLiteral("Command7"));

        // One glass: the caption changes at once, the list when Timer1 has run.
        d.glass(1)->trigger();  // Beer
        QCOMPARE(button->text(), QStringLiteral("Filter ON"));
        QCOMPARE(d.shown(), kSorted);
        d.fireFilterTimer();
        QCOMPARE(d.shown(), QStringList{QStringLiteral("\u00D6lflip")});
        QCOMPARE(d.count(), QStringLiteral("1"));

        // Two glasses list the drinks of both.
        d.glass(1)->trigger();  // Beer off again
        d.glass(8)->trigger();  // Highball
        d.chooseGlass(13);      // Sour
        QCOMPARE(d.shown(), (QStringList{"Mojito", "whisky sour", "Vodka tonic"}));
        QCOMPARE(button->toolTip(), QStringLiteral("Showing the drinks served in: Highball, Sour"));
        QCOMPARE(d.count(), QStringLiteral("3"));

        // Unticking the only ticked glass leaves no filter ticked and nothing listed.
        d.chooseGlass(8);
        d.chooseGlass(13);
        QVERIFY(!d.noFilter()->isChecked());
        QCOMPARE(button->text(), QStringLiteral("Filter ON"));
        QCOMPARE(d.shown(), QStringList());
        QCOMPARE(d.count(), QStringLiteral("0"));

        // "&No filter" lists everything again.
        d.noFilter()->trigger();
        QCOMPARE(button->text(), QStringLiteral("Filter OFF"));
        d.fireFilterTimer();
        QCOMPARE(d.shown(), kSorted);
    }

    // The program has written "Coffeecup" and "(Inget)" as well as the names of the filter
    // menu: each is the same glass, and a glass no table knows passes no filter.
    void bothSpellingsOfAGlassPassItsFilter_data()
    {
        QTest::addColumn<int>("glass");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("(Unknown)") << 0 << QStringList{"Anything", "Mystery"};
        QTest::newRow("Coffecup") << 5
                                  << QStringList{QStringLiteral("Caf\u00E9 au rhum"),
                                                 QStringLiteral("Irish Coffee")};
        QTest::newRow("Shot") << 12 << QStringList{"Ice"};
        QTest::newRow("Wine") << 14 << QStringList();
    }
    void bothSpellingsOfAGlassPassItsFilter()
    {
        QFETCH(int, glass);
        QFETCH(QStringList, listed);
        DrinksFixture d(kDrinks);
        d.openList();
        d.chooseGlass(glass);
        QCOMPARE(d.shown(), listed);
    }

    void theFilterButtonPopsTheMenuUpUnderItself()
    {
        DrinksFixture d(kDrinks, true);
        d.openList();
        auto* button = child<QPushButton>(d.list(), QStringLiteral("Command7"));
        QMenu* menu = d.f.main().filterMenu();
        button->click();
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(menu->pos(), button->mapToGlobal(QPoint(0, button->height())));
        menu->hide();
    }

    void closingTakesTheFilterOff_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Close") << "Close";
        QTest::newRow("the frame's close button") << "frame";
        QTest::newRow("Escape") << "Escape";
    }
    void closingTakesTheFilterOff()
    {
        QFETCH(QString, how);
        DrinksFixture d(kDrinks);
        d.openList();
        d.chooseGlass(1);
        d.chooseGlass(14);
        if (how == QLatin1String("frame")) {
            d.f.windows().subWindowOf(d.list())->close();
        } else if (how == QLatin1String("Escape")) {
            QTest::keyClick(d.names(), Qt::Key_Escape);
        } else {
            d.click("Command4");
        }
        DrinksFixture::settle();
        QVERIFY(!d.f.windows().isOpen(forms::kDrinks));
        QVERIFY(d.f.main().glassFilter().noFilter());
        QVERIFY(d.noFilter()->isChecked());
        QVERIFY(!d.glass(1)->isChecked() && !d.glass(14)->isChecked());
        QCOMPARE(d.f.main().filterCaption(), QStringLiteral("Filter OFF"));

        d.openList();
        QCOMPARE(child<QPushButton>(d.list(), QStringLiteral("Command7"))->text(),
                 QStringLiteral("Filter OFF"));
        QCOMPARE(d.shown(), kSorted);
    }

    void openEditAndDeleteWantADrinkChosen()
    {
        DrinksFixture d(kDrinks);
        d.openList();
        const int frames = d.f.windows().area()->subWindowList().size();
        d.click("Command1");  // Open
        d.click("Command3");  // Edit
        QCOMPARE(d.f.fakes.prompter.beeps, 2);
        QVERIFY(d.messages().isEmpty());
        d.click("Command5");  // Delete
        QCOMPARE(d.f.fakes.prompter.beeps, 3);
        QCOMPARE(d.messages(), QStringList{infoShape("Error", "Please select a drink to delete")});
        QCOMPARE(d.f.windows().area()->subWindowList().size(), frames);
        QCOMPARE(d.file(), kDrinks);
    }

    void deleteAsksFirstAndRemovesTheDrinkByItsNameLine()
    {
        DrinksFixture d(kDrinks);
        d.openList();
        d.select(QStringLiteral("Ice"));
        d.f.fakes.prompter.answers = {Answer::No};
        d.click("Command5");
        QCOMPARE(d.messages(),
                 QStringList{QStringLiteral("[Ta bort Ice] Question YesNo default No: This will "
                                            "delete the drink \u00B4Ice\u00B4. Are you sure?")});
        QCOMPARE(d.file(), kDrinks);

        // The Mojito's ingredient line "Ice" is not the drink.
        d.f.fakes.prompter.answers = {Answer::Yes};
        d.click("Command5");
        std::string expected = kDrinks;
        const std::string ice = drink("Ice", {"Water"}, {"Freeze."}, "Shot");
        expected.erase(expected.find(ice) + 8, ice.size());  // its "[NAMN]" heads the next
        QCOMPARE(d.file(), expected);
        QVERIFY(!d.shown().contains(QStringLiteral("Ice")));
        QCOMPARE(d.count(), QStringLiteral("9"));
        QCOMPARE(d.f.fakes.prompter.messages.size(), 2);
        // It is kept in the bin, stamped with the clock's time.
        auto bin = store::readBin(ProgramFolder(d.f.dir.path()));
        QVERIFY(bin && bin->size() == 1);
        QCOMPARE(bin->front().name, std::string("Ice"));
        QCOMPARE(bin->front().deletedAt, std::string("2026-12-09 18:30"));
        QCOMPARE(bin->front().lines, ice.substr(8));
    }

    void aDrinkGoneFromTheFileIsReportedAndNothingIsWritten()
    {
        DrinksFixture d(kDrinks);
        d.openList();
        d.select(QStringLiteral("Zombie"));
        const std::string without = kDrinks.substr(0, kDrinks.find("[NAMN]\r\nZombie"));
        d.f.dir.write("drinkar.txt", without);  // deleted elsewhere meanwhile
        d.f.fakes.prompter.answers = {Answer::Yes};
        d.click("Command5");
        QCOMPARE(d.messages().last(),
                 infoShape("Error",
                           "The drink \"Zombie\" is not in the drinks file any more; nothing "
                           "was changed.",
                           "Exclamation"));
        QCOMPARE(d.file(), without);
        QVERIFY(!d.shown().contains(QStringLiteral("Zombie")));  // the list is read again

        // Open and Edit say the same and open nothing.
        d.f.dir.write("drinkar.txt", kDrinks);
        d.click("Command6");
        d.select(QStringLiteral("Zombie"));
        d.f.dir.write("drinkar.txt", without);
        d.click("Command1");
        d.click("Command3");
        QCOMPARE(d.f.fakes.prompter.messages.size(), 4);
        QVERIFY(!d.f.windows().isOpen(forms::kDrinkViewer));
        QVERIFY(!d.f.windows().isOpen(forms::kEditDrink));
    }

    void openShowsTheChosenDrinkEvenWhenTheViewerIsOpen()
    {
        DrinksFixture d(kDrinks);
        d.openList();
        d.select(QStringLiteral("Mojito"));
        d.click("Command1");
        auto* viewer = d.f.windows().find<DrinkViewer>(forms::kDrinkViewer);
        QVERIFY(viewer);
        QCOMPARE(viewer->drinkName(), std::string("Mojito"));

        // A double click opens the drink clicked, in place of the one on show.
        QListWidgetItem* item =
            d.names()->findItems(QStringLiteral("Vodka tonic"), Qt::MatchExactly)[0];
        emit d.names()->itemDoubleClicked(item);
        DrinksFixture::settle();
        viewer = d.f.windows().find<DrinkViewer>(forms::kDrinkViewer);
        QCOMPARE(viewer->drinkName(), std::string("Vodka tonic"));
        QCOMPARE(d.f.windows().area()->subWindowList().size(), 3);  // welcome, list, viewer

        // The same drink again: the viewer stays as it is...
        QPointer<DrinkViewer> same = viewer;
        d.click("Command1");
        DrinksFixture::settle();
        QCOMPARE(d.f.windows().find<DrinkViewer>(forms::kDrinkViewer), same.data());
        // ...unless the drink was changed since: then it shows the drink as it is now.
        std::string changed = kDrinks;
        changed.replace(changed.find("Build."), 6, "Stir.");
        d.f.dir.write("drinkar.txt", changed);
        d.click("Command1");
        DrinksFixture::settle();
        QVERIFY(same.isNull());
        viewer = d.f.windows().find<DrinkViewer>(forms::kDrinkViewer);
        QCOMPARE(viewer->drink().instructions, std::string("Stir.\r\n"));

        // Enter in the list opens the chosen drink too.
        d.select(QStringLiteral("Zombie"));
        QTest::keyClick(d.names(), Qt::Key_Return);
        DrinksFixture::settle();
        viewer = d.f.windows().find<DrinkViewer>(forms::kDrinkViewer);
        QCOMPARE(viewer->drinkName(), std::string("Zombie"));
    }

    void editGoesToAnotherDrinkUnlessTheOpenOneHoldsChanges()
    {
        DrinksFixture d(kDrinks);
        d.openList();
        d.select(QStringLiteral("Mojito"));
        d.click("Command3");
        auto* editor = d.f.windows().find<DrinkEditScreen>(forms::kEditDrink);
        QCOMPARE(editor->drinkName(), std::string("Mojito"));

        d.select(QStringLiteral("Ice"));
        d.click("Command3");
        DrinksFixture::settle();
        editor = d.f.windows().find<DrinkEditScreen>(forms::kEditDrink);
        QCOMPARE(editor->drinkName(), std::string("Ice"));

        // Typing in it keeps it: the changes are saved or cancelled first.
        child<QPlainTextEdit>(editor, QStringLiteral("Text1"))
            ->setPlainText(QStringLiteral("Snow"));
        d.select(QStringLiteral("Mojito"));
        d.click("Command3");
        DrinksFixture::settle();
        QPointer<DrinkEditScreen> same = d.f.windows().find<DrinkEditScreen>(forms::kEditDrink);
        QCOMPARE(same.data(), editor);
        QCOMPARE(d.f.windows().area()->activeSubWindow(), d.f.windows().subWindowOf(editor));
    }
};

QTEST_MAIN(DrinksListTest)
#include "drinks_list_test.moc"
