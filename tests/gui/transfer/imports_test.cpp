#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <string>

#include "gui/transfer/imports.h"
#include "support/gui_fixture.h"
#include "support/gui_helpers.h"
#include "support/records.h"

using namespace culvora;
using culvora::testing::child;
using culvora::testing::clickButton;
using culvora::testing::cookbook;
using culvora::testing::crlf;
using culvora::testing::infoShape;
using culvora::testing::messageShape;
using culvora::testing::record;

namespace {

// Recipes of the plainest shape: ten hyphens, "Yield:", one column of
// ingredients ended by the first empty line, "-----".
const std::string kTwoRecipes = crlf({"---------- Recipe via Meal-Master (tm) v8.05",
                                      "      Title: APPLE PIE",
                                      " Categories: Desserts",
                                      "      Yield: 8 servings",
                                      "",
                                      "      6    apples",
                                      "      1    pastry",
                                      "",
                                      "Peel and bake.",
                                      "-----",
                                      "",
                                      "---------- Recipe via Meal-Master (tm) v8.05",
                                      "      Title: Pancakes",
                                      "      Yield: 4 servings",
                                      "",
                                      "      3 dl milk",
                                      "",
                                      "Whisk.",
                                      "Fry.",
                                      "-----"});

const std::string kTwoRecords = cookbook({
    {.name = "Apple pie",
     .servings = "8",
     .time = "0",
     .ingredients = {"6    apples", "1    pastry", ""},
     .steps = {"Peel and bake."},
     .type = "Imported"},
    {.name = "Pancakes",
     .servings = "4",
     .time = "0",
     .ingredients = {"3 dl milk", ""},
     .steps = {"Whisk.", "Fry."},
     .type = "Imported"},
});

const std::string kSoup = record({.name = "Soup",
                                  .servings = "4",
                                  .time = "30",
                                  .ingredients = {"Water"},
                                  .steps = {"Boil."},
                                  .type = "Hot dish"});

// Two cookbooks: "Standard" (BOOK1.TXT, current, holding Soup) and "Soppor" (BOOK2.TXT).
struct Imports : testing::GuiFixture {
    Imports()
    {
        writeDefaultFiles();
        dir.write("bocker.txt", crlf({"Standard", "BOOK1.TXT", "Soppor", "BOOK2.TXT"}));
        dir.write("BOOK1.TXT", kSoup);
        dir.write("BOOK2.TXT", "");
        state.currentCookbookFile = "BOOK1.TXT";
        start(true);
    }

    QString path(const char* name) { return QString::fromStdString(dir.file(name).string()); }

    // "&Import from Meal Master..." as the user goes through it: the chooser, a cookbook, "Import",
    // and Timer1 running the import once the chooser has closed.
    void importThroughTheChooser(const QString& book)
    {
        main().findChild<QAction*>(QStringLiteral("mnuImport"))->trigger();
        QWidget* chooser = windows().find(QStringLiteral("frmWhere"));
        QVERIFY(chooser);
        auto* combo = child<QComboBox>(chooser, QStringLiteral("Combo1"));
        combo->setCurrentIndex(combo->findText(book));
        clickButton(chooser, QStringLiteral("Command1"));
        QVERIFY(gui::mealMasterTimer(app())->isActive());
        QTRY_VERIFY(!gui::mealMasterTimer(app())->isActive());
        // Whatever happened, the busy pointer is gone again.
        QVERIFY(!QApplication::overrideCursor());
    }

    QStringList shapes()
    {
        QStringList all;
        for (const auto& m : fakes.prompter.messages) all << messageShape(m);
        return all;
    }
};

}  // namespace

