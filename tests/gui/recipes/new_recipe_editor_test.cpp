// The new-recipe editor "NyttRecept" over a temporary data folder: opening from the browser, the
// servings key filter, the character row, the tabs, Reset, and Save with the picture prompt and
// the new-ingredient check, with the files on disk.

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <string>

#include "core/store/cookbook.h"
#include "gui/app/geometry.h"
#include "gui/recipes/new_recipe_editor.h"
#include "gui/recipes/recipe_browser.h"
#include "gui/search/new_ingredients_dialog.h"
#include "support/gui_fixture.h"
#include "support/gui_helpers.h"
#include "support/lock_held_elsewhere.h"
#include "support/records.h"
#include "support/short_lock_wait.h"

using namespace culvora;
using namespace culvora::gui;
using culvora::testing::child;
using culvora::testing::crlf;
using culvora::testing::infoShape;
using culvora::testing::itemTexts;
using culvora::testing::messageShape;
using culvora::testing::record;

namespace {

const std::string kPancakes = record({.name = "Pancakes",
                                      .time = "20",
                                      .ingredients = {"3 dl flour", "6 dl milk"},
                                      .steps = {"Whisk and fry."},
                                      .type = "Desserts"});
const std::string kTypes =
    crlf({"Hot dish", "Accessories", "Desserts", "First Course", "Imported"});

// What a timer does when it runs out, without waiting for it.
void fire(QTimer* timer)
{
    QVERIFY(timer->isActive());
    timer->stop();
    QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
}

// Types text as keystrokes, letters beyond ASCII too (QTest::keyClicks takes ASCII only).
void typeKeys(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        const auto key = static_cast<Qt::Key>(c.toUpper().unicode());
        QTest::sendKeyEvent(QTest::Press, widget, key, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, key, QString(c), Qt::NoModifier);
    }
}

struct Editor {
    testing::GuiFixture f;
    NewRecipeEditor* window = nullptr;

    explicit Editor(const std::string& book = kPancakes, bool openBrowser = true)
    {
        f.writeDefaultFiles();
        f.dir.write("BOOK1.TXT", book);
        f.dir.write("typer.txt", kTypes);
        f.dir.write("sok.txt", crlf({"flour", "milk", "salt"}));
        f.start(true);
        QApplication::setActiveWindow(&f.main());
        if (openBrowser) {
            f.windows().open(QStringLiteral("recept"));
            testing::clickButton(browser(), QStringLiteral("Command2"));  // "New recipe"
        } else {
            f.windows().open(QStringLiteral("NyttRecept"));
        }
        window = f.windows().find<NewRecipeEditor>(QStringLiteral("NyttRecept"));
    }

    RecipeBrowser* browser() { return f.windows().find<RecipeBrowser>(QStringLiteral("recept")); }
    QLineEdit* line(const char* name) { return child<QLineEdit>(window, QLatin1String(name)); }
    QPlainTextEdit* text(const char* name)
    {
        return child<QPlainTextEdit>(window, QLatin1String(name));
    }
    QComboBox* types() { return child<QComboBox>(window, QStringLiteral("Combo1")); }
    QPushButton* button(const char* name)
    {
        return child<QPushButton>(window, QLatin1String(name));
    }
    void click(const char* name) { button(name)->click(); }
    QMdiSubWindow* frame() { return f.windows().subWindowOf(window); }
    const QList<Message>& messages() { return f.fakes.prompter.messages; }

    void type(const QString& name, const QString& serves, const QString& time,
              const QString& ingredients, const QString& instructions)
    {
        line("t1")->setText(name);
        line("t2")->setText(serves);
        line("t3")->setText(time);
        text("t4")->setPlainText(ingredients);
        text("t5")->setPlainText(instructions);
    }
    // A click into a box, as the user gives it the focus.
    void clickInto(QWidget* box)
    {
        QTest::mouseClick(box->focusProxy() ? box->focusProxy() : box, Qt::LeftButton, {},
                          QPoint(10, 10));
        QCoreApplication::processEvents();
    }
};

}  // namespace

