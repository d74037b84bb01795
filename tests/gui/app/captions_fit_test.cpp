// With a 12 pt desktop font no caption is cut short: every button of every window is at least
// as wide as its caption in its own font, and so are the labels, check boxes and option
// buttons. The windows keep their specified geometry where the text fits and grow where it
// does not.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTest>
#include <QToolBar>

#include "gui/app/geometry.h"
#include "gui/app/welcome_screen.h"
#include "gui/app/window_names.h"
#include "support/every_window.h"

using namespace culvora;
using namespace culvora::gui;

namespace {

QString plain(QString caption)
{
    return caption.remove(QRegularExpression(QStringLiteral("&(?!&)")));
}

// The room a push button gives its caption: its width less the frame and padding of its style.
int captionRoom(QPushButton* button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    const QRect contents =
        button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    int room = contents.width();
    if (!button->icon().isNull()) room -= button->iconSize().width() + 4;
    return room;
}

// "form/control: needs N, has M" for every caption of the window cut short.
QStringList cutShort(QWidget* window)
{
    QStringList cut;
    auto report = [&](QWidget* w, int needs, int has) {
        if (needs > has) {
            cut << QStringLiteral("%1/%2 \"%3\": needs %4, has %5")
                       .arg(window->objectName(), w->objectName(),
                            qobject_cast<QAbstractButton*>(w)
                                ? plain(qobject_cast<QAbstractButton*>(w)->text())
                                : qobject_cast<QLabel*>(w)->text())
                       .arg(needs)
                       .arg(has);
        }
    };
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        const QString text = plain(button->text());
        if (text.isEmpty() || !button->isVisibleTo(window)) continue;
        report(button, button->fontMetrics().horizontalAdvance(text), captionRoom(button));
    }
    for (QAbstractButton* box : window->findChildren<QAbstractButton*>()) {
        if (!qobject_cast<QCheckBox*>(box) && !qobject_cast<QRadioButton*>(box)) continue;
        if (!box->isVisibleTo(window)) continue;
        report(box, box->sizeHint().width(), box->width());
    }
    // A toolbar shows every key; none is put away behind its extension button.
    for (QToolBar* toolbar : window->findChildren<QToolBar*>()) {
        if (!toolbar->isVisibleTo(window) || toolbar->orientation() != Qt::Horizontal) continue;
        if (toolbar->sizeHint().width() > toolbar->width()) {
            cut << QStringLiteral("%1/%2: needs %3, has %4")
                       .arg(window->objectName(), toolbar->objectName())
                       .arg(toolbar->sizeHint().width())
                       .arg(toolbar->width());
        }
    }
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (!label->isVisibleTo(window) || label->wordWrap() || label->text().isEmpty() ||
            !label->pixmap().isNull() || Qt::mightBeRichText(label->text())) {
            continue;
        }
        const int needs = label->fontMetrics().horizontalAdvance(plain(label->text()));
        report(label, needs, label->contentsRect().width());
    }
    return cut;
}

}  // namespace

class CaptionsFitTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QFont font = QApplication::font();
        font.setPointSize(12);
        QApplication::setFont(font);
    }

    void noCaptionOfAnyWindowIsCutShortAt12Points()
    {
        testing::EveryWindow f;
        QStringList cut = cutShort(&f.main());
        for (QLatin1String form : testing::everyForm()) {
            QWidget* window = f.open(form);
            QVERIFY2(window, form.data());
            QCoreApplication::processEvents();
            cut << cutShort(window);
            f.closeAll();
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
    }

    void theBrowsersRowGrowsWithItsCaptionsAndKeepsItsOrder()
    {
        testing::EveryWindow f;
        QWidget* browser = f.open(forms::kBrowser);
        QVERIFY(browser);
        QStringList order;
        int right = 0;
        for (const char* name : {"Command8", "Command2", "Command3", "Command5", "Command6",
                                 "Command9", "Command12", "Command4"}) {
            auto* button = browser->findChild<QPushButton*>(QLatin1String(name));
            QVERIFY(button);
            // Side by side, never over one another, and all inside the window.
            QVERIFY2(button->x() >= right, name);
            right = button->geometry().right();
            QVERIFY2(right < browser->width(), name);
        }
        // The window is as wide as its row needs, and no narrower than its picture.
        QVERIFY(browser->width() >= 660);
    }

    void theWelcomeScreensMenuShrinksIntoARoomSmallerThanItself()
    {
        testing::EveryWindow f;
        // 1600 x 1200 at scale factor 2: 800 x 600 logical pixels for the whole screen.
        f.main().resize(720, 540);
        QCoreApplication::processEvents();
        auto* welcome = f.windows().find<WelcomeScreen>(forms::kWelcome);
        QVERIFY(welcome);
        QVERIFY(welcome->height() < 480);
        auto* menu = welcome->findChild<QWidget*>(QStringLiteral("GVBox1"));
        QVERIFY(welcome->rect().contains(menu->geometry()));
        // The bottom row of function buttons is whole and inside the window.
        for (int i = 0; i < WelcomeScreen::kFunctionButtons; ++i) {
            auto* button = menu->findChild<QWidget*>(QStringLiteral("Command1(%1)").arg(i));
            const QRect onWelcome(button->mapTo(welcome, QPoint(0, 0)), button->size());
            QVERIFY2(welcome->rect().contains(onWelcome), qPrintable(button->objectName()));
        }
        // Room enough again: the menu is drawn at its own size.
        f.main().resize(1200, 860);
        QCoreApplication::processEvents();
        QCOMPARE(menu->size(), QSize(640, 480));
    }

    void theNutritionTableKeepsItsNoteWholeInASmallWindow()
    {
        testing::EveryWindow f;
        f.main().resize(720, 540);
        QWidget* viewer = f.open(forms::kNutrition);
        QVERIFY(viewer);
        f.windows().subWindowOf(viewer)->showMaximized();
        QCoreApplication::processEvents();
        const QStringList cut = cutShort(viewer);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
        // Nothing lies over the note.
        auto* note = viewer->findChild<QLabel*>(QStringLiteral("Label1"));
        const QRect noteRect(note->mapTo(viewer, QPoint(0, 0)), note->size());
        for (const char* other : {"Text1", "Command1", "Combo1", "Grid1"}) {
            auto* w = viewer->findChild<QWidget*>(QLatin1String(other));
            const QRect r(w->mapTo(viewer, QPoint(0, 0)), w->size());
            QVERIFY2(!r.intersects(noteRect), other);
        }
    }

    void aRowKeepsItsPlacesWhereCaptionsFitAndPushesOnWhereTheyDoNot()
    {
        const std::vector<TwipRect> row = {{20, 5, 30, 28}, {62, 5, 96, 28}, {186, 5, 66, 28}};
        QCOMPARE(fitRow(row, {26, 90, 60}), row);
        // The second grows by 14: the third moves along by as much, its width kept.
        const std::vector<TwipRect> pushed = {{20, 5, 30, 28}, {62, 5, 110, 28}, {200, 5, 66, 28}};
        QCOMPARE(fitRow(row, {26, 110, 60}), pushed);
        // Growth adds up along the row.
        const std::vector<TwipRect> both = {{20, 5, 40, 28}, {72, 5, 110, 28}, {210, 5, 70, 28}};
        QCOMPARE(fitRow(row, {40, 110, 70}), both);

        QCOMPARE(shrinkToFit(640, 480, 1200, 800), 1.0);
        QCOMPARE(shrinkToFit(640, 480, 720, 444), 444.0 / 480);
        QCOMPARE(shrinkToFit(640, 480, 320, 480), 0.5);
        QCOMPARE(shrinkToFit(0, 480, 320, 480), 1.0);
    }
};

QTEST_MAIN(CaptionsFitTest)
#include "captions_fit_test.moc"
