// The renderer writes real PDF pages; they are read back with poppler's pdftotext and pdfinfo,
// an independent reader, and checked for their texts, places, pages and paper.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QPdfWriter>
#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "platform/print_model.h"
#include "platform/qt/print_renderer.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace kestrel {
namespace {

using testing::RunCommand;

// Arial's average character width, in ems, as its own tables give it (904 of 2048 units).
constexpr double kArialColumnEm = 904.463 / 2048;
constexpr double kMarginPoints = 18;  // the PDF's quarter-inch margin

struct Word {
    double x = 0;
    double y = 0;
    std::string text;
};

// Every word of the page with its left edge and top, in points.
std::vector<Word> Words(const std::string& pdf, int page = 1) {
    const std::string out = RunCommand("pdftotext -bbox -f " + std::to_string(page) + " -l " +
                                       std::to_string(page) + " " + pdf + " -")
                                .out;
    std::vector<Word> words;
    const std::regex word(R"re(xMin="([0-9.]+)" yMin="([0-9.]+)"[^>]*>([^<]*)</word>)re");
    for (auto it = std::sregex_iterator(out.begin(), out.end(), word); it != std::sregex_iterator();
         ++it) {
        words.push_back({std::stod((*it)[1]), std::stod((*it)[2]), (*it)[3]});
    }
    return words;
}

Word Find(const std::vector<Word>& words, const std::string& text) {
    const auto found =
        std::find_if(words.begin(), words.end(), [&](const Word& w) { return w.text == text; });
    return found == words.end() ? Word{-1, -1, "<missing " + text + ">"} : *found;
}

std::string Info(const std::string& pdf, const std::string& field) {
    const std::string out = RunCommand("pdfinfo " + pdf).out;
    const auto at = out.find(field + ":");
    if (at == std::string::npos) return "<no " + field + ">";
    const auto start = out.find_first_not_of(' ', at + field.size() + 1);
    return out.substr(start, out.find('\n', start) - start);
}

class PdfRendering : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(RunCommand("command -v pdftotext pdfinfo >/dev/null").status, 0)
            << "pdftotext and pdfinfo (poppler-utils) are needed";
    }
    testing::TempWorkDir dir;
};

TEST_F(PdfRendering, TextsSitAtTheirFontsColumnsInOrder) {
    PrintJob job("Columns");
    job.SetFont("Arial", 10);
    job.At(1, "Description");
    job.At(30, "Rate");
    job.At(50, "Hours");
    job.NewLine();
    job.At(1, "Regular");
    job.At(30, "15.50");
    job.NewLine(3);
    job.SetFont("Arial", 20);
    job.At(10, "Big");
    job.NewLine();
    job.At(1, "After");
    job.EndPage();
    ASSERT_TRUE(WriteJobPdf(job, "columns.pdf").ok);

    const std::vector<Word> words = Words("columns.pdf");
    const double column10 = kArialColumnEm * 10;
    const double column20 = kArialColumnEm * 20;
    struct Expected {
        std::string text;
        double x;
    };
    for (const Expected& e : std::vector<Expected>{{"Description", kMarginPoints},
                                                   {"Rate", kMarginPoints + 29 * column10},
                                                   {"Hours", kMarginPoints + 49 * column10},
                                                   {"Regular", kMarginPoints},
                                                   {"15.50", kMarginPoints + 29 * column10},
                                                   {"Big", kMarginPoints + 9 * column20},
                                                   {"After", kMarginPoints}}) {
        // Fonts are set in whole device pixels, which moves a far column by a fraction of a point.
        EXPECT_NEAR(Find(words, e.text).x, e.x, 0.6) << e.text;
    }
    // Lines advance by their font's spacing: two empty lines in 10 points are twice one, and
    // the 20-point line takes about twice the room of a 10-point one.
    const double line = Find(words, "Regular").y - Find(words, "Description").y;
    EXPECT_NEAR(line, 10 * 1.149, 0.3);
    const double bigTop = Find(words, "Big").y;
    const double afterTop = Find(words, "After").y;
    EXPECT_NEAR(bigTop - Find(words, "Regular").y, 3 * line, 0.3);
    EXPECT_NEAR(afterTop - bigTop, 2 * line, 1.0);
    EXPECT_EQ(Find(words, "Rate").y, Find(words, "Description").y);

    // The layout text keeps the reading order.
    const std::string text = RunCommand("pdftotext -layout columns.pdf -").out;
    const auto description = text.find("Description");
    const auto regular = text.find("Regular");
    const auto after = text.find("After");
    EXPECT_LT(description, regular);
    EXPECT_LT(regular, text.find("Big"));
    EXPECT_LT(text.find("Big"), after);
    EXPECT_NE(after, std::string::npos);
}