class NewRecipeEditorTest : public QObject {
    Q_OBJECT
private slots:
    void newRecipeInTheBrowserOpensTheEditor()
    {
        Editor e;
        QVERIFY(e.window);
        QCOMPARE(e.window->windowTitle(), QStringLiteral("New recipe"));
        QVERIFY(!e.f.main().cookbookMenuEnabled());
        // The type box: typer.txt in file order, the first entry chosen.
        QCOMPARE(itemTexts(e.types()),
                 (QStringList{"Hot dish", "Accessories", "Desserts", "First Course", "Imported"}));
        QCOMPARE(e.types()->currentText(), QStringLiteral("Hot dish"));
        QVERIFY(!e.types()->isEditable());
        for (auto [name, caption] : {std::pair{"Command1", "Save"},
                                     {"Command2", "Cancel"},
                                     {"Command3", "Reset"},
                                     {"Command4", "Help"},
                                     {"Command5", "Insert..."},
                                     {"Command6", "\u00B0"},
                                     {"Command7", "\u00BC"},
                                     {"Command8", "\u00BD"},
                                     {"Command9", "\u00BE"},
                                     {"Command10", "\u00B1"}}) {
            QCOMPARE(e.button(name)->text(), QString::fromUtf8(caption));
        }
        QVERIFY(e.button("Command1")->isDefault());
        QCOMPARE(child<QLabel>(e.window, QStringLiteral("Label3"))->text(),
                 QStringLiteral("First-timer? Please read the help!"));
        QCOMPARE(child<QLabel>(e.window, QStringLiteral("Label2"))->text(),
                 QStringLiteral("Insert:"));
        QStringList labels;
        for (auto* label : e.window->findChildren<QLabel*>()) labels << label->text();
        for (const char* text : {"Recipe's name:", "Serves:", "Cooking time:", "(In minutes only!)",
                                 "Type of dish:"}) {
            QVERIFY2(labels.contains(QLatin1String(text)), text);
        }
        auto* tabs = child<QTabBar>(e.window, QStringLiteral("TabStrip1"));
        QCOMPARE(tabs->count(), 2);
        QCOMPARE(tabs->tabText(0), QStringLiteral("Ingredients"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("To do"));
        QVERIFY(child<QWidget>(e.window, QStringLiteral("Picture1"))->isVisible());
        QVERIFY(!child<QWidget>(e.window, QStringLiteral("Picture2"))->isVisible());
        QCOMPARE(e.text("t4")->parentWidget()->objectName(), QStringLiteral("Picture1"));
        QCOMPARE(e.text("t5")->parentWidget()->objectName(), QStringLiteral("Picture2"));

        // 4980 twips high, the character row below that edge and out of sight.
        QCOMPARE(e.window->height(), twips(4980));
        QVERIFY(!e.window->characterRowShown());
        QVERIFY(!e.button("Command8")->isVisible());
        const QRect row = child<QWidget>(e.window, QStringLiteral("characterRow"))->geometry();
        QVERIFY(row.top() >= twips(4980));
        QVERIFY(row.bottom() < twips(5490));
        // Every control of the page lies inside the 4980-twip window.
        for (auto* w : child<QWidget>(e.window, QStringLiteral("page"))->findChildren<QWidget*>()) {
            if (!w->isVisible()) continue;
            const QRect r(w->mapTo(e.window, QPoint(0, 0)), w->size());
            QVERIFY2(r.bottom() < twips(4980) && r.right() < e.window->width(),
                     qPrintable(w->objectName()));
        }
        // Moved and minimised, not resized.
        QCOMPARE(e.f.windows().kindOf(e.frame()), WindowKind::Fixed);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(e.line("t1")));

        e.click("Command2");  // Cancel
        QVERIFY(!e.f.windows().isOpen(QStringLiteral("NyttRecept")));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(e.f.dir.read("BOOK1.TXT"), kPancakes);
    }

