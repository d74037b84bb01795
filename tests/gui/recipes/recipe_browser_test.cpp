// The recipe browser "recept" over a temporary data folder: opening, click and drag, the drop
// targets, delete and move with the files on disk.

#include <QComboBox>
#include <QDragEnterEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <string>
#include <vector>

#include "core/store/cookbook.h"
#include "gui/app/handover.h"
#include "gui/recipes/recipe_browser.h"
#include "gui/store/destination_chooser.h"
#include "support/gui_fixture.h"
#include "support/gui_helpers.h"
#include "support/records.h"

using namespace culvora;
using namespace culvora::gui;
using culvora::testing::child;
using culvora::testing::crlf;

namespace {

std::string book(const std::vector<std::string>& names)
{
    std::vector<testing::Recipe> recipes;
    for (const std::string& name : names) {
        recipes.push_back({.name = name,
                           .ingredients = {"1 egg", "2 dl milk"},
                           .steps = {"Mix and bake."},
                           .type = "Desserts"});
    }
    return testing::cookbook(recipes);
}

struct Browser {
    culvora::testing::GuiFixture f;
    RecipeBrowser* window = nullptr;
    QWidget* labels = nullptr;
    std::vector<int> dragsStarted;
    QString dropOnto;  // what the watched drag "drops" on

    explicit Browser(const std::vector<std::string>& names, bool secondBook = false)
    {
        f.writeDefaultFiles();
        f.dir.write("BOOK1.TXT", book(names));
        if (secondBook) {
            f.dir.write("bocker.txt", crlf({"Standard", "BOOK1.TXT", "Desserts", "BOOK2.TXT"}));
            f.dir.write("BOOK2.TXT", book({"Trifle"}));
        }
        f.start(true);
        for (const char* name : {"Visa", "RedigeraRecept", "frmUpload", "NyttRecept"}) {
            testing::addStandIn(f.windows(), QString::fromLatin1(name));
        }
        window = qobject_cast<RecipeBrowser*>(f.windows().open(QStringLiteral("recept")));
        if (!window) return;
        labels = child<QWidget>(window, QStringLiteral("labels"));
        window->setDragStarter([this](int index) {
            dragsStarted.push_back(index);
            return dropOnto;
        });
    }

    int nameIndex(const std::string& name) const { return window->findNameLabel(name); }
    QPoint namePoint(const std::string& name) const
    {
        const QRect r = window->labelRect({LabelKind::Name, nameIndex(name)});
        return labels->mapFrom(window, r.center());
    }
    void press(const std::string& name)
    {
        QTest::mousePress(labels, Qt::LeftButton, {}, namePoint(name));
    }
    void release(const std::string& name)
    {
        QTest::mouseRelease(labels, Qt::LeftButton, {}, namePoint(name));
    }
    QPushButton* button(const char* name) const
    {
        return child<QPushButton>(window, QString::fromLatin1(name));
    }
    QString countText() const { return child<QLabel>(window, QStringLiteral("label4"))->text(); }
};

// What a timer does when it runs out, without waiting for it.
void fire(QTimer* timer)
{
    QVERIFY(timer->isActive());
    QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
}

}  // namespace

