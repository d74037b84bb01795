#pragma once

// The drinks windows: the list "drinkar", the viewer "VisaDrink", the new-drink editor
// "nydrink" and the edit screen "editdrink", and what they share: the glass pictures and the
// glass drop-down list.

#include <QPixmap>

#include "core/files/files.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QString;
class QWidget;

namespace culvora::gui {

struct AppContext;

void registerDrinkWindows(AppContext& app);

// The picture of a glass (an index of GlassFilter::kGlassNames) from the data folder, its file
// found whatever the letter case of its name there; a null pixmap for -1 or a missing file.
QPixmap glassPixmap(const ProgramFolder& folder, int glass);

// The glass drop-down list "Combo1" of both editors: the fifteen glasses in the order of the
// filter menu, each beside a small picture of itself, nothing chosen yet.
QComboBox* makeGlassList(const ProgramFolder& folder, QWidget* parent);

// The framed glass picture "Image1" of the editors and the viewer (the viewer renames it),
// empty until a glass is shown.
QLabel* makeGlassPicture(QWidget* parent);

// What a box of several lines holds, its lines apart with no line end after the last, each
// character as typed (toPlainText would turn a no-break space into a plain one).
QString boxText(const QPlainTextEdit* box);

}  // namespace culvora::gui
