// The production printer without a printer installed: a document becomes a PDF the user names,
// laid out page by page as the core layout says, in the fonts this system has.

#include <sys/stat.h>

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPrinter>
#include <QRegularExpression>
#include <QTest>

#include <filesystem>

#include "core/print/print_job.h"
#include "gui/app/printing.h"
#include "gui/app/qt_services.h"
#include "support/fake_services.h"
#include "support/gui_helpers.h"
#include "support/temp_dir.h"

using namespace culvora;
using namespace culvora::gui;
using culvora::testing::FakeServices;
using culvora::testing::messageShape;
using culvora::testing::TempDir;

namespace {

// Long enough for several pages, in every font and style the printouts use, with a line of
// letters Windows-1252 has beyond ASCII.
print::PrintJob longJob()
{
    print::PrintJob job;
    job.setFont({"Arial", 20.25, true, true});
    job.print("       Menu for the week");
    for (int i = 0; i < 140; ++i) {
        job.setFont({"Courier New", 8.25, true, false});
        job.print("   ", false);
        job.setFont({"Times New Roman", i % 10 == 0 ? 24.0 : 10.0, i % 7 == 0, false});
        job.print("Line " + std::to_string(i) +
                  ": 2 dl cr\xE8me fra\xEE"
                  "che, 1 tsk salt");
    }
    job.end();
    return job;
}

// The pages of a PDF as its page tree counts them.
int pdfPageCount(const QByteArray& pdf)
{
    const auto match =
        QRegularExpression(QStringLiteral("/Type\\s*/Pages\\b[^>]*?/Count\\s+(\\d+)"))
            .match(QString::fromLatin1(pdf));
    if (match.hasMatch()) return match.captured(1).toInt();
    const auto reverse =
        QRegularExpression(QStringLiteral("/Count\\s+(\\d+)[^>]*?/Type\\s*/Pages\\b"))
            .match(QString::fromLatin1(pdf));
    return reverse.hasMatch() ? reverse.captured(1).toInt() : -1;
}

QString path(const TempDir& dir, const char* name)
{
    return QString::fromStdString(dir.file(name).string());
}

struct NoPrinter {
    FakeServices fakes;
    QtPrintService printer{fakes.prompter, fakes.opener};
    TempDir dir;

    NoPrinter()
    {
        printer.setPrinterCheck([] { return false; });
    }
};

}  // namespace

class PrintServiceTest : public QObject {
    Q_OBJECT
private slots:
    void withoutAPrinterTheDocumentBecomesTheChosenPdf()
    {
        NoPrinter p;
        const QString file = path(p.dir, "Week.pdf");
        p.fakes.prompter.fileNames.push_back(file);
        QVERIFY(!p.printer.hasPrinter());
        const print::PrintJob job = longJob();
        sendToPrinter(QStringLiteral("Menu for the week"), job, p.printer);

        QCOMPARE(p.fakes.prompter.fileDialogTitles,
                 QStringList{QStringLiteral("Save the printout as a PDF")});
        QCOMPARE(p.fakes.prompter.proposedNames,
                 QStringList{QStringLiteral("Menu for the week.pdf")});
        QFile pdf(file);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF-"));

        // As many pages as the layout gives on an A4 sheet measured with the same fonts.
        QPrinter a4(QPrinter::HighResolution);
        a4.setOutputFormat(QPrinter::PdfFormat);
        a4.setPageSize(QPageSize(QPageSize::A4));
        const auto pages = layoutFor(job, a4);
        QVERIFY2(pages.size() >= 3, qPrintable(QString::number(pages.size())));
        QCOMPARE(pdfPageCount(bytes), static_cast<int>(pages.size()));
        // The layout is the core's: 2 cm margins on A4, nothing below the bottom one.
        const print::PageGeometry sheet = pageGeometry(a4);
        QVERIFY(std::abs(sheet.width - 595.28) < 1 && std::abs(sheet.height - 841.89) < 1);
        for (const auto& page : pages) {
            for (const auto& text : page.texts) {
                QVERIFY(text.x >= sheet.margin - 0.01);
                QVERIFY(text.baseline <= sheet.height - sheet.margin);
            }
        }

        // The PDF opens for the user to look at or print; nothing else is said.
        QCOMPARE(p.fakes.opener.documents, QStringList{file});
        QVERIFY(p.fakes.prompter.messages.isEmpty());
    }

    void aCancelledSaveDialogLeavesEverythingAsItWas()
    {
        NoPrinter p;
        sendToPrinter(QStringLiteral("Apple pie"), longJob(), p.printer);
        QCOMPARE(p.fakes.prompter.proposedNames, QStringList{QStringLiteral("Apple pie.pdf")});
        QVERIFY(std::filesystem::is_empty(p.dir.path()));
        QVERIFY(p.fakes.opener.documents.isEmpty());
        QVERIFY(p.fakes.prompter.messages.isEmpty());

        // The next document starts afresh: nothing of the cancelled one is left over.
        const QString file = path(p.dir, "short.pdf");
        p.fakes.prompter.fileNames.push_back(file);
        print::PrintJob one;
        one.print("One line");
        one.end();
        sendToPrinter(QStringLiteral("Short"), one, p.printer);
        QFile pdf(file);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QCOMPARE(pdfPageCount(pdf.readAll()), 1);
    }