class RecipeBrowserTest : public QObject {
    Q_OBJECT
private slots:
    void opensWithTheListAndTheCount()
    {
        Browser b({"Waffles", "Apple pie", "Bread"});
        QVERIFY(b.window);
        QCOMPARE(b.window->objectName(), QStringLiteral("recept"));
        QCOMPARE(b.window->windowTitle(), QStringLiteral("Recipes"));
        QCOMPARE(b.countText(), QStringLiteral("Number of recipes: 3"));
        QCOMPARE(b.f.state.headingCount, 25);
        QCOMPARE(b.f.state.nameCount, 3);
        QCOMPARE(b.window->sortedList().size(), std::size_t{28});
        QCOMPARE(b.window->layout().name(1).caption, std::string("Apple pie"));
        QCOMPARE(b.window->layout().name(3).caption, std::string("Waffles"));
        QVERIFY(!b.f.main().cookbookMenuEnabled());
        // Opening it again shows the same window.
        QCOMPARE(b.f.windows().open(QStringLiteral("recept")), static_cast<QWidget*>(b.window));
        b.f.windows().close(QStringLiteral("recept"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(b.f.main().cookbookMenuEnabled());
    }

    void emptyCookbookAndTheLetterStrip()
    {
        Browser b({});
        QCOMPARE(b.countText(), QStringLiteral("Number of recipes: 0"));
        QCOMPARE(b.f.state.nameCount, 0);
        QPushButton* left = b.button("Command8");
        QPushButton* right = b.button("Command4");
        QVERIFY(!left->isEnabled());
        QCOMPARE(child<QPushButton>(b.window, QStringLiteral("Command10(21)"))->text(),
                 QStringLiteral("V"));
        child<QPushButton>(b.window, QStringLiteral("Command10(24)"))->click();  // "Z"
        QCOMPARE(b.window->layout().heading(25).left, 725);
        QCOMPARE(b.window->layout().heading(1).left, 725 - 6000);
        QVERIFY(!right->isEnabled());
        QVERIFY(left->isEnabled());
        left->click();
        QCOMPARE(b.window->layout().heading(25).left, 3725);
        child<QPushButton>(b.window, QStringLiteral("Command10(0)"))->click();  // "A"
        QCOMPARE(b.window->layout().heading(1).left, 725);
        QVERIFY(!left->isEnabled());
    }

    void hoverBarFollowsTheNames()
    {
        Browser b({"Apple pie", "Bread"});
        QLabel* bar = child<QLabel>(b.window, QStringLiteral("Label3"));
        QTest::mouseMove(b.labels, b.namePoint("Bread"));
        QVERIFY(!bar->isHidden());
        const QRect name = b.window->labelRect({LabelKind::Name, b.nameIndex("Bread")});
        QCOMPARE(bar->y(), name.bottom() + 1);
        QVERIFY(bar->x() < name.x() && bar->x() + bar->width() > name.right());
        // Over a heading the bar goes.
        const QRect heading = b.window->labelRect({LabelKind::Heading, 1});
        QTest::mouseMove(b.labels, b.labels->mapFrom(b.window, heading.center()));
        QVERIFY(bar->isHidden());
    }

    void quickReleaseOpensTheViewer()
    {
        Browser b({"Apple pie", "Bread"});
        b.press("Bread");
        QVERIFY(b.window->dragTimer()->isActive());
        QVERIFY(b.window->namePressed());
        QVERIFY(!child<QLabel>(b.window, QStringLiteral("Label3"))->isHidden());
        QCOMPARE(b.window->dragIndex(), b.nameIndex("Bread"));
        b.release("Bread");
        QVERIFY(!b.window->dragTimer()->isActive());
        QVERIFY(b.dragsStarted.empty());
        QCOMPARE(b.f.state.selectedRecipe, std::string("Bread"));
        QWidget* viewer = b.f.windows().find(QStringLiteral("Visa"));
        QVERIFY(viewer);
        QCOMPARE(viewer->windowTitle(), QStringLiteral("Read recipe: Bread"));
    }

    void holdingStartsADragInsteadOfOpening()
    {
        Browser b({"Apple pie", "Bread"});
        QCOMPARE(b.window->dragTimer()->interval(), 300);
        b.press("Apple pie");
        fire(b.window->dragTimer());
        QCOMPARE(b.dragsStarted, std::vector<int>{b.nameIndex("Apple pie")});
        QVERIFY(!b.window->namePressed());
        QVERIFY(child<QLabel>(b.window, QStringLiteral("Label3"))->isHidden());
        b.release("Apple pie");
        QVERIFY(!b.f.windows().isOpen(QStringLiteral("Visa")));
        QVERIFY(b.f.state.selectedRecipe.empty());
        // Pressing the background starts nothing.
        QTest::mousePress(b.labels, Qt::LeftButton, {},
                          QPoint(b.labels->width() - 2, b.labels->height() - 2));
        QVERIFY(!b.window->dragTimer()->isActive());
    }

    void dropTargets_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("opens");
        // clang-format off
        QTest::newRow("Edit") << "Command3" << "RedigeraRecept";
        QTest::newRow("Upload") << "Command6" << "frmUpload";
        QTest::newRow("Move") << "Command5" << "frmWhere";
        QTest::newRow("New recipe refuses") << "Command2" << "";
        QTest::newRow("Options refuses") << "Command12" << "";
        QTest::newRow("elsewhere") << "" << "";
        // clang-format on
    }

    void dropTargets()
    {
        QFETCH(QString, target);
        QFETCH(QString, opens);
        Browser b({"Apple pie", "Bread"});
        b.dropOnto = target;
        b.press("Bread");
        fire(b.window->dragTimer());
        const int index = b.nameIndex("Bread");
        const bool edit = target == QLatin1String("Command3");
        const bool upload = target == QLatin1String("Command6");
        const bool move = target == QLatin1String("Command5");
        QCOMPARE(b.f.state.editRecipe, std::string(edit ? "Bread" : ""));
        QCOMPARE(b.f.state.dragRecipe, std::string(upload || move ? "Bread" : ""));
        QCOMPARE(b.f.state.moveIndex, move ? index : 0);
        for (const char* name : {"RedigeraRecept", "frmUpload", "frmWhere", "NyttRecept", "Visa"}) {
            QCOMPARE(b.f.windows().isOpen(QString::fromLatin1(name)), opens == QLatin1String(name));
        }
        if (move) {
            auto* chooser = b.f.windows().find<DestinationChooser>(QStringLiteral("frmWhere"));
            QCOMPARE(chooser->mode(), ChooserMode::Move);
            QCOMPARE(child<QPushButton>(chooser, QStringLiteral("Command1"))->text(),
                     QStringLiteral("Move"));
        }
        QVERIFY(b.f.fakes.prompter.messages.isEmpty());
        QCOMPARE(b.f.dir.read("BOOK1.TXT"), book({"Apple pie", "Bread"}));
    }

    void onlyTheFourActionButtonsTakeADroppedName()
    {
        Browser b({"Bread"});
        auto enter = [&](const char* name, const QString& format) {
            auto* mime = new QMimeData;
            mime->setData(format, "Bread");
            QDragEnterEvent event(QPoint(5, 5), Qt::MoveAction, mime, Qt::LeftButton,
                                  Qt::NoModifier);
            event.ignore();
            QPushButton* button = b.button(name);
            const bool delivered =
                button->acceptDrops() && QCoreApplication::sendEvent(button, &event);
            const bool accepted = delivered && event.isAccepted();
            delete mime;
            return accepted;
        };
        for (const char* target : {"Command3", "Command5", "Command6", "Command9"}) {
            QVERIFY2(enter(target, RecipeBrowser::dragFormat()), target);
            QVERIFY2(!enter(target, QStringLiteral("text/plain")), target);
        }
        for (const char* other :
             {"Command2", "Command12", "Command8", "Command4", "Command10(0)"}) {
            QVERIFY2(!enter(other, RecipeBrowser::dragFormat()), other);
        }
        // The icons are there even in a data folder without the pictures.
        QCOMPARE(b.window->dragIcon().size(), QSize(32, 32));
        QCOMPARE(b.window->dropIcon().size(), QSize(32, 32));
        QCOMPARE(b.window->noDropIcon().size(), QSize(32, 32));
    }

    void deleteAsksThenHidesTheLabel()
    {
        Browser b({"Apple pie", "Apricot jam", "Bread"});
        const int apricot = b.nameIndex("Apricot jam");
        const BrowserLabel breadBefore = b.window->layout().name(b.nameIndex("Bread"));

        // No keeps everything.
        b.f.fakes.prompter.answers = {Answer::No};
        b.dropOnto = QStringLiteral("Command9");
        b.press("Apricot jam");
        fire(b.window->dragTimer());
        const Message& asked = b.f.fakes.prompter.last();
        QCOMPARE(
            asked.text,
            QStringLiteral("Are you sure you want to delete the recipe \u00B4Apricot jam\u00B4?"));
        QCOMPARE(asked.title, QStringLiteral("Delete Apricot jam"));
        QCOMPARE(asked.buttons, MessageButtons::YesNo);
        QCOMPARE(asked.defaultButton, Answer::No);
        QCOMPARE(b.f.dir.read("BOOK1.TXT"), book({"Apple pie", "Apricot jam", "Bread"}));
        QVERIFY(b.window->layout().name(apricot).visible);

        // Yes deletes the record and leaves a gap where its name was.
        b.f.fakes.prompter.answers = {Answer::Yes};
        b.press("Apricot jam");
        fire(b.window->dragTimer());
        QCOMPARE(b.f.dir.read("BOOK1.TXT"), book({"Apple pie", "Bread"}));
        QVERIFY(!b.window->layout().name(apricot).visible);
        QCOMPARE(b.window->layout().name(apricot).caption, std::string());
        QCOMPARE(b.window->layout().name(b.nameIndex("Bread")), breadBefore);
        QCOMPARE(b.countText(), QStringLiteral("Number of recipes: 2"));
        QCOMPARE(b.f.state.nameCount, 2);
        QCOMPARE(b.window->sortedList().size(), std::size_t{27});
        QCOMPARE(b.f.fakes.prompter.messages.size(), 2);
    }

    void moveGoesThroughTheChooserAndTimer3()
    {
        Browser b({"Apple pie", "Bread", "Waffles"}, true);
        const int bread = b.nameIndex("Bread");
        b.dropOnto = QStringLiteral("Command5");
        b.press("Bread");
        fire(b.window->dragTimer());
        auto* chooser = b.f.windows().find<DestinationChooser>(QStringLiteral("frmWhere"));
        QVERIFY(chooser);
        auto* books = child<QComboBox>(chooser, QStringLiteral("Combo1"));
        books->setCurrentIndex(books->findText(QStringLiteral("Desserts")));
        chooser->confirm();
        QCOMPARE(b.f.state.targetBookTitle, std::string("Desserts"));
        QCOMPARE(b.window->moveTimer()->interval(), 50);
        fire(b.window->moveTimer());
        QVERIFY(!b.window->moveTimer()->isActive());

        QCOMPARE(store::listNames(b.f.dir.read("BOOK1.TXT")),
                 (std::vector<std::string>{"Apple pie", "Waffles"}));
        QCOMPARE(b.f.dir.read("BOOK2.TXT"), book({"Trifle", "Bread"}));
        QVERIFY(!b.window->layout().name(bread).visible);
        QCOMPARE(b.countText(), QStringLiteral("Number of recipes: 2"));
        QCOMPARE(b.f.state.nameCount, 2);
        QVERIFY(b.f.fakes.prompter.messages.isEmpty());
    }

    void moveThatCannotBeDoneChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("title");
        QTest::addColumn<QString>("message");
        QTest::newRow("same cookbook") << QByteArray("Standard") << QString();
        QTest::newRow("name taken there")
            << QByteArray("Desserts")
            << QStringLiteral("The cookbook \"Desserts\" already has a recipe "
                              "called \"Trifle\". Nothing was moved.");
        QTest::newRow("unknown cookbook")
            << QByteArray("Gone") << QStringLiteral("There is no cookbook called \"Gone\".");
    }

