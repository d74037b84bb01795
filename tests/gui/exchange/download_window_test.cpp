#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>

#include "gui/app/window_names.h"
#include "gui/exchange/download_window.h"
#include "gui/exchange/exchange_windows.h"
#include "gui/search/new_ingredients_dialog.h"
#include "support/fake_ftp_factory.h"
#include "support/gui_fixture.h"
#include "support/gui_helpers.h"
#include "support/records.h"

using namespace culvora;
using culvora::testing::child;
using culvora::testing::crlf;
using culvora::testing::infoShape;
using culvora::testing::messageShape;
using culvora::testing::record;
using gui::Answer;
using gui::DownloadWindow;

namespace {

const std::string kNetwork =
    crlf({"<", "Welcome to the recipe exchange!", "Be kind to each other.", ">", "#!Soups|soups",
          "##Cold soups|coldsoups", "# Bread|bread", "##Warm soups|warmsoups", "a comment line",
          "#!Cakes|cakes", "/end", "# After the end|after"});

const std::string kSoupIndex =
    crlf({"The soups of the exchange", "/begin", "Pea soup|20261210143005",
          "Pancakes|20240101080000", "Short|2024", "/end", "Ignored|x"});

const std::string kPancakes =
    record({.name = "Pancakes",
            .time = "20",
            .ingredients = {"3 dl milk", "2 eggs", "1 tsk salt (optional)"},
            .steps = {"Whisk and fry."},
            .type = "Desserts"});
const std::string kPeaSoup = record({.name = "Pea soup",
                                     .servings = "2",
                                     .time = "45",
                                     .ingredients = {"4 dl peas"},
                                     .steps = {"Boil."}});
// Its instructions name the pea soup: that is no recipe of that name.
const std::string kWaffles = record({.name = "Waffles",
                                     .time = "15",
                                     .ingredients = {"3 dl flour"},
                                     .steps = {"Serve after the Pea soup."},
                                     .type = "Desserts"});

const QString kClose = QStringLiteral("Close Connection and Session?");

// The tree as indented lines, two blanks a level.
QStringList treeLines(QTreeWidget* tree)
{
    QStringList lines;
    std::function<void(QTreeWidgetItem*, int)> walk = [&](QTreeWidgetItem* item, int depth) {
        lines << QString(depth * 2, QLatin1Char(' ')) + item->text(0);
        for (int i = 0; i < item->childCount(); ++i) walk(item->child(i), depth + 1);
    };
    for (int i = 0; i < tree->topLevelItemCount(); ++i) walk(tree->topLevelItem(i), 0);
    return lines;
}

// "name | date/time" for every recipe listed.
QStringList recipeLines(QTreeWidget* list)
{
    QStringList lines;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        lines << list->topLevelItem(i)->text(0) + QStringLiteral(" | ") +
                     list->topLevelItem(i)->text(1);
    }
    return lines;
}

// Every file of the data folder with its bytes; the folder's lock file holds nothing.
std::map<std::string, std::string> dataFiles(const std::filesystem::path& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        const std::string name = std::filesystem::relative(entry.path(), folder).string();
        if (name != "culvora.lock" && entry.is_regular_file()) {
            files[name] = testing::readBytes(entry.path());
        }
    }
    return files;
}

QStringList shapes(const QList<gui::Message>& messages)
{
    QStringList all;
    for (const auto& m : messages) all << messageShape(m);
    return all;
}

QString sessionBox(const QString& text)
{
    return infoShape(QStringLiteral("Culvora"), text);
}
QString closeQuestion(const QString& operation, int code)
{
    return QStringLiteral("[Culvora] None YesNo default Yes: %1 Err: %2\r\n%3")
        .arg(operation)
        .arg(code)
        .arg(kClose);
}

// Two cookbooks ("Standard", "Desserts"), a Fridge list, and an exchange with the soups.
struct Exchange : testing::GuiFixture {
    explicit Exchange(const std::string& network = kNetwork)
    {
        writeDefaultFiles();
        dir.write("bocker.txt", crlf({"Standard", "BOOK1.TXT", "Desserts", "BOOK2.TXT"}));
        dir.write("BOOK2.TXT", kWaffles);
        dir.write("sok.txt", crlf({"milk", "salt", "flour"}));
        server->folders["/tavendi"]["network.txt"] = network;
        server->folders["/tavendi/soups"]["netindex.txt"] = kSoupIndex;
        server->folders["/tavendi/soups"]["20240101080000.tvx"] = kPancakes;
        server->folders["/tavendi/soups"]["20261210143005.tvx"] = kPeaSoup;
        server->folders["/tavendi/bread"] = {};
        adjustWindows = [this](gui::WindowRegistry&) {
            gui::registerExchangeWindows(app(), testing::fakeClients(server));
        };
        start(true);
    }

