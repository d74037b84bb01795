// "The Fridge" ("kylen") over a temporary data folder: the marks, what a search lists and what
// its progress panel shows on the way, sökta.txt, fridge files saved and opened, and opening a
// found recipe in the viewer.

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>

#include <filesystem>
#include <string>
#include <vector>

#include "gui/app/main_window.h"
#include "gui/recipes/recipe_viewer.h"
#include "gui/search/fridge_search_window.h"
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

// salt is no Fridge-list word: it is left out of the pancakes' ingredients.
const std::string kPancakes = record(
    {.name = "Pancakes", .ingredients = {"2 egg", "3 dl flour", "5 dl milk", "1 pinch salt"}});
const std::string kOmelette = record({.name = "Omelette", .ingredients = {"3 egg", "1 dl milk"}});
// A line without a quantity has no last word: nothing of it is recognised.
const std::string kBoiledEgg = record({.name = "Boiled egg", .ingredients = {"Egg"}});
const std::string kScones =
    record({.name = "Scones", .ingredients = {"4 dl flour", "50 g butter"}});
const std::string kBook = kPancakes + kOmelette + kBoiledEgg + kScones;
const std::string kWords = crlf({"milk", "flour", "egg", "butter"});

// sökta.txt as the data folder names it.
const char* const kCopyFile = "s\xC3\xB6kta.txt";

struct Fridge : testing::GuiFixture {
    explicit Fridge(const std::string& book = kBook, const std::string* words = &kWords,
                    bool shown = false)
    {
        writeDefaultFiles();
        dir.write("BOOK1.TXT", book);
        if (words) dir.write("sok.txt", *words);
        start(shown);
        if (shown) QApplication::setActiveWindow(&main());
    }

    // Opens the window as the welcome screen does, by its form name.
    FridgeSearchWindow* open()
    {
        window = qobject_cast<FridgeSearchWindow*>(windows().open(QStringLiteral("kylen")));
        if (!window) return nullptr;
        wordList = child<QListWidget>(window, QStringLiteral("List1"));
        found = child<QListWidget>(window, QStringLiteral("List3"));
        return window;
    }

    void mark(const QStringList& words)
    {
        for (const QString& word : words) {
            const auto items = wordList->findItems(word, Qt::MatchExactly);
            QVERIFY2(!items.isEmpty(), qPrintable(word));
            items.front()->setCheckState(Qt::Checked);
        }
    }
    QStringList marks() const
    {
        QStringList marked;
        for (int row = 0; row < wordList->count(); ++row) {
            if (wordList->item(row)->checkState() == Qt::Checked)
                marked << wordList->item(row)->text();
        }
        return marked;
    }
    void click(const char* button) { testing::clickButton(window, QLatin1String(button)); }
    QString text(const char* label) const
    {
        return child<QLabel>(window, QLatin1String(label))->text();
    }
    RecipeViewer* viewer() { return windows().find<RecipeViewer>(QStringLiteral("Visa")); }

    FridgeSearchWindow* window = nullptr;
    QListWidget* wordList = nullptr;
    QListWidget* found = nullptr;
};

// The progress panel as a search showed it, one entry each time it was painted.
struct PanelState {
    QString percent;  // Label2
    int bar = 0;      // prog
    QString found;    // label4
    bool operator==(const PanelState&) const = default;
};

QString describe(const std::vector<PanelState>& states)
{
    QStringList parts;
    for (const auto& s : states)
        parts << QStringLiteral("%1|%2|%3").arg(s.percent).arg(s.bar).arg(s.found);
    return parts.join(QStringLiteral("; "));
}

}  // namespace

