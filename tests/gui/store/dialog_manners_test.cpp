// The store's small windows (Valj, nybok, nytyp, frmWhere) behave as dialogs: no maximise
// button, Escape leaves without doing anything, Enter presses the button it should exactly
// once, and the window that opened one gets the focus back when it closes.

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

#include "gui/app/handover.h"
#include "gui/app/window_names.h"
#include "gui/store/destination_chooser.h"
#include "support/gui_fixture.h"
#include "support/gui_helpers.h"

using namespace culvora;
using namespace culvora::gui;
using culvora::testing::child;
using culvora::testing::clickButton;
using culvora::testing::crlf;
using culvora::testing::infoShape;
using culvora::testing::itemTexts;
using culvora::testing::messageShape;
using culvora::testing::selectItem;

namespace {

const std::string kBooks =
    crlf({"Standard", "BOOK1.TXT", "Soppor", "BOOK2.TXT", "Bakning", "BOOK3.TXT"});
const std::string kTypes =
    crlf({"Accessories", "Desserts", "First Course", "Hot dish", "Imported"});

// Three cookbooks, "Soppor" current, and an opener's timer for the chooser; the main window
// shown and active so that keys go where the focus is.
struct Dialogs : testing::GuiFixture {
    Dialogs()
    {
        writeDefaultFiles();
        dir.write("bocker.txt", kBooks);
        dir.write("tavendi.ini", crlf({"BOOK2.TXT", "0"}));
        dir.write("BOOK2.TXT", "");
        dir.write("BOOK3.TXT", "");
        start(true);
        QApplication::setActiveWindow(&main());
        QVERIFY(QTest::qWaitForWindowActive(&main()));
        timer = std::make_unique<QTimer>();
        timer->setSingleShot(true);
    }

    QWidget* open(const QString& name)
    {
        if (name == forms::kDestination) {
            return openDestinationChooser(app(), ChooserMode::Move, timer.get());
        }
        return windows().open(name);
    }
    QMdiSubWindow* active() { return windows().area()->activeSubWindow(); }
    // The files a dialog could change.
    std::string files()
    {
        return dir.read("bocker.txt") + "|" + dir.read("tavendi.ini") + "|" + dir.read("typer.txt");
    }

    std::unique_ptr<QTimer> timer;
};

}  // namespace

