// The weekly menu "frmMenu": composing a day through the window (what the dish and "+" labels
// show), the candidate list, the day stepping with its highlight frame, a dish opening the
// viewer, and the printed menu.

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <algorithm>

#include "gui/app/geometry.h"
#include "gui/app/qt_services.h"
#include "gui/app/window_names.h"
#include "gui/menu/shopping_list_dialog.h"
#include "gui/menu/weekly_menu_window.h"
#include "support/gui_fixture.h"
#include "support/gui_helpers.h"
#include "support/pdf_text.h"
#include "support/records.h"
#include "support/printout_readback.h"

using namespace culvora;
using namespace culvora::gui;
using culvora::testing::child;
using culvora::testing::clickButton;
using culvora::testing::cookbook;
using culvora::testing::crlf;
using culvora::testing::GuiFixture;
using culvora::testing::itemTexts;
using culvora::testing::messageShape;
using culvora::testing::readPdf;
using culvora::testing::selectedText;

namespace {

// In cookbook order. The imported soup (time "0") and the record without a type would fit
// if they were judged; the salad right after them must be judged on its own.
const std::string kBook = cookbook({
    {.name = "Stew", .time = "50", .ingredients = {"500 g beef", "2 eggs"}, .type = "Hot dish"},
    {.name = "Roast", .time = "51", .ingredients = {"1 kg lamb", "1 eggplant"}, .type = "Hot dish"},
    {.name = "Imported soup", .time = "0", .ingredients = {"2 eggs"}, .type = "First Course"},
    {.name = "No type", .time = "20", .ingredients = {"2 eggs", "milk"}, .type = ""},
    {.name = "Salad",
     .time = "45 min",
     .ingredients = {"2 Eggs", "lettuce"},
     .type = "First Course"},
    {.name = "Omelette", .time = "10", .ingredients = {"3 Eggs", "milk"}, .type = "Hot dish"},
});

// The Fridge list in file order; the window lists it in the program's order (W as V, Ä after
// Z).
const std::string kWords = crlf({"milk", "\xE4gg", "egg", "vinegar", "wine", "beef", "lettuce"});

constexpr std::uint64_t kSeedAt183005 = (18 * 3600 + 30 * 60 + 5) * 1000ull;

struct Menu {
    GuiFixture f;
    WeeklyMenuWindow* w = nullptr;

    explicit Menu(bool withWords = true)
    {
        f.writeDefaultFiles();
        f.dir.write("BOOK1.TXT", kBook);
        if (withWords) f.dir.write("sok.txt", kWords);
        f.start(true);
        f.main().resize(1200, 900);
        w = qobject_cast<WeeklyMenuWindow*>(f.windows().open(forms::kWeeklyMenu));
        QCoreApplication::processEvents();
    }

