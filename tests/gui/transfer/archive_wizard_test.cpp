#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QtTest>

#include <string>

#include "core/recipes/html_page.h"
#include "gui/transfer/archive_wizard.h"
#include "gui/transfer/progress_window.h"
#include "support/gui_fixture.h"
#include "support/gui_helpers.h"
#include "support/records.h"

using namespace culvora;
using culvora::testing::child;
using culvora::testing::clickButton;
using culvora::testing::cookbook;
using culvora::testing::crlf;
using culvora::testing::infoShape;
using culvora::testing::messageShape;

namespace {

const std::string kBook = cookbook({
    {.name = "Pancakes",
     .servings = "4",
     .time = "20",
     .ingredients = {"3 dl milk"},
     .steps = {"Fry."},
     .type = "Desserts"},
    {.name = "Apple pie",
     .servings = "8",
     .time = "50",
     .ingredients = {"6 apples"},
     .steps = {"Bake."},
     .type = "Desserts"},
});

struct Wizard : testing::GuiFixture {
    Wizard()
    {
        writeDefaultFiles();
        dir.write("BOOK1.TXT", kBook);
        start(true);
        main().findChild<QAction*>(QStringLiteral("mnuOptionsGenerateArchive"))->trigger();
        wizard = windows().find<gui::ArchiveWizard>(QStringLiteral("frmGenWiz"));
    }

    template <class T>
    T* control(const char* name)
    {
        return child<T>(wizard, QLatin1String(name));
    }
    QString stepText() { return control<QLabel>("Label1")->text(); }
    // Previous, Next, Done: enabled or not.
    QString buttons()
    {
        QString shown;
        for (const char* name : {"Command2", "Command1", "Command3"}) {
            shown += control<QPushButton>(name)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        }
        return shown;
    }
    std::string page(const char* name) { return dir.read(std::string("html/") + name); }

    gui::ArchiveWizard* wizard = nullptr;
};

}  // namespace

class ArchiveWizardTest : public QObject {
    Q_OBJECT
private slots:
    void opensOnStepOneWithAWhitePage()
    {
        Wizard w;
        QVERIFY(w.wizard);
        QCOMPARE(w.wizard->windowTitle(), QStringLiteral("Archive Wizard"));
        QCOMPARE(w.stepText(), QStringLiteral("Step 1 of 3"));
        QCOMPARE(w.control<QProgressBar>("bar")->value(), 1);
        QCOMPARE(w.wizard->frontPanel(), w.control<QWidget>("step1"));
        QCOMPARE(w.buttons(), QStringLiteral("011"));
        QCOMPARE(w.control<QPushButton>("Command1")->text(), QStringLiteral("Next >"));
        QCOMPARE(w.control<QPushButton>("Command2")->text(), QStringLiteral("< Previous"));
        QCOMPARE(w.control<QPushButton>("Command3")->text(), QStringLiteral("Done"));
        QVERIFY(w.control<QRadioButton>("Option1")->isChecked());
        QCOMPARE(w.control<QRadioButton>("Option2")->text(), QStringLiteral("No frames"));
        QVERIFY(w.control<QRadioButton>("Option4")->isChecked());
        QCOMPARE(w.control<QRadioButton>("Option3")->text(), QStringLiteral("Image"));
        // Black on black cannot be read: the sliders start at white.
        for (const char* slider : {"red2", "green2", "blue2"}) {
            QCOMPARE(w.control<QSlider>(slider)->minimum(), 0);
            QCOMPARE(w.control<QSlider>(slider)->maximum(), 255);
            QCOMPARE(w.control<QSlider>(slider)->value(), 255);
        }
        QCOMPARE(w.control<QWidget>("Picture2")->palette().color(QPalette::Window),
                 QColor(Qt::white));
    }

    void nextAndPreviousWalkTheSteps()
    {
        Wizard w;
        clickButton(w.wizard, QStringLiteral("Command1"));
        QCOMPARE(w.stepText(), QStringLiteral("Step 2 of 3"));
        QCOMPARE(w.control<QProgressBar>("bar")->value(), 2);
        QCOMPARE(w.wizard->frontPanel(), w.control<QWidget>("step2"));
        QVERIFY(w.control<QWidget>("red2")->isVisible());
        QCOMPARE(w.buttons(), QStringLiteral("101"));

        clickButton(w.wizard, QStringLiteral("Command2"));
        QCOMPARE(w.stepText(), QStringLiteral("Step 1 of 3"));
        QCOMPARE(w.control<QProgressBar>("bar")->value(), 1);
        QCOMPARE(w.wizard->frontPanel(), w.control<QWidget>("step1"));
        QCOMPARE(w.buttons(), QStringLiteral("011"));
    }