    DownloadWindow* open()
    {
        window = qobject_cast<DownloadWindow*>(windows().open(gui::forms::kDownload));
        if (!window) return nullptr;
        tree = window->findChild<QTreeWidget*>(QStringLiteral("tree"));
        list = window->findChild<QTreeWidget*>(QStringLiteral("list"));
        statuses = QStringList{window->statusText()};
        QObject::connect(window, &DownloadWindow::statusChanged,
                         [this](const QString& text) { statuses << text; });
        return window;
    }
    [[nodiscard]] bool settle()
    {
        return QTest::qWaitFor([this] { return !window->busy(); }, 5000);
    }
    QTreeWidgetItem* node(const QString& text)
    {
        const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.front();
    }
    [[nodiscard]] bool chooseCategory(const QString& text)
    {
        statuses.clear();
        window->chooseCategory(node(text));
        return settle();
    }
    // A double click on the recipe, the chooser's answers, and Timer1 run to its end.
    [[nodiscard]] bool download(const QString& recipe, const QString& book, bool tick)
    {
        const auto found = list->findItems(recipe, Qt::MatchExactly);
        if (found.isEmpty()) return false;
        list->setCurrentItem(found.front());
        window->chooseRecipe(found.front());
        QWidget* chooser = windows().find(gui::forms::kDestination);
        if (!chooser) return false;
        auto* books = chooser->findChild<QComboBox*>(QStringLiteral("Combo1"));
        books->setCurrentIndex(books->findText(book));
        chooser->findChild<QCheckBox*>(QStringLiteral("Check1"))->setChecked(tick);
        statuses.clear();
        testing::clickButton(chooser, QStringLiteral("Command1"));
        if (!window->downloadTimer()->isActive()) return false;
        return QTest::qWaitFor([this] { return !window->downloadTimer()->isActive(); }, 2000) &&
               settle();
    }
    QString messagesText() { return window->findChild<QLabel*>(QStringLiteral("Label8"))->text(); }
    QStringList newIngredients()
    {
        auto* dialog = windows().find<gui::NewIngredientsDialog>(gui::forms::kNewIngredients);
        if (!dialog) return {QStringLiteral("(no dialog)")};
        QStringList words;
        for (const auto& word : dialog->words()) words << QString::fromLatin1(word.c_str());
        return words;
    }
    gui::Message last() { return fakes.prompter.last(); }

    std::shared_ptr<testing::FakeFtpServer> server = std::make_shared<testing::FakeFtpServer>();
    DownloadWindow* window = nullptr;
    QTreeWidget* tree = nullptr;
    QTreeWidget* list = nullptr;
    QStringList statuses;
};

}  // namespace

