#include "gui/transfer/imports.h"

#include <QTimer>

#include <array>
#include <filesystem>

#include "core/transfer/cookbook_import.h"
#include "gui/app/handover.h"
#include "gui/app/qt_text.h"
#include "gui/app/shell.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/widgets/wait_cursor.h"

namespace culvora::gui {

namespace {

const QString kErrorTitle = QStringLiteral("Error");
const QString kTimerName = QStringLiteral("Timer1");

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// File names on this system are UTF-8 bytes.
std::filesystem::path chosenPath(const QString& file)
{
    return std::filesystem::path(file.toStdString());
}

}  // namespace

// Both entries show every file: many Meal-Master archives have names without an extension,
// which a pattern such as "*.*" would hide here.
const QString kImportDialogTitle = QStringLiteral("Import recipes");
const QString kMealMasterFilter = QStringLiteral("Meal Master ASCII (*);;All files (*)");
const QString kCookbookFilter = QStringLiteral("Tavendi (*.tvx);;All files (*)");

QStringList importEncodingNames()
{
    return {QStringLiteral("Detect"), QStringLiteral("UTF-8"),
            QStringLiteral("DOS (code page 850)"), QStringLiteral("Windows-1252")};
}

void importMealMasterFile(AppContext& app)
{
    Prompter& prompter = app.services.prompter;
    FileChoice encoding{QStringLiteral("Text encoding:"), importEncodingNames(), 0};
    const QString file =
        prompter.openFileNameWithChoice(kImportDialogTitle, kMealMasterFilter, encoding);
    if (file.isEmpty()) return;
    constexpr std::array kEncodings = {transfer::TextEncoding::Detect, transfer::TextEncoding::Utf8,
                                       transfer::TextEncoding::Cp850,
                                       transfer::TextEncoding::Cp1252};
    const auto chosen = encoding.chosen >= 0 && encoding.chosen < std::ssize(kEncodings)
                            ? kEncodings[static_cast<std::size_t>(encoding.chosen)]
                            : transfer::TextEncoding::Detect;

    Result<transfer::MealMasterImport> report;
    {
        WaitCursor wait;
        report = transfer::importMealMaster(app.state.folder, app.state.targetBookTitle,
                                            chosenPath(file), chosen);
    }
    if (!report) {
        // "Sorry, not a Meal Master document!" comes this way too; its title is "Error" as well.
        prompter.inform(toQString(report.error()), kErrorTitle, MessageIcon::Exclamation);
        return;
    }
    prompter.inform(fromUtf8(transfer::importedMessage(*report)),
                    fromUtf8(transfer::kImportedTitle), MessageIcon::Information);
    if (const std::string skipped = transfer::skippedMessage(*report); !skipped.empty()) {
        prompter.inform(fromUtf8(skipped), fromUtf8(transfer::kSkippedTitle),
                        MessageIcon::Exclamation);
    }
}

void importCookbookFile(AppContext& app)
{
    Prompter& prompter = app.services.prompter;
    const QString file = prompter.openFileName(kImportDialogTitle, kCookbookFilter);
    if (file.isEmpty()) return;

    Result<transfer::CookbookImport> imported;
    {
        WaitCursor wait;
        imported = transfer::importCookbook(app.state.folder, app.state.currentCookbookFile,
                                            chosenPath(file));
    }
    if (imported) {
        // Nothing to say when every recipe came in as it was. What was left out is said, and
        // so is a recipe renamed, or the cook would look for it under its old name.
        const std::string skipped = transfer::skippedMessage(*imported);
        if (!skipped.empty()) {
            std::string message = skipped;
            if (imported->renamed > 0) {
                message += "\n\n" + transfer::cookbookImportMessage(*imported);
            }
            prompter.inform(fromUtf8(message), fromUtf8(transfer::kSkippedTitle),
                            MessageIcon::Exclamation);
        } else if (imported->renamed > 0) {
            prompter.inform(fromUtf8(transfer::cookbookImportMessage(*imported)),
                            fromUtf8(transfer::kImportedTitle), MessageIcon::Information);
        }
        return;
    }
    const bool notCookbook = imported.error().code == ErrorCode::Refused &&
                             imported.error().message == transfer::kNotCookbookMessage;
    prompter.inform(toQString(imported.error()),
                    notCookbook ? fromUtf8(transfer::kNotCookbookTitle) : kErrorTitle,
                    MessageIcon::Exclamation);
}

QTimer* mealMasterTimer(AppContext& app)
{
    return app.windows.findChild<QTimer*>(kTimerName, Qt::FindDirectChildrenOnly);
}

void registerImports(AppContext& app)
{
    // It lives as long as the shell's windows do.
    auto* timer = new QTimer(&app.windows);
    timer->setObjectName(kTimerName);
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, timer, [&app, timer] {
        timer->stop();
        importMealMasterFile(app);
    });
    // The import asks for the destination first; the chooser starts Timer1.
    app.shell.setMenuAction(menus::kImportMealMaster, [&app, timer] {
        openDestinationChooser(app, ChooserMode::Import, timer);
    });
    app.shell.setMenuAction(menus::kImportCookbook, [&app] { importCookbookFile(app); });
}

}  // namespace culvora::gui
