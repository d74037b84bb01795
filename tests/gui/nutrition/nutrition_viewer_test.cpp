// The Nutrition index "Indx" over a temporary data folder: the grid of the whole table, the
// font sizes, the find, the pie chart of a clicked row and the window's size and place.

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "core/nutrition/nutrition.h"
#include "gui/app/geometry.h"
#include "gui/nutrition/nutrition_grid.h"
#include "gui/nutrition/nutrition_layout.h"
#include "gui/nutrition/nutrition_viewer.h"
#include "gui/nutrition/pie_chart.h"
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

namespace {

std::string zeros(std::string_view name)
{
    return food(name, {"0", "0", "0", "0", "0", "0", "0", "0", "0", "0"});
}

std::string deliveredTable()
{
    const char* source = std::getenv("CULVORA_SOURCE_DIR");
    return testing::readBytes(std::filesystem::path(source ? source : ".") / "data" / "index.txt");
}

struct Viewer {
    explicit Viewer(const std::string& table)
    {
        f.writeDefaultFiles();
        f.dir.write("index.txt", table);
        f.start(true);
        f.main().resize(1200, 800);
        QApplication::setActiveWindow(&f.main());
        window = qobject_cast<NutritionViewer*>(f.windows().open(QStringLiteral("Indx")));
        if (!window) return;
        grid = child<NutritionGrid>(window, QStringLiteral("Grid1"));
        findBox = child<QLineEdit>(window, QStringLiteral("Text1"));
        fonts = child<QComboBox>(window, QStringLiteral("Combo1"));
    }

    QString label(const char* name) { return child<QLabel>(window, QLatin1String(name))->text(); }
    QModelIndex cell(int row, int column) { return grid->model()->index(row, column); }
    QString text(int row, int column) { return cell(row, column).data().toString(); }
    void clickCell(int row, int column)
    {
        grid->scrollTo(cell(row, column));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(cell(row, column)).center());
    }
    void findByEnter(const QString& typed)
    {
        findBox->setText(typed);
        QTest::keyClick(findBox, Qt::Key_Return);
    }
    QMdiSubWindow* frame() { return f.windows().subWindowOf(window); }

    testing::GuiFixture f;
    NutritionViewer* window = nullptr;
    NutritionGrid* grid = nullptr;
    QLineEdit* findBox = nullptr;
    QComboBox* fonts = nullptr;
};

// The colour drawn at an angle (radians, clockwise from the positive x axis) and a fraction
// of the radius.
QColor drawnAt(const QImage& image, const PieChart& chart, double angle, double fraction = 0.7)
{
    const QPointF c = chart.centre();
    const double r = chart.radius() * fraction;
    return image.pixelColor(
        QPointF(c.x() + r * std::cos(angle), c.y() + r * std::sin(angle)).toPoint());
}

bool isSliceColour(const QColor& colour)
{
    for (int slice = 0; slice < 4; ++slice) {
        if (colour == PieChart::sliceColour(slice)) return true;
    }
    return false;
}

}  // namespace

class NutritionViewerTest : public QObject {
    Q_OBJECT

private slots:
    void opensWithTheWholeTableInTheGrid()
    {
        Viewer v(deliveredTable());
        QVERIFY(v.window);
        QCOMPARE(v.window->windowTitle(), QStringLiteral("Nutrition index"));
        QCOMPARE(v.grid->model()->rowCount(), 7413);
        QCOMPARE(v.grid->model()->columnCount(), 11);
        QCOMPARE(v.text(0, 0), QStringLiteral("Butter, salted"));
        QCOMPARE(v.text(0, 1), QStringLiteral("2999.9"));
        QCOMPARE(v.text(0, 10), QStringLiteral("0.0"));

        QStringList headings;
        for (int column = 0; column < 11; ++column) {
            headings << v.grid->model()->headerData(column, Qt::Horizontal).toString();
        }
        QCOMPARE(headings,
                 (QStringList{"", "kJ", "kcal", "Water g", "Protein g", "Fat g", "Carb.-hydrates g",
                              "Kalcium mg", "Iron mg", "Vitamine A mg", "Vitamine C"}));
        QVERIFY(v.grid->horizontalHeader()->isVisible());
        QVERIFY(!v.grid->verticalHeader()->isVisible());
        QCOMPARE(v.label("Label1"), QStringLiteral("(All data is given per 100 metric gram)"));
        QCOMPARE(v.label("Label2"), QStringLiteral("(Click an ingredient)"));
        // The first value of the first row is the current cell; no row is chosen yet.
        QCOMPARE(v.grid->currentIndex(), v.cell(0, 1));
        QVERIFY(!v.grid->selectionModel()->hasSelection());
        QCOMPARE(itemTexts(v.fonts),
                 (QStringList{"6", "8", "10", "12", "14", "16", "18", "20", "22", "24"}));
        QCOMPARE(v.fonts->currentText(), QStringLiteral("8"));
        QCOMPARE(child<QPushButton>(v.window, QStringLiteral("Command1"))->text(),
                 QStringLiteral("Go"));

        // The legend: each box in its slice's colour beside its nutrient's name.
        const char* legend[] = {"Water", "Protein", "Fat", "Carb-hydrates"};
        const QColor colours[] = {QColor(0, 0, 128), QColor(128, 0, 0), QColor(0, 128, 0),
                                  QColor(255, 255, 0)};
        for (int i = 0; i < 4; ++i) {
            auto* box = child<QWidget>(v.window, QStringLiteral("Picture%1").arg(i + 1));
            const QImage drawn = box->grab().toImage();
            QCOMPARE(drawn.pixelColor(drawn.rect().center()), colours[i]);
            QCOMPARE(PieChart::sliceColour(i), colours[i]);
            auto* caption = child<QLabel>(v.window, QStringLiteral("Legend%1").arg(i + 1));
            QCOMPARE(caption->text(), QLatin1String(legend[i]));
            QVERIFY(qAbs(caption->geometry().center().y() - box->geometry().center().y()) <= 3);
        }

        // A find far down the table brings the row into view.
        v.findByEnter(QStringLiteral("turtle, g"));
        const QModelIndex found = v.grid->currentIndex();
        QVERIFY(v.text(found.row(), 0).startsWith(QStringLiteral("Turtle, green")));
        QVERIFY(v.grid->viewport()->rect().contains(v.grid->visualRect(found)));
        QVERIFY(v.f.fakes.prompter.messages.isEmpty());
    }

