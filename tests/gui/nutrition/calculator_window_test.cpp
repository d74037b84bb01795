// The calculator "cal" over a temporary data folder: the sorted names, the amount box's key
// filter, adding and deleting lines of the dish, and the totals as the labels show them.

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <string>

#include "gui/nutrition/calculator_window.h"
#include "support/gui_fixture.h"
#include "support/gui_helpers.h"
#include "support/records.h"

using namespace culvora;
using namespace culvora::gui;
using culvora::testing::child;
using culvora::testing::crlf;
using culvora::testing::food;
using culvora::testing::infoShape;
using culvora::testing::itemTexts;
using culvora::testing::messageShape;
using culvora::testing::selectedText;
using culvora::testing::selectItem;

namespace {

// kJ, kcal, water, protein, fat, carbohydrates, calcium, iron, vitamin A, vitamin C.
const std::string kApple =
    food("Apple", {"218", "52", "85", "3", "0.2", "14", "6", "0.5", "0.003", "4.6"});
const std::string kStock = food("Stock", {"1500", "2.5", "3.5", "0", "0", "0", "0", "0", "0", "0"});
const std::string kOthers =
    food("\xC4pple, torkat", {"1000", "243", "31", "0.9", "0.3", "66", "14", "1.4", "0", "3.9"}) +
    food("Wienerbr\xF6"
         "d",
         {"1700", "410", "20", "6", "22", "45", "40", "1", "0", "0"}) +
    food("Vatten", {"0", "0", "100", "0", "0", "0", "0", "0", "0", "0"}) +
    food("apelsin", {"197", "47", "87", "0.9", "0.1", "12", "40", "0.1", "0", "53"});
// The last record is cut short after the water.
const std::string kPear = crlf({"Pear", "239", "57", "83.71"});
const std::string kTable = kOthers + kApple + kStock + kPear;

const QStringList kRest{"0 ",   "0 ",    "0 g ",  "0 g ",  "0 g ",
                        "0 g ", "0 mg ", "0 mg ", "0 mg ", "0 mg "};

struct Calculator {
    explicit Calculator(const std::string& table = kTable)
    {
        f.writeDefaultFiles();
        f.dir.write("index.txt", table);
        f.start(true);
        QApplication::setActiveWindow(&f.main());
        window = qobject_cast<CalculatorWindow*>(f.windows().open(QStringLiteral("cal")));
        if (!window) return;
        names = child<QListWidget>(window, QStringLiteral("List1"));
        amount = child<QLineEdit>(window, QStringLiteral("Text1"));
        dishNames = child<QListWidget>(window, QStringLiteral("List2"));
        dishAmounts = child<QListWidget>(window, QStringLiteral("List3"));
        findBox = child<QLineEdit>(window, QStringLiteral("findBox"));
    }

    // Chooses the ingredient, types the grams and presses Enter.
    void add(const QString& name, const QString& grams)
    {
        selectItem(names, name);
        QTest::keyClicks(amount, grams);
        QTest::keyClick(amount, Qt::Key_Return);
    }
    void click(const char* button) { testing::clickButton(window, QLatin1String(button)); }
    QString total(int label)
    {
        return child<QLabel>(window, QStringLiteral("Label%1").arg(label))->text();
    }
    // A key as the keyboard types it, with the character it gives.
    void type(QWidget* widget, const QString& character)
    {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, character);
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, character);
        QApplication::sendEvent(widget, &release);
    }
    QStringList shownNames()
    {
        QStringList shown;
        for (int row = 0; row < names->count(); ++row) {
            if (!names->isRowHidden(row)) shown << names->item(row)->text();
        }
        return shown;
    }

    testing::GuiFixture f;
    CalculatorWindow* window = nullptr;
    QListWidget* names = nullptr;
    QLineEdit* amount = nullptr;
    QListWidget* dishNames = nullptr;
    QListWidget* dishAmounts = nullptr;
    QLineEdit* findBox = nullptr;
};

}  // namespace

