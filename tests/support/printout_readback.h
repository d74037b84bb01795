#pragma once

// A window's printout as the cook would hold it: the fake printer hands the document on to
// the production printer, which (with no printer installed) lays it out on A4 and saves it as
// a PDF; the PDF's words are then read back and set beside the words the window printed.

#include <QRegularExpression>
#include <QString>

#include <string>
#include <vector>

#include "core/print/print_job.h"
#include "gui/app/qt_services.h"
#include "support/fake_services.h"
#include "support/pdf_words.h"
#include "support/temp_dir.h"

namespace culvora::testing {

class PdfPrintout {
public:
    explicit PdfPrintout(FakeServices& fakes)
        : fakes_(fakes),
          printer_(fakes.prompter, fakes.opener)
    {
        printer_.setPrinterCheck([] { return false; });
        fakes.printer.alsoTo = &printer_;
    }
    ~PdfPrintout() { fakes_.printer.alsoTo = nullptr; }
    PdfPrintout(const PdfPrintout&) = delete;
    PdfPrintout& operator=(const PdfPrintout&) = delete;

    // The next document goes into this file.
    std::filesystem::path expect(const std::string& name)
    {
        const std::filesystem::path file = dir_.file(name);
        fakes_.prompter.fileNames.push_back(QString::fromStdString(file.string()));
        return file;
    }

private:
    FakeServices& fakes_;
    gui::QtPrintService printer_;
    TempDir dir_;
};

// The words the fake printer was given for its documents, in order: the texts without the
// font changes and the ends of the documents.
inline std::vector<std::string> printedWords(const QString& output)
{
    QString text = output;
    text.remove(QRegularExpression(QStringLiteral("\\[font [^\\]]*\\]")));
    text.remove(QStringLiteral("[end]"));
    return wordsOf(text.toStdString());
}

// What is wrong with where the words stand: a word outside the margins of its page (those of
// the core layout, as the production printer uses it), an empty page, or a page other than the
// last that ends well above its bottom margin. Empty when all is well.
inline std::string misplacedWords(const PdfWords& pdf)
{
    const print::PageGeometry sheet;
    constexpr double kSlack = 0.5;  // points: the reader's boxes are rounded
    std::string problems;
    std::vector<double> lowest(pdf.pageWidths.size(), 0);
    for (const PdfWord& word : pdf.words) {
        const double width = pdf.pageWidths[static_cast<std::size_t>(word.page)];
        const double height = pdf.pageHeights[static_cast<std::size_t>(word.page)];
        if (word.xMin < sheet.margin - kSlack || word.xMax > width - sheet.margin + kSlack ||
            word.yMin < sheet.margin - kSlack || word.yMax > height - sheet.margin + kSlack) {
            problems += "\"" + word.text + "\" on page " + std::to_string(word.page + 1) +
                        " stands at x " + std::to_string(word.xMin) + " to " +
                        std::to_string(word.xMax) + ", y " + std::to_string(word.yMin) + " to " +
                        std::to_string(word.yMax) + "\n";
        }
        auto& low = lowest[static_cast<std::size_t>(word.page)];
        low = std::max(low, word.yMax);
    }
    for (std::size_t page = 0; page < lowest.size(); ++page) {
        if (lowest[page] == 0) problems += "page " + std::to_string(page + 1) + " is empty\n";
    }
    for (std::size_t page = 0; page + 1 < lowest.size(); ++page) {
        // A full page ends within two rows of the bottom margin.
        if (lowest[page] < pdf.pageHeights[page] - sheet.margin - 60) {
            problems += "page " + std::to_string(page + 1) + " ends at y " +
                        std::to_string(lowest[page]) + ", well above the bottom margin\n";
        }
    }
    return problems;
}

}  // namespace culvora::testing
