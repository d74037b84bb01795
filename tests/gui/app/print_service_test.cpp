// The production printer without a printer installed: a document becomes a PDF the user names,
// laid out page by page as the core layout says, in the fonts this system has.

#include <sys/stat.h>

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPrinter>
#include <QTest>

#include <filesystem>

#include "core/print/print_job.h"
#include "gui/app/printing.h"
#include "gui/app/qt_services.h"
#include "support/fake_services.h"
#include "support/gui_helpers.h"
#include "support/pdf_text.h"
#include "support/printout_readback.h"
#include "support/temp_dir.h"

using namespace culvora;
using namespace culvora::gui;
using culvora::testing::FakeServices;
using culvora::testing::messageShape;
using culvora::testing::readPdf;
using culvora::testing::TempDir;
using culvora::testing::wordsOf;

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
        const auto pdf = readPdf(file.toStdString());
        QVERIFY2(pdf.ok(), pdf.error.c_str());

        // As many pages as the layout gives on an A4 sheet measured with the same fonts, each
        // with the lines the layout put on it.
        QPrinter a4(QPrinter::HighResolution);
        a4.setOutputFormat(QPrinter::PdfFormat);
        a4.setPageSize(QPageSize(QPageSize::A4));
        const auto pages = layoutFor(job, a4);
        QVERIFY2(pages.size() >= 3, qPrintable(QString::number(pages.size())));
        QCOMPARE(pdf.pageCount, static_cast<int>(pages.size()));
        QCOMPARE(pdf.pages.size(), pages.size());
        QVERIFY(pdf.pages.front().find("Menu for the week") != std::string::npos);
        // The letters beyond ASCII come back as themselves, not as boxes or question marks.
        QVERIFY2(pdf.words().find("Line 1: 2 dl cr\u00E8me fra\u00EEche, 1 tsk salt\n") !=
                     std::string::npos,
                 pdf.text.c_str());
        for (std::size_t i = 0; i < pages.size(); ++i) {
            for (const auto& placed : pages[i].texts) {
                if (!placed.text.starts_with("Line ")) continue;
                const std::string number = placed.text.substr(0, placed.text.find(':') + 1);
                QVERIFY2(pdf.pages[i].find(number) != std::string::npos, number.c_str());
            }
        }
        QVERIFY(pdf.pages.back().find("Line 139:") != std::string::npos);
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
        const auto pdf = readPdf(file.toStdString());
        QVERIFY2(pdf.ok(), pdf.error.c_str());
        QCOMPARE(pdf.pageCount, 1);
        QCOMPARE(QString::fromStdString(pdf.words()), QStringLiteral("One line\n\f"));
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

    void linesWiderThanThePageComeBackWholeInsideTheMargins()
    {
        // A title, an ingredient line and a long instruction in the printouts' fonts, a cut
        // word, then enough of them to go over several pages.
        const std::string name =
            "Grandmother's slow-braised shoulder of lamb with rosemary, garlic, anchovies and "
            "a gratin of potatoes and celeriac";
        const std::string ingredient =
            "1 can (400 g) chickpeas, rinsed and drained, with the liquid from the can kept "
            "aside for whipping into a foam later on, plus 2 tablespoons of olive oil";
        const std::string word(300, 'w');
        print::PrintJob job;
        std::string all;
        auto line = [&](double points, bool bold, const std::string& text) {
            job.setFont({"Courier New", 8.25, true, false});
            job.print("   ", false);
            job.setFont({"Times New Roman", points, bold, false});
            job.print(text);
            all += text + "\n";
        };
        for (int i = 0; i < 12; ++i) {
            line(24, false, name);
            line(12, true, "Ingredients: " + std::to_string(i));
            line(10, false, ingredient);
            line(10, false, "\xC4ppelpaj " + ingredient + " " + ingredient);
        }
        line(10, false, "Whole " + word + " ends");
        job.end();

        NoPrinter p;
        const QString file = path(p.dir, "Lamb.pdf");
        p.fakes.prompter.fileNames.push_back(file);
        sendToPrinter(QStringLiteral("Lamb"), job, p.printer);
        const auto pdf = testing::readPdfWords(file.toStdString());
        QVERIFY2(pdf.ok(), pdf.error.c_str());

        // Every word in order, the cut one in pieces that join up again.
        std::vector<std::string> words = pdf.texts();
        QVERIFY(words.size() > 3);
        std::string cut;
        while (words.size() > 1 && words[words.size() - 2] != "Whole") {
            cut = words[words.size() - 2] + cut;
            words.erase(words.end() - 2);
        }
        QCOMPARE(cut, word);
        words.insert(words.end() - 1, word);
        auto expected = wordsOf(all);
        for (auto& each : expected) {
            if (each == "\xC4ppelpaj") each = "\u00C4ppelpaj";
        }
        QVERIFY(words == expected);

        const std::string problems = testing::misplacedWords(pdf);
        QVERIFY2(problems.empty(), problems.c_str());
        QPrinter a4(QPrinter::HighResolution);
        a4.setOutputFormat(QPrinter::PdfFormat);
        a4.setPageSize(QPageSize(QPageSize::A4));
        QVERIFY(pdf.pageCount() >= 2);
        QCOMPARE(pdf.pageCount(), static_cast<int>(layoutFor(job, a4).size()));
    }

    void thePlainMeasureIsNeverNarrowerThanTheFaces()
    {
        // culvora-cli lays its PDFs out without a font engine: no character may print wider
        // than it measured, in the faces the printouts use (or their metric twins).
        QPrinter a4(QPrinter::HighResolution);
        a4.setOutputFormat(QPrinter::PdfFormat);
        const DeviceFontMetrics device(&a4);
        const print::PlainMetrics plain;
        for (const char* face : {"Times New Roman", "Arial"}) {
            // Without the faces or their Liberation twins (scripts/setup installs them) the
            // printer's fonts are others, of other widths.
            const QString family = QFontInfo(printerFont({face, 10, false, false})).family();
            if (family != QLatin1String(face) && !family.startsWith(QLatin1String("Liberation"))) {
                QSKIP(
                    qPrintable(QStringLiteral("%1 prints as %2").arg(QLatin1String(face), family)));
            }
            for (const bool bold : {false, true}) {
                for (const bool italic : {false, true}) {
                    const print::Font font{face, 10, bold, italic};
                    for (int c = 0x20; c <= 0xFF; ++c) {
                        if (c == 0x7F || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 ||
                            c == 0x9D || c == 0xA0) {
                            continue;
                        }
                        const std::string one(1, static_cast<char>(c));
                        QVERIFY2(device.width(font, one) <= plain.width(font, one) + 1e-6,
                                 qPrintable(QStringLiteral("%1 %2%3: 0x%4 is %5 wide, measured %6")
                                                .arg(QLatin1String(face))
                                                .arg(bold ? QStringLiteral("bold ") : QString())
                                                .arg(italic ? QStringLiteral("italic") : QString())
                                                .arg(c, 0, 16)
                                                .arg(device.width(font, one))
                                                .arg(plain.width(font, one))));
                    }
                }
            }
        }
    }
};

QTEST_MAIN(PrintServiceTest)
#include "print_service_test.moc"
