#include "gui/recipes/picture_routines.h"

#include <QWidget>

#include "core/recipes/pictures.h"
#include "gui/app/app_context.h"
#include "gui/app/qt_text.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"

namespace culvora::gui {

namespace {

// Qt's file dialog filters for the two editors' picture dialogs.
const char* const kNewRecipeFilter =
    "Bilder (*.art *.bmp *.cut *.dib *.gem *.gif *.hrz *.iff *.img *.jpg *.lbm *.mac *.msp "
    "*.pcx *.pic *.ras *.rle *.tga *.tif *.wmf *.wpg);;Alla filer (*.*)";
const char* const kEditorFilter = "Bilder (*.bmp *.dib *.gif *.jpg *.wmf);;Alla filer (*.*)";

void reportError(AppContext& app, const Error& error)
{
    app.services.prompter.inform(toQString(error), QStringLiteral("Error"),
                                 MessageIcon::Exclamation);
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

}  // namespace

QString newRecipePictureFilter()
{
    return QString::fromLatin1(kNewRecipeFilter);
}

QString editorPictureFilter()
{
    return QString::fromLatin1(kEditorFilter);
}

void askForPicture(AppContext& app, const std::string& name)
{
    if (!app.services.prompter.confirm(
            QStringLiteral("Is there a picture on the dish available?"), QStringLiteral("Picture"))) {
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
    const QString file = app.services.prompter.openFileName(QString::fromUtf8(kPictureDialogTitle),
                                                            editorPictureFilter());
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
    if (!*path) {
        app.services.prompter.beep();
        app.services.prompter.inform(QString::fromUtf8(recipes::kNoPictureMessage),
                                     QStringLiteral("Error"));
        return;
    }
    QWidget* window = app.windows.open(forms::kPicture);
    if (auto* view = dynamic_cast<PictureView*>(window)) view->showPicture(fromCp(**path));
}

}  // namespace culvora::gui
