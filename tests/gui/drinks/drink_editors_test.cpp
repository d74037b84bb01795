// The drink editors: "nydrink" ("Add drink") with its character buttons, and "editdrink"
// ("Edit drink"), which rewrites a drink in place. What they write, what they refuse to write,
// and the glass they show.

#include <QAbstractScrollArea>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>

#include <cstdlib>
#include <filesystem>

#include "drinks_fixture.h"
#include "gui/app/geometry.h"
#include "gui/drinks/drink_edit_screen.h"
#include "gui/drinks/drink_windows.h"
#include "gui/drinks/new_drink_editor.h"
#include "gui/widgets/editor_fields.h"

using namespace culvora;
using namespace culvora::gui;
using culvora::testing::child;
using culvora::testing::drink;
using culvora::testing::DrinksFixture;
using culvora::testing::infoShape;
using culvora::testing::itemTexts;

namespace {

// The ingredients hold an empty line, trailing blanks and a no-break space; the Ice drink's
// name also stands as an ingredient line of the Mojito before it.
const std::string kMojito = drink("Mojito", {"6 mint leaves  ", "", "Ice", "4 cl\xA0rum"},
                                  {"Muddle.", "Top up with soda."}, "Highball");
const std::string kIce = drink("Ice", {"Water"}, {"Freeze."}, "Shot");
const std::string kBeer = drink("Shandy", {"beer", "lemonade"}, {"Mix."}, "Beer");
const std::string kDrinks = kMojito + kIce + kBeer;

const QStringList kGlasses = {"(Unknown)", "Beer",    "Brandy",  "Champagne", "Cocktail",
                              "Coffecup",  "Collins", "Cordial", "Highball",  "Oldfashioned",
                              "Pousse",    "Punch",   "Shot",    "Sour",      "Wine"};

void clickInto(QWidget* box)
{
    auto* area = qobject_cast<QAbstractScrollArea*>(box);
    QTest::mouseClick(area ? area->viewport() : box, Qt::LeftButton, {}, QPoint(10, 10));
    QCoreApplication::processEvents();
}

bool samePicture(const QLabel* label, const QPixmap& expected)
{
    return !expected.isNull() && label->pixmap().toImage() == expected.toImage();
}

struct NewDrink {
    DrinksFixture d;
    NewDrinkEditor* window = nullptr;

    explicit NewDrink(const std::optional<std::string>& file = kDrinks) : d(file, true)
    {
        d.openList();
        d.click("Command2");  // "Add drink"
        window = d.f.windows().find<NewDrinkEditor>(forms::kNewDrink);
    }
    QLineEdit* name() { return child<QLineEdit>(window, QStringLiteral("Text1")); }
    QPlainTextEdit* box(const char* control)
    {
        return child<QPlainTextEdit>(window, QLatin1String(control));
    }
    QComboBox* glasses() { return child<QComboBox>(window, QStringLiteral("Combo1")); }
    QPushButton* button(const char* control)
    {
        return child<QPushButton>(window, QLatin1String(control));
    }
    void click(const char* control) { button(control)->click(); }
};

struct EditDrink {
    DrinksFixture d;
    DrinkEditScreen* window = nullptr;

    explicit EditDrink(const std::string& file = kDrinks, const QString& drinkName = "Mojito")
        : d(file)
    {
        d.openList();
        d.select(drinkName);
        d.click("Command3");  // "Edit"
        window = d.f.windows().find<DrinkEditScreen>(forms::kEditDrink);
    }
    QPlainTextEdit* box(const char* control)
    {
        return child<QPlainTextEdit>(window, QLatin1String(control));
    }
    QComboBox* glasses() { return child<QComboBox>(window, QStringLiteral("Combo1")); }
    QLabel* label(const char* control) { return child<QLabel>(window, QLatin1String(control)); }
    void click(const char* control) { testing::clickButton(window, QLatin1String(control)); }
    bool isOpen() { return d.f.windows().isOpen(forms::kEditDrink); }
};

}  // namespace

