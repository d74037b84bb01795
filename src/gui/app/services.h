#pragma once

// Everything a window asks of the platform. Production versions talk to Qt; tests hand in
// fakes that record what was shown and return scripted answers. No window creates a
// QMessageBox itself.

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

class QWidget;

namespace culvora::gui {

enum class MessageIcon { None, Information, Exclamation, Question, Stop };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, SaveDiscardCancel, CloseCancel };
enum class Answer { Ok, Cancel, Yes, No, Save, Discard, Close };

// A drop-down that an open-file dialog shows beside the file name, for a choice that belongs
// with the file (how an imported file's text is encoded). `chosen` comes in as the entry
// selected at first and goes out as the user's choice.
struct FileChoice {
    QString label;
    QStringList options;
    int chosen = 0;
};

struct Message {
    QString text;
    QString title;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    Answer defaultButton = Answer::Ok;
};

class Prompter {
public:
    virtual ~Prompter() = default;
    // Shows a message box and waits for the answer.
    virtual Answer show(const Message& message) = 0;
    virtual void beep() = 0;
    // An input box; nothing when cancelled.
    virtual std::optional<QString> input(const QString& prompt, const QString& title,
                                         const QString& defaultText) = 0;
    // File dialogs; an empty string when cancelled. Filters as Qt writes them. A save dialog
    // may propose a file name ("Menu for the week.pdf").
    virtual QString openFileName(const QString& title, const QString& filter) = 0;
    // The same, opening on a file chosen before: its folder shown and its name in the box.
    virtual QString openFileNameAt(const QString& title, const QString& filter,
                                   const QString& startFile) = 0;
    virtual QString saveFileName(const QString& title, const QString& filter,
                                 const QString& defaultSuffix,
                                 const QString& proposedName = QString()) = 0;
    // The open-file dialog with one more choice under the file name (see FileChoice).
    virtual QString openFileNameWithChoice(const QString& title, const QString& filter,
                                           FileChoice& choice) = 0;
    // The print dialog; false when cancelled.
    virtual bool choosePrinter() = 0;

    // The common shapes, spelled once.
    void inform(const QString& text, const QString& title, MessageIcon icon = MessageIcon::None)
    {
        show({text, title, icon, MessageButtons::Ok, Answer::Ok});
    }
    // Yes/No with a question icon and No as the default: the shape of every question before
    // a destructive action.
    bool confirm(const QString& text, const QString& title)
    {
        return show({text, title, MessageIcon::Question, MessageButtons::YesNo, Answer::No}) ==
               Answer::Yes;
    }
    // Save, Discard or Cancel, Save the default: the question before input not yet saved
    // would be lost. A box closed without a choice answers Cancel.
    Answer askToSave(const QString& text, const QString& title)
    {
        return show(
            {text, title, MessageIcon::Question, MessageButtons::SaveDiscardCancel, Answer::Save});
    }
};

class DesktopOpener {
public:
    virtual ~DesktopOpener() = default;
    // A local file path or a web address, opened with its associated program. False when no
    // program could be started.
    virtual bool openDocument(const QString& pathOrUrl) = 0;
    // The user's text editor on a file; false when none could be started.
    virtual bool openInTextEditor(const QString& path) = 0;
};

class PrintService {
public:
    virtual ~PrintService() = default;
    // Whether a printer is installed. Without one, a document becomes a PDF the user saves.
    virtual bool hasPrinter() const = 0;
    // Starts a document; the title names it in the printer queue and proposes the PDF's name.
    virtual void beginDocument(const QString& title) = 0;
    virtual void setFont(const QString& name, double pointSize, bool bold, bool italic) = 0;
    virtual void print(const QString& text, bool endLine = true) = 0;
    // The document goes to the printer (or into the PDF) now.
    virtual void endDocument() = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class Random {
public:
    virtual ~Random() = default;
    // Starts the sequence again from a seed: the same seed gives the same numbers.
    virtual void seed(std::uint64_t value) = 0;
    // A number in [0, 1).
    virtual double next() = 0;
};

struct Services {
    Prompter& prompter;
    DesktopOpener& opener;
    PrintService& printer;
    Clock& clock;
    Random& random;
};

}  // namespace culvora::gui
