// The drink viewer "VisaDrink": the card it builds for a drink, the glass it shows, and what
// "Print" sends to the printer.

#include <QMdiSubWindow>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextList>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "drinks_fixture.h"
#include "gui/app/geometry.h"
#include "gui/drinks/drink_viewer.h"
#include "support/printout_readback.h"

using namespace culvora;
using namespace culvora::gui;
using culvora::testing::child;
using culvora::testing::drink;
using culvora::testing::DrinksFixture;

namespace {

const std::string kMojito =
    drink("Mojito", {"6 mint leaves", "Ice"}, {"Muddle.", "Top up."}, "Highball");

const QString kCard = QStringLiteral(
    "\n\n\n\nMojito\n\n6 mint leaves\nIce\n\nMuddle.\nTop up.\n\n\n"
    "Culvora - your digital cookbook\nPlease visit us at https://culvora.example.org/");

const QString kPrintedCard = QStringLiteral(
    "[font Arial 10]\n\n\n\n\n\n\n[font Arial 24]Mojito\n\n[font Arial 10]\u2022 6 mint "
    "leaves\n\u2022 Ice\n\n[font Arial 11]Muddle.\nTop up.\n\n\n[font Arial 8]Culvora - your "
    "digital cookbook\nPlease visit us at https://culvora.example.org/\n[end]");

struct Viewer {
    DrinksFixture d;
    DrinkViewer* window = nullptr;

    explicit Viewer(const std::string& file = kMojito, const QString& name = "Mojito",
                    bool show = false)
        : d(file, show)
    {
        d.openList();
        d.select(name);
        d.click("Command1");  // "Open"
        window = d.f.windows().find<DrinkViewer>(forms::kDrinkViewer);
    }
    QTextEdit* text() { return child<QTextEdit>(window, QStringLiteral("Text1")); }
    QTextDocument* document() { return text()->document(); }
    QString glassCaption() { return child<QLabel>(window, QStringLiteral("Label3"))->text(); }
    QLabel* picture() { return child<QLabel>(window, QStringLiteral("image1")); }
    void print() { testing::clickButton(window, QStringLiteral("Command1")); }
    testing::FakePrinter& printer() { return d.f.fakes.printer; }
};

}  // namespace

class DrinkViewerTest : public QObject {
    Q_OBJECT

private slots:
    void theCardHasTheDrinkInItsFontsColoursAndIndents()
    {
        Viewer v(kMojito, QStringLiteral("Mojito"), true);
        QVERIFY(v.window);
        QCOMPARE(v.window->windowTitle(), QStringLiteral("View drink recipe"));
        QCOMPARE(v.document()->toPlainText(), kCard);

        auto block = [&v](int n) { return v.document()->findBlockByNumber(n); };
        auto font = [](const QTextBlock& b) { return b.begin().fragment().charFormat().font(); };
        // Four empty lines, then every paragraph 1500 twips in from both sides.
        for (int n = 0; n < 4; ++n) QCOMPARE(block(n).blockFormat().leftMargin(), 0.0);
        for (int n = 4; n < v.document()->blockCount(); ++n) {
            QCOMPARE(block(n).blockFormat().leftMargin(), qreal(twips(1500)));
            QCOMPARE(block(n).blockFormat().rightMargin(), qreal(twips(1500)));
        }
        QCOMPARE(block(4).text(), QStringLiteral("Mojito"));
        QCOMPARE(font(block(4)).pointSizeF(), 24.0);
        QCOMPARE(font(block(4)).families().value(0), QStringLiteral("Arial"));
        QCOMPARE(block(4).begin().fragment().charFormat().foreground().color(), QColor(0, 0, 128));
        // The ingredients in black as a bulleted list, the instructions after an empty line.
        QTextList* bullets = block(6).textList();
        QVERIFY(bullets);
        QCOMPARE(bullets->format().style(), QTextListFormat::ListDisc);
        QCOMPARE(bullets->count(), 2);
        QCOMPARE(block(7).textList(), bullets);
        QVERIFY(!block(8).textList());
        QCOMPARE(font(block(6)).pointSizeF(), 10.0);
        QCOMPARE(block(6).begin().fragment().charFormat().foreground().color(), QColor(Qt::black));
        QCOMPARE(font(block(9)).pointSizeF(), 11.0);
        QCOMPARE(font(block(13)).pointSizeF(), 8.0);
        QCOMPARE(font(block(14)).pointSizeF(), 8.0);

        // Nothing typed there could be kept: the card cannot be changed.
        v.text()->setFocus();
        QTest::keyClicks(v.text(), QStringLiteral("xyz"));
        QTest::keyClick(v.text(), Qt::Key_Delete);
        QCOMPARE(v.document()->toPlainText(), kCard);

        QVERIFY(!child<QWidget>(v.window, QStringLiteral("Picture1"))->isVisible());
        QCOMPARE(child<QLabel>(v.window, QStringLiteral("Label1"))->text(),
                 QStringLiteral("Please wait ..."));
        QCOMPARE(v.d.f.windows().kindOf(v.d.f.windows().subWindowOf(v.window)),
                 WindowKind::Document);
        testing::clickButton(v.window, QStringLiteral("Command2"));  // "Close"
        DrinksFixture::settle();
        QVERIFY(!v.d.f.windows().isOpen(forms::kDrinkViewer));
    }

