// The printout "SkrivUt" from the viewer's Print key: the recipe or its grocery list, line by
// line in the three styles, into the printer; nothing at all for a recipe that has gone.

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <algorithm>

#include "gui/app/handover.h"
#include "gui/app/window_names.h"
#include "gui/recipes/printout_window.h"
#include "gui/recipes/recipe_routines.h"
#include "gui/recipes/recipe_viewer.h"
#include "support/gui_fixture.h"
#include "support/gui_helpers.h"
#include "support/records.h"
#include "support/printout_readback.h"

using namespace culvora;
using namespace culvora::gui;
using culvora::testing::child;
using culvora::testing::clickButton;
using culvora::testing::crlf;
using culvora::testing::GuiFixture;
using culvora::testing::messageShape;
using culvora::testing::record;

namespace {

// Instruction lines round the 107-character rule: a blank at position 120, no blank at all,
// and a blank only as the 120th and last character.
const std::string kBlankAt120 = std::string(119, 'a') + " " + std::string(30, 'b');
const std::string kNoBlank(150, 'c');
const std::string kBlankLast = std::string(119, 'd') + " ";

// "Soup" is an ingredient line of Stew, which comes first: only the name line may match.
const std::string kBook = record({.name = "Stew",
                                  .servings = "6",
                                  .time = "90",
                                  .ingredients = {"Soup", "1 kg beef"},
                                  .steps = {"Simmer."},
                                  .type = "Hot dish"}) +
                          record({.name = "Soup",
                                  .servings = "4",
                                  .time = "30",
                                  .ingredients = {"1 l water", "2 carrots"},
                                  .steps = {kBlankAt120, kNoBlank, kBlankLast, "", "Serve."},
                                  .type = "First Course"}) +
                          record({.name = "Bare",
                                  .servings = "1",
                                  .time = "5",
                                  .ingredients = {},
                                  .steps = {"Stir."},
                                  .type = "Desserts"});

// The printer calls of one printed line, as the fake printer writes them down.
QString indent()
{
    return QStringLiteral("[font Courier New 8.25 b]   ");
}
QString title(const QString& text)
{
    return indent() + QStringLiteral("[font Times New Roman 24]") + text + QLatin1Char('\n');
}
QString heading(const QString& text)
{
    return indent() + QStringLiteral("[font Times New Roman 12 b]") + text +
           QStringLiteral("\n[font Times New Roman 12]");
}
QString body(const std::string& text)
{
    return indent() + QStringLiteral("[font Times New Roman 10]") + QString::fromStdString(text) +
           QLatin1Char('\n');
}

struct Printout {
    GuiFixture f;

    Printout()
    {
        f.writeDefaultFiles();
        f.dir.write("BOOK1.TXT", kBook);
        f.start();
    }

    RecipeViewer* viewer() { return f.windows().find<RecipeViewer>(forms::kViewer); }
    PrintoutWindow* window() { return f.windows().find<PrintoutWindow>(forms::kPrintout); }

    // The recipe in the viewer, then its "Print" key.
    PrintoutWindow* open(const std::string& name)
    {
        showRecipe(f.app(), name);
        if (!viewer()) return nullptr;
        viewer()->runToolbarAction(QStringLiteral("Print"));
        return window();
    }
    QString printed() const { return f.fakes.printer.output; }
};

}  // namespace

