#pragma once

// The drinks windows: the list "drinkar", the viewer "VisaDrink", the new-drink editor
// "nydrink" and the edit screen "editdrink", and what they share: the glass pictures from the
// data folder.

#include <QPixmap>

#include "core/files/files.h"

class QComboBox;
class QWidget;

namespace culvora::gui {

struct AppContext;

void registerDrinkWindows(AppContext& app);

// The picture of a glass (an index of GlassFilter::kGlassNames) from the data folder, its file
// found whatever the letter case of its name there; a null pixmap for -1 or a missing file.
QPixmap glassPixmap(const ProgramFolder& folder, int glass);

// The glass drop-down list "Combo1" of both editors (gui/widgets/glass_list.h) with the glass
// pictures of the data folder.
QComboBox* makeGlassList(const ProgramFolder& folder, QWidget* parent);

}  // namespace culvora::gui