    void moveThatCannotBeDoneChangesNothing()
    {
        QFETCH(QByteArray, title);
        QFETCH(QString, message);
        Browser b({"Apple pie", "Trifle"}, true);
        const int trifle = b.nameIndex("Trifle");
        b.f.state.dragRecipe = "Trifle";
        b.f.state.moveIndex = trifle;
        b.f.state.targetBookTitle = title.toStdString();
        b.window->moveTimer()->start();
        fire(b.window->moveTimer());
        QCOMPARE(b.f.dir.read("BOOK1.TXT"), book({"Apple pie", "Trifle"}));
        QCOMPARE(b.f.dir.read("BOOK2.TXT"), book({"Trifle"}));
        QVERIFY(b.window->layout().name(trifle).visible);
        QCOMPARE(b.f.state.nameCount, 2);
        if (message.isEmpty()) {
            QVERIFY(b.f.fakes.prompter.messages.isEmpty());
        } else {
            QCOMPARE(b.f.fakes.prompter.messages.size(), 1);
            QCOMPARE(b.f.fakes.prompter.last().title, QStringLiteral("Error"));
            QCOMPARE(b.f.fakes.prompter.last().text, message);
        }
    }

    void clickingAnActionButtonIsAUserError()
    {
        Browser b({"Bread"});
        for (const char* name : {"Command3", "Command5", "Command6", "Command9"}) {
            b.button(name)->click();
            QCOMPARE(b.f.fakes.prompter.last().text,
                     QStringLiteral("Drag and drop a recipe to do this"));
            QCOMPARE(b.f.fakes.prompter.last().title, QStringLiteral("User error"));
        }
        QCOMPARE(b.f.fakes.prompter.messages.size(), 4);
        QCOMPARE(b.f.dir.read("BOOK1.TXT"), book({"Bread"}));
        QVERIFY(b.f.state.editRecipe.empty() && b.f.state.dragRecipe.empty());
    }

