#pragma once

#include <QPixmap>
#include <QString>

#include "core/files/files.h"

namespace culvora::gui {

// A delivered picture from the data folder ("recept.gif", "pics/drag.gif"). On a HiDPI screen
// the twice-as-large "pics/hidpi/<name>@2x.png" is used when it exists, so the picture keeps
// its logical size and stays sharp. A null pixmap when the file is missing.
QPixmap loadPicture(const ProgramFolder& folder, const QString& name, qreal devicePixelRatio = 0);

}  // namespace culvora::gui
