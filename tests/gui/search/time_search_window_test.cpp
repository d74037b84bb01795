// "Search recipe" ("Sök") over a temporary data folder: what the lists and the hits label show
// after the clicks, sök.tmp as the window leaves it, opening a hit in the viewer, and a cookbook
// that changed after the window opened.

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <string>

#include "gui/app/handover.h"
#include "gui/app/main_window.h"
#include "gui/recipes/recipe_routines.h"
#include "gui/recipes/recipe_viewer.h"
#include "gui/search/time_search_window.h"
#include "support/gui_fixture.h"
#include "support/gui_helpers.h"
#include "support/records.h"

using namespace culvora;
using namespace culvora::gui;
using culvora::testing::child;
using culvora::testing::crlf;
using culvora::testing::itemTexts;
using culvora::testing::record;

namespace {

const std::string kPancakes = record({.name = "Pancakes",
                                      .time = "45 min",
                                      .ingredients = {"3 dl Milk", "2 eggs"},
                                      .type = "Desserts"});
const std::string kOmelette = record({.name = "Omelette",
                                      .time = "1 h",
                                      .ingredients = {"3 eggs", "1 dl milk"},
                                      .type = "Hot dish"});
const std::string kStew = record({.name = "Stew",
                                  .time = "about 30",
                                  .ingredients = {"500 g beef", "2 carrots"},
                                  .type = "Hot dish"});
const std::string kLasagne = record({.name = "Lasagne",
                                     .time = "50",
                                     .ingredients = {"1 eggplant", "5 dl milk"},
                                     .type = "Hot dish"});
const std::string kRoast =
    record({.name = "Roast", .time = "60", .ingredients = {"1 kg beef"}, .type = "Hot dish"});
const std::string kBook = kPancakes + kOmelette + kStew + kLasagne + kRoast;

// sök.tmp as the data folder names it.
const char* const kIndexFile = "s\xC3\xB6k.tmp";

struct Search : testing::GuiFixture {
    explicit Search(const std::string& book = kBook, bool shown = false)
    {
        writeDefaultFiles();
        dir.write("BOOK1.TXT", book);
        dir.write("sok.txt", crlf({"milk", "egg", "beef", "Carrots"}));
        start(shown);
        if (shown) QApplication::setActiveWindow(&main());
    }

    // Opens the window as the welcome screen does, by its form name.
    TimeSearchWindow* open()
    {
        window = qobject_cast<TimeSearchWindow*>(windows().open(QStringLiteral("S\u00F6k")));
        if (!window) return nullptr;
        types = child<QComboBox>(window, QStringLiteral("Combo1"));
        times = child<QComboBox>(window, QStringLiteral("Combo2"));
        words = child<QListWidget>(window, QStringLiteral("List2"));
        hits = child<QListWidget>(window, QStringLiteral("List1"));
        count = child<QLabel>(window, QStringLiteral("Label2"));
        return window;
    }

    void choose(const QString& type, const QString& minutes, const QStringList& chosen = {})
    {
        types->setCurrentIndex(types->findText(type));
        times->setCurrentIndex(times->findText(minutes));
        words->clearSelection();
        for (const QString& word : chosen) {
            const auto found = words->findItems(word, Qt::MatchExactly);
            QVERIFY2(!found.isEmpty(), qPrintable(word));
            found.front()->setSelected(true);
        }
    }
    void click(const char* button) { testing::clickButton(window, QLatin1String(button)); }
    QStringList chosenWords() const
    {
        QStringList chosen;
        for (auto* item : words->selectedItems()) chosen << item->text();
        return chosen;
    }
    RecipeViewer* viewer() { return windows().find<RecipeViewer>(QStringLiteral("Visa")); }

    TimeSearchWindow* window = nullptr;
    QComboBox* types = nullptr;
    QComboBox* times = nullptr;
    QListWidget* words = nullptr;
    QListWidget* hits = nullptr;
    QLabel* count = nullptr;
};

}  // namespace

