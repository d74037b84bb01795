// "Import from web page": the menu item, a saved page ending in the filled-in new-recipe
// editor and saved from there, a page with two recipes, a page without any, a fetch that is
// stopped, and an editor that holds a recipe already.

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/transfer/web_recipe.h"
#include "gui/app/window_names.h"
#include "gui/transfer/web_import_dialog.h"
#include "support/gui_fixture.h"
#include "support/gui_helpers.h"
#include "support/http_test_server.h"

using namespace culvora;
using namespace culvora::gui;
using culvora::testing::child;
using culvora::testing::clickButton;
using culvora::testing::itemTexts;
using culvora::testing::messageShape;

namespace {

std::string fixtureBytes(const char* name)
{
    const char* source = std::getenv("CULVORA_SOURCE_DIR");
    return culvora::testing::readBytes(std::filesystem::path(source ? source : ".") /
                                       "tests/core/transfer/fixtures/web" / name);
}

struct WebImport : testing::GuiFixture {
    WebImport()
    {
        writeDefaultFiles();
        start(true);
    }

    QString path(const char* name) { return QString::fromStdString(dir.file(name).string()); }

    WebImportDialog* open()
    {
        auto* item = main().findChild<QAction*>(QLatin1String(menus::kImportWebPage));
        if (!item || !item->isEnabled()) return nullptr;
        item->trigger();
        return qobject_cast<WebImportDialog*>(windows().find(forms::kWebImport));
    }

    // Puts a page in the address box as the cook would and presses Enter.
    void import(WebImportDialog* dialog, const QString& address)
    {
        auto* box = child<QLineEdit>(dialog, QStringLiteral("txtAddress"));
        box->setFocus();
        box->setText(address);
        QTest::keyClick(box, Qt::Key_Return);
    }

    QWidget* editor() { return windows().find(forms::kNewRecipe); }
    QString box(const char* name)
    {
        QWidget* e = editor();
        if (auto* line = e ? e->findChild<QLineEdit*>(QLatin1String(name)) : nullptr) {
            return line->text();
        }
        auto* text = e ? e->findChild<QPlainTextEdit*>(QLatin1String(name)) : nullptr;
        return text ? text->toPlainText() : QStringLiteral("<none>");
    }
};

}  // namespace

