// The browser's grid, scrolling, letter strip and hit-testing, in twips, without a window.

#include <QTest>

#include <string>
#include <vector>

#include "core/store/cookbook.h"
#include "gui/recipes/browser_layout.h"

using namespace culvora;
using namespace culvora::gui;

namespace {

BrowserLayout placed(const std::vector<std::string>& names)
{
    BrowserLayout layout;
    layout.place(store::buildRecipeIndex(names).entries);
    return layout;
}

std::vector<std::string> numbered(const std::string& stem, int count)
{
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) names.push_back(stem + std::to_string(1000 + i));
    return names;
}

// Every label is 600 twips wide: enough to hit-test without fonts.
LabelSizes fixedSizes()
{
    LabelSizes sizes;
    sizes.width = [](LabelRef) { return 600; };
    sizes.nameHeight = 255;
    sizes.headingHeight = 390;
    return sizes;
}

}  // namespace

class BrowserLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void emptyCookbookFillsThreeColumnsOfHeadings()
    {
        const BrowserLayout layout = placed({});
        QCOMPARE(layout.headingCount(), 25);
        QCOMPARE(layout.nameCount(), 0);
        // Ten, ten and five headings, each 480 below the one before.
        for (int i = 1; i <= 25; ++i) {
            const int column = (i - 1) / 10;
            const int row = (i - 1) % 10;
            QCOMPARE(layout.heading(i).left, 725 + 3000 * column);
            QCOMPARE(layout.heading(i).top, 1450 + 480 * row);
            QVERIFY(layout.heading(i).visible);
        }
        QCOMPARE(layout.heading(1).caption, std::string("- A -"));
        QCOMPARE(layout.heading(21).caption, std::string("- U -"));
        QCOMPARE(layout.heading(22).caption, std::string("- V/W -"));
        QCOMPARE(layout.heading(23).caption, std::string("- X -"));
        QCOMPARE(layout.heading(25).caption, std::string("- Z -"));
        // The templates stay invisible.
        QVERIFY(!layout.heading(0).visible);
        QVERIFY(!layout.name(0).visible);
    }

    void namesAndHeadingsStepDownTheirOwnHeights()
    {
        // A heading, three names, the next heading: 480 after a heading, 350 after a name.
        const BrowserLayout layout = placed({"Apple pie", "Apricot jam", "Avocado dip"});
        QCOMPARE(layout.name(1).caption, std::string("Apple pie"));
        QCOMPARE(layout.name(1).left, 500);
        QCOMPARE(layout.name(1).top, 1450 + 480);
        QCOMPARE(layout.name(2).top, 1450 + 480 + 350);
        QCOMPARE(layout.name(3).top, 1450 + 480 + 700);
        QCOMPARE(layout.heading(2).top, 1450 + 480 + 1050);
        QCOMPARE(layout.heading(2).left, 725);
    }

    void columnBreaksRightAfterAHeading()
    {
        // "- A -" and eight A names fill entries 0..8; "- B -" is entry 9, the last of the
        // first column, so its names start at the top of the second.
        std::vector<std::string> names = numbered("A", 8);
        names.push_back("Bread");
        const BrowserLayout layout = placed(names);
        QCOMPARE(layout.heading(2).caption, std::string("- B -"));
        QCOMPARE(layout.heading(2).left, 725);
        QCOMPARE(layout.heading(2).top, 1450 + 480 + 8 * 350);
        QCOMPARE(layout.name(9).caption, std::string("Bread"));
        QCOMPARE(layout.name(9).left, 3500);
        QCOMPARE(layout.name(9).top, 1450);
        QCOMPARE(layout.heading(3).left, 3725);  // "- C -" under Bread
        QCOMPARE(layout.heading(3).top, 1450 + 350);
    }

    void onlyTheLetterHeadersBecomeHeadings()
    {
        // A name ending in "--" and a name spelled like a header stay names, so heading i + 1
        // is still the letter of button i; W names stand under V.
        const BrowserLayout layout = placed({"Soup --", "S -------", "Waffles", "Veal"});
        QCOMPARE(layout.headingCount(), 25);
        QCOMPARE(layout.nameCount(), 4);
        QCOMPARE(layout.heading(19).caption, std::string("- S -"));
        QCOMPARE(layout.heading(20).caption, std::string("- T -"));
        QVERIFY(layout.findName("Soup --") > 0);
        QVERIFY(layout.findName("S -------") > 0);
        // Waffles and Veal (W counted as V) follow "- V/W -" and precede "- X -".
        const int waffles = layout.findName("Waffles");
        const int veal = layout.findName("Veal");
        QCOMPARE(layout.heading(22).caption, std::string("- V/W -"));
        QCOMPARE(layout.name(waffles).top, layout.heading(22).top + 480);
        QCOMPARE(layout.name(veal).top, layout.heading(22).top + 480 + 350);
        QCOMPARE(layout.heading(23).top, layout.heading(22).top + 480 + 700);
    }

    void scrollLimitsOfAnEmptyCookbook()
    {
        BrowserLayout layout = placed({});
        QVERIFY(!layout.scrollLeft());  // "- A -" is in the first column
        QVERIFY(layout.scrollRight());
        QCOMPARE(layout.heading(1).left, 725 - 3000);
        QCOMPARE(layout.heading(25).left, 3725);
        QVERIFY(layout.scrollRight());
        QCOMPARE(layout.heading(25).left, 725);
        QVERIFY(!layout.scrollRight());  // "- Z -" is in the first column
        QCOMPARE(layout.heading(25).left, 725);
        QVERIFY(layout.scrollLeft());
        QVERIFY(layout.scrollLeft());
        QVERIFY(!layout.scrollLeft());
        QCOMPARE(layout.heading(1).left, 725);
    }

    void letterStripPressesTheArrows_data()
    {
        QTest::addColumn<int>("letter");
        QTest::addColumn<int>("presses");
        QTest::addColumn<int>("then");
        QTest::addColumn<int>("pressesBack");
        QTest::newRow("Z then A") << 24 << 2 << 0 << -2;
        QTest::newRow("K then C") << 10 << 1 << 2 << -1;
        QTest::newRow("V/W then U") << 21 << 2 << 20 << 0;
        QTest::newRow("A stays") << 0 << 0 << 9 << 0;
    }

    void letterStripPressesTheArrows()
    {
        QFETCH(int, letter);
        QFETCH(int, presses);
        QFETCH(int, then);
        QFETCH(int, pressesBack);
        BrowserLayout layout = placed({});
        QCOMPARE(layout.pressLetter(letter), presses);
        QCOMPARE(layout.heading(letter + 1).left, 725);
        QCOMPARE(layout.pressLetter(then), pressesBack);
        QCOMPARE(layout.heading(then + 1).left, 725);
    }

    void letterStripReachesEveryHeadingOfABigCookbook()
    {
        // Many names per letter: each heading can still be brought to the first column.
        std::vector<std::string> names;
        for (char c = 'A'; c <= 'Z'; ++c) {
            for (const std::string& n : numbered(std::string(1, c), 40)) names.push_back(n);
        }
        BrowserLayout layout = placed(names);
        for (int letter : {24, 3, 17, 0, 21}) {
            layout.pressLetter(letter);
            QCOMPARE(layout.heading(letter + 1).left, 725);
        }
    }

    void rightArrowReachesNamesAfterTheLastHeading()
    {
        // 95 names after "- Z -" fill ten columns: ">" goes on past "Z in the first column"
        // until the last of them is on screen, and no further.
        std::vector<std::string> names = numbered("Zucchini ", 35);
        for (const std::string& n : numbered("\xD6rt ", 60)) names.push_back(n);
        BrowserLayout layout = placed(names);
        while (layout.heading(25).left != 725) QVERIFY(layout.scrollRight());
        QVERIFY(layout.scrollRight());
        while (layout.scrollRight()) {}
        const int last = layout.nameCount();
        QVERIFY(layout.name(last).left >= 500 && layout.name(last).left < 9500);
        QCOMPARE(layout.name(last).left, 6500);
        const auto shown = layout.shownLabels();
        QCOMPARE(shown.back(), (LabelRef{LabelKind::Name, last}));
    }

    void leftArrowStopsAtTheFirstColumnWhenNamesPrecedeA()
    {
        // Fifteen names that sort before "A -------" push "- A -" into the second column. "<"
        // must not scroll off into emptiness; the letter strip still brings A to the front.
        BrowserLayout layout = placed(numbered("1 ", 15));
        QCOMPARE(layout.heading(1).left, 3725);
        QVERIFY(!layout.scrollLeft());
        QCOMPARE(layout.pressLetter(0), 1);
        QCOMPARE(layout.heading(1).left, 725);
        QVERIFY(layout.scrollLeft());
        QCOMPARE(layout.name(1).left, 500);
        QVERIFY(!layout.scrollLeft());
    }

    void showsOnlyTheThreeColumnsOnScreen()
    {
        BrowserLayout layout = placed(numbered("Name ", 20000));
        QCOMPARE(layout.nameCount(), 20000);
        auto shown = layout.shownLabels();
        QCOMPARE(static_cast<int>(shown.size()), 30);
        for (LabelRef ref : shown) {
            QVERIFY(layout.left(ref) >= 500 && layout.left(ref) < 9500);
        }
        layout.pressLetter(13);  // "- N -" with its 20,000 names
        shown = layout.shownLabels();
        QCOMPARE(static_cast<int>(shown.size()), 30);
        QCOMPARE(shown.front(), (LabelRef{LabelKind::Heading, 11}));  // "- K -" above "- N -"
        QCOMPARE(layout.heading(14).left, 725);
    }

    void hitTestFindsTheLabelUnderThePoint()
    {
        BrowserLayout layout = placed({"Apple pie"});
        const LabelSizes sizes = fixedSizes();
        // Apple pie: left 500, top 1930, 600 x 255.
        QCOMPARE(layout.hitTest(500, 1930, sizes), (LabelRef{LabelKind::Name, 1}));
        QCOMPARE(layout.hitTest(1099, 2184, sizes), (LabelRef{LabelKind::Name, 1}));
        QCOMPARE(layout.hitTest(1100, 1930, sizes), LabelRef{});  // right of the name
        QCOMPARE(layout.hitTest(500, 2185, sizes), LabelRef{});   // below it
        QCOMPARE(layout.hitTest(499, 1930, sizes), LabelRef{});
        QCOMPARE(layout.hitTest(725, 1450, sizes), (LabelRef{LabelKind::Heading, 1}));
        QCOMPARE(layout.hitTest(3725, 1450, sizes), (LabelRef{LabelKind::Heading, 10}));  // J
        QCOMPARE(layout.hitTest(6725, 1450, sizes), (LabelRef{LabelKind::Heading, 20}));  // T
        layout.hideName(1);
        QCOMPARE(layout.hitTest(500, 1930, sizes), LabelRef{});
        QVERIFY(layout.scrollRight());
        QCOMPARE(layout.hitTest(725, 1450, sizes), (LabelRef{LabelKind::Heading, 10}));
    }

    void hitTestIgnoresColumnsOffScreen()
    {
        // Thirty B names: the fourth column starts with B1028 at 9500, right of the window.
        BrowserLayout layout = placed(numbered("B", 30));
        const LabelSizes sizes = fixedSizes();
        QCOMPARE(layout.name(29).left, 9500);
        QCOMPARE(layout.hitTest(9500, 1450, sizes), LabelRef{});
        QVERIFY(layout.scrollRight());
        QCOMPARE(layout.hitTest(6500, 1450, sizes), (LabelRef{LabelKind::Name, 29}));
        QCOMPARE(layout.hitTest(-2500, 1450, sizes), LabelRef{});  // the first column, now left
    }

    void hoverBarHangsUnderTheName()
    {
        const BrowserLayout layout = placed({"Apple pie"});
        QCOMPARE(layout.hoverBar(1, 900, 255), (TwipRect{450, 1930 + 255, 1100, 20}));
    }

    void hiddenNameKeepsTheOthersInPlace()
    {
        BrowserLayout layout = placed({"Apple pie", "Apricot jam", "Avocado dip"});
        const BrowserLabel before = layout.name(3);
        layout.hideName(2);
        QCOMPARE(layout.name(2).caption, std::string());
        QVERIFY(!layout.name(2).visible);
        QCOMPARE(layout.name(3), before);
        QCOMPARE(layout.findName("Apricot jam"), -1);
        QCOMPARE(layout.findName("Avocado dip"), 3);
        // Scrolling there and back does not bring the deleted name back.
        QVERIFY(layout.scrollRight());
        QVERIFY(layout.scrollLeft());
        QVERIFY(!layout.name(2).visible);
        QCOMPARE(layout.name(3), before);
    }

    void placementCentresAndKeepsTheTitleBarInReach()
    {
        // 660 x 463 pixels in an area of 1000 x 700 pixels, in twips.
        QCOMPARE(placeBrowser(9900, 6945, 15000, 10500), (TwipRect{2550, 1277, 9900, 6945}));
        QCOMPARE(placeBrowser(9900, 6945, 9000, 6000), (TwipRect{0, 0, 9900, 6945}));
    }

    void theKeyboardWalksTheNames()
    {
        using Step = BrowserLayout::NameStep;
        // "A" heading, 30 names under A (three columns' worth), then B and more headings.
        std::vector<std::string> names = numbered("A", 30);
        names.push_back("Bread");
        BrowserLayout layout = placed(names);
        const int bread = 31;
        QCOMPARE(layout.name(bread).caption, std::string("Bread"));
        // Nothing chosen yet: any step starts on the first name on screen.
        QCOMPARE(layout.stepName(0, Step::Next), 1);
        QCOMPARE(layout.stepName(0, Step::PreviousColumn), 1);
        QCOMPARE(layout.stepName(0, Step::Last), bread);
        QCOMPARE(layout.stepName(1, Step::Previous), 1);  // the list ends here
        QCOMPARE(layout.stepName(1, Step::Next), 2);
        QCOMPARE(layout.stepName(1, Step::Last), bread);
        QCOMPARE(layout.stepName(bread, Step::First), 1);
        // Column to column: the name nearest in height. A1000 stands under the heading, at
        // 1930; column 1 holds A1009 at 1450, A1010 at 1800, A1011 at 2150, ...
        QCOMPARE(layout.name(layout.stepName(1, Step::NextColumn)).caption, std::string("A1010"));
        QCOMPARE(layout.stepName(layout.stepName(1, Step::NextColumn), Step::PreviousColumn), 1);
        QCOMPARE(layout.stepName(bread, Step::NextColumn), bread);  // no names further right
        // A deleted name is stepped over.
        layout.hideName(2);
        QCOMPARE(layout.stepName(1, Step::Next), 3);
        QCOMPARE(layout.stepName(3, Step::Previous), 1);
        QCOMPARE(layout.stepName(2, Step::Next), 1);  // from a hidden name: start afresh

        // Typing jumps to the first name that begins with the letters, in any case.
        QCOMPARE(layout.findNameStartingWith("br"), bread);
        QCOMPARE(layout.findNameStartingWith("a101"), 11);
        QCOMPARE(layout.findNameStartingWith("a", 30), 30);
        QCOMPARE(layout.findNameStartingWith("a1000"), 1);
        QCOMPARE(layout.findNameStartingWith("a1001"), 0);  // hidden
        QCOMPARE(layout.findNameStartingWith("zz"), 0);
        QCOMPARE(layout.findNameStartingWith(""), 0);

        // A chosen name off screen is scrolled into view, column by column.
        const LabelRef far{LabelKind::Name, bread};
        QVERIFY(!layout.isShown(far));
        QCOMPARE(layout.scrollIntoView(far), 1);
        QVERIFY(layout.isShown(far));
        QCOMPARE(layout.scrollIntoView({LabelKind::Name, 1}), -1);
        QVERIFY(layout.isShown({LabelKind::Name, 1}));
        QCOMPARE(layout.scrollIntoView({LabelKind::Name, 1}), 0);
    }

    void theFindFilterRegridsTheKeptNamesUnderTheirHeadings()
    {
        std::vector<std::string> names = numbered("Apple ", 12);
        names.push_back("Bread");
        names.push_back("Cake");
        names.push_back("Zucchini");
        BrowserLayout layout = placed(names);
        std::vector<BrowserLabel> before;
        for (int i = 1; i <= layout.nameCount(); ++i) before.push_back(layout.name(i));
        const int cake = layout.findName("Cake");
        const int apple = layout.findName("Apple 1011");
        QVERIFY(cake > 0 && apple > 0);
        layout.scrollRight();

        std::vector<char> keep(static_cast<std::size_t>(layout.nameCount()) + 1, 0);
        keep[static_cast<std::size_t>(cake)] = 1;
        keep[static_cast<std::size_t>(apple)] = 1;
        layout.filterNames(keep);
        QVERIFY(layout.isFiltered());
        // "- A -", Apple 1011, "- C -", Cake: from the first column, headings without a hit gone.
        std::vector<std::string> shown;
        for (LabelRef ref : layout.shownLabels()) shown.push_back(layout.caption(ref));
        QCOMPARE(shown, (std::vector<std::string>{"- A -", "Apple 1011", "- C -", "Cake"}));
        QCOMPARE(layout.name(apple).left, 500);
        QCOMPARE(layout.name(apple).top, 1450 + 480);
        QCOMPARE(layout.name(cake).top, 1450 + 480 + 350 + 480);
        QVERIFY(!layout.isVisible({LabelKind::Heading, 2}));  // B has no hit
        QVERIFY(!layout.isVisible({LabelKind::Name, layout.findName("Bread")}));
        QCOMPARE(layout.firstGridName(), apple);
        QCOMPARE(layout.gridNameCount(), 2);
        QVERIFY(!layout.canScrollLeft());
        QVERIFY(!layout.canScrollRight());
        QCOMPARE(layout.pressLetter(1), 0);  // a letter without a hit goes nowhere
        // The keyboard walks the names found only.
        QCOMPARE(layout.stepName(apple, BrowserLayout::NameStep::Next), cake);
        QCOMPARE(layout.findNameStartingWith("b"), 0);

        // Nothing found: nothing on the grid, not even a heading.
        layout.filterNames(std::vector<char>(keep.size(), 0));
        QVERIFY(layout.shownLabels().empty());
        QCOMPARE(layout.firstGridName(), 0);

        // No filter: every label where place() put it, from the first column.
        layout.filterNames({});
        QVERIFY(!layout.isFiltered());
        for (int i = 1; i <= layout.nameCount(); ++i) {
            QCOMPARE(layout.name(i), before[static_cast<std::size_t>(i - 1)]);
        }
        QCOMPARE(layout.shownLabels().front(), (LabelRef{LabelKind::Heading, 1}));
    }
};

QTEST_APPLESS_MAIN(BrowserLayoutTest)
#include "browser_layout_test.moc"
