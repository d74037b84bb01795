#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolBar>

#include "gui/app/geometry.h"
#include "gui/app/handover.h"
#include "gui/recipes/recipe_routines.h"
#include "gui/recipes/recipe_viewer.h"
#include "support/gui_fixture.h"
#include "support/gui_helpers.h"
#include "support/records.h"

using namespace culvora;
using namespace culvora::gui;
using culvora::testing::child;
using culvora::testing::crlf;
using culvora::testing::GuiFixture;
using culvora::testing::record;

namespace {

// Stands in for the recipe browser: name labels by index, 0 being the empty template.
class FakeBrowser : public QWidget, public RecipeBrowserLists {
public:
    FakeBrowser() { setObjectName(QStringLiteral("recept")); }
    void setRecipeIndex(const store::RecipeIndex& index) override { countText = index.countText(); }
    void hideNameLabel(int index) override { hidden << index; }
    int findNameLabel(const std::string& name) const override
    {
        for (std::size_t i = 0; i < labels.size(); ++i) {
            if (labels[i] == name) return static_cast<int>(i);
        }
        return -1;
    }
    std::vector<std::string> labels{""};
    QList<int> hidden;
    std::string countText;
};

const std::string kApplePie = record({.name = "Apple pie",
                                      .servings = "8",
                                      .time = "50",
                                      .ingredients = {"6 apples", "1 pastry"},
                                      .steps = {"Bake."},
                                      .type = "Desserts"});
const std::string kBuns = record({.name = "Buns",
                                  .servings = "12",
                                  .time = "90",
                                  .ingredients = {},
                                  .steps = {"Knead.", "Rise."},
                                  .type = "Desserts"});
const std::string kCrumble =
    record({.name = "Crumble",
            .servings = "6",
            .time = "45",
            .ingredients = {"200 g flour", "100 g butter", "", "4 apples"},
            .steps = {"Rub the butter into the flour.", "Bake until golden."},
            .type = "Desserts"});
const std::string kWaffles = record({.name = "Waffles",
                                     .servings = "4",
                                     .time = "20",
                                     .ingredients = {"3 eggs"},
                                     .steps = {"Whisk."},
                                     .type = "Desserts"});
// File order differs from the program's order on purpose.
const std::string kBook = kWaffles + kCrumble + kApplePie + kBuns;

class ViewerFixture {
public:
    explicit ViewerFixture(const std::string& book = kBook)
    {
        f.writeDefaultFiles();
        f.dir.write("BOOK1.TXT", book);
        f.start();
        f.windows().addFactory(QStringLiteral("recept"), [this] {
            ++browsersMade;
            browser = new FakeBrowser;
            return browser.data();
        });
    }

    RecipeViewer* show(const std::string& name)
    {
        showRecipe(f.app(), name);
        return viewer();
    }
    RecipeViewer* viewer() { return f.windows().find<RecipeViewer>(QStringLiteral("Visa")); }

    QString label(const char* name) { return child<QLabel>(viewer(), QLatin1String(name))->text(); }
    QString instructions()
    {
        return child<QPlainTextEdit>(viewer(), QStringLiteral("Text2"))->toPlainText();
    }
    void click(const char* button)
    {
        QTest::mouseClick(child<QPushButton>(viewer(), QLatin1String(button)), Qt::LeftButton);
    }
    QAction* action(const char* key) { return child<QAction>(viewer(), QLatin1String(key)); }
    int viewerFrames()
    {
        int frames = 0;
        for (QMdiSubWindow* sub : f.windows().area()->subWindowList()) {
            if (sub->widget() && sub->widget()->objectName() == QLatin1String("Visa")) ++frames;
        }
        return frames;
    }

    GuiFixture f;
    QPointer<FakeBrowser> browser;
    int browsersMade = 0;
};

}  // namespace

class RecipeViewerTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheRecipeOnTheBook()
    {
        ViewerFixture v;
        RecipeViewer* viewer = v.show("Crumble");
        QVERIFY(viewer);
        QCOMPARE(viewer->windowTitle(), QStringLiteral("Read recipe: Crumble"));
        QCOMPARE(v.label("Label1"), QStringLiteral("Crumble"));
        QCOMPARE(v.label("Label2"), QStringLiteral("(Serves 6)"));
        QCOMPARE(v.label("Label3"), QStringLiteral("Time to cook: 45 min"));
        QCOMPARE(v.label("Text1"), QStringLiteral("200 g flour\n100 g butter\n\n4 apples"));
        QCOMPARE(v.instructions(),
                 QStringLiteral("Rub the butter into the flour.\nBake until golden."));
        // Four lines and the closing tag.
        QCOMPARE(viewer->ingredientHeight(), 145);
        QCOMPARE(viewer->recipeOrder(),
                 (std::vector<std::string>{"Apple pie", "Buns", "Crumble", "Waffles"}));
        QCOMPARE(viewer->listIndex(), 2);

        const QFont name = child<QLabel>(viewer, QStringLiteral("Label1"))->font();
        QVERIFY(name.bold());
        QCOMPARE(name.pointSizeF(), 12.0);
        QCOMPARE(child<QLabel>(viewer, QStringLiteral("Text1"))->font().pointSizeF(), 12.0);
        QCOMPARE(child<QPlainTextEdit>(viewer, QStringLiteral("Text2"))->font().pointSizeF(), 9.75);
        QVERIFY(child<QLabel>(viewer, QStringLiteral("Text1"))->isVisibleTo(viewer));
        QVERIFY(!v.f.main().cookbookMenuEnabled());

        // Coming back to a minimised viewer brings it back to its normal size.
        QMdiSubWindow* frame = v.f.windows().subWindowOf(viewer);
        frame->showMinimized();
        QVERIFY(frame->isMinimized());
        QMdiArea* area = v.f.windows().area();
        area->setActiveSubWindow(
            v.f.windows().subWindowOf(v.f.windows().find(QStringLiteral("welcome"))));
        area->setActiveSubWindow(frame);
        QVERIFY(!frame->isMinimized());

        // Shown again from an opener: the same window, the new recipe and caption. No
        // ingredient lines still leave one line's height.
        v.show("Buns");
        QCOMPARE(v.viewer(), viewer);
        QCOMPARE(v.viewerFrames(), 1);
        QCOMPARE(viewer->windowTitle(), QStringLiteral("Read recipe: Buns"));
        QCOMPARE(v.label("Label1"), QStringLiteral("Buns"));
        QCOMPARE(v.label("Text1"), QString());
        QCOMPARE(viewer->ingredientHeight(), 29);
        QCOMPARE(v.instructions(), QStringLiteral("Knead.\nRise."));
    }

    void backAndForwardWrapAndTheCaptionFollows()
    {
        ViewerFixture v;
        RecipeViewer* viewer = v.show("Waffles");
        v.click("Command7");
        QCOMPARE(v.label("Label1"), QStringLiteral("Apple pie"));
        QCOMPARE(v.f.state.selectedRecipe, std::string("Apple pie"));
        QCOMPARE(v.label("Label2"), QStringLiteral("(Serves 8)"));
        QCOMPARE(v.instructions(), QStringLiteral("Bake."));
        v.click("Command8");
        QCOMPARE(v.label("Label1"), QStringLiteral("Waffles"));
        v.click("Command8");
        QCOMPARE(v.label("Label1"), QStringLiteral("Crumble"));
        // The caption names the recipe on show, not the one the viewer was opened with.
        QCOMPARE(viewer->windowTitle(), QStringLiteral("Read recipe: Crumble"));
        QCOMPARE(v.viewer(), viewer);
    }

    void aRecipeAddedMeanwhileIsReached()
    {
        ViewerFixture v;
        v.show("Apple pie");
        v.f.dir.write("BOOK1.TXT", kBook + record({.name = "Banana bread",
                                                   .servings = "1",
                                                   .time = "60",
                                                   .ingredients = {},
                                                   .steps = {},
                                                   .type = "Desserts"}));
        // Back and Forward read the names when they are clicked.
        v.click("Command7");
        QCOMPARE(v.label("Label1"), QStringLiteral("Banana bread"));
        v.click("Command7");
        QCOMPARE(v.label("Label1"), QStringLiteral("Buns"));
        v.click("Command8");
        QCOMPARE(v.label("Label1"), QStringLiteral("Banana bread"));
    }

    void zoomGrowsTheTextsAndZoomOutResetsTheFonts()
    {
        ViewerFixture v;
        RecipeViewer* viewer = v.show("Crumble");
        auto* ingredients = child<QLabel>(viewer, QStringLiteral("Text1"));
        auto* instructions = child<QPlainTextEdit>(viewer, QStringLiteral("Text2"));
        const int shownHeight = ingredients->height();
        v.click("Command9");
        v.click("Command9");
        QCOMPARE(ingredients->font().pointSizeF(), 16.0);
        QCOMPARE(instructions->font().pointSizeF(), 13.75);
        QCOMPARE(viewer->ingredientHeight(), 4 * 145);
        // The label on screen grows with its text.
        QVERIFY(ingredients->height() > shownHeight);

        v.click("Command10");
        QCOMPARE(ingredients->font().pointSizeF(), 12.0);
        QCOMPARE(instructions->font().pointSizeF(), 9.75);
        QCOMPARE(viewer->ingredientHeight(), 4 * 145);
        v.click("Command10");
        QCOMPARE(ingredients->font().pointSizeF(), 12.0);

        // The next fill starts from the rule again.
        v.click("Command7");
        QCOMPARE(viewer->ingredientHeight(), 58);
    }

    void theScrollBarMovesTheIngredientsInsideTheirFrame()
    {
        std::vector<std::string> ingredients;
        for (int i = 1; i <= 60; ++i) ingredients.push_back(std::to_string(i) + " g of something");
        ViewerFixture v(record({.name = "Stew",
                                .servings = "4",
                                .time = "180",
                                .ingredients = ingredients,
                                .steps = {"Simmer."},
                                .type = "Hot dish"}) +
                        kBuns);

        RecipeViewer* viewer = v.show("Stew");
        auto* bar = child<QScrollBar>(viewer, QStringLiteral("VScroll1"));
        auto* text = child<QLabel>(viewer, QStringLiteral("Text1"));
        auto* frame = child<QWidget>(viewer, QStringLiteral("Picture3"));
        QCOMPARE(text->parentWidget(), frame);
        QVERIFY(bar->isEnabled());
        QVERIFY(bar->maximum() > 0);
        bar->setValue(30);
        QCOMPARE(text->y(), twips(-300));
        QVERIFY(text->isVisibleTo(viewer));
        // At the end the last line has come up to the bottom of the frame.
        bar->setValue(bar->maximum());
        QVERIFY2(
            qAbs(text->geometry().bottom() - frame->rect().bottom()) <= 1,
            qPrintable(
                QStringLiteral("%1 / %2").arg(text->geometry().bottom()).arg(frame->height())));

        // Zoomed in six times the list is far taller than a 16-bit scroll value reaches; its
        // last line can still be brought into the frame.
        for (int i = 0; i < 6; ++i) v.click("Command9");
        bar->setValue(bar->maximum());
        QVERIFY(text->geometry().bottom() <= frame->rect().bottom() + 1);
        QVERIFY(text->geometry().bottom() >= frame->rect().bottom() - twips(10));
        QVERIFY(text->height() > twips(32767));
        // The text itself (60 lines of it) ends within the label, so the last line shows.
        QVERIFY(text->heightForWidth(text->width()) <= text->height());
        v.click("Command10");

        // The next recipe starts at the top; a short one has nothing to scroll.
        v.click("Command7");
        QCOMPARE(v.label("Label1"), QStringLiteral("Buns"));
        QCOMPARE(bar->value(), 0);
        QCOMPARE(text->y(), 0);
        QVERIFY(!bar->isEnabled());
    }

    void deleteAsksThroughTheBrowserAndCloses_data()
    {
        QTest::addColumn<bool>("labelShown");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("deleted");
        QTest::addColumn<bool>("closed");
        QTest::newRow("no label shows it: nothing, the viewer stays")
            << false << true << false << false;
        QTest::newRow("answered No: nothing deleted, closed all the same")
            << true << false << false << true;
        QTest::newRow("answered Yes: deleted and closed") << true << true << true << true;
    }

    void deleteAsksThroughTheBrowserAndCloses()
    {
        QFETCH(bool, labelShown);
        QFETCH(bool, yes);
        QFETCH(bool, deleted);
        QFETCH(bool, closed);

        ViewerFixture v;
        v.f.windows().open(QStringLiteral("recept"));
        v.browser->labels = {"", "Apple pie", labelShown ? "Buns" : "Bread", "Crumble"};
        v.f.state.nameCount = 4;
        v.f.fakes.prompter.answers.push_back(yes ? Answer::Yes : Answer::No);
        QPointer<RecipeViewer> viewer = v.show("Buns");

        v.action("Delete")->trigger();

        const auto& messages = v.f.fakes.prompter.messages;
        if (labelShown) {
            QCOMPARE(messages.size(), 1);
            QCOMPARE(
                messages[0].text,
                QStringLiteral("Are you sure you want to delete the recipe \u00B4Buns\u00B4?"));
            QCOMPARE(messages[0].title, QStringLiteral("Delete Buns"));
        } else {
            QVERIFY(messages.isEmpty());
        }
        if (deleted) {
            // The deleted record's tag heads nothing more: it was the last record.
            QCOMPARE(v.f.dir.read("BOOK1.TXT"), kWaffles + kCrumble + kApplePie + "[NAMN]\r\n");
            QCOMPARE(v.browser->hidden, QList<int>{2});
            QCOMPARE(v.browser->countText, std::string("Number of recipes: 3"));
            QCOMPARE(v.f.state.nameCount, 3);
        } else {
            QCOMPARE(v.f.dir.read("BOOK1.TXT"), kBook);
            QVERIFY(v.browser->hidden.isEmpty());
            QCOMPARE(v.f.state.nameCount, 4);
        }
        QCOMPARE(v.viewer() == nullptr, closed);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(viewer.isNull(), closed);
        QCOMPARE(v.f.main().cookbookMenuEnabled(), false);  // the browser is still open
        QCOMPARE(v.browsersMade, 1);
    }

    void deleteOpensTheBrowserToFindTheLabel()
    {
        ViewerFixture v;
        v.show("Buns");
        QVERIFY(!v.f.windows().isOpen(QStringLiteral("recept")));
        v.action("Delete")->trigger();
        // The new browser's labels do not show the name here: nothing is asked or deleted.
        QCOMPARE(v.browsersMade, 1);
        QVERIFY(v.f.windows().isOpen(QStringLiteral("recept")));
        QVERIFY(v.viewer());
        QCOMPARE(v.f.dir.read("BOOK1.TXT"), kBook);
    }

    void aMissingRecipeOrFileShowsWhatItCan()
    {
        ViewerFixture v;
        v.show("Gone");
        QCOMPARE(v.label("Label1"), QStringLiteral("Gone"));
        QCOMPARE(v.label("Label2"), QString());
        QCOMPARE(v.label("Label3"), QString());
        QVERIFY2(v.label("Text1").contains(QStringLiteral("could not be found")),
                 qPrintable(v.label("Text1")));
        QCOMPARE(v.instructions(), QString());
        QVERIFY(v.f.fakes.prompter.messages.isEmpty());
        // Back and Forward lead on to recipes that are there.
        v.click("Command8");
        QCOMPARE(v.label("Label1"), QStringLiteral("Waffles"));

        // No picture file: the book is drawn in its place, at the picture's size.
        auto* book = child<QWidget>(v.viewer(), QStringLiteral("Picture1"));
        QCOMPARE(book->size(), QSize(720, 470));
        QCOMPARE(v.viewer()->width(), 720 + twips(500));

        v.f.state.currentCookbookFile = "BOOK9.TXT";
        v.show("Buns");
        QCOMPARE(v.label("Label1"), QStringLiteral("Buns"));
        QCOMPARE(v.label("Text1"),
                 QStringLiteral("The cookbook file \"BOOK9.TXT\" could not be found."));
        QVERIFY(v.viewer()->recipeOrder().empty());
        v.click("Command7");
        QCOMPARE(v.label("Label1"), QStringLiteral("Buns"));
        QVERIFY(v.f.fakes.prompter.messages.isEmpty());
    }

    void theWindowTakesThePicturesSize_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("book");
        QTest::newRow("larger than the delivered book") << QSize(800, 520) << QSize(800, 520);
        // Too small to hold the pages: the plain book is drawn instead.
        QTest::newRow("too small for the pages") << QSize(300, 200) << QSize(720, 470);
    }

    void theWindowTakesThePicturesSize()
    {
        QFETCH(QSize, picture);
        QFETCH(QSize, book);
        ViewerFixture v;
        QImage image(picture, QImage::Format_RGB32);
        image.fill(QColor(0x90, 0x60, 0x30));
        QVERIFY(image.save(QString::fromStdString(v.f.dir.file("boken.gif").string()), "PNG"));
        RecipeViewer* viewer = v.show("Buns");
        auto* shown = child<QWidget>(viewer, QStringLiteral("Picture1"));
        QCOMPARE(shown->size(), book);
        QCOMPARE(viewer->width(), book.width() + twips(500));
        QVERIFY(viewer->height() >= book.height() + twips(1200));
        // Centred across, and below the toolbar.
        QCOMPARE(shown->x(), twips(500) / 2);
        QVERIFY(shown->y() >= child<QToolBar>(viewer, QStringLiteral("Toolbar1"))->height());
        QVERIFY(
            shown->rect().contains(child<QWidget>(viewer, QStringLiteral("Command7"))->geometry()));
    }

    void theToolbarsKeysReachTheRecipesActions()
    {
        ViewerFixture v;
        RecipeViewer* viewer = v.show("Crumble");
        QStringList keys;
        for (QAction* a : child<QToolBar>(viewer, QStringLiteral("Toolbar1"))->actions()) {
            keys << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
        }
        QCOMPARE(keys, (QStringList{"Print", "Edit", "Search", "Picture", "-", "Delete", "-",
                                    "Upload", "HTML"}));

        // Windows the program does not have: their keys are greyed out and do nothing.
        for (const char* name :
             {"SkrivUt", "RedigeraRecept", "S\xC3\xB6k", "visabild", "frmUpload"}) {
            v.f.windows().removeFactory(QString::fromUtf8(name));
        }
        viewer->updateToolbar();
        // Delete and HTML work in the viewer itself.
        QVERIFY(v.action("Delete")->isEnabled());
        QVERIFY(v.action("HTML")->isEnabled());
        for (const char* key : {"Print", "Edit", "Search", "Picture", "Upload"}) {
            QVERIFY2(!v.action(key)->isEnabled(), key);
            viewer->runToolbarAction(QString::fromLatin1(key));
            QVERIFY2(v.viewer(), key);
        }
        QCOMPARE(v.f.state.editRecipe, std::string());
        QCOMPARE(v.f.state.dragRecipe, std::string());

        // Upload shows its window; Edit shows the editor and closes the browser; Search
        // closes the viewer.
        for (const char* name : {"frmUpload", "RedigeraRecept", "S\xC3\xB6k"}) {
            const QString window = QString::fromUtf8(name);
            testing::addStandIn(v.f.windows(), window);
        }
        v.click("Command7");  // the next fill sees the windows that arrived
        QVERIFY(v.action("Upload")->isEnabled());
        QVERIFY(!v.action("Print")->isEnabled());
        v.action("Upload")->trigger();
        QVERIFY(v.f.windows().isOpen(QStringLiteral("frmUpload")));
        QCOMPARE(v.f.state.dragRecipe, std::string("Waffles"));

        v.f.windows().open(QStringLiteral("recept"));
        v.action("Edit")->trigger();
        QCOMPARE(v.f.state.editRecipe, std::string("Waffles"));
        QVERIFY(v.f.windows().isOpen(QStringLiteral("RedigeraRecept")));
        QVERIFY(!v.f.windows().isOpen(QStringLiteral("recept")));

        v.action("Search")->trigger();
        QVERIFY(v.f.windows().isOpen(QStringLiteral("S\u00F6k")));
        QVERIFY(!v.viewer());
    }

    void aLongNameStaysReadable_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("whole");
        QTest::newRow("fits") << QStringLiteral("Pea soup") << true;
        QTest::newRow("long") << QStringLiteral("Grandmother's slow-braised beef with red wine, "
                                                "shallots, thyme and parsley dumplings")
                              << true;
        QTest::newRow("very long")
            << QStringLiteral("Grandmother's slow-braised beef ").repeated(8).trimmed() << false;
    }

    void aLongNameStaysReadable()
    {
        QFETCH(QString, name);
        QFETCH(bool, whole);
        const std::string cp = name.toStdString();
        ViewerFixture v(record({.name = cp,
                                .servings = "4",
                                .time = "30",
                                .ingredients = {"salt"},
                                .steps = {"Cook."},
                                .type = "Hot dish"}));
        RecipeViewer* viewer = v.show(cp);
        auto* title = child<QLabel>(viewer, QStringLiteral("Label1"));
        auto* servings = child<QLabel>(viewer, QStringLiteral("Label2"));
        // The text as drawn fits the label, which ends above the servings line.
        const QRect needed =
            title->fontMetrics().boundingRect(QRect(0, 0, title->contentsRect().width(), 100000),
                                              Qt::AlignCenter | Qt::TextWordWrap, title->text());
        QVERIFY(needed.height() <= title->contentsRect().height());
        QVERIFY(needed.width() <= title->contentsRect().width());
        QVERIFY(title->geometry().bottom() < servings->geometry().top());
        if (name.size() < 20) {
            QCOMPARE(title->text(), name);
            QCOMPARE(title->font().pointSizeF(), 12.0);
            QCOMPARE(title->toolTip(), QString());
        } else {
            QVERIFY(title->font().pointSizeF() < 12.0);
            QCOMPARE(title->text() == name, whole);
            QCOMPARE(title->toolTip(), name);
        }
    }
};

QTEST_MAIN(RecipeViewerTest)
#include "recipe_viewer_test.moc"