TEST_F(PdfRendering, PagesAndPaperFollowTheJob) {
    struct Case {
        PageOrientation orientation;
        int pages;
        std::string size;
    };
    for (const Case& c : {Case{PageOrientation::Portrait, 1, "612 x 792 pts (letter)"},
                          Case{PageOrientation::Landscape, 2, "792 x 612 pts (letter)"},
                          Case{PageOrientation::Portrait, 3, "612 x 792 pts (letter)"}}) {
        PrintJob job("Pages");
        job.SetOrientation(c.orientation);
        for (int page = 1; page <= c.pages; ++page) {
            job.At(5, "Page" + std::to_string(page));
            job.EndPage();
        }
        ASSERT_TRUE(WriteJobPdf(job, "pages.pdf").ok);
        EXPECT_EQ(Info("pages.pdf", "Pages"), std::to_string(c.pages));
        EXPECT_EQ(Info("pages.pdf", "Page size"), c.size);
        for (int page = 1; page <= c.pages; ++page) {
            const std::vector<Word> words = Words("pages.pdf", page);
            ASSERT_EQ(words.size(), 1u) << "page " << page;
            EXPECT_EQ(words[0].text, "Page" + std::to_string(page));
        }
    }
}

TEST_F(PdfRendering, LinesPastTheFootContinueOnANewSheet) {
    PrintJob job("Long");
    for (int line = 0; line < 100; ++line) {
        job.At(1, "Line" + std::to_string(line));
        job.NewLine();
    }
    job.EndPage();
    ASSERT_TRUE(WriteJobPdf(job, "long.pdf").ok);
    EXPECT_EQ(Info("long.pdf", "Pages"), "2");
    const std::vector<Word> first = Words("long.pdf", 1);
    const std::vector<Word> second = Words("long.pdf", 2);
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(second.empty());
    EXPECT_EQ(first.front().text, "Line0");
    EXPECT_EQ(second.back().text, "Line99");
    EXPECT_EQ(first.size() + second.size(), 100u);
    // The second sheet starts at its top margin.
    EXPECT_LT(second.front().y, kMarginPoints + 2);
}

TEST_F(PdfRendering, AFileThatCannotBeWrittenIsReported) {
    PrintJob job("Nowhere");
    job.Text("x");
    const WriteResult written = WriteJobPdf(job, dir.Path() / "no-such-folder" / "x.pdf");
    EXPECT_FALSE(written.ok);
    EXPECT_NE(written.error.find("no-such-folder"), std::string::npos) << written.error;
}

TEST(DeviceColumns, MeasureInArialsAverageCharacterWidth) {
    QPdfWriter device(QStringLiteral("unused.pdf"));
    device.setResolution(1200);
    const DeviceColumnMetrics metrics(device);
    const QString family = QFontInfo(PrintQFont({"Arial", 10})).family();
    ASSERT_TRUE(family == QStringLiteral("Arial") || family == QStringLiteral("Liberation Sans"))
        << family.toStdString();
    EXPECT_NEAR(metrics.ColumnWidth({"Arial", 10}), kArialColumnEm * 10 * 1200 / 72, 0.5);
    EXPECT_NEAR(metrics.ColumnWidth({"Arial", 20}), 2 * metrics.ColumnWidth({"Arial", 10}), 0.5);
    // A column belongs to its font, so a text is as many columns wide at any size.
    EXPECT_NEAR(metrics.Columns("Net Pay 451.51", {"Arial", 8}),
                metrics.Columns("Net Pay 451.51", {"Arial", 16}), 0.05);

    // The column rule with real widths: ten capital Ws run past column 15, ten i's do not.
    struct Case {
        std::string text;
        int line;
    };
    for (const Case& c : {Case{"WWWWWWWWWW", 1}, Case{"iiiiiiiiii", 0}}) {
        PrintJob job;
        job.At(1, c.text);
        job.At(15, "next");
        const std::vector<LaidOutPage> pages = LayOut(job, metrics);
        ASSERT_EQ(pages.size(), 1u);
        ASSERT_EQ(pages[0].items.size(), 2u);
        EXPECT_EQ(pages[0].items[1].line, c.line) << c.text;
        EXPECT_EQ(pages[0].items[1].column, 15) << c.text;
    }
}

}  // namespace
}  // namespace kestrel
