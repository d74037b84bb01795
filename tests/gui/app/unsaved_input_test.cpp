// Typed work is never lost: each of the seven windows that hold input (the new recipe, the recipe
// editor, both drink editors, the Fridge list editor, the composed weekly menu, the
// calculator's list) asks before it closes, by every path: its close button, Exit, Ctrl+X,
// closing the main window, logging out, and Escape where Escape closes. Cancel keeps
// everything open, Discard closes without saving, Save goes through the window's own save.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <string>
#include <utility>

#include "gui/app/main_window.h"
#include "gui/app/unsaved_input.h"
#include "gui/app/window_names.h"
#include "support/gui_fixture.h"
#include "support/gui_helpers.h"

using namespace culvora;
using namespace culvora::gui;
using culvora::testing::child;
using culvora::testing::crlf;
using culvora::testing::GuiFixture;
using culvora::testing::messageShape;

namespace {

const std::string kBook = crlf({"[NAMN]", "Pancakes", "[PORTIONER]", "4", "[TID]", "20", "[IND]",
                                "3 dl flour", "[G\xD6RA]", "Fry.", "[TYP]", "Hot dish"});
const std::string kDrinks =
    crlf({"[NAMN]", "Mojito", "4 cl rum", "[G\xD6RA]", "Stir.", "[GLAS]", "Highball"});
const std::string kWords = crlf({"flour", "milk"});
const std::string kTable =
    crlf({"Apple", "218", "52", "85", "3", "0.2", "14", "6", "0.5", "0", "4"});
// tavendi.ini as the test writes it; Exit writes "0" for the unticked tips, so a rewrite shows.
const std::string kSettings = crlf({"BOOK1.TXT", "1"});
const std::string kSettingsAtExit = crlf({"BOOK1.TXT", "0"});

enum class Path { CloseButton, Exit, CtrlX, CloseMain, LogOut };

// Logging out, with the three calls a session manager answers.
struct Session {
    bool interaction = true;
    int asked = 0;
    int released = 0;
    int cancelled = 0;

    MainWindow::SessionEnd calls()
    {
        return {[this] {
                    ++asked;
                    return interaction;
                },
                [this] { ++released; }, [this] { ++cancelled; }};
    }
};

struct Env {
    GuiFixture f;
    Session session;

    Env()
    {
        f.writeDefaultFiles();
        f.dir.write("tavendi.ini", kSettings);
        f.dir.write("BOOK1.TXT", kBook);
        f.dir.write("sok.txt", kWords);
        f.dir.write("drinkar.txt", kDrinks);
        f.dir.write("index.txt", kTable);
        f.start(true);
        QApplication::setActiveWindow(&f.main());
    }

