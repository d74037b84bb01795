// The recipe editor "RedigeraRecept" over a temporary data folder: how it opens, what Save
// writes (and what it refuses to write), and its buttons.

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <string>

#include "core/store/cookbook.h"
#include "gui/app/handover.h"
#include "gui/recipes/recipe_browser.h"
#include "gui/recipes/recipe_editor.h"
#include "gui/recipes/recipe_routines.h"
#include "support/gui_fixture.h"
#include "support/gui_helpers.h"
#include "support/records.h"

using namespace culvora;
using namespace culvora::gui;
using culvora::testing::child;
using culvora::testing::crlf;
using culvora::testing::GuiFixture;
using culvora::testing::infoShape;
using culvora::testing::itemTexts;
using culvora::testing::messageShape;
using culvora::testing::record;

namespace {

// "1\xA0pastry" has a no-break space; the crumble has an empty line, a tab and trailing blanks.
const std::string kApplePie = record({.name = "Apple pie",
                                      .servings = "8",
                                      .time = "50 min",
                                      .ingredients = {"6 apples", "1\xA0pastry"},
                                      .steps = {"Peel the apples.", "Bake."},
                                      .type = "Desserts"});
const std::string kCrumble =
    record({.name = "Crumble",
            .servings = "6",
            .time = "45",
            .ingredients = {"200 g flour", "100 g butter  ", "", "4 apples"},
            .steps = {"Rub\tthe butter into the flour.", "Bake until golden."},
            .type = "Desserts"});
const std::string kWaffles = record({.name = "Waffles",
                                     .servings = "4",
                                     .time = "20",
                                     .ingredients = {"3 eggs"},
                                     .steps = {"Whisk."},
                                     .type = "Desserts"});
const std::string kBook = kApplePie + kCrumble + kWaffles;

const QString kEditor = QStringLiteral("RedigeraRecept");

struct EditorFixture {
    GuiFixture f;

    explicit EditorFixture(const std::string& book = kBook, bool show = false)
    {
        f.writeDefaultFiles();
        f.dir.write("BOOK1.TXT", book);
        f.start(show);
    }

