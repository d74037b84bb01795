#pragma once

// The three ways to a recipe's picture: the question after a new recipe is saved, the recipe
// editor's "Picture?", and the viewer's "Picture" key. The list is bilder.txt (core/recipes).

#include <QImage>
#include <QSize>
#include <QString>

#include <expected>
#include <string>

class QMdiArea;

namespace culvora::gui {

struct AppContext;

// What the picture window "visabild" offers its openers. The window implements it.
class PictureView {
public:
    virtual ~PictureView() = default;
    // Shows a picture at its own size, or scaled down to fit the main window when it is larger.
    virtual void showPicture(const QImage& picture) = 0;
};

// The grey mat the picture window leaves round a picture, in pixels.
inline constexpr int kPictureMat = 8;

// The largest picture the picture window shows whole inside the main window's area: the
// area less the window's frame, caption and mat. Without the frame's size (before the window
// is there) the style's measures stand in for it.
QSize pictureRoom(const QMdiArea& area, QSize frame = {});

// Reads a picture file to show it. One larger than `room` is read scaled down to fit, keeping
// its proportions, so a photo of many megapixels is never decoded whole; a photo taken on its
// side is turned upright. When the file cannot be read the error is a sentence naming it.
std::expected<QImage, QString> readPicture(const QString& file, QSize room);

// The file dialog both editors show, and the filters of each: the editor's own patterns and
// every other kind of picture the program can read.
inline constexpr const char* kPictureDialogTitle = "V\u00E4lj bild f\u00F6r recept";
QString newRecipePictureFilter();
QString editorPictureFilter();

// After a new recipe: "Is there a picture on the dish available?"; on Yes the file dialog,
// and the name with the chosen file (empty when cancelled) appended to bilder.txt.
void askForPicture(AppContext& app, const std::string& name);
// The editor's "Picture?": the file dialog, opened on the recipe's picture when it has one; the
// recipe's picture changed in place, or an entry appended when it has none. A cancelled dialog
// keeps the picture it had.
void changePicture(AppContext& app, const std::string& name);
// The viewer's "Picture": the picture window with the recipe's picture, or a beep and "Sorry,
// no picture available". A picture that cannot be shown (no file recorded, a file gone or not
// a picture) is explained in a message, and no window opens.
void showPicture(AppContext& app, const std::string& name);

}  // namespace culvora::gui