    QWidget* open(QLatin1String form) { return f.windows().open(form); }
    const QList<Message>& messages() { return f.fakes.prompter.messages; }
    // Closed windows go, and a save asked for from a close button runs, at the next turn of
    // the event loop.
    static void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void close(QWidget* window, Path path)
    {
        switch (path) {
        case Path::CloseButton: f.windows().subWindowOf(window)->close(); break;
        case Path::Exit: f.main().findChild<QAction*>(QStringLiteral("mnu7"))->trigger(); break;
        case Path::CtrlX:
            // Outside a text box, where Ctrl+X cuts.
            f.main().setFocus();
            QTest::keyClick(&f.main(), Qt::Key_X, Qt::ControlModifier);
            break;
        case Path::CloseMain: f.main().close(); break;
        case Path::LogOut: f.main().commitData(session.calls()); break;
        }
        settle();
    }
};

// One of the seven windows: how it is opened and given input, what its question says, and
// what its save leaves on disk.
struct Subject {
    QLatin1String form;
    std::function<QWidget*(Env&)> openWithInput;
    QString question;  // the message box's shape (messageShape)
    std::function<bool(Env&)> saved;
};

QWidget* newRecipe(Env& e)
{
    QWidget* w = e.open(forms::kNewRecipe);
    child<QLineEdit>(w, QStringLiteral("t1"))->setText(QStringLiteral("Waffles"));
    child<QPlainTextEdit>(w, QStringLiteral("t4"))->setPlainText(QStringLiteral("2 dl flour"));
    return w;
}

QWidget* recipeEditor(Env& e)
{
    e.f.state.editRecipe = "Pancakes";
    QWidget* w = e.open(forms::kEditRecipe);
    child<QLineEdit>(w, QStringLiteral("t2"))->setText(QStringLiteral("6"));
    return w;
}

QWidget* newDrink(Env& e)
{
    QWidget* w = e.open(forms::kNewDrink);
    child<QLineEdit>(w, QStringLiteral("Text1"))->setText(QStringLiteral("Gin fizz"));
    return w;
}

QWidget* drinkEditor(Env& e)
{
    QWidget* list = e.open(forms::kDrinks);
    testing::selectItem(child<QListWidget>(list, QStringLiteral("List1")),
                        QStringLiteral("Mojito"));
    QWidget* w = e.open(forms::kEditDrink);
    child<QPlainTextEdit>(w, QStringLiteral("Text1"))
        ->setPlainText(QStringLiteral("4 cl rum\n1 lime"));
    return w;
}

QWidget* fridgeList(Env& e)
{
    QWidget* w = e.open(forms::kFridgeList);
    child<QLineEdit>(w, QStringLiteral("Text1"))->setText(QStringLiteral("Garlic"));
    testing::clickButton(w, QStringLiteral("Command1"));  // "&Add"
    return w;
}

QWidget* weeklyMenu(Env& e)
{
    QWidget* w = e.open(forms::kWeeklyMenu);
    testing::clickButton(w, QStringLiteral("Command5"));  // "Search": Pancakes for Monday
    return w;
}

QWidget* calculator(Env& e)
{
    QWidget* w = e.open(forms::kCalculator);
    testing::selectItem(child<QListWidget>(w, QStringLiteral("List1")), QStringLiteral("Apple"));
    child<QLineEdit>(w, QStringLiteral("Text1"))->setText(QStringLiteral("150"));
    testing::clickButton(w, QStringLiteral("Command1"));  // "Add"
    return w;
}

QString saveQuestion(const char* title, const QString& what)
{
    return QStringLiteral("[%1] Question SaveDiscardCancel default Save: Save changes to %2?")
        .arg(QLatin1String(title), what);
}

bool contains(const std::string& file, std::string_view part)
{
    return file.find(part) != std::string::npos;
}

QList<Subject> subjects()
{
    return {
        {forms::kNewRecipe, newRecipe,
         saveQuestion("New recipe", QStringLiteral("the new recipe \u201CWaffles\u201D")),
         [](Env& e) { return contains(e.f.dir.read("BOOK1.TXT"), "Waffles\r\n"); }},
        {forms::kEditRecipe, recipeEditor,
         saveQuestion("Redigera receptet Pancakes",
                      QStringLiteral("the recipe \u201CPancakes\u201D")),
         [](Env& e) { return contains(e.f.dir.read("BOOK1.TXT"), "[PORTIONER]\r\n6\r\n"); }},
        {forms::kNewDrink, newDrink,
         saveQuestion("Add drink", QStringLiteral("the new drink \u201CGin fizz\u201D")),
         [](Env& e) { return contains(e.f.dir.read("drinkar.txt"), "Gin fizz\r\n"); }},
        {forms::kEditDrink, drinkEditor,
         saveQuestion("Edit drink", QStringLiteral("the drink \u201CMojito\u201D")),
         [](Env& e) { return contains(e.f.dir.read("drinkar.txt"), "1 lime\r\n"); }},
        {forms::kFridgeList, fridgeList,
         saveQuestion("The refrigerator index", QStringLiteral("the Fridge list")),
         [](Env& e) {
             return e.f.dir.read("sok.txt") == crlf({"flour", "garlic", "milk"});
         }},
        // The weekly menu is kept the way the window keeps it: "Print report".
        {forms::kWeeklyMenu, weeklyMenu,
         saveQuestion("Compose a menu for the week", QStringLiteral("the weekly menu")),
         [](Env& e) {
             return e.f.fakes.printer.documents == 1 &&
                    e.f.fakes.printer.output.contains(QStringLiteral("Pancakes"));
         }},
        // The calculator keeps nothing: its question only lets the list go or keeps it.
        {forms::kCalculator, calculator,
         QStringLiteral("[The (kcal)culator] Question CloseCancel default Cancel: Close and lose "
                        "the calculator's list?"),
         nullptr},
    };
}

const char* pathName(Path path)
{
    switch (path) {
    case Path::CloseButton: return "close button";
    case Path::Exit: return "Exit";
    case Path::CtrlX: return "Ctrl+X";
    case Path::CloseMain: return "main window closed";
    case Path::LogOut: return "logging out";
    }
    return "";
}

bool endsTheProgram(Path path)
{
    return path == Path::Exit || path == Path::CtrlX || path == Path::CloseMain;
}

}  // namespace