    void thePicturesChooseTheLayout()
    {
        Wizard w;
        QTest::mouseClick(w.control<QLabel>("Image3"), Qt::LeftButton);
        QVERIFY(w.control<QRadioButton>("Option2")->isChecked());
        QTest::mouseClick(w.control<QLabel>("Image2"), Qt::LeftButton);
        QVERIFY(w.control<QRadioButton>("Option1")->isChecked());
    }

    void theSlidersColourThePreviewAndThePages()
    {
        Wizard w;
        clickButton(w.wizard, QStringLiteral("Command1"));
        w.control<QRadioButton>("Option3")->setChecked(true);
        w.control<QSlider>("red2")->setValue(0);
        w.control<QSlider>("green2")->setValue(128);
        w.control<QSlider>("blue2")->setValue(255);
        QCOMPARE(w.control<QWidget>("Picture2")->palette().color(QPalette::Window),
                 QColor(0, 128, 255));
        // Moving a slider means a colour is wanted.
        QVERIFY(w.control<QRadioButton>("Option4")->isChecked());

        clickButton(w.wizard, QStringLiteral("Command3"));
        QVERIFY(w.fakes.prompter.messages.isEmpty());
        // Frames: the frameset, its empty right page and the list on the left.
        QVERIFY(w.page("index.html").find("<frameset") != std::string::npos);
        QCOMPARE(w.page("recindex.html"),
                 crlf({"<html>", "<head>", recipes::kCharsetMeta, "</head>",
                       "<BODY BGCOLOR=\"0080FF\">", "</body>", "</html>"}));
        const std::string list = w.page("left.html");
        QVERIFY(list.find("<a href=\"1000.html\" target=\"Recindex\">\r\nApple pie") !=
                std::string::npos);
        QVERIFY(list.find("<a href=\"1001.html\" target=\"Recindex\">\r\nPancakes") !=
                std::string::npos);
        QVERIFY(w.page("1000.html").find("<BODY BGCOLOR=\"0080FF\">\r\n") != std::string::npos);
        QVERIFY(w.page("1000.html").find("Apple pie") != std::string::npos);
        QVERIFY(w.page("1001.html").find("Pancakes") != std::string::npos);
    }

    void withoutFramesTheListIsTheIndexAndAnImageCanBeLeftEmpty()
    {
        Wizard w;
        w.control<QRadioButton>("Option2")->setChecked(true);
        clickButton(w.wizard, QStringLiteral("Command1"));
        w.control<QRadioButton>("Option3")->setChecked(true);
        clickButton(w.wizard, QStringLiteral("Command3"));
        const std::string index = w.page("index.html");
        QVERIFY(index.find("<frameset") == std::string::npos);
        QVERIFY(index.find("<BODY BACKGROUND=\"\">\r\n") != std::string::npos);
        QVERIFY(index.find("<a href=\"1000.html\" target=\"_new\">") != std::string::npos);
        QVERIFY(!w.dir.exists("html/left.html"));
        QVERIFY(w.page("1001.html").find("<BODY BACKGROUND=\"\">\r\n") != std::string::npos);
    }

    void theBrowseButtonPicksABackgroundPicture()
    {
        Wizard w;
        clickButton(w.wizard, QStringLiteral("Command1"));
        clickButton(w.wizard, QStringLiteral("Command4"));  // cancelled
        QVERIFY(w.control<QLineEdit>("Text2")->text().isEmpty());
        QVERIFY(w.control<QRadioButton>("Option4")->isChecked());

        w.fakes.prompter.fileNames = {QStringLiteral("/home/cook/Pictures/linen.jpg")};
        clickButton(w.wizard, QStringLiteral("Command4"));
        QCOMPARE(w.fakes.prompter.fileDialogTitles, (QStringList{"Background", "Background"}));
        QCOMPARE(w.control<QLineEdit>("Text2")->text(),
                 QStringLiteral("/home/cook/Pictures/linen.jpg"));
        QVERIFY(w.control<QRadioButton>("Option3")->isChecked());
        clickButton(w.wizard, QStringLiteral("Command3"));
        QVERIFY(
            w.page("1000.html").find("<BODY BACKGROUND=\"/home/cook/Pictures/linen.jpg\">\r\n") !=
            std::string::npos);
    }

