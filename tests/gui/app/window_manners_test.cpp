// What the window registry does the same for every window: the size a window comes back at
// when activated, the frame buttons of each kind, the keys of a dialog, the focus going back
// to the window that opened another, and Window > Cascade with the welcome screen behind.

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QVBoxLayout>

#include "gui/app/window_names.h"
#include "support/gui_fixture.h"
#include "support/gui_helpers.h"

using namespace culvora;
using namespace culvora::gui;
using culvora::testing::child;
using culvora::testing::GuiFixture;

Q_DECLARE_METATYPE(culvora::gui::WindowKind)

namespace {

// A window that asks for a given size, as a real window's layout does.
class Sized : public QWidget {
public:
    Sized(const QString& name, QSize size) : size_(size) { setObjectName(name); }
    QSize sizeHint() const override { return size_; }

private:
    QSize size_;
};

// A small dialog: a one-line box, a text of several lines, a default button and another.
class SmallDialog : public QWidget {
public:
    SmallDialog()
    {
        setObjectName(QStringLiteral("dialog"));
        line = new QLineEdit(this);
        text = new QPlainTextEdit(this);
        ok = new QPushButton(QStringLiteral("Ok"), this);
        other = new QPushButton(QStringLiteral("Other"), this);
        ok->setDefault(true);
        auto* layout = new QVBoxLayout(this);
        for (QWidget* w : {static_cast<QWidget*>(line), static_cast<QWidget*>(text),
                           static_cast<QWidget*>(ok), static_cast<QWidget*>(other)}) {
            layout->addWidget(w);
        }
        connect(ok, &QPushButton::clicked, this, [this] { ++okClicks; });
        connect(other, &QPushButton::clicked, this, [this] { ++otherClicks; });
    }
    QLineEdit* line;
    QPlainTextEdit* text;
    QPushButton* ok;
    QPushButton* other;
    int okClicks = 0;
    int otherClicks = 0;
};

// A shown, active main window over the default files.
struct Shown : GuiFixture {
    Shown()
    {
        writeDefaultFiles();
        start();
        main().resize(1000, 700);
        main().show();
        QApplication::setActiveWindow(&main());
        QVERIFY(QTest::qWaitForWindowActive(&main()));
    }

    QMdiSubWindow* add(QWidget* window, WindowKind kind = WindowKind::Document)
    {
        return windows().add(window, kind);
    }
    QMdiSubWindow* frameOf(const QString& name)
    {
        return windows().subWindowOf(windows().find(name));
    }
    QMdiSubWindow* active() { return windows().area()->activeSubWindow(); }
    QMdiSubWindow* welcome() { return frameOf(forms::kWelcome); }
    void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

}  // namespace

class WindowMannersTest : public QObject {
    Q_OBJECT
private slots:
    void activatingAWindowBringsItBackToItsNormalSize()
    {
        Shown f;
        QVERIFY(f.windows().area()->testOption(QMdiArea::DontMaximizeSubWindowOnActivation));
        QMdiSubWindow* a = f.add(new Sized(QStringLiteral("docA"), QSize(300, 200)));
        QMdiSubWindow* b = f.add(new Sized(QStringLiteral("docB"), QSize(260, 180)));
        const QSize normalA = a->size();
        const QSize normalB = b->size();

        f.windows().open(QStringLiteral("docA"));
        a->showMaximized();
        QVERIFY(a->isMaximized());
        // Another window activated next to a maximised one keeps its own size ...
        f.windows().open(QStringLiteral("docB"));
        QCOMPARE(f.active(), b);
        QVERIFY(!b->isMaximized());
        QCOMPARE(b->size(), normalB);
        // ... and the maximised one, activated again, comes back at its normal size.
        f.windows().area()->setActiveSubWindow(a);
        QCOMPARE(f.active(), a);
        QVERIFY(!a->isMaximized());
        QCOMPARE(a->size(), normalA);

        // A minimised window opened by name comes back too.
        f.windows().open(QStringLiteral("docB"));
        b->showMinimized();
        QVERIFY(b->isMinimized());
        QCOMPARE(f.windows().open(QStringLiteral("docB")), b->widget());
        QVERIFY(!b->isMinimized());
        QCOMPARE(b->size(), normalB);

        // Except a window marked to stay maximised (the nutrition grid).
        QMdiSubWindow* grid = f.add(new Sized(QStringLiteral("grid"), QSize(200, 150)));
        grid->showMaximized();
        f.windows().keepMaximised(grid->widget());
        f.windows().area()->setActiveSubWindow(a);
        f.windows().area()->setActiveSubWindow(grid);
        QVERIFY(grid->isMaximized());
        f.windows().open(QStringLiteral("grid"));
        QVERIFY(grid->isMaximized());
    }