Q_DECLARE_METATYPE(Path)

class UnsavedInputTest : public QObject {
    Q_OBJECT

    static void addRows(std::initializer_list<Path> paths, bool savingOnly = false)
    {
        QTest::addColumn<int>("subject");
        QTest::addColumn<Path>("path");
        const auto all = subjects();
        for (int i = 0; i < all.size(); ++i) {
            if (savingOnly && !all[i].saved) continue;
            for (Path path : paths) {
                QTest::addRow("%s, %s", all[i].form.data(), pathName(path)) << i << path;
            }
        }
    }

private slots:
    void cancelKeepsEverythingAndDiscardLetsTheInputGo_data()
    {
        addRows({Path::CloseButton, Path::Exit, Path::CtrlX, Path::CloseMain, Path::LogOut});
    }
    void cancelKeepsEverythingAndDiscardLetsTheInputGo()
    {
        QFETCH(int, subject);
        QFETCH(Path, path);
        const Subject s = subjects()[subject];
        Env e;
        QPointer<QWidget> window = s.openWithInput(e);
        QVERIFY(window);
        QVERIFY(holdsUnsavedInput(window));
        const std::string book = e.f.dir.read("BOOK1.TXT");
        const std::string drinks = e.f.dir.read("drinkar.txt");
        const std::string words = e.f.dir.read("sok.txt");
        e.f.fakes.prompter.messages.clear();

        // Cancel: the window, its input and the program stay; tavendi.ini is not written.
        e.f.fakes.prompter.answers = {Answer::Cancel};
        e.close(window, path);
        QCOMPARE(e.messages().size(), 1);
        QCOMPARE(messageShape(e.messages().front()), s.question);
        QVERIFY(window && e.f.windows().isOpen(s.form));
        QVERIFY(holdsUnsavedInput(window));
        QVERIFY(e.f.main().isVisible());
        QCOMPARE(e.f.dir.read("tavendi.ini"), kSettings);
        if (path == Path::LogOut) {
            QCOMPARE(e.session.cancelled, 1);
            QCOMPARE(e.session.released, 0);
        }

        // Discard (the calculator: Close): the window goes without saving anything.
        e.f.fakes.prompter.answers = {s.saved ? Answer::Discard : Answer::Close};
        e.close(window, path);
        QCOMPARE(e.messages().size(), 2);
        QVERIFY(!window);
        QCOMPARE(e.f.dir.read("BOOK1.TXT"), book);
        QCOMPARE(e.f.dir.read("drinkar.txt"), drinks);
        QCOMPARE(e.f.dir.read("sok.txt"), words);
        QCOMPARE(e.f.fakes.printer.documents, 0);
        QCOMPARE(e.f.main().isVisible(), !endsTheProgram(path));
        QCOMPARE(e.f.dir.read("tavendi.ini"), endsTheProgram(path) ? kSettingsAtExit : kSettings);
        if (path == Path::LogOut) {
            QCOMPARE(e.session.cancelled, 1);
            QCOMPARE(e.session.released, 1);
        }
    }

    void saveGoesThroughTheWindowsOwnSave_data()
    {
        // The calculator has nothing to save.
        addRows({Path::CloseButton, Path::Exit, Path::LogOut}, true);
    }
    void saveGoesThroughTheWindowsOwnSave()
    {
        QFETCH(int, subject);
        QFETCH(Path, path);
        const Subject s = subjects()[subject];
        Env e;
        QPointer<QWidget> window = s.openWithInput(e);
        QVERIFY(!s.saved(e));
        e.f.fakes.prompter.messages.clear();
        e.f.fakes.prompter.answers = {Answer::Save};
        e.close(window, path);
        // The question first; the save's own questions (a picture of the dish?) come after it.
        QVERIFY(!e.messages().isEmpty());
        QCOMPARE(messageShape(e.messages().front()), s.question);
        QVERIFY(s.saved(e));
        QVERIFY(!window);
        QCOMPARE(e.f.main().isVisible(), path != Path::Exit);
        if (path == Path::LogOut) QCOMPARE(e.session.released, 1);
    }

