#include "gui/recipes/picture_routines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageIOHandler>
#include <QImageReader>
#include <QMdiArea>
#include <QStyle>
#include <QWidget>

#include <algorithm>
#include <array>

#include "core/files/files.h"
#include "core/recipes/pictures.h"
#include "core/text/text.h"
#include "gui/app/app_context.h"
#include "gui/app/qt_text.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"

namespace culvora::gui {

namespace {

// The two editors' picture patterns. Each dialog offers them and every other kind of picture
// the program can show (a photo is a .png or a .jpeg as often as a .jpg).
constexpr std::array kNewRecipePatterns = {"art", "bmp", "cut", "dib", "gem", "gif", "hrz",
                                           "iff", "img", "jpg", "lbm", "mac", "msp", "pcx",
                                           "pic", "ras", "rle", "tga", "tif", "wmf", "wpg"};
constexpr std::array kEditorPatterns = {"bmp", "dib", "gif", "jpg", "wmf"};

template <std::size_t N>
QString pictureFilter(const std::array<const char*, N>& own)
{
    QStringList suffixes;
    for (const char* suffix : own) suffixes << QString::fromLatin1(suffix);
    QStringList readable;
    for (const QByteArray& format : QImageReader::supportedImageFormats()) {
        const QString suffix = QString::fromLatin1(format).toLower();
        if (!suffixes.contains(suffix) && !readable.contains(suffix)) readable << suffix;
    }
    readable.sort();
    suffixes << readable;
    for (QString& suffix : suffixes) suffix.prepend(QStringLiteral("*."));
    return QStringLiteral("Bilder (%1);;Alla filer (*.*)").arg(suffixes.join(QLatin1Char(' ')));
}

void reportError(AppContext& app, const Error& error)
{
    app.services.prompter.inform(toQString(error), QStringLiteral("Error"),
                                 MessageIcon::Exclamation);
}

void reportError(AppContext& app, const QString& error)
{
    app.services.prompter.inform(error, QStringLiteral("Error"), MessageIcon::Exclamation);
}

// The chosen file as bilder.txt holds it; a path Windows-1252 cannot hold is refused.
std::optional<std::string> chosenPath(AppContext& app, const QString& file)
{
    auto path = toCp(file);
    if (!path) {
        reportError(app, path.error());
        return std::nullopt;
    }
    return *path;
}

// A stored path as a file on this system. The dialog stores full paths; a relative one (a
// list made by hand) names a file in the data folder.
QString pictureFile(const AppContext& app, const std::string& stored)
{
    QString path = fromCp(stored);
    if (!QDir::isRelativePath(path)) return path;
    return QDir(QString::fromStdString(app.state.folder.path().string())).filePath(path);
}

}  // namespace

QString newRecipePictureFilter()
{
    return pictureFilter(kNewRecipePatterns);
}

QString editorPictureFilter()
{
    return pictureFilter(kEditorPatterns);
}

QSize pictureRoom(const QMdiArea& area, QSize frame)
{
    if (!frame.isValid()) {
        const QStyle* style = area.style();
        const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, &area);
        const int caption = style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &area);
        frame = QSize(2 * border, caption + 2 * border);
    }
    const QSize room = area.viewport()->size() - frame - QSize(2 * kPictureMat, 2 * kPictureMat);
    return room.expandedTo(QSize(1, 1));
}

