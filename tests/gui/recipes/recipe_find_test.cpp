// The recipe browser's find field: typing filters the names as the collation compares them,
// "Every word" looks through every line, Enter opens the first recipe found, Escape shows all.

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <string>
#include <vector>

#include "gui/app/handover.h"
#include "gui/app/qt_text.h"
#include "gui/app/window_names.h"
#include "gui/recipes/recipe_browser.h"
#include "gui/recipes/recipe_viewer.h"
#include "support/gui_fixture.h"
#include "support/gui_helpers.h"
#include "support/records.h"

using namespace culvora;
using namespace culvora::gui;
using culvora::testing::child;

namespace {

struct Finding {
    testing::GuiFixture f;
    RecipeBrowser* browser = nullptr;
    QLineEdit* field = nullptr;
    QLabel* count = nullptr;

    Finding()
    {
        f.writeDefaultFiles();
        f.dir.write("BOOK1.TXT",
                    testing::cookbook({
                        {.name = "Apple pie", .ingredients = {"4 apples"}},
                        {.name = "Pancakes", .ingredients = {"6 dl buttermilk"}},
                        {.name = "Cr\xE8me br\xFBl\xE9""e", .ingredients = {"5 dl cream"}},
                        {.name = "Pancakes", .ingredients = {"6 dl oat milk"}},
                        {.name = "Waffles", .ingredients = {"3 eggs"}},
                        {.name = "\xC4ppelkaka", .ingredients = {"4 \xE4pplen"}},
                        {.name = "Bread", .ingredients = {"1 kg flour"}, .type = "Bread"},
                    }));
        f.start(true);
        browser = qobject_cast<RecipeBrowser*>(f.windows().open(forms::kBrowser));
        QVERIFY(browser);
        field = child<QLineEdit>(browser, QStringLiteral("txtFind"));
        count = child<QLabel>(browser, QStringLiteral("label4"));
    }

    // The captions on the grid, headings included, in order.
    QStringList shown() const
    {
        QStringList captions;
        for (LabelRef ref : browser->layout().shownLabels())
            captions << fromCp(browser->layout().caption(ref));
        return captions;
    }
    // Key by key, as typed (QTest types ASCII only; other letters arrive as an input method
    // would give them).
    void type(const QString& text)
    {
        field->clear();
        for (QChar c : text) {
            if (c.unicode() < 128) {
                QTest::keyClicks(field, QString(c));
            } else {
                field->insert(QString(c));
            }
        }
    }
    bool letterEnabled(int index) const
    {
        return child<QPushButton>(browser, QStringLiteral("Command10(%1)").arg(index))
            ->isEnabled();
    }
};

}  // namespace

class RecipeFindTest : public QObject {
    Q_OBJECT

private slots:
    void typingShowsOnlyTheNamesFoundUnderTheirLetters()
    {
        Finding t;
        QCOMPARE(t.count->text(), QStringLiteral("Number of recipes: 7"));
        // Ctrl+F from anywhere in the browser goes to the field.
        QApplication::setActiveWindow(&t.f.main());
        QVERIFY(QTest::qWaitForWindowActive(&t.f.main()));
        auto* letterA = child<QPushButton>(t.browser, QStringLiteral("Command10(0)"));
        letterA->setFocus();
        QTest::keyClick(letterA, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(t.field->hasFocus());
        t.type(QStringLiteral("PAN"));
        QCOMPARE(t.shown(), QStringList({QStringLiteral("- P -"), QStringLiteral("Pancakes"),
                                         QStringLiteral("Pancakes")}));
        QCOMPARE(t.count->text(), QStringLiteral("Found 2 of 7 recipes"));
        QVERIFY(t.letterEnabled(15));   // P
        QVERIFY(!t.letterEnabled(0));   // A: nothing found under it

        // Accents and case do not count; Ä is a letter of its own.
        t.type(QStringLiteral("creme"));
        QCOMPARE(t.shown(), QStringList({QStringLiteral("- C -"),
                                         QStringLiteral("Cr\u00e8me br\u00fbl\u00e9e")}));
        t.type(QStringLiteral("app"));
        QCOMPARE(t.shown(), QStringList({QStringLiteral("- A -"), QStringLiteral("Apple pie")}));
        t.type(QStringLiteral("\u00e4pp"));
        QCOMPARE(t.shown(), QStringList({QStringLiteral("- Z -"), QStringLiteral("\u00c4ppelkaka")}));

        // Nothing found: an empty grid, every letter greyed out, Enter opens nothing.
        t.type(QStringLiteral("saffron"));
        QVERIFY(t.shown().isEmpty());
        QCOMPARE(t.count->text(), QStringLiteral("Found 0 of 7 recipes"));
        QVERIFY(!t.letterEnabled(15));
        QTest::keyClick(t.field, Qt::Key_Return);
        QVERIFY(!t.f.windows().find<RecipeViewer>(forms::kViewer));

        // Escape: the field empties and everything is back, as the fill left it.
        QTest::keyClick(t.field, Qt::Key_Escape);
        QCOMPARE(t.field->text(), QString());
        QCOMPARE(t.count->text(), QStringLiteral("Number of recipes: 7"));
        QCOMPARE(t.browser->layout().gridNameCount(), 7);
        QVERIFY(t.letterEnabled(0));
        QCOMPARE(t.shown().first(), QStringLiteral("- A -"));
    }

    void everyWordLooksThroughEveryLineAndEnterOpensTheFirstFound()
    {
        Finding t;
        t.type(QStringLiteral("oat milk"));
        QVERIFY(t.shown().isEmpty());
        child<QCheckBox>(t.browser, QStringLiteral("chkEverywhere"))->setChecked(true);
        // Only the second Pancakes takes oat milk.
        QCOMPARE(t.shown(), QStringList({QStringLiteral("- P -"), QStringLiteral("Pancakes")}));
        QCOMPARE(t.count->text(), QStringLiteral("Found 1 of 7 recipes"));
        t.type(QStringLiteral("BREAD"));  // a name and a type
        QCOMPARE(t.shown(), QStringList({QStringLiteral("- B -"), QStringLiteral("Bread")}));
        t.type(QStringLiteral("milk"));
        QCOMPARE(t.browser->layout().gridNameCount(), 2);

        t.type(QStringLiteral("oat milk"));
        QTest::keyClick(t.field, Qt::Key_Return);
        auto* viewer = t.f.windows().find<RecipeViewer>(forms::kViewer);
        QVERIFY(viewer);
        QCOMPARE(viewer->shownName(), std::string("Pancakes"));
        QVERIFY(child<QLabel>(viewer, QStringLiteral("Text1"))->text().contains(
            QStringLiteral("oat milk")));
    }
};

QTEST_MAIN(RecipeFindTest)
#include "recipe_find_test.moc"
