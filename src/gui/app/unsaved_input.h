#pragma once

// Typed work is never lost: a window that holds input not yet saved asks before it closes,
// whichever way it is closed (its close button, Escape, Exit, closing the main window, logging
// out). The window says what it holds and how it saves; the question and what each answer does
// are the same everywhere:
//
//   "Save changes to the new recipe “Pancakes”?"   Save / Discard / Cancel, Save the default
//   "Close and lose the calculator's list?"          Close / Cancel, Cancel the default
//
// Save runs the window's own save, with its checks and messages, and that closes the window
// when it goes through; a save refused or failed leaves the window open, as Cancel does.
// Discard (or Close) closes it without saving; Cancel keeps it, and the program, open.

#include <QString>

#include "gui/app/services.h"

class QWidget;

namespace culvora::gui {

class UnsavedInput {
public:
    virtual ~UnsavedInput() = default;

    // Whether the window holds input changed since it opened or was last saved.
    virtual bool hasUnsavedInput() const = 0;
    // What the question names: "the new recipe “Pancakes”", "the Fridge list".
    virtual QString unsavedInputName() const = 0;
    // Whether there is a save to offer. A window that keeps nothing asks "Close and lose ...?".
    virtual bool canSaveInput() const { return true; }
    // The window's own save path. It closes the window when the save goes through.
    virtual void saveInput() {}

    // Whether closing the window now would lose input: it holds some, and it has not been let
    // go nor saved on the way out.
    bool inputAtStake() const { return state_ == State::Open && hasUnsavedInput(); }
    // The question, with the window's title as the box's title.
    Answer askAboutInput(Prompter& prompter, const QString& title) const;
    // Runs the window's save; true when it went through (and the window is closing).
    bool saveAndClose();
    // The input is let go: the window closes without another question.
    void letInputGo() { state_ = State::Closing; }

    // From the window's closeEvent: true when the window may close now. A Save answer turns
    // this close down and saves right after it, through the window's own save, which closes
    // the window when it goes through.
    bool mayClose(QWidget* window, Prompter& prompter);

private:
    enum class State { Open, Saving, Closing };
    State state_ = State::Open;
};

// The window's unsaved-input side, or nullptr for a window that keeps no input.
UnsavedInput* unsavedInputOf(QWidget* window);
// Whether closing the window now would lose input (see UnsavedInput::inputAtStake).
bool holdsUnsavedInput(QWidget* window);

// “name”, in the typographic quotes the questions use.
QString quotedName(const QString& name);

}  // namespace culvora::gui