    void aPdfThatCannotBeWrittenIsReported()
    {
        NoPrinter p;
        const QString file = path(p.dir, "no such folder/Week.pdf");
        p.fakes.prompter.fileNames.push_back(file);
        sendToPrinter(QStringLiteral("Menu for the week"), longJob(), p.printer);
        QVERIFY(p.fakes.opener.documents.isEmpty());
        QCOMPARE(p.fakes.prompter.messages.size(), 1);
        QCOMPARE(messageShape(p.fakes.prompter.last()),
                 QStringLiteral("[Error] Exclamation Ok default Ok: \"Menu for the week\" could "
                                "not be saved as \"%1\". Choose a folder you may write to.")
                     .arg(file));
    }

    // A link or a FIFO where the PDF should go is refused, and what it leads to is left alone.
    void aPdfGoesOnlyWhereNothingOrAPlainFileStands()
    {
        NoPrinter p;
        p.dir.write("keep.txt", "keep");
        std::filesystem::create_symlink(p.dir.file("keep.txt"), p.dir.file("link.pdf"));
        QCOMPARE(::mkfifo(p.dir.file("fifo.pdf").c_str(), 0600), 0);
        for (const char* name : {"link.pdf", "fifo.pdf"}) {
            p.fakes.prompter.fileNames.push_back(path(p.dir, name));
            sendToPrinter(QStringLiteral("Menu for the week"), longJob(), p.printer);
            QVERIFY2(p.fakes.prompter.last().text.startsWith(QStringLiteral("Nothing was written")),
                     qPrintable(p.fakes.prompter.last().text));
        }
        QCOMPARE(p.fakes.prompter.messages.size(), 2);
        QVERIFY(p.fakes.opener.documents.isEmpty());
        QCOMPARE(p.dir.read("keep.txt"), std::string("keep"));
        QVERIFY(std::filesystem::is_symlink(p.dir.file("link.pdf")));
        QVERIFY(std::filesystem::is_fifo(p.dir.file("fifo.pdf")));
    }

    void aPdfThatNoProgramOpensIsNamed()
    {
        NoPrinter p;
        const QString file = path(p.dir, "Week.pdf");
        p.fakes.prompter.fileNames.push_back(file);
        p.fakes.opener.opens = false;
        sendToPrinter(QStringLiteral("Menu for the week"), longJob(), p.printer);
        QVERIFY(QFile::exists(file));
        QCOMPARE(messageShape(p.fakes.prompter.last()),
                 QStringLiteral("[Info] Information Ok default Ok: The printout was saved as "
                                "\"%1\".")
                     .arg(file));
    }

    void theProposedNameHoldsNoCharacterAFileNameCannot()
    {
        const std::pair<const char*, const char*> cases[] = {
            {"Apple pie", "Apple pie.pdf"},
            {"Fish/chips: \"best\"?", "Fish-chips- -best--.pdf"},
            {"..hidden", "hidden.pdf"},
            {"  ", "Printout.pdf"},
        };
        for (const auto& [title, name] : cases) {
            QCOMPARE(QtPrintService::pdfName(QString::fromUtf8(title)), QString::fromUtf8(name));
        }
    }

    void theClassicFacesFallBackToInstalledOnes()
    {
        const QStringList installed = QFontDatabase::families();
        struct Case {
            const char* name;
            const char* twin;
            bool fixed;
        };
        const Case cases[] = {{"Times New Roman", "Liberation Serif", false},
                              {"Courier New", "Liberation Mono", true},
                              {"Arial", "Liberation Sans", false}};
        for (const Case& c : cases) {
            const QFontInfo info(printerFont({c.name, 12, false, false}));
            QVERIFY2(installed.contains(info.family()), qPrintable(info.family()));
            QCOMPARE(info.fixedPitch(), c.fixed);
            // The face itself where it is installed, else its metric twin.
            const QString face = QLatin1String(c.name);
            const QString twin = QLatin1String(c.twin);
            if (installed.contains(face)) {
                QCOMPARE(info.family(), face);
            } else if (installed.contains(twin)) {
                QCOMPARE(info.family(), twin);
            }
        }
        const QFont heading = printerFont({"Arial", 20.25, true, true});
        QVERIFY(heading.bold() && heading.italic());
        QCOMPARE(heading.pointSizeF(), 20.25);
    }
};

QTEST_MAIN(PrintServiceTest)
#include "print_service_test.moc"