class DrinkEditorsTest : public QObject {
    Q_OBJECT

private slots:
    void glassPicturesAreTheUsersOwnElseTheInstalledOnes()
    {
        testing::GuiFixture f;
        const char* source = std::getenv("CULVORA_SOURCE_DIR");
        const auto installed = std::filesystem::path(source ? source : ".") / "data";
        f.state.deliveredFolder = installed;
        f.writeDefaultFiles();
        f.start();
        // Nothing in the data folder: the installed picture.
        const QImage champagne(QString::fromStdString((installed / "Champ.bmp").string()));
        QVERIFY(!champagne.isNull());
        QCOMPARE(glassPixmap(f.state, 3).toImage(), QPixmap::fromImage(champagne).toImage());
        // The user's own copy wins, whatever the letter case of its name.
        QImage own(20, 30, QImage::Format_RGB32);
        own.fill(Qt::red);
        QVERIFY(own.save(QString::fromStdString(f.dir.file("champ.bmp").string()), "BMP"));
        QCOMPARE(glassPixmap(f.state, 3).size(), QSize(20, 30));
        QVERIFY(glassPixmap(f.state, -1).isNull());
    }

    // --- "Add drink" ---------------------------------------------------------------------

    void theNewDrinkEditorOpensWithTheUnknownGlassChosen()
    {
        NewDrink e;
        QVERIFY(e.window);
        QCOMPARE(e.window->windowTitle(), QStringLiteral("Add drink"));
        QCOMPARE(e.window->size(), QSize(twips(9600), twips(3930)));
        QCOMPARE(e.d.f.windows().kindOf(e.d.f.windows().subWindowOf(e.window)), WindowKind::Fixed);
        const QStringList captions = {"Name:", "Ingredients:", "Mixing instructions:", "Glass:"};
        for (int i = 0; i < captions.size(); ++i) {
            QCOMPARE(child<QLabel>(e.window, QStringLiteral("Label1(%1)").arg(i))->text(),
                     captions[i]);
        }
        QCOMPARE(e.button("Command1")->text(), QStringLiteral("Save"));
        QCOMPARE(e.button("Command2")->text(), QStringLiteral("Cancel"));
        QCOMPARE(e.button("Command3")->text(), QStringLiteral("Insert..."));
        const QStringList characters = {"\u00B0", "\u00BC", "\u00BD", "\u00BE", "\u00B1"};
        for (int i = 0; i < characters.size(); ++i) {
            QPushButton* character = e.button(qPrintable(QStringLiteral("Command%1").arg(6 + i)));
            QCOMPARE(character->text(), characters[i]);
            QVERIFY(!character->isVisible());
        }
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(e.name()));

