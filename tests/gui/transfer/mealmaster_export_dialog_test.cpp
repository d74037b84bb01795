// "Export to Meal-Master...": the recipes of the current cookbook ticked in a list, the
// encoding, the save dialog, and the file our import reads back.

#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "core/transfer/mealmaster.h"
#include "gui/transfer/mealmaster_export_dialog.h"
#include "support/gui_fixture.h"
#include "support/gui_helpers.h"
#include "support/records.h"

using namespace culvora;
using culvora::testing::child;
using culvora::testing::clickButton;
using culvora::testing::cookbook;
using culvora::testing::messageShape;

namespace {

struct Export : testing::GuiFixture {
    Export()
    {
        writeDefaultFiles();
        dir.write("BOOK1.TXT", cookbook({
                                   {.name = "Stew", .ingredients = {"500 g beef"}},
                                   {.name = "\xC4ppelkaka", .ingredients = {"3 \xE4pplen"}},
                                   {.name = "Bread", .ingredients = {"5 dl flour"}},
                               }));
        state.currentCookbookFile = "BOOK1.TXT";
        start(true);
        main().findChild<QAction*>(QStringLiteral("mnuExportMealMaster"))->trigger();
        dialog = windows().find(gui::kExportMealMasterForm);
    }
    QListWidget* list() { return child<QListWidget>(dialog, QStringLiteral("lstRecipes")); }
    QStringList shown()
    {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i) out << list()->item(i)->text();
        return out;
    }
    std::vector<std::string> namesIn(const char* file)
    {
        std::vector<std::string> names;
        for (const auto& r : transfer::parseMealMaster(dir.read(file)).recipes) {
            names.push_back(r.name);
        }
        return names;
    }
    QWidget* dialog = nullptr;
};

}  // namespace

class MealMasterExportDialogTest : public QObject {
    Q_OBJECT
private slots:
    void everyTickedRecipeGoesIntoTheChosenFile()
    {
        Export f;
        QVERIFY(f.dialog);
        // Alphabetical, Ä after the other letters; all ticked; code page 850 first.
        QCOMPARE(f.shown(), (QStringList{"Bread", "Stew", "Äppelkaka"}));
        for (int i = 0; i < f.list()->count(); ++i) {
            QCOMPARE(f.list()->item(i)->checkState(), Qt::Checked);
        }
        auto* encoding = child<QComboBox>(f.dialog, QStringLiteral("cboEncoding"));
        QCOMPARE(encoding->currentText(), QStringLiteral("DOS (code page 850)"));
        QVERIFY(child<QPushButton>(f.dialog, QStringLiteral("cmdExport"))->isDefault());

        f.list()->item(0)->setCheckState(Qt::Unchecked);  // Bread stays home
        f.fakes.prompter.fileNames = {QString::fromStdString(f.dir.file("out.mmf").string())};
        clickButton(f.dialog, QStringLiteral("cmdExport"));
        QCOMPARE(f.fakes.prompter.proposedNames, QStringList{"BOOK1.mmf"});
        // In the cookbook's order, in code page 850 ("Ä" is 0x8E there).
        QCOMPARE(f.namesIn("out.mmf"), (std::vector<std::string>{"Stew", "\xC4ppelkaka"}));
        QVERIFY(f.dir.read("out.mmf").find("Title: \x8E"
                                           "ppelkaka") != std::string::npos);
        QCOMPARE(messageShape(f.fakes.prompter.last()),
                 QStringLiteral("[Export to Meal-Master] Information Ok default Ok: "
                                "2 recipes exported."));
        QVERIFY(!f.windows().isOpen(gui::kExportMealMasterForm));
    }

    void utf8NothingTickedAndACancelledSaveDialog()
    {
        Export f;
        clickButton(f.dialog, QStringLiteral("cmdNone"));
        clickButton(f.dialog, QStringLiteral("cmdExport"));
        QCOMPARE(messageShape(f.fakes.prompter.last()),
                 QStringLiteral("[Export to Meal-Master] Information Ok default Ok: "
                                "Tick the recipes to export."));
        QVERIFY(f.fakes.prompter.proposedNames.isEmpty());

        clickButton(f.dialog, QStringLiteral("cmdAll"));
        clickButton(f.dialog, QStringLiteral("cmdExport"));  // the save dialog is cancelled
        QCOMPARE(f.fakes.prompter.proposedNames.size(), 1);
        QVERIFY(f.windows().isOpen(gui::kExportMealMasterForm));

        child<QComboBox>(f.dialog, QStringLiteral("cboEncoding"))->setCurrentIndex(1);
        f.fakes.prompter.fileNames = {QString::fromStdString(f.dir.file("u.mmf").string())};
        clickButton(f.dialog, QStringLiteral("cmdExport"));
        QVERIFY(f.dir.read("u.mmf").find("Title: \xC3\x84ppelkaka") != std::string::npos);
        QCOMPARE(f.namesIn("u.mmf"), (std::vector<std::string>{"Stew", "\xC4ppelkaka", "Bread"}));
    }
};

QTEST_MAIN(MealMasterExportDialogTest)
#include "mealmaster_export_dialog_test.moc"