    RecipeEditor* open(const std::string& name)
    {
        f.state.editRecipe = name;
        return qobject_cast<RecipeEditor*>(f.windows().open(kEditor));
    }
    RecipeEditor* editor() { return f.windows().find<RecipeEditor>(kEditor); }
    QLineEdit* line(const char* name) { return child<QLineEdit>(editor(), QLatin1String(name)); }
    QPlainTextEdit* box(const char* name)
    {
        return child<QPlainTextEdit>(editor(), QLatin1String(name));
    }
    QComboBox* types() { return child<QComboBox>(editor(), QStringLiteral("Combo1")); }
    void click(const char* button) { testing::clickButton(editor(), QLatin1String(button)); }
    QStringList messages() const
    {
        QStringList shown;
        for (const Message& m : f.fakes.prompter.messages) shown << messageShape(m);
        return shown;
    }
    std::string book() const { return f.dir.read("BOOK1.TXT"); }
    // Closed windows go at the next turn of the event loop.
    void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

QString error(const QString& text)
{
    return infoShape(QStringLiteral("Error"), text, "Exclamation");
}

}  // namespace

class RecipeEditorTest : public QObject {
    Q_OBJECT

private slots:
    void theViewersEditKeyOpensTheRecipeInItsBoxes()
    {
        EditorFixture e(kBook, true);
        e.f.windows().open(QStringLiteral("recept"));
        showRecipe(e.f.app(), "Crumble");
        QVERIFY(e.f.windows().isOpen(QStringLiteral("Visa")));
        child<QAction>(e.f.windows().find(QStringLiteral("Visa")), QStringLiteral("Edit"))
            ->trigger();

        RecipeEditor* editor = e.editor();
        QVERIFY(editor);
        QCOMPARE(e.f.state.editRecipe, std::string("Crumble"));
        QVERIFY(!e.f.windows().isOpen(QStringLiteral("Visa")));
        QVERIFY(!e.f.windows().isOpen(QStringLiteral("recept")));
        QCOMPARE(editor->windowTitle(), QStringLiteral("Redigera receptet Crumble"));
        QCOMPARE(e.line("t1")->text(), QStringLiteral("Crumble"));
        QVERIFY(!e.line("t1")->isEnabled());
        QCOMPARE(e.line("t2")->text(), QStringLiteral("6"));
        QCOMPARE(e.line("t3")->text(), QStringLiteral("45"));
        QCOMPARE(e.box("t4")->toPlainText(),
                 QStringLiteral("200 g flour\n100 g butter  \n\n4 apples"));
        QCOMPARE(e.box("t5")->toPlainText(),
                 QStringLiteral("Rub\tthe butter into the flour.\nBake until golden."));
        QCOMPARE(itemTexts(e.types()),
                 (QStringList{"Accessories", "Desserts", "First Course", "Hot dish", "Imported"}));
        QCOMPARE(e.types()->currentText(), QStringLiteral("Desserts"));
        QVERIFY(child<QWidget>(editor, QStringLiteral("Frame1"))->isAncestorOf(e.line("t2")));
        QVERIFY(!e.f.main().cookbookMenuEnabled());
        QCOMPARE(editor->focusWidget(), e.line("t2"));
        // The browser and the viewer closed behind it: the editor stays the active window.
        QCoreApplication::processEvents();
        e.settle();
        QCoreApplication::processEvents();
        QCOMPARE(e.f.windows().area()->activeSubWindow(), e.f.windows().subWindowOf(editor));

        // A resizable window whose boxes grow with it; Escape does not throw the typing away.
        QMdiSubWindow* frame = e.f.windows().subWindowOf(editor);
        QCOMPARE(e.f.windows().kindOf(frame), WindowKind::Document);
        const QSize before = e.box("t5")->size();
        frame->resize(frame->size() + QSize(200, 150));
        QVERIFY(e.box("t5")->width() > before.width());
        QVERIFY(e.box("t5")->height() > before.height());
        e.line("t2")->setText(QStringLiteral("8"));
        QTest::keyClick(e.line("t2"), Qt::Key_Escape);
        QCOMPARE(e.editor(), editor);

        // Cancel writes nothing and brings back neither the viewer nor the browser.
        e.click("Command2");
        e.settle();
        QVERIFY(!e.editor());
        QCOMPARE(e.book(), kBook);
        QVERIFY(!e.f.windows().isOpen(QStringLiteral("Visa")));
        QVERIFY(!e.f.windows().isOpen(QStringLiteral("recept")));
        QVERIFY(e.f.main().cookbookMenuEnabled());
        QVERIFY(e.f.fakes.prompter.messages.isEmpty());
    }

    void savingUnchangedLeavesTheCookbookAsItWas_data()
    {
        QTest::addColumn<std::string>("book");
        QTest::addColumn<std::string>("name");
        QTest::newRow("first") << kBook << std::string("Apple pie");
        QTest::newRow("middle") << kBook << std::string("Crumble");
        QTest::newRow("last") << kBook << std::string("Waffles");
        // Bytes no one can type (an undefined code, a control character) are kept where the
        // box was left alone; a type typer.txt does not list is written back as it was.
        const std::string stew = record({.name = "Stew",
                                         .servings = "4\x01",
                                         .time = "3 h",
                                         .ingredients = {"1 kg beef"},
                                         .steps = {"Simmer\x81."},
                                         .type = "Winter food"});
        QTest::newRow("odd bytes and an unlisted type")
            << kApplePie + stew + kWaffles << std::string("Stew");
        const std::string tea = record({.name = "Tea",
                                        .servings = "",
                                        .time = "",
                                        .ingredients = {},
                                        .steps = {},
                                        .type = "Accessories"});
        QTest::newRow("no ingredients, no steps") << kApplePie + tea << std::string("Tea");
    }

    void savingUnchangedLeavesTheCookbookAsItWas()
    {
        QFETCH(std::string, book);
        QFETCH(std::string, name);
        EditorFixture e(book);
        QVERIFY(e.open(name));
        e.click("Command1");
        e.settle();
        QVERIFY(!e.editor());
        QVERIFY2(e.book() == book, e.book().c_str());
        QCOMPARE(e.messages(), QStringList());
    }

    void anEditReplacesTheRecordInPlace_data()
    {
        QTest::addColumn<std::string>("name");
        QTest::addColumn<std::string>("before");
        QTest::addColumn<std::string>("after");
        QTest::newRow("first") << std::string("Apple pie") << std::string() << kCrumble + kWaffles;
        QTest::newRow("middle") << std::string("Crumble") << kApplePie << kWaffles;
        QTest::newRow("last") << std::string("Waffles") << kApplePie + kCrumble << std::string();
    }

