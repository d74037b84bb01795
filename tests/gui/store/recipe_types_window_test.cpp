#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "gui/app/main_window.h"
#include "gui/store/recipe_types_window.h"
#include "support/gui_fixture.h"
#include "support/gui_helpers.h"

using namespace culvora;
using culvora::testing::child;
using culvora::testing::crlf;
using culvora::testing::itemTexts;

namespace {

const std::string kOriginals =
    crlf({"Accessories", "Desserts", "First Course", "Hot dish", "Imported"});

struct Types : testing::GuiFixture {
    explicit Types(const std::optional<std::string>& typer = kOriginals)
    {
        writeDefaultFiles();
        if (typer)
            dir.write("typer.txt", *typer);
        else
            std::filesystem::remove(dir.file("typer.txt"));
        start(true);
        window = windows().open(QStringLiteral("nytyp"));
        list = child<QListWidget>(window, QStringLiteral("List1"));
        name = child<QLineEdit>(window, QStringLiteral("Text1"));
    }

    void click(const char* button) { testing::clickButton(window, QLatin1String(button)); }
    void add(const QString& text)
    {
        name->setText(text);
        click("Command1");
    }

    QWidget* window = nullptr;
    QListWidget* list = nullptr;
    QLineEdit* name = nullptr;
};

}  // namespace