    void theCloseButtonHasTheFocusAndTheCaretStartsTheCard()
    {
        Viewer v(kMojito, QStringLiteral("Mojito"), true);
        QCOMPARE(QApplication::focusWidget(),
                 static_cast<QWidget*>(child<QPushButton>(v.window, QStringLiteral("Command2"))));
        QCOMPARE(v.text()->textCursor().position(), 0);
    }

    // The glass as stored, its caption and its picture. Both spellings of the coffee cup and
    // of the unknown glass are the glass; a line naming none shows neither.
    void theGlassShowsWithItsPicture_data()
    {
        QTest::addColumn<QString>("glass");
        QTest::addColumn<bool>("picture");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Highball") << "Highball" << true << "Highball";
        QTest::newRow("Coffecup") << "Coffecup" << true << "Coffecup";
        QTest::newRow("Coffeecup") << "Coffeecup" << true << "Coffeecup";
        QTest::newRow("(Unknown)") << "(Unknown)" << true << "(Unknown)";
        QTest::newRow("(Inget)") << "(Inget)" << true << "(Inget)";
        QTest::newRow("another case") << "highball" << false << "";
        QTest::newRow("no table knows it") << "Tiki mug" << false << "";
        QTest::newRow("no glass line") << "" << false << "";
    }
    void theGlassShowsWithItsPicture()
    {
        QFETCH(QString, glass);
        QFETCH(bool, picture);
        QFETCH(QString, caption);
        Viewer v(drink("Punch", {"rum"}, {"Stir."}, glass.toStdString()), QStringLiteral("Punch"));
        QCOMPARE(v.glassCaption(), caption);
        QCOMPARE(!v.picture()->pixmap().isNull(), picture);
        QCOMPARE(v.picture()->toolTip(),
                 QStringLiteral("It is suggested that you should use this glass!"));
    }

    void aPictureIsFoundWhateverTheCaseOfItsFileName()
    {
        DrinksFixture d(drink("Kir Royal", {"cassis"}, {"Top up."}, "Champagne"));
        std::filesystem::rename(d.f.dir.file("Champ.bmp"), d.f.dir.file("cHAMP.BMP"));
        d.openList();
        d.select(QStringLiteral("Kir Royal"));
        d.click("Command1");
        auto* viewer = d.f.windows().find<DrinkViewer>(forms::kDrinkViewer);
        QVERIFY(!child<QLabel>(viewer, QStringLiteral("image1"))->pixmap().isNull());

        // A picture that is not there shows none, and says nothing.
        d.f.windows().close(forms::kDrinkViewer);
        std::filesystem::remove(d.f.dir.file("cHAMP.BMP"));
        d.click("Command1");
        viewer = d.f.windows().find<DrinkViewer>(forms::kDrinkViewer);
        QVERIFY(child<QLabel>(viewer, QStringLiteral("image1"))->pixmap().isNull());
        QCOMPARE(child<QLabel>(viewer, QStringLiteral("Label3"))->text(),
                 QStringLiteral("Champagne"));
        QVERIFY(d.messages().isEmpty());
    }

    void anEmptyIngredientBlockIsOneEmptyBullet()
    {
        // As "Add drink" stores a drink with empty boxes: one empty line in each block.
        Viewer v(drink("Water", {""}, {""}, "Wine"), QStringLiteral("Water"));
        QTextList* bullets = v.document()->findBlockByNumber(6).textList();
        QVERIFY(bullets);
        QCOMPARE(bullets->count(), 1);
        QCOMPARE(bullets->item(0).text(), QString());
        v.print();
        QVERIFY(v.printer().output.contains(QStringLiteral("[font Arial 10]\u2022 \n\n")));
    }

