// "New ingredients?" (frmAdd) and the new-ingredient check that fills it: the sorted list of
// words to tick, "Done" appending to sok.txt and refreshing the browser, and what happens when
// there is nothing to offer.

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>

#include <filesystem>
#include <string>
#include <vector>

#include "core/store/cookbook.h"
#include "gui/app/handover.h"
#include "gui/recipes/recipe_browser.h"
#include "gui/search/new_ingredients_dialog.h"
#include "support/gui_fixture.h"
#include "support/gui_helpers.h"
#include "support/records.h"

using namespace culvora;
using namespace culvora::gui;
using culvora::testing::child;
using culvora::testing::crlf;
using culvora::testing::itemTexts;
using culvora::testing::record;
using search::CheckVariant;

namespace {

const std::string kBook = record({.name = "Omelette",
                                  .servings = "1",
                                  .time = "10",
                                  .ingredients = {"3 eggs"},
                                  .steps = {"Fry."}});

struct Check {
    testing::GuiFixture f;

    explicit Check(const std::optional<std::string>& sok = crlf({"eggs", "milk"}),
                   bool browserOpen = true)
    {
        f.writeDefaultFiles();
        f.dir.write("BOOK1.TXT", kBook);
        if (sok) f.dir.write("sok.txt", *sok);
        f.start(true);
        QApplication::setActiveWindow(&f.main());
        if (browserOpen) f.windows().open(QStringLiteral("recept"));
    }

    void run(const std::vector<std::string>& lines, CheckVariant variant = CheckVariant::NewRecipe)
    {
        runNewIngredientCheck(f.app(), lines, variant);
    }
    NewIngredientsDialog* dialog()
    {
        return f.windows().find<NewIngredientsDialog>(QStringLiteral("frmAdd"));
    }
    QListWidget* list() { return child<QListWidget>(dialog(), QStringLiteral("List1")); }
    RecipeBrowser* browser() { return f.windows().find<RecipeBrowser>(QStringLiteral("recept")); }
    void tick(const QString& word)
    {
        const auto found = list()->findItems(word, Qt::MatchExactly);
        QVERIFY2(!found.isEmpty(), qPrintable(word));
        found.front()->setCheckState(Qt::Checked);
    }
    void done() { testing::clickButton(dialog(), QStringLiteral("Command1")); }
};

// The window of the area's active frame.
QWidget* activeWindow(Check& c)
{
    QMdiSubWindow* active = c.f.windows().area()->activeSubWindow();
    return active ? active->widget() : nullptr;
}

}  // namespace

