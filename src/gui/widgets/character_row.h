#pragma once

// The row of character buttons under an editor ("Insert:" Label2, then Command6 to Command10
// for °, ¼, ½, ¾ and ±), hidden until the editor's "Insert..." shows it. A click leaves the
// caret where it was: the buttons take the focus from the keyboard only.

#include <QMargins>
#include <QSize>
#include <QWidget>

namespace culvora::gui {

class CharacterRow : public QWidget {
    Q_OBJECT
public:
    CharacterRow(const QMargins& margins, QSize buttonSize, QWidget* parent = nullptr);

signals:
    // A button was clicked: the character to type where the caret is.
    void chosen(const QString& character);
};

}  // namespace culvora::gui
