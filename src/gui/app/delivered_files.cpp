#include "gui/app/delivered_files.h"

#include <QFileInfo>
#include <QGuiApplication>

#include <filesystem>

#include "core/app/settings.h"
#include "core/files/files.h"
#include "gui/app/shell_state.h"

namespace culvora::gui {

namespace {

std::filesystem::path pathOf(const QString& relative)
{
    return std::filesystem::path(relative.toStdString());
}

QString fromPath(const std::filesystem::path& path)
{
    return QString::fromStdString(path.string());
}

}  // namespace

QString deliveredPath(const ShellState& state, const QString& relative)
{
    return fromPath(
        app::deliveredFile(state.folder.path(), state.deliveredFolder, pathOf(relative)));
}

QString helpPage(const ShellState& state, const char* page)
{
    return deliveredPath(state, QStringLiteral("help/") + QLatin1String(page));
}

QPixmap loadPicture(const ShellState& state, const QString& name, qreal devicePixelRatio)
{
    const std::filesystem::path relative = pathOf(name);
    const std::filesystem::path picture =
        app::deliveredFile(state.folder.path(), state.deliveredFolder, relative);
    if (devicePixelRatio <= 0) devicePixelRatio = qApp ? qApp->devicePixelRatio() : 1.0;
    if (devicePixelRatio > 1.0) {
        // The sharp twin comes from the folder the picture comes from: the user's when the user
        // has the picture, else the delivered one.
        const bool own = picture == state.folder.path() / relative;
        const std::filesystem::path root = own ? state.folder.path() : state.deliveredFolder;
        const std::filesystem::path twin =
            root / "pics" / "hidpi" /
            (QFileInfo(name).completeBaseName() + QStringLiteral("@2x.png")).toStdString();
        QPixmap sharp;
        if (checkRegularFile(twin)) sharp = QPixmap(fromPath(twin));
        if (!sharp.isNull()) {
            sharp.setDevicePixelRatio(2.0);
            return sharp;
        }
    }
    // The user's own copy in the data folder may be anything; only a plain file is read.
    if (!checkRegularFile(picture)) return QPixmap();
    return QPixmap(fromPath(picture));
}

}  // namespace culvora::gui
