// The viewer's servings box: the ingredients shown for another number of servings, the file
// left as it is, and every recipe opened at its own servings.

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include <string>

#include "gui/app/handover.h"
#include "gui/app/window_names.h"
#include "gui/recipes/printout_window.h"
#include "gui/recipes/recipe_viewer.h"
#include "support/gui_fixture.h"
#include "support/gui_helpers.h"
#include "support/records.h"

using namespace culvora;
using namespace culvora::gui;
using culvora::testing::child;

namespace {

const std::string kBook = testing::cookbook({
    {.name = "Pancakes",
     .servings = "4",
     .ingredients = {"3 dl vetemj\xF6l", "6 dl mj\xF6lk", "1,5 msk sm\xF6r", "\xBD tsk salt",
                     "Sylt"}},
    {.name = "Soup", .servings = "a few", .ingredients = {"1 l water"}},
    {.name = "Waffles", .servings = "6", .ingredients = {"3 eggs"}},
});

struct Scaling {
    testing::GuiFixture f;

    Scaling()
    {
        f.writeDefaultFiles();
        f.dir.write("BOOK1.TXT", kBook);
        f.start(true);
    }
    RecipeViewer* show(const std::string& name)
    {
        showRecipe(f.app(), name);
        return f.windows().find<RecipeViewer>(forms::kViewer);
    }
    RecipeViewer* viewer() { return f.windows().find<RecipeViewer>(forms::kViewer); }
    QSpinBox* box() { return child<QSpinBox>(viewer(), QStringLiteral("spnServings")); }
    QString label(const char* name) { return child<QLabel>(viewer(), QLatin1String(name))->text(); }
    void click(const char* button)
    {
        QTest::mouseClick(child<QPushButton>(viewer(), QLatin1String(button)), Qt::LeftButton);
    }
};

}  // namespace

class RecipeScalingTest : public QObject {
    Q_OBJECT

private slots:
    void theBoxRescalesTheIngredientsShownAndNotTheFile()
    {
        Scaling t;
        QVERIFY(t.show("Pancakes"));
        QVERIFY(t.box()->isEnabled());
        QCOMPARE(t.box()->value(), 4);
        const QString written = t.label("Text1");
        QCOMPARE(t.viewer()->scaledServings(), 0);

        t.box()->setValue(2);
        QCOMPARE(t.label("Label2"), QStringLiteral("(Serves 2)"));
        QCOMPARE(t.label("Text1"), QStringLiteral("1 1/2 dl vetemj\u00f6l\n3 dl mj\u00f6lk\n"
                                                  "3/4 msk sm\u00f6r\n1/4 tsk salt\nSylt"));
        QCOMPARE(t.viewer()->scaledServings(), 2);
        t.box()->setValue(10);
        QCOMPARE(t.label("Label2"), QStringLiteral("(Serves 10)"));
        QVERIFY(t.label("Text1").startsWith(QStringLiteral("7 1/2 dl vetemj\u00f6l\n15 dl")));
        // Back at its own servings: the recipe exactly as it is written.
        t.box()->setValue(4);
        QCOMPARE(t.label("Text1"), written);
        QCOMPARE(t.label("Label2"), QStringLiteral("(Serves 4)"));
        QCOMPARE(t.viewer()->scaledServings(), 0);
        QCOMPARE(t.f.dir.read("BOOK1.TXT"), kBook);
    }

    void everyRecipeOpensAtItsOwnServings()
    {
        Scaling t;
        QVERIFY(t.show("Pancakes"));
        t.box()->setValue(8);
        // Forward: Soup, whose servings are no number: the box is greyed out and says why.
        t.click("Command7");
        QCOMPARE(t.viewer()->shownName(), std::string("Soup"));
        QVERIFY(!t.box()->isEnabled());
        QVERIFY(t.box()->toolTip().contains(QStringLiteral("not a number")));
        QCOMPARE(t.label("Label2"), QStringLiteral("(Serves a few)"));
        QCOMPARE(t.label("Text1"), QStringLiteral("1 l water"));
        t.click("Command7");
        QCOMPARE(t.box()->value(), 6);
        QVERIFY(t.box()->isEnabled());
        QCOMPARE(t.label("Text1"), QStringLiteral("3 eggs"));
        // Back to the recipe scaled before: at its own servings again.
        t.click("Command8");
        t.click("Command8");
        QCOMPARE(t.viewer()->shownName(), std::string("Pancakes"));
        QCOMPARE(t.box()->value(), 4);
        QCOMPARE(t.label("Label2"), QStringLiteral("(Serves 4)"));
        QVERIFY(t.label("Text1").startsWith(QStringLiteral("3 dl vetemj\u00f6l\n")));
        // Opening another recipe from elsewhere does the same.
        t.box()->setValue(1);
        QVERIFY(t.show("Waffles"));
        QCOMPARE(t.box()->value(), 6);
        QCOMPARE(t.label("Label2"), QStringLiteral("(Serves 6)"));
    }

    void printPrintsWhatTheViewerShows()
    {
        Scaling t;
        QVERIFY(t.show("Pancakes"));
        t.box()->setValue(8);
        t.viewer()->runToolbarAction(QStringLiteral("Print"));
        auto* window = t.f.windows().find<PrintoutWindow>(forms::kPrintout);
        QVERIFY(window);
        testing::clickButton(window, QStringLiteral("Command1"));
        const QString recipe = t.f.fakes.printer.output;
        QVERIFY2(recipe.contains(QStringLiteral("(Serves 8)")), qPrintable(recipe));
        QVERIFY(recipe.contains(QStringLiteral("6 dl vetemj\u00f6l\n")));
        QVERIFY(recipe.contains(QStringLiteral("3 msk sm\u00f6r\n")));

        // The grocery list likewise, and the recipe at its own servings as it is written.
        t.f.fakes.printer.output.clear();
        t.viewer()->runToolbarAction(QStringLiteral("Print"));
        window = t.f.windows().find<PrintoutWindow>(forms::kPrintout);
        QVERIFY(window);
        child<QRadioButton>(window, QStringLiteral("option1"))->click();
        testing::clickButton(window, QStringLiteral("Command1"));
        QVERIFY(t.f.fakes.printer.output.contains(QStringLiteral("12 dl mj\u00f6lk\n")));
        t.box()->setValue(4);
        t.f.fakes.printer.output.clear();
        t.viewer()->runToolbarAction(QStringLiteral("Print"));
        testing::clickButton(t.f.windows().find<PrintoutWindow>(forms::kPrintout),
                             QStringLiteral("Command1"));
        QVERIFY(t.f.fakes.printer.output.contains(QStringLiteral("1,5 msk sm\u00f6r\n")));
        QCOMPARE(t.f.dir.read("BOOK1.TXT"), kBook);
    }
};

QTEST_MAIN(RecipeScalingTest)
#include "recipe_scaling_test.moc"