class PrintoutWindowTest : public QObject {
    Q_OBJECT
private slots:
    void thePrintKeyOpensTheChoiceForTheRecipeOnShow()
    {
        Printout p;
        PrintoutWindow* window = p.open("Soup");
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("Print"));
        auto* recipe = child<QRadioButton>(window, QStringLiteral("option2"));
        auto* grocery = child<QRadioButton>(window, QStringLiteral("option1"));
        QCOMPARE(recipe->text(), QStringLiteral("Recipe"));
        QCOMPARE(grocery->text(), QStringLiteral("Grocery list"));
        QVERIFY(recipe->isChecked() && !grocery->isChecked());
        QCOMPARE(window->focusWidget(), recipe);
        auto* ok = child<QPushButton>(window, QStringLiteral("Command1"));
        QCOMPARE(ok->text(), QStringLiteral("Ok"));
        QVERIFY(ok->isDefault());
        QCOMPARE(child<QPushButton>(window, QStringLiteral("Command2"))->text(),
                 QStringLiteral("Cancel"));
        QCOMPARE(child<QLabel>(window, QStringLiteral("recipeName"))->text(),
                 QStringLiteral("Soup"));
        QCOMPARE(p.f.windows().kindOf(p.f.windows().subWindowOf(window)), WindowKind::Dialog);
        // Nothing is printed before "Ok".
        QCOMPARE(p.printed(), QString());
    }

    void okPrintsTheLinesInTheirStylesAndCloses()
    {
        struct Case {
            const char* name;
            bool grocery;
            QString title;
            QString lines;
        };
        const Case cases[] = {
            {"Soup", false, QStringLiteral("Soup"),
             heading({}) + heading({}) + title(QStringLiteral("Soup")) +
                 heading(QStringLiteral("(Serves 4)")) +
                 heading(QStringLiteral("Time to cook: 30 min")) + heading({}) +
                 heading(QStringLiteral("Ingredients:")) + body("1 l water") + body("2 carrots") +
                 heading({}) + heading(QStringLiteral("Instructions:")) +
                 // Broken after the blank at 120; at 107 without a blank; whole when its only
                 // blank from 108 on ends it, and then an empty line.
                 body(kBlankAt120.substr(0, 120)) + body(std::string(30, 'b')) +
                 body(std::string(107, 'c')) + body(std::string(43, 'c')) + body(kBlankLast) +
                 body("") + body("") + body("Serve.")},
            {"Soup", true, QStringLiteral("Soup - grocery list"),
             heading({}) + heading(QStringLiteral("Grocery list")) +
                 heading(QStringLiteral("Soup")) + heading({}) + body("1 l water") +
                 body("2 carrots")},
            {"Bare", false, QStringLiteral("Bare"),
             heading({}) + heading({}) + title(QStringLiteral("Bare")) +
                 heading(QStringLiteral("(Serves 1)")) +
                 heading(QStringLiteral("Time to cook: 5 min")) + heading({}) +
                 heading(QStringLiteral("Ingredients:")) + heading({}) +
                 heading(QStringLiteral("Instructions:")) + body("Stir.")},
            {"Bare", true, QStringLiteral("Bare - grocery list"),
             heading({}) + heading(QStringLiteral("Grocery list")) +
                 heading(QStringLiteral("Bare")) + heading({})},
        };
        for (const Case& c : cases) {
            Printout p;
            PrintoutWindow* window = p.open(c.name);
            QVERIFY2(window, c.name);
            if (c.grocery) child<QRadioButton>(window, QStringLiteral("option1"))->click();
            clickButton(window, QStringLiteral("Command1"));
            QCOMPARE(p.printed(), c.lines + QStringLiteral("[end]"));
            QCOMPARE(p.f.fakes.printer.documents, 1);
            QCOMPARE(p.f.fakes.printer.titles, QStringList{c.title});
            QVERIFY(p.f.fakes.prompter.messages.isEmpty());
            QVERIFY(!p.window());
            QVERIFY(p.viewer());
        }
    }

    void aRecipeGoneSinceItWasShownIsNotPrinted()
    {
        Printout p;
        PrintoutWindow* window = p.open("Soup");
        QVERIFY(window);
        p.f.dir.write("BOOK1.TXT", kBook.substr(0, kBook.find("[NAMN]\r\nSoup")));
        clickButton(window, QStringLiteral("Command1"));
        QCOMPARE(p.f.fakes.prompter.messages.size(), 1);
        QCOMPARE(messageShape(p.f.fakes.prompter.last()),
                 QStringLiteral("[Error] Exclamation Ok default Ok: The recipe \"Soup\" is not "
                                "in the cookbook any more, so it cannot be printed. It may have "
                                "been deleted or moved."));
        QCOMPARE(p.printed(), QString());
        QVERIFY(p.f.fakes.printer.titles.isEmpty());
        QVERIFY(!p.window());
    }

    void cancelPrintsNothing()
    {
        Printout p;
        PrintoutWindow* window = p.open("Soup");
        QVERIFY(window);
        clickButton(window, QStringLiteral("Command2"));
        QVERIFY(!p.window());
        QCOMPARE(p.printed(), QString());
        QVERIFY(p.f.fakes.printer.titles.isEmpty());
    }

    void enterOnAChoicePrintsIt()
    {
        Printout p;
        PrintoutWindow* window = p.open("Bare");
        QVERIFY(window);
        auto* grocery = child<QRadioButton>(window, QStringLiteral("option1"));
        grocery->click();
        QTest::keyClick(grocery, Qt::Key_Return);
        QCOMPARE(p.printed(), heading({}) + heading(QStringLiteral("Grocery list")) +
                                  heading(QStringLiteral("Bare")) + heading({}) +
                                  QStringLiteral("[end]"));
        QVERIFY(!p.window());
    }

    void itPrintsWhatTheViewerShowsAtTheTimeOfOk()
    {
        // The viewer moves on while the choice is open: the recipe now on show is printed,
        // and the window says which one it is when it comes back to the front.
        Printout p;
        PrintoutWindow* window = p.open("Soup");
        QVERIFY(window);
        p.f.main().show();
        p.f.windows().area()->setActiveSubWindow(p.f.windows().subWindowOf(p.viewer()));
        p.viewer()->showNextRecipe();
        const std::string next = p.viewer()->shownName();
        QVERIFY(next != "Soup");
        p.viewer()->runToolbarAction(QStringLiteral("Print"));
        QCOMPARE(p.window(), window);
        QCOMPARE(child<QLabel>(window, QStringLiteral("recipeName"))->text(),
                 QString::fromStdString(next));
        clickButton(window, QStringLiteral("Command1"));
        QCOMPARE(p.f.fakes.printer.titles, QStringList{QString::fromStdString(next)});

        // With the viewer closed meanwhile, the recipe it showed at the start is printed.
        Printout q;
        window = q.open("Stew");
        QVERIFY(window);
        q.f.windows().close(forms::kViewer);
        QVERIFY(!q.viewer());
        child<QRadioButton>(window, QStringLiteral("option1"))->click();
        clickButton(window, QStringLiteral("Command1"));
        QCOMPARE(q.printed(), heading({}) + heading(QStringLiteral("Grocery list")) +
                                  heading(QStringLiteral("Stew")) + heading({}) + body("Soup") +
                                  body("1 kg beef") + QStringLiteral("[end]"));
    }

    void withoutAViewerThereIsNothingToPrint()
    {
        Printout p;
        QVERIFY(!p.f.windows().open(forms::kPrintout));
        QCOMPARE(messageShape(p.f.fakes.prompter.last()),
                 QStringLiteral("[Info] None Ok default Ok: Open the recipe you want to print "
                                "first, then click Print in its window."));
        QCOMPARE(p.printed(), QString());
    }

    void aLongRecipeAndItsGroceryListComeBackWholeFromThePdf()
    {
        const std::string name = "Grandmother's slow-braised shoulder of lamb with rosemary, "
                                 "garlic and anchovies, on a gratin of potato and celeriac, too";
        const std::string ingredient =
            "1 can (400 g) chickpeas, rinsed and drained, with the liquid from the can kept "
            "aside for whipping into a lighter foam later on, plus 2 tablespoons of olive oil";
        QCOMPARE(name.size(), std::size_t(120));
        QCOMPARE(ingredient.size(), std::size_t(159));
        const std::string step =
            "Heat the oven to 150 degrees. Rub the lamb all over with the garlic paste, season "
            "with salt and pepper and put it in a deep roasting tin with the onions; pour the "
            "wine over and cover tightly with foil.";
        struct Case {
            const char* what;
            bool grocery;
            int steps;  // instruction lines
            int pages;
        };
        const Case cases[] = {
            {"recipe", false, 2, 1},
            {"grocery list", true, 2, 1},
            // Two rows a step, about sixty rows a sheet.
            {"recipe over pages", false, 60, 3},
        };
        for (const Case& c : cases) {
            Printout p;
            std::string record = crlf({"[NAMN]", name, "[PORTIONER]", "6", "[TID]", "240", "[IND]",
                                       ingredient, "2 dl white wine", "[G\xD6RA]"});
            for (int i = 0; i < c.steps; ++i) record += crlf({step});
            p.f.dir.write("BOOK1.TXT", record + crlf({"[TYP]", "Hot dish"}));
            testing::PdfPrintout pdf(p.f.fakes);
            const auto file = pdf.expect("printout.pdf");
            PrintoutWindow* window = p.open(name);
            QVERIFY2(window, c.what);
            if (c.grocery) child<QRadioButton>(window, QStringLiteral("option1"))->click();
            clickButton(window, QStringLiteral("Command1"));

            const auto back = testing::readPdfWords(file);
            QVERIFY2(back.ok(), back.error.c_str());
            // Every word the window printed, in order: the name and the long ingredient line
            // whole, none cut at the paper's edge.
            const auto sent = testing::printedWords(p.printed());
            QVERIFY2(back.texts() == sent, c.what);
            for (const std::string& line : {name, ingredient}) {
                const auto words = testing::wordsOf(line);
                QVERIFY2(std::search(sent.begin(), sent.end(), words.begin(), words.end()) !=
                             sent.end(),
                         c.what);
            }
            const std::string problems = testing::misplacedWords(back);
            QVERIFY2(problems.empty(), problems.c_str());
            QCOMPARE(back.pageCount(), c.pages);
        }
    }
};

QTEST_MAIN(PrintoutWindowTest)
#include "printout_window_test.moc"
