// A cookbook that holds two recipes called "Pancakes" (an older import made it so): each is
// opened, printed, edited, moved and deleted through the windows as the one the cook picked,
// and the other stays as it was.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <string>
#include <vector>

#include "core/store/cookbook.h"
#include "gui/app/handover.h"
#include "gui/app/window_names.h"
#include "gui/recipes/printout_window.h"
#include "gui/recipes/recipe_browser.h"
#include "gui/recipes/recipe_editor.h"
#include "gui/recipes/recipe_viewer.h"
#include "gui/store/destination_chooser.h"
#include "support/gui_fixture.h"
#include "support/gui_helpers.h"

using namespace culvora;
using namespace culvora::gui;
using culvora::testing::child;
using culvora::testing::crlf;

namespace {

std::string record(const std::string& name, const std::string& servings,
                   const std::string& ingredient)
{
    return crlf({"[NAMN]", name, "[PORTIONER]", servings, "[TID]", "20", "[IND]", ingredient,
                 "[G\xD6RA]", "Cook.", "[TYP]", "Desserts"});
}

// The first Pancakes serves 1 and takes buttermilk, the second serves 2 and takes oat milk.
std::string book(const std::string& first = "1", const std::string& second = "2")
{
    return record("Apple pie", "8", "apples") + record("Pancakes", first, "buttermilk") +
           record("Bread", "10", "flour") + record("Pancakes", second, "oat milk") +
           record("Waffles", "4", "eggs");
}

struct TwoPancakes {
    testing::GuiFixture f;
    RecipeBrowser* browser = nullptr;
    QString dropOnto;

    TwoPancakes()
    {
        f.writeDefaultFiles();
        f.dir.write("bocker.txt", crlf({"Standard", "BOOK1.TXT", "Desserts", "BOOK2.TXT"}));
        f.dir.write("BOOK1.TXT", book());
        f.dir.write("BOOK2.TXT", "");
        f.start(true);
        // The upload would reach for the network: what matters here is what it is handed.
        testing::addStandIn(f.windows(), forms::kUpload);
        openBrowser();
    }

    void openBrowser()
    {
        browser = qobject_cast<RecipeBrowser*>(f.windows().reopen(forms::kBrowser));
        QVERIFY(browser);
        browser->setDragStarter([this](int) { return dropOnto; });
    }
    // The label of the first (0) or second (1) Pancakes.
    int pancakes(std::size_t occurrence) const
    {
        return browser->findRecordLabel("Pancakes", occurrence);
    }
    QPoint at(int label) const
    {
        auto* labels = child<QWidget>(browser, QStringLiteral("labels"));
        return labels->mapFrom(browser, browser->labelRect({LabelKind::Name, label}).center());
    }
    void click(int label)
    {
        auto* labels = child<QWidget>(browser, QStringLiteral("labels"));
        QTest::mousePress(labels, Qt::LeftButton, {}, at(label));
        QTest::mouseRelease(labels, Qt::LeftButton, {}, at(label));
    }
    void drag(int label, const char* onto)
    {
        dropOnto = QLatin1String(onto);
        QTest::mousePress(child<QWidget>(browser, QStringLiteral("labels")), Qt::LeftButton, {},
                          at(label));
        QVERIFY(QMetaObject::invokeMethod(browser->dragTimer(), "timeout"));
    }

    RecipeViewer* viewer() { return f.windows().find<RecipeViewer>(forms::kViewer); }
    QString shown(const char* label) { return child<QLabel>(viewer(), QLatin1String(label))->text(); }
    RecipeEditor* editor() { return f.windows().find<RecipeEditor>(forms::kEditRecipe); }
    void saveServings(const QString& servings)
    {
        QVERIFY(editor());
        child<QLineEdit>(editor(), QStringLiteral("t2"))->setText(servings);
        testing::clickButton(editor(), QStringLiteral("Command1"));
    }
    std::string cookbook() const { return f.dir.read("BOOK1.TXT"); }
};

}  // namespace