    void anEditReplacesTheRecordInPlace()
    {
        QFETCH(std::string, name);
        QFETCH(std::string, before);
        QFETCH(std::string, after);
        EditorFixture e;
        QVERIFY(e.open(name));
        e.line("t2")->clear();
        QTest::keyClicks(e.line("t2"), QStringLiteral("10"));
        e.line("t3")->setText(QStringLiteral("1 timme"));
        // A line added at the end; the lines above keep every character, the no-break space
        // of the pie's pastry included.
        e.box("t4")->moveCursor(QTextCursor::End);
        QTest::keyClick(e.box("t4"), Qt::Key_Return);
        QTest::keyClicks(e.box("t4"), QStringLiteral("2 msk socker"));
        e.box("t5")->setPlainText(QStringLiteral("V\u00E4rm ugnen.\n\nGr\u00E4dda."));
        e.types()->setCurrentIndex(e.types()->findText(QStringLiteral("Hot dish")));
        e.click("Command1");
        e.settle();
        QVERIFY(!e.editor());
        QCOMPARE(e.messages(), QStringList());

        std::string edited = "[NAMN]\r\n" + name +
                             "\r\n[PORTIONER]\r\n10\r\n[TID]\r\n1 timme\r\n"
                             "[IND]\r\n";
        const auto old = store::parseRecordForEdit(kBook, name);
        QVERIFY(old);
        edited += old->ingredients + "2 msk socker\r\n";
        edited += crlf({"[G\xD6RA]", "V\xE4rm ugnen.", "", "Gr\344dda.", "[TYP]", "Hot dish"});
        QVERIFY2(e.book() == before + edited + after, e.book().c_str());
        // Neither the viewer nor the browser comes back after a save.
        QVERIFY(!e.f.windows().isOpen(QStringLiteral("Visa")));
        QVERIFY(!e.f.windows().isOpen(QStringLiteral("recept")));
    }

    void whatTheCookbookCannotHoldIsRefused_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        // clang-format off
        QTest::newRow("a marker among the ingredients")
            << "t4" << QStringLiteral("2 eggs\n[G\u00D6RA]")
            << QStringLiteral("The line \"[G\u00D6RA]\" in the ingredients begins with \"[\", which "
                              "the cookbook reads as the end of the ingredients. Please change "
                              "that line.");
        QTest::newRow("an ingredient in brackets")
            << "t4" << QStringLiteral("[optional] nuts")
            << QStringLiteral("The line \"[optional] nuts\" in the ingredients begins with \"[\", "
                              "which the cookbook reads as the end of the ingredients. Please "
                              "change that line.");
        QTest::newRow("a marker among the steps")
            << "t5" << QStringLiteral("Stir.\n[NAMN]\nServe.")
            << QStringLiteral("The line \"[NAMN]\" in the instructions is one of the cookbook's "
                              "markers and would break the recipe apart. Please change that "
                              "line.");
        QTest::newRow("a marker as the time")
            << "t3" << QStringLiteral("[TYP]")
            << QStringLiteral("The cooking time cannot be \"[TYP]\": the cookbook uses that line "
                              "as one of its markers.");
        QTest::newRow("a letter Windows-1252 lacks")
            << "t4" << QStringLiteral("2 \u0161t eggs\n1 \u0448 salt")
            << QStringLiteral("Ingredients: The character \"\u0448\" (U+0448) cannot be stored: "
                              "the cookbook files hold Western European letters and signs only "
                              "(Windows-1252).");
        QTest::newRow("an emoji")
            << "t2" << QStringLiteral("4 \U0001F642")
            << QStringLiteral("Serves: The character \"\U0001F642\" (U+1F642) cannot be stored: "
                              "the cookbook files hold Western European letters and signs only "
                              "(Windows-1252).");
        QTest::newRow("a control character")
            << "t5" << QStringLiteral("Ring the bell\u0007")
            << QStringLiteral("To do: The text holds the control character U+0007, which cannot "
                              "be stored. Please remove it.");
        // clang-format on
    }

