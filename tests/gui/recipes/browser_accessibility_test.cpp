// The recipe browser as a screen reader meets it: the painted names and headings as a list
// with the count, the keyboard's name as the focused and selected entry (and the events that
// say so), the actions a drop on the buttons would do, and the letter strip as a tool bar with
// the letter of the first column checked.

#include <QAccessible>
#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <string>
#include <vector>

#include "core/store/cookbook.h"
#include "gui/app/window_names.h"
#include "gui/recipes/recipe_browser.h"
#include "gui/widgets/accessibility.h"
#include "support/gui_fixture.h"
#include "support/gui_helpers.h"

using namespace culvora;
using namespace culvora::gui;
using culvora::testing::child;

namespace {

std::string book(const std::vector<std::string>& names)
{
    std::vector<store::RecipeRecord> records;
    for (const std::string& name : names) {
        records.push_back({name, "4", "30", "1 egg", "Mix and bake.", "Desserts"});
    }
    return store::withAppended("", records);
}

struct Browser {
    culvora::testing::GuiFixture f;
    RecipeBrowser* window = nullptr;
    QWidget* labels = nullptr;
    QAccessibleInterface* list = nullptr;

    explicit Browser(const std::vector<std::string>& names)
    {
        f.writeDefaultFiles();
        f.dir.write("BOOK1.TXT", book(names));
        f.start(true);
        QApplication::setActiveWindow(&f.main());
        QVERIFY(QTest::qWaitForWindowActive(&f.main()));
        for (QLatin1String name : {forms::kViewer, forms::kEditRecipe}) {
            testing::addStandIn(f.windows(), name);
        }
        window = qobject_cast<RecipeBrowser*>(f.windows().open(forms::kBrowser));
        if (!window) return;
        labels = child<QWidget>(window, QStringLiteral("labels"));
        list = QAccessible::queryAccessibleInterface(labels);
    }

    QStringList texts() const
    {
        QStringList all;
        for (int i = 0; i < list->childCount(); ++i) {
            all << list->child(i)->text(QAccessible::Name);
        }
        return all;
    }
    void key(Qt::Key k) { QTest::keyClick(labels, k); }
    QString focused() const
    {
        QAccessibleInterface* focus = list->focusChild();
        return focus ? focus->text(QAccessible::Name) : QString();
    }
};

QStringList headings(char from, char to)
{
    QStringList all;
    for (char c = from; c <= to; ++c) {
        if (c == 'W') continue;
        all << (c == 'V' ? QStringLiteral("V/W") : QString(QLatin1Char(c)));
    }
    return all;
}

// What the browser told a reader, as "Focus 4", "Selection 4", "ObjectReorder".
QStringList told;

QString said(QAccessible::Event type, int child = -1)
{
    QString text = type == QAccessible::Focus           ? QStringLiteral("Focus")
                   : type == QAccessible::Selection     ? QStringLiteral("Selection")
                   : type == QAccessible::ObjectReorder ? QStringLiteral("ObjectReorder")
                                                        : QString::number(type);
    return child < 0 ? text : text + QLatin1Char(' ') + QString::number(child);
}

}  // namespace

class BrowserAccessibilityTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        watchAnnouncements(
            [](const QAccessibleEvent& event) { told << said(event.type(), event.child()); });
    }
    void cleanupTestCase() { watchAnnouncements(nullptr); }

    void theNamesAreAListOfHeadingsAndEntriesWithTheCount()
    {
        Browser b({"Waffles", "Apple pie", "Bread", "Apricot jam"});
        QVERIFY(b.list);
        QCOMPARE(b.list->role(), QAccessible::List);
        QCOMPARE(b.list->text(QAccessible::Name), QStringLiteral("Recipes"));
        QVERIFY2(b.list->text(QAccessible::Description)
                     .startsWith(QStringLiteral("Number of recipes: 4")),
                 qPrintable(b.list->text(QAccessible::Description)));

        // List order, W under V/W; the headings read as letters, not as "- A -".
        const QStringList expected = QStringList{QStringLiteral("A"), QStringLiteral("Apple pie"),
                                                 QStringLiteral("Apricot jam"), QStringLiteral("B"),
                                                 QStringLiteral("Bread")} +
                                     headings('C', 'V') + QStringList{QStringLiteral("Waffles")} +
                                     headings('X', 'Z');
        QCOMPARE(b.list->childCount(), 29);
        QCOMPARE(b.texts(), expected);
        QAccessibleInterface* a = b.list->child(0);
        QAccessibleInterface* apple = b.list->child(1);
        QCOMPARE(a->role(), QAccessible::Heading);
        QCOMPARE(apple->role(), QAccessible::ListItem);
        QVERIFY(!a->state().selectable);
        QVERIFY(apple->state().selectable && apple->state().focusable);
        QCOMPARE(apple->parent(), b.list);
        QCOMPARE(b.list->indexOfChild(apple), 1);
        // Each entry lies where it is painted, inside the list.
        const QRect onScreen(b.labels->mapToGlobal(QPoint(0, 0)), b.labels->size());
        QVERIFY(onScreen.contains(apple->rect()));
        QCOMPARE(b.list->childAt(apple->rect().center().x(), apple->rect().center().y()), apple);
        QVERIFY(!apple->state().offscreen);
    }

    void theKeyboardsNameIsTheFocusedSelectedEntryAndIsAnnounced()
    {
        Browser b({"Apple pie", "Apricot jam", "Bread"});
        b.labels->setFocus();
        QVERIFY(b.labels->hasFocus());
        QCOMPARE(b.focused(), QString());
        told.clear();

        b.key(Qt::Key_Down);
        QCOMPARE(b.focused(), QStringLiteral("Apple pie"));
        b.key(Qt::Key_Down);
        QCOMPARE(b.focused(), QStringLiteral("Apricot jam"));
        // Down again passes over the B heading.
        b.key(Qt::Key_Down);
        QCOMPARE(b.focused(), QStringLiteral("Bread"));
        QAccessibleInterface* bread = b.list->child(4);
        QCOMPARE(b.list->focusChild(), bread);
        QVERIFY(bread->state().focused && bread->state().selected);
        QVERIFY(!b.list->child(2)->state().selected);
        QCOMPARE(told, (QStringList{QStringLiteral("Focus 1"), QStringLiteral("Selection 1"),
                                    QStringLiteral("Focus 2"), QStringLiteral("Selection 2"),
                                    QStringLiteral("Focus 4"), QStringLiteral("Selection 4")}));

        // Away from the names the entry stays chosen but is no longer the focus.
        b.labels->clearFocus();
        QVERIFY(!b.labels->hasFocus());
        QVERIFY(bread->state().selected && !bread->state().focused);
        QCOMPARE(b.list->focusChild(), nullptr);
    }

    void theEntriesDoWhatTheButtonsDo()
    {
        Browser b({"Apple pie", "Bread"});
        QAccessibleInterface* bread = b.list->child(3);
        QCOMPARE(bread->text(QAccessible::Name), QStringLiteral("Bread"));
        QAccessibleActionInterface* actions = bread->actionInterface();
        QVERIFY(actions);
        // "Upload" and "Move" are left out while the program has no window for them.
        for (const QString& name : {QAccessibleActionInterface::pressAction(),
                                    QAccessibleActionInterface::setFocusAction(),
                                    QStringLiteral("Edit"), QStringLiteral("Delete")}) {
            QVERIFY2(actions->actionNames().contains(name), qPrintable(name));
        }
        QVERIFY(b.list->child(2)->actionInterface()->actionNames().isEmpty());  // a heading

        actions->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(b.f.state.selectedRecipe, std::string("Bread"));
        actions->doAction(QStringLiteral("Edit"));
        QCOMPARE(b.f.state.editRecipe, std::string("Bread"));
        QVERIFY(b.f.windows().isOpen(forms::kEditRecipe));
        actions->doAction(QAccessibleActionInterface::setFocusAction());
        QCOMPARE(b.window->focusedName(), b.window->findNameLabel("Bread"));

        // Delete asks first, as a drop on "Delete" does; then the list has one entry less.
        told.clear();
        b.f.fakes.prompter.answers.push_back(Answer::Yes);
        actions->doAction(QStringLiteral("Delete"));
        QCOMPARE(b.f.fakes.prompter.messages.size(), 1);
        QCOMPARE(b.texts().size(), 26);
        QVERIFY(!b.texts().contains(QStringLiteral("Bread")));
        QVERIFY2(told.contains(QStringLiteral("ObjectReorder")), qPrintable(told.join(u',')));
        QVERIFY2(b.list->text(QAccessible::Description)
                     .startsWith(QStringLiteral("Number of recipes: 1")),
                 qPrintable(b.list->text(QAccessible::Description)));
    }

    void entriesScrolledAwayAreOffscreenUntilTheirColumnIsShown()
    {
        std::vector<std::string> names;
        for (int i = 1; i <= 9; ++i) names.push_back("Apple " + std::to_string(i));
        Browser b(names);  // 34 entries: four columns, three shown
        QAccessibleInterface* z = b.list->child(b.list->childCount() - 1);
        QCOMPARE(z->text(QAccessible::Name), QStringLiteral("Z"));
        QVERIFY(z->state().offscreen);
        QVERIFY(z->rect().isEmpty());
        testing::clickButton(b.window, QStringLiteral("Command10(24)"));
        QVERIFY(!z->state().offscreen);
        QVERIFY(!z->rect().isEmpty());
    }

    void theLetterStripIsAToolBarWithTheFirstColumnsLetterChecked()
    {
        std::vector<std::string> names;
        for (int i = 1; i <= 9; ++i) names.push_back("Apple " + std::to_string(i));
        Browser b(names);
        QAccessibleInterface* strip = QAccessible::queryAccessibleInterface(
            child<QWidget>(b.window, QStringLiteral("letters")));
        QVERIFY(strip);
        QCOMPARE(strip->role(), QAccessible::ToolBar);
        QCOMPARE(strip->text(QAccessible::Name), QStringLiteral("Letters"));
        QCOMPARE(strip->childCount(), 25);
        auto letter = [strip](int i) { return strip->child(i); };
        QCOMPARE(letter(0)->text(QAccessible::Name), QStringLiteral("A"));
        QCOMPARE(letter(21)->text(QAccessible::Description),
                 QStringLiteral("Show the recipes under V and W"));
        QVERIFY(letter(0)->state().checked);

        // "Z" brings the fourth column, which begins with V/W, to the front: V is checked.
        testing::clickButton(b.window, QStringLiteral("Command10(24)"));
        QStringList checked;
        for (int i = 0; i < 25; ++i) {
            if (letter(i)->state().checked) checked << letter(i)->text(QAccessible::Name);
        }
        QCOMPARE(checked, QStringList{QStringLiteral("V")});
        testing::clickButton(b.window, QStringLiteral("Command10(0)"));
        QVERIFY(letter(0)->state().checked && !letter(21)->state().checked);
    }
};

QTEST_MAIN(BrowserAccessibilityTest)
#include "browser_accessibility_test.moc"