class FridgeSearchWindowTest : public QObject {
    Q_OBJECT

private slots:
    void opensWithTheWordsUnmarkedAndTheCookbookMenuOff()
    {
        Fridge f;
        QVERIFY(f.main().cookbookMenuEnabled());
        QVERIFY(f.open());
        QCOMPARE(f.window->windowTitle(), QStringLiteral("The Fridge"));
        QCOMPARE(itemTexts(f.wordList), QStringList({"butter", "egg", "flour", "milk"}));
        QVERIFY(f.marks().isEmpty());
        for (int row = 0; row < f.wordList->count(); ++row) {
            QVERIFY(f.wordList->item(row)->flags() & Qt::ItemIsUserCheckable);
        }
        QVERIFY(itemTexts(f.found).isEmpty());
        QVERIFY(child<QWidget>(f.window, QStringLiteral("Picture1"))->isVisibleTo(f.window));
        QVERIFY(!child<QWidget>(f.window, QStringLiteral("Picture2"))->isVisibleTo(f.window));
        QVERIFY(!child<QLabel>(f.window, QStringLiteral("noWordsLabel"))->isVisibleTo(f.window));
        QVERIFY(!f.dir.exists(kCopyFile));
        // The cookbook must not change under the search.
        QVERIFY(!f.main().cookbookMenuEnabled());

        f.mark({QStringLiteral("egg")});
        f.click("Command3");
        QVERIFY(f.dir.exists(kCopyFile));
        f.click("Command4");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!f.windows().isOpen(QStringLiteral("kylen")));
        QVERIFY(f.main().cookbookMenuEnabled());
        QVERIFY(!f.dir.exists(kCopyFile));
        QVERIFY(f.fakes.prompter.messages.isEmpty());
    }

    void findsTheRecipesWhoseRecognisedIngredientsAreAllMarked_data()
    {
        QTest::addColumn<QStringList>("marked");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("egg, flour, milk")
            << QStringList({"egg", "flour", "milk"}) << QStringList({"Omelette", "Pancakes"});
        QTest::newRow("egg and milk only")
            << QStringList({"egg", "milk"}) << QStringList({"Omelette"});
        QTest::newRow("more marks lose nothing") << QStringList({"butter", "egg", "flour", "milk"})
                                                 << QStringList({"Omelette", "Pancakes", "Scones"});
        QTest::newRow("egg alone") << QStringList({"egg"}) << QStringList();
    }
    void findsTheRecipesWhoseRecognisedIngredientsAreAllMarked()
    {
        QFETCH(QStringList, marked);
        QFETCH(QStringList, expected);

        Fridge f;
        QVERIFY(f.open());
        f.mark(marked);
        f.click("Command3");
        QCOMPARE(itemTexts(f.found), expected);
        QCOMPARE(f.text("resultLabel"),
                 QStringLiteral("I have found %1 recipes...").arg(expected.size()));
        // The marks stay, the window is back, the panel gone.
        QCOMPARE(f.marks(), marked);
        QVERIFY(child<QWidget>(f.window, QStringLiteral("Picture1"))->isVisibleTo(f.window));
        QVERIFY(f.wordList->isVisibleTo(f.window));
        QVERIFY(!child<QWidget>(f.window, QStringLiteral("Picture2"))->isVisibleTo(f.window));
        // sökta.txt: each record's name and its ingredient lines.
        QCOMPARE(
            f.dir.read(kCopyFile),
            crlf({"[NAMN]",       "Pancakes",   "[IND]",      "2 egg", "3 dl flour", "5 dl milk",
                  "1 pinch salt", "[NAMN]",     "Omelette",   "[IND]", "3 egg",      "1 dl milk",
                  "[NAMN]",       "Boiled egg", "[IND]",      "Egg",   "[NAMN]",     "Scones",
                  "[IND]",        "4 dl flour", "50 g butter"}));
        QVERIFY(f.fakes.prompter.messages.isEmpty());
    }

    void withoutMarksTheLastResultStays()
    {
        Fridge f;
        QVERIFY(f.open());
        f.mark({QStringLiteral("egg"), QStringLiteral("milk")});
        f.click("Command3");
        QCOMPARE(itemTexts(f.found), QStringList({"Omelette"}));

        int painted = 0;
        connect(f.window, &FridgeSearchWindow::progressShown, f.window, [&] { ++painted; });
        f.click("Command2");  // "Delete all"
        QVERIFY(f.marks().isEmpty());
        f.dir.write("BOOK1.TXT", "");
        f.click("Command3");
        QCOMPARE(painted, 0);
        QCOMPARE(itemTexts(f.found), QStringList({"Omelette"}));
        QCOMPARE(f.text("resultLabel"), QStringLiteral("I have found 1 recipes..."));
    }

    void theProgressPanelCountsQuartersForFourRecipes()
    {
        // The second and the fourth recipe match.
        Fridge f(record({.name = "Stew", .ingredients = {"1 kg beef"}}) + kOmelette +
                 record({.name = "Toast", .ingredients = {"1 slice bread"}}) +
                 record({.name = "Egg flip", .ingredients = {"1 egg", "2 dl milk"}}));
        QVERIFY(f.open());
        f.window->setProgressInterval(std::chrono::milliseconds(0));
        std::vector<PanelState> states;
        connect(f.window, &FridgeSearchWindow::progressShown, f.window, [&] {
            QVERIFY(child<QWidget>(f.window, QStringLiteral("Picture2"))->isVisibleTo(f.window));
            QVERIFY(!f.wordList->isVisibleTo(f.window));
            QCOMPARE(f.text("Label5"), QStringLiteral("Searching ..."));
            states.push_back({f.text("Label2"),
                              child<QProgressBar>(f.window, QStringLiteral("prog"))->value(),
                              f.text("label4")});
        });
        f.mark({QStringLiteral("egg"), QStringLiteral("milk")});
        f.click("Command3");

        // Nothing looked at yet; then each recipe, the bar a step behind the label; then the
        // end with the whole bar.
        const QString found = QStringLiteral("I have found %1 recipes...");
        const std::vector<PanelState> expected = {
            {QStringLiteral("0 % klart"), 0, found.arg(0)},
            {QStringLiteral("25 % klart"), 0, found.arg(0)},
            {QStringLiteral("50 % klart"), 25, found.arg(1)},
            {QStringLiteral("75 % klart"), 50, found.arg(1)},
            {QStringLiteral("100 % klart"), 75, found.arg(2)},
            {QStringLiteral("100 % klart"), 100, found.arg(2)},
        };
        QVERIFY2(states == expected, qPrintable(describe(states)));
        QCOMPARE(itemTexts(f.found), QStringList({"Egg flip", "Omelette"}));
        QVERIFY(!child<QWidget>(f.window, QStringLiteral("Picture2"))->isVisibleTo(f.window));
    }

    void aLargeCookbookPaintsThePanelAFewTimesASecondAndAlwaysTheEnd()
    {
        std::string book;
        for (int i = 0; i < 3000; ++i) {
            book += record({.name = "Dish " + std::to_string(i),
                            .ingredients = {i % 2 ? "2 dl milk" : "1 kg beef"}});
        }
        Fridge f(book);
        QVERIFY(f.open());
        std::vector<PanelState> states;
        connect(f.window, &FridgeSearchWindow::progressShown, f.window, [&] {
            states.push_back({f.text("Label2"),
                              child<QProgressBar>(f.window, QStringLiteral("prog"))->value(),
                              f.text("label4")});
        });
        f.mark({QStringLiteral("milk")});
        QElapsedTimer clock;
        clock.start();
        f.click("Command3");
        const qint64 elapsed = clock.elapsed();
        QCOMPARE(f.found->count(), 1500);
        QVERIFY(states.size() >= 2);
        QVERIFY2(states.size() <= std::size_t(3 + elapsed / 30),
                 qPrintable(QStringLiteral("%1 updates in %2 ms").arg(states.size()).arg(elapsed)));
        QCOMPARE(states.front().percent, QStringLiteral("0 % klart"));
        QVERIFY2((states.back() == PanelState{QStringLiteral("100 % klart"), 100,
                                              QStringLiteral("I have found 1500 recipes...")}),
                 qPrintable(describe(states)));
    }

    void emptyOrMissingListsGiveAnEmptyResultAndNoNonsense()
    {
        // An empty cookbook: nothing to divide by; nothing found, and the panel ends whole.
        {
            Fridge f("");
            QVERIFY(f.open());
            std::vector<PanelState> states;
            connect(f.window, &FridgeSearchWindow::progressShown, f.window, [&] {
                states.push_back({f.text("Label2"),
                                  child<QProgressBar>(f.window, QStringLiteral("prog"))->value(),
                                  f.text("label4")});
            });
            f.mark({QStringLiteral("milk")});
            f.click("Command3");
            QVERIFY(itemTexts(f.found).isEmpty());
            QCOMPARE(f.text("resultLabel"), QStringLiteral("I have found 0 recipes..."));
            QVERIFY(!states.empty());
            QVERIFY2((states.back() == PanelState{QStringLiteral("100 % klart"), 100,
                                                  QStringLiteral("I have found 0 recipes...")}),
                     qPrintable(describe(states)));
            QCOMPARE(f.dir.read(kCopyFile), std::string());
            QVERIFY(f.fakes.prompter.messages.isEmpty());
        }
        // No sok.txt: nothing to mark, a line that says why, and "Search" does nothing.
        {
            Fridge f(kBook, nullptr);
            QVERIFY(f.open());
            QCOMPARE(f.wordList->count(), 0);
            auto* hint = child<QLabel>(f.window, QStringLiteral("noWordsLabel"));
            QVERIFY(hint->isVisibleTo(f.window));
            QVERIFY(hint->text().startsWith(QStringLiteral("The Fridge list is empty.")));
            f.click("Command3");
            QVERIFY(itemTexts(f.found).isEmpty());
            QVERIFY(!f.dir.exists(kCopyFile));
            QVERIFY(f.fakes.prompter.messages.isEmpty());
        }
    }

    void aListOfMoreThan32767WordsIsSearchedWhole()
    {
        std::string words;
        for (int i = 0; i < 40000; ++i) words += crlf({"word" + std::to_string(100000 + i)});
        words += crlf({"egg", "milk"});
        Fridge f(kOmelette + record({.name = "Far", .ingredients = {"1 word139999", "1 egg"}}),
                 &words);
        QVERIFY(f.open());
        QCOMPARE(f.wordList->count(), 40002);
        QCOMPARE(f.window->words().size(), std::size_t{40002});
        f.mark({QStringLiteral("word139999"), QStringLiteral("egg"), QStringLiteral("milk")});
        f.click("Command3");
        QCOMPARE(itemTexts(f.found), QStringList({"Far", "Omelette"}));
        QCOMPARE(f.text("resultLabel"), QStringLiteral("I have found 2 recipes..."));
        // Every word marked and unmarked again: the count keeps up.
        for (int row = 0; row < f.wordList->count(); ++row) {
            f.wordList->item(row)->setCheckState(Qt::Checked);
        }
        QCOMPARE(f.text("markCountLabel"), QStringLiteral("40002 marked"));
        f.click("Command2");
        QCOMPARE(f.text("markCountLabel"), QStringLiteral("Nothing marked"));
    }

    void aSavedFridgeOpensWithTheSameMarks()
    {
        const std::string words = crlf({"Milk", "flour", "Eggs", "butter"});
        Fridge f(kBook, &words);
        QVERIFY(f.open());
        QCOMPARE(itemTexts(f.wordList), QStringList({"butter", "Eggs", "flour", "Milk"}));
        auto* count = child<QLabel>(f.window, QStringLiteral("markCountLabel"));
        QCOMPARE(count->text(), QStringLiteral("Nothing marked"));
        f.mark({QStringLiteral("Milk"), QStringLiteral("Eggs")});
        QCOMPARE(count->text(), QStringLiteral("2 marked"));

        // Saved in lower case, in the list's order.
        const std::filesystem::path home = f.dir.file("home.kyl");
        f.fakes.prompter.fileNames.push_back(QString::fromStdString(home.string()));
        f.click("Command7");
        QCOMPARE(testing::readBytes(home), crlf({"eggs", "milk"}));

        f.click("Command2");
        QVERIFY(f.marks().isEmpty());
        QCOMPARE(count->text(), QStringLiteral("Nothing marked"));
        f.fakes.prompter.fileNames.push_back(QString::fromStdString(home.string()));
        f.click("Command6");
        QCOMPARE(f.marks(), QStringList({"Eggs", "Milk"}));
        QCOMPARE(count->text(), QStringLiteral("2 marked"));
        QCOMPARE(f.wordList->currentRow(), 0);

        // A fridge written elsewhere: capitals and unknown words are no trouble, and the marks
        // it does not name go.
        const std::filesystem::path other = f.dir.file("other.kyl");
        testing::writeBytes(other, crlf({"BUTTER", "flour", "caviar"}));
        f.fakes.prompter.fileNames.push_back(QString::fromStdString(other.string()));
        f.click("Command6");
        QCOMPARE(f.marks(), QStringList({"butter", "flour"}));

        QCOMPARE(f.fakes.prompter.fileDialogTitles,
                 QStringList({QStringLiteral("Spara kylsk\u00E5p"),
                              QStringLiteral("\u00D6ppna tidigare kylsk\u00E5p"),
                              QStringLiteral("\u00D6ppna tidigare kylsk\u00E5p")}));
        QVERIFY(f.fakes.prompter.messages.isEmpty());
    }

    void anEmptyFridgeOrACancelTakesOnlyTheMarksAway()
    {
        Fridge f;
        QVERIFY(f.open());
        f.mark({QStringLiteral("egg"), QStringLiteral("milk")});
        f.click("Command3");
        QCOMPARE(itemTexts(f.found), QStringList({"Omelette"}));

        // Cancelled dialogs change nothing.
        f.click("Command6");
        f.click("Command7");
        QCOMPARE(f.marks(), QStringList({"egg", "milk"}));
        QVERIFY(!f.dir.exists("home.kyl"));

        const std::filesystem::path empty = f.dir.file("empty.kyl");
        testing::writeBytes(empty, "");
        f.fakes.prompter.fileNames.push_back(QString::fromStdString(empty.string()));
        f.click("Command6");
        QVERIFY(f.marks().isEmpty());
        QCOMPARE(itemTexts(f.found), QStringList({"Omelette"}));
        QVERIFY(f.fakes.prompter.messages.isEmpty());
    }

    void aFridgeThatCannotBeSavedOrOpenedIsReported()
    {
        Fridge f;
        QVERIFY(f.open());
        f.mark({QStringLiteral("egg")});
        const std::filesystem::path nowhere = f.dir.file("no such folder") / "home.kyl";
        f.fakes.prompter.fileNames.push_back(QString::fromStdString(nowhere.string()));
        f.click("Command7");
        QCOMPARE(f.fakes.prompter.messages.size(), 1);
        QCOMPARE(f.fakes.prompter.last().title, QStringLiteral("Error"));
        QCOMPARE(f.fakes.prompter.last().icon, MessageIcon::Exclamation);
        QVERIFY(!std::filesystem::exists(nowhere));

        f.fakes.prompter.fileNames.push_back(QString::fromStdString(nowhere.string()));
        f.click("Command6");
        QCOMPARE(f.fakes.prompter.messages.size(), 2);
        QCOMPARE(f.marks(), QStringList({"egg"}));
    }

    void aFoundRecipeOpensInTheViewer()
    {
        Fridge f(kBook, &kWords, true);
        QVERIFY(f.open());
        f.mark({QStringLiteral("egg"), QStringLiteral("flour"), QStringLiteral("milk")});
        f.click("Command3");

        // Nothing chosen: "&Open" does nothing at all.
        f.click("Command9");
        QVERIFY(!f.viewer());
        QCOMPARE(f.fakes.prompter.beeps, 0);

        testing::selectItem(f.found, QStringLiteral("Pancakes"));
        f.click("Command9");
        QVERIFY(f.viewer());
        QCOMPARE(f.viewer()->windowTitle(), QStringLiteral("Read recipe: Pancakes"));
        QCOMPARE(f.state.selectedRecipe, std::string("Pancakes"));

        QListWidgetItem* omelette =
            f.found->findItems(QStringLiteral("Omelette"), Qt::MatchExactly).front();
        // A double click as the window system delivers it: a click, then the second press.
        const QPoint onOmelette = f.found->visualItemRect(omelette).center();
        QTest::mouseClick(f.found->viewport(), Qt::LeftButton, {}, onOmelette);
        QTest::mouseDClick(f.found->viewport(), Qt::LeftButton, {}, onOmelette);
        QCOMPARE(f.viewer()->windowTitle(), QStringLiteral("Read recipe: Omelette"));

        testing::selectItem(f.found, QStringLiteral("Pancakes"));
        f.found->setFocus();
        QTest::keyClick(f.found, Qt::Key_Return);
        QCOMPARE(f.viewer()->windowTitle(), QStringLiteral("Read recipe: Pancakes"));
        // Enter reads the recipe the keyboard is on, chosen or not yet.
        f.found->clearSelection();
        f.found->setCurrentRow(0, QItemSelectionModel::NoUpdate);
        QTest::keyClick(f.found, Qt::Key_Return);
        QCOMPARE(f.viewer()->windowTitle(), QStringLiteral("Read recipe: Omelette"));
        QVERIFY(f.windows().isOpen(QStringLiteral("kylen")));
    }

    void aClickOnAWordMarksIt()
    {
        Fridge f(kBook, &kWords, true);
        QVERIFY(f.open());
        QListWidgetItem* flour =
            f.wordList->findItems(QStringLiteral("flour"), Qt::MatchExactly).front();
        const QPoint onWord = f.wordList->visualItemRect(flour).center();
        QTest::mouseClick(f.wordList->viewport(), Qt::LeftButton, {}, onWord);
        QCOMPARE(f.marks(), QStringList({"flour"}));
        QVERIFY(flour->font().bold());
        QTest::mouseClick(f.wordList->viewport(), Qt::LeftButton, {}, onWord);
        QVERIFY(f.marks().isEmpty());
        QVERIFY(!flour->font().bold());
        // On the box itself: marked once, not twice.
        QStyleOptionViewItem option;
        option.initFrom(f.wordList);
        option.rect = f.wordList->visualItemRect(flour);
        option.features |=
            QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
        const QRect box = f.wordList->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator,
                                                              &option, f.wordList);
        QTest::mouseClick(f.wordList->viewport(), Qt::LeftButton, {}, box.center());
        QCOMPARE(f.marks(), QStringList({"flour"}));
        QTest::mouseClick(f.wordList->viewport(), Qt::LeftButton, {}, box.center());
        QVERIFY(f.marks().isEmpty());
        // And Space on the word the keyboard is on.
        f.wordList->setFocus();
        f.wordList->setCurrentItem(flour);
        QTest::keyClick(f.wordList, Qt::Key_Space);
        QCOMPARE(f.marks(), QStringList({"flour"}));
    }

    void helpOpensTheFridgePage()
    {
        Fridge f;
        QVERIFY(f.open());
        f.click("Command11");
        QCOMPARE(f.fakes.opener.documents, QStringList({QString::fromStdString(
                                               (f.dir.path() / "help" / "fridge.html").string())}));
        QVERIFY(f.fakes.prompter.messages.isEmpty());
    }
};

QTEST_MAIN(FridgeSearchWindowTest)
#include "fridge_search_window_test.moc"
