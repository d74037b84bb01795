#pragma once

// Printing from the windows: a printout's job replayed on the PrintService, and what the
// production printer needs to lay a job out on a Qt paint device and paint it.

#include <QFont>
#include <QString>

#include <vector>

#include "core/print/print_job.h"
#include "gui/app/services.h"

class QPaintDevice;
class QPrinter;

namespace culvora::gui {

// Sends a job to the printer as one document of that title.
void sendToPrinter(const QString& title, const print::PrintJob& job, PrintService& printer);

// The font a printout names, as this system has it: Times New Roman, Courier New and Arial
// where they are installed, else their metric twins from Liberation, else the closest serif,
// monospace or sans serif face.
QFont printerFont(const print::Font& font);

// How the printer's fonts measure on a device, in points.
class DeviceFontMetrics : public print::FontMetrics {
public:
    explicit DeviceFontMetrics(QPaintDevice* device);
    double lineHeight(const print::Font& font) const override;
    double ascent(const print::Font& font) const override;
    double width(const print::Font& font, std::string_view cp1252) const override;

private:
    QPaintDevice* device_;
    double pointsPerPixel_;
};

// The printer's paper in points with margins of 2 cm; the layout works on the whole sheet.
print::PageGeometry pageGeometry(const QPrinter& printer);

// The pages of a job as they come out of this printer.
std::vector<print::Page> layoutFor(const print::PrintJob& job, QPrinter& printer);

// Lays the job out and paints it, page by page. False when the printer could not be started
// (a PDF file that cannot be written, a printer that went away).
bool paintJob(const print::PrintJob& job, QPrinter& printer);

}  // namespace culvora::gui