class CalculatorWindowTest : public QObject {
    Q_OBJECT

private slots:
    void opensWithEveryNameInOrderAndTheTotalsAtRest()
    {
        Calculator c;
        QVERIFY(c.window);
        QCOMPARE(c.window->windowTitle(), QStringLiteral("The (kcal)culator"));
        // The program's order: case does not count, W goes with V, Ä after Z; the record cut
        // short at the end is there too.
        QCOMPARE(itemTexts(c.names), (QStringList{"apelsin", "Apple", "Pear", "Stock", "Vatten",
                                                  QStringLiteral("Wienerbr\u00f6d"),
                                                  QStringLiteral("\u00c4pple, torkat")}));
        QCOMPARE(c.window->totals(), kRest);

        QStringList captions;
        for (int i = 0; i < 10; ++i) {
            captions << child<QLabel>(c.window, QStringLiteral("label4(%1)").arg(i))->text();
        }
        QCOMPARE(captions, (QStringList{"Energy (kJ)",
                                        "kcal:", "water:", "protein:", "fat:", "carbonhydrates:",
                                        "kalcium:", "iron:", "vitamine A:", "vitamine C:"}));
        QCOMPARE(child<QLabel>(c.window, QStringLiteral("Label2"))->text(),
                 QStringLiteral("Specific mass (gram):"));
        QCOMPARE(child<QLabel>(c.window, QStringLiteral("Label5"))->text(),
                 QStringLiteral("Total values"));
        QStringList buttons;
        for (int i = 1; i <= 6; ++i) {
            buttons << child<QPushButton>(c.window, QStringLiteral("Command%1").arg(i))->text();
        }
        QCOMPARE(buttons, (QStringList{"Add", "Delete", "Clear", QStringLiteral("R\u00e4kna!"),
                                       "Close", "Help"}));
        auto* timer = child<QTimer>(c.window, QStringLiteral("Timer1"));
        QCOMPARE(timer->interval(), 100);
        QVERIFY(timer->isSingleShot());
        QVERIFY(!timer->isActive());
        QVERIFY(c.f.fakes.prompter.messages.isEmpty());
    }

    void theTotalsAreSumsOfRoundedContributions()
    {
        Calculator c;
        struct Line {
            const char* name;
            const char* grams;
        };
        struct Case {
            std::vector<Line> lines;
            int label;  // Label6 kJ, 7 kcal, 8 water, 9 protein, ... 13 iron
            const char* shown;
        };
        const Case cases[] = {
            {{{"Apple", "150"}}, 7, "78 "},                   // 150 g of 52 kcal
            {{{"Apple", "150"}}, 8, "128 g "},                // 127.5 goes to 128
            {{{"Apple", "5"}}, 13, "0 mg "},                  // 0.025 mg iron
            {{{"Stock", "100"}}, 7, "2 "},                    // 2.5 goes to 2
            {{{"Stock", "100"}}, 8, "4 g "},                  // 3.5 goes to 4
            {{{"Apple", "50"}, {"Apple", "50"}}, 9, "4 g "},  // 1.5 + 1.5 as 2 + 2
            {{{"Apple", "100"}}, 9, "3 g "},
            {{{"Stock", "2500"}}, 6, "37500 "},  // past 16 bits: the true sum
            {{{"Stock", "2500"}, {"Stock", "2500"}}, 6, "75000 "},
            {{{"Pear", "100"}}, 6, "239 "},  // cut short: what it has
            {{{"Pear", "100"}}, 8, "84 g "},
            {{{"Pear", "100"}}, 9, "0 g "},
        };
        for (const Case& test : cases) {
            for (const Line& line : test.lines) {
                c.add(QLatin1String(line.name), QLatin1String(line.grams));
            }
            QCOMPARE(c.total(test.label), QLatin1String(test.shown));
            QCOMPARE(c.dishNames->count(), static_cast<int>(test.lines.size()));
            c.click("Command3");
            QCOMPARE(c.window->totals(), kRest);
            QCOMPARE(c.dishNames->count(), 0);
            QCOMPARE(c.dishAmounts->count(), 0);
        }
        // Every label after one line, with its unit.
        c.add(QStringLiteral("Apple"), QStringLiteral("150"));
        QCOMPARE(c.window->totals(), (QStringList{"327 ", "78 ", "128 g ", "4 g ", "0 g ", "21 g ",
                                                  "9 mg ", "1 mg ", "0 mg ", "7 mg "}));
        // "Räkna!" again gives the same.
        c.click("Command4");
        QCOMPARE(c.total(7), QStringLiteral("78 "));
        QCOMPARE(c.f.fakes.prompter.beeps, 0);
        QVERIFY(c.f.fakes.prompter.messages.isEmpty());
    }

