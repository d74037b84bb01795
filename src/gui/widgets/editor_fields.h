#pragma once

// Small pieces the editors of recipes and drinks share.

#include <QString>

class QLabel;
class QPlainTextEdit;
class QWidget;

namespace culvora::gui {

// A field's caption in the editors' face, which gives `buddy` (when there is one) the focus on
// its shortcut key. `name`, when given, is its objectName.
QLabel* makeCaption(const QString& text, QWidget* buddy, QWidget* parent,
                    const char* name = nullptr);

// What a box of several lines holds, its lines apart with no line end after the last, each
// character as typed (toPlainText would turn a no-break space into a plain one).
QString boxText(const QPlainTextEdit* box);

}  // namespace culvora::gui