    QString text(const QString& name) { return child<QLabel>(w, name)->text(); }
    QString dish(int day) { return text(QStringLiteral("dagens(%1)").arg(day)); }
    QLabel* plus(int index) { return child<QLabel>(w, QStringLiteral("plus(%1)").arg(index)); }
    bool plusShown(int index) { return plus(index)->isVisibleTo(w); }
    QLabel* day(int index) { return child<QLabel>(w, QStringLiteral("klick(%1)").arg(index)); }
    QListWidget* words() { return child<QListWidget>(w, QStringLiteral("List1")); }
    QListWidget* candidates() { return child<QListWidget>(w, QStringLiteral("List3")); }
    QFrame* frame() { return child<QFrame>(w, QStringLiteral("ram")); }
    QString frameCaption() { return child<QGroupBox>(w, QStringLiteral("Frame1"))->title(); }
    QString button(const char* name) { return child<QPushButton>(w, QLatin1String(name))->text(); }
    QStringList arrows() { return {button("Command4"), button("Command3")}; }
    bool framesDay(int index)
    {
        const QRect label = day(index)->geometry();
        return frame()->isVisibleTo(w) &&
               frame()->geometry() == QRect(label.x() - twips(60), label.y() - twips(20),
                                            label.width() + twips(100), label.height() + twips(50));
    }
    QStringList ticked()
    {
        QStringList shown;
        for (int i = 0; i < words()->count(); ++i) {
            if (words()->item(i)->checkState() == Qt::Checked) shown << words()->item(i)->text();
        }
        return shown;
    }
    void tick(const QStringList& list)
    {
        for (const QString& word : list) {
            const auto found = words()->findItems(word, Qt::MatchExactly);
            QVERIFY2(!found.isEmpty(), qPrintable(word));
            found.front()->setCheckState(Qt::Checked);
        }
    }
    void choose(int option)
    {
        child<QRadioButton>(w, QStringLiteral("Option%1").arg(option))->click();
    }
    void search(double r)
    {
        f.fakes.random.values = {r};
        clickButton(w, QStringLiteral("Command5"));
    }
    // Releasing the mouse over a label, as the dish labels answer.
    void release(QWidget* label)
    {
        QTest::mousePress(label, Qt::LeftButton);
        QTest::mouseRelease(label, Qt::LeftButton);
    }
};

QString printedMenu(const QStringList& dishes)
{
    QString out = QStringLiteral("\n\n\n\n[font Arial 20.25 b i]       Menu for the week\n\n"
                                 "[font Arial 20.25 i][font Arial 20.25][font Arial 16]");
    const QStringList days = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                              "Friday", "Saturday", "Sunday"};
    for (int i = 0; i < 7; ++i) {
        if (i > 0) out += QStringLiteral("[font Arial 14][font Arial 16]");
        out += QStringLiteral("\n           ") + days[i] + QLatin1Char('\n');
        out += QStringLiteral("[font Times New Roman 16][font Times New Roman 14.25]   "
                              "[font Times New Roman 14]") +
               dishes[i] + QStringLiteral("\n[font Times New Roman 14]");
        if (i < 6) out += QLatin1Char('\n');
    }
    return out + QStringLiteral("[font Times New Roman 11]\n\n"
                                "                   Printed from 'Culvora'\n"
                                "                   Visit us at https://culvora.example.org/\n"
                                "[end]");
}

}  // namespace

