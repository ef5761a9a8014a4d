#include "platform/print_model.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

TEST(PrintModel, TabMovesToItsColumnOrToTheNextLineWhenPastIt) {
    PrintJob job;
    job.At(5, "Date:");
    job.At(15, "12/30/05");
    // Already at column 23: column 20 is on the next line.
    job.At(20, "x");
    job.NewLine();
    job.At(0, "left margin");
    job.NewLine();
    job.Text("abc");
    job.At(4, "d");
    job.EndPage();
    EXPECT_EQ(PlainText(job),
              "    Date:     12/30/05\n"
              "                   x\n"
              "left margin\n"
              "abcd\n");
}

TEST(PrintModel, LineBreaksLeaveEmptyLinesAndPagesAreSeparated) {
    PrintJob job;
    job.NewLine(3);
    job.At(107, "DATE");
    job.NewLine();
    job.EndPage();
    job.Text("second");
    job.EndPage();
    const std::string text = PlainText(job);
    EXPECT_EQ(text, "\n\n\n" + std::string(106, ' ') + "DATE\n\fsecond\n");
}

// A metrics object with columns half as wide as characters, as a narrow font would give.
class HalfWidth : public ColumnMetrics {
  public:
    double Columns(std::string_view text, const PrintFont&) const override {
        return static_cast<double>(text.size()) / 2;
    }
};

TEST(PrintModel, LayOutKeepsFontsAndColumnsForTheRenderer) {
    PrintJob job("stub");
    job.SetOrientation(PageOrientation::Landscape);
    job.SetFont("Arial", 11);
    job.At(10, "abcd");
    job.At(11, "e");
    job.SetFont("Arial", 6);
    job.NewLine();
    job.At(1, "small");
    job.Framed(10, "[DATE]");
    job.EndPage();
    const std::vector<LaidOutPage> pages = LayOut(job, HalfWidth());
    ASSERT_EQ(pages.size(), 1u);
    const PrintFont big{"Arial", 11};
    const PrintFont small{"Arial", 6};
    EXPECT_EQ(pages[0].items, (std::vector<PlacedText>{{0, 10, "abcd", big},
                                                       {1, 11, "e", big},
                                                       {2, 1, "small", small},
                                                       {2, 10, "[DATE]", small, true}}));
    ASSERT_EQ(pages[0].lineFonts.size(), 3u);
    EXPECT_EQ(pages[0].lineFonts[2], small);
    EXPECT_EQ(job.Orientation(), PageOrientation::Landscape);
}

}  // namespace
}  // namespace kestrel
