#include "settings/dialog_non_city.h"

#include <gtest/gtest.h>

#include <set>

#include "app/program.h"
#include "platform/scripted_host.h"
#include "support/form_layout.h"
#include "support/message_text.h"
#include "support/temp_dir.h"

namespace kestrel {
namespace {

using testing::ReadFile;
using testing::StandardPart;
using testing::StandardParts;
using testing::TempWorkDir;
using testing::WriteFile;

class NonCityWindow : public ::testing::Test {
  protected:
    NonCityWindow() { program.ActiveUser = "Worker1"; }
    void TearDown() override { EXPECT_TRUE(host.unscripted.empty()) << host.unscripted[0]; }

    DialogNonCity& window() { return program.dialogNonCity; }
    DialogNonCityUi& ui() { return program.dialogNonCity.ui(); }

    TempWorkDir dir;
    ScriptedHost host;
    Program program{host};
};

NonResidentTaxSettings Edited() {
    NonResidentTaxSettings table = NonResidentDefaults();
    table.BiWeeklyMinimum[5] = 2000;
    table.WeeklySubtract[1] = 57.5F;
    table.NonResidentPercent = 0.005F;
    return table;
}

TEST_F(NonCityWindow, FreshWindowWithoutAFileShowsAndStoresTheDefaults) {
    window().Show();
    EXPECT_EQ(window().Caption(), "NON City Resident");
    EXPECT_EQ(window().Kind(), FormKind::Modeless);
    EXPECT_EQ(program.nonResidentSettings, NonResidentDefaults());
    EXPECT_EQ(ui().txtNonMinBi[1]->Text(), "145");
    EXPECT_EQ(ui().txtNonExpBi[1]->Text(), "115");
    EXPECT_EQ(ui().txtNonMinWk[1]->Text(), "78");
    EXPECT_EQ(ui().txtNonExpWk[3]->Text(), "19");
    EXPECT_EQ(ui().txtNonMinWk[7]->Text(), "999999");
    EXPECT_EQ(ui().txtNonPer->Text(), "0.0045");
    EXPECT_FALSE(FileExists("Worker1.nci"));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(NonCityWindow, LayoutShowsEveryTextAndTakesOnlyNumberKeys) {
    window().Show();
    testing::ExpectControlsInsideAndApart(window());
    const std::multiset<std::string> texts = testing::ShownTexts(window());
    EXPECT_EQ(texts.count("NON Resident Table"), 2u);
    EXPECT_EQ(texts.count("Line"), 2u);
    EXPECT_EQ(texts.count("Minimum Range"), 2u);
    EXPECT_EQ(texts.count("Subtract"), 2u);
    for (const char* text : {"BIWEEKLY", "WEEKLY", "Multiply by Percentage in Decimal", "WARNING!",
                             "Enter 999999 in any Minimum Range Box that is not used.", "&DEFAULT",
                             "&SAVE", "&CANCEL"}) {
        EXPECT_EQ(texts.count(text), 1u) << text;
    }
    // The BIWEEKLY table stands left of the WEEKLY one.
    EXPECT_LT(ui().txtNonExpBi[0]->Geometry().left, ui().txtNonMinWk[0]->Geometry().left);
    std::vector<TextBox*> boxes{ui().txtNonPer};
    for (std::size_t k = 0; k < 8; ++k) {
        EXPECT_EQ(ui().lbLineBi[k]->Caption(), std::to_string(k + 1));
        EXPECT_EQ(ui().lbLineWk[k]->Caption(), std::to_string(k + 1));
        for (TextBox* box :
             {ui().txtNonMinBi[k], ui().txtNonExpBi[k], ui().txtNonMinWk[k], ui().txtNonExpWk[k]})
            boxes.push_back(box);
    }
    EXPECT_EQ(boxes.size(), 33u);
    for (TextBox* box : boxes) {
        box->SetText("");
        box->Type("4x-.a 2$");
        EXPECT_EQ(box->Text(), "4-. 2") << box->QualifiedName();
    }
}

// Lines a caption needs when it wraps at word breaks, `perLine` characters to a line; a word
// longer than a line can never be shown whole.
int LinesNeeded(const std::string& caption, int perLine) {
    int lines = 1;
    int used = 0;
    std::size_t start = 0;
    while (start <= caption.size()) {
        std::size_t end = caption.find(' ', start);
        if (end == std::string::npos) end = caption.size();
        const int word = static_cast<int>(end - start);
        if (word > perLine) return 1000;
        if (used > 0 && used + 1 + word > perLine) {
            ++lines;
            used = word;
        } else {
            used += (used > 0 ? 1 : 0) + word;
        }
        start = end + 1;
    }
    return lines;
}

// What a user sees at 96 dpi in the windows' 8pt font: a character takes up to about 110 twips
// (130 bold) and a line 210. A caption that needs more room than its label is clipped.
TEST_F(NonCityWindow, EveryCaptionFitsItsLabel) {
    window().Show();
    int checked = 0;
    for (const auto& control : window().Controls()) {
        const auto* label = dynamic_cast<const Label*>(control.get());
        if (label == nullptr || label->Caption().empty()) continue;
        const Rect& room = label->Geometry();
        const int perLine = room.width / (label->GetFont().bold ? 130 : 110);
        EXPECT_LE(LinesNeeded(label->Caption(), perLine), room.height / 210)
            << label->QualifiedName() << " \"" << label->Caption() << "\" in " << room.width
            << " x " << room.height << " twips";
        ++checked;
    }
    EXPECT_EQ(checked, 2 * (5 + 8) + 3);
    // The one-line column headings stand clear above their first boxes.
    for (std::size_t t = 0; t < 2; ++t) {
        const Rect& heading = ui().lbMinRange[t]->Geometry();
        const Rect& box = (t == 0 ? ui().txtNonMinBi : ui().txtNonMinWk)[0]->Geometry();
        EXPECT_LE(heading.top + heading.height, box.top);
        EXPECT_GE(heading.width, box.width);
    }
}

TEST_F(NonCityWindow, CancelHidesSoTheEditedBoxesComeBackWithoutReadingTheFile) {
    ASSERT_TRUE(WriteNonResidentFile("Worker1.nci", Edited()).ok);
    const std::string before = ReadFile("Worker1.nci");
    window().Show();
    EXPECT_EQ(ui().txtNonMinBi[5]->Text(), "2000");
    EXPECT_EQ(program.nonResidentSettings, Edited());
    ui().txtNonMinBi[5]->SetText("2100");
    ui().cmdCancel->UserClick();
    EXPECT_FALSE(window().IsVisible());
    EXPECT_TRUE(window().IsLoaded());
    EXPECT_EQ(program.nonResidentSettings.BiWeeklyMinimum[5], 2000.0F);
    EXPECT_EQ(ReadFile("Worker1.nci"), before);
    // A changed file is not read by the reopening either.
    ASSERT_TRUE(WriteNonResidentFile("Worker1.nci", NonResidentDefaults()).ok);
    window().Show();
    EXPECT_TRUE(window().IsVisible());
    EXPECT_EQ(ui().txtNonMinBi[5]->Text(), "2100");
    EXPECT_EQ(ui().txtNonExpWk[1]->Text(), "57.5");
    EXPECT_EQ(program.nonResidentSettings, Edited());
    ui().cmdSave->UserClick();
    EXPECT_FALSE(window().IsLoaded());
    EXPECT_EQ(program.nonResidentSettings.BiWeeklyMinimum[5], 2100.0F);
    EXPECT_NE(ReadFile("Worker1.nci").find("\r\n2100,0,999999,0\r\n"), std::string::npos);
}

TEST_F(NonCityWindow, DefaultThenSaveWritesTheDefaultTable) {
    ASSERT_TRUE(WriteNonResidentFile("Worker1.nci", Edited()).ok);
    window().Show();
    ui().cmdDefault->UserClick();
    EXPECT_EQ(ui().txtNonMinBi[5]->Text(), "999999");
    EXPECT_EQ(ui().txtNonPer->Text(), "0.0045");
    EXPECT_EQ(program.nonResidentSettings, Edited());  // nothing stored yet
    ui().cmdSave->UserClick();
    EXPECT_FALSE(window().IsLoaded());
    EXPECT_EQ(program.nonResidentSettings, NonResidentDefaults());
    EXPECT_EQ(ReadFile("Worker1.nci"),
              "0,0,0,0\r\n145,115,78,58\r\n385,77,192,38\r\n769,38,385,19\r\n1154,0,577,0\r\n"
              "999999,0,999999,0\r\n999999,0,999999,0\r\n999999,0,999999,0\r\n0.0045\r\n");
}

TEST_F(NonCityWindow, MalformedFileIsReportedAndNotShown) {
    WriteFile("Worker1.nci", "5,6,7,8\r\n9,-\r\n");
    window().Show();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(StandardPart(host.messages[0].text),
              "You have corupted a file.\r\nFind file,\r\nWorker1.nci\r\nand delete it.");
    EXPECT_EQ(ui().txtNonMinBi[0]->Text(), "0");
    EXPECT_EQ(ui().txtNonMinBi[1]->Text(), "145");
    EXPECT_TRUE(window().IsVisible());
}

TEST_F(NonCityWindow, SaveRefusesABoxThatIsNotANumber) {
    window().Show();
    ui().txtNonMinBi[0]->SetText("3");
    ui().txtNonExpWk[4]->SetText(" ");
    ui().cmdSave->UserClick();
    EXPECT_EQ(ui().txtNonExpWk[4]->Text(), " ");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              "Line 5 of the WEEKLY table, Subtract, does not hold a number.");
    EXPECT_TRUE(window().IsVisible());
    EXPECT_TRUE(ui().txtNonExpWk[4]->HasFocus());
    EXPECT_EQ(program.nonResidentSettings, NonResidentDefaults());

    ui().txtNonExpWk[4]->SetText("0");
    ui().txtNonPer->SetText(".");
    ui().cmdSave->UserClick();
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[1].text,
              "The rate, Multiply by Percentage in Decimal, does not hold a number.");
    EXPECT_EQ(program.nonResidentSettings, NonResidentDefaults());
    EXPECT_FALSE(FileExists("Worker1.nci"));
}

}  // namespace
}  // namespace kestrel