class WeeklyMenuWindowTest : public QObject {
    Q_OBJECT
private slots:
    void itOpensOnAnEmptyWeekWithMondayChosen()
    {
        Menu m;
        QVERIFY(m.w);
        QCOMPARE(m.w->windowTitle(), QStringLiteral("Compose a menu for the week"));
        const QStringList days = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                  "Friday", "Saturday", "Sunday"};
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(m.day(i)->text(), days[i]);
            QCOMPARE(m.dish(i + 1), QStringLiteral("(Nothing yet)"));
            QVERIFY(!m.plusShown(i));
            QCOMPARE(m.plus(i)->text(), QStringLiteral("+"));
            QCOMPARE(m.plus(i)->toolTip(), QStringLiteral("See possible recipes"));
        }
        QVERIFY(!m.candidates()->isVisibleTo(m.w));
        QCOMPARE(m.frameCaption(), QStringLiteral("Monday"));
        QVERIFY(m.framesDay(0));
        QCOMPARE(m.arrows(), (QStringList{"< Sunday", "Tuesday >"}));
        QCOMPARE(m.text(QStringLiteral("Label2")),
                 QStringLiteral("Please choose what you'd like to eat this evening:"));
        QCOMPARE(m.text(QStringLiteral("Label1")),
                 QStringLiteral("Dish must contain the following ingredient(s):"));
        const QStringList options = {"Something light", "Something casual", "Something special"};
        for (int i = 0; i < 3; ++i) {
            auto* option = child<QRadioButton>(m.w, QStringLiteral("Option%1").arg(i + 1));
            QCOMPARE(option->text(), options[i]);
            QCOMPARE(option->isChecked(), i == 1);
        }
        QCOMPARE(itemTexts(m.words()), (QStringList{"beef", "egg", "lettuce", "milk", "wine",
                                                    "vinegar", QStringLiteral("\u00E4gg")}));
        QCOMPARE(m.words()->currentRow(), 0);
        QCOMPARE(m.ticked(), QStringList());
        QCOMPARE((QStringList{m.button("Command5"), m.button("Command1"), m.button("Command2"),
                              m.button("Command6")}),
                 (QStringList{"Search", "Print report", "Close", "Help"}));
    }

    void aSearchPicksTheDishOfTheDayFromTheQualifyingRecipes()
    {
        struct Case {
            int option;  // 1 light, 2 casual, 3 special
            QStringList words;
            double r;
            const char* dish;
            bool plus;
        };
        const Case cases[] = {
            // Two casual dishes, Stew and Omelette in cookbook order: the pick is ⌊r × 2⌋.
            {2, {}, 0.0, "Stew", true},
            {2, {}, 0.99, "Omelette", true},
            // 51 minutes is special, 50 is not; light never takes a hot dish, counts "45 min"
            // as 45 and passes over the imported soup of time 0.
            {3, {}, 0.5, "Roast", false},
            {1, {}, 0.5, "Salad", false},
            // "egg" is in "2 eggs" and "1 eggplant" but not in "2 Eggs" or "3 Eggs"; the record
            // without a type is never judged.
            {2, {"egg"}, 0.5, "Stew", false},
            {3, {"egg"}, 0.5, "Roast", false},
            {1, {"egg"}, 0.5, "(No suggestion)", false},
            // Every ticked word must be there.
            {2, {"beef", "egg"}, 0.5, "Stew", false},
            {2, {"egg", "milk"}, 0.5, "(No suggestion)", false},
        };
        Menu m;
        for (const Case& c : cases) {
            m.w->clickDay(0);
            m.choose(c.option);
            m.tick(c.words);
            m.search(c.r);
            const QString what =
                QStringLiteral("option %1, %2").arg(c.option).arg(c.words.join(','));
            QVERIFY2(m.dish(1) == QString::fromUtf8(c.dish), qPrintable(what + ": " + m.dish(1)));
            QVERIFY2(m.plusShown(0) == c.plus, qPrintable(what));
            // The ticks and the option stay for the next search; the other days are untouched.
            QCOMPARE(m.ticked(), c.words);
            QVERIFY(
                child<QRadioButton>(m.w, QStringLiteral("Option%1").arg(c.option))->isChecked());
            for (int day = 2; day <= 7; ++day)
                QCOMPARE(m.dish(day), QStringLiteral("(Nothing yet)"));
        }
        // Each search seeds the generator afresh from the time of day, to the millisecond.
        QCOMPARE(m.f.fakes.random.seeds.size(), static_cast<qsizetype>(std::size(cases)));
        QCOMPARE(m.f.fakes.random.seeds.front(), kSeedAt183005);
        // The composer leaves the last ingredient section it read in ind.tmp.
        QCOMPARE(m.f.dir.read("ind.tmp"), crlf({"3 Eggs", "milk", "[G\xD6RA]"}));
    }

    void aClickOnAWordTicksIt()
    {
        Menu m;
        QListWidget* list = m.words();
        QListWidgetItem* egg = list->findItems(QStringLiteral("egg"), Qt::MatchExactly).front();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(egg).center());
        QCOMPARE(m.ticked(), QStringList{"egg"});
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(egg).center());
        QCOMPARE(m.ticked(), QStringList());
    }

    void thePlusListsEveryCandidateWithTheDishSelected()
    {
        Menu m;
        m.search(0.99);  // casual: Stew, Omelette; the pick is the second, Omelette
        QCOMPARE(m.dish(1), QStringLiteral("Omelette"));
        QVERIFY(m.plusShown(0));
        QListWidget* list = m.candidates();
        m.release(m.plus(0));
        QVERIFY(list->isVisibleTo(m.w));
        QCOMPARE(itemTexts(list), (QStringList{"Omelette", "Stew"}));
        QCOMPARE(selectedText(list), QStringLiteral("Omelette"));
        // On the note, level with the "+".
        QCOMPARE(list->y(), m.plus(0)->y());
        QVERIFY(list->parentWidget()->rect().contains(list->geometry()));

        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(1)).center());
        QCOMPARE(m.dish(1), QStringLiteral("Stew"));
        QVERIFY(!list->isVisibleTo(m.w));
        m.release(m.plus(0));
        QCOMPARE(selectedText(list), QStringLiteral("Stew"));

        // The mouse over the note itself, off the labels and the list, puts the list away.
        QWidget* note = list->parentWidget();
        QMouseEvent move(QEvent::MouseMove, QPointF(8, note->height() - 8),
                         note->mapToGlobal(QPointF(8, note->height() - 8)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(note, &move);
        QVERIFY(!list->isVisibleTo(m.w));

        // One candidate: the day shows it and has no "+".
        m.choose(3);
        m.search(0.5);
        QCOMPARE(m.dish(1), QStringLiteral("Roast"));
        QVERIFY(!m.plusShown(0));
    }

    void aDishOpensTheViewerAndAPlaceholderOpensNothing()
    {
        Menu m;
        m.release(child<QLabel>(m.w, QStringLiteral("dagens(2)")));  // "(Nothing yet)"
        m.tick({"egg", "milk"});
        m.search(0.5);
        QCOMPARE(m.dish(1), QStringLiteral("(No suggestion)"));
        QVERIFY(!m.plusShown(0));
        m.release(child<QLabel>(m.w, QStringLiteral("dagens(1)")));
        QVERIFY(!m.f.windows().isOpen(forms::kViewer));
        QCOMPARE(m.f.state.selectedRecipe, std::string());

        m.w->clickDay(0);
        m.search(0.0);
        QCOMPARE(m.dish(1), QStringLiteral("Stew"));
        m.release(child<QLabel>(m.w, QStringLiteral("dagens(1)")));
        QWidget* viewer = m.f.windows().find(forms::kViewer);
        QVERIFY(viewer);
        QCOMPARE(viewer->windowTitle(), QStringLiteral("Read recipe: Stew"));
        QCOMPARE(m.f.state.selectedRecipe, std::string("Stew"));
    }

    void dayLabelsMoveTheFrameAndArrowsStepTheDays()
    {
        Menu m;
        m.choose(3);
        // Right after opening, the "Thursday" label: the frame and the arrows follow it, so
        // the arrows never name the neighbours of another day.
        m.tick({"egg"});
        QTest::mouseClick(m.day(3), Qt::LeftButton);
        QCOMPARE(m.frameCaption(), QStringLiteral("Thursday"));
        QVERIFY(m.framesDay(3));
        QCOMPARE(m.arrows(), (QStringList{"< Wednesday", "Friday >"}));
        QCOMPARE(m.ticked(), QStringList());
        // "Friday >" steps on from Thursday; the highlight stays round Thursday.
        m.tick({"beef"});
        clickButton(m.w, QStringLiteral("Command3"));
        QCOMPARE(m.frameCaption(), QStringLiteral("Friday"));
        QCOMPARE(m.arrows(), (QStringList{"< Thursday", "Saturday >"}));
        QVERIFY(m.framesDay(3));
        QCOMPARE(m.ticked(), QStringList());
        QVERIFY(child<QRadioButton>(m.w, QStringLiteral("Option3"))->isChecked());
        // "Search" composes the day in the frame.
        m.search(0.5);
        QCOMPARE(m.dish(5), QStringLiteral("Roast"));
        QCOMPARE(m.dish(4), QStringLiteral("(Nothing yet)"));

        // "< Sunday" right after opening goes round to Sunday, the highlight stays on Monday.
        Menu n;
        n.tick({"milk"});
        clickButton(n.w, QStringLiteral("Command4"));
        QCOMPARE(n.frameCaption(), QStringLiteral("Sunday"));
        QCOMPARE(n.arrows(), (QStringList{"< Saturday", "Monday >"}));
        QVERIFY(n.framesDay(0));
        QCOMPARE(n.ticked(), QStringList());
        clickButton(n.w, QStringLiteral("Command3"));
        QCOMPARE(n.frameCaption(), QStringLiteral("Monday"));
        QCOMPARE(n.arrows(), (QStringList{"< Sunday", "Tuesday >"}));
    }

    void everyDayLabelSetsBothArrowsFromItsDay()
    {
        Menu m;
        const QStringList days = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                  "Friday", "Saturday", "Sunday"};
        clickButton(m.w, QStringLiteral("Command3"));  // to Tuesday, then the labels
        for (int i : {6, 0, 4}) {
            QTest::mouseClick(m.day(i), Qt::LeftButton);
            QCOMPARE(m.frameCaption(), days[i]);
            QCOMPARE(m.arrows(), (QStringList{QStringLiteral("< ") + days[(i + 6) % 7],
                                              days[(i + 1) % 7] + QStringLiteral(" >")}));
        }
    }

    void enterSearchesAndAButtonWithTheFocusTakesItsOwnEnter()
    {
        // "Search" is the window's default button: Enter from the word list or a meal option
        // composes the evening; Enter on another button presses that one.
        Menu m;
        auto* search = child<QPushButton>(m.w, QStringLiteral("Command5"));
        QVERIFY(search->isDefault());
        m.f.fakes.random.values = {0.0};
        m.words()->setFocus();
        QTest::keyClick(m.words(), Qt::Key_Return);
        QCOMPARE(m.dish(1), QStringLiteral("Stew"));

        m.choose(3);
        m.f.fakes.random.values = {0.0};
        QTest::keyClick(child<QRadioButton>(m.w, QStringLiteral("Option3")), Qt::Key_Enter,
                        Qt::KeypadModifier);
        QCOMPARE(m.dish(1), QStringLiteral("Roast"));

        auto* next = child<QPushButton>(m.w, QStringLiteral("Command3"));
        next->setFocus();
        QTest::keyClick(next, Qt::Key_Return);
        QCOMPARE(m.frameCaption(), QStringLiteral("Tuesday"));
        QCOMPARE(m.dish(2), QStringLiteral("(Nothing yet)"));

        // Enter in the candidate list chooses the dish there and searches nothing anew.
        m.choose(2);
        m.search(0.99);  // Tuesday: Omelette of Stew and Omelette
        m.release(m.plus(1));
        QListWidget* list = m.candidates();
        list->setCurrentRow(1);  // Stew
        m.f.fakes.random.values = {0.99};
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(m.dish(2), QStringLiteral("Stew"));
        QVERIFY(!list->isVisibleTo(m.w));
    }

    void printReportPrintsTheWeekAsItStands()
    {
        // Before any search every evening reads "(Nothing yet)".
        Menu m;
        clickButton(m.w, QStringLiteral("Command1"));
        QCOMPARE(m.f.fakes.printer.output, printedMenu(QStringList(7, "(Nothing yet)")));
        QCOMPARE(m.f.fakes.printer.titles, QStringList{"Menu for the week"});

        // Composed days print their dish or "(No suggestion)"; the week stays as it was.
        m.f.fakes.printer.output.clear();
        m.search(0.0);
        clickButton(m.w, QStringLiteral("Command3"));
        m.tick({"lettuce"});
        m.search(0.5);
        clickButton(m.w, QStringLiteral("Command1"));
        QStringList dishes(7, "(Nothing yet)");
        dishes[0] = QStringLiteral("Stew");
        dishes[1] = QStringLiteral("(No suggestion)");
        QCOMPARE(m.f.fakes.printer.output, printedMenu(dishes));
        QCOMPARE(m.dish(1), QStringLiteral("Stew"));
    }

    void theShoppingListAddsUpTheWeeksDishesAndPrints()
    {
        Menu m;
        auto* shopping = child<QPushButton>(m.w, QStringLiteral("cmdShoppingList"));
        QCOMPARE(shopping->text(), QStringLiteral("Shopping list"));
        // Nothing composed yet, and a day without a suggestion, give nothing to buy.
        QVERIFY(!shopping->isEnabled());
        m.tick({"vinegar"});
        m.search(0.0);
        QCOMPARE(m.dish(1), QStringLiteral("(No suggestion)"));
        QVERIFY(!shopping->isEnabled());

        // Monday Stew, Tuesday Omelette: "2 eggs" and "3 Eggs" are added up, "milk" has no
        // amount and is listed with its dish.
        m.w->clickDay(0);
        m.search(0.0);
        clickButton(m.w, QStringLiteral("Command3"));
        m.search(0.99);
        QCOMPARE(m.dish(2), QStringLiteral("Omelette"));
        QVERIFY(shopping->isEnabled());
        shopping->click();
        auto* dialog = m.w->findChild<ShoppingListDialog*>();
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        const QString shown = child<QPlainTextEdit>(dialog, QStringLiteral("txtShoppingList"))
                                  ->toPlainText();
        QCOMPARE(shown, QStringLiteral("500 g beef\n5 eggs\nmilk (Omelette)"));
        auto* print = child<QPushButton>(dialog, QStringLiteral("cmdPrint"));
        QVERIFY(print->isDefault());

        print->click();
        QCOMPARE(m.f.fakes.printer.titles, QStringList{"Shopping list"});
        const QString printed = m.f.fakes.printer.output;
        QVERIFY2(printed.contains(QStringLiteral("Shopping list")), qPrintable(printed));
        QVERIFY(printed.indexOf(QStringLiteral("500 g beef")) <
                printed.indexOf(QStringLiteral("milk (Omelette)")));
        // The list is not the menu: the week is still unprinted for the guard.
        QVERIFY(m.w->hasUnsavedInput());

        // A cancelled print dialog prints nothing.
        m.f.fakes.printer.output.clear();
        m.f.fakes.prompter.printerChoices = {false};
        print->click();
        QCOMPARE(m.f.fakes.printer.output, QString());
        clickButton(dialog, QStringLiteral("cmdClose"));
        QVERIFY(!dialog->isVisible());
    }

    void aWeekOfLongDishNamesComesBackWholeFromThePdf()
    {
        // Seven casual dishes whose names are each longer than a row of the printed menu.
        Menu m;
        std::string book;
        QStringList names;
        for (int i = 1; i <= 7; ++i) {
            const std::string name = "Dish " + std::to_string(i) +
                                     ": slow-cooked chickpea, tomato and smoked paprika stew "
                                     "with crisp garlic breadcrumbs, lemon yoghurt and a big "
                                     "green salad on the side";
            book += crlf({"[NAMN]", name, "[PORTIONER]", "4", "[TID]", "45", "[IND]",
                          "1 can chickpeas", "[G\xD6RA]", "Cook.", "[TYP]", "Hot dish"});
            names << QString::fromStdString(name);
        }
        m.f.dir.write("BOOK1.TXT", book);
        for (int day = 0; day < 7; ++day) {
            m.search((day + 0.5) / 7);
            clickButton(m.w, QStringLiteral("Command3"));
        }
        for (int day = 0; day < 7; ++day) {
            QCOMPARE(QString::fromStdString(m.w->dishes()[static_cast<std::size_t>(day)]),
                     names[day]);
        }

        testing::PdfPrintout pdf(m.f.fakes);
        const auto file = pdf.expect("menu.pdf");
        clickButton(m.w, QStringLiteral("Command1"));
        const auto back = testing::readPdfWords(file);
        QVERIFY2(back.ok(), back.error.c_str());
        const auto all = back.texts();
        QVERIFY(all == testing::printedWords(m.f.fakes.printer.output));
        for (const QString& name : names) {
            const auto words = testing::wordsOf(name.toStdString());
            QVERIFY2(std::search(all.begin(), all.end(), words.begin(), words.end()) != all.end(),
                     qPrintable(name));
        }
        const std::string problems = testing::misplacedWords(back);
        QVERIFY2(problems.empty(), problems.c_str());
        // Two rows for every dish take the week onto a second sheet.
        QCOMPARE(back.pageCount(), 2);
    }

    void aCancelledPrintDialogPrintsNothingAndNoPrinterSkipsIt()
    {
        Menu m;
        m.f.fakes.prompter.printerChoices = {false};
        clickButton(m.w, QStringLiteral("Command1"));
        QCOMPARE(m.f.fakes.printer.output, QString());
        QVERIFY(m.f.fakes.printer.titles.isEmpty());

        // Without a printer there is no printer to choose: the menu goes straight to the
        // printer service, which offers a PDF.
        m.f.fakes.printer.installed = false;
        m.f.fakes.prompter.printerChoices = {false};
        clickButton(m.w, QStringLiteral("Command1"));
        QCOMPARE(m.f.fakes.prompter.printerChoices.size(), std::size_t{1});
        QCOMPARE(m.f.fakes.printer.output, printedMenu(QStringList(7, "(Nothing yet)")));

        // The PDF it offers holds the week on one page: every day with its dish or its
        // placeholder.
        QtPrintService pdfPrinter(m.f.fakes.prompter, m.f.fakes.opener);
        pdfPrinter.setPrinterCheck([] { return false; });
        m.f.fakes.printer.alsoTo = &pdfPrinter;
        const auto file = m.f.dir.file("week.pdf");
        m.f.fakes.prompter.fileNames = {QString::fromStdString(file.string())};
        m.search(0.0);
        clickButton(m.w, QStringLiteral("Command1"));
        const auto pdf = readPdf(file);
        QVERIFY2(pdf.ok(), pdf.error.c_str());
        QCOMPARE(pdf.pageCount, 1);
        QCOMPARE(QString::fromStdString(pdf.words()),
                 QStringLiteral("Menu for the week\nMonday\nStew\nTuesday\n(Nothing yet)\n"
                                "Wednesday\n(Nothing yet)\nThursday\n(Nothing yet)\n"
                                "Friday\n(Nothing yet)\nSaturday\n(Nothing yet)\n"
                                "Sunday\n(Nothing yet)\nPrinted from 'Culvora'\n"
                                "Visit us at https://culvora.example.org/\n\f"));
    }

    void helpCloseAndMissingFiles()
    {
        Menu m(false);
        QCOMPARE(m.words()->count(), 0);  // no sok.txt: nothing to tick, and no complaint
        QVERIFY(m.f.fakes.prompter.messages.isEmpty());
        clickButton(m.w, QStringLiteral("Command6"));
        QCOMPARE(
            m.f.fakes.opener.documents,
            QStringList{QString::fromStdString((m.f.dir.path() / "help" / "menu.html").string())});

        // A cookbook file gone from the folder is said so, and the day keeps its dish.
        std::filesystem::remove(m.f.dir.file("BOOK1.TXT"));
        m.search(0.5);
        QCOMPARE(messageShape(m.f.fakes.prompter.last()),
                 QStringLiteral("[Info] Exclamation Ok default Ok: The cookbook file "
                                "\"BOOK1.TXT\" could not be found in %1.")
                     .arg(QString::fromStdString(m.f.dir.path().string())));
        QCOMPARE(m.dish(1), QStringLiteral("(Nothing yet)"));

        clickButton(m.w, QStringLiteral("Command2"));
        QVERIFY(!m.f.windows().isOpen(forms::kWeeklyMenu));
        // Opened again, the week starts empty.
        m.f.dir.write("BOOK1.TXT", kBook);
        auto* again = qobject_cast<WeeklyMenuWindow*>(m.f.windows().open(forms::kWeeklyMenu));
        QVERIFY(again);
        QCOMPARE(again->dishes()[0], std::string("(Nothing yet)"));
    }
};

QTEST_MAIN(WeeklyMenuWindowTest)
#include "weekly_menu_window_test.moc"