    void aFixedWindowShowsAtItsOwnSizeBesideAMaximisedDocument()
    {
        Shown f;
        QMdiSubWindow* document = f.add(new Sized(QStringLiteral("doc"), QSize(300, 200)));
        document->showMaximized();
        QVERIFY(document->isMaximized());

        auto* fixed = new QWidget;
        fixed->setObjectName(QStringLiteral("fixed"));
        fixed->setFixedSize(420, 310);
        QMdiSubWindow* frame = f.add(fixed, WindowKind::Fixed);
        QCOMPARE(f.active(), frame);
        QVERIFY(!frame->isMaximized());
        QCOMPARE(fixed->size(), QSize(420, 310));

        // Back and forth: the same.
        f.windows().area()->setActiveSubWindow(document);
        document->showMaximized();
        f.windows().open(QStringLiteral("fixed"));
        QCOMPARE(f.active(), frame);
        QVERIFY(!frame->isMaximized());
        QCOMPARE(fixed->size(), QSize(420, 310));
        QVERIFY(frame->width() < f.windows().area()->viewport()->width());
    }

    void onlyDocumentFramesCanBeMaximised_data()
    {
        QTest::addColumn<WindowKind>("kind");
        QTest::addColumn<bool>("maximise");
        QTest::addColumn<bool>("minimise");
        QTest::newRow("document") << WindowKind::Document << true << true;
        QTest::newRow("fixed") << WindowKind::Fixed << false << true;
        QTest::newRow("dialog") << WindowKind::Dialog << false << false;
    }
    void onlyDocumentFramesCanBeMaximised()
    {
        QFETCH(WindowKind, kind);
        QFETCH(bool, maximise);
        QFETCH(bool, minimise);
        Shown f;
        QMdiSubWindow* frame = f.add(new Sized(QStringLiteral("w"), QSize(200, 100)), kind);
        QCOMPARE(f.windows().kindOf(frame), kind);
        const Qt::WindowFlags flags = frame->windowFlags();
        // Without CustomizeWindowHint a frame has every button.
        const auto has = [flags](Qt::WindowType hint) {
            return !flags.testFlag(Qt::CustomizeWindowHint) || flags.testFlag(hint);
        };
        QCOMPARE(has(Qt::WindowMaximizeButtonHint), maximise);
        QCOMPARE(has(Qt::WindowMinimizeButtonHint), minimise);
        QVERIFY(has(Qt::WindowCloseButtonHint));
        QVERIFY(has(Qt::WindowTitleHint));
    }