    void theWelcomeScreenOpensItMaximisedAndItStaysSo()
    {
        Viewer v(zeros("Apple"));
        v.f.windows().close(QStringLiteral("Indx"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QWidget* welcome = v.f.windows().find(QStringLiteral("welcome"));
        QTest::mouseClick(child<QWidget>(welcome, QStringLiteral("Image3")), Qt::LeftButton);
        auto* viewer = v.f.windows().find<NutritionViewer>(QStringLiteral("Indx"));
        QVERIFY(viewer);
        QMdiSubWindow* frame = v.f.windows().subWindowOf(viewer);
        QVERIFY(frame->isMaximized());

        // Going to the calculator and back leaves the grid maximised.
        QTest::mouseClick(child<QWidget>(welcome, QStringLiteral("Image6")), Qt::LeftButton);
        QWidget* calculator = v.f.windows().find(QStringLiteral("cal"));
        QVERIFY(calculator);
        QCOMPARE(v.f.windows().area()->activeSubWindow(), v.f.windows().subWindowOf(calculator));
        v.f.windows().area()->setActiveSubWindow(frame);
        QVERIFY(frame->isMaximized());

        // Its normal size: the area less 100 twips across and 1100 down, near the top left.
        frame->showNormal();
        const QSize area = v.f.windows().area()->viewport()->size();
        QCOMPARE(frame->geometry(),
                 toPixels(index_layout::windowRect(toTwips(area.width()), toTwips(area.height()))));
    }

    void theWindowsPlaceAndTheGridFollowTheWindow()
    {
        // The window's normal place in areas of several sizes (twips).
        struct Place {
            int width, height;
            TwipRect expected;
        };
        const Place places[] = {
            {21000, 15000, {50, 50, 20900, 13900}},
            {12000, 8000, {50, 50, 11900, 6900}},
            // Too small for the margin and a piece of grid: the smallest window, top left.
            {6000, 5000, {0, 0, index_layout::kMinimumWidth, index_layout::kMinimumHeight}},
        };
        for (const Place& p : places) {
            QCOMPARE(index_layout::windowRect(p.width, p.height), p.expected);
        }

        Viewer v(zeros("Apple") + zeros("Pear"));
        QMdiSubWindow* frame = v.frame();
        QVERIFY(!frame->isMaximized());
        for (const QSize& size : {QSize(900, 600), QSize(1100, 700), QSize(700, 500)}) {
            frame->resize(size);
            const TwipRect expected =
                index_layout::gridRect(toTwips(v.window->width()), toTwips(v.window->height()));
            QCOMPARE(v.grid->geometry(), toPixels(expected));
            // Left and top stay; 350 twips to the right edge, 950 twips less than the height.
            QCOMPARE(expected.left, index_layout::kGridLeft);
            QCOMPARE(expected.top, index_layout::kGridTop);
            QCOMPARE(expected.width, toTwips(v.window->width()) - 350 - expected.left);
            QCOMPARE(expected.height, toTwips(v.window->height()) - 950);
        }
    }

    void theFontSizeSetsTheColumnWidths()
    {
        Viewer v(zeros("Apple") + zeros("Pear"));
        QTableView* names = v.grid->namesColumn();
        int lastRowHeight = 0;
        struct Case {
            const char* size;
            int nameTwips, valueTwips;
        };
        // 276 × s and 144 × s twips.
        for (const Case& c : {Case{"8", 2208, 1152}, Case{"12", 3312, 1728}, Case{"6", 1656, 864},
                              Case{"24", 6624, 3456}}) {
            v.fonts->setCurrentText(QLatin1String(c.size));
            QCOMPARE(v.grid->font().pointSize(), QByteArray(c.size).toInt());
            QCOMPARE(v.grid->columnWidth(0), twips(c.nameTwips));
            for (int column = 1; column <= 10; ++column) {
                QCOMPARE(v.grid->columnWidth(column), twips(c.valueTwips));
            }
            // The fixed names' column over the grid keeps the width of the names.
            QCOMPARE(names->columnWidth(0), v.grid->columnWidth(0));
            QCOMPARE(names->width(), v.grid->columnWidth(0));
            QCOMPARE(names->rowHeight(0), v.grid->rowHeight(0));
            QVERIFY(v.grid->rowHeight(0) > QFontMetrics(v.grid->font()).height());
            if (c.size == std::string_view("12")) QVERIFY(v.grid->rowHeight(0) > lastRowHeight);
            lastRowHeight = v.grid->rowHeight(0);
        }

        // Long names are cut at the column's edge; dragging the edge widens the names. The
        // edge is half in the names' heading and half in the grid's.
        v.fonts->setCurrentText(QStringLiteral("8"));
        auto drag = [](QHeaderView* header, int from, int by) {
            const int y = header->height() / 2;
            QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(from, y));
            const QPointF to(from + by, y);
            QMouseEvent move(QEvent::MouseMove, to, header->viewport()->mapToGlobal(to),
                             Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(header->viewport(), &move);
            QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, to.toPoint());
        };
        QHeaderView* own = names->horizontalHeader();
        drag(own, own->sectionViewportPosition(0) + own->sectionSize(0) - 2, 60);
        QCOMPARE(v.grid->columnWidth(0), twips(2208) + 60);
        QCOMPARE(names->width(), v.grid->columnWidth(0));
        QHeaderView* grids = v.grid->horizontalHeader();
        drag(grids, grids->sectionViewportPosition(1) + 2, 40);
        QCOMPARE(v.grid->columnWidth(0), twips(2208) + 100);
        QCOMPARE(names->width(), v.grid->columnWidth(0));
    }

    void findsTheFirstNameThatBeginsWithTheTextWhateverItsCase()
    {
        // Grid order is file order.
        Viewer v(zeros("Apples, raw") + zeros("Apple, Granny Smith") +
                 zeros("br\xF6"
                       "d, r\xE5g") +
                 zeros("Br\xF6"
                       "d, vete") +
                 zeros("CAMPBELL'S Tomato soup") +
                 zeros("Cr\xE8me fra\xEE"
                       "che"));
        struct Case {
            QString typed;
            int row;
        };
        const Case cases[] = {
            {QStringLiteral("apple, granny"), 1},
            {QStringLiteral("appl"), 0},
            {QStringLiteral("BR\u00d6D"), 2},  // a name stored in small letters is found too
            {QStringLiteral("br\u00f6d, V"), 3},
            {QStringLiteral("campbell"), 4},  // the brands written in capitals
            {QStringLiteral("CR\u00c8ME F"), 5},
        };
        for (const Case& c : cases) {
            v.findByEnter(c.typed);
            QCOMPARE(v.grid->currentIndex().row(), c.row);
            QVERIFY(v.grid->selectionModel()->isRowSelected(c.row, {}));
            QCOMPARE(v.grid->selectionModel()->selectedRows().size(), 1);
        }
        // "Go" does the same as Enter; Enter leaves the keyboard on the grid.
        v.findBox->setText(QStringLiteral("apples"));
        QTest::mouseClick(child<QPushButton>(v.window, QStringLiteral("Command1")), Qt::LeftButton);
        QCOMPARE(v.grid->currentIndex().row(), 0);
        v.findByEnter(QStringLiteral("apple,"));
        QCOMPARE(v.grid->currentIndex().row(), 1);
        QVERIFY(v.grid->hasFocus());
        QVERIFY(v.f.fakes.prompter.messages.isEmpty());

        // Not found: the message, and the current cell where it was.
        v.grid->setCurrentIndex(v.cell(3, 4));
        for (const QString& typed : {QStringLiteral("pear"), QStringLiteral("Apples, raw, red"),
                                     QStringLiteral("\u65e5\u672c")}) {
            v.findByEnter(typed);
            QCOMPARE(messageShape(v.f.fakes.prompter.last()),
                     infoShape(QStringLiteral("Culvora"), QStringLiteral("Ingrediensen fanns ej")));
            QCOMPARE(v.grid->currentIndex(), v.cell(3, 4));
        }
        QCOMPARE(v.f.fakes.prompter.messages.size(), 3);
        // Nothing typed: nothing happens.
        v.findByEnter(QString());
        QCOMPARE(v.f.fakes.prompter.messages.size(), 3);
        QCOMPARE(v.grid->currentIndex(), v.cell(3, 4));
    }

    void theFindBoxSelectsItsTextWhenItGetsTheFocus()
    {
        Viewer v(zeros("Apple"));
        v.findBox->setText(QStringLiteral("milk"));
        v.findBox->deselect();
        v.grid->setFocus();
        QTRY_VERIFY(v.grid->hasFocus());
        v.findBox->setFocus(Qt::MouseFocusReason);
        QTRY_COMPARE(v.findBox->selectedText(), QStringLiteral("milk"));
    }

    void aClickShowsTheIngredientAndItsPieChart()
    {
        Viewer v(zeros("Apple") +
                 food("Mix", {"500", "120", "60", "20", "10", "10", "0", "0", "0", "0"}) +
                 zeros("Salt") +
                 // Cut short after the fat: five values.
                 crlf({"Pear", "239", "57", "83.71", "0.38", "0.12"}));
        PieChart* chart = v.window->chart();
        QCOMPARE(chart->shows(), PieChart::Shows::Nothing);

        v.clickCell(1, 3);
        QCOMPARE(v.label("Label2"), QStringLiteral("Mix"));
        QCOMPARE(v.grid->currentIndex(), v.cell(1, 0));
        QVERIFY(v.grid->selectionModel()->isRowSelected(1, {}));
        QCOMPARE(chart->shows(), PieChart::Shows::Slices);
        const double pi = 3.1415;
        const double expected[] = {-0.5 * pi, 0.7 * pi, 1.1 * pi, 1.3 * pi, 1.5 * pi};
        for (int i = 0; i < 5; ++i) {
            QVERIFY(qAbs(chart->angles()[static_cast<std::size_t>(i)] - expected[i]) < 1e-9);
        }
        QCOMPARE(chart->radius(), twips(1000));

        // As drawn: water fills the first 60 % clockwise from the top, then protein, fat and
        // carbohydrates, each up to its boundary and no further.
        const QImage drawn = chart->grab().toImage();
        for (int slice = 0; slice < 4; ++slice) {
            const double from = expected[slice];
            const double to = expected[slice + 1];
            const QColor colour = PieChart::sliceColour(slice);
            QCOMPARE(drawnAt(drawn, *chart, (from + to) / 2), colour);
            QCOMPARE(drawnAt(drawn, *chart, from + 0.06), colour);
            QCOMPARE(drawnAt(drawn, *chart, to - 0.06), colour);
            QCOMPARE(drawnAt(drawn, *chart, from + 0.06, 0.95), colour);
        }
        // Nothing is drawn outside the circle.
        QVERIFY(!isSliceColour(drawnAt(drawn, *chart, 0.3, 1.06)));

        // All four shares 0: an empty circle and "No data".
        v.clickCell(2, 5);
        QCOMPARE(v.label("Label2"), QStringLiteral("Salt"));
        QCOMPARE(chart->shows(), PieChart::Shows::NoData);
        const QImage empty = chart->grab().toImage();
        for (double angle = 0.1; angle < 6.2; angle += 0.5) {
            QVERIFY(!isSliceColour(drawnAt(empty, *chart, angle, 0.5)));
        }
        QCOMPARE(PieChart::noDataText(), QStringLiteral("No data"));

        // A record cut short: its five values, five empty cells, and a chart of what it has.
        QCOMPARE(v.grid->model()->rowCount(), 4);
        QStringList cells;
        for (int column = 0; column < 11; ++column) cells << v.text(3, column);
        QCOMPARE(cells,
                 (QStringList{"Pear", "239", "57", "83.71", "0.38", "0.12", "", "", "", "", ""}));
        // A click on the fixed names' column is a click on the row.
        QTableView* names = v.grid->namesColumn();
        QTest::mouseClick(names->viewport(), Qt::LeftButton, {},
                          names->visualRect(v.cell(3, 0)).center());
        QCOMPARE(v.label("Label2"), QStringLiteral("Pear"));
        QCOMPARE(chart->shows(), PieChart::Shows::Slices);
        const auto pear = nutrition::pieAngles(83.71, 0.38, 0.12, 0);
        QVERIFY(qAbs(chart->angles()[1] - (*pear)[1]) < 1e-9);
        QCOMPARE(chart->angles()[3], chart->angles()[4]);
    }
};

QTEST_MAIN(NutritionViewerTest)
#include "nutrition_viewer_test.moc"