    void exitAsksEachWindowInTurnAndOneCancelClosesNothing()
    {
        Env e;
        QPointer<QWidget> recipe = newRecipe(e);
        QPointer<QWidget> words = fridgeList(e);
        QPointer<QWidget> dish = calculator(e);
        e.f.fakes.prompter.messages.clear();

        // Discard for the recipe, then Cancel for the Fridge list: the calculator is not
        // asked, and the recipe let go a moment ago stays with its input.
        e.f.fakes.prompter.answers = {Answer::Discard, Answer::Cancel};
        e.close(recipe, Path::Exit);
        QCOMPARE(e.messages().size(), 2);
        QVERIFY(e.messages()[0].text.contains(QStringLiteral("the new recipe")));
        QVERIFY(e.messages()[1].text.contains(QStringLiteral("the Fridge list")));
        QVERIFY(recipe && words && dish);
        for (QWidget* window : {recipe.data(), words.data(), dish.data()}) {
            QVERIFY(holdsUnsavedInput(window));
        }
        QVERIFY(e.f.main().isVisible());
        QCOMPARE(e.f.dir.read("tavendi.ini"), kSettings);

        // Each in turn, the window asked about in front; then the saves, then the exit.
        QStringList inFront;
        e.f.fakes.prompter.answers = {Answer::Discard, Answer::Save, Answer::Close};
        QObject::connect(e.f.windows().area(), &QMdiArea::subWindowActivated, &e.f.main(),
                         [&inFront](QMdiSubWindow* frame) {
                             if (frame && frame->widget()) inFront << frame->widget()->objectName();
                         });
        e.close(recipe, Path::Exit);
        QCOMPARE(inFront.mid(0, 3),
                 (QStringList{forms::kNewRecipe, forms::kFridgeList, forms::kCalculator}));
        QCOMPARE(e.messages().size(), 5);
        QVERIFY(e.messages()[4].text.contains(QStringLiteral("the calculator's list")));
        QVERIFY(!recipe && !words && !dish);
        QCOMPARE(e.f.dir.read("sok.txt"), crlf({"flour", "garlic", "milk"}));
        QCOMPARE(e.f.dir.read("BOOK1.TXT"), kBook);
        QVERIFY(!e.f.main().isVisible());
        QCOMPARE(e.f.dir.read("tavendi.ini"), kSettingsAtExit);
    }

    void aSaveThatDoesNotGoThroughKeepsTheWindowAndTheProgram_data()
    {
        QTest::addColumn<Path>("path");
        QTest::newRow("close button") << Path::CloseButton;
        QTest::newRow("Exit") << Path::Exit;
        QTest::newRow("logging out") << Path::LogOut;
    }
    void aSaveThatDoesNotGoThroughKeepsTheWindowAndTheProgram()
    {
        // Ingredients without a name: the editor's Save refuses, with its own message.
        QFETCH(Path, path);
        Env e;
        QPointer<QWidget> window = e.open(forms::kNewRecipe);
        child<QPlainTextEdit>(window, QStringLiteral("t4"))->setPlainText(QStringLiteral("milk"));
        e.f.fakes.prompter.answers = {Answer::Save};
        e.close(window, path);
        QCOMPARE(e.messages().size(), 2);
        QCOMPARE(e.messages()[0].text, QStringLiteral("Save changes to the new recipe?"));
        QCOMPARE(e.messages()[1].text, QStringLiteral("You must enter a name for the recipe!"));
        QVERIFY(window && holdsUnsavedInput(window));
        QCOMPARE(e.f.dir.read("BOOK1.TXT"), kBook);
        QVERIFY(e.f.main().isVisible());
        QCOMPARE(e.f.dir.read("tavendi.ini"), kSettings);
        if (path == Path::LogOut) {
            QCOMPARE(e.session.cancelled, 1);
            QCOMPARE(e.session.released, 0);
        }
    }

    void loggingOutWithoutLeaveToAskKeepsTheInput()
    {
        Env e;
        // Nothing at stake: the session is not even asked for leave.
        e.f.main().commitData(e.session.calls());
        QCOMPARE(e.session.asked + e.session.cancelled + e.session.released, 0);

        QPointer<QWidget> window = newDrink(e);
        e.f.fakes.prompter.messages.clear();
        e.session.interaction = false;
        e.close(window, Path::LogOut);
        QCOMPARE(e.session.asked, 1);
        QCOMPARE(e.session.cancelled, 1);
        QVERIFY(e.messages().isEmpty());
        QVERIFY(window && holdsUnsavedInput(window));
    }