class TwoRecipesOfANameTest : public QObject {
    Q_OBJECT

private slots:
    void eachLabelOpensItsOwnRecipe()
    {
        TwoPancakes t;
        QVERIFY(t.pancakes(0) > 0 && t.pancakes(1) == t.pancakes(0) + 1);
        QCOMPARE(t.pancakes(2), -1);

        t.click(t.pancakes(1));
        QVERIFY(t.viewer());
        QCOMPARE(t.viewer()->windowTitle(), QStringLiteral("Read recipe: Pancakes"));
        QCOMPARE(t.shown("Label2"), QStringLiteral("(Serves 2)"));
        QCOMPARE(t.shown("Text1"), QStringLiteral("oat milk"));
        t.click(t.pancakes(0));
        QCOMPARE(t.shown("Label2"), QStringLiteral("(Serves 1)"));
        QCOMPARE(t.shown("Text1"), QStringLiteral("buttermilk"));

        // Enter on the second name does the same as a click.
        auto* labels = child<QWidget>(t.browser, QStringLiteral("labels"));
        labels->setFocus();
        QTest::keyClick(labels, Qt::Key_End);  // Waffles
        QTest::keyClick(labels, Qt::Key_Up);
        QTest::keyClick(labels, Qt::Key_Return);
        QCOMPARE(t.shown("Text1"), QStringLiteral("oat milk"));

        // Printing it prints its own ingredients.
        t.viewer()->runToolbarAction(QStringLiteral("Print"));
        auto* printout = t.f.windows().find<PrintoutWindow>(forms::kPrintout);
        QVERIFY(printout);
        child<QRadioButton>(printout, QStringLiteral("option1"))->setChecked(true);
        testing::clickButton(printout, QStringLiteral("Command1"));
        QVERIFY(t.f.fakes.printer.output.contains(QStringLiteral("oat milk")));
        QVERIFY(!t.f.fakes.printer.output.contains(QStringLiteral("buttermilk")));
    }

    void backAndForwardStepThroughBoth()
    {
        TwoPancakes t;
        t.click(t.browser->findNameLabel("Bread"));
        auto step = [&t](const char* button) {
            QTest::mouseClick(child<QPushButton>(t.viewer(), QLatin1String(button)),
                              Qt::LeftButton);
            return t.viewer()->windowTitle() + QLatin1Char(' ') + t.shown("Label2");
        };
        // In the browser's order: Apple pie, Bread, the two Pancakes in file order, Waffles.
        QCOMPARE(step("Command7"), QStringLiteral("Read recipe: Pancakes (Serves 1)"));
        QCOMPARE(step("Command7"), QStringLiteral("Read recipe: Pancakes (Serves 2)"));
        QCOMPARE(step("Command7"), QStringLiteral("Read recipe: Waffles (Serves 4)"));
        QCOMPARE(step("Command8"), QStringLiteral("Read recipe: Pancakes (Serves 2)"));
        QCOMPARE(t.viewer()->listIndex(), 3);
        QCOMPARE(step("Command8"), QStringLiteral("Read recipe: Pancakes (Serves 1)"));
        QCOMPARE(step("Command8"), QStringLiteral("Read recipe: Bread (Serves 10)"));
    }

    void eachIsEditedAndTheOtherStays()
    {
        TwoPancakes t;
        // The second, dropped on "Edit".
        t.drag(t.pancakes(1), "Command3");
        QVERIFY(t.editor());
        QCOMPARE(child<QLineEdit>(t.editor(), QStringLiteral("t2"))->text(), QStringLiteral("2"));
        t.saveServings(QStringLiteral("12"));
        QVERIFY(t.f.fakes.prompter.messages.isEmpty());
        QCOMPARE(t.cookbook(), book("1", "12"));

        // The first, from the viewer's "Edit".
        t.click(t.pancakes(0));
        t.viewer()->runToolbarAction(QStringLiteral("Edit"));
        QCOMPARE(child<QLineEdit>(t.editor(), QStringLiteral("t2"))->text(), QStringLiteral("1"));
        t.saveServings(QStringLiteral("11"));
        QCOMPARE(t.cookbook(), book("11", "12"));
    }

    void eachIsDeletedAndTheOtherStays()
    {
        TwoPancakes t;
        const int first = t.pancakes(0);
        const int second = t.pancakes(1);
        // The second from the viewer's "Delete".
        t.click(second);
        t.f.fakes.prompter.answers = {Answer::Yes};
        t.viewer()->runToolbarAction(QStringLiteral("Delete"));
        QCOMPARE(t.f.fakes.prompter.last().title, QStringLiteral("Delete Pancakes"));
        QCOMPARE(t.cookbook(), record("Apple pie", "8", "apples") +
                                   record("Pancakes", "1", "buttermilk") +
                                   record("Bread", "10", "flour") + record("Waffles", "4", "eggs"));
        QVERIFY(!t.browser->layout().name(second).visible);
        QVERIFY(t.browser->layout().name(first).visible);

        // The first, dropped on "Delete": the last Pancakes goes.
        t.f.fakes.prompter.answers = {Answer::Yes};
        t.drag(first, "Command9");
        QCOMPARE(store::listNames(t.cookbook()),
                 (std::vector<std::string>{"Apple pie", "Bread", "Waffles"}));

        // And the other way round: the first by its label keeps the second.
        t.f.dir.write("BOOK1.TXT", book());
        t.openBrowser();
        t.f.fakes.prompter.answers = {Answer::Yes};
        t.drag(t.pancakes(0), "Command9");
        QCOMPARE(t.cookbook(), record("Apple pie", "8", "apples") + record("Bread", "10", "flour") +
                                   record("Pancakes", "2", "oat milk") +
                                   record("Waffles", "4", "eggs"));
        // The label left standing is the one of the remaining recipe.
        t.click(t.pancakes(0));
        QCOMPARE(t.shown("Label2"), QStringLiteral("(Serves 2)"));
    }

