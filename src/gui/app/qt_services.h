#pragma once

// The production services: Qt's message boxes, dialogs, desktop services and printer.

#include <QPointer>
#include <QWidget>

#include <memory>
#include <random>

#include "gui/app/services.h"

#include <QPainter>
class QPrinter;

namespace culvora::gui {

class QtPrompter : public Prompter {
public:
    // Message boxes are parented to the main window once it exists.
    void setParentWindow(QWidget* parent) { parent_ = parent; }
    Answer show(const Message& message) override;
    void beep() override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    QString openFileName(const QString& title, const QString& filter) override;
    QString saveFileName(const QString& title, const QString& filter,
                         const QString& defaultSuffix) override;
    bool choosePrinter() override;

    QPrinter* printer();

private:
    QPointer<QWidget> parent_;
    std::shared_ptr<QPrinter> printer_;
};

class QtDesktopOpener : public DesktopOpener {
public:
    bool openDocument(const QString& pathOrUrl) override;
    bool openInTextEditor(const QString& path) override;
};

// Prints line by line on the printer the print dialog chose; a page is started when the text
// reaches the bottom margin.
class QtPrintService : public PrintService {
public:
    explicit QtPrintService(QtPrompter& prompter) : prompter_(prompter) {}
    ~QtPrintService() override;
    void setFont(const QString& name, double pointSize, bool bold, bool italic) override;
    void print(const QString& text, bool endLine) override;
    void endDocument() override;

private:
    bool begin();
    QtPrompter& prompter_;
    std::unique_ptr<QPainter> painter_;
    double x_ = 0;
    double y_ = 0;
};

class SystemClock : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

class SystemRandom : public Random {
public:
    SystemRandom();
    double next() override;

private:
    std::mt19937_64 engine_;
};

// All production services in one place, owned by Main.
struct QtServices {
    QtPrompter prompter;
    QtDesktopOpener opener;
    QtPrintService printer{prompter};
    SystemClock clock;
    SystemRandom random;
    Services services{prompter, opener, printer, clock, random};
};

}  // namespace culvora::gui
