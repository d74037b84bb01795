#include "gui/app/qt_services.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTime>
#include <QTreeView>
#include <QUrl>

#include "core/files/files.h"
#include <utility>

#include "gui/app/printing.h"
#include "gui/app/qt_text.h"

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
    case Answer::Save: return QMessageBox::Save;
    case Answer::Discard: return QMessageBox::Discard;
    case Answer::Close: return QMessageBox::Close;
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
    case MessageButtons::SaveDiscardCancel:
        return QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel;
    case MessageButtons::CloseCancel: return QMessageBox::Close | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

}  // namespace

QtPrompter::QtPrompter() = default;
QtPrompter::~QtPrompter() = default;

Answer QtPrompter::show(const Message& message)
{
    QMessageBox box(toQt(message.icon), message.title, message.text, toQt(message.buttons),
                    parent_);
    box.setDefaultButton(toQt(message.defaultButton));
    // The words of the question, whatever the desktop calls these buttons ("Close without
    // Saving" on some).
    for (auto [button, text] : {std::pair{QMessageBox::Save, "Save"},
                                {QMessageBox::Discard, "Discard"},
                                {QMessageBox::Close, "Close"}}) {
        if (QAbstractButton* shown = box.button(button)) shown->setText(QLatin1String(text));
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Save: return Answer::Save;
    case QMessageBox::Discard: return Answer::Discard;
    case QMessageBox::Close: return Answer::Close;
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

void QtPrompter::setFolderSettings(const QString& iniFile)
{
    folderSettings_ = iniFile;
    lastFolder_.reset();
}

QString QtPrompter::settingsFile() const
{
    if (!folderSettings_.isEmpty()) return folderSettings_;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/culvora/culvora.ini");
}

QString QtPrompter::rememberedFolder()
{
    if (!lastFolder_) {
        lastFolder_ = QSettings(settingsFile(), QSettings::IniFormat)
                          .value(QStringLiteral("FileDialogs/lastFolder"))
                          .toString();
    }
    if (!lastFolder_->isEmpty() && QFileInfo(*lastFolder_).isDir()) return *lastFolder_;
    return {};
}

QString QtPrompter::startFolder()
{
    const QString folder = rememberedFolder();
    return folder.isEmpty() ? QDir::homePath() : folder;
}

void QtPrompter::prepare(QFileDialog& dialog)
{
    // Qt's own dialog everywhere: it looks the same in every window, takes a further row of
    // controls where one is needed, and its columns can be made to fit.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setViewMode(QFileDialog::Detail);
    dialog.resize(dialog.sizeHint().expandedTo(QSize(900, 520)));
    // The name takes the room the size, type and date leave, and those show whole instead of
    // ending in "...".
    if (auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = view->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < 4; ++column) {
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
        }
    }
}

QString QtPrompter::finish(QFileDialog& dialog)
{
    if (dialog.result() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString file = dialog.selectedFiles().constFirst();
    lastFolder_ = QFileInfo(file).absolutePath();
    QSettings settings(settingsFile(), QSettings::IniFormat);
    settings.setValue(QStringLiteral("FileDialogs/lastFolder"), *lastFolder_);
    return file;
}

QString QtPrompter::openFileName(const QString& title, const QString& filter)
{
    QFileDialog dialog(parent_, title, startFolder(), filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    prepare(dialog);
    dialog.exec();
    return finish(dialog);
}

QString QtPrompter::openFileNameAt(const QString& title, const QString& filter,
                                   const QString& startFile)
{
    return QFileDialog::getOpenFileName(parent_, title, startFile, filter);
}

QString QtPrompter::openFileNameWithChoice(const QString& title, const QString& filter,
                                           FileChoice& choice)
{
    QFileDialog dialog(parent_, title, startFolder(), filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    prepare(dialog);
    auto* label = new QLabel(choice.label, &dialog);
    auto* options = new QComboBox(&dialog);
    options->addItems(choice.options);
    options->setCurrentIndex(choice.chosen);
    label->setBuddy(options);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        const int row = grid->rowCount();
        grid->addWidget(label, row, 0);
        grid->addWidget(options, row, 1);
    }
    dialog.exec();
    const QString file = finish(dialog);
    if (!file.isEmpty()) choice.chosen = options->currentIndex();
    return file;
}

QString QtPrompter::saveFileName(const QString& title, const QString& filter,
                                 const QString& defaultSuffix, const QString& proposedName)
{
    // A proposed bare name starts out in the folder last used; before any, in the user's
    // documents folder, where such files go.
    QString start = startFolder();
    if (!proposedName.isEmpty()) {
        QString folder = rememberedFolder();
        if (folder.isEmpty()) {
            folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
            if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = QDir::homePath();
        }
        start = QFileInfo(proposedName).isRelative() ? QDir(folder).filePath(proposedName)
                                                     : proposedName;
    }
    QFileDialog dialog(parent_, title, start, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    prepare(dialog);
    dialog.exec();
    return finish(dialog);
}

bool QtPrompter::choosePrinter()
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(printer.get(), parent_);
    if (dialog.exec() != QDialog::Accepted) {
        chosen_.reset();
        return false;
    }
    chosen_ = std::move(printer);
    return true;
}

std::unique_ptr<QPrinter> QtPrompter::takeChosenPrinter()
{
    return std::move(chosen_);
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

QtPrintService::QtPrintService(Prompter& prompter, DesktopOpener& opener, QtPrompter* dialogs)
    : prompter_(prompter),
      opener_(opener),
      dialogs_(dialogs)
{
}

QtPrintService::~QtPrintService() = default;

bool QtPrintService::hasPrinter() const
{
    if (printerCheck_) return printerCheck_();
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

void QtPrintService::beginDocument(const QString& title)
{
    title_ = title;
    job_ = {};
}

void QtPrintService::setFont(const QString& name, double pointSize, bool bold, bool italic)
{
    job_.setFont({toCp(name).value_or(name.toLatin1().toStdString()), pointSize, bold, italic});
}

void QtPrintService::print(const QString& text, bool endLine)
{
    // The windows print texts that came from the data files, which Windows-1252 holds.
    job_.print(toCp(text).value_or(text.toLatin1().toStdString()), endLine);
}

void QtPrintService::endDocument()
{
    job_.end();
    printDocument();
    job_ = {};
    title_.clear();
}

QString QtPrintService::pdfName(const QString& title)
{
    QString name = title.trimmed();
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    for (QChar& c : name) {
        if (forbidden.contains(c) || c.category() == QChar::Other_Control) c = QLatin1Char('-');
    }
    while (name.startsWith(QLatin1Char('.'))) name.remove(0, 1);
    if (name.isEmpty()) name = QStringLiteral("Printout");
    return name + QStringLiteral(".pdf");
}

void QtPrintService::printDocument()
{
    std::unique_ptr<QPrinter> printer;
    QString pdf;
    if (hasPrinter()) {
        if (dialogs_) printer = dialogs_->takeChosenPrinter();
        if (!printer) printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    } else {
        // No printer: the printout becomes a PDF, or nothing at all when the user cancels.
        pdf = prompter_.saveFileName(QStringLiteral("Save the printout as a PDF"),
                                     QStringLiteral("PDF documents (*.pdf)"), QStringLiteral("pdf"),
                                     pdfName(title_));
        if (pdf.isEmpty()) return;
        // Only where nothing or a plain file stands: never through a link, into a device.
        if (auto target = checkOutputFile(QFile::encodeName(pdf).toStdString()); !target) {
            prompter_.inform(toQString(target.error()), QStringLiteral("Error"),
                             MessageIcon::Exclamation);
            return;
        }
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        printer->setPageSize(QPageSize(QPageSize::A4));
    }
    printer->setDocName(title_);
    printer->setCreator(QStringLiteral("Culvora"));
    if (!paintJob(job_, *printer)) {
        const QString text =
            pdf.isEmpty()
                ? QStringLiteral("\"%1\" could not be printed: the printer \"%2\" did not "
                                 "take the document.")
                      .arg(title_, printer->printerName())
                : QStringLiteral("\"%1\" could not be saved as \"%2\". Choose a folder you "
                                 "may write to.")
                      .arg(title_, pdf);
        prompter_.inform(text, QStringLiteral("Error"), MessageIcon::Exclamation);
        return;
    }
    if (!pdf.isEmpty() && !opener_.openDocument(pdf)) {
        prompter_.inform(QStringLiteral("The printout was saved as \"%1\".").arg(pdf),
                         QStringLiteral("Info"), MessageIcon::Information);
    }
}

SystemRandom::SystemRandom()
    : engine_(static_cast<unsigned long>(QTime::currentTime().msecsSinceStartOfDay()))
{
}

void SystemRandom::seed(std::uint64_t value)
{
    engine_.seed(value);
}

double SystemRandom::next()
{
    return std::uniform_real_distribution<double>(0.0, 1.0)(engine_);
}

}  // namespace culvora::gui
