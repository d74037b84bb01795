#pragma once

// The drinks windows: the list "drinkar", the viewer "VisaDrink", the new-drink editor
// "nydrink" and the edit screen "editdrink", and what they share: the glass pictures.

#include <QPixmap>

class QComboBox;
class QWidget;

namespace culvora::gui {

struct AppContext;
struct ShellState;

void registerDrinkWindows(AppContext& app);

// The picture of a glass (an index of GlassFilter::kGlassNames): the user's own copy in the
// data folder, else the delivered one, its file found whatever the letter case of its name; a
// null pixmap for -1 or a missing file.
QPixmap glassPixmap(const ShellState& state, int glass);

// The glass drop-down list "Combo1" of both editors (gui/widgets/glass_list.h) with the glass
// pictures.
QComboBox* makeGlassList(const ShellState& state, QWidget* parent);

}  // namespace culvora::gui
