#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QtTest>

#include <filesystem>

#include "gui/app/main_window.h"
#include "gui/store/cookbooks_dialog.h"
#include "gui/store/new_book_dialog.h"
#include "support/gui_fixture.h"
#include "support/gui_helpers.h"

using namespace culvora;
using culvora::testing::child;
using culvora::testing::crlf;
using culvora::testing::infoShape;
using culvora::testing::itemTexts;
using culvora::testing::messageShape;
using culvora::testing::selectedText;
using culvora::testing::selectItem;
using gui::Answer;
using gui::MessageButtons;
using gui::MessageIcon;

namespace {

const std::string kFourBooks = crlf({"Standard", "BOOK1.TXT", "Soppor", "BOOK2.TXT",
                                     "\xC5rets fest", "BOOK3.TXT", "bakning", "BOOK4.TXT"});

// Four cookbooks, the second one current.
struct Books : testing::GuiFixture {
    Books()
    {
        writeDefaultFiles();
        dir.write("bocker.txt", kFourBooks);
        dir.write("tavendi.ini", crlf({"BOOK2.TXT", "0"}));
        dir.write("BOOK2.TXT", crlf({"[NAMN]", "Pea soup"}));
        dir.write("BOOK3.TXT", "");
        dir.write("BOOK4.TXT", "");
        start(true);
    }

    gui::CookbooksDialog* openValj()
    {
        return qobject_cast<gui::CookbooksDialog*>(windows().open(QStringLiteral("Valj")));
    }
    bool isOpen(const char* name) { return windows().isOpen(QLatin1String(name)); }
};

}  // namespace

class CookbooksDialogTest : public QObject {
    Q_OBJECT
private slots:
    void menuOpensTheSortedListWithTheCurrentBookSelected()
    {
        Books f;
        auto* item = f.main().findChild<QAction*>(QStringLiteral("mnuvaljreceptbok"));
        QVERIFY(item);
        item->trigger();
        auto* valj = f.windows().find<gui::CookbooksDialog>(QStringLiteral("Valj"));
        QVERIFY(valj);
        QCOMPARE(valj->windowTitle(), QStringLiteral("Cookbooks"));
        auto* list = child<QListWidget>(valj, QStringLiteral("List1"));
        QCOMPARE(itemTexts(list), (QStringList{"bakning", "Soppor", "Standard", "Årets fest"}));
        QCOMPARE(selectedText(list), QStringLiteral("Soppor"));
        for (auto [name, caption] : {std::pair{"Command1", "&Use"},
                                     {"Command2", "&Delete"},
                                     {"Command3", "&Add new..."},
                                     {"Command5", "&Cancel"}}) {
            auto* button = child<QPushButton>(valj, QLatin1String(name));
            QVERIFY2(button, name);
            QCOMPARE(button->text(), QLatin1String(caption));
        }
    }

    void aCurrentBookThatIsNotListedLeavesTheLastTitleSelected()
    {
        Books f;
        f.state.currentCookbookFile = "GONE.TXT";
        auto* list = child<QListWidget>(f.openValj(), QStringLiteral("List1"));
        QCOMPARE(selectedText(list), QStringLiteral("Årets fest"));
    }