    void newRecipeIsGreyedOutWithoutAnEditor()
    {
        testing::GuiFixture f;
        f.writeDefaultFiles();
        f.start();
        f.windows().removeFactory(QStringLiteral("NyttRecept"));
        QWidget* window = f.windows().open(QStringLiteral("recept"));
        QVERIFY(window);
        QVERIFY(!child<QPushButton>(window, QStringLiteral("Command2"))->isEnabled());
    }

    void newRecipeAndOptions()
    {
        Browser b({"Bread"});
        QCOMPARE(b.button("Command2")->toolTip(),
                 QStringLiteral("Add a new recipe to your cookbook"));
        b.button("Command2")->click();
        QVERIFY(b.f.windows().isOpen(QStringLiteral("NyttRecept")));
        QVERIFY(b.f.fakes.prompter.messages.isEmpty());

        QPushButton* options = b.button("Command12");
        QCOMPARE(options->text(), QStringLiteral("Options >"));
        QTest::mouseClick(options, Qt::LeftButton);
        QMenu* menu = b.f.main().optionsMenu();
        QVERIFY(menu->isVisible());
        QCOMPARE(menu->pos(), options->mapToGlobal(QPoint(0, options->height())));
        menu->close();
    }

    void viewerDeleteFindsTheLabelByName()
    {
        // The viewer deletes through DeleteRecipe with the label the browser names.
        Browser b({"Apple pie", "Bread"});
        const int bread = b.window->findNameLabel("Bread");
        QVERIFY(bread > 0);
        QCOMPARE(b.window->findNameLabel("Cake"), -1);
        QVERIFY(DeleteRecipe(b.f.app(), "Bread", bread, DeleteFlag::NoQuestion));
        QVERIFY(b.f.fakes.prompter.messages.isEmpty());
        QCOMPARE(b.window->findNameLabel("Bread"), -1);
        QCOMPARE(b.countText(), QStringLiteral("Number of recipes: 1"));
    }

