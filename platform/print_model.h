// Printed pages as the program builds them: fonts, orientation, text placed at character columns
// of the current font, line breaks and the end of the document. The printer, a PDF and the plain
// text form used by tests and batch runs all lay a job out the same way; only the width of a
// column differs, which a metrics object decides.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

struct PrintFont {
    std::string name = "Arial";
    double points = 10;
    bool operator==(const PrintFont&) const = default;
};

enum class PageOrientation { Portrait, Landscape };

struct PrintStep {
    enum class Kind { Font, Column, Text, NewLine, EndPage };
    Kind kind = Kind::Text;
    PrintFont font;       // Font
    int column = 0;       // Column
    std::string text;     // Text
    bool framed = false;  // Text: a light frame around it where the output can draw one
    bool operator==(const PrintStep&) const = default;
};

class PrintJob {
  public:
    explicit PrintJob(std::string title = {}) : title_(std::move(title)) {}

    const std::string& Title() const { return title_; }
    PageOrientation Orientation() const { return orientation_; }
    void SetOrientation(PageOrientation orientation) { orientation_ = orientation; }

    // From here on text is set in this font; a column is this font's average character width.
    void SetFont(std::string name, double points);
    // Moves to character column `column` (1 is the left margin); a line already past it continues
    // at that column of the next line. Columns below 1 count as 1.
    void Tab(int column);
    // Text at the current position, which then moves past it.
    void Text(std::string_view text);
    // Tab, then Text.
    void At(int column, std::string_view text);
    // Text with a light frame around it on a printed page; the plain text form shows the text.
    void Framed(int column, std::string_view text);
    // Ends the line; `count` line breaks in a row leave count - 1 empty lines.
    void NewLine(int count = 1);
    // Ends the page and with it the document.
    void EndPage();
    // The pages of `other` after this job's own, each laid out as `other` alone lays it out: a
    // run's documents of many employees as one job.
    void Append(const PrintJob& other);

    const std::vector<PrintStep>& Steps() const { return steps_; }

  private:
    std::string title_;
    PageOrientation orientation_ = PageOrientation::Portrait;
    std::vector<PrintStep> steps_;
};

// How wide a text is, in columns of the font it is set in.
class ColumnMetrics {
  public:
    virtual ~ColumnMetrics() = default;
    virtual double Columns(std::string_view text, const PrintFont& font) const = 0;
};

// One character, one column: the metrics of the plain text form.
class FixedColumnMetrics : public ColumnMetrics {
  public:
    double Columns(std::string_view text, const PrintFont& font) const override;
};

// One piece of text where the layout puts it: `line` counts from 0 on its page, `column` from 1.
struct PlacedText {
    int line = 0;
    double column = 1;
    std::string text;
    PrintFont font;
    bool framed = false;
    bool operator==(const PlacedText&) const = default;
};

struct LaidOutPage {
    std::vector<PlacedText> items;
    // The fonts of the page's lines, for the renderer's line heights; one per line begun.
    std::vector<PrintFont> lineFonts;
};

// Applies the column rule: the pages of the job with every text at its line and column.
std::vector<LaidOutPage> LayOut(const PrintJob& job, const ColumnMetrics& metrics);

// The name a printout goes by: its kind, then the employee and the week where there are any,
// e.g. "Pay stub Worker1 01/07/05". Empty parts are left out.
std::string DocumentName(std::initializer_list<std::string_view> parts);

// The file a PDF of the document is suggested under: "Pay stub Worker1 01-07-05.pdf". A date's
// "/" (or anything else a file name cannot hold) becomes "-", so the name stays in its folder.
std::string PdfFileName(std::string_view document);

// The job with one character per column: a page per block, one text line per printed line, each
// item at its column. Pages are separated by a form feed.
std::string PlainText(const PrintJob& job);

}  // namespace kestrel