std::expected<QImage, QString> readPicture(const QString& file, QSize room)
{
    // The path as bilder.txt holds it, shown safely and cut when it runs on.
    const QByteArray utf8 = QDir::toNativeSeparators(file).toUtf8();
    const std::string quoted = text::quotedUtf8ForMessage(
        std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
    const QString shown = QString::fromUtf8(quoted.data(), static_cast<qsizetype>(quoted.size()));
    const QFileInfo info(file);
    if (!info.exists()) {
        return std::unexpected(
            QStringLiteral("The picture file %1 could not be found. It may have been moved "
                           "or deleted; \"Picture?\" in the recipe editor chooses it again.")
                .arg(shown));
    }
    // The path comes from bilder.txt, which anyone can edit: a FIFO there would hold the
    // window until someone wrote to it, a device would never end.
    const auto regular =
        info.isDir() ? Result<void>{} : checkRegularFile(QFile::encodeName(file).toStdString());
    if (!regular) {
        return std::unexpected(QStringLiteral("The picture file %1 could not be shown. %2")
                                   .arg(shown, toQString(regular.error())));
    }
    QImageReader reader(file);
    reader.setAutoTransform(true);
    // The size as stored; a photo taken on its side is stored across and turned on reading.
    const QSize stored = reader.size();
    if (stored.isValid() && room.isValid()) {
        const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
        const QSize upright = turned ? stored.transposed() : stored;
        if (upright.width() > room.width() || upright.height() > room.height()) {
            const QSize fitted = upright.scaled(room, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
            reader.setScaledSize(turned ? fitted.transposed() : fitted);
        }
    }
    QImage picture = reader.read();
    if (picture.isNull()) {
        const QString why = info.isDir() ? QStringLiteral("it is a folder") : reader.errorString();
        return std::unexpected(QStringLiteral("The picture file %1 could not be shown (%2). "
                                              "It may be damaged, or of a kind this program "
                                              "cannot read.")
                                   .arg(shown, why));
    }
    return picture;
}

void askForPicture(AppContext& app, const std::string& name)
{
    if (!app.services.prompter.confirm(QStringLiteral("Is there a picture on the dish available?"),
                                       QStringLiteral("Picture"))) {
        return;
    }
    const QString file = app.services.prompter.openFileName(QString::fromUtf8(kPictureDialogTitle),
                                                            newRecipePictureFilter());
    auto path = chosenPath(app, file);
    if (!path) return;
    if (auto added = recipes::addPicture(app.state.folder, name, *path); !added) {
        reportError(app, added.error());
    }
}

void changePicture(AppContext& app, const std::string& name)
{
    auto current = recipes::picturePath(app.state.folder, name);
    if (!current) {
        reportError(app, current.error());
        return;
    }
    // The dialog opens on the picture the recipe has, so a cook who only looks goes back to
    // it in one click.
    const QString start = *current && !(*current)->empty() ? pictureFile(app, **current) : QString();
    const QString file = app.services.prompter.openFileNameAt(
        QString::fromUtf8(kPictureDialogTitle), editorPictureFilter(), start);
    // Cancelled: an existing picture stays what it was; a recipe without one gets an entry
    // with an empty path, as after a new recipe.
    if (file.isEmpty() && *current) return;
    auto path = chosenPath(app, file);
    if (!path) return;
    if (auto set = recipes::setPicture(app.state.folder, name, *path); !set) {
        reportError(app, set.error());
    }
}

void showPicture(AppContext& app, const std::string& name)
{
    auto path = recipes::picturePath(app.state.folder, name);
    if (!path) {
        reportError(app, path.error());
        return;
    }
    // Whatever cannot be shown, a picture still open from before is not the one asked for.
    if (!*path) {
        app.windows.close(forms::kPicture);
        app.services.prompter.beep();
        app.services.prompter.inform(QString::fromUtf8(recipes::kNoPictureMessage),
                                     QStringLiteral("Error"));
        return;
    }
    // An empty path is what a cancelled file dialog left: there is nothing to show, and an
    // empty window would only puzzle.
    if ((*path)->empty()) {
        app.windows.close(forms::kPicture);
        reportError(app, QStringLiteral("No picture file is recorded for \"%1\". \"Picture?\" in "
                                        "the recipe editor chooses one.")
                             .arg(shownForMessage(name)));
        return;
    }
    // Read before the window opens, so a file that cannot be shown leaves no empty window
    // behind its message.
    const qreal ratio = std::max<qreal>(1.0, app.windows.area()->devicePixelRatioF());
    auto picture = readPicture(pictureFile(app, **path), pictureRoom(*app.windows.area()) * ratio);
    if (!picture) {
        app.windows.close(forms::kPicture);
        reportError(app, picture.error());
        return;
    }
    QWidget* window = app.windows.open(forms::kPicture);
    if (auto* view = dynamic_cast<PictureView*>(window)) view->showPicture(*picture);
}

}  // namespace culvora::gui
