#include "platform/qt/print_renderer.h"

#include <QBuffer>
#include <QByteArray>
#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QPrinter>
#include <QString>
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/safe_file.h"

namespace kestrel {

namespace {

QString ToQt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Below this a font is taken to have no usable width; a column must never be zero wide.
constexpr double kNarrowestColumn = 0.01;

bool IsRule(std::string_view text) {
    return !text.empty() && text.find_first_not_of('-') == std::string_view::npos;
}

// A rule is as many hyphens as its document says, which in the printing font can be wider than the
// paper; on the page it ends at the right edge of the printable area instead of running off it.
QString FittedRule(const QString& rule, double x, double printableWidth,
                   const QFontMetricsF& metrics) {
    const double hyphen = metrics.horizontalAdvance(QLatin1Char('-'));
    if (hyphen <= 0 || x + metrics.horizontalAdvance(rule) <= printableWidth) return rule;
    const double room = std::max(0.0, printableWidth - x);
    return rule.left(static_cast<qsizetype>(std::floor(room / hyphen)));
}

// A page a little too long for the sheet (a check moved down by its offsets) stays on it: the
// longest run of empty lines between its printed lines loses a line from its end, again and
// again, while any run between them is longer than one line. The empty lines above the first
// printed line are the offset itself and stay. A page that cannot be made to fit this way is left
// whole and continues on a new sheet. True for each line left out.
std::vector<bool> EmptyLinesLeftOut(const std::vector<double>& spacings,
                                    const std::vector<bool>& filled, double pageHeight) {
    std::vector<bool> leftOut(spacings.size(), false);
    const auto first = std::find(filled.begin(), filled.end(), true);
    if (first == filled.end()) return leftOut;
    const auto last =
        static_cast<std::size_t>(std::find(filled.rbegin(), filled.rend(), true).base() -
                                 filled.begin());  // one past the last printed line
    double height = 0;
    for (std::size_t line = 0; line < last; ++line)
        height += spacings[line];
    if (height <= pageHeight) return leftOut;

    struct Run {
        std::size_t begin, end;  // empty lines [begin, end)
    };
    std::vector<Run> runs;
    for (auto line = static_cast<std::size_t>(first - filled.begin()); line < last; ++line) {
        if (filled[line]) continue;
        if (!runs.empty() && runs.back().end == line) {
            ++runs.back().end;
        } else {
            runs.push_back({line, line + 1});
        }
    }
    std::vector<bool> trial = leftOut;
    while (height > pageHeight) {
        Run* longest = nullptr;
        for (Run& run : runs) {
            if (run.end - run.begin > 1 &&
                (longest == nullptr || run.end - run.begin > longest->end - longest->begin)) {
                longest = &run;
            }
        }
        if (longest == nullptr) return leftOut;
        --longest->end;
        trial[longest->end] = true;
        height -= spacings[longest->end];
    }
    return trial;
}

// The job as PDF bytes on `layout`; nothing when the PDF engine failed.
std::optional<QByteArray> PdfBytes(std::string_view title, const QPageLayout& layout,
                                   int resolution,
                                   const std::function<bool(QPagedPaintDevice&)>& paint) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly)) return std::nullopt;
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(ToQt(title));
        writer.setCreator(QStringLiteral("Kestrel"));
        writer.setResolution(resolution);
        if (!writer.setPageLayout(layout)) return std::nullopt;
        if (!paint(writer)) return std::nullopt;
    }
    buffer.close();
    if (!bytes.startsWith("%PDF-")) return std::nullopt;
    return bytes;
}

std::optional<QByteArray> PdfBytes(const PrintJob& job, const QPageLayout& layout, int resolution) {
    return PdfBytes(job.Title(), layout, resolution,
                    [&job](QPagedPaintDevice& device) { return RenderJob(job, device); });
}

WriteResult CommitPdf(const std::optional<QByteArray>& bytes, const std::filesystem::path& file) {
    if (!bytes) return {false, "the PDF pages of " + file.string() + " could not be made"};
    return WriteDocumentFile(
        file, std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size())));
}

}  // namespace

QFont PrintQFont(const PrintFont& font) {
    QFont qfont(ToQt(font.name.empty() ? std::string("Arial") : font.name));
    qfont.setStyleHint(QFont::SansSerif);
    qfont.setPointSizeF(font.points > 0 ? font.points : 10);
    // Columns are measured in fractions of a pixel; hinting would round each glyph and drift.
    qfont.setHintingPreference(QFont::PreferNoHinting);
    return qfont;
}

