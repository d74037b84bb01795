// The bin "frmPapperskorg": opened from the Cookbook menu, the deleted recipes and drinks
// newest first, and "Put back" with a taken name, into the open browser, and refused for a
// cookbook no longer listed.

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include "core/drinks/drinks.h"
#include "core/store/bin.h"
#include "gui/app/main_window.h"
#include "gui/recipes/recipe_browser.h"
#include "gui/recipes/recipe_routines.h"
#include "gui/store/bin_window.h"
#include "support/gui_fixture.h"
#include "support/gui_helpers.h"
#include "support/records.h"

using namespace culvora;
using culvora::testing::child;
using culvora::testing::crlf;
using culvora::testing::infoShape;
using culvora::testing::record;

namespace {

const std::string kSoup = record({.name = "Soup", .ingredients = {"water"}, .steps = {"Boil."}});
const std::string kPie = record({.name = "Pie", .ingredients = {"apples"}});

struct Bin : testing::GuiFixture {
    Bin()
    {
        writeDefaultFiles();
        dir.write("bocker.txt", crlf({"Standard", "BOOK1.TXT", "Baking", "BOOK2.TXT"}));
        dir.write("BOOK1.TXT", kSoup + kPie);
        dir.write("BOOK2.TXT", kPie);
        dir.write("drinkar.txt",
                  crlf({"[NAMN]", "Sour", "whiskey", "[G\xD6RA]", "Shake.", "[GLAS]", "Sour"}));
        const ProgramFolder folder(dir.path());
        // Oldest first: Soup, then the drink, then the Pie from Baking.
        seeded = store::deleteRecipe(folder, "BOOK1.TXT", {"Soup"}, {2026, 5, 1, 8, 0, 0}) &&
                 drinks::deleteDrink(folder, "Sour", {2026, 5, 2, 9, 15, 0}) &&
                 store::deleteRecipe(folder, "BOOK2.TXT", {"Pie"}, {2026, 5, 3, 22, 7, 0});
    }

    gui::BinWindow* open()
    {
        auto* item = main().findChild<QAction*>(QStringLiteral("mnuPapperskorg"));
        if (!item || !seeded) return nullptr;
        item->trigger();
        window = windows().find<gui::BinWindow>(QStringLiteral("frmPapperskorg"));
        if (window) list = child<QTreeWidget>(window, QStringLiteral("lstDeleted"));
        return window;
    }
    QStringList rows() const
    {
        QStringList out;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const auto* item = list->topLevelItem(i);
            out << item->text(0) + " | " + item->text(1) + " | " + item->text(2);
        }
        return out;
    }
    void putBack(int row)
    {
        list->setCurrentItem(list->topLevelItem(row));
        testing::clickButton(window, QStringLiteral("cmdPutBack"));
    }
    QStringList messages() const
    {
        QStringList out;
        for (const auto& m : fakes.prompter.messages) out << testing::messageShape(m);
        return out;
    }

    bool seeded = false;
    gui::BinWindow* window = nullptr;
    QTreeWidget* list = nullptr;
};

}  // namespace