class ImportsTest : public QObject {
    Q_OBJECT
private slots:
    void importsIntoTheChosenCookbookAndSaysHowMany()
    {
        Imports f;
        f.dir.write("mm.txt", kTwoRecipes);
        f.fakes.prompter.fileNames = {f.path("mm.txt")};
        f.importThroughTheChooser(QStringLiteral("Soppor"));

        QCOMPARE(f.fakes.prompter.fileDialogTitles, QStringList{"Import recipes"});
        QCOMPARE(f.fakes.prompter.fileDialogFilters,
                 QStringList{"Meal Master ASCII (*);;All files (*)"});
        // The encoding is chosen in the same step, "Detect" first.
        QCOMPARE(f.fakes.prompter.fileChoiceOffers.size(), 1);
        QCOMPARE(f.fakes.prompter.fileChoiceOffers[0].options,
                 (QStringList{"Detect", "UTF-8", "DOS (code page 850)", "Windows-1252"}));
        QCOMPARE(f.fakes.prompter.fileChoiceOffers[0].chosen, 0);

        QCOMPARE(f.dir.read("BOOK2.TXT"), kTwoRecords);
        QCOMPARE(f.dir.read("BOOK1.TXT"), kSoup);  // the current cookbook stays as it was
        QCOMPARE(f.shapes(), QStringList{infoShape("Ok", "2 recipes imported.", "Information")});
    }

    void aRecipeThatCannotBeReadWholeIsReportedAfterTheCount()
    {
        Imports f;
        // The second recipe is cut off by the end of the file.
        f.dir.write("mm.txt", kTwoRecipes.substr(0, kTwoRecipes.find("Whisk.")));
        f.fakes.prompter.fileNames = {f.path("mm.txt")};
        f.importThroughTheChooser(QStringLiteral("Soppor"));

        QCOMPARE(f.dir.read("BOOK2.TXT"), kTwoRecords.substr(0, kTwoRecords.find("[NAMN]", 1)));
        QCOMPARE(f.fakes.prompter.messages.size(), 2);
        QCOMPARE(messageShape(f.fakes.prompter.messages[0]),
                 infoShape("Ok", "1 recipes imported.", "Information"));
        const auto& skipped = f.fakes.prompter.messages[1];
        QCOMPARE(skipped.title, QStringLiteral("Import"));
        QVERIFY2(
            skipped.text.startsWith(QStringLiteral("1 recipe was not imported:\n\"Pancakes\": ")),
            qPrintable(skipped.text));
    }

    void theEncodingChosenBesideTheFileReadsTheText_data()
    {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QByteArray>("stored");
        // 0xF8 is the degree sign in the DOS code page and "ø" in Windows-1252.
        QTest::newRow("detect") << 0
                                << QByteArray("350 \xB0"
                                              "F");
        QTest::newRow("dos") << 2
                             << QByteArray("350 \xB0"
                                           "F");
        QTest::newRow("windows") << 3
                                 << QByteArray("350 \xF8"
                                               "F");
    }
    void theEncodingChosenBesideTheFileReadsTheText()
    {
        QFETCH(int, choice);
        QFETCH(QByteArray, stored);
        Imports f;
        std::string file = kTwoRecipes;
        file.replace(file.find("Peel and bake."), 14,
                     "350 \xF8"
                     "F");
        f.dir.write("mm.txt", file);
        f.fakes.prompter.fileNames = {f.path("mm.txt")};
        f.fakes.prompter.fileChoices = {choice};
        f.importThroughTheChooser(QStringLiteral("Standard"));
        const std::string book = f.dir.read("BOOK1.TXT");
        QVERIFY2(book.find("[G\xD6RA]\r\n" + stored.toStdString() + "\r\n") != std::string::npos,
                 book.c_str());
    }