    void useMakesTheBookCurrentByButtonDoubleClickOrEnter_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("button") << 0;
        QTest::newRow("double click") << 1;
        QTest::newRow("enter") << 2;
    }
    void useMakesTheBookCurrentByButtonDoubleClickOrEnter()
    {
        QFETCH(int, how);
        Books f;
        auto* valj = f.openValj();
        auto* list = child<QListWidget>(valj, QStringLiteral("List1"));
        selectItem(list, QStringLiteral("Årets fest"));
        if (how == 0) {
            child<QPushButton>(valj, QStringLiteral("Command1"))->click();
        } else if (how == 1) {
            // An item view takes a double click only on the item the first click pressed.
            const QPoint at = list->visualItemRect(list->currentItem()).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        } else {
            QTest::keyClick(list, Qt::Key_Return);
        }
        QCOMPARE(f.dir.read("tavendi.ini"), crlf({"BOOK3.TXT", "0"}));
        QCOMPARE(f.state.currentCookbookFile, std::string("BOOK3.TXT"));
        QVERIFY(!f.isOpen("Valj"));
        QVERIFY(f.fakes.prompter.messages.isEmpty());
    }

    void useWithoutASelectionBeepsAndAsksForOne()
    {
        Books f;
        auto* valj = f.openValj();
        child<QListWidget>(valj, QStringLiteral("List1"))->clearSelection();
        child<QPushButton>(valj, QStringLiteral("Command1"))->click();
        QCOMPARE(f.fakes.prompter.beeps, 1);
        QCOMPARE(f.fakes.prompter.messages.size(), 1);
        QCOMPARE(messageShape(f.fakes.prompter.last()),
                 infoShape("Fel", "Du måste först välja en bok som Du ska öppna"));
        QCOMPARE(f.dir.read("tavendi.ini"), crlf({"BOOK2.TXT", "0"}));
        QVERIFY(f.isOpen("Valj"));
    }

    void useOnABookWhoseFileIsGoneSaysSoAndChangesNothing()
    {
        Books f;
        auto* valj = f.openValj();
        auto* list = child<QListWidget>(valj, QStringLiteral("List1"));
        // Gone while the dialog was open: the list still shows it.
        std::filesystem::remove(f.dir.file("BOOK3.TXT"));
        selectItem(list, QStringLiteral("Årets fest"));
        child<QPushButton>(valj, QStringLiteral("Command1"))->click();

        QCOMPARE(f.fakes.prompter.beeps, 1);
        QCOMPARE(f.fakes.prompter.messages.size(), 1);
        QVERIFY(f.fakes.prompter.last().text.startsWith(
            QStringLiteral("The cookbook file \"BOOK3.TXT\" could not be found")));
        QCOMPARE(messageShape(f.fakes.prompter.last()),
                 infoShape("Error",
                           QStringLiteral("The cookbook file \"BOOK3.TXT\" could not be found in "
                                          "%1. Please choose another cookbook, or delete this one "
                                          "from the list.")
                               .arg(QString::fromStdString(f.dir.path().string())),
                           "Exclamation"));
        QCOMPARE(f.state.currentCookbookFile, std::string("BOOK2.TXT"));
        QCOMPARE(f.dir.read("tavendi.ini"), crlf({"BOOK2.TXT", "0"}));
        QCOMPARE(f.dir.read("bocker.txt"), kFourBooks);
        QVERIFY(!f.dir.exists("BOOK3.TXT"));
        QVERIFY(f.isOpen("Valj"));
        QCOMPARE(itemTexts(list), (QStringList{"bakning", "Soppor", "Standard", "Årets fest"}));

        // Another title still works from the same dialog.
        selectItem(list, QStringLiteral("bakning"));
        child<QPushButton>(valj, QStringLiteral("Command1"))->click();
        QCOMPARE(f.state.currentCookbookFile, std::string("BOOK4.TXT"));
        QVERIFY(!f.isOpen("Valj"));
    }

    void deleteRefusesTheLastAndTheStandardBook_data()
    {
        QTest::addColumn<QByteArray>("bocker");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("expected");
        QTest::newRow("one book, not standard")
            << QByteArray::fromStdString(crlf({"Soppor", "BOOK2.TXT"})) << "Soppor"
            << infoShape("Error", "One cookbook must remain.");
        QTest::newRow("one book, standard")
            << QByteArray::fromStdString(crlf({"Standard", "BOOK1.TXT"})) << "Standard"
            << infoShape("Error", "One cookbook must remain.");
        QTest::newRow("standard in capitals")
            << QByteArray::fromStdString(crlf({"STANDARD", "BOOK1.TXT", "Soppor", "BOOK2.TXT"}))
            << "STANDARD" << infoShape("Fel", "Du får inte ta bort standardboken.");
        QTest::newRow("mixed case")
            << QByteArray::fromStdString(crlf({"sTaNdArD", "BOOK1.TXT", "Soppor", "BOOK2.TXT"}))
            << "sTaNdArD" << infoShape("Fel", "Du får inte ta bort standardboken.");
    }
    void deleteRefusesTheLastAndTheStandardBook()
    {
        QFETCH(QByteArray, bocker);
        QFETCH(QString, title);
        QFETCH(QString, expected);
        Books f;
        f.dir.write("bocker.txt", bocker.toStdString());
        auto* valj = f.openValj();
        selectItem(child<QListWidget>(valj, QStringLiteral("List1")), title);
        child<QPushButton>(valj, QStringLiteral("Command2"))->click();
        QCOMPARE(f.fakes.prompter.beeps, 1);
        QCOMPARE(f.fakes.prompter.messages.size(), 1);
        QCOMPARE(messageShape(f.fakes.prompter.last()), expected);
        QCOMPARE(f.dir.read("bocker.txt"), bocker.toStdString());
        QVERIFY(f.dir.exists("BOOK1.TXT") && f.dir.exists("BOOK2.TXT"));
    }

    void aTitleThatMerelyBeginsWithStandardCanBeDeleted()
    {
        Books f;
        f.dir.write("bocker.txt", crlf({"Standard", "BOOK1.TXT", "Standard 2", "BOOK2.TXT"}));
        f.fakes.prompter.answers = {Answer::Yes};
        auto* valj = f.openValj();
        selectItem(child<QListWidget>(valj, QStringLiteral("List1")), QStringLiteral("Standard 2"));
        child<QPushButton>(valj, QStringLiteral("Command2"))->click();
        QCOMPARE(f.dir.read("bocker.txt"), crlf({"Standard", "BOOK1.TXT"}));
        QVERIFY(!f.dir.exists("BOOK2.TXT"));
    }

    void answeringNoDeletesNothing()
    {
        Books f;
        auto* valj = f.openValj();
        selectItem(child<QListWidget>(valj, QStringLiteral("List1")), QStringLiteral("bakning"));
        child<QPushButton>(valj, QStringLiteral("Command2"))->click();
        QCOMPARE(f.fakes.prompter.beeps, 1);
        QCOMPARE(f.fakes.prompter.messages.size(), 1);
        QCOMPARE(messageShape(f.fakes.prompter.last()),
                 QStringLiteral("[Remove bakning] Question YesNo default No: Are you sure you want "
                                "to delete this cookbook?"));
        QCOMPARE(f.dir.read("bocker.txt"), kFourBooks);
        QVERIFY(f.dir.exists("BOOK4.TXT"));
        QVERIFY(child<QPushButton>(valj, QStringLiteral("Command5"))->isEnabled());
    }

    void deletingForcesTheChoiceOfABook()
    {
        Books f;
        f.fakes.prompter.answers = {Answer::Yes};
        auto* valj = f.openValj();
        auto* list = child<QListWidget>(valj, QStringLiteral("List1"));
        selectItem(list, QStringLiteral("Årets fest"));
        child<QPushButton>(valj, QStringLiteral("Command2"))->click();

        QCOMPARE(f.fakes.prompter.messages.size(), 2);
        QCOMPARE(messageShape(f.fakes.prompter.messages[0]),
                 QStringLiteral("[Remove Årets fest] Question YesNo default No: Are you sure you "
                                "want to delete this cookbook?"));
        QCOMPARE(messageShape(f.fakes.prompter.messages[1]),
                 infoShape("Culvora", "Now select a new cookbook to open."));
        // The last pair of the file goes without leaving an empty line behind.
        QCOMPARE(f.dir.read("bocker.txt"),
                 crlf({"Standard", "BOOK1.TXT", "Soppor", "BOOK2.TXT", "bakning", "BOOK4.TXT"}));
        QVERIFY(!f.dir.exists("BOOK3.TXT"));
        QVERIFY(!f.dir.exists("bocker.new"));
        QCOMPARE(itemTexts(list), (QStringList{"bakning", "Soppor", "Standard"}));
        QCOMPARE(selectedText(list), QString());
        QVERIFY(!child<QPushButton>(valj, QStringLiteral("Command5"))->isEnabled());
        QCOMPARE(f.state.currentCookbookFile, std::string("BOOK2.TXT"));

        selectItem(list, QStringLiteral("bakning"));
        child<QPushButton>(valj, QStringLiteral("Command1"))->click();
        QCOMPARE(f.dir.read("tavendi.ini"), crlf({"BOOK4.TXT", "0"}));
        QVERIFY(!f.isOpen("Valj"));
        QCOMPARE(f.fakes.prompter.messages.size(), 2);
    }

    void closingAfterDeletingTheCurrentBookFallsBack_data()
    {
        QTest::addColumn<QByteArray>("bocker");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("the standard book")
            << QByteArray::fromStdString(kFourBooks) << "Standard" << QByteArray("BOOK1.TXT");
        QTest::newRow("no standard book: the first title")
            << QByteArray::fromStdString(
                   crlf({"Vilt", "BOOK3.TXT", "Soppor", "BOOK2.TXT", "Fisk", "BOOK4.TXT"}))
            << "Fisk" << QByteArray("BOOK4.TXT");
    }
    void closingAfterDeletingTheCurrentBookFallsBack()
    {
        QFETCH(QByteArray, bocker);
        QFETCH(QString, title);
        QFETCH(QByteArray, file);
        Books f;
        f.dir.write("bocker.txt", bocker.toStdString());
        f.fakes.prompter.answers = {Answer::Yes};
        auto* valj = f.openValj();
        QCOMPARE(selectedText(child<QListWidget>(valj, QStringLiteral("List1"))),
                 QStringLiteral("Soppor"));
        child<QPushButton>(valj, QStringLiteral("Command2"))->click();
        QVERIFY(!f.dir.exists("BOOK2.TXT"));

        f.windows().subWindowOf(valj)->close();  // the close box
        QVERIFY(!f.isOpen("Valj"));
        QCOMPARE(f.state.currentCookbookFile, file.toStdString());
        QCOMPARE(f.dir.read("tavendi.ini"), crlf({file.toStdString(), "0"}));
        QCOMPARE(f.fakes.prompter.messages.size(), 3);
        QCOMPARE(
            messageShape(f.fakes.prompter.last()),
            infoShape("Info",
                      QStringLiteral("The cookbook you were using has been deleted. \"%1\" is now "
                                     "the current cookbook.")
                          .arg(title),
                      "Information"));
    }

    void closingAfterDeletingAnotherBookKeepsTheCurrentOne()
    {
        Books f;
        f.fakes.prompter.answers = {Answer::Yes};
        auto* valj = f.openValj();
        selectItem(child<QListWidget>(valj, QStringLiteral("List1")), QStringLiteral("bakning"));
        child<QPushButton>(valj, QStringLiteral("Command2"))->click();
        f.windows().subWindowOf(valj)->close();
        QCOMPARE(f.state.currentCookbookFile, std::string("BOOK2.TXT"));
        QCOMPARE(f.dir.read("tavendi.ini"), crlf({"BOOK2.TXT", "0"}));
        QCOMPARE(f.fakes.prompter.messages.size(), 2);
    }

    void newBookProposesTheNextNumberAndAddsAnEmptyBook()
    {
        Books f;
        auto* valj = f.openValj();
        child<QPushButton>(valj, QStringLiteral("Command3"))->click();
        auto* nybok = f.windows().find<gui::NewBookDialog>(QStringLiteral("nybok"));
        QVERIFY(nybok);
        QCOMPARE(nybok->windowTitle(), QStringLiteral("New book"));
        auto* title = child<QLineEdit>(nybok, QStringLiteral("Text1"));
        auto* file = child<QLineEdit>(nybok, QStringLiteral("Text2"));
        QCOMPARE(title->text(), QStringLiteral("New book 4"));
        QCOMPARE(file->text(), QStringLiteral("BOOK5.TXT"));
        QCOMPARE(title->selectedText(), QStringLiteral("New book 4"));

        title->setText(QStringLiteral("Fisk"));
        child<QPushButton>(nybok, QStringLiteral("Command1"))->click();
        QVERIFY(f.fakes.prompter.messages.isEmpty());
        QCOMPARE(f.dir.read("bocker.txt"), kFourBooks + crlf({"Fisk", "BOOK5.TXT"}));
        QVERIFY(f.dir.exists("BOOK5.TXT"));
        QCOMPARE(f.dir.read("BOOK5.TXT"), std::string());
        QVERIFY(!f.isOpen("nybok"));
        auto* list = child<QListWidget>(valj, QStringLiteral("List1"));
        QCOMPARE(itemTexts(list),
                 (QStringList{"bakning", "Fisk", "Soppor", "Standard", "Årets fest"}));
        QCOMPARE(selectedText(list), QString());
        QCOMPARE(f.state.currentCookbookFile, std::string("BOOK2.TXT"));
        QCOMPARE(f.dir.read("tavendi.ini"), crlf({"BOOK2.TXT", "0"}));
    }

    void newBookRefusesWhatItCannotUse_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        const QString notPlain =
            QStringLiteral(" is not a plain file name in the data folder. A cookbook's file name "
                           "has no folder in it, such as BOOK5.TXT.");
        QTest::newRow("existing file") << "Fisk"
                                       << "BOOK2.TXT"
                                       << "This file already exists."
                                       << "Text2";
        QTest::newRow("empty title") << ""
                                     << "BOOK5.TXT"
                                     << "Please type a title for the new cookbook."
                                     << "Text1";
        QTest::newRow("title of blanks") << "   "
                                         << "BOOK5.TXT"
                                         << "Please type a title for the new cookbook."
                                         << "Text1";
        QTest::newRow("title in use") << "Soppor"
                                      << "BOOK5.TXT"
                                      << "There is already a cookbook called \"Soppor\"."
                                      << "Text1";
        QTest::newRow("empty file name") << "Fisk"
                                         << ""
                                         << "Please type a file name for the new cookbook."
                                         << "Text2";
        QTest::newRow("parent folder") << "Fisk"
                                       << "../BOOK5.TXT"
                                       << "\"../BOOK5.TXT\"" + notPlain << "Text2";
        QTest::newRow("absolute path") << "Fisk"
                                       << "/tmp/BOOK5.TXT"
                                       << "\"/tmp/BOOK5.TXT\"" + notPlain << "Text2";
        QTest::newRow("dot dot") << "Fisk"
                                 << ".."
                                 << "\"..\"" + notPlain << "Text2";
        // The program's own files, whatever their case, and whether they are there or not.
        const QString ownFile = QStringLiteral(
            " is one of the program's own files and cannot hold a cookbook. Please choose another "
            "file name, such as BOOK5.TXT.");
        QTest::newRow("types list") << "Fisk"
                                    << "typer.txt"
                                    << "\"typer.txt\"" + ownFile << "Text2";
        QTest::newRow("cookbook list") << "Fisk"
                                       << "BOCKER.TXT"
                                       << "\"BOCKER.TXT\"" + ownFile << "Text2";
        QTest::newRow("temporary file, missing") << "Fisk"
                                                 << "RECEPT.TMP"
                                                 << "\"RECEPT.TMP\"" + ownFile << "Text2";
    }
    void newBookRefusesWhatItCannotUse()
    {
        QFETCH(QString, title);
        QFETCH(QString, file);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        Books f;
        const std::string typesBefore = f.dir.read("typer.txt");
        f.openValj();
        auto* nybok = qobject_cast<gui::NewBookDialog*>(f.windows().open(QStringLiteral("nybok")));
        QVERIFY(nybok);
        child<QLineEdit>(nybok, QStringLiteral("Text1"))->setText(title);
        child<QLineEdit>(nybok, QStringLiteral("Text2"))->setText(file);
        child<QPushButton>(nybok, QStringLiteral("Command1"))->click();
        QCOMPARE(f.fakes.prompter.beeps, 1);
        QCOMPARE(f.fakes.prompter.messages.size(), 1);
        QCOMPARE(messageShape(f.fakes.prompter.last()), infoShape("Error", message));
        auto* box = child<QLineEdit>(nybok, focus);
        QCOMPARE(nybok->focusWidget(), box);
        QCOMPARE(box->selectedText(), box->text());
        QCOMPARE(f.dir.read("bocker.txt"), kFourBooks);
        QCOMPARE(f.dir.read("BOOK2.TXT"), crlf({"[NAMN]", "Pea soup"}));
        QCOMPARE(f.dir.read("typer.txt"), typesBefore);
        QVERIFY(!f.dir.exists("BOOK5.TXT"));
        QVERIFY(!f.dir.exists("RECEPT.TMP"));
        QVERIFY(f.isOpen("nybok"));
    }

    void newBookRefusesATitleTheFilesCannotHold()
    {
        Books f;
        auto* nybok = f.windows().open(QStringLiteral("nybok"));
        child<QLineEdit>(nybok, QStringLiteral("Text1"))->setText(QStringLiteral("Łódź"));
        child<QPushButton>(nybok, QStringLiteral("Command1"))->click();
        QCOMPARE(f.fakes.prompter.messages.size(), 1);
        QCOMPARE(f.fakes.prompter.last().title, QStringLiteral("Error"));
        QVERIFY2(f.fakes.prompter.last().text.contains(QStringLiteral("Ł")),
                 qPrintable(f.fakes.prompter.last().text));
        QCOMPARE(f.dir.read("bocker.txt"), kFourBooks);
        QVERIFY(!f.dir.exists("BOOK5.TXT"));
    }

    void newBookCancelWritesNothing()
    {
        Books f;
        auto* nybok = f.windows().open(QStringLiteral("nybok"));
        child<QPushButton>(nybok, QStringLiteral("Command2"))->click();
        QVERIFY(!f.isOpen("nybok"));
        QCOMPARE(f.dir.read("bocker.txt"), kFourBooks);
        QVERIFY(!f.dir.exists("BOOK5.TXT"));
    }
};

QTEST_MAIN(CookbooksDialogTest)
#include "cookbooks_dialog_test.moc"