    void windowsHoldingTheSecondFollowWhenTheFirstGoes()
    {
        TwoPancakes t;
        // The editor has the second open while the first is deleted: Save reaches the second.
        t.drag(t.pancakes(1), "Command3");
        QVERIFY(t.editor());
        QCOMPARE(t.editor()->occurrence(), std::size_t{1});
        t.f.fakes.prompter.answers = {Answer::Yes};
        t.drag(t.pancakes(0), "Command9");
        QCOMPARE(t.editor()->occurrence(), std::size_t{0});
        t.saveServings(QStringLiteral("7"));
        QCOMPARE(t.f.fakes.prompter.messages.size(), 1);  // the delete question only
        const std::string second7 = record("Apple pie", "8", "apples") +
                                    record("Bread", "10", "flour") +
                                    record("Pancakes", "7", "oat milk") +
                                    record("Waffles", "4", "eggs");
        QCOMPARE(t.cookbook(), second7);

        // The viewer likewise: its Edit opens the recipe it shows.
        t.f.dir.write("BOOK1.TXT", book());
        t.openBrowser();
        t.click(t.pancakes(1));
        t.f.fakes.prompter.answers = {Answer::Yes};
        t.drag(t.pancakes(0), "Command9");
        QCOMPARE(t.viewer()->shownOccurrence(), std::size_t{0});
        t.viewer()->runToolbarAction(QStringLiteral("Edit"));
        QVERIFY(t.editor());
        QCOMPARE(child<QLineEdit>(t.editor(), QStringLiteral("t2"))->text(), QStringLiteral("2"));
        testing::clickButton(t.editor(), QStringLiteral("Command2"));

        // A viewer whose own recipe has gone finds nothing to edit, rather than the next one.
        t.f.dir.write("BOOK1.TXT", book());
        t.openBrowser();
        t.click(t.pancakes(0));
        t.f.fakes.prompter.answers = {Answer::Yes};
        t.drag(t.pancakes(0), "Command9");
        t.f.fakes.prompter.messages.clear();
        t.viewer()->runToolbarAction(QStringLiteral("Edit"));
        QVERIFY(!t.editor());
        QCOMPARE(t.f.fakes.prompter.messages.size(), 1);
        QVERIFY(t.f.fakes.prompter.last().text.contains(QStringLiteral("not in the cookbook")));
    }

    void moveAndUploadTakeTheOneDragged()
    {
        TwoPancakes t;
        t.drag(t.pancakes(1), "Command6");
        QVERIFY(t.f.windows().isOpen(forms::kUpload));
        QCOMPARE(t.f.state.dragRecipe, std::string("Pancakes"));
        QCOMPARE(t.f.state.dragOccurrence, std::size_t{1});

        t.drag(t.pancakes(1), "Command5");
        auto* chooser = t.f.windows().find<DestinationChooser>(QStringLiteral("frmWhere"));
        QVERIFY(chooser);
        auto* books = child<QComboBox>(chooser, QStringLiteral("Combo1"));
        books->setCurrentIndex(books->findText(QStringLiteral("Desserts")));
        chooser->confirm();
        QVERIFY(QMetaObject::invokeMethod(t.browser->moveTimer(), "timeout"));
        QCOMPARE(t.f.dir.read("BOOK2.TXT"), record("Pancakes", "2", "oat milk"));
        QCOMPARE(t.cookbook(), record("Apple pie", "8", "apples") +
                                   record("Pancakes", "1", "buttermilk") +
                                   record("Bread", "10", "flour") + record("Waffles", "4", "eggs"));
    }
};

QTEST_MAIN(TwoRecipesOfANameTest)
#include "two_recipes_of_a_name_test.moc"