    void whatIsNotImportedIsSaidAndNothingIsWritten_data()
    {
        QTest::addColumn<QString>("file");  // "" cancels the dialog
        QTest::addColumn<std::string>("content");
        QTest::addColumn<QString>("shape");  // "" for no message at all
        QTest::newRow("cancelled") << "" << std::string() << "";
        QTest::newRow("not meal-master")
            << "letter.txt" << crlf({"Dear Anna,", "the recipe follows.", "-----"})
            << infoShape("Error", "Sorry, not a Meal Master document!", "Exclamation");
        QTest::newRow("empty file")
            << "empty.txt" << std::string()
            << infoShape("Error", "Sorry, not a Meal Master document!", "Exclamation");
    }
    void whatIsNotImportedIsSaidAndNothingIsWritten()
    {
        QFETCH(QString, file);
        QFETCH(std::string, content);
        QFETCH(QString, shape);
        Imports f;
        if (!file.isEmpty()) {
            f.dir.write(file.toStdString(), content);
            f.fakes.prompter.fileNames = {f.path(file.toLatin1().constData())};
        }
        f.importThroughTheChooser(QStringLiteral("Soppor"));
        QCOMPARE(f.fakes.prompter.fileDialogTitles, QStringList{"Import recipes"});
        QCOMPARE(f.shapes(), shape.isEmpty() ? QStringList() : QStringList{shape});
        QCOMPARE(f.dir.read("BOOK2.TXT"), std::string());
        QCOMPARE(f.dir.read("BOOK1.TXT"), kSoup);
    }

    void aFailureIsShownNotSwallowed()
    {
        // Ending in silence would leave the user believing the recipes came in.
        Imports f;
        f.dir.write("mm.txt", kTwoRecipes);
        f.fakes.prompter.fileNames = {f.path("gone.txt"), f.path("mm.txt")};
        f.importThroughTheChooser(QStringLiteral("Soppor"));
        // A cookbook whose file is not in the list of cookbooks any more.
        f.dir.write("bocker.txt", crlf({"Standard", "BOOK1.TXT"}));
        f.state.targetBookTitle = "Soppor";
        gui::mealMasterTimer(f.app())->start();
        QTRY_VERIFY(!gui::mealMasterTimer(f.app())->isActive());

        QCOMPARE(f.fakes.prompter.messages.size(), 2);
        for (const auto& m : f.fakes.prompter.messages) {
            QCOMPARE(m.title, QStringLiteral("Error"));
            QVERIFY(!m.text.isEmpty());
        }
        QVERIFY2(f.fakes.prompter.messages[0].text.contains(QStringLiteral("gone.txt")),
                 qPrintable(f.fakes.prompter.messages[0].text));
        QVERIFY2(f.fakes.prompter.messages[1].text.contains(QStringLiteral("Soppor")),
                 qPrintable(f.fakes.prompter.messages[1].text));
        QCOMPARE(f.dir.read("BOOK2.TXT"), std::string());
        QCOMPARE(f.dir.read("BOOK1.TXT"), kSoup);
    }

    void importCookbookAppendsTheChosenFilesRecords_data()
    {
        QTest::addColumn<std::string>("book");
        QTest::addColumn<std::string>("chosen");
        QTest::addColumn<std::string>("after");
        const std::string two = kSoup + record({.name = "Stew",
                                                .servings = "2",
                                                .time = "90",
                                                .ingredients = {"Beef"},
                                                .steps = {"Simmer."},
                                                .type = "Hot dish"});
        const std::string porridge = record({.name = "Porridge",
                                             .servings = "1",
                                             .time = "10",
                                             .ingredients = {"Oats"},
                                             .steps = {"Boil."},
                                             .type = "Brunch"});
        QTest::newRow("after a last type line") << porridge << two << porridge + two;
        // A cookbook that ends with a lone "[NAMN]" does not get a second one.
        QTest::newRow("lone tag") << crlf({"[NAMN]"}) << two << two;
        QTest::newRow("empty cookbook") << std::string() << two << two;
    }
    void importCookbookAppendsTheChosenFilesRecords()
    {
        QFETCH(std::string, book);
        QFETCH(std::string, chosen);
        QFETCH(std::string, after);
        Imports f;
        f.dir.write("BOOK1.TXT", book);
        f.dir.write("friends.tvx", chosen);
        f.fakes.prompter.fileNames = {f.path("friends.tvx")};
        f.main().findChild<QAction*>(QStringLiteral("mnu4"))->trigger();

        QCOMPARE(f.fakes.prompter.fileDialogTitles, QStringList{"Import recipes"});
        QCOMPARE(f.fakes.prompter.fileDialogFilters, QStringList{"Tavendi (*.tvx);;All files (*)"});
        QCOMPARE(f.dir.read("BOOK1.TXT"), after);
        QCOMPARE(f.dir.read("BOOK2.TXT"), std::string());
        QVERIFY(f.fakes.prompter.messages.isEmpty());
        QVERIFY(!QApplication::overrideCursor());
    }

