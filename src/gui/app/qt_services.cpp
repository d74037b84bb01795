#include "gui/app/qt_services.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QInputDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTime>
#include <QUrl>

namespace culvora::gui {

namespace {

QMessageBox::Icon toQt(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Stop: return QMessageBox::Critical;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton toQt(Answer answer)
{
    switch (answer) {
    case Answer::Ok: return QMessageBox::Ok;
    case Answer::Cancel: return QMessageBox::Cancel;
    case Answer::Yes: return QMessageBox::Yes;
    case Answer::No: return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButtons toQt(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok: return QMessageBox::Ok;
    case MessageButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

}  // namespace

Answer QtPrompter::show(const Message& message)
{
    QMessageBox box(toQt(message.icon), message.title, message.text, toQt(message.buttons),
                    parent_);
    box.setDefaultButton(toQt(message.defaultButton));
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    case QMessageBox::Ok: return Answer::Ok;
    default:
        // Closed with Escape or the close box: the safe answer.
        return message.buttons == MessageButtons::YesNo ? Answer::No : Answer::Cancel;
    }
}

void QtPrompter::beep()
{
    QApplication::beep();
}

std::optional<QString> QtPrompter::input(const QString& prompt, const QString& title,
                                         const QString& defaultText)
{
    bool ok = false;
    QString text =
        QInputDialog::getText(parent_, title, prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok) return std::nullopt;
    return text;
}

QString QtPrompter::openFileName(const QString& title, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent_, title, QString(), filter);
}

QString QtPrompter::saveFileName(const QString& title, const QString& filter,
                                 const QString& defaultSuffix)
{
    QFileDialog dialog(parent_, title, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

QPrinter* QtPrompter::printer()
{
    if (!printer_) printer_ = std::make_shared<QPrinter>(QPrinter::HighResolution);
    return printer_.get();
}

bool QtPrompter::choosePrinter()
{
    QPrintDialog dialog(printer(), parent_);
    return dialog.exec() == QDialog::Accepted;
}

bool QtDesktopOpener::openDocument(const QString& pathOrUrl)
{
    QUrl url =
        pathOrUrl.contains(QLatin1String("://")) ? QUrl(pathOrUrl) : QUrl::fromLocalFile(pathOrUrl);
    return QDesktopServices::openUrl(url);
}

namespace {

// The desktop's own choice for plain text, if it has made one.
bool desktopHasTextEditor()
{
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty()) return false;
    QProcess query;
    query.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/plain")});
    if (!query.waitForFinished(3000) || query.exitCode() != 0) return false;
    return !query.readAllStandardOutput().trimmed().isEmpty();
}

}  // namespace

bool QtDesktopOpener::openInTextEditor(const QString& path)
{
    // The desktop's editor for text files, else a graphical editor a Linux desktop usually
    // has, else the user's $VISUAL or $EDITOR in a terminal window. A program that is not
    // there is never reported as started.
    if (desktopHasTextEditor() && QProcess::startDetached(QStringLiteral("xdg-open"), {path})) {
        return true;
    }
    for (const char* program : {"gnome-text-editor", "gedit", "kate", "kwrite", "mousepad", "xed",
                                "pluma", "featherpad", "leafpad"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(program));
        if (!found.isEmpty() && QProcess::startDetached(found, {path})) return true;
    }
    const QString editor = qEnvironmentVariable("VISUAL", qEnvironmentVariable("EDITOR"));
    const QString terminal = QStandardPaths::findExecutable(QStringLiteral("x-terminal-emulator"));
    if (!editor.isEmpty() && !terminal.isEmpty() &&
        !QStandardPaths::findExecutable(editor).isEmpty()) {
        return QProcess::startDetached(terminal, {QStringLiteral("-e"), editor, path});
    }
    return false;
}

QtPrintService::~QtPrintService()
{
    if (painter_) painter_->end();
}

bool QtPrintService::begin()
{
    if (painter_) return true;
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(prompter_.printer())) {
        painter_.reset();
        return false;
    }
    x_ = 0;
    y_ = 0;
    return true;
}

void QtPrintService::setFont(const QString& name, double pointSize, bool bold, bool italic)
{
    if (!begin()) return;
    QFont font(name);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setItalic(italic);
    painter_->setFont(font);
}

void QtPrintService::print(const QString& text, bool endLine)
{
    if (!begin()) return;
    QFontMetricsF metrics(painter_->font(), painter_->device());
    const QRectF page = painter_->viewport();
    if (y_ + metrics.height() > page.height()) {
        prompter_.printer()->newPage();
        y_ = 0;
    }
    painter_->drawText(QPointF(x_, y_ + metrics.ascent()), text);
    x_ += metrics.horizontalAdvance(text);
    if (endLine) {
        x_ = 0;
        y_ += metrics.lineSpacing();
    }
}

void QtPrintService::endDocument()
{
    if (painter_) {
        painter_->end();
        painter_.reset();
    }
}

SystemRandom::SystemRandom()
    : engine_(static_cast<unsigned long>(QTime::currentTime().msecsSinceStartOfDay()))
{
}

double SystemRandom::next()
{
    return std::uniform_real_distribution<double>(0.0, 1.0)(engine_);
}

}  // namespace culvora::gui