    void aTargetWithoutItsWindowRefusesTheName()
    {
        testing::GuiFixture f;
        f.writeDefaultFiles();
        f.dir.write("BOOK1.TXT", book({"Bread"}));
        f.start();
        f.windows().removeFactory(QStringLiteral("RedigeraRecept"));
        f.windows().removeFactory(QStringLiteral("frmUpload"));
        auto* window = qobject_cast<RecipeBrowser*>(f.windows().open(QStringLiteral("recept")));
        QVERIFY(window);
        auto accepts = [&](const char* name) {
            QMimeData mime;
            mime.setData(RecipeBrowser::dragFormat(), "Bread");
            QDragEnterEvent event(QPoint(5, 5), Qt::MoveAction, &mime, Qt::LeftButton,
                                  Qt::NoModifier);
            event.ignore();
            auto* button = child<QPushButton>(window, QString::fromLatin1(name));
            QCoreApplication::sendEvent(button, &event);
            return event.isAccepted() && button->property("dropHover").toBool();
        };
        QVERIFY(!accepts("Command3"));
        QVERIFY(!accepts("Command6"));
        QVERIFY(accepts("Command5"));
        QVERIFY(accepts("Command9"));
        QVERIFY(!child<QPushButton>(window, QStringLiteral("Command3"))
                     ->property("dropTarget")
                     .toBool());
        QVERIFY(child<QPushButton>(window, QStringLiteral("Command9"))
                    ->property("dropTarget")
                    .toBool());
        // And a drop there does nothing.
        window->dropOn(QStringLiteral("Command3"));
        QVERIFY(f.state.editRecipe.empty());
    }