    void importingTheCurrentCookbookIntoItselfDoublesIt()
    {
        Imports f;
        f.fakes.prompter.fileNames = {f.path("BOOK1.TXT")};
        f.main().findChild<QAction*>(QStringLiteral("mnu4"))->trigger();
        // Every name is taken by its own original: the copies are numbered, and that is said.
        std::string copy = kSoup;
        copy.replace(copy.find("Soup"), 4, "Soup (2)");
        QCOMPARE(f.dir.read("BOOK1.TXT"), kSoup + copy);
        QCOMPARE(f.shapes(),
                 QStringList{infoShape("Ok",
                                       "1 recipes imported. 1 recipe had a name that was taken "
                                       "and was given a numbered name, \"Soup (2)\".",
                                       "Information")});
    }

    // A record that could not have been typed in (an escape sequence in its name) stays out;
    // the others come in, and a message names what was left out.
    void importCookbookLeavesOutAndNamesWhatCouldNotBeAddedByHand()
    {
        Imports f;
        const std::string stew = crlf({"[NAMN]", "Stew", "[PORTIONER]", "2", "[TID]", "90",
                                       "[IND]", "Beef", "[G\xD6RA]", "Simmer.", "[TYP]", "Hot dish"});
        f.dir.write("friends.tvx",
                    crlf({"[NAMN]", "Evil\x1B[2J", "[PORTIONER]", "1", "[TID]", "1", "[IND]",
                          "[G\xD6RA]", "[TYP]", "Soups"}) +
                        stew);
        f.fakes.prompter.fileNames = {f.path("friends.tvx")};
        f.main().findChild<QAction*>(QStringLiteral("mnu4"))->trigger();
        QCOMPARE(f.dir.read("BOOK1.TXT"), kSoup + stew);
        QCOMPARE(f.shapes(),
                 QStringList{infoShape("Import",
                                       "1 recipe was not imported:\n\"Evil\\x1B[2J\": its name "
                                       "holds the control character 0x1B, which a recipe cannot "
                                       "hold.",
                                       "Exclamation")});
    }

    void importCookbookRefusesWhatIsNotACookbook_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("shape");
        QTest::newRow("cancelled") << ""
                                   << "";
        QTest::newRow("first line empty")
            << "notes.tvx" << infoShape("Fel", "Not a Culvora-file", "Exclamation");
    }
    void importCookbookRefusesWhatIsNotACookbook()
    {
        QFETCH(QString, file);
        QFETCH(QString, shape);
        Imports f;
        f.dir.write("notes.tvx", "\r\n" + kSoup);
        if (!file.isEmpty()) f.fakes.prompter.fileNames = {f.path("notes.tvx")};
        f.main().findChild<QAction*>(QStringLiteral("mnu4"))->trigger();
        QCOMPARE(f.shapes(), shape.isEmpty() ? QStringList() : QStringList{shape});
        QCOMPARE(f.dir.read("BOOK1.TXT"), kSoup);
    }

    void importCookbookShowsOtherFailures()
    {
        Imports f;
        f.fakes.prompter.fileNames = {f.path("nowhere.tvx")};
        f.main().findChild<QAction*>(QStringLiteral("mnu4"))->trigger();
        QCOMPARE(f.fakes.prompter.messages.size(), 1);
        QCOMPARE(f.fakes.prompter.last().title, QStringLiteral("Error"));
        QVERIFY2(f.fakes.prompter.last().text.contains(QStringLiteral("nowhere.tvx")),
                 qPrintable(f.fakes.prompter.last().text));
        QCOMPARE(f.dir.read("BOOK1.TXT"), kSoup);
    }
};

QTEST_MAIN(ImportsTest)
#include "imports_test.moc"
