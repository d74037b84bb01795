#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>

#include "gui/app/geometry.h"
#include "gui/app/welcome_screen.h"
#include "gui/app/window_names.h"
#include "gui/theme/theme.h"
#include "support/gui_fixture.h"
#include "support/gui_helpers.h"
#include "support/temp_dir.h"

using namespace culvora;
using namespace culvora::gui;
using culvora::testing::addStandIn;
using culvora::testing::child;
using culvora::testing::GuiFixture;
using culvora::testing::TempDir;

namespace {

const QColor kNormal(0x20, 0x60, 0xa0);
const QColor kHighlight(0xe0, 0x40, 0x20);

// The function buttons' pictures as plain colours, so a test can tell which one is shown.
void writeFunctionPictures(GuiFixture& f)
{
    std::filesystem::create_directories(f.dir.file("pics"));
    for (int i = 0; i < WelcomeScreen::kFunctionButtons; ++i) {
        for (bool hi : {false, true}) {
            QImage image(60, 60, QImage::Format_RGB32);
            image.fill(hi ? kHighlight : kNormal);
            const auto name = "pics/cmd" + std::to_string(i) + (hi ? "_hi" : "") + ".gif";
            QVERIFY(image.save(QString::fromStdString(f.dir.file(name).string()), "PNG"));
        }
    }
}

QColor shownColour(QLabel* button)
{
    return button->pixmap().toImage().pixelColor(30, 30);
}

void moveOnto(QWidget* widget, QPoint at = {})
{
    if (at.isNull()) at = widget->rect().center();
    QMouseEvent move(QEvent::MouseMove, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

}  // namespace

class WelcomeScreenTest : public QObject {
    Q_OBJECT

    struct Started {
        GuiFixture f;
        WelcomeScreen* welcome = nullptr;
        QLabel* command(int i)
        {
            return child<QLabel>(welcome, QStringLiteral("Command1(%1)").arg(i));
        }
        QWidget* widget(const char* name) { return child<QWidget>(welcome, QLatin1String(name)); }
    };

    // `adjust` puts stand-ins in place of windows, or takes windows away, before the welcome
    // screen is built.
    static void start(Started& s, bool pictures, std::function<void(WindowRegistry&)> adjust = {})
    {
        s.f.writeDefaultFiles();
        if (pictures) writeFunctionPictures(s.f);
        s.f.adjustWindows = std::move(adjust);
        s.f.start();
        s.welcome = s.f.windows().find<WelcomeScreen>(QStringLiteral("welcome"));
    }

private slots:
    void opensAtStartOverTheWholeArea()
    {
        Started s;
        start(s, false);
        QVERIFY(s.welcome);
        QCOMPARE(s.welcome->windowTitle(), QStringLiteral("Main menu"));
        s.f.main().resize(1100, 800);
        s.f.main().show();
        QVERIFY(QTest::qWaitForWindowExposed(&s.f.main()));
        QMdiSubWindow* frame = s.f.windows().subWindowOf(s.welcome);
        QVERIFY(frame->windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(s.welcome->size(), s.f.main().mdiArea()->viewport()->size());

        // No pictures delivered: the menu is drawn at the artwork's size.
        QWidget* box = s.widget("GVBox1");
        QCOMPARE(box->size(), QSize(640, 480));
        const TwipRect placed =
            placeMenuBox({0, 0, toTwips(640), toTwips(480)}, toTwips(s.welcome->width()),
                         toTwips(s.welcome->height()));
        QCOMPARE(box->pos(), QPoint(twips(placed.left), twips(placed.top)));
        for (int i = 0; i < WelcomeScreen::kFunctionButtons; ++i) {
            QVERIFY(!s.command(i)->pixmap().isNull());
        }
    }

    void picturesComeFromTheInstallUnlessTheUserHasACopyAndHighlightsWhenFirstShown()
    {
        // Delivered: the normal pictures in one colour, the highlighted ones in another.
        TempDir installed;
        std::filesystem::create_directories(installed.file("pics"));
        const QColor kDelivered(0x30, 0x90, 0x40);
        const QColor kDeliveredLit(0x90, 0x30, 0x80);
        for (int i = 0; i < WelcomeScreen::kFunctionButtons; ++i) {
            for (bool hi : {false, true}) {
                QImage image(60, 60, QImage::Format_RGB32);
                image.fill(hi ? kDeliveredLit : kDelivered);
                const auto name = "pics/cmd" + std::to_string(i) + (hi ? "_hi" : "") + ".gif";
                QVERIFY(image.save(QString::fromStdString(installed.file(name).string()), "PNG"));
            }
        }
        Started s;
        s.f.state.deliveredFolder = installed.path();
        s.f.writeDefaultFiles();
        // The user's own picture for the first button; the others come from the install.
        std::filesystem::create_directories(s.f.dir.file("pics"));
        QImage own(60, 60, QImage::Format_RGB32);
        own.fill(kNormal);
        QVERIFY(own.save(QString::fromStdString(s.f.dir.file("pics/cmd0.gif").string()), "PNG"));
        s.f.start();
        s.welcome = s.f.windows().find<WelcomeScreen>(QStringLiteral("welcome"));
        QCOMPARE(shownColour(s.command(0)), kNormal);
        QCOMPARE(shownColour(s.command(1)), kDelivered);
        // Nothing was copied into the data folder.
        QVERIFY(!std::filesystem::exists(s.f.dir.file("pics/cmd1.gif")));

        // A highlighted picture is read when the mouse first comes onto its button: one the
        // user puts in place before that is the one shown.
        QImage lit(60, 60, QImage::Format_RGB32);
        lit.fill(kHighlight);
        QVERIFY(lit.save(QString::fromStdString(s.f.dir.file("pics/cmd1_hi.gif").string()), "PNG"));
        s.welcome->hoverFunctionButton(1);
        QCOMPARE(shownColour(s.command(1)), kHighlight);
        s.welcome->hoverFunctionButton(2);
        QCOMPARE(shownColour(s.command(2)), kDeliveredLit);
        QCOMPARE(shownColour(s.command(1)), kDelivered);
    }

    void buttonsOfScreensNotYetThereAreFaded()
    {
        Started s;
        // The recipe browser and the Cookbooks dialog are there; the fridge search and the
        // weekly menu are not; the forum is an address and always there.
        start(s, true, [](WindowRegistry& windows) {
            addStandIn(windows, forms::kBrowser);
            addStandIn(windows, forms::kCookbooks);
            windows.removeFactory(forms::kFridgeSearch);
            windows.removeFactory(forms::kWeeklyMenu);
        });
        QVERIFY(s.welcome->pictureButtonAvailable(4));
        QVERIFY(!s.welcome->pictureButtonAvailable(0));
        QCOMPARE(s.widget("Image5")->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(s.widget("Image1")->cursor().shape(), Qt::ArrowCursor);
        QVERIFY(s.command(0)->graphicsEffect() == nullptr);
        QVERIFY(s.command(1)->graphicsEffect() != nullptr);
        QVERIFY(s.command(3)->graphicsEffect() == nullptr);

        // A screen that arrives later shows up as available the next time the menu is shown.
        addStandIn(s.f.windows(), forms::kWeeklyMenu);
        s.welcome->showAvailability();
        QVERIFY(s.command(1)->graphicsEffect() == nullptr);
    }

    void aClickOnTheMenuLeavesTheOtherWindowsInFront()
    {
        Started s;
        start(s, false);
        addStandIn(s.f.windows(), QStringLiteral("om"));
        QWidget* about = s.f.windows().open(QStringLiteral("om"));
        QMdiArea* area = s.f.windows().area();
        area->setActiveSubWindow(s.f.windows().subWindowOf(s.welcome));
        QCoreApplication::processEvents();
        QCOMPARE(area->activeSubWindow()->widget(), s.welcome);
        QCOMPARE(area->subWindowList(QMdiArea::StackingOrder).constLast()->widget(), about);
    }

    void theMenuBoxIsCentredAndKeptInView()
    {
        // In twips: a 9600 x 7200 box.
        struct Case {
            int width, height;
            TwipRect expected;
        };
        const Case cases[] = {
            {15000, 9000, {2700, 900, 9600, 7200}},
            {9600, 7200, {0, 0, 9600, 7200}},
            {6000, 5000, {0, 0, 9600, 7200}},  // smaller than the box: its top left in view
            {20000, 6000, {5200, 0, 9600, 7200}},
        };
        for (const Case& c : cases) {
            QCOMPARE(placeMenuBox({0, 0, 9600, 7200}, c.width, c.height), c.expected);
        }
    }

    void pictureButtonsUnderlineAndReopenTheirWindows()
    {
        Started s;
        start(s, false);
        int browsers = 0;
        addStandIn(s.f.windows(), QStringLiteral("recept"), &browsers);
        addStandIn(s.f.windows(), QStringLiteral("Indx"));
        s.f.windows().removeFactory(QStringLiteral("kylen"));

        const char* tips[] = {"Find recipes that you can cook",
                              "View available drinks",
                              "View a ingredient's nutrition and data",
                              "Search recipes by cooking time and recipe type",
                              "View available recipes",
                              "Calculate nutrition values and calories"};
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(s.widget(qPrintable(QStringLiteral("Image%1").arg(i + 1)))->toolTip(),
                     QString::fromLatin1(tips[i]));
        }

        QWidget* line = s.widget("Line1");
        QVERIFY(!line->isVisibleTo(s.welcome));
        QWidget* recipes = s.widget("Image5");
        moveOnto(recipes);
        QVERIFY(line->isVisibleTo(s.welcome));
        QCOMPARE(line->x(), recipes->x());
        QCOMPARE(line->width(), recipes->width());
        QVERIFY(qAbs(line->y() - (recipes->geometry().bottom() + 1)) <= 2);

        // "View available recipes" while the browser is open: closed and opened afresh.
        QPointer<QWidget> first = s.f.windows().open(QStringLiteral("recept"));
        QTest::mouseClick(recipes, Qt::LeftButton);
        QCOMPARE(browsers, 2);
        QWidget* second = s.f.windows().find(QStringLiteral("recept"));
        QVERIFY(second && second != first);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(first.isNull());

        // The nutrition viewer opens maximised; a screen not built yet does nothing.
        QTest::mouseClick(s.widget("Image3"), Qt::LeftButton);
        QWidget* nutrition = s.f.windows().find(QStringLiteral("Indx"));
        QVERIFY(nutrition);
        QVERIFY(s.f.windows().subWindowOf(nutrition)->isMaximized());
        const int frames = s.f.windows().area()->subWindowList().size();
        QTest::mouseClick(s.widget("Image1"), Qt::LeftButton);
        QVERIFY(!s.f.windows().isOpen(QStringLiteral("kylen")));
        QCOMPARE(s.f.windows().area()->subWindowList().size(), frames);

        // The mouse on the menu away from the buttons takes the underline away.
        moveOnto(s.widget("GVBox1"), QPoint(5, 5));
        QVERIFY(!line->isVisibleTo(s.welcome));
    }

    void movingBetweenFunctionButtonsMovesHighlightAndCaption()
    {
        Started s;
        start(s, true);
        auto* timer = child<QTimer>(s.welcome, QStringLiteral("Timer2"));
        QWidget* balloon = s.widget("Picture2");
        auto* caption = child<QLabel>(s.welcome, QStringLiteral("Label2"));
        QVERIFY(timer->isSingleShot());
        QCOMPARE(timer->interval(), 5);
        for (int i = 0; i < 5; ++i) QCOMPARE(shownColour(s.command(i)), kNormal);

        moveOnto(s.command(0));
        QCOMPARE(shownColour(s.command(0)), kHighlight);
        QCOMPARE(caption->text(), QStringLiteral("Organize cookbooks"));
        QVERIFY(timer->isActive());
        QVERIFY(!balloon->isVisibleTo(s.welcome));
        QMetaObject::invokeMethod(timer, "timeout");
        QVERIFY(!timer->isActive());
        QVERIFY(balloon->isVisibleTo(s.welcome));
        QCOMPARE(balloon->width(), caption->width() + twips(300));
        // Next to its button: above it, over its middle.
        const QRect button = s.command(0)->geometry();
        QVERIFY(balloon->geometry().bottom() < button.top());
        QVERIFY(balloon->geometry().left() < button.center().x());
        QVERIFY(balloon->geometry().right() > button.center().x());

        moveOnto(s.command(1));
        QCOMPARE(shownColour(s.command(0)), kNormal);
        QCOMPARE(shownColour(s.command(1)), kHighlight);
        QCOMPARE(caption->text(), QStringLiteral("Compose weekly menu"));
        QVERIFY(!balloon->isVisibleTo(s.welcome));
        QVERIFY(timer->isActive());
        QMetaObject::invokeMethod(timer, "timeout");
        QVERIFY(balloon->isVisibleTo(s.welcome));
        QVERIFY(balloon->geometry().left() < s.command(1)->geometry().center().x());

        // A mouse that jumps off a button without a move in between still ends its highlight;
        // coming back lights it again.
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(s.command(1), &leave);
        QVERIFY(!balloon->isVisibleTo(s.welcome));
        QCOMPARE(shownColour(s.command(1)), kNormal);
        moveOnto(s.command(1));
        QCOMPARE(shownColour(s.command(1)), kHighlight);
        QVERIFY(timer->isActive());

        // Off the buttons: no balloon, every button in its normal picture.
        moveOnto(s.welcome, QPoint(2, 2));
        QVERIFY(!balloon->isVisibleTo(s.welcome));
        for (int i = 0; i < 5; ++i) QCOMPARE(shownColour(s.command(i)), kNormal);
        QVERIFY(!timer->isActive());
    }

    void functionButtonsActOnRelease_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("window");
        QTest::newRow("Organize cookbooks") << 0 << QStringLiteral("Valj");
        QTest::newRow("Compose weekly menu") << 1 << QStringLiteral("frmMenu");
        QTest::newRow("Download recipes") << 2 << QStringLiteral("frmDownload");
        QTest::newRow("Discuss food with other users") << 3 << QString();
        QTest::newRow("Create backup") << 4 << QStringLiteral("frmBackup");
    }

    void functionButtonsActOnRelease()
    {
        QFETCH(int, index);
        QFETCH(QString, window);
        Started s;
        start(s, true);
        for (const char* name : {"Valj", "frmMenu", "frmDownload", "frmBackup"}) {
            addStandIn(s.f.windows(), QLatin1String(name));
        }
        QLabel* button = s.command(index);
        QTest::mousePress(button, Qt::LeftButton);
        if (!window.isEmpty()) QVERIFY(!s.f.windows().isOpen(window));
        QVERIFY(s.f.fakes.opener.documents.isEmpty());
        QTest::mouseRelease(button, Qt::LeftButton);

        QCOMPARE(s.welcome->focusWidget(), s.widget("Command2"));
        if (window.isEmpty()) {
            QCOMPARE(s.f.fakes.opener.documents, QStringList{QString::fromLatin1(kForum)});
        } else {
            QVERIFY(s.f.windows().isOpen(window));
            QVERIFY(s.f.fakes.opener.documents.isEmpty());
        }
    }

    void theMenuWorksFromTheKeyboard()
    {
        Started s;
        int browsers = 0;
        start(s, true, [&browsers](WindowRegistry& windows) {
            addStandIn(windows, forms::kBrowser, &browsers);
            addStandIn(windows, forms::kCookbooks);
        });
        s.f.main().resize(1000, 760);
        s.f.main().show();
        QApplication::setActiveWindow(&s.f.main());
        QVERIFY(QTest::qWaitForWindowActive(&s.f.main()));

        // Tab goes through the pictures, then the function buttons, and on to something the
        // user can see.
        s.widget("Image1")->setFocus();
        QStringList order{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 10; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(order, (QStringList{"Image1", "Image2", "Image3", "Image4", "Image5", "Image6",
                                     "Command1(0)", "Command1(1)", "Command1(2)", "Command1(3)",
                                     "Command1(4)"}));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* next = QApplication::focusWidget();
        QVERIFY(next);
        QVERIFY2(QRect(QPoint(0, 0), s.f.main().size())
                     .intersects(QRect(next->mapTo(&s.f.main(), QPoint(0, 0)), next->size())),
                 qPrintable(next->objectName()));

        // A picture with the focus is underlined and shows the ring; Enter or Space opens its
        // window.
        QWidget* recipes = s.widget("Image5");
        QWidget* line = s.widget("Line1");
        recipes->setFocus();
        QVERIFY(line->isVisibleTo(s.welcome));
        QCOMPARE(line->x(), recipes->x());
        QCOMPARE(line->width(), recipes->width());
        QVERIFY(showsFocusRing(recipes));
        s.widget("Image4")->setFocus();
        QVERIFY(!showsFocusRing(recipes));
        QCOMPARE(line->x(), s.widget("Image4")->x());
        recipes->setFocus();
        QTest::keyClick(recipes, Qt::Key_Return);
        QCOMPARE(browsers, 1);
        QVERIFY(s.f.windows().isOpen(forms::kBrowser));
        s.f.windows().area()->setActiveSubWindow(s.f.windows().subWindowOf(s.welcome));
        recipes->setFocus();
        QTest::keyClick(recipes, Qt::Key_Space);
        QCOMPARE(browsers, 2);

        // A function button with the focus is lit and gets its caption; Enter runs it.
        s.f.windows().area()->setActiveSubWindow(s.f.windows().subWindowOf(s.welcome));
        auto* timer = child<QTimer>(s.welcome, QStringLiteral("Timer2"));
        QWidget* balloon = s.widget("Picture2");
        s.command(0)->setFocus();
        QCOMPARE(QApplication::focusWidget(), s.command(0));
        QCOMPARE(shownColour(s.command(0)), kHighlight);
        QVERIFY(!line->isVisibleTo(s.welcome));
        QCOMPARE(child<QLabel>(s.welcome, QStringLiteral("Label2"))->text(),
                 QStringLiteral("Organize cookbooks"));
        QVERIFY(timer->isActive());
        QMetaObject::invokeMethod(timer, "timeout");
        QVERIFY(balloon->isVisibleTo(s.welcome));
        QVERIFY(showsFocusRing(s.command(0)));

        QTest::keyClick(s.command(0), Qt::Key_Tab);
        QCOMPARE(shownColour(s.command(0)), kNormal);
        QCOMPARE(shownColour(s.command(1)), kHighlight);
        QVERIFY(!balloon->isVisibleTo(s.welcome));
        QCOMPARE(child<QLabel>(s.welcome, QStringLiteral("Label2"))->text(),
                 QStringLiteral("Compose weekly menu"));

        s.command(0)->setFocus();
        QTest::keyClick(s.command(0), Qt::Key_Return);
        QVERIFY(s.f.windows().isOpen(forms::kCookbooks));
        for (int i = 0; i < WelcomeScreen::kFunctionButtons; ++i) {
            QCOMPARE(shownColour(s.command(i)), kNormal);
        }
    }

private:
    // The dashed ring round a control with the focus, in the focus colour.
    static bool showsFocusRing(QWidget* widget)
    {
        const QImage drawn = widget->grab().toImage();
        for (int y = 0; y < drawn.height(); ++y) {
            for (int x = 0; x < drawn.width(); ++x) {
                if (drawn.pixelColor(x, y).rgb() == theme::kFocus.rgb()) return true;
            }
        }
        return false;
    }
};

QTEST_MAIN(WelcomeScreenTest)
#include "welcome_screen_test.moc"
