#include "platform/qt/print_renderer.h"

#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QString>
#include <algorithm>
#include <array>
#include <map>

namespace kestrel {

namespace {

QString ToQt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Below this a font is taken to have no usable width; a column must never be zero wide.
constexpr double kNarrowestColumn = 0.01;

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
        double top = 0;
        for (std::size_t line = 0; line < page.lineFonts.size(); ++line) {
            const PrintFont& lineFont = page.lineFonts[line];
            const double spacing = metrics.LineSpacing(lineFont);
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
                    painter.drawText(QPointF(x, baseline), ToQt(item->text));
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
    QPdfWriter writer(QString::fromStdString(file.string()));
    writer.setTitle(ToQt(job.Title()));
    writer.setCreator(QStringLiteral("Kestrel"));
    writer.setResolution(1200);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                     QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch));
    if (!RenderJob(job, writer)) return {false, "cannot write " + file.string()};
    return {};
}

}  // namespace kestrel
