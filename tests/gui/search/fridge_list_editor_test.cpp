// The Fridge-list editor "listan" ("The refrigerator index") over a temporary data folder: the
// sorted list and its count, adding in lower case, deleting, and "&Ok" writing the sorted list.

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <optional>
#include <string>

#include "gui/app/main_window.h"
#include "gui/search/fridge_list_editor.h"
#include "support/gui_fixture.h"
#include "support/gui_helpers.h"

using namespace culvora;
using culvora::testing::child;
using culvora::testing::crlf;
using culvora::testing::itemTexts;

namespace {

struct Editor : testing::GuiFixture {
    explicit Editor(const std::optional<std::string>& sok = crlf({"milk", "Garlic", "\xE4gg",
                                                                  "flour", "vanilla", "wine"}))
    {
        writeDefaultFiles();
        if (sok) dir.write("sok.txt", *sok);
        start(true);
        QApplication::setActiveWindow(&main());
        auto* item = main().findChild<QAction*>(QStringLiteral("mnuadd"));
        if (!item) return;
        item->trigger();
        window = windows().find<gui::FridgeListEditor>(QStringLiteral("listan"));
        if (!window) return;
        list = child<QListWidget>(window, QStringLiteral("List1"));
        word = child<QLineEdit>(window, QStringLiteral("Text1"));
    }

    void click(const char* button) { testing::clickButton(window, QLatin1String(button)); }
    void add(const QString& text)
    {
        word->setText(text);
        click("Command1");
    }
    QString count() const { return child<QLabel>(window, QStringLiteral("Label3"))->text(); }

    gui::FridgeListEditor* window = nullptr;
    QListWidget* list = nullptr;
    QLineEdit* word = nullptr;
};

}  // namespace