    void doneShowsTheProgressAndEndsOnStepThree()
    {
        Wizard w;
        // The progress window as it comes and goes, and the percentages its bar shows.
        bool progressSeen = false;
        bool progressOnTop = false;
        QList<int> percents;
        auto watch = QObject::connect(&w.windows(), &gui::WindowRegistry::windowsChanged, [&] {
            auto* progress = w.windows().find<gui::ProgressWindow>(QStringLiteral("frmProgress"));
            if (!progress || progressSeen) return;
            progressSeen = true;
            progressOnTop =
                w.windows().area()->activeSubWindow() == w.windows().subWindowOf(progress);
            auto* bar = child<QProgressBar>(progress, QStringLiteral("pb"));
            QObject::connect(bar, &QProgressBar::valueChanged,
                             [&percents](int v) { percents << v; });
        });
        clickButton(w.wizard, QStringLiteral("Command3"));
        QObject::disconnect(watch);

        QVERIFY(progressSeen);
        QVERIFY(progressOnTop);
        QCOMPARE(percents, (QList<int>{50, 100}));
        QVERIFY(!w.windows().isOpen(QStringLiteral("frmProgress")));
        QCOMPARE(w.stepText(), QStringLiteral("Done!"));
        QCOMPARE(w.control<QProgressBar>("bar")->value(), 3);
        QCOMPARE(w.wizard->frontPanel(), w.control<QWidget>("step3"));
        QCOMPARE(w.buttons(), QStringLiteral("000"));
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(w.dir.exists("html/1001.html"));
    }

    // Records without a name get no page, and the wizard says how many there were.
    void recordsWithoutANameAreCounted()
    {
        Wizard w;
        w.dir.write("BOOK1.TXT", kBook + crlf({"[NAMN]", "", "[NAMN]", "[TYP]"}));
        clickButton(w.wizard, QStringLiteral("Command3"));
        QCOMPARE(w.wizard->frontPanel(), w.control<QWidget>("step3"));
        QCOMPARE(w.fakes.prompter.messages.size(), 1);
        QCOMPARE(messageShape(w.fakes.prompter.last()),
                 infoShape("Archive Wizard", "2 records without a name got no page.",
                           "Information"));
        QVERIFY(w.dir.exists("html/1001.html"));
        QVERIFY(!w.dir.exists("html/1002.html"));
    }

    void lookAtTheResultsOpensTheIndexOrSaysWhereItIs()
    {
        Wizard w;
        clickButton(w.wizard, QStringLiteral("Command3"));
        const QString folder = QString::fromStdString((w.dir.path() / "html").string());
        clickButton(w.wizard, QStringLiteral("Command5"));
        QCOMPARE(w.fakes.opener.documents, QStringList{folder + QStringLiteral("/index.html")});
        QVERIFY(w.fakes.prompter.messages.isEmpty());

        w.fakes.opener.opens = false;  // no web browser
        clickButton(w.wizard, QStringLiteral("Command5"));
        QCOMPARE(w.fakes.prompter.messages.size(), 1);
        QVERIFY2(w.fakes.prompter.last().text.contains(folder),
                 qPrintable(w.fakes.prompter.last().text));
    }

    void aFailureIsShownAndTheWizardStaysOnItsStep()
    {
        Wizard w;
        w.dir.write("html", "a file where the folder should be");
        clickButton(w.wizard, QStringLiteral("Command1"));
        clickButton(w.wizard, QStringLiteral("Command3"));
        QCOMPARE(w.fakes.prompter.messages.size(), 1);
        QCOMPARE(w.fakes.prompter.last().title, QStringLiteral("Error"));
        QVERIFY(w.fakes.prompter.last().text.contains(QStringLiteral("not a folder")));
        QCOMPARE(w.stepText(), QStringLiteral("Step 2 of 3"));
        QCOMPARE(w.control<QProgressBar>("bar")->value(), 2);
        QCOMPARE(w.wizard->frontPanel(), w.control<QWidget>("step2"));
        QCOMPARE(w.buttons(), QStringLiteral("101"));
        QVERIFY(!w.windows().isOpen(QStringLiteral("frmProgress")));
    }
};

QTEST_MAIN(ArchiveWizardTest)
#include "archive_wizard_test.moc"