    void aLineIsAddedAsTypedAndTheListsMoveTogether()
    {
        Calculator c;
        c.add(QStringLiteral("Apple"), QStringLiteral("150"));
        c.add(QStringLiteral("Stock"), QStringLiteral("2,5"));
        c.add(QStringLiteral("Vatten"), QStringLiteral(" 300"));
        QCOMPARE(itemTexts(c.dishNames), (QStringList{"Apple", "Stock", "Vatten"}));
        QCOMPARE(itemTexts(c.dishAmounts), (QStringList{"150", "2,5", " 300"}));
        QCOMPARE(c.amount->text(), QString());
        // The new last line is chosen in both lists.
        QCOMPARE(selectedText(c.dishNames), QStringLiteral("Vatten"));
        QCOMPARE(selectedText(c.dishAmounts), QStringLiteral(" 300"));
        QCOMPARE(c.total(8), QStringLiteral("428 g "));

        c.dishAmounts->setCurrentRow(0);
        QCOMPARE(selectedText(c.dishNames), QStringLiteral("Apple"));
        c.dishNames->setCurrentRow(1);
        QCOMPARE(selectedText(c.dishAmounts), QStringLiteral("2,5"));

        // "Delete" takes the chosen line out of both and adds up again.
        c.click("Command2");
        QCOMPARE(itemTexts(c.dishNames), (QStringList{"Apple", "Vatten"}));
        QCOMPARE(itemTexts(c.dishAmounts), (QStringList{"150", " 300"}));
        QCOMPARE(c.total(6), QStringLiteral("327 "));
        QCOMPARE(selectedText(c.dishNames), QStringLiteral("Vatten"));
        QCOMPARE(selectedText(c.dishAmounts), QStringLiteral(" 300"));

        // With nothing chosen "Delete" takes nothing away, and still reads the table afresh.
        c.dishNames->clearSelection();
        c.dishAmounts->clearSelection();
        c.f.dir.write("index.txt", kOthers + food("Apple", {"300", "60", "85", "3", "0.2", "14",
                                                            "6", "0.5", "0.003", "4.6"}));
        c.click("Command2");
        QCOMPARE(c.dishNames->count(), 2);
        QCOMPARE(c.total(6), QStringLiteral("450 "));
        QCOMPARE(c.total(7), QStringLiteral("90 "));
        // Stock is gone from the table now: a line of it adds nothing and is no error.
        c.add(QStringLiteral("Stock"), QStringLiteral("100"));
        QCOMPARE(c.total(6), QStringLiteral("450 "));
        QVERIFY(c.f.fakes.prompter.messages.isEmpty());

        c.click("Command3");
        QCOMPARE(c.window->totals(), kRest);
        QCOMPARE(c.dishNames->count(), 0);
        QCOMPARE(c.dishAmounts->count(), 0);
    }

    void addWantsAnIngredientAndAnAmount()
    {
        Calculator c;
        QTest::keyClicks(c.amount, QStringLiteral("100"));
        QTest::keyClick(c.amount, Qt::Key_Return);
        QCOMPARE(c.f.fakes.prompter.beeps, 1);
        QCOMPARE(c.dishNames->count(), 0);
        QCOMPARE(c.amount->text(), QStringLiteral("100"));

        selectItem(c.names, QStringLiteral("Apple"));
        c.amount->clear();
        c.click("Command1");
        QCOMPARE(c.f.fakes.prompter.beeps, 2);
        QCOMPARE(c.dishNames->count(), 0);
        QCOMPARE(c.window->totals(), kRest);
        QVERIFY(c.f.fakes.prompter.messages.isEmpty());

        // A click on a name empties the amount box for the new amount.
        c.amount->setText(QStringLiteral("12"));
        QListWidgetItem* stock =
            c.names->findItems(QStringLiteral("Stock"), Qt::MatchExactly).front();
        QTest::mouseClick(c.names->viewport(), Qt::LeftButton, {},
                          c.names->visualItemRect(stock).center());
        QCOMPARE(c.amount->text(), QString());
        QCOMPARE(selectedText(c.names), QStringLiteral("Stock"));
        QTRY_VERIFY(c.amount->hasFocus());
    }

