// Prints a PrintJob with QPainter: the user's printer, its preview, or a PDF file. A column is
// the average character width of the font the text is set in, measured at the device's own
// resolution, so the layout on paper matches the layout the job was measured for.
#pragma once

#include <QFont>
#include <filesystem>
#include <functional>
#include <string_view>

#include "platform/print_model.h"
#include "platform/write_result.h"

class QPaintDevice;
class QPagedPaintDevice;
class QPrinter;

namespace kestrel {

// The font a job names, at its size; a family the system lacks falls back to a sans serif
// (Arial itself is served by its metric twin, Liberation Sans).
QFont PrintQFont(const PrintFont& font);

// Text widths in columns, measured on the device that will print them.
class DeviceColumnMetrics : public ColumnMetrics {
  public:
    explicit DeviceColumnMetrics(QPaintDevice& device) : device_(device) {}
    double Columns(std::string_view text, const PrintFont& font) const override;
    // The width of one column of `font` on the device, in device pixels.
    double ColumnWidth(const PrintFont& font) const;
    // The distance from one line to the next in `font`, in device pixels.
    double LineSpacing(const PrintFont& font) const;

  private:
    QPaintDevice& device_;
};

// Draws the job on the device from its first page on, in the job's orientation. A page whose
// lines run past the foot of the paper continues on a new sheet rather than losing them. False
// when the device cannot be painted on (a file that cannot be written, a printer gone).
bool RenderJob(const PrintJob& job, QPagedPaintDevice& device);

// The job as a PDF file on US Letter paper with quarter-inch margins, written in one step: the
// file is either the previous one or the whole new document, never a part of it. A folder, pipe
// or device of that name is refused.
WriteResult WriteJobPdf(const PrintJob& job, const std::filesystem::path& file);

// True when printing on `printer` would write a PDF file ("Print to File (PDF)"), as opposed to
// painting the preview or sending pages to a printer.
bool WritesPdfFile(QPrinter& printer);
// The job as that PDF file, on the printer's paper, written in one step as WriteJobPdf does.
WriteResult WritePrinterPdf(const PrintJob& job, QPrinter& printer);
// Whatever `paint` draws (false when it cannot), as that PDF file, written in one step.
WriteResult WritePrinterPdf(std::string_view title, QPrinter& printer,
                            const std::function<bool(QPagedPaintDevice&)>& paint);

}  // namespace kestrel