class DialogMannersTest : public QObject {
    Q_OBJECT
private slots:
    void escapeLeavesADialogWithoutDoingAnything_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("Cookbooks") << QString(forms::kCookbooks);
        QTest::newRow("New book") << QString(forms::kNewBook);
        QTest::newRow("Types of recipes") << QString(forms::kRecipeTypes);
        QTest::newRow("Destination") << QString(forms::kDestination);
    }
    void escapeLeavesADialogWithoutDoingAnything()
    {
        QFETCH(QString, name);
        Dialogs f;
        f.state.targetBookTitle = "Before";
        const std::string before = f.files();
        QWidget* dialog = f.open(name);
        QVERIFY(dialog);
        QMdiSubWindow* frame = f.windows().subWindowOf(dialog);
        QCOMPARE(f.windows().kindOf(frame), WindowKind::Dialog);
        QVERIFY(frame->windowFlags().testFlag(Qt::CustomizeWindowHint));
        QVERIFY(!frame->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));

        // Something typed or chosen first, so that leaving has something to throw away.
        if (auto* box = dialog->findChild<QLineEdit*>(QStringLiteral("Text1"))) {
            box->setFocus();
            box->setText(QStringLiteral("Grill"));
        }
        if (name == forms::kRecipeTypes) clickButton(dialog, QStringLiteral("Command1"));
        if (auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("Combo1"))) {
            combo->setCurrentIndex(0);
        }
        QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog, Qt::Key_Escape);

        QVERIFY(!f.windows().isOpen(name));
        QCOMPARE(f.files(), before);
        QCOMPARE(f.state.currentCookbookFile, std::string("BOOK2.TXT"));
        QCOMPARE(f.state.targetBookTitle, std::string("Before"));
        QVERIFY(!f.timer->isActive());
        QVERIFY(f.fakes.prompter.messages.isEmpty());
        QVERIFY(!f.dir.exists("BOOK4.TXT"));
    }

    void enterOnTheCookbookListUsesTheSelectedBook()
    {
        Dialogs f;
        QWidget* valj = f.open(forms::kCookbooks);
        auto* list = child<QListWidget>(valj, QStringLiteral("List1"));
        auto* use = child<QPushButton>(valj, QStringLiteral("Command1"));
        QVERIFY(use->isDefault());
        QSignalSpy used(use, &QPushButton::clicked);
        selectItem(list, QStringLiteral("Bakning"));
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(f.state.currentCookbookFile, std::string("BOOK3.TXT"));
        QCOMPARE(f.dir.read("tavendi.ini"), crlf({"BOOK3.TXT", "0"}));
        QVERIFY(!f.windows().isOpen(forms::kCookbooks));
        QVERIFY(f.fakes.prompter.messages.isEmpty());
        // The list's own Enter did it; the default button was not pressed a second time.
        QCOMPARE(used.count(), 0);
    }

    void enterOnAFocusedButtonPressesThatButtonOnly()
    {
        Dialogs f;
        QWidget* valj = f.open(forms::kCookbooks);
        selectItem(child<QListWidget>(valj, QStringLiteral("List1")), QStringLiteral("Bakning"));
        auto* remove = child<QPushButton>(valj, QStringLiteral("Command2"));
        remove->setFocus();
        QTest::keyClick(remove, Qt::Key_Return);
        // "&Delete" asked once (answered No); "&Use" was not pressed.
        QCOMPARE(f.fakes.prompter.messages.size(), 1);
        QCOMPARE(messageShape(f.fakes.prompter.last()),
                 QStringLiteral("[Remove Bakning] Question YesNo default No: Are you sure you "
                                "want to delete this cookbook?"));
        QCOMPARE(f.dir.read("bocker.txt"), kBooks);
        QCOMPARE(f.dir.read("tavendi.ini"), crlf({"BOOK2.TXT", "0"}));
        QVERIFY(f.windows().isOpen(forms::kCookbooks));

        auto* cancel = child<QPushButton>(valj, QStringLiteral("Command5"));
        cancel->setFocus();
        QTest::keyClick(cancel, Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(!f.windows().isOpen(forms::kCookbooks));
        QCOMPARE(f.dir.read("tavendi.ini"), crlf({"BOOK2.TXT", "0"}));
    }

    void escapeAfterDeletingTheCurrentBookFallsBackToTheStandardBook()
    {
        Dialogs f;
        f.fakes.prompter.answers = {Answer::Yes};
        QWidget* valj = f.open(forms::kCookbooks);
        auto* list = child<QListWidget>(valj, QStringLiteral("List1"));
        QCOMPARE(testing::selectedText(list), QStringLiteral("Soppor"));
        clickButton(valj, QStringLiteral("Command2"));
        QVERIFY(!f.dir.exists("BOOK2.TXT"));
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Escape);
        QVERIFY(!f.windows().isOpen(forms::kCookbooks));
        QCOMPARE(f.state.currentCookbookFile, std::string("BOOK1.TXT"));
        QCOMPARE(f.dir.read("tavendi.ini"), crlf({"BOOK1.TXT", "0"}));
        QCOMPARE(messageShape(f.fakes.prompter.last()),
                 infoShape("Info",
                           "The cookbook you were using has been deleted. \"Standard\" is now "
                           "the current cookbook.",
                           "Information"));
    }

    void enterInANewBookBoxAddsTheBookOnce_data()
    {
        QTest::addColumn<QString>("box");
        QTest::newRow("title") << "Text1";
        QTest::newRow("file name") << "Text2";
    }
    void enterInANewBookBoxAddsTheBookOnce()
    {
        QFETCH(QString, box);
        Dialogs f;
        QWidget* valj = f.open(forms::kCookbooks);
        clickButton(valj, QStringLiteral("Command3"));
        QWidget* nybok = f.windows().find(forms::kNewBook);
        QVERIFY(nybok);
        QCOMPARE(nybok->focusWidget(), child<QLineEdit>(nybok, QStringLiteral("Text1")));
        auto* ok = child<QPushButton>(nybok, QStringLiteral("Command1"));
        QSignalSpy pressed(ok, &QPushButton::clicked);
        child<QLineEdit>(nybok, QStringLiteral("Text1"))->setText(QStringLiteral("Fisk"));
        auto* edit = child<QLineEdit>(nybok, box);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Return);

        QCOMPARE(pressed.count(), 1);
        // A second Ok would have found the title taken and said so.
        QVERIFY(f.fakes.prompter.messages.isEmpty());
        QCOMPARE(f.dir.read("bocker.txt"), kBooks + crlf({"Fisk", "BOOK4.TXT"}));
        QVERIFY(f.dir.exists("BOOK4.TXT"));
        QVERIFY(!f.windows().isOpen(forms::kNewBook));
        QCOMPARE(itemTexts(child<QListWidget>(valj, QStringLiteral("List1"))),
                 (QStringList{"Bakning", "Fisk", "Soppor", "Standard"}));
        // Back in the Cookbooks dialog that opened it.
        QCOMPARE(f.active()->widget(), valj);
    }

    void aNewBookLeftWithCancelOrEscapeHandsTheFocusBack_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Cancel") << false;
        QTest::newRow("Escape") << true;
    }
    void aNewBookLeftWithCancelOrEscapeHandsTheFocusBack()
    {
        QFETCH(bool, escape);
        Dialogs f;
        QWidget* valj = f.open(forms::kCookbooks);
        clickButton(valj, QStringLiteral("Command3"));
        QWidget* nybok = f.windows().find(forms::kNewBook);
        QCOMPARE(f.active()->widget(), nybok);
        if (escape) {
            QTest::keyClick(nybok->focusWidget(), Qt::Key_Escape);
        } else {
            clickButton(nybok, QStringLiteral("Command2"));
        }
        QVERIFY(!f.windows().isOpen(forms::kNewBook));
        QCOMPARE(f.active()->widget(), valj);
        QCOMPARE(f.dir.read("bocker.txt"), kBooks);
    }

    void enterInTheTypeBoxAddsOnceAndElsewhereSaves()
    {
        Dialogs f;
        QWidget* types = f.open(forms::kRecipeTypes);
        auto* list = child<QListWidget>(types, QStringLiteral("List1"));
        auto* name = child<QLineEdit>(types, QStringLiteral("Text1"));
        auto* add = child<QPushButton>(types, QStringLiteral("Command1"));
        auto* ok = child<QPushButton>(types, QStringLiteral("Command2"));

        // Until a name is typed, Ok is the button Enter presses.
        list->setFocus();
        QVERIFY(ok->isDefault());
        QVERIFY(!add->isDefault());

        name->setFocus();
        QVERIFY(add->isDefault());
        QVERIFY(!ok->isDefault());
        QTest::keyClicks(name, QStringLiteral("Grill"));
        QTest::keyClick(name, Qt::Key_Return);
        QCOMPARE(itemTexts(list).count(QStringLiteral("Grill")), 1);
        QCOMPARE(list->count(), 6);
        QVERIFY(f.windows().isOpen(forms::kRecipeTypes));
        QCOMPARE(f.dir.read("typer.txt"), kTypes);

        // The Ok button with the focus saves and closes, once.
        ok->setFocus();
        QTest::keyClick(ok, Qt::Key_Return);
        QVERIFY(!f.windows().isOpen(forms::kRecipeTypes));
        QCOMPARE(f.dir.read("typer.txt"), crlf({"Accessories", "Desserts", "First Course", "Grill",
                                                "Hot dish", "Imported"}));
        QVERIFY(f.fakes.prompter.messages.isEmpty());
    }

    void enterOnTheTypeListBeforeTypingSaves()
    {
        Dialogs f;
        QWidget* types = f.open(forms::kRecipeTypes);
        auto* list = child<QListWidget>(types, QStringLiteral("List1"));
        selectItem(list, QStringLiteral("Desserts"));
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(!f.windows().isOpen(forms::kRecipeTypes));
        QCOMPARE(f.dir.read("typer.txt"), kTypes);
        QVERIFY(!f.dir.exists("typer.tmp"));
    }

    void theChooserConfirmsWithEnterAndCancelsWithEscape()
    {
        Dialogs f;
        QWidget* chooser = f.open(forms::kDestination);
        auto* combo = child<QComboBox>(chooser, QStringLiteral("Combo1"));
        combo->setCurrentIndex(combo->findText(QStringLiteral("Bakning")));
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Return);
        QVERIFY(!f.windows().isOpen(forms::kDestination));
        QCOMPARE(f.state.targetBookTitle, std::string("Bakning"));
        QVERIFY(f.timer->isActive());

        f.timer->stop();
        f.state.targetBookTitle = "Before";
        chooser = f.open(forms::kDestination);
        auto* cancel = child<QPushButton>(chooser, QStringLiteral("Command2"));
        cancel->setFocus();
        QTest::keyClick(cancel, Qt::Key_Escape);
        QVERIFY(!f.windows().isOpen(forms::kDestination));
        QCOMPARE(f.state.targetBookTitle, std::string("Before"));
        QVERIFY(!f.timer->isActive());
    }
};

QTEST_MAIN(DialogMannersTest)
#include "dialog_manners_test.moc"
