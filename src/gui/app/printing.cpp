#include "gui/app/printing.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

#include <variant>

#include "gui/app/qt_text.h"
#include "gui/theme/theme.h"

namespace culvora::gui {

void sendToPrinter(const QString& title, const print::PrintJob& job, PrintService& printer)
{
    printer.beginDocument(title);
    for (const auto& op : job.ops()) {
        if (const auto* set = std::get_if<print::SetFont>(&op)) {
            printer.setFont(fromCp(set->font.name), set->font.points, set->font.bold,
                            set->font.italic);
        } else if (const auto* text = std::get_if<print::PrintText>(&op)) {
            printer.print(fromCp(text->text), text->endLine);
        } else {
            printer.endDocument();
        }
    }
}

QFont printerFont(const print::Font& font)
{
    const QString name = fromCp(font.name);
    auto names = [&name](std::initializer_list<const char*> words) {
        for (const char* word : words) {
            if (name.contains(QLatin1String(word), Qt::CaseInsensitive)) return true;
        }
        return false;
    };
    QStringList families{name};
    QFont::StyleHint hint = QFont::Serif;
    if (names({"Courier", "Mono", "Console"})) {
        families << QStringLiteral("Liberation Mono") << QStringLiteral("DejaVu Sans Mono");
        hint = QFont::Monospace;
    } else if (names({"Arial", "Helvetica", "Sans", "Verdana", "Tahoma"})) {
        families << QStringLiteral("Liberation Sans") << QStringLiteral("DejaVu Sans");
        hint = QFont::SansSerif;
    } else {
        families << QStringLiteral("Liberation Serif") << QStringLiteral("DejaVu Serif");
    }
    QFont qfont;
    qfont.setFamilies(families);
    qfont.setStyleHint(hint);
    qfont.setFixedPitch(hint == QFont::Monospace);
    qfont.setPointSizeF(font.points > 0 ? font.points : 12);
    qfont.setBold(font.bold);
    qfont.setItalic(font.italic);
    return qfont;
}

DeviceFontMetrics::DeviceFontMetrics(QPaintDevice* device)
    : device_(device),
      pointsPerPixel_(72.0 / device->logicalDpiY())
{
}

double DeviceFontMetrics::lineHeight(const print::Font& font) const
{
    return QFontMetricsF(printerFont(font), device_).lineSpacing() * pointsPerPixel_;
}

double DeviceFontMetrics::ascent(const print::Font& font) const
{
    return QFontMetricsF(printerFont(font), device_).ascent() * pointsPerPixel_;
}

double DeviceFontMetrics::width(const print::Font& font, std::string_view cp1252) const
{
    return QFontMetricsF(printerFont(font), device_).horizontalAdvance(fromCp(cp1252)) *
           pointsPerPixel_;
}

print::PageGeometry pageGeometry(const QPrinter& printer)
{
    const QRectF paper = printer.pageLayout().fullRect(QPageLayout::Point);
    print::PageGeometry geometry;
    if (paper.width() > 0 && paper.height() > 0) {
        geometry.width = paper.width();
        geometry.height = paper.height();
    }
    return geometry;
}

std::vector<print::Page> layoutFor(const print::PrintJob& job, QPrinter& printer)
{
    return print::layoutPages(job, DeviceFontMetrics(&printer), pageGeometry(printer));
}

bool paintJob(const print::PrintJob& job, QPrinter& printer)
{
    // The layout keeps its own margins, so the painter starts at the paper's corner.
    printer.setFullPage(true);
    const std::vector<print::Page> pages = layoutFor(job, printer);
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    painter.setPen(theme::kPrintInk);
    const double pixelsPerPoint = printer.logicalDpiY() / 72.0;
    const double pixelsPerPointX = printer.logicalDpiX() / 72.0;
    bool first = true;
    for (const auto& page : pages) {
        if (!first && !printer.newPage()) {
            painter.end();
            return false;
        }
        first = false;
        for (const auto& text : page.texts) {
            painter.setFont(printerFont(text.font));
            painter.drawText(QPointF(text.x * pixelsPerPointX, text.baseline * pixelsPerPoint),
                             fromCp(text.text));
        }
    }
    return painter.end();
}

}  // namespace culvora::gui