class TimeSearchWindowTest : public QObject {
    Q_OBJECT

private slots:
    void opensWithTheListsAndTheTimeIndex()
    {
        Search s;
        s.dir.write("typer.txt",
                    crlf({"Hot dish", "desserts", "Accessories", "Imported", "First Course"}));
        QVERIFY(s.open());
        QCOMPARE(s.window->windowTitle(), QStringLiteral("Search recipe"));
        QCOMPARE(child<QGroupBox>(s.window, QStringLiteral("Frame3"))->title(),
                 QStringLiteral("Options"));
        QCOMPARE(child<QGroupBox>(s.window, QStringLiteral("Frame2"))->title(),
                 QStringLiteral("Results"));
        QCOMPARE(child<QPushButton>(s.window, QStringLiteral("Command4"))->text(),
                 QStringLiteral("?"));

        // The types in the program's order, the first one chosen; the times with 50 chosen.
        QCOMPARE(itemTexts(s.types),
                 QStringList({"Accessories", "desserts", "First Course", "Hot dish", "Imported"}));
        QCOMPARE(s.types->currentText(), QStringLiteral("Accessories"));
        QStringList minutes;
        for (int m = 0; m <= 300; m += 10) minutes << QString::number(m);
        QCOMPARE(itemTexts(s.times), minutes);
        QCOMPARE(s.times->currentText(), QStringLiteral("50"));

        QCOMPARE(itemTexts(s.words), QStringList({"beef", "Carrots", "egg", "milk"}));
        QVERIFY(s.chosenWords().isEmpty());
        QVERIFY(itemTexts(s.hits).isEmpty());
        QCOMPARE(s.count->text(), QStringLiteral("0 hits"));
        QVERIFY(!child<QLabel>(s.window, QStringLiteral("noTypesLabel"))->isVisibleTo(s.window));

        // sök.tmp: every record's name and time line, in file order.
        QCOMPARE(s.dir.read(kIndexFile), crlf({"Pancakes", "45 min", "Omelette", "1 h", "Stew",
                                               "about 30", "Lasagne", "50", "Roast", "60"}));
        // Not a window that changes the cookbook.
        QVERIFY(s.main().cookbookMenuEnabled());
        // Opened again: the same window.
        QCOMPARE(s.windows().open(QStringLiteral("S\u00F6k")), s.window);
        QVERIFY(s.fakes.prompter.messages.isEmpty());
    }

    void searchFindsTheTypeWithinTheTimeWithEveryChosenWord_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QStringList>("chosen");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("count");