double DeviceColumnMetrics::ColumnWidth(const PrintFont& font) const {
    const QFontMetricsF metrics(PrintQFont(font), &device_);
    // The average character width Arial carries (and Windows measures with) is the weighted
    // mean of the lowercase letters and the space by their frequency in English text. Newer
    // fonts, Liberation Sans among them, store a plain mean over every glyph instead, a
    // column a third wider that would push a landscape report off the paper; measuring the
    // letters gives Arial's column in Arial and in its metric twins alike.
    static constexpr std::array<int, 27> kWeights{64, 14, 27, 35, 100, 20, 14, 42, 63,
                                                  3,  6,  35, 20, 56,  56, 17, 4,  49,
                                                  56, 71, 31, 10, 18,  3,  18, 2,  166};
    double weighted = 0;
    for (std::size_t k = 0; k < kWeights.size(); ++k) {
        const QChar letter = k < 26 ? QChar(static_cast<char16_t>(u'a' + k)) : QChar(u' ');
        weighted += metrics.horizontalAdvance(letter) * kWeights[k];
    }
    double width = weighted / 1000;
    if (width < kNarrowestColumn) width = metrics.averageCharWidth();
    return std::max(width, kNarrowestColumn);
}

double DeviceColumnMetrics::LineSpacing(const PrintFont& font) const {
    return QFontMetricsF(PrintQFont(font), &device_).lineSpacing();
}

double DeviceColumnMetrics::Columns(std::string_view text, const PrintFont& font) const {
    const QFontMetricsF metrics(PrintQFont(font), &device_);
    return metrics.horizontalAdvance(ToQt(text)) / ColumnWidth(font);
}

bool RenderJob(const PrintJob& job, QPagedPaintDevice& device) {
    device.setPageOrientation(job.Orientation() == PageOrientation::Landscape
                                  ? QPageLayout::Landscape
                                  : QPageLayout::Portrait);
    QPainter painter;
    if (!painter.begin(&device)) return false;
    const DeviceColumnMetrics metrics(device);
    const std::vector<LaidOutPage> pages = LayOut(job, metrics);
    // The painter's origin is the top left corner of the printable area, inside the margins.
    const double pageHeight = device.height();
    for (std::size_t p = 0; p < pages.size(); ++p) {
        if (p > 0 && !device.newPage()) return false;
        const LaidOutPage& page = pages[p];
        std::map<int, std::vector<const PlacedText*>> byLine;
        for (const PlacedText& item : page.items)
            byLine[item.line].push_back(&item);
        std::vector<double> spacings;
        std::vector<bool> filled;
        for (std::size_t line = 0; line < page.lineFonts.size(); ++line) {
            spacings.push_back(metrics.LineSpacing(page.lineFonts[line]));
            filled.push_back(byLine.count(static_cast<int>(line)) > 0);
        }
        const std::vector<bool> leftOut = EmptyLinesLeftOut(spacings, filled, pageHeight);
        double top = 0;
        for (std::size_t line = 0; line < page.lineFonts.size(); ++line) {
            if (leftOut[line]) continue;
            const PrintFont& lineFont = page.lineFonts[line];
            const double spacing = spacings[line];
            if (top > 0 && top + spacing > pageHeight) {
                if (!device.newPage()) return false;
                top = 0;
            }
            const auto found = byLine.find(static_cast<int>(line));
            if (found != byLine.end()) {
                const double baseline = top + QFontMetricsF(PrintQFont(lineFont), &device).ascent();
                for (const PlacedText* item : found->second) {
                    painter.setFont(PrintQFont(item->font));
                    const double x = (item->column - 1) * metrics.ColumnWidth(item->font);
                    QString text = ToQt(item->text);
                    if (IsRule(item->text)) {
                        text = FittedRule(text, x, device.width(),
                                          QFontMetricsF(painter.font(), &device));
                    }
                    painter.drawText(QPointF(x, baseline), text);
                    if (item->framed) {
                        // Light enough to read the check stock's own lines through.
                        const QFontMetricsF itemMetrics(painter.font(), &device);
                        const QRectF box(x, top, itemMetrics.horizontalAdvance(ToQt(item->text)),
                                         spacing);
                        painter.save();
                        painter.setPen(QPen(QColor(170, 170, 170), 0));
                        painter.drawRect(box);
                        painter.restore();
                    }
                }
            }
            top += spacing;
        }
    }
    return painter.end();
}

WriteResult WriteJobPdf(const PrintJob& job, const std::filesystem::path& file) {
    const QPageLayout letter(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                             QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch);
    return CommitPdf(PdfBytes(job, letter, 1200), file);
}

bool WritesPdfFile(QPrinter& printer) {
    // A preview paints the same printer through an engine of its own, which is not a PDF one.
    const QPaintEngine* engine = printer.paintEngine();
    return printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty() &&
           engine != nullptr && engine->type() == QPaintEngine::Pdf;
}

WriteResult WritePrinterPdf(const PrintJob& job, QPrinter& printer) {
    return CommitPdf(PdfBytes(job, printer.pageLayout(), printer.resolution()),
                     printer.outputFileName().toStdString());
}

WriteResult WritePrinterPdf(std::string_view title, QPrinter& printer,
                            const std::function<bool(QPagedPaintDevice&)>& paint) {
    return CommitPdf(PdfBytes(title, printer.pageLayout(), printer.resolution(), paint),
                     printer.outputFileName().toStdString());
}

}  // namespace kestrel