class FridgeListEditorTest : public QObject {
    Q_OBJECT
private slots:
    void theMenuItemOpensTheSortedListWithItsCount()
    {
        Editor e;
        QVERIFY(e.window);
        QCOMPARE(e.window->windowTitle(), QStringLiteral("The refrigerator index"));
        // The program's order: W with V, Ä after Z; as read, not lower-cased.
        QCOMPARE(itemTexts(e.list), (QStringList{"flour", "Garlic", "milk", "vanilla", "wine",
                                                 QStringLiteral("\u00E4gg")}));
        QCOMPARE(e.count(), QStringLiteral("6"));
        for (auto [name, caption] :
             {std::pair{"Label1", "Add ingredient:"}, {"label4", "Number of ingredients:"}}) {
            QCOMPARE(child<QLabel>(e.window, QLatin1String(name))->text(), QLatin1String(caption));
        }
        for (auto [name, caption] : {std::pair{"Command1", "&Add"},
                                     {"Command2", "&Delete"},
                                     {"Command3", "&Ok"},
                                     {"Command4", "&Cancel"}}) {
            QCOMPARE(child<QPushButton>(e.window, QLatin1String(name))->text(),
                     QLatin1String(caption));
        }
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(e.word));
    }

    void addStoresTheWordInLowerCaseWithoutTrimming()
    {
        Editor e(crlf({"milk"}));
        e.add(QStringLiteral("Garlic"));
        QCOMPARE(itemTexts(e.list), (QStringList{"garlic", "milk"}));
        QCOMPARE(e.word->text(), QString());
        QCOMPARE(e.count(), QStringLiteral("2"));
        // No duplicate check: twice is twice, and the count shows both.
        e.add(QStringLiteral("garlic"));
        QCOMPARE(itemTexts(e.list), (QStringList{"garlic", "garlic", "milk"}));
        QCOMPARE(e.count(), QStringLiteral("3"));
        e.add(QStringLiteral(" \u00C4PPLE "));
        QCOMPARE(itemTexts(e.list).front(), QStringLiteral(" \u00E4pple "));
        // An empty box adds nothing.
        e.add(QString());
        QCOMPARE(e.list->count(), 4);
        QVERIFY(e.fakes.prompter.messages.isEmpty());
        QCOMPARE(e.dir.read("sok.txt"), crlf({"milk"}));  // nothing written before "&Ok"
    }

    void aWordTheFileCannotHoldIsRefused()
    {
        Editor e(crlf({"milk"}));
        e.add(QStringLiteral("caf\u00E9 \u2615"));
        QCOMPARE(e.fakes.prompter.messages.size(), 1);
        QCOMPARE(e.fakes.prompter.last().title, QStringLiteral("Error"));
        QVERIFY(e.fakes.prompter.last().text.contains(QStringLiteral("\u2615")));
        QCOMPARE(itemTexts(e.list), QStringList{"milk"});
        QCOMPARE(e.word->text(), QStringLiteral("caf\u00E9 \u2615"));  // left to be corrected
    }

    void enterInTheBoxAdds()
    {
        Editor e(crlf({"milk"}));
        e.word->setFocus();
        auto* add = child<QPushButton>(e.window, QStringLiteral("Command1"));
        auto* ok = child<QPushButton>(e.window, QStringLiteral("Command3"));
        QVERIFY(add->isDefault());
        QVERIFY(!ok->isDefault());
        QTest::keyClicks(e.word, QStringLiteral("Leek"));
        QTest::keyClick(e.word, Qt::Key_Return);
        QCOMPARE(itemTexts(e.list), (QStringList{"leek", "milk"}));
        QVERIFY(e.windows().isOpen(QStringLiteral("listan")));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(e.word));
        QCOMPARE(e.dir.read("sok.txt"), crlf({"milk"}));
        // In the list, Enter is "&Ok".
        e.list->setFocus();
        QVERIFY(ok->isDefault());
        QVERIFY(!add->isDefault());
        QTest::keyClick(e.list, Qt::Key_Return);
        QVERIFY(!e.windows().isOpen(QStringLiteral("listan")));
        QCOMPARE(e.dir.read("sok.txt"), crlf({"leek", "milk"}));
    }

    void deleteBeepsWithoutASelection()
    {
        Editor e(crlf({"milk", "flour", "eggs"}));
        e.list->clearSelection();
        e.list->setCurrentItem(nullptr);
        e.click("Command2");
        QCOMPARE(e.fakes.prompter.beeps, 1);
        QCOMPARE(e.list->count(), 3);
        QVERIFY(e.fakes.prompter.messages.isEmpty());

        testing::selectItem(e.list, QStringLiteral("flour"));
        e.click("Command2");
        QCOMPARE(itemTexts(e.list), (QStringList{"eggs", "milk"}));
        QCOMPARE(e.count(), QStringLiteral("2"));
        QCOMPARE(e.fakes.prompter.beeps, 1);
        // Its neighbour is selected now; the Delete key deletes too.
        QCOMPARE(testing::selectedText(e.list), QStringLiteral("milk"));
        e.list->setFocus();
        QTest::keyClick(e.list, Qt::Key_Delete);
        QCOMPARE(itemTexts(e.list), QStringList{"eggs"});
        QCOMPARE(e.count(), QStringLiteral("1"));
        QCOMPARE(e.dir.read("sok.txt"), crlf({"milk", "flour", "eggs"}));
    }

    void okWritesTheSortedList()
    {
        // As the New ingredients dialog leaves it: words appended at the end.
        Editor e(crlf({"flour", "milk", "zucchini", "bacon", "Wok", "\xF6l", "apple"}));
        e.add(QStringLiteral("Cumin"));
        testing::selectItem(e.list, QStringLiteral("zucchini"));
        e.click("Command2");
        e.click("Command3");
        QCOMPARE(e.dir.read("sok.txt"),
                 crlf({"apple", "bacon", "cumin", "flour", "milk", "Wok", "\xF6l"}));
        QVERIFY(!e.dir.exists("sok.tmp"));
        QVERIFY(!e.windows().isOpen(QStringLiteral("listan")));
        QVERIFY(e.fakes.prompter.messages.isEmpty());
    }

    void cancelAndEscapeKeepTheFile()
    {
        const std::string sok = crlf({"milk", "flour"});
        Editor e(sok);
        e.add(QStringLiteral("leek"));
        e.click("Command4");
        QVERIFY(!e.windows().isOpen(QStringLiteral("listan")));
        QCOMPARE(e.dir.read("sok.txt"), sok);

        e.windows().open(QStringLiteral("listan"));
        auto* again = e.windows().find<gui::FridgeListEditor>(QStringLiteral("listan"));
        QVERIFY(again);
        child<QLineEdit>(again, QStringLiteral("Text1"))->setText(QStringLiteral("leek"));
        testing::clickButton(again, QStringLiteral("Command1"));
        // Escape asks first, as every way of closing with changes does; Discard lets them go.
        e.fakes.prompter.answers = {gui::Answer::Discard};
        QTest::keyClick(child<QListWidget>(again, QStringLiteral("List1")), Qt::Key_Escape);
        QCOMPARE(e.fakes.prompter.messages.size(), 1);
        QCOMPARE(e.fakes.prompter.last().text, QStringLiteral("Save changes to the Fridge list?"));
        QVERIFY(!e.windows().isOpen(QStringLiteral("listan")));
        QCOMPARE(e.dir.read("sok.txt"), sok);
    }

    void aMissingFileIsAnEmptyListAndOkCreatesIt()
    {
        Editor e(std::nullopt);
        QVERIFY(e.window);
        QCOMPARE(e.list->count(), 0);
        QCOMPARE(e.count(), QStringLiteral("0"));
        QVERIFY(e.fakes.prompter.messages.isEmpty());
        e.add(QStringLiteral("Salt"));
        e.click("Command3");
        QCOMPARE(e.dir.read("sok.txt"), crlf({"salt"}));

        // An empty list writes an empty file.
        Editor empty(crlf({"salt"}));
        testing::selectItem(empty.list, QStringLiteral("salt"));
        empty.click("Command2");
        empty.click("Command3");
        QVERIFY(empty.dir.exists("sok.txt"));
        QCOMPARE(empty.dir.read("sok.txt"), std::string());
    }
};

QTEST_MAIN(FridgeListEditorTest)
#include "fridge_list_editor_test.moc"
