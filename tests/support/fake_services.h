#pragma once

// Fakes of the platform services: they record what a window showed (exact texts, titles,
// icons, buttons) and give scripted answers, so a test can drive a window end to end.

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <deque>
#include <optional>

#include "gui/app/services.h"

namespace culvora::testing {

class FakePrompter : public gui::Prompter {
public:
    gui::Answer show(const gui::Message& message) override;
    void beep() override { ++beeps; }
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    QString openFileName(const QString& title, const QString& filter) override;
    QString openFileNameAt(const QString& title, const QString& filter,
                           const QString& startFile) override;
    QString saveFileName(const QString& title, const QString& filter, const QString& defaultSuffix,
                         const QString& proposedName) override;
    QString openFileNameWithChoice(const QString& title, const QString& filter,
                                   gui::FileChoice& choice) override;
    bool choosePrinter() override;

    // Scripted answers, used in order; when none is left a message box answers with its
    // default button, an input box is cancelled, a file dialog is cancelled and the print
    // dialog is accepted.
    std::deque<gui::Answer> answers;
    std::deque<std::optional<QString>> inputs;
    std::deque<QString> fileNames;
    std::deque<bool> printerChoices;
    // The entries picked in the file dialogs' extra drop-downs; when none is left the choice
    // stays as the window set it.
    std::deque<int> fileChoices;

    QList<gui::Message> messages;  // every message box shown, in order
    QStringList inputPrompts;
    QStringList inputTitles;
    QStringList inputDefaults;  // the text each input box offered
    QStringList fileDialogTitles;
    QStringList fileDialogFilters;
    QStringList fileDialogStarts;  // the files open dialogs were opened on (openFileNameAt)
    QStringList proposedNames;  // the names save dialogs proposed, in order
    // The extra drop-downs of the file dialogs, as the windows set them up.
    QList<gui::FileChoice> fileChoiceOffers;
    int beeps = 0;

    const gui::Message& last() const { return messages.back(); }
};

class FakeOpener : public gui::DesktopOpener {
public:
    bool openDocument(const QString& pathOrUrl) override
    {
        documents << pathOrUrl;
        return opens;
    }
    bool openInTextEditor(const QString& path) override
    {
        edited << path;
        return opens;
    }
    QStringList documents;
    QStringList edited;
    bool opens = true;  // false: as if no program were installed for it
};

// Records a print job as text: font changes as "[font Arial 12 b i]", printed text as given,
// line ends as "\n", the end of the document as "[end]". The documents' titles are kept apart.
class FakePrinter : public gui::PrintService {
public:
    bool hasPrinter() const override { return installed; }
    void beginDocument(const QString& title) override;
    void setFont(const QString& name, double pointSize, bool bold, bool italic) override;
    void print(const QString& text, bool endLine) override;
    void endDocument() override;
    QString output;
    int documents = 0;
    QStringList titles;
    bool installed = true;  // false: as if no printer were installed
    // When set, every call is handed on to this printer too: a test that wants the real
    // document (a PDF to read back) puts the production printer here.
    gui::PrintService* alsoTo = nullptr;
};

class FakeClock : public gui::Clock {
public:
    QDateTime now() const override { return time; }
    QDateTime time = QDateTime(QDate(2026, 12, 9), QTime(18, 30, 5));
};

class FakeRandom : public gui::Random {
public:
    void seed(std::uint64_t value) override { seeds << value; }
    double next() override;
    std::deque<double> values;  // used in order, then 0
    QList<std::uint64_t> seeds;
};

struct FakeServices {
    FakePrompter prompter;
    FakeOpener opener;
    FakePrinter printer;
    FakeClock clock;
    FakeRandom random;
    gui::Services services{prompter, opener, printer, clock, random};
};

}  // namespace culvora::testing
