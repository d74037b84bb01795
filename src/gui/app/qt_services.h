#pragma once

// The production services: Qt's message boxes, dialogs, desktop services and printer.

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <random>

#include "core/print/print_job.h"
#include "gui/app/services.h"

class QFileDialog;
class QPrinter;

namespace culvora::gui {

class QtPrompter : public Prompter {
public:
    QtPrompter();
    ~QtPrompter() override;
    // Message boxes are parented to the main window once it exists.
    void setParentWindow(QWidget* parent) { parent_ = parent; }
    Answer show(const Message& message) override;
    void beep() override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    QString openFileName(const QString& title, const QString& filter) override;
    QString openFileNameAt(const QString& title, const QString& filter,
                           const QString& startFile) override;
    QString saveFileName(const QString& title, const QString& filter, const QString& defaultSuffix,
                         const QString& proposedName) override;
    QString openFileNameWithChoice(const QString& title, const QString& filter,
                                   FileChoice& choice) override;
    bool choosePrinter() override;

    // Every file dialog starts in the folder of the file last chosen in any of them, kept in
    // this settings file for the next start (the user's culvora/culvora.ini unless a test
    // names another). The home folder until a file has been chosen, or when that folder has
    // gone.
    void setFolderSettings(const QString& iniFile);
    QString startFolder();

    // The printer the print dialog set up, once: the next document goes there. Nothing when
    // the dialog has not been shown since, so a printout without a dialog goes to the
    // default printer, not to a file chosen for another one.
    std::unique_ptr<QPrinter> takeChosenPrinter();

private:
    // The dialog's first folder, size and columns; after it closed, its folder remembered.
    void prepare(QFileDialog& dialog);
    QString finish(QFileDialog& dialog);
    QString settingsFile() const;
    // The folder of the file last chosen, when it is still there; else empty.
    QString rememberedFolder();

    QPointer<QWidget> parent_;
    std::unique_ptr<QPrinter> chosen_;
    QString folderSettings_;
    std::optional<QString> lastFolder_;  // read from the settings at the first dialog
};

class QtDesktopOpener : public DesktopOpener {
public:
    bool openDocument(const QString& pathOrUrl) override;
    bool openInTextEditor(const QString& path) override;
};

// Collects a document's calls and, at its end, lays it out on the page and prints it: on the
// printer when one is installed, else into a PDF the user names, which then opens.
class QtPrintService : public PrintService {
public:
    // `dialogs`, when given, hands over the printer its print dialog set up.
    QtPrintService(Prompter& prompter, DesktopOpener& opener, QtPrompter* dialogs = nullptr);
    ~QtPrintService() override;

    bool hasPrinter() const override;
    void beginDocument(const QString& title) override;
    void setFont(const QString& name, double pointSize, bool bold, bool italic) override;
    void print(const QString& text, bool endLine) override;
    void endDocument() override;

    // Replaces the look-up of installed printers (tests, and machines without CUPS).
    void setPrinterCheck(std::function<bool()> check) { printerCheck_ = std::move(check); }
    // The file name the save dialog proposes for a document title: the title without the
    // characters a file name cannot hold, and ".pdf".
    static QString pdfName(const QString& title);

private:
    void printDocument();

    Prompter& prompter_;
    DesktopOpener& opener_;
    QtPrompter* dialogs_;
    std::function<bool()> printerCheck_;
    QString title_;
    print::PrintJob job_;
};

class SystemClock : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

class SystemRandom : public Random {
public:
    SystemRandom();
    void seed(std::uint64_t value) override;
    double next() override;

private:
    std::mt19937_64 engine_;
};

// All production services in one place, owned by Main.
struct QtServices {
    QtPrompter prompter;
    QtDesktopOpener opener;
    QtPrintService printer{prompter, opener, &prompter};
    SystemClock clock;
    SystemRandom random;
    Services services{prompter, opener, printer, clock, random};
};

}  // namespace culvora::gui