        QCOMPARE(itemTexts(e.glasses()), kGlasses);
        QCOMPARE(e.glasses()->currentText(), QStringLiteral("(Unknown)"));
        auto* picture = child<QLabel>(e.window, QStringLiteral("Image1"));
        QVERIFY(samePicture(picture, glassPixmap(e.d.f.state, 0)));
        e.glasses()->setCurrentIndex(3);  // Champagne
        QVERIFY(samePicture(picture, glassPixmap(e.d.f.state, 3)));
    }

    void theMarkerStartsAtNoBoxWithEveryNewEditor()
    {
        DrinksFixture d(kDrinks);
        d.f.state.lastFocusedBox = NewDrinkEditor::kInstructionsBox;
        d.openList();
        d.click("Command2");
        auto* editor = d.f.windows().find<NewDrinkEditor>(forms::kNewDrink);
        QCOMPARE(d.f.state.lastFocusedBox, NewDrinkEditor::kNoTextBox);
        editor->insertCharacter(QStringLiteral("\u00B0"));
        editor->showCharacterRow();
        QCOMPARE(child<QPlainTextEdit>(editor, QStringLiteral("Text3"))->toPlainText(), QString());
        QCOMPARE(d.messages(),
                 QStringList{infoShape("Error", "First enter one of the two textboxes.")});
        QCOMPARE(editor->height(), twips(3930));
    }

    void theCharacterButtonsTypeIntoTheBoxThatHadTheFocusLast()
    {
        NewDrink e;
        // The name box is no box for them: "Insert..." says so, the buttons do nothing.
        clickInto(e.name());
        e.click("Command3");
        QCOMPARE(e.d.messages(),
                 QStringList{infoShape("Error", "First enter one of the two textboxes.")});
        QCOMPARE(e.window->height(), twips(3930));
        QVERIFY(!e.window->characterRowShown());

        QPlainTextEdit* ingredients = e.box("Text2");
        clickInto(ingredients);
        QCOMPARE(e.d.f.state.lastFocusedBox, NewDrinkEditor::kIngredientsBox);
        QTest::keyClicks(ingredients, QStringLiteral("1 cup"));
        e.button("Command3")->setFocus();  // the focus leaves the box; the marker stays
        e.click("Command3");
        QCOMPARE(e.d.messages().size(), 1);
        QCOMPARE(e.window->height(), twips(4380));
        QVERIFY(e.window->characterRowShown());
        QVERIFY(e.button("Command8")->isVisible());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(ingredients));

        // At the caret, in place of the selection.
        QTextCursor caret = ingredients->textCursor();
        caret.setPosition(1);
        ingredients->setTextCursor(caret);
        e.click("Command8");  // ½
        QCOMPARE(ingredients->toPlainText(), QStringLiteral("1\u00BD cup"));
        caret = ingredients->textCursor();
        caret.setPosition(3);
        caret.setPosition(6, QTextCursor::KeepAnchor);
        ingredients->setTextCursor(caret);
        e.click("Command6");  // °
        QCOMPARE(ingredients->toPlainText(), QStringLiteral("1\u00BD \u00B0"));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(ingredients));

        QPlainTextEdit* instructions = e.box("Text3");
        clickInto(instructions);
        QCOMPARE(e.d.f.state.lastFocusedBox, NewDrinkEditor::kInstructionsBox);
        for (const char* button : {"Command7", "Command9", "Command10"}) e.click(button);
        QCOMPARE(instructions->toPlainText(), QStringLiteral("\u00BC\u00BE\u00B1"));

        clickInto(e.name());
        QCOMPARE(e.d.f.state.lastFocusedBox, NewDrinkEditor::kNoTextBox);
        e.click("Command6");
        QCOMPARE(ingredients->toPlainText(), QStringLiteral("1\u00BD \u00B0"));
        QCOMPARE(instructions->toPlainText(), QStringLiteral("\u00BC\u00BE\u00B1"));
        QCOMPARE(e.name()->text(), QString());

        // The characters are stored as the file's single bytes.
        e.name()->setText(QStringLiteral("Hot toddy"));
        e.click("Command1");
        QCOMPARE(e.d.file(),
                 kDrinks + drink("Hot toddy", {"1\xBD \xB0"}, {"\xBC\xBE\xB1"}, "(Unknown)"));
    }

    void saveAddsTheDrinkAndTheListShowsEveryDrink()
    {
        NewDrink e;
        e.d.chooseGlass(1);  // the list shows the beer drinks only
        QCOMPARE(e.d.shown(), QStringList{"Shandy"});
        e.name()->setText(QStringLiteral("Gin fizz"));
        e.box("Text2")->setPlainText(QStringLiteral("4 cl gin\n2 cl lemon"));
        e.box("Text3")->setPlainText(QStringLiteral("Shake.\nTop up with soda."));
        e.glasses()->setCurrentIndex(6);  // Collins
        e.click("Command1");
        QCOMPARE(e.d.file(), kDrinks + drink("Gin fizz", {"4 cl gin", "2 cl lemon"},
                                             {"Shake.", "Top up with soda."}, "Collins"));
        DrinksFixture::settle();
        QVERIFY(!e.d.f.windows().isOpen(forms::kNewDrink));
        QCOMPARE(e.d.shown(), (QStringList{"Gin fizz", "Ice", "Mojito", "Shandy"}));
        QCOMPARE(e.d.count(), QStringLiteral("4"));
        // The filter comes off with it, so the button, the menu and the list agree, and the
        // next reload shows every drink too.
        QCOMPARE(child<QPushButton>(e.d.list(), QStringLiteral("Command7"))->text(),
                 QStringLiteral("Filter OFF"));
        QVERIFY(!e.d.glass(1)->isChecked());
        QVERIFY(e.d.noFilter()->isChecked());
        e.d.click("Command6");  // "Update"
        QCOMPARE(e.d.shown(), (QStringList{"Gin fizz", "Ice", "Mojito", "Shandy"}));
        QVERIFY(e.d.messages().isEmpty());
    }

    void theFirstDrinkCreatesTheFileWithAnEmptyLineForEachEmptyBox()
    {
        NewDrink e(std::nullopt);
        e.name()->setText(QStringLiteral("   "));  // blanks are a name
        e.click("Command1");
        QCOMPARE(e.d.file(), drink("   ", {""}, {""}, "(Unknown)"));
        QCOMPARE(e.d.count(), QStringLiteral("1"));
    }

    void anEmptyNameIsRefusedInSwedish()
    {
        NewDrink e;
        e.box("Text2")->setPlainText(QStringLiteral("4 cl gin"));
        e.click("Command1");
        QCOMPARE(e.d.f.fakes.prompter.beeps, 1);
        QCOMPARE(e.d.messages(), QStringList{infoShape(
                                     "Fel", "Du m\u00E5ste d\u00F6pa drinken till n\u00E5got innan "
                                            "Du sparar")});
        QCOMPARE(e.d.file(), kDrinks);
        QVERIFY(e.d.f.windows().isOpen(forms::kNewDrink));
    }

    // What the drinks file cannot hold is refused with the reason, and nothing is written.
    void whatTheFileCannotHoldIsRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("ingredients");
        QTest::addColumn<QString>("instructions");
        QTest::addColumn<QString>("message");
        const QString marker = QStringLiteral(
            "The line \"%1\" in the %2 would be read as one of the drinks file's markers and break "
            "the drink apart. Please change that line.");
        QTest::newRow("a marker as the name")
            << "[NAMN]"
            << ""
            << ""
            << "The drink's name cannot be \"[NAMN]\": the drinks file uses it as a marker.";
        QTest::newRow("the glass marker among the ingredients")
            << "Punch"
            << "rum\n[GLAS]"
            << "" << marker.arg("[GLAS]", "ingredients");
        QTest::newRow("an ingredient beginning with [G")
            << "Punch"
            << "[Garnish] mint"
            << "" << marker.arg("[Garnish] mint", "ingredients");
        QTest::newRow("the name marker in the instructions")
            << "Punch"
            << ""
            << "Stir.\n[NAMN]" << marker.arg("[NAMN]", "mixing instructions");
        QTest::newRow("a character the file cannot hold")
            << "Punch \u2192 bowl"
            << ""
            << ""
            << "The name cannot be saved. The character \"\u2192\" (U+2192) cannot be stored: the "
               "drinks file holds Western European letters and signs only (Windows-1252).";
        QTest::newRow("one in the instructions")
            << "Punch"
            << ""
            << "Stir \u2615"
            << "The mixing instructions cannot be saved. The character \"\u2615\" (U+2615) cannot "
               "be stored: the drinks file holds Western European letters and signs only "
               "(Windows-1252).";
    }
    void whatTheFileCannotHoldIsRefused()
    {
        QFETCH(QString, name);
        QFETCH(QString, ingredients);
        QFETCH(QString, instructions);
        QFETCH(QString, message);
        NewDrink e;
        e.name()->setText(name);
        e.box("Text2")->setPlainText(ingredients);
        e.box("Text3")->setPlainText(instructions);
        e.click("Command1");
        QCOMPARE(e.d.messages(), QStringList{infoShape("Error", message, "Exclamation")});
        QCOMPARE(e.d.file(), kDrinks);
        QVERIFY(e.d.f.windows().isOpen(forms::kNewDrink));
    }

    void cancelWritesNothing()
    {
        NewDrink e;
        e.name()->setText(QStringLiteral("Gin fizz"));
        e.click("Command2");
        DrinksFixture::settle();
        QVERIFY(!e.d.f.windows().isOpen(forms::kNewDrink));
        QCOMPARE(e.d.file(), kDrinks);
    }

    // --- "Edit drink" --------------------------------------------------------------------

    // The stored glass is recognised in either spelling and chosen in the list; Ok without a
    // change leaves the file byte for byte as it was, the glass's spelling included.
    void theEditScreenShowsTheStoredGlassAndAnUnchangedOkChangesNothing_data()
    {
        QTest::addColumn<QString>("glass");
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Highball") << "Highball" << 8 << "Highball";
        QTest::newRow("Coffecup") << "Coffecup" << 5 << "Coffecup";
        QTest::newRow("Coffeecup") << "Coffeecup" << 5 << "Coffeecup";
        QTest::newRow("(Unknown)") << "(Unknown)" << 0 << "(Unknown)";
        QTest::newRow("(Inget)") << "(Inget)" << 0 << "(Inget)";
        QTest::newRow("a glass no table knows") << "Tiki mug" << -1 << "";
        QTest::newRow("no glass line") << "" << -1 << "";
    }
    void theEditScreenShowsTheStoredGlassAndAnUnchangedOkChangesNothing()
    {
        QFETCH(QString, glass);
        QFETCH(int, entry);
        QFETCH(QString, caption);
        const std::string file = drink("Mojito", {"6 mint leaves  ", "", "Ice", "4 cl\xA0rum"},
                                       {"Muddle.", "Top up with soda."}, glass.toStdString()) +
                                 kIce + kBeer;
        EditDrink e(file);
        QVERIFY(e.window);
        QCOMPARE(e.window->windowTitle(), QStringLiteral("Edit drink"));
        QCOMPARE(e.d.f.windows().kindOf(e.d.f.windows().subWindowOf(e.window)), WindowKind::Fixed);
        QCOMPARE(e.label("Label1")->text(), QStringLiteral("Mojito"));
        QCOMPARE(e.label("Label2(0)")->text(), QStringLiteral("Ingredients:"));
        QCOMPARE(e.label("Label2(1)")->text(), QStringLiteral("To do:"));
        QCOMPARE(e.label("label4")->text(), QStringLiteral("Glass:"));
        QCOMPARE(boxText(e.box("Text1")), QStringLiteral("6 mint leaves  \n\nIce\n4 cl\u00A0rum"));
        QCOMPARE(e.box("Text2")->toPlainText(), QStringLiteral("Muddle.\nTop up with soda."));
        QCOMPARE(itemTexts(e.glasses()), kGlasses);
        QCOMPARE(e.glasses()->currentIndex(), entry);
        QCOMPARE(e.label("Label3")->text(), caption);
        auto* picture = e.label("Image1");
        if (entry >= 0) {
            QVERIFY(samePicture(picture, glassPixmap(e.d.f.state, entry)));
        } else {
            QVERIFY(picture->pixmap().isNull());
        }

        e.click("Command1");  // "Ok"
        QCOMPARE(e.d.file(), file);
        QVERIFY(e.d.messages().isEmpty());
        DrinksFixture::settle();
        QVERIFY(!e.isOpen());
    }

    // A glass chosen in the list is written as the list has it; the stored glass chosen
    // again keeps its own spelling.
    void theChosenGlassIsWritten_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QList<int>>("choices");
        QTest::addColumn<QString>("written");
        QTest::newRow("another glass") << "Coffeecup" << QList<int>{14} << "Wine";
        QTest::newRow("there and back") << "Coffeecup" << QList<int>{14, 5} << "Coffeecup";
        QTest::newRow("the other spelling's entry") << "Highball" << QList<int>{5} << "Coffecup";
        QTest::newRow("unknown, left") << "Tiki mug" << QList<int>{} << "Tiki mug";
        QTest::newRow("unknown, replaced") << "Tiki mug" << QList<int>{1} << "Beer";
    }
    void theChosenGlassIsWritten()
    {
        QFETCH(QString, stored);
        QFETCH(QList<int>, choices);
        QFETCH(QString, written);
        EditDrink e(drink("Mojito", {"mint"}, {"Muddle."}, stored.toStdString()) + kIce);
        for (int choice : choices) {
            e.glasses()->setCurrentIndex(choice);
            // The picture follows the choice; the stored glass's caption stays.
            QVERIFY(samePicture(e.label("Image1"), glassPixmap(e.d.f.state, choice)));
            QCOMPARE(e.label("Label3")->text(),
                     drinks::glassIndex(stored.toStdString()) >= 0 ? stored : QString());
        }
        e.click("Command1");
        QCOMPARE(e.d.file(), drink("Mojito", {"mint"}, {"Muddle."}, written.toStdString()) + kIce);
    }

    void okRewritesTheDrinkFoundByItsNameLineInPlace()
    {
        EditDrink e(kDrinks, QStringLiteral("Ice"));
        e.box("Text1")->setPlainText(QStringLiteral("Water\n\u00BD lemon"));
        e.click("Command1");
        QCOMPARE(e.d.file(),
                 kMojito + drink("Ice", {"Water", "\xBD lemon"}, {"Freeze."}, "Shot") + kBeer);

        // Cancel writes nothing.
        e.d.select(QStringLiteral("Shandy"));
        e.d.click("Command3");
        e.window = e.d.f.windows().find<DrinkEditScreen>(forms::kEditDrink);
        e.box("Text2")->setPlainText(QStringLiteral("Stir."));
        const std::string before = e.d.file();
        e.click("Command2");
        QCOMPARE(e.d.file(), before);
    }

    void whatTheFileCannotHoldIsRefusedAndTheScreenStays_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("a marker")
            << "Text1"
            << "rum\n[GLAS]"
            << "The line \"[GLAS]\" in the ingredients would be read as one of the drinks "
               "file's markers and break the drink apart. Please change that line.";
        QTest::newRow("a character")
            << "Text2"
            << "Stir \u2615"
            << "The mixing instructions cannot be saved. The character \"\u2615\" (U+2615) "
               "cannot be stored: the drinks file holds Western European letters and signs "
               "only (Windows-1252).";
    }
    void whatTheFileCannotHoldIsRefusedAndTheScreenStays()
    {
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(QString, message);
        EditDrink e;
        e.box(qPrintable(box))->setPlainText(text);
        e.click("Command1");
        QCOMPARE(e.d.messages(), QStringList{infoShape("Error", message, "Exclamation")});
        QCOMPARE(e.d.file(), kDrinks);
        QVERIFY(e.isOpen());
    }

    void aDrinkGoneMeanwhileIsNotWrittenBack()
    {
        EditDrink e(kDrinks, QStringLiteral("Shandy"));
        e.box("Text1")->setPlainText(QStringLiteral("beer"));
        e.d.f.dir.write("drinkar.txt", kMojito + kIce);  // deleted elsewhere
        e.click("Command1");
        QCOMPARE(e.d.messages(),
                 QStringList{infoShape("Error",
                                       "The drink \"Shandy\" is not in the drinks file any "
                                       "more; nothing was changed.",
                                       "Exclamation")});
        QCOMPARE(e.d.file(), kMojito + kIce);
        QVERIFY(e.isOpen());  // the typing is not lost
    }
};

QTEST_MAIN(DrinkEditorsTest)
#include "drink_editors_test.moc"
