// The nutrition table as a screen reader meets it: the headings, then one entry per
// ingredient named after it and described by its values; the row the keyboard is on is the
// focused, selected entry, and moving says so; the column of names drawn over the grid is not
// read twice.

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QTest>

#include <string>

#include "gui/app/window_names.h"
#include "gui/nutrition/nutrition_grid.h"
#include "gui/widgets/accessibility.h"
#include "support/gui_fixture.h"

using namespace culvora;
using namespace culvora::gui;
using culvora::testing::child;
using culvora::testing::crlf;

namespace {

std::string record(const char* name, std::initializer_list<const char*> values)
{
    std::string out = crlf({name});
    for (const char* value : values) out += crlf({value});
    return out;
}

QStringList told;

}  // namespace

class NutritionGridAccessibilityTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        watchAnnouncements([](const QAccessibleEvent& event) {
            if (event.type() == QAccessible::Focus) told << QString::number(event.child());
        });
    }
    void cleanupTestCase() { watchAnnouncements(nullptr); }

    void theRowsAreEntriesNamedAfterTheirIngredientWithTheirValues()
    {
        testing::GuiFixture f;
        f.writeDefaultFiles();
        f.dir.write(
            "index.txt",
            record("Apple", {"218", "52", "85.6", "0.3", "0.2", "13.8", "6", "0.1", "0", "4.6"}) +
                record("Bread", {"1100", "263", "37", "9", "3.2", "49", "20", "1.3", "0", "0"}) +
                record("Cheese", {"1600", "380", "36", "25", "31", "0", "700", "0.3", "0.2", "0"}));
        f.start(true);
        f.main().resize(1200, 800);
        QApplication::setActiveWindow(&f.main());
        QVERIFY(QTest::qWaitForWindowActive(&f.main()));
        QWidget* viewer = f.windows().open(forms::kNutrition);
        QVERIFY(viewer);
        auto* grid = child<NutritionGrid>(viewer, QStringLiteral("Grid1"));
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(grid);
        QVERIFY(list);

        QCOMPARE(list->role(), QAccessible::List);
        QCOMPARE(list->text(QAccessible::Name), QStringLiteral("Nutrition table"));
        QVERIFY(list->text(QAccessible::Description).startsWith(QStringLiteral("3 ingredients. ")));
        QCOMPARE(list->childCount(), 4);
        QAccessibleInterface* headings = list->child(0);
        QCOMPARE(headings->role(), QAccessible::Heading);
        QCOMPARE(
            headings->text(QAccessible::Name),
            QStringLiteral("kJ, kcal, Water g, Protein g, Fat g, Carb.-hydrates g, Kalcium mg, "
                           "Iron mg, Vitamine A mg, Vitamine C"));
        QAccessibleInterface* bread = list->child(2);
        QCOMPARE(bread->role(), QAccessible::ListItem);
        QCOMPARE(bread->text(QAccessible::Name), QStringLiteral("Bread"));
        QCOMPARE(bread->text(QAccessible::Description),
                 QStringLiteral("kJ 1100, kcal 263, Water g 37, Protein g 9, Fat g 3.2, "
                                "Carb.-hydrates g 49, Kalcium mg 20, Iron mg 1.3, Vitamine A mg 0, "
                                "Vitamine C 0"));
        QVERIFY(!bread->rect().isEmpty());

        // The viewer opens on the first row; the keyboard moves down a row at a time.
        grid->setFocus();
        QVERIFY(grid->hasFocus());
        QCOMPARE(list->focusChild(), list->child(1));
        told.clear();
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(list->focusChild(), bread);
        QVERIFY(bread->state().focused && bread->state().selected);
        QVERIFY(!list->child(1)->state().selected);
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(list->focusChild()->text(QAccessible::Name), QStringLiteral("Cheese"));
        // Sideways the row stays the same entry: nothing new to say.
        QTest::keyClick(grid, Qt::Key_Right);
        QCOMPARE(told, (QStringList{QStringLiteral("2"), QStringLiteral("3")}));

        // A reader's press is a click on the row: the chart shows the ingredient.
        list->child(1)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(child<QLabel>(viewer, QStringLiteral("Label2"))->text(), QStringLiteral("Apple"));

        // The names' column over the grid is drawn only.
        QAccessibleInterface* names = QAccessible::queryAccessibleInterface(grid->namesColumn());
        QVERIFY(names->state().invisible);
        QCOMPARE(names->childCount(), 0);
    }
};

QTEST_MAIN(NutritionGridAccessibilityTest)
#include "nutrition_grid_accessibility_test.moc"