    void windowsWithNothingNewCloseWithoutAQuestion_data()
    {
        QTest::addColumn<int>("subject");
        QTest::addColumn<Path>("path");
        const auto all = subjects();
        for (int i = 0; i < all.size(); ++i) {
            QTest::addRow("%s", all[i].form.data()) << i << Path::CloseButton;
        }
    }
    void windowsWithNothingNewCloseWithoutAQuestion()
    {
        // Freshly opened, or brought back to what it held: the window closes at once.
        QFETCH(int, subject);
        const Subject s = subjects()[subject];
        {
            Env e;
            if (s.form == forms::kEditRecipe) e.f.state.editRecipe = "Pancakes";
            if (s.form == forms::kEditDrink) {
                QWidget* list = e.open(forms::kDrinks);
                testing::selectItem(child<QListWidget>(list, QStringLiteral("List1")),
                                    QStringLiteral("Mojito"));
            }
            QPointer<QWidget> fresh = e.open(s.form);
            QVERIFY(fresh && !holdsUnsavedInput(fresh));
            e.close(fresh, Path::CloseButton);
            QVERIFY(!fresh);
            QVERIFY(e.messages().isEmpty());
        }
        Env e;
        QPointer<QWidget> window = s.openWithInput(e);
        e.f.fakes.prompter.messages.clear();
        if (s.form == forms::kNewRecipe) {
            testing::clickButton(window, QStringLiteral("Command3"));  // "Reset"
        } else if (s.form == forms::kEditRecipe) {
            child<QLineEdit>(window, QStringLiteral("t2"))->setText(QStringLiteral("4"));
        } else if (s.form == forms::kNewDrink) {
            child<QLineEdit>(window, QStringLiteral("Text1"))->clear();
        } else if (s.form == forms::kEditDrink) {
            child<QPlainTextEdit>(window, QStringLiteral("Text1"))
                ->setPlainText(QStringLiteral("4 cl rum"));
        } else if (s.form == forms::kFridgeList) {
            auto* list = child<QListWidget>(window, QStringLiteral("List1"));
            testing::selectItem(list, QStringLiteral("garlic"));
            testing::clickButton(window, QStringLiteral("Command2"));  // "&Delete"
        } else if (s.form == forms::kWeeklyMenu) {
            testing::clickButton(window, QStringLiteral("Command1"));  // "Print report"
        } else {
            testing::clickButton(window, QStringLiteral("Command3"));  // "Clear"
        }
        QVERIFY(!holdsUnsavedInput(window));
        e.close(window, Path::CloseButton);
        QVERIFY(!window);
        QVERIFY(e.messages().isEmpty());
    }

    void cancelButtonsAreTheCooksOwnWordAndAskNothing_data()
    {
        QTest::addColumn<int>("subject");
        QTest::addColumn<QString>("button");
        const auto all = subjects();
        for (int i = 0; i < all.size(); ++i) {
            const QLatin1String form = all[i].form;
            if (form == forms::kWeeklyMenu || form == forms::kCalculator) continue;
            QTest::addRow("%s", form.data())
                << i << QString(form == forms::kFridgeList ? "Command4" : "Command2");
        }
    }
    void cancelButtonsAreTheCooksOwnWordAndAskNothing()
    {
        QFETCH(int, subject);
        QFETCH(QString, button);
        const Subject s = subjects()[subject];
        Env e;
        QPointer<QWidget> window = s.openWithInput(e);
        e.f.fakes.prompter.messages.clear();
        testing::clickButton(window, button);
        Env::settle();
        QVERIFY(!window);
        QVERIFY(e.messages().isEmpty());
        QVERIFY(!s.saved(e));
    }

    void theWindowsOwnSaveClosesItWithoutAQuestion_data()
    {
        QTest::addColumn<int>("subject");
        QTest::addColumn<QString>("button");
        const auto all = subjects();
        for (int i = 0; i < all.size(); ++i) {
            const QLatin1String form = all[i].form;
            if (form == forms::kWeeklyMenu || form == forms::kCalculator) continue;
            QTest::addRow("%s", form.data())
                << i << QString(form == forms::kFridgeList ? "Command3" : "Command1");
        }
    }
    void theWindowsOwnSaveClosesItWithoutAQuestion()
    {
        QFETCH(int, subject);
        QFETCH(QString, button);
        const Subject s = subjects()[subject];
        Env e;
        QPointer<QWidget> window = s.openWithInput(e);
        e.f.fakes.prompter.messages.clear();
        e.f.fakes.prompter.answers = {Answer::No};  // no picture of the new dish
        testing::clickButton(window, button);
        Env::settle();
        QVERIFY(!window);
        QVERIFY(s.saved(e));
        // Only the save's own questions (a picture of the dish?), never "Save changes ...?".
        for (const Message& m : e.messages()) {
            QVERIFY2(m.buttons != MessageButtons::SaveDiscardCancel, qPrintable(m.text));
        }
    }