    void theAmountBoxTakesNoLetters()
    {
        Calculator c;
        auto* timer = child<QTimer>(c.window, QStringLiteral("Timer1"));
        const QString refusal =
            infoShape(QStringLiteral("Fel"), QStringLiteral("Endast siffror, tack!"));

        // "150 g" is refused at the g; the box is emptied on the timer's first tick.
        QTest::keyClicks(c.amount, QStringLiteral("150 g"));
        QCOMPARE(c.f.fakes.prompter.messages.size(), 1);
        QCOMPARE(messageShape(c.f.fakes.prompter.last()), refusal);
        QCOMPARE(c.f.fakes.prompter.beeps, 1);
        QCOMPARE(c.amount->text(), QStringLiteral("150 "));
        QVERIFY(timer->isActive());
        QMetaObject::invokeMethod(timer, "timeout");
        QCOMPARE(c.amount->text(), QString());

        // Windows-1252 codes 65 to 246 are refused, and so is a character outside the code
        // page; digits, signs, blanks and the few codes above 246 pass.
        const QString refused[] = {QStringLiteral("A"),      QStringLiteral("z"),
                                   QStringLiteral("["),      QStringLiteral("\u00e9"),
                                   QStringLiteral("\u00f6"), QStringLiteral("\u20ac"),
                                   QStringLiteral("\u0436"), QStringLiteral("\u2192")};
        for (const QString& character : refused) {
            const auto before = c.f.fakes.prompter.messages.size();
            c.amount->setText(QStringLiteral("2"));
            c.type(c.amount, character);
            QCOMPARE(c.f.fakes.prompter.messages.size(), before + 1);
            QCOMPARE(messageShape(c.f.fakes.prompter.last()), refusal);
            QCOMPARE(c.amount->text(), QStringLiteral("2"));
        }
        const auto messages = c.f.fakes.prompter.messages.size();
        c.amount->clear();
        for (const QString& character :
             {QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("."), QStringLiteral(","),
              QStringLiteral(" "), QStringLiteral("-"), QStringLiteral("@"),
              QStringLiteral("\u00f7")}) {
            c.type(c.amount, character);
        }
        QCOMPARE(c.amount->text(), QStringLiteral("10., -@\u00f7"));
        QCOMPARE(c.f.fakes.prompter.messages.size(), messages);

        // "150" goes in whole.
        c.amount->clear();
        selectItem(c.names, QStringLiteral("Apple"));
        QTest::keyClicks(c.amount, QStringLiteral("150"));
        QCOMPARE(c.amount->text(), QStringLiteral("150"));
        QTest::keyClick(c.amount, Qt::Key_Return);
        QCOMPARE(c.total(7), QStringLiteral("78 "));
    }

    void anAmountThatIsNoNumberIsRefused()
    {
        // A full stop passes the key filter, for the decimals it starts, but alone (or with
        // only signs and blanks) it is no number of grams: refused as a letter is.
        Calculator c;
        const QString refusal =
            infoShape(QStringLiteral("Fel"), QStringLiteral("Endast siffror, tack!"));
        selectItem(c.names, QStringLiteral("Apple"));
        for (const QString& amount : {QStringLiteral("."), QStringLiteral(" - "),
                                      QStringLiteral(".."), QStringLiteral(",5")}) {
            const auto before = c.f.fakes.prompter.messages.size();
            c.amount->setText(amount);
            QTest::keyClick(c.amount, Qt::Key_Return);
            QCOMPARE(c.f.fakes.prompter.messages.size(), before + 1);
            QCOMPARE(messageShape(c.f.fakes.prompter.last()), refusal);
            QCOMPARE(c.dishNames->count(), 0);
            QVERIFY(c.window->clearTimer()->isActive());
            QMetaObject::invokeMethod(c.window->clearTimer(), "timeout");
            QCOMPARE(c.amount->text(), QString());
        }
        // A number however it is written goes in: a leading point, a trailing one, a sign.
        const auto messages = c.f.fakes.prompter.messages.size();
        for (const QString& amount :
             {QStringLiteral(".5"), QStringLiteral("100."), QStringLiteral(" +50")}) {
            c.amount->setText(amount);
            QTest::keyClick(c.amount, Qt::Key_Return);
        }
        QCOMPARE(c.f.fakes.prompter.messages.size(), messages);
        QCOMPARE(itemTexts(c.dishAmounts), (QStringList{".5", "100.", " +50"}));
        QCOMPARE(c.total(7), QStringLiteral("78 "));
    }

    void enterAddsUpTheDishAndAButtonWithTheFocusTakesItsOwnEnter()
    {
        Calculator c;
        auto* calculate = child<QPushButton>(c.window, QStringLiteral("Command4"));
        QVERIFY(calculate->isDefault());
        c.add(QStringLiteral("Apple"), QStringLiteral("100"));
        QCOMPARE(c.total(7), QStringLiteral("52 "));
        // The table changes under the window; Enter in the dish's list adds up again.
        c.f.dir.write("index.txt", kOthers + kStock + food("Apple", {"0", "60"}));
        c.dishNames->setFocus();
        QTest::keyClick(c.dishNames, Qt::Key_Return);
        QCOMPARE(c.total(7), QStringLiteral("60 "));
        // "Clear" with the focus is what Enter presses there.
        auto* clear = child<QPushButton>(c.window, QStringLiteral("Command3"));
        clear->setFocus();
        QTest::keyClick(clear, Qt::Key_Return);
        QCOMPARE(c.dishNames->count(), 0);
        QCOMPARE(c.window->totals(), kRest);
    }

