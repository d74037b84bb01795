#include "gui/recipes/recipe_page_export.h"

#include <QFileInfo>

#include <filesystem>

#include "core/files/files.h"
#include "gui/app/qt_text.h"
#include "gui/widgets/wait_cursor.h"

namespace culvora::gui {

namespace {

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The viewer shows a list without its last line end; the page wants every line ended.
QString listText(const QString& shown)
{
    if (shown.isEmpty()) return shown;
    QString text = shown;
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text + QStringLiteral("\r\n");
}

}  // namespace

const QString kPageDialogTitle = QStringLiteral("Save the recipe as a web page");

Result<recipes::HtmlPageTexts> pageTexts(const ShownRecipePage& shown)
{
    recipes::HtmlPageTexts texts;
    for (auto [from, to] :
         {std::pair{&shown.name, &texts.name}, std::pair{&shown.servings, &texts.servings},
          std::pair{&shown.time, &texts.time}}) {
        auto cp = toCp(*from);
        if (!cp) return std::unexpected(cp.error());
        *to = std::move(*cp);
    }
    for (auto [from, to] : {std::pair{&shown.ingredients, &texts.ingredients},
                            std::pair{&shown.instructions, &texts.instructions}}) {
        auto cp = toCp(listText(*from));
        if (!cp) return std::unexpected(cp.error());
        *to = std::move(*cp);
    }
    return texts;
}

QString proposedPageName(const QString& recipeName)
{
    QString name = recipeName.simplified();
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    for (QChar& c : name) {
        if (forbidden.contains(c)) c = QLatin1Char('-');
    }
    // A leading dot would hide the page in the folder.
    while (name.startsWith(QLatin1Char('.'))) name.remove(0, 1);
    if (name.isEmpty()) name = QStringLiteral("Recipe");
    return name + QLatin1Char('.') + fromUtf8(recipes::kHtmlExtension);
}

void saveRecipePage(AppContext& app, const ShownRecipePage& shown)
{
    Prompter& prompter = app.services.prompter;
    auto texts = pageTexts(shown);
    if (!texts) {
        prompter.inform(toQString(texts.error()), QStringLiteral("Error"),
                        MessageIcon::Exclamation);
        return;
    }
    // "HTML-files|*.htm*" as Qt writes a filter.
    const QString filter = QStringLiteral("HTML-files (*.htm*)");
    QString file = prompter.saveFileName(
        kPageDialogTitle, filter, fromUtf8(recipes::kHtmlExtension), proposedPageName(shown.name));
    if (file.isEmpty()) return;
    if (QFileInfo(file).suffix().isEmpty()) {
        file += QLatin1Char('.') + fromUtf8(recipes::kHtmlExtension);
    }

    Result<void> written;
    {
        WaitCursor wait;
        const std::filesystem::path target(file.toStdString());
        // Only where nothing or a plain file stands: a link or a device there is refused.
        written = writeOutputFile(target, recipes::recipePage(*texts));
    }
    if (!written) {
        prompter.inform(toQString(written.error()), QStringLiteral("Error"),
                        MessageIcon::Exclamation);
    }
}

}  // namespace culvora::gui