    void closeButtonsOfTheMenuAndTheCalculatorAsk()
    {
        // Their "Close" says nothing about the input, unlike an editor's "Cancel".
        using Opener = QWidget* (*)(Env&);
        for (auto [open, button] : {std::pair<Opener, const char*>{weeklyMenu, "Command2"},
                                    std::pair<Opener, const char*>{calculator, "Command5"}}) {
            Env e;
            QPointer<QWidget> window = open(e);
            e.f.fakes.prompter.messages.clear();
            e.f.fakes.prompter.answers = {Answer::Cancel};
            testing::clickButton(window, QLatin1String(button));
            Env::settle();
            QCOMPARE(e.messages().size(), 1);
            QVERIFY(window);
        }
    }

    void escapeAsksWhereEscapeClosesAndLeavesTheEditorsAlone()
    {
        Env e;
        // The Fridge list editor is a small dialog: Escape closes it, through the question.
        QPointer<QWidget> words = fridgeList(e);
        e.f.fakes.prompter.messages.clear();
        e.f.fakes.prompter.answers = {Answer::Cancel};
        QTest::keyClick(child<QLineEdit>(words, QStringLiteral("Text1")), Qt::Key_Escape);
        Env::settle();
        QCOMPARE(e.messages().size(), 1);
        QCOMPARE(messageShape(e.messages().front()), subjects()[4].question);
        QVERIFY(words);
        e.f.fakes.prompter.answers = {Answer::Save};
        QTest::keyClick(child<QLineEdit>(words, QStringLiteral("Text1")), Qt::Key_Escape);
        Env::settle();
        QVERIFY(!words);
        QCOMPARE(e.f.dir.read("sok.txt"), crlf({"flour", "garlic", "milk"}));

        // In the new recipe Escape throws nothing away and asks nothing.
        e.f.fakes.prompter.messages.clear();
        QPointer<QWidget> recipe = newRecipe(e);
        QTest::keyClick(child<QLineEdit>(recipe, QStringLiteral("t1")), Qt::Key_Escape);
        Env::settle();
        QVERIFY(recipe);
        QVERIFY(e.messages().isEmpty());
    }

    void theFridgeListSavesAWordTypedButNotAdded()
    {
        Env e;
        QPointer<QWidget> words = e.open(forms::kFridgeList);
        child<QLineEdit>(words, QStringLiteral("Text1"))->setText(QStringLiteral("Saffron"));
        QVERIFY(holdsUnsavedInput(words));
        e.f.fakes.prompter.answers = {Answer::Save};
        e.close(words, Path::CloseButton);
        QVERIFY(!words);
        QCOMPARE(e.f.dir.read("sok.txt"), crlf({"flour", "milk", "saffron"}));
    }

    void theWeeklyMenuIsSavedByPrintingIt()
    {
        // "Save" is "Print report": on the printer after its dialog, or without one as a PDF.
        // A cancelled print dialog keeps the week, as a refused save does.
        Env e;
        QPointer<QWidget> menu = weeklyMenu(e);
        e.f.fakes.prompter.printerChoices = {false};
        e.f.fakes.prompter.answers = {Answer::Save};
        e.close(menu, Path::CloseButton);
        QVERIFY(menu && holdsUnsavedInput(menu));
        QCOMPARE(e.f.fakes.printer.documents, 0);

        // Printed, the week closes without a question; searched again, it asks again.
        testing::clickButton(menu, QStringLiteral("Command1"));
        QCOMPARE(e.f.fakes.printer.documents, 1);
        QVERIFY(!holdsUnsavedInput(menu));
        e.f.fakes.prompter.messages.clear();
        testing::clickButton(menu, QStringLiteral("Command3"));  // Tuesday
        testing::clickButton(menu, QStringLiteral("Command5"));
        QVERIFY(holdsUnsavedInput(menu));
    }

    void theWelcomeScreensCalculatorButtonKeepsTheList()
    {
        // The welcome screen opens its windows afresh; one with a list in it is shown as it is.
        Env e;
        QPointer<QWidget> dish = calculator(e);
        QCOMPARE(e.f.windows().reopen(forms::kCalculator), dish.data());
        QVERIFY(dish && holdsUnsavedInput(dish));
        QVERIFY(e.messages().isEmpty());
    }
};

QTEST_MAIN(UnsavedInputTest)
#include "unsaved_input_test.moc"
