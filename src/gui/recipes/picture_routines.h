#pragma once

// The three ways to a recipe's picture: the question after a new recipe is saved, the recipe
// editor's "Picture?", and the viewer's "Picture" key. The list is bilder.txt (core/recipes).

#include <QString>

#include <string>

namespace culvora::gui {

struct AppContext;

// What the picture window "visabild" offers its openers. The window implements it.
class PictureView {
public:
    virtual ~PictureView() = default;
    // Shows the picture file (a path as stored); false when it cannot be read.
    virtual bool showPicture(const QString& path) = 0;
};

// The file dialog both editors show, and the filters of each.
inline constexpr const char* kPictureDialogTitle = "V\u00E4lj bild f\u00F6r recept";
QString newRecipePictureFilter();
QString editorPictureFilter();

// After a new recipe: "Is there a picture on the dish available?"; on Yes the file dialog,
// and the name with the chosen file (empty when cancelled) appended to bilder.txt.
void askForPicture(AppContext& app, const std::string& name);
// The editor's "Picture?": the file dialog, starting from nothing; the recipe's picture
// changed in place, or an entry appended when it has none. A cancelled dialog keeps the
// picture it had.
void changePicture(AppContext& app, const std::string& name);
// The viewer's "Picture": the picture window with the recipe's picture, or a beep and "Sorry,
// no picture available".
void showPicture(AppContext& app, const std::string& name);

}  // namespace culvora::gui