class WebImportDialogTest : public QObject {
    Q_OBJECT
private slots:
    void aSavedPageOpensFilledInInTheNewRecipeEditor()
    {
        WebImport f;
        f.dir.write("bullar.html", fixtureBytes("graph.html"));
        WebImportDialog* dialog = f.open();
        QVERIFY(dialog);
        QVERIFY(child<QPushButton>(dialog, QStringLiteral("cmdImport"))->isDefault());
        QCOMPARE(dialog->focusWidget(), child<QLineEdit>(dialog, QStringLiteral("txtAddress")));
        QCOMPARE(child<QComboBox>(dialog, QStringLiteral("cboType"))->currentText(),
                 QStringLiteral("Imported"));
        // A screen reader hears what each box is (the buttons say their captions) and what
        // each control does.
        for (const char* name : {"txtAddress", "cboType", "cboRecipe"}) {
            QVERIFY2(!child<QWidget>(dialog, QLatin1String(name))->accessibleName().isEmpty(),
                     name);
        }
        for (const char* name : {"txtAddress", "cboType", "cboRecipe", "cmdBrowse", "cmdImport",
                                 "cmdCancel", "cmdHelp"}) {
            QVERIFY2(
                !child<QWidget>(dialog, QLatin1String(name))->accessibleDescription().isEmpty(),
                name);
        }

        // Browse... puts the chosen file in the box; Import reads it.
        f.fakes.prompter.fileNames = {f.path("bullar.html")};
        clickButton(dialog, QStringLiteral("cmdBrowse"));
        QCOMPARE(f.fakes.prompter.fileDialogFilters, QStringList{kWebPageFilter});
        QCOMPARE(child<QLineEdit>(dialog, QStringLiteral("txtAddress"))->text(),
                 f.path("bullar.html"));
        QPointer<WebImportDialog> guard(dialog);
        clickButton(dialog, QStringLiteral("cmdImport"));
        QTRY_VERIFY(f.editor());
        QTRY_VERIFY(!guard);

        QCOMPARE(f.box("t1"), QStringLiteral("Kanelbullar & kaffe"));
        QCOMPARE(f.box("t2"), QStringLiteral("12"));
        QCOMPARE(f.box("t3"), QStringLiteral("90"));
        QCOMPARE(f.box("t4"), QStringLiteral("25 g j\u00E4st\n2\u00BD dl mj\u00F6lk\n"
                                             "1 tsk kardemumma (mald)\n75 g sm\u00F6r\n"
                                             "<small> about 6 dl flour"));
        QVERIFY2(f.box("t5").endsWith(QStringLiteral("minutes.\nSource: ") +
                                      f.path("bullar.html")),
                 qPrintable(f.box("t5")));
        // "desserts" among the page's categories is the cook's type "Desserts".
        QCOMPARE(child<QComboBox>(f.editor(), QStringLiteral("Combo1"))->currentText(),
                 QStringLiteral("Desserts"));
        QCOMPARE(f.editor()->focusWidget(), child<QLineEdit>(f.editor(), QStringLiteral("t1")));
        QVERIFY(f.fakes.prompter.messages.isEmpty());

        // The cook saves it as any new recipe.
        clickButton(f.editor(), QStringLiteral("Command1"));
        QTRY_VERIFY(!f.editor());
        const std::string book = f.dir.read("BOOK1.TXT");
        QVERIFY2(book.starts_with("[NAMN]\r\nKanelbullar & kaffe\r\n[PORTIONER]\r\n12\r\n[TID]\r\n"
                                  "90\r\n[IND]\r\n25 g j\xE4st\r\n"),
                 book.c_str());
        QVERIFY(book.ends_with("[TYP]\r\nDesserts\r\n"));
    }

    void aPageWithTwoRecipesOffersTheChoice()
    {
        WebImport f;
        f.dir.write("two.html", fixtureBytes("two_recipes.html"));
        WebImportDialog* dialog = f.open();
        auto* types = child<QComboBox>(dialog, QStringLiteral("cboType"));
        types->setCurrentIndex(types->findText(QStringLiteral("Hot dish")));
        f.import(dialog, f.path("two.html"));
        auto* choice = child<QComboBox>(dialog, QStringLiteral("cboRecipe"));
        QTRY_VERIFY(choice->isVisible());
        QCOMPARE(itemTexts(choice),
                 (QStringList{QStringLiteral("Thin pancakes"), QStringLiteral("Oven pancake")}));
        QCOMPARE(child<QLabel>(dialog, QStringLiteral("lblStatus"))->text(),
                 QStringLiteral("The page holds 2 recipes. Choose one and press Import."));
        QVERIFY(!f.editor());

        choice->setCurrentIndex(1);
        clickButton(dialog, QStringLiteral("cmdImport"));
        QTRY_VERIFY(f.editor());
        QCOMPARE(f.box("t1"), QStringLiteral("Oven pancake"));
        QCOMPARE(f.box("t2"), QStringLiteral("4"));
        QCOMPARE(f.box("t3"), QStringLiteral("25"));
        // The page names no category: the type chosen in the dialog.
        QCOMPARE(child<QComboBox>(f.editor(), QStringLiteral("Combo1"))->currentText(),
                 QStringLiteral("Hot dish"));
    }

