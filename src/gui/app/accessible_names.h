#pragma once

// What a screen reader says about each control: its name (what the control is: "New recipe",
// "Ingredients", "Recipe types") and its description (what it does). One table, keyed by the
// form name and the control name every control carries, holds the texts; the registry applies
// it to every window it puts on the screen. A control the table does not name is named after
// its own caption, the label beside it, its hint or its tool tip.

#include <QString>

class QWidget;

namespace culvora::gui {

// Names and describes the controls of a window (its objectName is the form name).
void describeControls(QWidget* window);

// A control the user works with: a button, a box, a list, a slider, a tab strip, a label that
// acts or takes the focus. The parts inside such a control (a drop-down list's popup, a box's
// clear button) are the control's own and not counted.
bool isInteractiveControl(const QWidget* widget, const QWidget* window);

// The caption of the label that stands for a control: its buddy, the label in front of it in
// its layout row, or the heading above it; empty when there is none.
QString captionFor(const QWidget* control);

}  // namespace culvora::gui
