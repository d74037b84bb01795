// The production file dialogs: Qt's own, with the size, type and date columns wide enough for
// their texts, and each starting in the folder of the file last chosen in any of them, also
// after the program has been started again.

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <filesystem>
#include <functional>

#include "gui/app/qt_services.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

using namespace culvora;
using culvora::testing::ScopedEnv;
using culvora::testing::TempDir;

namespace {

QString qpath(const std::filesystem::path& path)
{
    return QString::fromStdString(path.string());
}

// Answers the next file dialog: `answer` looks at it and accepts or rejects it.
void whenTheDialogShows(std::function<void(QFileDialog&)> answer)
{
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [answer, poll] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) {
            QTimer::singleShot(10, *poll);
            return;
        }
        answer(*dialog);
        if (dialog->isVisible()) dialog->reject();
        *poll = nullptr;  // ends the cycle
    };
    QTimer::singleShot(0, *poll);
}

// Chooses a file in the dialog, as a double click on it would.
void choose(QFileDialog& dialog, const QString& file)
{
    dialog.selectFile(file);
    static_cast<QDialog&>(dialog).accept();
}

// Each of the three dialogs, shown with one answer.
enum class Kind { Open, OpenWithChoice, Save };
QString show(gui::QtPrompter& prompter, Kind kind, std::function<void(QFileDialog&)> answer)
{
    whenTheDialogShows(std::move(answer));
    gui::FileChoice choice{QStringLiteral("Encoding:"), {QStringLiteral("A"), QStringLiteral("B")}};
    switch (kind) {
    case Kind::Open: return prompter.openFileName(QStringLiteral("Open"), QStringLiteral("*"));
    case Kind::OpenWithChoice:
        return prompter.openFileNameWithChoice(QStringLiteral("Import"), QStringLiteral("*"),
                                               choice);
    case Kind::Save:
        return prompter.saveFileName(QStringLiteral("Save"), QStringLiteral("*"),
                                     QStringLiteral("pdf"), QStringLiteral("Menu.pdf"));
    }
    return {};
}

struct Dialogs {
    TempDir home;
    ScopedEnv homeVariable{"HOME", home.path().string()};
    TempDir config;
    QString ini = qpath(config.file("culvora.ini"));
    gui::QtPrompter prompter;

    Dialogs() { prompter.setFolderSettings(ini); }
};

}  // namespace

class FileDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void everyDialogShowsItsColumnsWhole()
    {
        Dialogs d;
        TempDir folder;
        folder.write("Grandmother's recipes.txt", std::string(123456, 'x'));
        folder.write("b.tvx", "");
        QSettings(d.ini, QSettings::IniFormat)
            .setValue(QStringLiteral("FileDialogs/lastFolder"), qpath(folder.path()));
        d.prompter.setFolderSettings(d.ini);

        for (Kind kind : {Kind::Open, Kind::OpenWithChoice, Kind::Save}) {
            QString problem = QStringLiteral("not shown");
            show(d.prompter, kind, [&](QFileDialog& dialog) {
                problem.clear();
                if (dialog.testOption(QFileDialog::DontUseNativeDialog) == false) {
                    problem += QStringLiteral("a native dialog; ");
                }
                if (QDir(dialog.directory()) != QDir(qpath(folder.path()))) {
                    problem += QStringLiteral("starts in %1; ").arg(dialog.directory().path());
                }
                auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
                if (!view || !view->isVisible()) {
                    problem += QStringLiteral("no detail view");
                    return;
                }
                if (!QTest::qWaitFor(
                        [view] { return view->model()->rowCount(view->rootIndex()) >= 2; }, 5000)) {
                    problem += QStringLiteral("the files did not show; ");
                }
                QTest::qWait(50);
                const QAbstractItemView* items = view;
                QHeaderView* header = view->header();
                for (int column = 0; column < 4; ++column) {
                    const int needed =
                        std::max(items->sizeHintForColumn(column), header->sectionSizeHint(column));
                    if (header->isSectionHidden(column) || header->sectionSize(column) < needed) {
                        problem +=
                            QStringLiteral("column %1 is %2 wide for %3; ")
                                .arg(header->model()->headerData(column, Qt::Horizontal).toString())
                                .arg(header->sectionSize(column))
                                .arg(needed);
                    }
                }
            });
            QVERIFY2(problem.isEmpty(),
                     qPrintable(QStringLiteral("dialog %1: %2").arg(int(kind)).arg(problem)));
        }
    }

    void eachDialogStartsInTheFolderOfTheFileLastChosen()
    {
        Dialogs d;
        TempDir first;
        first.write("Old cookbook.txt", "");
        TempDir second;
        const QString cookbook = qpath(first.file("Old cookbook.txt"));
        const QString menu = qpath(second.file("Menu.pdf"));

        // Nothing chosen yet: an open dialog starts at home, a save dialog with a proposed name
        // in the documents folder (home without one).
        QString startedIn;
        auto note = [&startedIn](QFileDialog& dialog) { startedIn = dialog.directory().path(); };
        QCOMPARE(show(d.prompter, Kind::Open,
                      [&](QFileDialog& dialog) {
                          note(dialog);
                          choose(dialog, cookbook);
                      }),
                 cookbook);
        QCOMPARE(QDir(startedIn), QDir(qpath(d.home.path())));

        // The save dialog goes on from there, with its proposed name, and the folder it saved
        // in is where the next dialog starts, of whatever kind.
        QString proposed;
        QCOMPARE(show(d.prompter, Kind::Save,
                      [&](QFileDialog& dialog) {
                          note(dialog);
                          proposed = dialog.selectedFiles().value(0);
                          choose(dialog, menu);
                      }),
                 menu);
        QCOMPARE(QDir(startedIn), QDir(qpath(first.path())));
        QCOMPARE(proposed, qpath(first.file("Menu.pdf")));
        QCOMPARE(show(d.prompter, Kind::OpenWithChoice, note), QString());
        QCOMPARE(QDir(startedIn), QDir(qpath(second.path())));

        // A cancelled dialog changes nothing; the folder is kept for the next start.
        QCOMPARE(show(d.prompter, Kind::Open, note), QString());
        gui::QtPrompter again;
        again.setFolderSettings(d.ini);
        QCOMPARE(show(again, Kind::Open, note), QString());
        QCOMPARE(QDir(startedIn), QDir(qpath(second.path())));

        // A folder that has gone since: home again.
        std::filesystem::remove_all(second.path());
        QCOMPARE(show(again, Kind::Open, note), QString());
        QCOMPARE(QDir(startedIn), QDir(qpath(d.home.path())));
    }
};

QTEST_MAIN(FileDialogsTest)
#include "file_dialogs_test.moc"