class RecipeTypesWindowTest : public QObject {
    Q_OBJECT
private slots:
    void optionsMenuOpensTheSortedListAndDisablesTheCookbookMenu()
    {
        testing::GuiFixture f;
        f.writeDefaultFiles();
        f.dir.write("typer.txt",
                    crlf({"Wok", "Imported", "\xD6l", "soups", "Accessories", "Vilt"}));
        f.start(true);
        auto* item = f.main().findChild<QAction*>(QStringLiteral("mnuOptionsTypes"));
        QVERIFY(item);
        item->trigger();
        auto* window = f.windows().find<gui::RecipeTypesWindow>(QStringLiteral("nytyp"));
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("Types of recipes"));
        QCOMPARE(itemTexts(child<QListWidget>(window, QStringLiteral("List1"))),
                 (QStringList{"Accessories", "Imported", "soups", "Vilt", "Wok", "Öl"}));
        for (auto [button, caption] : {std::pair{"Command1", "Add"},
                                       {"Command4", "Delete"},
                                       {"Command2", "Ok"},
                                       {"Command3", "Cancel"}}) {
            QCOMPARE(child<QPushButton>(window, QLatin1String(button))->text(),
                     QLatin1String(caption));
        }
        QVERIFY(!f.main().cookbookMenuEnabled());
        child<QPushButton>(window, QStringLiteral("Command3"))->click();
        QVERIFY(f.main().cookbookMenuEnabled());
    }

    void addedNamesAreWrittenInTheirPlaceOnOk()
    {
        Types f;
        f.add(QStringLiteral("Bröd"));
        f.add(QStringLiteral("Soppor"));
        f.add(QStringLiteral("Soppor"));  // twice is twice
        const QStringList added{"Accessories", "Bröd",     "Desserts", "First Course",
                                "Hot dish",    "Imported", "Soppor",   "Soppor"};
        QCOMPARE(itemTexts(f.list), added);
        f.add(QString());  // an empty box: nothing to add, and nothing to say about it
        QCOMPARE(itemTexts(f.list), added);
        QVERIFY(f.fakes.prompter.messages.isEmpty());
        QCOMPARE(f.dir.read("typer.txt"), kOriginals);  // nothing written before "Ok"

        f.click("Command2");
        QCOMPARE(f.dir.read("typer.txt"),
                 crlf({"Accessories",
                       "Br\xF6"
                       "d",
                       "Desserts", "First Course", "Hot dish", "Imported", "Soppor", "Soppor"}));
        QVERIFY(!f.dir.exists("typer.tmp"));
        QVERIFY(!f.windows().isOpen(QStringLiteral("nytyp")));
        QVERIFY(f.fakes.prompter.messages.isEmpty());
    }

    void enterInTheTextBoxAdds()
    {
        Types f;
        QApplication::setActiveWindow(&f.main());
        f.name->setFocus();
        auto* add = child<QPushButton>(f.window, QStringLiteral("Command1"));
        QVERIFY(add->isDefault());
        QVERIFY(!child<QPushButton>(f.window, QStringLiteral("Command2"))->isDefault());
        QTest::keyClicks(f.name, QStringLiteral("Grill"));
        QTest::keyClick(f.name, Qt::Key_Return);
        QCOMPARE(itemTexts(f.list).count(QStringLiteral("Grill")), 1);
        QVERIFY(f.windows().isOpen(QStringLiteral("nytyp")));
        QCOMPARE(f.dir.read("typer.txt"), kOriginals);
    }

    void theOriginalTypesCannotBeDeleted()
    {
        Types f(kOriginals + crlf({"desserts"}));
        testing::selectItem(f.list, QStringLiteral("Desserts"));
        f.click("Command4");
        QCOMPARE(f.fakes.prompter.messages.size(), 1);
        const auto& m = f.fakes.prompter.last();
        QCOMPARE(m.text, QStringLiteral("Cannot delete the original types."));
        QCOMPARE(m.title, QStringLiteral("Error"));
        QCOMPARE(m.icon, gui::MessageIcon::None);
        QCOMPARE(m.buttons, gui::MessageButtons::Ok);
        QCOMPARE(m.defaultButton, gui::Answer::Ok);
        QCOMPARE(f.list->count(), 6);

        testing::selectItem(f.list, QStringLiteral("desserts"));
        f.click("Command4");
        QCOMPARE(f.fakes.prompter.messages.size(), 1);
        QCOMPARE(itemTexts(f.list),
                 (QStringList{"Accessories", "Desserts", "First Course", "Hot dish", "Imported"}));

        f.list->clearSelection();
        f.click("Command4");  // nothing selected: nothing happens
        QCOMPARE(f.list->count(), 5);
        QCOMPARE(f.fakes.prompter.messages.size(), 1);

        f.click("Command2");
        QCOMPARE(f.dir.read("typer.txt"), kOriginals);
    }

    void cancelKeepsTheFile()
    {
        Types f;
        f.add(QStringLiteral("Grill"));
        f.click("Command3");
        QVERIFY(!f.windows().isOpen(QStringLiteral("nytyp")));
        QCOMPARE(f.dir.read("typer.txt"), kOriginals);
    }

    void aMissingOrEmptyFileGivesAnEmptyListAndOkWritesTheOriginals_data()
    {
        QTest::addColumn<bool>("missing");
        QTest::newRow("missing") << true;
        QTest::newRow("empty") << false;
    }
    void aMissingOrEmptyFileGivesAnEmptyListAndOkWritesTheOriginals()
    {
        QFETCH(bool, missing);
        Types f(missing ? std::nullopt : std::optional<std::string>(""));
        QCOMPARE(f.list->count(), 0);
        QVERIFY(f.fakes.prompter.messages.isEmpty());
        f.add(QStringLiteral("Grill"));
        f.click("Command2");
        QCOMPARE(f.dir.read("typer.txt"), crlf({"Accessories", "Desserts", "First Course", "Grill",
                                                "Hot dish", "Imported"}));
    }

    void aNameOfBlanksOrOfSeveralLinesIsRefused_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("one blank") << " "
                                   << "Please type the name of the type.";
        QTest::newRow("blanks") << "     "
                                << "Please type the name of the type.";
        QTest::newRow("a tab inside") << "Hot\tdish"
                                      << "The name of a type must be one line of text.";
    }
    void aNameOfBlanksOrOfSeveralLinesIsRefused()
    {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        Types f;
        f.add(typed);
        QCOMPARE(f.fakes.prompter.messages.size(), 1);
        QCOMPARE(testing::messageShape(f.fakes.prompter.last()),
                 testing::infoShape("Error", message));
        QCOMPARE(itemTexts(f.list),
                 (QStringList{"Accessories", "Desserts", "First Course", "Hot dish", "Imported"}));
        f.click("Command2");
        QCOMPARE(f.dir.read("typer.txt"), kOriginals);
    }

    void aNameTheFileCannotHoldIsRefused()
    {
        Types f;
        f.add(QStringLiteral("Pierogi z Łodzi"));
        QCOMPARE(f.fakes.prompter.messages.size(), 1);
        QCOMPARE(f.fakes.prompter.last().title, QStringLiteral("Error"));
        QVERIFY(f.fakes.prompter.last().text.contains(QStringLiteral("Ł")));
        QCOMPARE(f.list->count(), 5);
    }
};

QTEST_MAIN(RecipeTypesWindowTest)
#include "recipe_types_window_test.moc"