    void theAboutWindowIsADialogThatEscapeCloses()
    {
        Shown f;
        QWidget* about = f.windows().open(forms::kAbout);
        QVERIFY(about);
        QMdiSubWindow* frame = f.windows().subWindowOf(about);
        QCOMPARE(f.windows().kindOf(frame), WindowKind::Dialog);
        QVERIFY(!frame->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QTest::keyClick(about, Qt::Key_Escape);
        QVERIFY(!f.windows().isOpen(forms::kAbout));

        // Enter presses its Close button, whatever has the focus in it.
        about = f.windows().open(forms::kAbout);
        QTest::keyClick(about, Qt::Key_Return);
        QVERIFY(!f.windows().isOpen(forms::kAbout));
    }

    void enterPressesTheRightButtonOnceAndEscapeCloses()
    {
        Shown f;
        auto* dialog = new SmallDialog;
        QPointer<QWidget> guard = dialog;
        f.add(dialog, WindowKind::Dialog);

        // In a one-line box: the default button.
        dialog->line->setFocus();
        QTest::keyClick(dialog->line, Qt::Key_Return);
        QCOMPARE(dialog->okClicks, 1);
        QTest::keyClick(dialog->line, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(dialog->okClicks, 2);
        // With a modifier it is not the dialog's key.
        QTest::keyClick(dialog->line, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(dialog->okClicks, 2);

        // A button with the focus is the one pressed, and only it.
        dialog->other->setFocus();
        QTest::keyClick(dialog->other, Qt::Key_Return);
        QCOMPARE(dialog->otherClicks, 1);
        QCOMPARE(dialog->okClicks, 2);
        dialog->ok->setFocus();
        QTest::keyClick(dialog->ok, Qt::Key_Return);
        QCOMPARE(dialog->okClicks, 3);
        QCOMPARE(dialog->otherClicks, 1);

        // In a text of several lines Enter is a line break.
        dialog->text->setFocus();
        QTest::keyClicks(dialog->text, QStringLiteral("one"));
        QTest::keyClick(dialog->text, Qt::Key_Return);
        QTest::keyClicks(dialog->text, QStringLiteral("two"));
        QCOMPARE(dialog->text->toPlainText(), QStringLiteral("one\ntwo"));
        QCOMPARE(dialog->okClicks, 3);

        // A greyed-out default button is not pressed.
        dialog->ok->setEnabled(false);
        dialog->line->setFocus();
        QTest::keyClick(dialog->line, Qt::Key_Return);
        QCOMPARE(dialog->okClicks, 3);

        QTest::keyClick(dialog->line, Qt::Key_Escape);
        QVERIFY(!f.windows().isOpen(QStringLiteral("dialog")));
        f.settle();
        QVERIFY(guard.isNull());
    }

    void escapeLeavesOtherKindsOfWindowOpen()
    {
        Shown f;
        auto* line = new QLineEdit;
        line->setObjectName(QStringLiteral("doc"));
        f.add(line);
        line->setFocus();
        QTest::keyClick(line, Qt::Key_Escape);
        QVERIFY(f.windows().isOpen(QStringLiteral("doc")));
    }

    void theWindowThatOpenedAnotherGetsTheFocusBack()
    {
        Shown f;
        QMdiSubWindow* a = f.add(new Sized(QStringLiteral("A"), QSize(300, 200)));
        QMdiSubWindow* b = f.add(new Sized(QStringLiteral("B"), QSize(300, 200)));
        QMdiSubWindow* c =
            f.add(new Sized(QStringLiteral("C"), QSize(200, 100)), WindowKind::Dialog);
        QCOMPARE(f.active(), c);
        // Another window activated in between does not change who opened C.
        f.windows().area()->setActiveSubWindow(a);
        f.windows().open(QStringLiteral("C"));

        // Closed by the program (its own Close or Cancel): at once.
        f.windows().closeWindow(c->widget());
        QCOMPARE(f.active(), b);

        // Closed by its frame's close box: once the frame has gone. The area on its own would
        // go to the window active just before (A).
        QMdiSubWindow* d = f.add(new Sized(QStringLiteral("D"), QSize(200, 100)));
        QCOMPARE(f.active(), d);
        f.windows().area()->setActiveSubWindow(a);
        f.windows().area()->setActiveSubWindow(d);
        d->close();
        f.settle();
        QTRY_COMPARE(f.active(), b);

        // An opener that closed first is not brought back.
        QMdiSubWindow* e = f.add(new Sized(QStringLiteral("E"), QSize(200, 100)));
        QPointer<QMdiSubWindow> opener = b;
        f.windows().closeWindow(b->widget());
        f.settle();
        QVERIFY(opener.isNull());
        f.windows().area()->setActiveSubWindow(e);
        f.windows().closeWindow(e->widget());
        f.settle();
        QVERIFY(!f.windows().isOpen(QStringLiteral("E")));
        // The area chose the next window itself: one still there.
        QVERIFY(f.windows().area()->subWindowList().contains(f.active()));
    }

    void cascadeLeavesTheWelcomeScreenCoveringTheAreaBehindTheOthers()
    {
        Shown f;
        QMdiArea* area = f.windows().area();
        QMdiSubWindow* welcome = f.welcome();
        QVERIFY(welcome);
        QList<QMdiSubWindow*> frames;
        for (const char* name : {"one", "two", "three"}) {
            frames << f.add(new Sized(QLatin1String(name), QSize(260, 160)));
        }
        frames[1]->showMaximized();

        auto check = [&] {
            QVERIFY(welcome->isVisible());
            QCOMPARE(welcome->geometry(), area->viewport()->rect());
            QCOMPARE(area->subWindowList(QMdiArea::StackingOrder).constFirst(), welcome);
            QVERIFY(!frames[1]->isMaximized());
            QCOMPARE(frames[0]->pos(), QPoint(0, 0));
            for (int i = 1; i < frames.size(); ++i) {
                QVERIFY(frames[i]->isVisible());
                QVERIFY(frames[i]->y() > frames[i - 1]->y());
                QVERIFY(frames[i]->x() > frames[i - 1]->x());
                QCOMPARE(frames[i]->size(), frames[0]->size());
            }
        };
        f.main().cascadeWindows();
        check();

        // The same through the Window menu, built as it opens.
        auto* menu = child<QMenu>(&f.main(), QStringLiteral("mnuwindows"));
        emit menu->aboutToShow();
        QAction* cascade = child<QAction>(menu, QStringLiteral("mnuCascade"));
        QCOMPARE(cascade->text(), QStringLiteral("&Cascade"));
        for (const char* name : {"welcome", "one", "two", "three"}) {
            QVERIFY2(
                menu->findChild<QAction*>(QStringLiteral("mnuWindow(%1)").arg(QLatin1String(name))),
                name);
        }
        frames[2]->move(200, 10);
        cascade->trigger();
        check();
        // And after the main window changed size.
        f.main().resize(900, 640);
        QCoreApplication::processEvents();
        QCOMPARE(welcome->geometry(), area->viewport()->rect());

        // The welcome screen's entry brings it to the front.
        emit menu->aboutToShow();
        child<QAction>(menu, QStringLiteral("mnuWindow(welcome)"))->trigger();
        QCoreApplication::processEvents();
        QVERIFY(welcome->isVisible());
        QCOMPARE(area->activeSubWindow(), welcome);
        QCOMPARE(area->subWindowList(QMdiArea::StackingOrder).constLast(), welcome);
        QCOMPARE(welcome->geometry(), area->viewport()->rect());

        // Another window's entry brings that one back in front of it.
        emit menu->aboutToShow();
        child<QAction>(menu, QStringLiteral("mnuWindow(two)"))->trigger();
        QCoreApplication::processEvents();
        QCOMPARE(area->activeSubWindow(), frames[1]);
        QCOMPARE(area->subWindowList(QMdiArea::StackingOrder).constLast(), frames[1]);
    }

    void cascadeStepsLargeWindowsToo()
    {
        // Windows as large as the area or larger (the calculator, the drinks list on a small
        // main window) each go one step further, never onto one corner; a long row starts a
        // new stair, still apart from every window before it.
        Shown f;
        QMdiArea* area = f.windows().area();
        const QSize room = area->viewport()->size();
        QList<QMdiSubWindow*> frames;
        for (int i = 0; i < 40; ++i) {
            const QSize size = i % 2 ? room + QSize(40, 40) : QSize(260, 160);
            frames << f.add(new Sized(QStringLiteral("w%1").arg(i), size));
            frames.back()->resize(size);
        }
        f.main().cascadeWindows();
        QSet<std::pair<int, int>> corners;
        for (int i = 0; i < frames.size(); ++i) {
            const QPoint at = frames[i]->pos();
            QVERIFY2(!corners.contains({at.x(), at.y()}),
                     qPrintable(frames[i]->widget()->objectName()));
            corners.insert({at.x(), at.y()});
            // The title bar stays in the area, where it can be taken hold of.
            QVERIFY(at.x() >= 0 && at.y() >= 0);
            QVERIFY(at.y() + 20 < room.height() && at.x() + 40 < room.width());
        }
        QVERIFY(frames[1]->pos().x() > frames[0]->pos().x());
        QVERIFY(frames[1]->pos().y() > frames[0]->pos().y());
        QVERIFY(frames[2]->pos().y() > frames[1]->pos().y());
        QCOMPARE(frames[1]->size(), room + QSize(40, 40));
        QCOMPARE(f.welcome()->geometry(), area->viewport()->rect());
    }

    void theWelcomeScreenInFrontOnceDoesNotStayInFront()
    {
        // Asked for while it is already the active window, and clicked later with another
        // window open: the click leaves the other window in front.
        Shown f;
        QMdiArea* area = f.windows().area();
        QMdiSubWindow* welcome = f.welcome();
        QCOMPARE(area->activeSubWindow(), welcome);
        f.main().showWelcome();
        QCoreApplication::processEvents();

        QMdiSubWindow* other = f.add(new Sized(QStringLiteral("other"), QSize(260, 160)));
        area->setActiveSubWindow(welcome);
        QCoreApplication::processEvents();
        QCOMPARE(area->activeSubWindow(), welcome);
        QCOMPARE(area->subWindowList(QMdiArea::StackingOrder).constLast(), other);
    }
};

QTEST_MAIN(WindowMannersTest)
#include "window_manners_test.moc"