    void theFindBoxShowsTheNamesHoldingEveryWord()
    {
        Calculator c(kOthers + kApple +
                     food("Babyfood, cereal, prepared with whole milk",
                          {"350", "83", "75", "4", "3", "11", "170", "6", "0", "0"}) +
                     food("Milk, whole, 3.25% milkfat",
                          {"252", "61", "88", "3.2", "3.3", "4.8", "113", "0", "0", "0"}) +
                     food("Milk, reduced fat",
                          {"210", "50", "89", "3.3", "2", "4.8", "120", "0", "0", "0"}) +
                     food("Yogurt, plain, whole milk",
                          {"255", "61", "88", "3.5", "3.3", "4.7", "121", "0", "0", "0"}) +
                     kPear);
        const int all = c.names->count();
        QTest::keyClicks(c.findBox, QStringLiteral("MILK whole"));
        QCOMPARE(c.shownNames(),
                 (QStringList{"Babyfood, cereal, prepared with whole milk",
                              "Milk, whole, 3.25% milkfat", "Yogurt, plain, whole milk"}));
        // Every name is still in the list, only out of sight.
        QCOMPARE(c.names->count(), all);
        // The choice is the name that begins with the words, not the first one shown.
        QCOMPARE(selectedText(c.names), QStringLiteral("Milk, whole, 3.25% milkfat"));
        const char* steps[][2] = {{"down", "Yogurt, plain, whole milk"},
                                  {"down", "Yogurt, plain, whole milk"},
                                  {"up", "Milk, whole, 3.25% milkfat"},
                                  {"up", "Babyfood, cereal, prepared with whole milk"},
                                  {"up", "Babyfood, cereal, prepared with whole milk"},
                                  {"down", "Milk, whole, 3.25% milkfat"}};
        for (const auto& step : steps) {
            QTest::keyClick(c.findBox,
                            step[0] == std::string_view("down") ? Qt::Key_Down : Qt::Key_Up);
            QCOMPARE(selectedText(c.names), QLatin1String(step[1]));
        }
        // Words found anywhere, none at the beginning: the first name shown.
        c.findBox->setText(QStringLiteral("plain"));
        QCOMPARE(selectedText(c.names), QStringLiteral("Yogurt, plain, whole milk"));
        c.findBox->setText(QStringLiteral("milk whole"));

        // Enter goes on to the grams; Enter there adds the line.
        QTest::keyClick(c.findBox, Qt::Key_Return);
        QTRY_VERIFY(c.amount->hasFocus());
        QTest::keyClicks(c.amount, QStringLiteral("200"));
        QTest::keyClick(c.amount, Qt::Key_Return);
        QCOMPARE(itemTexts(c.dishNames), QStringList{"Milk, whole, 3.25% milkfat"});
        QCOMPARE(c.total(7), QStringLiteral("122 "));

        // No name holds the words: nothing is chosen, so nothing can be added.
        c.findBox->setText(QStringLiteral("milk zebra"));
        QVERIFY(c.shownNames().isEmpty());
        QVERIFY(child<QLabel>(c.window, QStringLiteral("noMatch"))->isVisibleTo(c.window));
        QVERIFY(c.names->selectedItems().isEmpty());
        c.amount->setText(QStringLiteral("100"));
        c.click("Command1");
        QCOMPARE(c.f.fakes.prompter.beeps, 1);
        QCOMPARE(c.dishNames->count(), 1);

        c.findBox->clear();
        QCOMPARE(c.shownNames().size(), all);
        QVERIFY(!child<QLabel>(c.window, QStringLiteral("noMatch"))->isVisibleTo(c.window));
    }

    void helpAndClose()
    {
        Calculator c;
        c.click("Command6");
        QCOMPARE(
            c.f.fakes.opener.documents,
            QStringList{QString::fromStdString((c.f.dir.path() / "help" / "kcal.html").string())});
        c.f.fakes.opener.opens = false;
        c.click("Command6");
        QCOMPARE(c.f.fakes.prompter.messages.size(), 1);
        QCOMPARE(c.f.fakes.prompter.last().title, QStringLiteral("Error"));

        c.click("Command5");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!c.f.windows().isOpen(QStringLiteral("cal")));
    }
};

QTEST_MAIN(CalculatorWindowTest)
#include "calculator_window_test.moc"
