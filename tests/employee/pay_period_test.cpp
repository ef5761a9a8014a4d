#include "employee/pay_period.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "app/program.h"
#include "platform/scripted_host.h"
#include "support/temp_dir.h"

namespace kestrel {
namespace {

using testing::ReadFile;
using testing::TempWorkDir;
using testing::WriteFile;

class PayPeriod : public ::testing::Test {
  protected:
    PayPeriod() {
        std::filesystem::copy_file(testing::DemoFolder() / "Fedtaxx.tax", "Fedtaxx.tax");
        program.ActiveUser = "Worker1";
        program.Start();
    }
    void TearDown() override { EXPECT_TRUE(host.unscripted.empty()) << host.unscripted.front(); }

    Form1Ui& main() { return program.form1.ui(); }
    void Enter(const std::array<const char*, 8>& texts) {
        for (std::size_t i = 0; i < texts.size(); ++i)
            main().txtEntry[i]->SetText(texts[i]);
    }
    std::vector<std::string> Entries() {
        std::vector<std::string> texts;
        for (TextBox* box : main().txtEntry)
            texts.push_back(box->Text());
        return texts;
    }

    TempWorkDir dir;
    ScriptedHost host;
    Program program{host};
};

TEST_F(PayPeriod, SaveWritesEightNumbersUnderTheWeekEndingDate) {
    main().txtWeekEnd->SetText("12/30/05");
    Enter({"40", "", "2", "1.5", " ", "", "12.5", "3"});
    ASSERT_TRUE(SavePayPeriod(program));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(ReadFile("12_30_05Worker1.prv"), "40\r\n0\r\n2\r\n1.5\r\n0\r\n0\r\n12.5\r\n3\r\n");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"40", "0", "2", "1.5", "0", "0", "12.5", "3"}));

    // The same week again replaces the file without asking.
    Enter({"38", "", "", "", "", "", "-0.5", ""});
    ASSERT_TRUE(SavePayPeriod(program));
    EXPECT_EQ(ReadFile("12_30_05Worker1.prv"), "38\r\n0\r\n0\r\n0\r\n0\r\n0\r\n-0.5\r\n0\r\n");
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."),
                            std::filesystem::directory_iterator()),
              2);  // the tables and the one period
}

TEST_F(PayPeriod, SaveRefusesAnEntryThatIsNotANumber) {
    main().txtWeekEnd->SetText("12/30/05");
    Enter({"40", "", "", "1-2", "", "", "", ""});
    EXPECT_FALSE(SavePayPeriod(program));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              "\"1-2\" in O.T. TIME AND 1/2 (1.5X) is not a number.\r\nThe pay period was not "
              "saved.");
    EXPECT_EQ(program.form1.Focused(), main().txtEntry[3]);
    EXPECT_FALSE(FileExists("12_30_05Worker1.prv"));
    EXPECT_EQ(Entries(), (std::vector<std::string>{"40", "", "", "1-2", "", "", "", ""}));
}