    void servingsKeyFilter_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<bool>("message");
        QTest::newRow("a (97): beep only") << QStringLiteral("a") << true << false;
        QTest::newRow("A (65): beep only") << QStringLiteral("A") << true << false;
        QTest::newRow("\u00D6 (214): beep only") << QStringLiteral("\u00D6") << true << false;
        QTest::newRow("\u00D7 (215): the message") << QStringLiteral("\u00D7") << true << true;
        QTest::newRow("\u00E9 (233): the message") << QStringLiteral("\u00E9") << true << true;
        QTest::newRow("\u00F6 (246): the message") << QStringLiteral("\u00F6") << true << true;
        QTest::newRow("5") << QStringLiteral("5") << false << false;
        QTest::newRow("comma") << QStringLiteral(",") << false << false;
        QTest::newRow("@ (64)") << QStringLiteral("@") << false << false;
        QTest::newRow("\u00F7 (247)") << QStringLiteral("\u00F7") << false << false;
        QTest::newRow("\u00BD (189): in the first range")
            << QStringLiteral("\u00BD") << true << false;
        // Not a Windows-1252 character: passed here, refused by Save.
        QTest::newRow("\u2192 (not Windows-1252)") << QStringLiteral("\u2192") << false << false;
    }
    void servingsKeyFilter()
    {
        QFETCH(QString, typed);
        QFETCH(bool, refused);
        QFETCH(bool, message);
        Editor e;
        QLineEdit* serves = e.line("t2");
        serves->setFocus();
        QTest::keyClicks(serves, QStringLiteral("4"));
        typeKeys(serves, typed);
        // The key is not suppressed: it lands in the box first.
        QCOMPARE(serves->text(), QStringLiteral("4") + typed);
        QCOMPARE(e.f.fakes.prompter.beeps, refused ? 1 : 0);
        QCOMPARE(e.window->servingsTimer()->isActive(), refused);
        QCOMPARE(e.window->servingsTimer()->objectName(), QStringLiteral("Timer1"));
        if (message) {
            QCOMPARE(e.messages().size(), 1);
            QCOMPARE(messageShape(e.messages().front()),
                     infoShape(QStringLiteral("Fel"), QStringLiteral("Endast siffror, tack!")));
        } else {
            QVERIFY(e.messages().isEmpty());
        }
        if (refused) {
            QCOMPARE(e.window->servingsTimer()->interval(), 100);
            QVERIFY(e.window->servingsTimer()->isSingleShot());
            fire(e.window->servingsTimer());
            QCOMPARE(serves->text(), QString());
        }
    }

    void theServingsTimerEmptiesTheBoxAfterAMoment()
    {
        Editor e;
        QLineEdit* serves = e.line("t2");
        serves->setFocus();
        QTest::keyClicks(serves, QStringLiteral("4 b"));
        QCOMPARE(serves->text(), QStringLiteral("4 b"));
        QTRY_COMPARE(serves->text(), QString());
        QVERIFY(!e.window->servingsTimer()->isActive());
        // The other boxes take letters.
        QTest::keyClicks(e.line("t3"), QStringLiteral("about 45"));
        QCOMPARE(e.line("t3")->text(), QStringLiteral("about 45"));
        QCOMPARE(e.f.fakes.prompter.beeps, 1);
    }

    void insertWithoutAFocusedTextBoxSaysSo()
    {
        Editor e;
        e.f.state.lastFocusedBox = NewRecipeEditor::kNoTextBox;
        e.clickInto(e.line("t1"));
        e.click("Command5");
        QCOMPARE(e.messages().size(), 1);
        QCOMPARE(messageShape(e.messages().front()),
                 infoShape(QStringLiteral("Error"),
                           QStringLiteral("First enter one of the two textboxes.")));
        QCOMPARE(e.window->height(), twips(4980));
        QVERIFY(!e.window->characterRowShown());
        // A character button does nothing then.
        e.click("Command8");
        QCOMPARE(e.text("t4")->toPlainText(), QString());
        QCOMPARE(e.text("t5")->toPlainText(), QString());
        QCOMPARE(e.messages().size(), 1);
    }

    void insertAfterClickingIntoTheIngredientsGrowsTheWindowAndTypesAtTheCaret()
    {
        Editor e;
        QPlainTextEdit* ingredients = e.text("t4");
        e.clickInto(ingredients);
        QCOMPARE(e.f.state.lastFocusedBox, NewRecipeEditor::kIngredientsBox);
        QTest::keyClicks(ingredients, QStringLiteral("1 cup sugar"));
        QTextCursor caret = ingredients->textCursor();
        caret.setPosition(1);
        ingredients->setTextCursor(caret);

        // The focus leaves the box for the button; the marker stays.
        e.button("Command5")->setFocus();
        e.click("Command5");
        QVERIFY(e.messages().isEmpty());
        QCOMPARE(e.window->height(), twips(5490));
        QCOMPARE(e.frame()->height() - e.window->height() > 0, true);
        QVERIFY(e.frame()->geometry().height() >= twips(5490));
        QVERIFY(e.window->characterRowShown());
        QVERIFY(e.button("Command8")->isVisible());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(ingredients));

        e.click("Command8");  // ½
        QCOMPARE(ingredients->toPlainText(), QStringLiteral("1\u00BD cup sugar"));
        e.click("Command6");  // ° after it
        QCOMPARE(ingredients->toPlainText(), QStringLiteral("1\u00BD\u00B0 cup sugar"));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(ingredients));

        // "Insert..." again keeps the height.
        e.click("Command5");
        QCOMPARE(e.window->height(), twips(5490));
    }

    void theCharacterButtonsFollowTheInstructionsBox()
    {
        Editor e;
        auto* tabs = child<QTabBar>(e.window, QStringLiteral("TabStrip1"));
        tabs->setCurrentIndex(1);  // "To do"
        QVERIFY(child<QWidget>(e.window, QStringLiteral("Picture2"))->isVisible());
        QVERIFY(!child<QWidget>(e.window, QStringLiteral("Picture1"))->isVisible());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(e.text("t5")));
        QCOMPARE(e.f.state.lastFocusedBox, NewRecipeEditor::kInstructionsBox);
        e.click("Command5");
        e.click("Command10");  // ±
        QCOMPARE(e.text("t5")->toPlainText(), QStringLiteral("\u00B1"));
        QCOMPARE(e.text("t4")->toPlainText(), QString());

        // The type box is no text box: the marker stays on t5.
        e.clickInto(e.types());
        QCOMPARE(e.f.state.lastFocusedBox, NewRecipeEditor::kInstructionsBox);
        // The name box is one: the marker is cleared.
        e.clickInto(e.line("t1"));
        QCOMPARE(e.f.state.lastFocusedBox, NewRecipeEditor::kNoTextBox);

        tabs->setCurrentIndex(0);
        QVERIFY(child<QWidget>(e.window, QStringLiteral("Picture1"))->isVisible());
        // Save stays the default button through the tabs and the focus on other buttons.
        e.button("Command2")->setFocus();
        e.button("Command1")->setFocus();
        e.text("t4")->setFocus();
        QVERIFY(e.button("Command1")->isDefault());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(e.text("t4")));
        QCOMPARE(e.f.state.lastFocusedBox, NewRecipeEditor::kIngredientsBox);
    }

    void theMarkerOutlivesTheWindow()
    {
        Editor e;
        child<QTabBar>(e.window, QStringLiteral("TabStrip1"))->setCurrentIndex(1);
        QCOMPARE(e.f.state.lastFocusedBox, NewRecipeEditor::kInstructionsBox);
        e.click("Command2");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(e.f.state.lastFocusedBox, NewRecipeEditor::kInstructionsBox);

        // The next editor puts the focus into its name box, which clears the marker.
        e.window = qobject_cast<NewRecipeEditor*>(e.f.windows().open(QStringLiteral("NyttRecept")));
        QVERIFY(e.window);
        QCOMPARE(e.f.state.lastFocusedBox, NewRecipeEditor::kNoTextBox);
        e.click("Command6");
        QCOMPARE(e.text("t4")->toPlainText(), QString());
        QCOMPARE(e.text("t5")->toPlainText(), QString());

        // A marker on the instructions while the ingredients page shows (it is shared state)
        // brings that page forward, and the character lands there.
        e.f.state.lastFocusedBox = NewRecipeEditor::kInstructionsBox;
        QVERIFY(!child<QWidget>(e.window, QStringLiteral("Picture2"))->isVisible());
        e.click("Command6");
        QCOMPARE(e.text("t5")->toPlainText(), QStringLiteral("\u00B0"));
        QVERIFY(child<QWidget>(e.window, QStringLiteral("Picture2"))->isVisible());
        QCOMPARE(child<QTabBar>(e.window, QStringLiteral("TabStrip1"))->currentIndex(), 1);
    }

    void resetEmptiesTheBoxesAndKeepsTheType()
    {
        Editor e;
        e.type("Soup", "4", "30", "1 l water", "Boil.");
        e.types()->setCurrentIndex(2);
        e.click("Command3");
        for (const char* name : {"t1", "t2", "t3"}) QCOMPARE(e.line(name)->text(), QString());
        QCOMPARE(e.text("t4")->toPlainText(), QString());
        QCOMPARE(e.text("t5")->toPlainText(), QString());
        QCOMPARE(e.types()->currentText(), QStringLiteral("Desserts"));
        QVERIFY(e.f.windows().isOpen(QStringLiteral("NyttRecept")));
    }

    void helpOpensItsPage()
    {
        Editor e;
        e.click("Command4");
        const auto page = e.f.dir.path() / "help" / "newrecipe.html";
        QCOMPARE(e.f.fakes.opener.documents, QStringList{QString::fromStdString(page.string())});
        // The page is delivered with the program, and the contents link to it.
        const std::filesystem::path source(
            qEnvironmentVariable("CULVORA_SOURCE_DIR").toStdString());
        QVERIFY(std::filesystem::exists(source / "data" / "help" / "newrecipe.html"));
        QVERIFY(testing::readBytes(source / "data" / "help" / "index.html")
                    .find("href=\"newrecipe.html\"") != std::string::npos);
    }

    void saveWithAnEmptyNameWritesNothing()
    {
        Editor e;
        e.type(QString(), "4", "30", "2 dl cream", "Whip.");
        e.click("Command1");
        QCOMPARE(e.messages().size(), 1);
        QCOMPARE(messageShape(e.messages().front()),
                 infoShape(QStringLiteral("Culvora"),
                           QStringLiteral("You must enter a name for the recipe!")));
        QCOMPARE(e.f.dir.read("BOOK1.TXT"), kPancakes);
        QVERIFY(e.f.windows().isOpen(QStringLiteral("NyttRecept")));
        QCOMPARE(e.text("t4")->toPlainText(), QStringLiteral("2 dl cream"));
        QVERIFY(!e.f.windows().isOpen(QStringLiteral("frmAdd")));
    }

    void aLineTheCookbookWouldReadAsAMarkerIsRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("ingredients");
        QTest::addColumn<QString>("instructions");
        QTest::addColumn<QString>("named");  // what the message must name
        QTest::newRow("ingredient line with [") << "Soup"
                                                << "1 l water\n[optional] salt"
                                                << "Boil."
                                                << "\"[optional] salt\"";
        QTest::newRow("instruction line [NAMN]") << "Soup"
                                                 << "1 l water"
                                                 << "Boil.\n[NAMN]\nServe."
                                                 << "\"[NAMN]\"";
        QTest::newRow("name [TYP]") << "[TYP]"
                                    << "1 l water"
                                    << "Boil."
                                    << "\"[TYP]\"";
        QTest::newRow("not Windows-1252 in the instructions") << "Soup"
                                                              << "1 l water"
                                                              << "Boil.\nStir \u2192 serve."
                                                              << "\"Stir \u2192 serve.\"";
        QTest::newRow("not Windows-1252 in the name") << "Soup \u263A"
                                                      << "1 l water"
                                                      << "Boil."
                                                      << "The recipe's name";
    }
    void aLineTheCookbookWouldReadAsAMarkerIsRefused()
    {
        QFETCH(QString, name);
        QFETCH(QString, ingredients);
        QFETCH(QString, instructions);
        QFETCH(QString, named);
        Editor e;
        e.type(name, "4", "30", ingredients, instructions);
        e.click("Command1");
        QCOMPARE(e.messages().size(), 1);
        const Message& m = e.messages().front();
        QCOMPARE(m.title, QStringLiteral("Error"));
        QCOMPARE(m.buttons, MessageButtons::Ok);
        QVERIFY2(m.text.contains(named), qPrintable(m.text));
        if (named.contains(QChar(0x2192))) {
            QCOMPARE(m.text, QStringLiteral("The line \"Stir \u2192 serve.\" in the instructions "
                                            "cannot be saved. The character \"\u2192\" (U+2192) "
                                            "cannot be stored: the cookbook files hold Western "
                                            "European letters and signs only (Windows-1252)."));
            // The page with the line is shown.
            QVERIFY(child<QWidget>(e.window, QStringLiteral("Picture2"))->isVisible());
        }
        // Nothing written, nothing asked, the window open with what was typed.
        QCOMPARE(e.f.dir.read("BOOK1.TXT"), kPancakes);
        QVERIFY(!e.f.dir.exists("bilder.txt"));
        QVERIFY(e.f.windows().isOpen(QStringLiteral("NyttRecept")));
        QCOMPARE(e.line("t1")->text(), name);
        QCOMPARE(e.text("t4")->toPlainText(), ingredients);
        QCOMPARE(e.text("t5")->toPlainText(), instructions);
        QVERIFY(!e.f.windows().isOpen(QStringLiteral("frmAdd")));
    }

    void whileAnotherProgramChangesTheDataFolderNothingIsSaved()
    {
        Editor e;
        e.type(QStringLiteral("Tea"), QStringLiteral("1"), QStringLiteral("5"),
               QStringLiteral("1 bag of tea\n2 dl water"), QStringLiteral("Steep."));
        const testing::ShortLockWait shortWait(std::chrono::milliseconds(200));
        testing::LockHeldElsewhere other(e.f.dir.path());
        QVERIFY(other.held());
        e.click("Command1");

        // The core's own words, and nothing else asked: no picture question, no new words.
        QCOMPARE(e.messages().size(), 1);
        QCOMPARE(messageShape(e.messages().front()),
                 QStringLiteral("[Error] Exclamation Ok default Ok: Another program is changing "
                                "the cookbooks in \"%1\" right now. Nothing was saved; please "
                                "try again in a moment.")
                     .arg(QString::fromStdString(e.f.dir.path().string())));
        QCOMPARE(e.f.dir.read("BOOK1.TXT"), kPancakes);
        QCOMPARE(e.f.dir.read("sok.txt"), crlf({"flour", "milk", "salt"}));
        QVERIFY(!e.f.dir.exists("bilder.txt"));
        QVERIFY(!e.f.dir.exists("recept.tmp"));
        QVERIFY(!e.f.windows().isOpen(QStringLiteral("frmAdd")));
        // The recipe is still there to be saved once the other program is done.
        QVERIFY(e.f.windows().isOpen(QStringLiteral("NyttRecept")));
        QCOMPARE(e.line("t1")->text(), QStringLiteral("Tea"));
        QCOMPARE(e.text("t4")->toPlainText(), QStringLiteral("1 bag of tea\n2 dl water"));

        other.release();
        e.f.fakes.prompter.answers = {Answer::No};  // no picture
        e.click("Command1");
        QCOMPARE(e.f.dir.read("BOOK1.TXT"),
                 kPancakes + record({.name = "Tea",
                                     .servings = "1",
                                     .time = "5",
                                     .ingredients = {"1 bag of tea", "2 dl water"},
                                     .steps = {"Steep."}}));
        QVERIFY(!e.f.windows().isOpen(QStringLiteral("NyttRecept")));
    }

    void saveAppendsTheRecipeAsTypedAndOffersTheNewWords()
    {
        Editor e;
        QPointer<RecipeBrowser> oldBrowser = e.browser();
        e.type(QStringLiteral("Cr\u00EApes"), QStringLiteral("6"), QStringLiteral("ca 40"),
               QStringLiteral("3 dl Milk\n2 Eggs\n\n1 tsk salt\n50 g sm\u00F6r\n3 eggs (large)\n"),
               QStringLiteral("Whisk.\n\nFry\u00A0thin."));
        e.types()->setCurrentIndex(2);
        e.f.fakes.prompter.answers = {Answer::No};  // no picture
        e.click("Command1");

        // Appended after the last record, every field as typed: the ingredient text that ends
        // with Enter leaves an empty line before [GÖRA].
        QCOMPARE(e.f.dir.read("BOOK1.TXT"),
                 kPancakes + record({.name = "Cr\xEApes",
                                     .servings = "6",
                                     .time = "ca 40",
                                     .ingredients = {"3 dl Milk", "2 Eggs", "", "1 tsk salt",
                                                     "50 g sm\xF6r", "3 eggs (large)", ""},
                                     .steps = {"Whisk.", "", "Fry\xA0thin."},
                                     .type = "Desserts"}));
        QCOMPARE(e.messages().size(), 1);
        QCOMPARE(messageShape(e.messages().front()),
                 QStringLiteral("[Picture] Question YesNo default No: "
                                "Is there a picture on the dish available?"));
        QVERIFY(!e.f.dir.exists("bilder.txt"));
        QVERIFY(!e.f.dir.exists("ind.tmp"));
        QVERIFY(!e.f.windows().isOpen(QStringLiteral("NyttRecept")));

        // "New ingredients?" offers the words sok.txt lacks, sorted, each to be ticked; it
        // stays in front after the editor has gone.
        auto* dialog = e.f.windows().find<NewIngredientsDialog>(QStringLiteral("frmAdd"));
        QVERIFY(dialog);
        auto* list = child<QListWidget>(dialog, QStringLiteral("List1"));
        QCOMPARE(itemTexts(list), (QStringList{"eggs", QStringLiteral("sm\u00F6r")}));
        for (int i = 0; i < 50; ++i) QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
        QCOMPARE(e.f.windows().area()->activeSubWindow(), e.f.windows().subWindowOf(dialog));

        // "Done" appends the ticked word and reopens the browser, which lists the new recipe.
        list->item(1)->setCheckState(Qt::Checked);
        testing::clickButton(dialog, QStringLiteral("Command1"));
        QCOMPARE(e.f.dir.read("sok.txt"), crlf({"flour", "milk", "salt", "sm\xF6r"}));
        QVERIFY(!e.f.windows().isOpen(QStringLiteral("frmAdd")));
        RecipeBrowser* browser = e.browser();
        QVERIFY(browser);
        QVERIFY(browser != oldBrowser.data());
        QVERIFY(browser->findNameLabel("Cr\xEApes") > 0);
        QCOMPARE(child<QLabel>(browser, QStringLiteral("label4"))->text(),
                 QStringLiteral("Number of recipes: 2"));
    }

    void withNoNewWordTheBrowserIsRefreshedAtOnce()
    {
        Editor e;
        QPointer<RecipeBrowser> oldBrowser = e.browser();
        e.type(QStringLiteral("Porridge"), QStringLiteral("2"), QStringLiteral("10"),
               QStringLiteral("2 dl Milk\n1 pinch salt\n1 dl oats (fine)"),
               QStringLiteral("Boil."));
        e.click("Command1");
        // "(fine)" ends with ")" and is not offered; the others are known: no dialog at all.
        QVERIFY(!e.f.windows().isOpen(QStringLiteral("frmAdd")));
        QVERIFY(e.browser());
        QVERIFY(e.browser() != oldBrowser.data());
        QVERIFY(e.browser()->findNameLabel("Porridge") > 0);
        QCOMPARE(e.f.dir.read("sok.txt"), crlf({"flour", "milk", "salt"}));
    }

    void aSecondRecipeOfTheSameNameIsAppended()
    {
        Editor e;
        e.type(QStringLiteral("Pancakes"), QString(), QString(), QString(), QString());
        // Asked first whether to keep the name (taken-name question): yes.
        e.f.fakes.prompter.answers = {Answer::Yes};
        e.click("Command1");
        QCOMPARE(e.f.dir.read("BOOK1.TXT"), kPancakes + record({.name = "Pancakes",
                                                                .servings = "",
                                                                .time = "",
                                                                .ingredients = {""},
                                                                .steps = {""}}));
        QVERIFY(!e.f.windows().isOpen(QStringLiteral("NyttRecept")));
        QVERIFY(!e.f.windows().isOpen(QStringLiteral("frmAdd")));
    }

    void aNameOfBlanksIsSaved()
    {
        Editor e;
        e.type(QStringLiteral("   "), QString(), QString(), QStringLiteral("1 egg"), QString());
        e.click("Command1");
        QVERIFY(e.messages().size() == 1);  // the picture question only
        QCOMPARE(e.f.dir.read("BOOK1.TXT"), kPancakes + record({.name = "   ",
                                                                .servings = "",
                                                                .time = "",
                                                                .ingredients = {"1 egg"},
                                                                .steps = {""}}));
    }

    void aCancelledPictureDialogRecordsAnEmptyPath()
    {
        Editor e;
        e.type(QStringLiteral("Toast"), QStringLiteral("1"), QStringLiteral("5"),
               QStringLiteral("1 slice bread"), QStringLiteral("Toast it."));
        e.f.fakes.prompter.answers = {Answer::Yes};
        e.f.fakes.prompter.fileNames = {QString()};  // cancelled
        e.click("Command1");
        QCOMPARE(e.f.fakes.prompter.fileDialogTitles,
                 QStringList{QStringLiteral("V\u00E4lj bild f\u00F6r recept")});
        QCOMPARE(e.f.dir.read("bilder.txt"), crlf({"Toast", ""}));
        QVERIFY(e.f.windows().find<NewIngredientsDialog>(QStringLiteral("frmAdd")));
    }

    void withoutTypesTheRecipeIsSavedWithoutAType()
    {
        Editor e(kPancakes, false);
        std::filesystem::remove(e.f.dir.file("typer.txt"));
        e.f.windows().close(QStringLiteral("NyttRecept"));
        e.window = qobject_cast<NewRecipeEditor*>(e.f.windows().open(QStringLiteral("NyttRecept")));
        QVERIFY(e.window);
        QCOMPARE(e.types()->count(), 0);
        QVERIFY(e.messages().isEmpty());
        e.type(QStringLiteral("Tea"), QString(), QString(), QString(), QString());
        e.click("Command1");
        QCOMPARE(e.f.dir.read("BOOK1.TXT"), kPancakes + record({.name = "Tea",
                                                                .servings = "",
                                                                .time = "",
                                                                .ingredients = {""},
                                                                .steps = {""},
                                                                .type = ""}));
        // Saved from an editor opened without the browser: the browser opens with the recipe.
        QVERIFY(e.browser());
        QVERIFY(e.browser()->findNameLabel("Tea") > 0);
    }

    void theKeysOfTheEditor()
    {
        Editor e;
        QLineEdit* name = e.line("t1");
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(name));
        QTest::keyClicks(name, QStringLiteral("Stew"));
        // Enter in a one-line box goes on to the next box; it does not save a half recipe.
        QTest::keyClick(name, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(e.line("t2")));
        QTest::keyClick(e.line("t2"), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(e.line("t3")));
        QTest::keyClick(e.line("t3"), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(e.types()));
        QTest::keyClick(e.types(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(e.text("t4")));
        // Enter in the ingredients is a line break; Escape closes nothing.
        QTest::keyClicks(e.text("t4"), QStringLiteral("1 onion"));
        QTest::keyClick(e.text("t4"), Qt::Key_Return);
        QTest::keyClicks(e.text("t4"), QStringLiteral("2 carrots"));
        QTest::keyClick(e.text("t4"), Qt::Key_Escape);
        QCOMPARE(e.text("t4")->toPlainText(), QStringLiteral("1 onion\n2 carrots"));
        QVERIFY(e.f.windows().isOpen(QStringLiteral("NyttRecept")));
        QCOMPARE(e.f.dir.read("BOOK1.TXT"), kPancakes);

        // Ctrl+X cuts the selected text (it is not the main window's "&Exit" here).
        QTextCursor selection = e.text("t4")->textCursor();
        selection.movePosition(QTextCursor::End);
        selection.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor, 2);
        e.text("t4")->setTextCursor(selection);
        QTest::keyClick(e.text("t4"), Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(e.text("t4")->toPlainText(), QStringLiteral("1 onion\n2 carro"));
        QVERIFY(e.f.main().isVisible());
        QTest::keyClicks(e.text("t4"), QStringLiteral("ts"));

        // Ctrl+Enter saves from anywhere.
        QTest::keyClick(e.text("t4"), Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(e.f.dir.read("BOOK1.TXT"),
                 kPancakes + record({.name = "Stew",
                                     .servings = "",
                                     .time = "",
                                     .ingredients = {"1 onion", "2 carrots"},
                                     .steps = {""}}));
        QVERIFY(!e.f.windows().isOpen(QStringLiteral("NyttRecept")));
    }

    void ctrlSSaves()
    {
        Editor e;
        e.type(QStringLiteral("Salad"), QString(), QString(), QString(), QString());
        QTest::keyClick(e.line("t3"), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(e.f.dir.read("BOOK1.TXT"), kPancakes + record({.name = "Salad",
                                                                .servings = "",
                                                                .time = "",
                                                                .ingredients = {""},
                                                                .steps = {""}}));
    }
};

QTEST_MAIN(NewRecipeEditorTest)
#include "new_recipe_editor_test.moc"