        // "1 h" reads as 1 minute and "about 30" as 0; 50 minutes is within "50".
        QTest::newRow("type and time")
            << "Hot dish"
            << "50" << QStringList() << QStringList({"Lasagne", "Omelette", "Stew"}) << "3 hits";
        QTest::newRow("nothing but 0") << "Hot dish"
                                       << "0" << QStringList() << QStringList({"Stew"}) << "1 hits";
        QTest::newRow("every word, inside longer words")
            << "Hot dish"
            << "300" << QStringList({"egg", "milk"}) << QStringList({"Lasagne", "Omelette"})
            << "2 hits";
        QTest::newRow("a capital in the recipe")
            << "Desserts"
            << "50" << QStringList({"milk"}) << QStringList({"Pancakes"}) << "1 hits";
        QTest::newRow("45 min is more than 40")
            << "Desserts"
            << "40" << QStringList() << QStringList() << "0 hits";
        // The list's word is used as it is spelt there: "Carrots" is not in "2 carrots".
        QTest::newRow("the word as the list spells it")
            << "Hot dish"
            << "300" << QStringList({"Carrots"}) << QStringList() << "0 hits";
    }
    void searchFindsTheTypeWithinTheTimeWithEveryChosenWord()
    {
        QFETCH(QString, type);
        QFETCH(QString, minutes);
        QFETCH(QStringList, chosen);
        QFETCH(QStringList, expected);
        QFETCH(QString, count);

        Search s;
        QVERIFY(s.open());
        s.choose(type, minutes, chosen);
        s.click("Command2");
        QCOMPARE(itemTexts(s.hits), expected);
        QCOMPARE(s.count->text(), count);
        // The choices stay for the next search.
        QCOMPARE(s.chosenWords(), chosen);
        QVERIFY(s.fakes.prompter.messages.isEmpty());
    }

    void theCountRunsWithTheSearchAndEndsAtTheHits()
    {
        Search s;
        QVERIFY(s.open());
        s.window->setProgressInterval(std::chrono::milliseconds(0));
        QStringList shown;
        connect(s.window, &TimeSearchWindow::progressShown, s.window,
                [&] { shown << s.count->text(); });
        s.choose(QStringLiteral("Hot dish"), QStringLiteral("50"));
        s.click("Command2");
        // After each recipe in file order: Pancakes, Omelette, Stew, Lasagne, Roast.
        QCOMPARE(shown, QStringList({"0 hits", "1 hits", "2 hits", "3 hits", "3 hits"}));

        // A new search starts from an empty list.
        shown.clear();
        s.choose(QStringLiteral("Desserts"), QStringLiteral("300"));
        s.click("Command2");
        QCOMPARE(shown, QStringList({"1 hits", "1 hits", "1 hits", "1 hits", "1 hits"}));
        QCOMPARE(itemTexts(s.hits), QStringList({"Pancakes"}));
    }

    void aLargeCookbookPaintsTheCountAFewTimesASecondAndAlwaysTheLast()
    {
        std::string book;
        for (int i = 0; i < 3000; ++i) {
            book += record({.name = "Dish " + std::to_string(i),
                            .time = "20",
                            .ingredients = {"2 dl milk"},
                            .type = i % 3 ? "Hot dish" : "Desserts"});
        }
        Search s(book);
        QVERIFY(s.open());
        QCOMPARE(s.window->timeIndex().size(), std::size_t{3000});
        QStringList shown;
        connect(s.window, &TimeSearchWindow::progressShown, s.window,
                [&] { shown << s.count->text(); });
        s.choose(QStringLiteral("Hot dish"), QStringLiteral("50"), {QStringLiteral("milk")});
        QElapsedTimer clock;
        clock.start();
        s.click("Command2");
        const qint64 elapsed = clock.elapsed();
        QCOMPARE(s.hits->count(), 2000);
        QVERIFY(!shown.isEmpty());
        QCOMPARE(shown.back(), QStringLiteral("2000 hits"));
        QCOMPARE(s.count->text(), QStringLiteral("2000 hits"));
        // About 30 a second, the first and the last: never once for each recipe.
        QVERIFY2(shown.size() <= 3 + elapsed / 30,
                 qPrintable(QStringLiteral("%1 updates in %2 ms").arg(shown.size()).arg(elapsed)));
    }

    void aRecipeGoneSinceOpeningIsPassedOverAndTheRestAreFound()
    {
        Search s;
        QVERIFY(s.open());
        // After opening: the omelette is deleted, the stew becomes a dessert and a quiche comes.
        s.dir.write("BOOK1.TXT", kPancakes +
                                     record({.name = "Stew",
                                             .time = "about 30",
                                             .ingredients = {"500 g beef"},
                                             .type = "Desserts"}) +
                                     kLasagne + kRoast +
                                     record({.name = "Quiche",
                                             .time = "10",
                                             .ingredients = {"3 eggs"},
                                             .type = "Hot dish"}));
        s.choose(QStringLiteral("Hot dish"), QStringLiteral("300"));
        s.click("Command2");
        // The index is the one taken at opening (no quiche); the rest are as they are now, and
        // the search goes on past the omelette that is gone.
        QCOMPARE(itemTexts(s.hits), QStringList({"Lasagne", "Roast"}));
        QCOMPARE(s.count->text(), QStringLiteral("2 hits"));
        QVERIFY(s.fakes.prompter.messages.isEmpty());

        // A cookbook emptied since opening: every recipe is gone, the count says so.
        s.dir.write("BOOK1.TXT", "");
        s.click("Command2");
        QVERIFY(itemTexts(s.hits).isEmpty());
        QCOMPARE(s.count->text(), QStringLiteral("0 hits"));
    }

    void anEmptyCookbookFindsNothingAndKeepsTheCount()
    {
        Search s("");
        QVERIFY(s.open());
        QVERIFY(s.window->timeIndex().empty());
        QCOMPARE(s.dir.read(kIndexFile), std::string());
        s.choose(QStringLiteral("Hot dish"), QStringLiteral("300"), {QStringLiteral("milk")});
        s.click("Command2");
        QVERIFY(itemTexts(s.hits).isEmpty());
        QCOMPARE(s.count->text(), QStringLiteral("0 hits"));
        QVERIFY(s.fakes.prompter.messages.isEmpty());
    }

    void withoutTypesTheResultsSaySoAndNothingIsFound_data()
    {
        QTest::addColumn<bool>("missing");
        QTest::newRow("typer.txt missing") << true;
        QTest::newRow("typer.txt empty") << false;
    }
    void withoutTypesTheResultsSaySoAndNothingIsFound()
    {
        QFETCH(bool, missing);
        // A recipe with an empty type line must not pass for the missing type.
        Search s(kBook +
                 record({.name = "Plain", .time = "5", .ingredients = {"1 egg"}, .type = ""}));
        if (missing) {
            std::filesystem::remove(s.dir.file("typer.txt"));
        } else {
            s.dir.write("typer.txt", "");
        }
        QVERIFY(s.open());
        QCOMPARE(s.types->count(), 0);
        auto* hint = child<QLabel>(s.window, QStringLiteral("noTypesLabel"));
        QVERIFY(hint->isVisibleTo(s.window));
        QCOMPARE(hint->text(),
                 QStringLiteral("No recipe types: add one in the recipe types window"));
        s.times->setCurrentIndex(s.times->findText(QStringLiteral("300")));
        s.click("Command2");
        QVERIFY(itemTexts(s.hits).isEmpty());
        QCOMPARE(s.count->text(), QStringLiteral("0 hits"));
        QVERIFY(s.fakes.prompter.messages.isEmpty());
    }

    void clearLetsGoOfEveryWord()
    {
        Search s;
        QVERIFY(s.open());
        s.choose(QStringLiteral("Hot dish"), QStringLiteral("50"),
                 {QStringLiteral("beef"), QStringLiteral("milk")});
        QCOMPARE(s.chosenWords().size(), 2);
        // The chosen words are named under the list, however far apart they lie in it.
        auto* chosen = child<QLabel>(s.window, QStringLiteral("chosenLabel"));
        QCOMPARE(chosen->text(), QStringLiteral("Chosen: beef, milk"));
        s.click("Command5");
        QVERIFY(s.chosenWords().isEmpty());
        QCOMPARE(chosen->text(), QStringLiteral("No ingredient chosen"));
        // A click chooses a word without a key held, a second click lets it go.
        QCOMPARE(s.words->selectionMode(), QAbstractItemView::MultiSelection);
    }

    void theQuestionMarkShowsTheMinutesInHours()
    {
        Search s;
        QVERIFY(s.open());
        s.click("Command4");
        QCOMPARE(s.fakes.prompter.messages.size(), 1);
        // Ten lines, each ended by a carriage return but the last.
        QCOMPARE(testing::messageShape(s.fakes.prompter.last()),
                 testing::infoShape(QStringLiteral("Info"),
                                    QStringLiteral("60 min = 1h\r30 min = \u00BD h\r"
                                                   "90 min = 1\u00BD h\r120 min = 2 h\r"
                                                   "150 min = 2\u00BD h\r180 min = 3 h\r"
                                                   "210 min = 3\u00BD h\r240 min = 4 h\r"
                                                   "270 min = 4\u00BD h\r300 min = 5 h")));
    }

    void openReadsTheChosenHitAndBeepsWithoutOne()
    {
        Search s(kBook, true);
        QVERIFY(s.open());
        s.choose(QStringLiteral("Hot dish"), QStringLiteral("50"));
        s.click("Command2");

        // Nothing chosen: a beep, and nothing else.
        s.click("Command1");
        QCOMPARE(s.fakes.prompter.beeps, 1);
        QVERIFY(!s.viewer());
        QVERIFY(s.fakes.prompter.messages.isEmpty());

        testing::selectItem(s.hits, QStringLiteral("Omelette"));
        s.click("Command1");
        QVERIFY(s.viewer());
        QCOMPARE(s.viewer()->windowTitle(), QStringLiteral("Read recipe: Omelette"));
        QCOMPARE(s.viewer()->shownName(), std::string("Omelette"));
        QCOMPARE(s.state.selectedRecipe, std::string("Omelette"));
        // The search stays open for the next hit.
        QVERIFY(s.windows().isOpen(QStringLiteral("S\u00F6k")));

        // A double click on a hit, and Enter on the list, do the same.
        QListWidgetItem* stew = s.hits->findItems(QStringLiteral("Stew"), Qt::MatchExactly).front();
        // A double click as the window system delivers it: a click, then the second press.
        const QPoint onStew = s.hits->visualItemRect(stew).center();
        QTest::mouseClick(s.hits->viewport(), Qt::LeftButton, {}, onStew);
        QTest::mouseDClick(s.hits->viewport(), Qt::LeftButton, {}, onStew);
        QCOMPARE(s.viewer()->windowTitle(), QStringLiteral("Read recipe: Stew"));
        testing::selectItem(s.hits, QStringLiteral("Lasagne"));
        s.hits->setFocus();
        QTest::keyClick(s.hits, Qt::Key_Return);
        QCOMPARE(s.viewer()->windowTitle(), QStringLiteral("Read recipe: Lasagne"));
        QCOMPARE(s.state.selectedRecipe, std::string("Lasagne"));
        // Enter reads the hit the keyboard is on, chosen or not yet.
        s.hits->clearSelection();
        s.hits->setCurrentRow(2, QItemSelectionModel::NoUpdate);
        QTest::keyClick(s.hits, Qt::Key_Return);
        QCOMPARE(s.viewer()->windowTitle(), QStringLiteral("Read recipe: Stew"));
        QCOMPARE(s.fakes.prompter.beeps, 1);
    }

    void theViewersSearchKeyOpensItInPlaceOfTheViewer()
    {
        Search s;
        showRecipe(s.app(), "Roast");
        QVERIFY(s.viewer());
        s.viewer()->runToolbarAction(QStringLiteral("Search"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(s.windows().find<TimeSearchWindow>(QStringLiteral("S\u00F6k")));
        QVERIFY(!s.viewer());
    }
};

QTEST_MAIN(TimeSearchWindowTest)
#include "time_search_window_test.moc"