TEST_F(PayPeriod, SaveRefusesAWeekEndingThatCannotBeAFileName) {
    for (const char* weekEnding : {"12:30:05", "../x", "a\\b"}) {
        SCOPED_TRACE(weekEnding);
        host.messages.clear();
        main().txtWeekEnd->SetText(weekEnding);
        Enter({"40", "", "", "", "", "", "", ""});
        EXPECT_FALSE(SavePayPeriod(program));
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_NE(host.messages[0].text.find("cannot be used as a week-ending date"),
                  std::string::npos)
            << host.messages[0].text;
        EXPECT_EQ(main().txtEntry[1]->Text(), "");
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(PayPeriod, FailedWriteIsReportedAndNotSuccess) {
    std::filesystem::create_directory("12_30_05Worker1.prv");
    main().txtWeekEnd->SetText("12/30/05");
    Enter({"40", "", "", "", "", "", "", ""});
    EXPECT_FALSE(SavePayPeriod(program));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              "The pay period could not be saved in 12_30_05Worker1.prv.\r\nCheck that the folder "
              "can be written to.");
    EXPECT_TRUE(std::filesystem::is_directory("12_30_05Worker1.prv"));
}

TEST_F(PayPeriod, LoadFillsTheEntriesAndTheDateThenCalculates) {
    WriteFile("01_06_06Worker1.prv", "40\r\n0\r\n2\r\n1.5\r\n0\r\n0\r\n12.5\r\n3\r\n");
    main().opt2X->SetValue(true);
    main().txtEntry[1]->SetText("8");
    host.files.push_back(dir.Path() / "01_06_06Worker1.prv");
    ASSERT_TRUE(LoadPayPeriod(program));
    EXPECT_EQ(host.fileFilters, (std::vector<std::string>{"Saved Files (*.prv)|*.prv"}));
    EXPECT_TRUE(host.messages.empty()) << host.messages[0].text;
    EXPECT_EQ(main().txtWeekEnd->Text(), "01/06/06");
    // The calculation ran: zeros are blank again and the figures are shown.
    EXPECT_EQ(Entries(), (std::vector<std::string>{"40", "", "2", "1.5", "", "", "12.5", "3"}));
    EXPECT_FALSE(main().lbGross->Caption().empty());
    EXPECT_EQ(program.entry.StrHrs, 40.0F);
    EXPECT_EQ(program.entry.Addit, Currency::FromRaw(125000));
    // The 1x/2x choice is not part of a saved period.
    EXPECT_TRUE(main().opt2X->Value());
    EXPECT_EQ(program.entry.OtMultiplier, 2);
}

TEST_F(PayPeriod, LoadTakesAnotherEmployeesPeriodFromItsFolder) {
    std::filesystem::create_directory("other");
    WriteFile("other/12_23_05Other Person.prv", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8.25\r\n");
    host.files.push_back(dir.Path() / "other" / "12_23_05Other Person.prv");
    ASSERT_TRUE(LoadPayPeriod(program));
    EXPECT_EQ(main().txtWeekEnd->Text(), "12/23/05");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8.25"}));
    EXPECT_EQ(program.ActiveUser, "Worker1");
    // Choosing the file made its folder the working folder.
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::canonical(dir.Path() / "other"));
}

TEST_F(PayPeriod, LoadOfANameWithoutADateTakesItsFirstEightCharacters) {
    WriteFile("Week_1_bonus.prv", "1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n");
    host.files.push_back(dir.Path() / "Week_1_bonus.prv");
    ASSERT_TRUE(LoadPayPeriod(program));
    EXPECT_EQ(main().txtWeekEnd->Text(), "Week/1/b");
}

TEST_F(PayPeriod, LoadRefusesAFileThatIsNotASavedPeriod) {
    struct Case {
        const char* name;
        const char* contents;  // nullptr: the file does not exist
        const char* where;
    };
    const std::vector<Case> cases{
        {"short", "40\r\n0\r\n", "x.prv, line 3, field 3: unexpected end of file"},
        {"empty", "", "x.prv, line 1, field 1: unexpected end of file"},
        {"not a number", "40\r\n0\r\n0\r\n0\r\nabc\r\n0\r\n0\r\n0\r\n",
         "x.prv, line 5, field 5: not a number: \"abc\""},
        {"quoted text", "\"Worker1\"\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n",
         "x.prv, line 1, field 1: not a number: \"Worker1\""},
        {"more numbers", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n",
         "x.prv, line 9, field 9: more than the file has, from here on: \"9\""},
        {"missing", nullptr, "x.prv: cannot be opened: no such file or directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove("x.prv");
        if (c.contents != nullptr) WriteFile("x.prv", c.contents);
        host.messages.clear();
        main().txtWeekEnd->SetText("12/30/05");
        Enter({"8", "", "", "", "", "", "", ""});
        main().lbGross->SetCaption("untouched");
        host.files.push_back(dir.Path() / "x.prv");
        EXPECT_FALSE(LoadPayPeriod(program));
        ASSERT_EQ(host.messages.size(), 1u);
        const std::string& text = host.messages[0].text;
        EXPECT_EQ(text.rfind("The saved pay period could not be read:\r\n", 0), 0u) << text;
        EXPECT_NE(text.find(c.where), std::string::npos) << text;
        EXPECT_EQ(text.substr(text.size() - 22), "\r\nNothing was changed.");
        EXPECT_EQ(Entries(), (std::vector<std::string>{"8", "", "", "", "", "", "", ""}));
        EXPECT_EQ(main().txtWeekEnd->Text(), "12/30/05");
        EXPECT_EQ(main().lbGross->Caption(), "untouched");
    }
}

TEST_F(PayPeriod, TrailingBlankLinesAreHarmless) {
    WriteFile("x.prv", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n\r\n\r\n");
    host.files.push_back(dir.Path() / "x.prv");
    EXPECT_TRUE(LoadPayPeriod(program));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(main().txtEntry[7]->Text(), "8");
}

TEST_F(PayPeriod, CancellingTheDialogChangesNothing) {
    Enter({"8", "", "", "", "", "", "", ""});
    host.files.push_back(std::nullopt);
    EXPECT_FALSE(LoadPayPeriod(program));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.fileFilters.size(), 1u);
    EXPECT_EQ(main().txtEntry[0]->Text(), "8");
    EXPECT_EQ(main().txtWeekEnd->Text(), "00/00/05");
}

TEST(PayPeriodFile, SaveAndReadRoundTrip) {
    TempWorkDir dir;
    const std::array<float, 8> values{40, 0, 2.5F, 1.25F, 8, 0.1F, 1234.56F, -3};
    EXPECT_EQ(PayPeriodFileName("12/30/05", "Worker1"), "12_30_05Worker1.prv");
    EXPECT_EQ(PayPeriodFileName("1/2/2006", ""), "1_2_2006.prv");
    ASSERT_TRUE(PayPeriodRecords("p.prv", values).Commit().ok);
    EXPECT_EQ(ReadFile("p.prv"), "40\r\n0\r\n2.5\r\n1.25\r\n8\r\n0.1\r\n1234.56\r\n-3\r\n");
    std::array<float, 8> read{};
    EXPECT_FALSE(ReadPayPeriod("p.prv", read).has_value());
    EXPECT_EQ(read, values);
}

}  // namespace
}  // namespace kestrel