    void whatTheCookbookCannotHoldIsRefused()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        EditorFixture e;
        QVERIFY(e.open("Crumble"));
        QWidget* field = child<QWidget>(e.editor(), box);
        if (auto* text = qobject_cast<QPlainTextEdit*>(field)) {
            text->setPlainText(typed);
        } else {
            qobject_cast<QLineEdit*>(field)->setText(typed);
        }
        e.click("Command1");
        QCOMPARE(e.messages(), QStringList{error(message)});
        QCOMPARE(e.book(), kBook);
        // The window stays open with what was typed, to be put right.
        QVERIFY(e.editor());
        auto* text = qobject_cast<QPlainTextEdit*>(field);
        QCOMPARE(text ? text->toPlainText() : qobject_cast<QLineEdit*>(field)->text(), typed);
    }

    void aTypeTheListLacksStaysTheRecipesType()
    {
        EditorFixture e(kApplePie + record({.name = "Pancakes",
                                            .servings = "4",
                                            .time = "30",
                                            .ingredients = {"3 eggs"},
                                            .steps = {"Fry."},
                                            .type = "Brunch"}));
        QVERIFY(e.open("Pancakes"));
        QCOMPARE(itemTexts(e.types()), (QStringList{"Accessories", "Brunch", "Desserts",
                                                    "First Course", "Hot dish", "Imported"}));
        QCOMPARE(e.types()->currentText(), QStringLiteral("Brunch"));
        e.line("t3")->setText(QStringLiteral("25"));
        e.click("Command1");
        QVERIFY(e.book().ends_with(
            crlf({"[TID]", "25", "[IND]", "3 eggs", "[G\xD6RA]", "Fry.", "[TYP]", "Brunch"})));
        // The list itself is not changed by showing it.
        QCOMPARE(e.f.dir.read("typer.txt"),
                 crlf({"Accessories", "Desserts", "First Course", "Hot dish", "Imported"}));
    }

    void aRecipeDeletedInTheBrowserIsNotSavedBack()
    {
        EditorFixture e(kBook, true);
        auto* browser = qobject_cast<RecipeBrowser*>(e.f.windows().open(QStringLiteral("recept")));
        QVERIFY(browser);
        QString target;
        browser->setDragStarter([&target](int) { return target; });
        auto drag = [&](const std::string& name, const char* onto) {
            target = QLatin1String(onto);
            const QRect r = browser->labelRect({LabelKind::Name, browser->findNameLabel(name)});
            auto* labels = child<QWidget>(browser, QStringLiteral("labels"));
            QTest::mousePress(labels, Qt::LeftButton, {}, labels->mapFrom(browser, r.center()));
            QVERIFY(QMetaObject::invokeMethod(browser->dragTimer(), "timeout"));
        };

        // Dropped on "Edit": the editor opens beside the browser.
        drag("Crumble", "Command3");
        QVERIFY(e.editor());
        QCOMPARE(e.editor()->windowTitle(), QStringLiteral("Redigera receptet Crumble"));
        QCOMPARE(e.line("t2")->text(), QStringLiteral("6"));
        QVERIFY(e.f.windows().isOpen(QStringLiteral("recept")));

        e.line("t2")->setText(QStringLiteral("12"));
        e.f.fakes.prompter.answers.push_back(Answer::Yes);
        drag("Crumble", "Command9");
        const std::string deleted = e.book();
        QVERIFY(deleted.find("Crumble") == std::string::npos);

        e.click("Command1");
        QCOMPARE(e.f.fakes.prompter.messages.size(), 2);
        QCOMPARE(messageShape(e.f.fakes.prompter.last()),
                 error(QStringLiteral("The recipe \"Crumble\" is not in the cookbook any more (it "
                                      "may have been deleted or moved, or another cookbook "
                                      "chosen). Nothing was saved.")));
        QCOMPARE(e.book(), deleted);
        QVERIFY(e.editor());
        QCOMPARE(e.line("t2")->text(), QStringLiteral("12"));
    }

    void anotherCookbookChosenMeanwhileIsNotWrittenTo()
    {
        EditorFixture e;
        e.f.dir.write("bocker.txt", crlf({"Standard", "BOOK1.TXT", "Baking", "BOOK2.TXT"}));
        // The other cookbook has a crumble of its own, which must not be overwritten.
        const std::string other = record({.name = "Crumble",
                                          .servings = "2",
                                          .time = "15",
                                          .ingredients = {"oats"},
                                          .steps = {"Mix."},
                                          .type = "Desserts"});
        e.f.dir.write("BOOK2.TXT", other);
        QVERIFY(e.open("Crumble"));
        e.line("t2")->setText(QStringLiteral("12"));
        e.f.state.currentCookbookFile = "BOOK2.TXT";
        e.click("Command1");
        QCOMPARE(e.messages(),
                 QStringList{error(QStringLiteral(
                     "Another cookbook was chosen while \"Crumble\" was open here, so nothing was "
                     "saved. Choose the cookbook \"Standard\" again, then save."))});
        QCOMPARE(e.f.dir.read("BOOK2.TXT"), other);
        QCOMPARE(e.book(), kBook);
        QVERIFY(e.editor());

        // Back in its own cookbook the same window saves.
        e.f.state.currentCookbookFile = "BOOK1.TXT";
        e.click("Command1");
        QVERIFY(e.book().find("[PORTIONER]\r\n12\r\n") != std::string::npos);
        QCOMPARE(e.f.dir.read("BOOK2.TXT"), other);
    }

    void aRecipeThatIsNotThereOpensNoEditor_data()
    {
        QTest::addColumn<std::string>("cookbook");
        QTest::addColumn<std::string>("name");
        QTest::addColumn<QString>("says");
        QTest::newRow("a name the cookbook does not hold")
            << std::string("BOOK1.TXT") << std::string("Gone")
            << QStringLiteral("The recipe \"Gone\" is not in the cookbook any more; it may have "
                              "been deleted or moved.");
        QTest::newRow("a name that is a line of another recipe")
            << std::string("BOOK1.TXT") << std::string("4 apples")
            << QStringLiteral("\"4 apples\" is not in the cookbook");
        QTest::newRow("a cookbook file that is gone")
            << std::string("BOOK9.TXT") << std::string("Crumble") << QStringLiteral("BOOK9.TXT");
    }

    void aRecipeThatIsNotThereOpensNoEditor()
    {
        QFETCH(std::string, cookbook);
        QFETCH(std::string, name);
        QFETCH(QString, says);
        EditorFixture e;
        e.f.state.currentCookbookFile = cookbook;
        showRecipe(e.f.app(), name);
        child<QAction>(e.f.windows().find(QStringLiteral("Visa")), QStringLiteral("Edit"))
            ->trigger();
        QVERIFY(!e.editor());
        QCOMPARE(e.f.fakes.prompter.messages.size(), 1);
        const Message& m = e.f.fakes.prompter.last();
        QCOMPARE(m.title, QStringLiteral("Error"));
        QVERIFY2(m.text.contains(says), qPrintable(m.text));
        // The window the user came from stays, and nothing was written.
        QVERIFY(e.f.windows().isOpen(QStringLiteral("Visa")));
        QCOMPARE(e.book(), kBook);
    }

    void pictureAndHelp()
    {
        EditorFixture e;
        e.f.dir.write("bilder.txt", crlf({"Waffles", "/home/cook/waffles.jpg"}));
        QVERIFY(e.open("Crumble"));
        e.f.fakes.prompter.fileNames.push_back(QStringLiteral("/home/cook/crumble.jpg"));
        e.click("Command3");
        QCOMPARE(e.f.fakes.prompter.fileDialogTitles,
                 QStringList{QStringLiteral("V\u00E4lj bild f\u00F6r recept")});
        QCOMPARE(e.f.dir.read("bilder.txt"),
                 crlf({"Waffles", "/home/cook/waffles.jpg", "Crumble", "/home/cook/crumble.jpg"}));
        QVERIFY(e.editor());

        e.click("Command4");
        const QString page =
            QString::fromStdString((e.f.dir.path() / "help" / "recipes.html").string());
        QCOMPARE(e.f.fakes.opener.documents, QStringList{page});
        QCOMPARE(e.messages(), QStringList());
        e.f.fakes.opener.opens = false;
        e.click("Command4");
        QCOMPARE(e.messages(),
                 QStringList{error(QStringLiteral("The help page \"%1\" could not be opened: no "
                                                  "program to show web pages was found.")
                                       .arg(page))});
        QCOMPARE(e.book(), kBook);
    }
};

QTEST_MAIN(RecipeEditorTest)
#include "recipe_editor_test.moc"