class DownloadWindowTest : public QObject {
    Q_OBJECT
private slots:
    void opensFromTheWelcomeScreenAndDrawsTheCategories()
    {
        Exchange f;
        QVERIFY(f.open());
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Download recipes"));
        QCOMPARE(f.messagesText(), QStringLiteral("Please wait while connecting ..."));
        QVERIFY(f.settle());
        QCOMPARE(f.statuses, (QStringList{"Ready", "Connecting to network...", "Reading data...",
                                          "Drawing tree...", "Ready."}));
        QCOMPARE(f.window->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(f.server->callsMade(),
                 (std::vector<std::string>{"connect 127.0.0.1:2121 culvora/wobak", "list /",
                                           "cd /tavendi", "get /tavendi network.txt"}));

        auto* toolbar = child<QToolBar>(f.window, QStringLiteral("Toolbar1"));
        QCOMPARE(toolbar->actions().size(), 1);
        QCOMPARE(toolbar->actions().front()->text(), QStringLiteral("  Close  "));
        QCOMPARE(child<QLabel>(f.window, QStringLiteral("Label7"))->text(),
                 QStringLiteral("Messages"));
        QVERIFY(child<QLabel>(f.window, QStringLiteral("Label7"))->font().pointSizeF() <
                f.window->font().pointSizeF());
        QCOMPARE(child<QLabel>(f.window, QStringLiteral("Label1"))->text(),
                 QStringLiteral("Directories"));
        QCOMPARE(child<QLabel>(f.window, QStringLiteral("Label2"))->text(),
                 QStringLiteral("Available recipes"));
        QCOMPARE(f.list->headerItem()->text(0), QStringLiteral("Recipe"));
        QCOMPARE(f.list->headerItem()->text(1), QStringLiteral("Date / Time"));

        // The message block: every line after "<", the ">" line included, one a line.
        QCOMPARE(f.messagesText(),
                 QStringLiteral("Welcome to the recipe exchange!\nBe kind to each other.\n>"));
        // "##" entries hang below the last "#!" entry, a "# " entry between them or not.
        QCOMPARE(treeLines(f.tree), (QStringList{"Network", "  Soups", "    Cold soups",
                                                 "    Warm soups", "  Bread", "  Cakes"}));
        QTreeWidgetItem* root = f.tree->topLevelItem(0);
        QCOMPARE(root->data(0, Qt::UserRole).toString(), QStringLiteral("Root"));
        QCOMPARE(root->data(0, Qt::UserRole + 1).toString(), QStringLiteral("root"));
        QVERIFY(root->isExpanded());
        QCOMPARE(f.node(QStringLiteral("Bread"))->data(0, Qt::UserRole).toInt(), 3);
        // The list was read from memory: nothing of it is in the data folder.
        QVERIFY(!f.dir.exists("network.txt"));

        // A double click on the root does nothing.
        f.window->chooseCategory(root);
        QVERIFY(!f.window->busy());
    }

    void aCategoryListThatStopsEarlyKeepsWhatCameBefore_data()
    {
        QTest::addColumn<QString>("network");
        QTest::addColumn<QStringList>("tree");
        QTest::addColumn<QString>("messages");
        QTest::addColumn<QString>("status");
        QTest::newRow("first line is an entry") << "# Skipped|skipped\r\n# Bread|bread\r\n/end\r\n"
                                                << QStringList{"Network", "  Bread"} << ""
                                                << "Ready.";
        QTest::newRow("a ## before any #!")
            << "<\r\nHello\r\n>\r\n# Bread|bread\r\n##Orphan|orphan\r\n#!Soups|soups\r\n/end\r\n"
            << QStringList{"Network", "  Bread"}
            << "Hello\n>\n\nNot every category could be shown: the list from the exchange stops "
               "early (the subcategory \"##Orphan|orphan\" comes before any category)."
            << "Drawing tree...";
        QTest::newRow("a line without |")
            << "<\r\n>\r\n#!Soups|soups\r\n##Cold\r\n/end\r\n"
            << QStringList{"Network", "  Soups"}
            << ">\n\nNot every category could be shown: the list from the exchange stops early "
               "(the line \"##Cold\" has no \"|\")."
            << "Drawing tree...";
        QTest::newRow("no /end") << "x\r\n# Bread|bread\r\n"
                                 << QStringList{"Network", "  Bread"}
                                 << "Not every category could be shown: the list from the "
                                    "exchange stops early (the list ends before \"/end\")."
                                 << "Drawing tree...";
    }
    void aCategoryListThatStopsEarlyKeepsWhatCameBefore()
    {
        QFETCH(QString, network);
        QFETCH(QStringList, tree);
        QFETCH(QString, messages);
        QFETCH(QString, status);
        Exchange f(network.toStdString());
        QVERIFY(f.open());
        QVERIFY(f.settle());
        QCOMPARE(treeLines(f.tree), tree);
        QCOMPARE(f.messagesText(), messages);
        QCOMPARE(f.window->statusText(), status);
    }

    void aHundredAndFirstCategoryStopsTheTree()
    {
        std::string network = "x\r\n";
        for (int i = 1; i <= 101; ++i) {
            network += "# Category " + std::to_string(i) + "|c" + std::to_string(i) + "\r\n";
        }
        Exchange f(network + "/end\r\n");
        QVERIFY(f.open());
        QVERIFY(f.settle());
        QCOMPARE(f.tree->topLevelItem(0)->childCount(), 100);
        QCOMPARE(f.tree->topLevelItem(0)->child(99)->text(0), QStringLiteral("Category 100"));
        QCOMPARE(f.window->statusText(), QStringLiteral("Drawing tree..."));
        QVERIFY(f.messagesText().contains(QStringLiteral("more than 100 categories")));
    }

    void aCategoryListsItsRecipesWithTheirDateAndTime()
    {
        Exchange f;
        QVERIFY(f.open());
        QVERIFY(f.settle());
        QTreeWidgetItem* soups = f.node(QStringLiteral("Soups"));
        // A real double click on the category; its subcategories stay in sight.
        f.statuses.clear();
        const QRect at = f.tree->visualItemRect(soups);
        QTest::mouseClick(f.tree->viewport(), Qt::LeftButton, {}, at.center());
        QTest::mouseDClick(f.tree->viewport(), Qt::LeftButton, {}, at.center());
        QVERIFY(f.window->busy());
        QVERIFY(f.settle());
        QCOMPARE(f.statuses, (QStringList{"Downloading data...", "Reading data...", "Ready."}));
        QVERIFY(soups->isExpanded());
        auto image = [&](const char* node) {
            return f.node(QLatin1String(node))->data(0, Qt::UserRole + 2).toInt();
        };
        QCOMPARE(image("Network"), 3);
        QCOMPARE(image("Soups"), 1);
        for (const char* other : {"Cold soups", "Warm soups", "Bread", "Cakes"}) {
            QCOMPARE(image(other), 2);
        }
        QCOMPARE(recipeLines(f.list),
                 (QStringList{"Pea soup | 2026-12-10  14:30:05", "Pancakes | 2024-01-01  08:00:00",
                              "Short | 2024--  ::"}));
        QCOMPARE(f.list->topLevelItem(2)->data(0, Qt::UserRole).toByteArray(), QByteArray("2024"));
        QCOMPARE(f.window->currentFolder(), std::string("soups"));
        // The current folder is listed, then the category's index fetched into memory.
        const auto calls = f.server->callsMade();
        QCOMPARE((std::vector<std::string>(calls.end() - 3, calls.end())),
                 (std::vector<std::string>{"list /tavendi", "cd /tavendi/soups",
                                           "get /tavendi/soups netindex.txt"}));
        QVERIFY(!f.dir.exists("netindex.txt"));

        // Another category empties the list first; an index that stops early keeps what came
        // before it.
        f.server->folders["/tavendi/cakes"]["netindex.txt"] =
            crlf({"/begin", "Sponge cake|20250505120000", "broken line", "Tart|20250505120001"});
        QVERIFY(f.chooseCategory(QStringLiteral("Cakes")));
        QCOMPARE(recipeLines(f.list), QStringList{"Sponge cake | 2025-05-05  12:00:00"});
        QCOMPARE(f.statuses, (QStringList{"Downloading data...", "Reading data..."}));
        QVERIFY(f.messagesText().endsWith(
            QStringLiteral("\n\nNot every recipe of this category could be shown: its list on "
                           "the exchange stops early.")));
        QVERIFY(!f.dir.exists("netindex.txt"));
        QCOMPARE(image("Soups"), 2);
        QCOMPARE(image("Cakes"), 1);
        QVERIFY(f.fakes.prompter.messages.isEmpty());
    }

    void aRecipeIsFetchedFromTheFolderItWasListedFrom()
    {
        // Soups, then at once Cakes, which has no index: the soups arrive after the list was
        // emptied for the cakes and stay when the cakes' fetch fails.
        Exchange f;
        f.server->folders["/tavendi/cakes"] = {};
        QVERIFY(f.open());
        QVERIFY(f.settle());
        f.fakes.prompter.answers = {Answer::Ok, Answer::No};
        f.window->chooseCategory(f.node(QStringLiteral("Soups")));
        f.window->chooseCategory(f.node(QStringLiteral("Cakes")));
        QVERIFY(f.settle());
        QCOMPARE(f.window->currentFolder(), std::string("cakes"));
        QCOMPARE(f.list->topLevelItemCount(), 3);
        QVERIFY(f.download(QStringLiteral("Pancakes"), QStringLiteral("Desserts"), false));
        QCOMPARE(f.server->callsMade().back(),
                 std::string("get /tavendi/soups 20240101080000.tvx"));
        QCOMPARE(f.dir.read("BOOK2.TXT"), kWaffles + kPancakes);
    }

    void aFolderOrStemThatIsNotAPlainNameIsRefused()
    {
        Exchange f(crlf({"x", "# Sneaky|../etc", "# Soups|soups", "/end"}));
        f.server->folders["/tavendi/soups"]["netindex.txt"] =
            crlf({"/begin", "Pancakes|20240101080000", "Evil|../../../tmp/evil"});
        QVERIFY(f.open());
        QVERIFY(f.settle());
        const auto before = f.server->callsMade();
        f.window->chooseCategory(f.node(QStringLiteral("Sneaky")));
        QVERIFY(!f.window->busy());
        QCOMPARE(shapes(f.fakes.prompter.messages),
                 QStringList{infoShape(QStringLiteral("Download"),
                                       QStringLiteral("The server named a category folder "
                                                      "\"../etc\" that is not a plain name, so "
                                                      "nothing was fetched."),
                                       "Exclamation")});
        QCOMPARE(f.server->callsMade(), before);

        QVERIFY(f.chooseCategory(QStringLiteral("Soups")));
        f.fakes.prompter.messages.clear();
        const auto listed = f.server->callsMade();
        QVERIFY(f.download(QStringLiteral("Evil"), QStringLiteral("Desserts"), false));
        QCOMPARE(shapes(f.fakes.prompter.messages),
                 QStringList{infoShape(QStringLiteral("Download"),
                                       QStringLiteral("The server named a recipe file "
                                                      "\"../../../tmp/evil\" that is not a plain "
                                                      "name, so nothing was fetched."),
                                       "Exclamation")});
        QCOMPARE(f.server->callsMade(), listed);
        QCOMPARE(f.dir.read("BOOK2.TXT"), kWaffles);
    }

    void aRecipeGoesIntoTheChosenCookbook()
    {
        Exchange f;
        // The cookbook ends with a lone [NAMN]: the recipe takes it, one [NAMN] per recipe.
        f.dir.write("BOOK2.TXT", kWaffles + "[NAMN]\r\n");
        QVERIFY(f.open());
        QVERIFY(f.settle());
        QVERIFY(f.chooseCategory(QStringLiteral("Soups")));
        QVERIFY(f.download(QStringLiteral("Pea soup"), QStringLiteral("Desserts"), false));
        QCOMPARE(f.statuses, (QStringList{"Downloading recipe...", "Done."}));
        // A name that stands only in another recipe's text is free: no question.
        QVERIFY(f.fakes.prompter.inputPrompts.isEmpty());
        QCOMPARE(f.dir.read("BOOK2.TXT"), kWaffles + kPeaSoup);
        QCOMPARE(f.dir.read("BOOK1.TXT"), std::string());
        QCOMPARE(f.state.currentCookbookFile, std::string("BOOK1.TXT"));
        QVERIFY(!f.dir.exists("20261210143005.tvx"));
        QCOMPARE(messageShape(f.last()),
                 infoShape(QStringLiteral("Download"), QStringLiteral("Download successful!")));
        const auto calls = f.server->callsMade();
        QCOMPARE(calls.back(), std::string("get /tavendi/soups 20261210143005.tvx"));
    }

    void aDownloadChangesNoFileButTheChosenCookbook()
    {
        // The cook has a cookbook MINE.tvx, and files an earlier version fetched into the data
        // folder; the server lists a recipe whose exchange file is MINE.tvx.
        Exchange f;
        f.dir.write("bocker.txt",
                    crlf({"Standard", "BOOK1.TXT", "Desserts", "BOOK2.TXT", "Mine", "MINE.tvx"}));
        f.dir.write("MINE.tvx", kPeaSoup);
        f.dir.write("network.txt", crlf({"x", "# Old|old", "/end"}));
        f.dir.write("netindex.txt", crlf({"/begin", "Old|20200101000000"}));
        f.dir.write("20240101080000.tvx", kWaffles);
        f.server->folders["/tavendi/soups"]["netindex.txt"] =
            crlf({"/begin", "Pancakes|MINE", "/end"});
        f.server->folders["/tavendi/soups"]["MINE.tvx"] = kPancakes;
        const auto before = dataFiles(f.dir.path());

        QVERIFY(f.open());
        QVERIFY(f.settle());
        QCOMPARE(treeLines(f.tree), (QStringList{"Network", "  Soups", "    Cold soups",
                                                 "    Warm soups", "  Bread", "  Cakes"}));
        QVERIFY(f.chooseCategory(QStringLiteral("Soups")));
        QCOMPARE(recipeLines(f.list), QStringList{"Pancakes | MINE--  ::"});
        QVERIFY(f.download(QStringLiteral("Pancakes"), QStringLiteral("Desserts"), false));
        QCOMPARE(messageShape(f.last()),
                 infoShape(QStringLiteral("Download"), QStringLiteral("Download successful!")));

        auto expected = before;
        expected["BOOK2.TXT"] = kWaffles + kPancakes;
        QVERIFY(dataFiles(f.dir.path()) == expected);
        QCOMPARE(f.dir.read("MINE.tvx"), kPeaSoup);
    }

    void aTakenNameIsAskedForAgainUntilFreeOrCancelled()
    {
        Exchange f;
        f.dir.write("BOOK2.TXT", kPancakes + kWaffles);
        QVERIFY(f.open());
        QVERIFY(f.settle());
        QVERIFY(f.chooseCategory(QStringLiteral("Soups")));

        // An empty answer asks again, so does a name that is taken, and a marker line is
        // refused with a reason. The box offers the first free numbered name of a taken one,
        // and the refused name itself to be put right.
        f.fakes.prompter.inputs = {QString(), QStringLiteral("Waffles"), QStringLiteral("[TYP]"),
                                   QStringLiteral("Cr\u00EApes")};
        QVERIFY(f.download(QStringLiteral("Pancakes"), QStringLiteral("Desserts"), false));
        const QString prompt =
            QStringLiteral("This receipe already exists. Please specify another name.");
        QCOMPARE(f.fakes.prompter.inputPrompts, QStringList(4, prompt));
        QCOMPARE(f.fakes.prompter.inputTitles, QStringList(4, QStringLiteral("Download")));
        QCOMPARE(f.fakes.prompter.inputDefaults,
                 (QStringList{"Pancakes (2)", "Pancakes (2)", "Waffles (2)", "[TYP]"}));
        std::string renamed = kPancakes;
        renamed.replace(renamed.find("Pancakes"), 8, "Cr\xEApes");
        QCOMPARE(f.dir.read("BOOK2.TXT"), kPancakes + kWaffles + renamed);
        QCOMPARE(shapes(f.fakes.prompter.messages),
                 (QStringList{infoShape(QStringLiteral("Download"),
                                        QStringLiteral("A recipe cannot be called \"[TYP]\": the "
                                                       "cookbook uses that line as one of its "
                                                       "markers."),
                                        "Exclamation"),
                              infoShape(QStringLiteral("Download"),
                                        QStringLiteral("Download successful! The recipe is "
                                                       "called \u201CCr\u00EApes\u201D in the "
                                                       "cookbook."))}));

        // Cancel ends the download: nothing is added, nothing more is said.
        f.fakes.prompter.messages.clear();
        f.fakes.prompter.inputs = {std::nullopt};
        const std::string before = f.dir.read("BOOK2.TXT");
        QVERIFY(f.download(QStringLiteral("Pancakes"), QStringLiteral("Desserts"), false));
        QCOMPARE(f.dir.read("BOOK2.TXT"), before);
        QVERIFY(f.fakes.prompter.messages.isEmpty());
        QVERIFY(!f.dir.exists("20240101080000.tvx"));
    }

    void whatCannotBeAddedIsSaidAndNothingIsWritten_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("book");
        QTest::addColumn<QString>("message");
        QTest::newRow("a transfer cut short")
            << QByteArray::fromStdString(kPancakes.substr(0, 60)) << "Desserts"
            << "The recipe file from the server is not one complete recipe (it ends inside the "
               "ingredients). Nothing was added to the cookbook.";
        QTest::newRow("a file that is not there") << QByteArray() << "Desserts"
                                                  << "The recipe could not be fetched from the "
                                                     "exchange. Nothing was added to the cookbook.";
        QTest::newRow("a cookbook no longer listed")
            << QByteArray::fromStdString(kPancakes) << "Gone"
            << "There is no cookbook called \"Gone\". The recipe was not downloaded.";
    }
    void whatCannotBeAddedIsSaidAndNothingIsWritten()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, book);
        QFETCH(QString, message);
        Exchange f;
        if (file.isEmpty()) {
            f.server->folders["/tavendi/soups"].erase("20240101080000.tvx");
        } else {
            f.server->folders["/tavendi/soups"]["20240101080000.tvx"] = file.toStdString();
        }
        QVERIFY(f.open());
        QVERIFY(f.settle());
        QVERIFY(f.chooseCategory(QStringLiteral("Soups")));
        // The chooser was opened while "Gone" was still a cookbook.
        if (book == QStringLiteral("Gone")) {
            f.dir.write("bocker.txt", crlf({"Standard", "BOOK1.TXT", "Desserts", "BOOK2.TXT",
                                            "Gone", "BOOK3.TXT"}));
        }
        const auto found = f.list->findItems(QStringLiteral("Pancakes"), Qt::MatchExactly);
        f.list->setCurrentItem(found.front());
        f.window->chooseRecipe(found.front());
        auto* chooser = f.windows().find(gui::forms::kDestination);
        auto* books = child<QComboBox>(chooser, QStringLiteral("Combo1"));
        books->setCurrentIndex(books->findText(book));
        QVERIFY(books->currentIndex() >= 0);
        f.dir.write("bocker.txt", crlf({"Standard", "BOOK1.TXT", "Desserts", "BOOK2.TXT"}));
        testing::clickButton(chooser, QStringLiteral("Command1"));
        QVERIFY(QTest::qWaitFor([&] { return !f.window->downloadTimer()->isActive(); }, 2000));
        QVERIFY(f.settle());

        QCOMPARE(f.fakes.prompter.messages.isEmpty() ? QString() : messageShape(f.last()),
                 infoShape(QStringLiteral("Download"), message, "Exclamation"));
        QCOMPARE(f.dir.read("BOOK2.TXT"), kWaffles);
        QVERIFY(!f.dir.exists("20240101080000.tvx"));
        QVERIFY(!f.windows().isOpen(gui::forms::kNewIngredients));
    }

    void newIngredientsOpensWithTheNewWordsOrEmpty()
    {
        Exchange f;
        QVERIFY(f.open());
        QVERIFY(f.settle());
        QVERIFY(f.chooseCategory(QStringLiteral("Soups")));
        // Ticked: the words sok.txt lacks, the download's way ("(optional)" is offered).
        QVERIFY(f.download(QStringLiteral("Pancakes"), QStringLiteral("Desserts"), true));
        QCOMPARE(f.newIngredients(), (QStringList{"(optional)", "eggs"}));
        f.windows().close(gui::forms::kNewIngredients);

        // Not ticked: the dialog still opens, empty.
        QVERIFY(f.download(QStringLiteral("Pea soup"), QStringLiteral("Standard"), false));
        QCOMPARE(f.dir.read("BOOK1.TXT"), kPeaSoup);
        QCOMPARE(f.newIngredients(), QStringList());

        // Ticked, with nothing new to offer: open and empty as well.
        f.windows().close(gui::forms::kNewIngredients);
        f.dir.write("sok.txt", crlf({"peas"}));
        f.fakes.prompter.inputs = {QStringLiteral("Pea soup 2")};
        QVERIFY(f.download(QStringLiteral("Pea soup"), QStringLiteral("Standard"), true));
        QCOMPARE(f.newIngredients(), QStringList());
    }

    void aRefusedFolderChangeAsksWhetherToCloseTheConnection()
    {
        // No: the fetch runs in the folder that was current, which has an index of its own.
        Exchange keep;
        keep.server->refusedFolders = {"/tavendi/soups"};
        keep.server->folderReply = {550, "Soups: permission denied."};
        keep.server->folders["/tavendi"]["netindex.txt"] = crlf({"/begin", "Root stew|2023"});
        QVERIFY(keep.open());
        QVERIFY(keep.settle());
        keep.fakes.prompter.answers = {Answer::Ok, Answer::No};
        QVERIFY(keep.chooseCategory(QStringLiteral("Soups")));
        QCOMPARE(shapes(keep.fakes.prompter.messages),
                 (QStringList{sessionBox(QStringLiteral("rcd Extd Err: 550 Soups: permission "
                                                        "denied.")),
                              closeQuestion(QStringLiteral("rcd"), 12003)}));
        QCOMPARE(recipeLines(keep.list), QStringList{"Root stew | 2023--  ::"});
        QCOMPARE(keep.window->statusText(), QStringLiteral("Ready."));

        // Yes: the connection closes, and the fetch that follows has no session.
        Exchange close;
        close.server->refusedFolders = {"/tavendi/soups"};
        QVERIFY(close.open());
        QVERIFY(close.settle());
        close.fakes.prompter.answers = {Answer::Ok, Answer::Yes};
        QVERIFY(close.chooseCategory(QStringLiteral("Soups")));
        QCOMPARE(
            shapes(close.fakes.prompter.messages),
            (QStringList{sessionBox(QStringLiteral("rcd Extd Err: 550 No such file or "
                                                   "directory.")),
                         closeQuestion(QStringLiteral("rcd"), 12003),
                         closeQuestion(QStringLiteral("FtpGetFile"), exchange::kNotConnected)}));
        QCOMPARE(close.server->callsMade().back(), std::string("close"));
        QCOMPARE(close.list->topLevelItemCount(), 0);
        QCOMPARE(close.window->statusText(), QStringLiteral("Not connected."));
    }

    void aServerThatCannotBeReachedIsReportedAndNetworkTriesAgain()
    {
        Exchange f;
        f.server->connectFailure = exchange::kCannotConnect;
        f.fakes.prompter.answers = {Answer::Yes};
        QVERIFY(f.open());
        QVERIFY(f.settle());
        const QString noConnection = QStringLiteral(
            "There is no connection to the recipe exchange, so its categories cannot be shown. "
            "Check that this computer is connected to the internet, then double-click "
            "\u201CNetwork\u201D to try again.");
        // The session's own reports, then what they mean for the cook.
        QCOMPARE(shapes(f.fakes.prompter.messages),
                 (QStringList{closeQuestion(QStringLiteral("InternetConnect"), 12029),
                              sessionBox(QStringLiteral("Not in session")),
                              infoShape(QStringLiteral("Download"), noConnection, "Exclamation")}));
        QCOMPARE(f.messagesText(), noConnection);
        QCOMPARE(treeLines(f.tree), QStringList{"Network"});
        QCOMPARE(f.statuses, (QStringList{"Ready", "Connecting to network...", "Reading data...",
                                          "Not connected."}));
        // Nothing is waited for any more, and the tree answers.
        QCOMPARE(f.window->cursor().shape(), Qt::ArrowCursor);
        QVERIFY(f.tree->isEnabled() && f.list->isEnabled());

        // The network is back: a double click on "Network" connects with the same account
        // and draws the categories.
        f.server->connectFailure = 0;
        f.statuses.clear();
        f.fakes.prompter.messages.clear();
        const QRect root = f.tree->visualItemRect(f.tree->topLevelItem(0));
        QTest::mouseClick(f.tree->viewport(), Qt::LeftButton, {}, root.center());
        QTest::mouseDClick(f.tree->viewport(), Qt::LeftButton, {}, root.center());
        QCOMPARE(f.messagesText(), QStringLiteral("Please wait while connecting ..."));
        QVERIFY(f.settle());
        QVERIFY(f.fakes.prompter.messages.isEmpty());
        QCOMPARE(f.statuses, (QStringList{"Connecting to network...", "Reading data...",
                                          "Drawing tree...", "Ready."}));
        QCOMPARE(treeLines(f.tree), (QStringList{"Network", "  Soups", "    Cold soups",
                                                 "    Warm soups", "  Bread", "  Cakes"}));
        QCOMPARE(f.messagesText(),
                 QStringLiteral("Welcome to the recipe exchange!\nBe kind to each other.\n>"));
        const auto calls = f.server->callsMade();
        QCOMPARE(std::count(calls.begin(), calls.end(),
                            std::string("connect 127.0.0.1:2121 culvora/wobak")),
                 2);
        QVERIFY(f.chooseCategory(QStringLiteral("Soups")));
        QCOMPARE(f.list->topLevelItemCount(), 3);

        // With the categories there, "Network" only heads them.
        f.window->chooseCategory(f.tree->topLevelItem(0));
        QVERIFY(!f.window->busy());
        QCOMPARE(f.server->callsMade().size(), calls.size() + 3);
    }

    void aListThatDoesNotComeIsAskedForAgain()
    {
        // Connected, but the exchange has no list: the connection stays and is used again.
        Exchange f;
        f.server->folders["/tavendi"].erase("network.txt");
        f.fakes.prompter.answers = {Answer::Ok, Answer::No};
        QVERIFY(f.open());
        QVERIFY(f.settle());
        const QString noList = QStringLiteral(
            "The recipe exchange did not send its list of categories. Double-click "
            "\u201CNetwork\u201D to ask for it again, or close this window and try again "
            "later.");
        QCOMPARE(messageShape(f.last()),
                 infoShape(QStringLiteral("Download"), noList, "Exclamation"));
        QCOMPARE(f.window->statusText(), QStringLiteral("Ready."));

        f.server->folders["/tavendi"]["network.txt"] = kNetwork;
        f.window->chooseCategory(f.tree->topLevelItem(0));
        QVERIFY(f.settle());
        QCOMPARE(treeLines(f.tree).size(), 6);
        const auto calls = f.server->callsMade();
        QCOMPARE(std::count_if(calls.begin(), calls.end(),
                               [](const std::string& c) { return c.starts_with("connect"); }),
                 1);
    }

    void closingWhileATransferHangsReturnsAtOnce_data()
    {
        QTest::addColumn<QString>("hangOn");
        QTest::addColumn<QString>("status");
        QTest::newRow("connecting") << "connect"
                                    << "Connecting to network...";
        QTest::newRow("fetching") << "get"
                                  << "Reading data...";
    }
    void closingWhileATransferHangsReturnsAtOnce()
    {
        QFETCH(QString, hangOn);
        QFETCH(QString, status);
        Exchange f;
        f.server->hangOn = hangOn.toStdString();
        QVERIFY(f.open());
        QVERIFY(QTest::qWaitFor([&] { return f.server->hanging.load(); }, 5000));
        // The window keeps painting and says what it waits for.
        QTRY_COMPARE(f.window->statusText(), status);
        QVERIFY(f.window->busy());
        QCOMPARE(f.window->cursor().shape(), Qt::BusyCursor);

        QPointer<DownloadWindow> window = f.window;
        QElapsedTimer clock;
        clock.start();
        child<QToolBar>(f.window, QStringLiteral("Toolbar1"))->actions().front()->trigger();
        const qint64 took = clock.elapsed();
        qInfo("closing took %lld ms", took);
        QVERIFY2(took < 1000, qPrintable(QString::number(took)));
        QVERIFY(!f.windows().isOpen(gui::forms::kDownload));
        QTRY_VERIFY(!window);
        QCOMPARE(f.server->callsMade().back(), std::string("close"));
        // Nothing is asked of a window that has gone.
        QTest::qWait(50);
        QVERIFY(f.fakes.prompter.messages.isEmpty());
    }
};

QTEST_MAIN(DownloadWindowTest)
#include "download_window_test.moc"