class NewIngredientsDialogTest : public QObject {
    Q_OBJECT
private slots:
    void theDialogOffersTheUnknownWordsSortedAndUnticked()
    {
        Check c;
        c.run({"1 Zucchini", "2 dl Milk", "100 g \xC4pple", "1 Wok-pan", "vitl\xF6k", "3 eggs",
               "salt ", "1 tsk Salt", "200 g Bacon", "1 tsk salt"});
        NewIngredientsDialog* dialog = c.dialog();
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("New ingredients?"));
        QStringList labels;
        for (auto* label : dialog->findChildren<QLabel*>()) labels << label->text();
        QVERIFY(labels.contains(QStringLiteral("Please mark every new ingredient (if any)")));
        QVERIFY(labels.contains(
            QStringLiteral("Culvora does not know whether these words are ingredients or not.")));
        QCOMPARE(child<QPushButton>(dialog, QStringLiteral("Command1"))->text(),
                 QStringLiteral("Done"));
        // The program's order (W with V, Ä after Z); a word as often as its lines; a line that
        // ends with a blank names no word.
        QCOMPARE(itemTexts(c.list()),
                 (QStringList{"bacon", "salt", "salt", QStringLiteral("vitl\u00F6k"), "wok-pan",
                              "zucchini", QStringLiteral("\u00E4pple")}));
        for (int i = 0; i < c.list()->count(); ++i) {
            QListWidgetItem* item = c.list()->item(i);
            QVERIFY(item->flags() & Qt::ItemIsUserCheckable);
            QCOMPARE(item->checkState(), Qt::Unchecked);
        }
        QVERIFY(dialog->tickedWords().empty());
        // Not modal: it waits in the area like the other windows, and the browser is untouched.
        QCOMPARE(activeWindow(c), static_cast<QWidget*>(dialog));
        QCOMPARE(c.f.dir.read("sok.txt"), crlf({"eggs", "milk"}));
    }

    void doneAppendsTheTickedWordsInTheListsOrderAndReopensTheBrowser()
    {
        Check c(std::string("eggs\r\nmilk"));  // a last line without its line end
        QPointer<RecipeBrowser> before = c.browser();
        c.run({"1 Zucchini", "200 g Bacon", "2 tsk salt"});
        c.tick(QStringLiteral("zucchini"));
        c.tick(QStringLiteral("bacon"));
        QCOMPARE(c.dialog()->tickedWords(), (std::vector<std::string>{"bacon", "zucchini"}));
        // Someone adds a recipe to the cookbook meanwhile: the reopened browser shows it.
        c.f.dir.write("BOOK1.TXT", kBook + record({.name = "Bacon salad",
                                                   .servings = "2",
                                                   .time = "15",
                                                   .ingredients = {"200 g Bacon"},
                                                   .steps = {"Mix."},
                                                   .type = "First Course"}));
        c.done();
        QCOMPARE(c.f.dir.read("sok.txt"), crlf({"eggs", "milk", "bacon", "zucchini"}));
        QVERIFY(!c.f.dir.exists("sok.tmp"));
        QVERIFY(!c.f.windows().isOpen(QStringLiteral("frmAdd")));
        QVERIFY(c.browser());
        QVERIFY(c.browser() != before.data());
        QVERIFY(c.browser()->findNameLabel("Bacon salad") > 0);
        QCOMPARE(activeWindow(c), static_cast<QWidget*>(c.browser()));
    }

    void doneWithNothingTickedStillRefreshesTheBrowser()
    {
        Check c;
        QPointer<RecipeBrowser> before = c.browser();
        c.run({"1 pinch Nutmeg"});
        c.done();
        QCOMPARE(c.f.dir.read("sok.txt"), crlf({"eggs", "milk"}));
        QVERIFY(c.browser());
        QVERIFY(c.browser() != before.data());
        QVERIFY(!c.f.windows().isOpen(QStringLiteral("frmAdd")));
    }

    // The decision: "Done" shows the browser even when it had been closed meanwhile, since
    // seeing the new recipe in its cookbook is what the user is after.
    void doneOpensTheBrowserWhenItWasClosed()
    {
        Check c(crlf({"eggs"}), false);
        c.run({"1 pinch Nutmeg"});
        QVERIFY(!c.browser());
        c.tick(QStringLiteral("nutmeg"));
        c.done();
        QVERIFY(c.browser());
        QVERIFY(c.browser()->findNameLabel("Omelette") > 0);
        QCOMPARE(c.f.dir.read("sok.txt"), crlf({"eggs", "nutmeg"}));
    }

    // The decision: with no word to offer there is no empty dialog; the browser is refreshed at
    // once, as "Done" would have done.
    void withNothingToOfferNoDialogOpensAndTheBrowserIsRefreshed()
    {
        Check c;
        QPointer<RecipeBrowser> before = c.browser();
        c.run({"3 Eggs", "2 dl milk", "1 tsk salt (optional)", "pepper "});
        QVERIFY(!c.f.windows().isOpen(QStringLiteral("frmAdd")));
        QVERIFY(c.browser());
        QVERIFY(c.browser() != before.data());
        c.run({});
        QVERIFY(!c.f.windows().isOpen(QStringLiteral("frmAdd")));
        QVERIFY(c.f.fakes.prompter.messages.isEmpty());
    }

    void anEmptyFridgeListOffersEveryWord()
    {
        Check c(std::nullopt);  // no sok.txt at all
        c.run({"3 eggs", "2 dl Milk", "1 tsk salt (optional)"});
        QCOMPARE(itemTexts(c.list()), (QStringList{"eggs", "milk"}));
        c.tick(QStringLiteral("milk"));
        c.tick(QStringLiteral("eggs"));
        c.done();
        // The first write creates the file.
        QCOMPARE(c.f.dir.read("sok.txt"), crlf({"eggs", "milk"}));

        Check empty(std::string{});
        empty.run({"1 lemon"});
        QCOMPARE(itemTexts(empty.list()), QStringList{"lemon"});
    }

    void theDownloadOffersWhatTheNewRecipeLeavesOut()
    {
        Check c;
        c.run({"1 tsk salt (optional)", "1 leek"}, CheckVariant::Download);
        QCOMPARE(itemTexts(c.list()), (QStringList{"(optional)", "leek"}));
        Check n;
        n.run({"1 tsk salt (optional)", "1 leek"}, CheckVariant::NewRecipe);
        QCOMPARE(itemTexts(n.list()), QStringList{"leek"});
    }

    void anOpenDialogTakesTheWordsOfTheNextRecipe()
    {
        Check c;
        c.run({"1 leek", "2 carrots"});
        c.tick(QStringLiteral("leek"));
        NewIngredientsDialog* first = c.dialog();
        c.run({"1 beetroot", "1 Leek"});
        QCOMPARE(c.dialog(), first);
        QCOMPARE(itemTexts(c.list()), (QStringList{"beetroot", "carrots", "leek", "leek"}));
        QCOMPARE(first->tickedWords(), std::vector<std::string>{"leek"});
    }

    void aClickOnTheWordTicksItAndSpaceToo()
    {
        Check c;
        c.run({"1 leek", "2 carrots"});
        QListWidget* list = c.list();
        QWidget* view = list->viewport();
        const QRect leek = list->visualItemRect(list->item(1));
        // On the word, well to the right of the box.
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(leek.left() + 60, leek.center().y()));
        QCOMPARE(list->item(1)->checkState(), Qt::Checked);
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(leek.left() + 60, leek.center().y()));
        QCOMPARE(list->item(1)->checkState(), Qt::Unchecked);
        // On the box itself: ticked once, not twice.
        QStyleOptionViewItem option;
        option.initFrom(list);
        option.rect = leek;
        option.features |=
            QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
        const QRect box =
            list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
        QTest::mouseClick(view, Qt::LeftButton, {}, box.center());
        QCOMPARE(list->item(1)->checkState(), Qt::Checked);

        list->setFocus();
        list->setCurrentRow(0);
        QTest::keyClick(list, Qt::Key_Space);
        QCOMPARE(list->item(0)->checkState(), Qt::Checked);
        QCOMPARE(c.dialog()->tickedWords(), (std::vector<std::string>{"carrots", "leek"}));
    }

    void enterIsDoneAndEscapeAddsNothing()
    {
        Check c;
        c.run({"1 leek"});
        c.tick(QStringLiteral("leek"));
        QTest::keyClick(c.list(), Qt::Key_Escape);
        QVERIFY(!c.f.windows().isOpen(QStringLiteral("frmAdd")));
        QCOMPARE(c.f.dir.read("sok.txt"), crlf({"eggs", "milk"}));

        c.run({"1 leek"});
        c.tick(QStringLiteral("leek"));
        QTest::keyClick(c.list(), Qt::Key_Return);
        QVERIFY(!c.f.windows().isOpen(QStringLiteral("frmAdd")));
        QCOMPARE(c.f.dir.read("sok.txt"), crlf({"eggs", "milk", "leek"}));
    }

    void aFailedWriteKeepsTheDialogOpen()
    {
        Check c;
        c.run({"1 leek"});
        c.tick(QStringLiteral("leek"));
        // sok.txt cannot be replaced while a folder stands in its place.
        std::filesystem::remove(c.f.dir.file("sok.txt"));
        std::filesystem::create_directory(c.f.dir.file("sok.txt"));
        c.done();
        QCOMPARE(c.f.fakes.prompter.messages.size(), 1);
        QCOMPARE(c.f.fakes.prompter.last().title, QStringLiteral("Error"));
        QVERIFY(c.f.windows().isOpen(QStringLiteral("frmAdd")));
    }
};

QTEST_MAIN(NewIngredientsDialogTest)
#include "new_ingredients_dialog_test.moc"