    void printSendsTheCardOrTheSelectionAfterThreeEmptyLines()
    {
        Viewer v;
        v.print();
        QCOMPARE(v.printer().output, kPrintedCard);
        QCOMPARE(v.printer().titles, QStringList{QStringLiteral("Mojito")});

        // The print dialog cancelled: nothing is printed.
        v.printer().output.clear();
        v.d.f.fakes.prompter.printerChoices = {false};
        v.print();
        QCOMPARE(v.printer().output, QString());
        QCOMPARE(v.printer().documents, 1);

        // A selection from inside one line to the end of the next: the second keeps its
        // bullet, the first starts where the selection does.
        QTextCursor selection(v.document());
        const QTextBlock mint = v.document()->findBlockByNumber(6);
        selection.setPosition(mint.position() + 2);
        selection.setPosition(mint.next().position() + 3, QTextCursor::KeepAnchor);
        v.text()->setTextCursor(selection);
        v.print();
        QCOMPARE(v.printer().output,
                 QStringLiteral("[font Arial 10]\n\n\nmint leaves\n\u2022 Ice\n[end]"));

        // Within the title, in the title's size.
        v.printer().output.clear();
        selection.setPosition(v.document()->findBlockByNumber(4).position() + 2);
        selection.setPosition(v.document()->findBlockByNumber(4).position() + 5,
                              QTextCursor::KeepAnchor);
        v.text()->setTextCursor(selection);
        v.print();
        QCOMPARE(v.printer().output,
                 QStringLiteral("[font Arial 10]\n\n\n[font Arial 24]jit\n[end]"));
    }

    void withoutAPrinterTheCardGoesToThePrintServiceWithoutADialog()
    {
        Viewer v;
        v.printer().installed = false;
        v.d.f.fakes.prompter.printerChoices = {false};
        v.print();
        QCOMPARE(v.printer().output, kPrintedCard);
        QCOMPARE(v.d.f.fakes.prompter.printerChoices.size(), std::size_t(1));  // not asked
    }

    void aDrinkWithLongLinesComesBackWholeFromThePdf()
    {
        // The name, a bulleted ingredient and an instruction each longer than a row of paper.
        const std::string name = "Grandfather's midsummer elderflower and gooseberry cordial "
                                 "spritz with cucumber ribbons";
        const std::string ingredient =
            "2 cl elderflower cordial, homemade from the blossoms picked on a dry morning in "
            "June, strained twice through muslin and kept cold";
        const std::string step =
            "Fill the glass with ice, pour in the cordial and the gin, top up with the sparkling "
            "wine and stir once, gently, so that the bubbles stay; lay the cucumber ribbons "
            "along the inside of the glass and serve at once with a straw.";
        Viewer v(drink(name, {ingredient, "Ice"}, {step, "Cheers!"}, "Highball"),
                 QString::fromStdString(name));
        QVERIFY(v.window);
        testing::PdfPrintout pdf(v.d.f.fakes);
        const auto file = pdf.expect("drink.pdf");
        v.print();

        const auto back = testing::readPdfWords(file);
        QVERIFY2(back.ok(), back.error.c_str());
        QVERIFY(back.texts() == testing::printedWords(v.printer().output));
        for (const std::string& line : {name, ingredient, step}) {
            const auto words = testing::wordsOf(line);
            const auto all = back.texts();
            QVERIFY2(std::search(all.begin(), all.end(), words.begin(), words.end()) != all.end(),
                     line.c_str());
        }
        const std::string problems = testing::misplacedWords(back);
        QVERIFY2(problems.empty(), problems.c_str());
        QCOMPARE(back.pageCount(), 1);
        // A bulleted line goes on under its text, not under the bullet.
        const auto bullet = std::find_if(back.words.begin(), back.words.end(),
                                         [](const auto& w) { return w.text == "\u2022"; });
        QVERIFY(bullet != back.words.end());
        const auto first = bullet + 1;
        const auto wrapped = std::find_if(first, back.words.end(),
                                          [&](const auto& w) { return w.yMin > first->yMax; });
        QVERIFY(wrapped != back.words.end());
        QVERIFY2(std::abs(wrapped->xMin - first->xMin) < 1,
                 qPrintable(QStringLiteral("%1 %2").arg(wrapped->xMin).arg(first->xMin)));
    }
};

QTEST_MAIN(DrinkViewerTest)
#include "drink_viewer_test.moc"
