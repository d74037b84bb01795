#include <QAction>
#include <QApplication>
#include <QtTest>

#include <filesystem>
#include <string>

#include "core/recipes/html_page.h"
#include "gui/app/handover.h"
#include "gui/recipes/recipe_page_export.h"
#include "gui/recipes/recipe_routines.h"
#include "gui/recipes/recipe_viewer.h"
#include "support/gui_fixture.h"
#include "support/gui_helpers.h"
#include "support/records.h"

using namespace culvora;
using culvora::testing::child;
using culvora::testing::crlf;
using culvora::testing::infoShape;
using culvora::testing::messageShape;
using culvora::testing::record;

namespace {

// Swedish letters and markup in the lists, a name with "ä" that the page writes as it is.
const std::string kBook =
    record({.name = "K\xE4rleksmums",
            .servings = "12",
            .time = "40",
            .ingredients = {"2 dl mj\xF6lk", "100 g <b>sm\xF6r</b>", "", "3 \xE4gg"},
            .steps = {"Mix & bake \"hot\".", "Cut in squares."},
            .type = "Desserts"});

// What the viewer shows for that recipe, as the page takes it.
const recipes::HtmlPageTexts kShown{"K\xE4rleksmums", "(Serves 12)", "Time to cook: 40 min",
                                    crlf({"2 dl mj\xF6lk", "100 g <b>sm\xF6r</b>", "", "3 \xE4gg"}),
                                    crlf({"Mix & bake \"hot\".", "Cut in squares."})};

struct PageExport : testing::GuiFixture {
    PageExport()
    {
        writeDefaultFiles();
        dir.write("BOOK1.TXT", kBook);
        start(true);
        gui::showRecipe(app(), "K\xE4rleksmums");
        viewer = windows().find<gui::RecipeViewer>(QStringLiteral("Visa"));
    }

    // The toolbar's "HTML" key, with the answer the save dialog gives.
    void pressHtml(const QString& answer)
    {
        if (!answer.isNull()) fakes.prompter.fileNames = {answer};
        QAction* key = child<QAction>(viewer, QStringLiteral("HTML"));
        QVERIFY(key && key->isEnabled());
        key->trigger();
        QVERIFY(!QApplication::overrideCursor());
    }
    QString path(const char* name) { return QString::fromStdString(dir.file(name).string()); }

    gui::RecipeViewer* viewer = nullptr;
};

}  // namespace

class RecipePageExportTest : public QObject {
    Q_OBJECT
private slots:
    void savesThePageOfWhatTheViewerShows()
    {
        PageExport f;
        QVERIFY(f.viewer);
        f.pressHtml(f.path("mums"));

        QCOMPARE(f.fakes.prompter.fileDialogTitles, QStringList{"Save the recipe as a web page"});
        QCOMPARE(f.fakes.prompter.fileDialogFilters, QStringList{"HTML-files (*.htm*)"});
        // Not "*.htm*": a Qt dialog would offer that as the file's name. The recipe's name is
        // what a cook would type.
        QCOMPARE(f.fakes.prompter.proposedNames, QStringList{"Kärleksmums.html"});
        // A name typed without an extension gets ".html".
        QVERIFY(!f.dir.exists("mums"));
        const std::string page = f.dir.read("mums.html");
        QCOMPARE(page, recipes::recipePage(kShown));
        // The letters become entities and the markup stays text; the name is written as it is.
        QVERIFY(page.find("2 dl mj&ouml;lk<BR>\r\n") != std::string::npos);
        QVERIFY(page.find("100 g &lt;b&gt;sm&ouml;r&lt;/b&gt;<BR>\r\n") != std::string::npos);
        QVERIFY(page.find("Mix &amp; bake &quot;hot&quot;.<BR>\r\n") != std::string::npos);
        QVERIFY(page.find("<B><U>K\xE4rleksmums</B></U>\r\n") != std::string::npos);
        QVERIFY(f.fakes.prompter.messages.isEmpty());
    }

    void anExistingFileIsReplacedAndItsExtensionKept()
    {
        PageExport f;
        f.dir.write("old.htm", "<html>an older page</html>");
        f.pressHtml(f.path("old.htm"));
        QCOMPARE(f.dir.read("old.htm"), recipes::recipePage(kShown));
        QVERIFY(!f.dir.exists("old.htm.html"));
    }

    void cancellingWritesNothingAndAFailureIsShown()
    {
        PageExport f;
        f.pressHtml(QString());  // cancelled
        QVERIFY(f.fakes.prompter.messages.isEmpty());
        QCOMPARE(f.fakes.prompter.fileDialogTitles.size(), 1);

        f.pressHtml(f.path("no such folder/mums.html"));
        QCOMPARE(f.fakes.prompter.messages.size(), 1);
        QCOMPARE(f.fakes.prompter.last().title, QStringLiteral("Error"));
        QVERIFY(!f.fakes.prompter.last().text.isEmpty());
        QVERIFY(!f.dir.exists("no such folder"));
    }

    // A link at the chosen name is refused, not replaced nor written through.
    void aLinkAtTheChosenNameIsRefused()
    {
        PageExport f;
        f.dir.write("keep.txt", "keep");
        std::filesystem::create_symlink(f.dir.file("keep.txt"), f.dir.file("link.html"));
        f.pressHtml(f.path("link.html"));
        QCOMPARE(f.fakes.prompter.messages.size(), 1);
        QVERIFY2(f.fakes.prompter.last().text.startsWith(QStringLiteral("Nothing was written")),
                 qPrintable(f.fakes.prompter.last().text));
        QVERIFY(std::filesystem::is_symlink(f.dir.file("link.html")));
        QCOMPARE(f.dir.read("keep.txt"), std::string("keep"));
    }

    void theProposedNameIsOneAFolderCanHold_data()
    {
        QTest::addColumn<QString>("recipe");
        QTest::addColumn<QString>("proposed");
        QTest::newRow("plain") << "Apple pie"
                               << "Apple pie.html";
        QTest::newRow("slash") << "Pie/tart: 2 ways"
                               << "Pie-tart- 2 ways.html";
        QTest::newRow("leading dot") << ".Secret"
                                     << "Secret.html";
        QTest::newRow("nothing left") << "  "
                                      << "Recipe.html";
    }
    void theProposedNameIsOneAFolderCanHold()
    {
        QFETCH(QString, recipe);
        QFETCH(QString, proposed);
        QCOMPARE(gui::proposedPageName(recipe), proposed);
    }
};

QTEST_MAIN(RecipePageExportTest)
#include "recipe_page_export_test.moc"
