#pragma once

// The files delivered with the program that it only reads (pictures, help pages), found where
// the program is installed (ShellState::deliveredFolder); a user's own copy of one in the data
// folder wins (app::deliveredFile).

#include <QPixmap>
#include <QString>

namespace culvora::gui {

struct ShellState;

// A delivered picture ("recept.gif", "pics/drag.gif"). On a HiDPI screen the twice-as-large
// "pics/hidpi/<name>@2x.png" beside it is used when it exists, so the picture keeps its
// logical size and stays sharp; a user's own copy of the picture comes with its own @2x or
// none. A null pixmap when the file is missing.
QPixmap loadPicture(const ShellState& state, const QString& name, qreal devicePixelRatio = 0);

// The path of a delivered file by its path below the delivered folder ("help/index.html").
QString deliveredPath(const ShellState& state, const QString& relative);

// A help page ("index.html") below the folder "help".
QString helpPage(const ShellState& state, const char* page);

}  // namespace culvora::gui