    void theNamesWorkWithoutAMouse()
    {
        std::vector<std::string> names = {"Apple pie", "Apricot jam", "Bread", "Cake", "Waffles"};
        for (int i = 0; i < 20; ++i) names.push_back("Dish " + std::to_string(10 + i));
        Browser b(names);
        // The window gives its focus to the names.
        QCOMPARE(b.window->focusWidget(), b.labels);
        QCOMPARE(b.window->focusedName(), 0);
        auto key = [&](Qt::Key k) { QTest::keyClick(b.labels, k); };
        auto focused = [&] { return b.window->layout().name(b.window->focusedName()).caption; };
        key(Qt::Key_Down);
        QCOMPARE(focused(), std::string("Apple pie"));
        key(Qt::Key_Down);
        QCOMPARE(focused(), std::string("Apricot jam"));
        key(Qt::Key_Up);
        QCOMPARE(focused(), std::string("Apple pie"));
        key(Qt::Key_End);
        QCOMPARE(focused(), std::string("Waffles"));
        QVERIFY(b.window->layout().isShown({LabelKind::Name, b.window->focusedName()}));
        key(Qt::Key_Home);
        QCOMPARE(focused(), std::string("Apple pie"));
        // Typed letters jump; the same first letter again goes on to the next such name.
        QTest::keyClicks(b.labels, QStringLiteral("b"));
        QCOMPARE(focused(), std::string("Bread"));
        QTest::qWait(1100);
        QTest::keyClicks(b.labels, QStringLiteral("d"));
        QCOMPARE(focused(), std::string("Dish 10"));
        QTest::qWait(1100);
        QTest::keyClicks(b.labels, QStringLiteral("d"));
        QCOMPARE(focused(), std::string("Dish 11"));
        QTest::qWait(1100);
        QTest::keyClicks(b.labels, QStringLiteral("DISH 2"));
        QCOMPARE(focused(), std::string("Dish 20"));

        // Enter opens the viewer on it.
        key(Qt::Key_Return);
        QCOMPARE(b.f.state.selectedRecipe, std::string("Dish 20"));
        QVERIFY(b.f.windows().isOpen(QStringLiteral("Visa")));

        // Delete asks first; Yes deletes and the keyboard moves on to the next name.
        b.f.fakes.prompter.answers = {Answer::No, Answer::Yes};
        key(Qt::Key_Delete);
        QCOMPARE(b.f.fakes.prompter.last().text,
                 QStringLiteral("Are you sure you want to delete the recipe \u00B4Dish 20\u00B4?"));
        QCOMPARE(store::listNames(b.f.dir.read("BOOK1.TXT")).size(), names.size());
        key(Qt::Key_Delete);
        QCOMPARE(store::listNames(b.f.dir.read("BOOK1.TXT")).size(), names.size() - 1);
        QCOMPARE(b.window->findNameLabel("Dish 20"), -1);
        QCOMPARE(focused(), std::string("Dish 21"));
    }

    void longNamesCanBeReadInFull()
    {
        const std::string longName =
            "Grandmother's slow-braised beef with red wine, shallots and thyme dumplings";
        Browser b({longName, "Bread"});
        const int index = b.nameIndex(longName);
        QVERIFY(b.window->isElided(index));
        QVERIFY(!b.window->isElided(b.nameIndex("Bread")));
        const QPoint onLong = b.window->labelRect({LabelKind::Name, index}).center();
        QCOMPARE(b.window->toolTipAt(onLong), QString::fromStdString(longName));
        const QPoint onShort =
            b.window->labelRect({LabelKind::Name, b.nameIndex("Bread")}).center();
        QCOMPARE(b.window->toolTipAt(onShort), QString());
        // The hover bar writes the name out under the cut one, and stays a thin bar otherwise.
        QTest::mouseMove(b.labels, b.namePoint(longName));
        QCOMPARE(b.window->barText(), QString::fromStdString(longName));
        QTest::mouseMove(b.labels, b.namePoint("Bread"));
        QCOMPARE(b.window->barText(), QString());
    }
};

QTEST_MAIN(RecipeBrowserTest)
#include "recipe_browser_test.moc"
