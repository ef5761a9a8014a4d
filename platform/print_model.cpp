#include "platform/print_model.h"

#include <algorithm>
#include <cmath>

namespace kestrel {

void PrintJob::SetFont(std::string name, double points) {
    PrintStep step;
    step.kind = PrintStep::Kind::Font;
    step.font = {std::move(name), points};
    steps_.push_back(std::move(step));
}

void PrintJob::Tab(int column) {
    PrintStep step;
    step.kind = PrintStep::Kind::Column;
    step.column = std::max(column, 1);
    steps_.push_back(std::move(step));
}

void PrintJob::Text(std::string_view text) {
    PrintStep step;
    step.kind = PrintStep::Kind::Text;
    step.text = std::string(text);
    steps_.push_back(std::move(step));
}

void PrintJob::At(int column, std::string_view text) {
    Tab(column);
    Text(text);
}

void PrintJob::Framed(int column, std::string_view text) {
    At(column, text);
    steps_.back().framed = true;
}

void PrintJob::NewLine(int count) {
    for (int i = 0; i < count; ++i) {
        PrintStep step;
        step.kind = PrintStep::Kind::NewLine;
        steps_.push_back(std::move(step));
    }
}

void PrintJob::EndPage() {
    PrintStep step;
    step.kind = PrintStep::Kind::EndPage;
    steps_.push_back(std::move(step));
}

void PrintJob::Append(const PrintJob& other) {
    // A job starts in the default font; the pages before must not lend it theirs.
    PrintStep reset;
    reset.kind = PrintStep::Kind::Font;
    steps_.push_back(std::move(reset));
    steps_.insert(steps_.end(), other.steps_.begin(), other.steps_.end());
}

double FixedColumnMetrics::Columns(std::string_view text, const PrintFont&) const {
    return static_cast<double>(text.size());
}

std::vector<LaidOutPage> LayOut(const PrintJob& job, const ColumnMetrics& metrics) {
    std::vector<LaidOutPage> pages(1);
    PrintFont font;
    int line = 0;
    double column = 1;  // where the next text starts
    pages.back().lineFonts.push_back(font);
    auto newLine = [&] {
        ++line;
        column = 1;
        pages.back().lineFonts.push_back(font);
    };
    for (const PrintStep& step : job.Steps()) {
        switch (step.kind) {
            case PrintStep::Kind::Font:
                font = step.font;
                // The line being printed takes the largest font set on it.
                if (column == 1) pages.back().lineFonts.back() = font;
                break;
            case PrintStep::Kind::Column: {
                const double target = step.column;
                // A small tolerance keeps rounding in a real font's widths from skipping a line.
                if (column > target + 1e-9) newLine();
                column = target;
                break;
            }
            case PrintStep::Kind::Text:
                if (!step.text.empty())
                    pages.back().items.push_back({line, column, step.text, font, step.framed});
                column += metrics.Columns(step.text, font);
                break;
            case PrintStep::Kind::NewLine:
                newLine();
                break;
            case PrintStep::Kind::EndPage:
                pages.emplace_back();
                line = 0;
                column = 1;
                pages.back().lineFonts.push_back(font);
                break;
        }
    }
    // A job ends with its page; nothing printed after the last end makes no page of its own.
    if (pages.size() > 1 && pages.back().items.empty()) pages.pop_back();
    return pages;
}

std::string PlainText(const PrintJob& job) {
    const FixedColumnMetrics metrics;
    std::string text;
    const std::vector<LaidOutPage> pages = LayOut(job, metrics);
    for (std::size_t p = 0; p < pages.size(); ++p) {
        if (p > 0) text += '\f';
        std::vector<std::string> lines;
        for (const PlacedText& item : pages[p].items) {
            const auto index = static_cast<std::size_t>(item.line);
            if (lines.size() <= index) lines.resize(index + 1);
            std::string& row = lines[index];
            const auto start = static_cast<std::size_t>(std::lround(item.column - 1));
            if (row.size() < start) row.resize(start, ' ');
            row.replace(start, std::min(item.text.size(), row.size() - start), item.text);
        }
        // Empty lines at the end of a page still count: they are line breaks the job asked for.
        const std::size_t printed =
            pages[p].lineFonts.size() > 0 ? pages[p].lineFonts.size() - 1 : 0;
        if (lines.size() < printed) lines.resize(printed);
        for (const std::string& row : lines)
            text += row + '\n';
    }
    return text;
}

std::string DocumentName(std::initializer_list<std::string_view> parts) {
    std::string name;
    for (std::string_view part : parts) {
        if (part.empty()) continue;
        if (!name.empty()) name += ' ';
        name += part;
    }
    return name;
}

std::string PdfFileName(std::string_view document) {
    std::string name;
    for (char c : document)
        name += (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20) ? '-' : c;
    // A name of dots alone would name a folder, not a file.
    if (name.find_first_not_of(". ") == std::string::npos) name = "Document";
    return name + ".pdf";
}

}  // namespace kestrel
