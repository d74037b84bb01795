#include "gui/app/unsaved_input.h"

#include <QMetaObject>
#include <QPointer>
#include <QWidget>

namespace culvora::gui {

Answer UnsavedInput::askAboutInput(Prompter& prompter, const QString& title) const
{
    if (canSaveInput()) {
        return prompter.askToSave(QStringLiteral("Save changes to %1?").arg(unsavedInputName()),
                                  title);
    }
    // Nothing to save it to: closing loses it, and the safe answer is the default.
    return prompter.show({QStringLiteral("Close and lose %1?").arg(unsavedInputName()), title,
                          MessageIcon::Question, MessageButtons::CloseCancel, Answer::Cancel});
}

bool UnsavedInput::saveAndClose()
{
    state_ = State::Saving;
    saveInput();
    // The save closed the window on its way through (see mayClose); a refused save did not.
    if (state_ == State::Closing) return true;
    state_ = State::Open;
    return false;
}

bool UnsavedInput::mayClose(QWidget* window, Prompter& prompter)
{
    switch (state_) {
    case State::Saving:
        // The window's own save closing it.
        state_ = State::Closing;
        return true;
    case State::Closing: return true;
    case State::Open: break;
    }
    if (!hasUnsavedInput()) return true;
    switch (askAboutInput(prompter, window->windowTitle())) {
    case Answer::Discard:
    case Answer::Close: letInputGo(); return true;
    case Answer::Save: {
        // The close under way cannot be told that a save inside it closed the window, and the
        // save closes the window itself: so this close is turned down and the save runs at
        // once after it.
        const QPointer<QWidget> guard = window;
        QMetaObject::invokeMethod(
            window,
            [this, guard] {
                if (guard) saveAndClose();
            },
            Qt::QueuedConnection);
        return false;
    }
    default: return false;
    }
}

UnsavedInput* unsavedInputOf(QWidget* window)
{
    return dynamic_cast<UnsavedInput*>(window);
}

bool holdsUnsavedInput(QWidget* window)
{
    const UnsavedInput* input = unsavedInputOf(window);
    return input && input->inputAtStake();
}

QString quotedName(const QString& name)
{
    return QStringLiteral("\u201C%1\u201D").arg(name);
}

}  // namespace culvora::gui