    void aPageWithoutARecipeSaysSoAndStaysOpen()
    {
        WebImport f;
        f.dir.write("none.html", fixtureBytes("none.html"));
        WebImportDialog* dialog = f.open();
        f.import(dialog, f.path("none.html"));
        QTRY_COMPARE(f.fakes.prompter.messages.size(), 1);
        QCOMPARE(messageShape(f.fakes.prompter.last()),
                 QStringLiteral("[Import from web page] Exclamation Ok default Ok: ") +
                     QString::fromUtf8(transfer::kNoWebRecipeMessage.data()));
        QVERIFY(f.windows().find(forms::kWebImport));
        QVERIFY(!f.editor());
        QVERIFY(child<QPushButton>(dialog, QStringLiteral("cmdImport"))->isEnabled());

        // An empty box asks for a page before reading anything.
        f.import(dialog, QStringLiteral("   "));
        QCOMPARE(f.fakes.prompter.messages.size(), 2);
        QVERIFY(f.fakes.prompter.last().text.startsWith(QStringLiteral("Please paste")));

        // Help opens the page on importing from the web, delivered and in the contents.
        clickButton(dialog, QStringLiteral("cmdHelp"));
        QCOMPARE(f.fakes.opener.documents,
                 QStringList{QString::fromStdString((f.dir.path() / "help" / "webimport.html")
                                                        .string())});
        const std::filesystem::path source(
            qEnvironmentVariable("CULVORA_SOURCE_DIR").toStdString());
        QVERIFY(std::filesystem::exists(source / "data" / "help" / "webimport.html"));
        QVERIFY(testing::readBytes(source / "data" / "help" / "index.html")
                    .find("href=\"webimport.html\"") != std::string::npos);
    }

    void cancelStopsAFetchThatHangs()
    {
        testing::HttpTestServer server;
        server.stall("/slow");
        WebImport f;
        WebImportDialog* dialog = f.open();
        f.import(dialog, QString::fromStdString(server.url("/slow")));
        QVERIFY(dialog->busy());
        QCOMPARE(dialog->cursor().shape(), Qt::BusyCursor);
        QVERIFY(!child<QPushButton>(dialog, QStringLiteral("cmdImport"))->isEnabled());
        QVERIFY(!child<QLineEdit>(dialog, QStringLiteral("txtAddress"))->isEnabled());
        // The windows go on: the fetch runs on a thread of its own.
        QTest::qWait(100);
        QVERIFY(dialog->busy());

        clickButton(dialog, QStringLiteral("cmdCancel"));
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->busy(), 5000);
        QCOMPARE(child<QLabel>(dialog, QStringLiteral("lblStatus"))->text(),
                 QString::fromUtf8(exchange::kFetchCancelledMessage.data()));
        QVERIFY(f.fakes.prompter.messages.isEmpty());
        QCOMPARE(dialog->cursor().shape(), Qt::ArrowCursor);
        QVERIFY(child<QPushButton>(dialog, QStringLiteral("cmdImport"))->isEnabled());

        // Closing the window while a fetch runs stops it too.
        f.import(dialog, QString::fromStdString(server.url("/slow")));
        QVERIFY(dialog->busy());
        QPointer<WebImportDialog> guard(dialog);
        f.windows().closeWindow(dialog);
        QTRY_VERIFY_WITH_TIMEOUT(!guard, 5000);
        QVERIFY(f.fakes.prompter.messages.isEmpty());
    }

    void anEditorHoldingARecipeIsOnlyReplacedWhenTheCookSaysSo()
    {
        WebImport f;
        f.dir.write("bullar.html", fixtureBytes("graph.html"));
        f.windows().open(forms::kNewRecipe);
        child<QLineEdit>(f.editor(), QStringLiteral("t1"))->setText(QStringLiteral("My soup"));

        f.fakes.prompter.answers = {Answer::No};
        WebImportDialog* dialog = f.open();
        f.import(dialog, f.path("bullar.html"));
        QTRY_COMPARE(f.fakes.prompter.messages.size(), 1);
        QCOMPARE(f.fakes.prompter.last().icon, MessageIcon::Question);
        QCOMPARE(f.box("t1"), QStringLiteral("My soup"));
        QVERIFY(f.windows().find(forms::kWebImport));

        f.fakes.prompter.answers = {Answer::Yes};
        clickButton(dialog, QStringLiteral("cmdImport"));
        QTRY_COMPARE(f.box("t1"), QStringLiteral("Kanelbullar & kaffe"));
        QCOMPARE(f.fakes.prompter.messages.size(), 2);
    }
};

QTEST_MAIN(WebImportDialogTest)
#include "web_import_dialog_test.moc"