class BinWindowTest : public QObject {
    Q_OBJECT
private slots:
    void theCookbookMenuOpensTheNewestFirst()
    {
        Bin b;
        b.start(true);
        auto* item = b.main().findChild<QAction*>(QStringLiteral("mnuPapperskorg"));
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("Recently &deleted\u2026"));
        QVERIFY(b.main().findChild<QMenu*>(QStringLiteral("mnurecept"))->actions().contains(item));
        QVERIFY(b.open());
        QCOMPARE(b.window->windowTitle(), QStringLiteral("Recently deleted"));
        QCOMPARE(b.rows(), (QStringList{"Pie | Baking | 2026-05-03 22:07",
                                        "Sour | Drinks | 2026-05-02 09:15",
                                        "Soup | Standard | 2026-05-01 08:00"}));
        auto* putBack = child<QPushButton>(b.window, QStringLiteral("cmdPutBack"));
        QCOMPARE(putBack->text(), QStringLiteral("Put back"));
        QVERIFY(putBack->isDefault());
        auto* label = child<QLabel>(b.window, QStringLiteral("Label1"));
        QCOMPARE(label->text(), QStringLiteral("Deleted recipes and drinks, the newest first:"));
        // Emptied, the window says what it is for, and there is nothing to put back.
        for (int i = 0; i < 3; ++i) b.putBack(0);
        QCOMPARE(b.list->topLevelItemCount(), 0);
        QVERIFY(label->text().startsWith(QStringLiteral("Nothing has been deleted yet.")));
        QVERIFY(!putBack->isEnabled());
        QCOMPARE(child<QPushButton>(b.window, QStringLiteral("cmdClose"))->text(),
                 QStringLiteral("Close"));
        QVERIFY(!b.list->accessibleName().isEmpty());
        b.window->findChild<QPushButton*>(QStringLiteral("cmdClose"))->click();
        QVERIFY(!b.windows().find(QStringLiteral("frmPapperskorg")));
    }

    void putBackNumbersATakenNameAndRefreshesTheBrowser()
    {
        Bin b;
        b.start(true);
        b.dir.write("BOOK1.TXT", kPie + kSoup);  // a new "Soup" took the name
        auto* browser =
            qobject_cast<gui::RecipeBrowser*>(b.windows().open(QStringLiteral("recept")));
        QVERIFY(browser);
        QVERIFY(b.open());
        b.putBack(2);
        QCOMPARE(b.messages(),
                 QStringList{infoShape("Put back", "\"Soup\" was put back into \"Standard\" as "
                                                   "\"Soup (2)\", because the name was taken.")});
        const std::string book = b.dir.read("BOOK1.TXT");
        QCOMPARE(store::listNames(book), (std::vector<std::string>{"Pie", "Soup", "Soup (2)"}));
        QCOMPARE(b.rows(), (QStringList{"Pie | Baking | 2026-05-03 22:07",
                                        "Sour | Drinks | 2026-05-02 09:15"}));
        auto* shown = b.windows().find<gui::RecipeBrowser>(QStringLiteral("recept"));
        QVERIFY(shown);
        bool listed = false;
        for (const auto& entry : shown->sortedList()) listed = listed || entry.text == "Soup (2)";
        QVERIFY(listed);

        // The drink goes back into the drinks under its own name, without a word.
        b.putBack(1);
        QCOMPARE(b.messages().size(), 1);
        QCOMPARE(drinks::listDrinks(b.dir.read("drinkar.txt")).names,
                 std::vector<std::string>{"Sour"});
        QCOMPARE(b.rows(), QStringList{"Pie | Baking | 2026-05-03 22:07"});
    }

    void aDeleteTheUserChoseGoesToTheBinAndTheEndOfAMoveDoesNot()
    {
        Bin b;
        b.dir.write("BOOK1.TXT", kSoup + kPie + kSoup);
        b.start(true);
        b.fakes.clock.time = QDateTime(QDate(2026, 6, 1), QTime(7, 45, 30));
        b.fakes.prompter.answers = {gui::Answer::Yes};
        QVERIFY(gui::DeleteRecipe(b.app(), store::RecordKey{"Soup", 1}, -1));
        QVERIFY(gui::DeleteRecipe(b.app(), store::RecordKey{"Pie"}, -1,
                                  gui::DeleteFlag::NoQuestion));
        QCOMPARE(store::listNames(b.dir.read("BOOK1.TXT")), std::vector<std::string>{"Soup"});
        QVERIFY(b.open());
        QCOMPARE(b.rows().first(), QStringLiteral("Soup | Standard | 2026-06-01 07:45"));
        QCOMPARE(b.rows().size(), 4);
    }

    void aCookbookNoLongerListedIsRefusedAndTheEntryStays()
    {
        Bin b;
        b.dir.write("bocker.txt", crlf({"Standard", "BOOK1.TXT"}));
        b.start(true);
        QVERIFY(b.open());
        const std::string bin = b.dir.read("papperskorg.txt");
        b.putBack(0);
        QCOMPARE(b.messages(),
                 QStringList{infoShape(
                     "Error",
                     "The recipe \"Pie\" came from the cookbook \"Baking\" (BOOK2.TXT), which is "
                     "no longer in the list of cookbooks, so it cannot go back there. Add that "
                     "cookbook again under its file name, then put the recipe back.",
                     "Exclamation")});
        QCOMPARE(b.dir.read("papperskorg.txt"), bin);
        QCOMPARE(b.rows().size(), 3);
    }
};

QTEST_MAIN(BinWindowTest)
#include "bin_window_test.moc"
