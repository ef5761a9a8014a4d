// The settings readers take only a file of their own kind: one that ends where its layout ends,
// holds a status the calculation knows, and is a regular file of a sensible size.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "app/program.h"
#include "platform/scripted_host.h"
#include "settings/city_tax_settings.h"
#include "settings/non_resident_tax_settings.h"
#include "settings/state_tax_settings.h"
#include "support/message_text.h"
#include "support/temp_dir.h"

namespace kestrel {
namespace {

using testing::ReadFile;
using testing::StandardPart;
using testing::StandardParts;
using testing::TempWorkDir;
using testing::WriteFile;

std::string CorruptedMessage(const std::string& name) {
    return "You have corupted a file.\r\nFind file,\r\n" + name + "\r\nand delete it.";
}

// City settings every field of which differs from the New York City ones.
CityTaxSettings MarkedCity() {
    CityTaxSettings city;
    for (auto& row : city.SingleBrackets)
        row = {1, 2, 3};
    for (auto& row : city.MarriedBrackets)
        row = {4, 5, 6};
    city.SingleExemptions.fill(7);
    city.MarriedExemptions.fill(8);
    city.NoLocalTax = 1;
    return city;
}

class StrictSettings : public ::testing::Test {
  protected:
    TempWorkDir dir;
};

TEST_F(StrictSettings, AStateFileIsNotACityFile) {
    // The first 21 lines of the two layouts agree; the state file's two more lines tell them apart.
    EmployeeProfile profile = NewEmployeeProfile();
    ASSERT_TRUE(WriteStateFile("Worker1.sta", NewYorkStateDefaults(), profile).ok);
    CityTaxSettings city = MarkedCity();
    const SettingsFileResult read = ReadCityFile("Worker1.sta", city);
    EXPECT_EQ(read.status, SettingsFileStatus::Corrupted);
    EXPECT_EQ(read.error.line, 22u);
    EXPECT_EQ(read.error.field, 82u);  // 60 table figures, the flag and 20 exemptions come first
    EXPECT_NE(read.error.reason.find("more than the file has"), std::string::npos)
        << read.error.reason;
    // As for any corrupted settings file, what was read before the failure stays read.
    EXPECT_EQ(city.SingleBrackets, NewYorkStateDefaults().SingleBrackets);
    EXPECT_EQ(city.MarriedExemptions[9], 634.0F);

    // Its own kind reads, and so does a file whose last line has trailing blanks and blank lines.
    ASSERT_TRUE(WriteCityFile("Worker1.cti", NewYorkCityDefaults()).ok);
    WriteFile("padded.cti", ReadFile("Worker1.cti") + "  \r\n\r\n\t\n");
    for (const char* name : {"Worker1.cti", "padded.cti"}) {
        SCOPED_TRACE(name);
        city = MarkedCity();
        EXPECT_EQ(ReadCityFile(name, city).status, SettingsFileStatus::Loaded);
        EXPECT_EQ(city, NewYorkCityDefaults());
    }
}

TEST_F(StrictSettings, ANonResidentFileCutInsideItsRateIsRefused) {
    ASSERT_TRUE(WriteNonResidentFile("Worker1.nci", NonResidentDefaults()).ok);
    const std::string whole = ReadFile("Worker1.nci");
    ASSERT_EQ(whole.substr(whole.size() - 8), "0.0045\r\n");
    // "0." of "0.0045": a number, but not the one written.
    WriteFile("cut.nci", whole.substr(0, whole.size() - 6));
    NonResidentTaxSettings table;
    table.NonResidentPercent = 0.5F;
    const SettingsFileResult read = ReadNonResidentFile("cut.nci", table);
    EXPECT_EQ(read.status, SettingsFileStatus::Corrupted);
    EXPECT_EQ(read.error.line, 9u);
    EXPECT_EQ(read.error.field, 33u);
    EXPECT_NE(read.error.reason.find("cut short"), std::string::npos) << read.error.reason;
    // The lines before were read; the cut rate is not taken.
    EXPECT_EQ(table.WeeklyMinimum[1], 78.0F);
    EXPECT_EQ(table.NonResidentPercent, 0.5F);

    // The window tells it with the corrupted-file message, as the state and city windows do.
    std::filesystem::rename("cut.nci", "Worker1.nci");
    ScriptedHost host;
    Program program(host);
    program.ActiveUser = "Worker1";
    program.dialogNonCity.Load();
    EXPECT_EQ(StandardParts(host.MessageTexts()),
              std::vector<std::string>{CorruptedMessage("Worker1.nci")});
}

TEST_F(StrictSettings, AStateFileMustHoldSingleOrMarried) {
    EmployeeProfile written = NewEmployeeProfile();
    written.StateStatus = "Married";
    StateTaxSettings state = NewYorkStateDefaults();
    ASSERT_TRUE(WriteStateFile("Worker1.sta", state, written).ok);
    const std::string good = ReadFile("Worker1.sta");
    for (const char* status : {"married", "Single ", "", "0", "Head of household"}) {
        SCOPED_TRACE(status);
        std::string text = good;
        text.replace(text.find("\"Married\""), 9, "\"" + std::string(status) + "\"");
        WriteFile("Worker1.sta", text);
        EmployeeProfile profile = NewEmployeeProfile();
        profile.AdditionalFederal = 9;
        StateTaxSettings read;
        const SettingsFileResult result = ReadStateFile("Worker1.sta", read, profile);
        EXPECT_EQ(result.status, SettingsFileStatus::Corrupted);
        EXPECT_EQ(result.error.line, 23u);
        EXPECT_EQ(result.error.field, 95u);
        EXPECT_NE(result.error.reason.find("\"Single\" or \"Married\""), std::string::npos);
        // Nothing of the refused file is taken, nor is what was held before kept.
        EXPECT_EQ(profile.StateStatus, "Single");
        EXPECT_EQ(profile.AdditionalFederal, 0.0F);
        EXPECT_EQ(read.SingleBrackets, NewYorkStateDefaults().SingleBrackets);
    }

    // The State Tax window loads through the same reader and shows the standard message.
    ScriptedHost host;
    Program program(host);
    program.ActiveUser = "Worker1";
    program.profile = NewEmployeeProfile();
    program.dialogState.LoadStateFile();
    EXPECT_EQ(StandardParts(host.MessageTexts()),
              std::vector<std::string>{CorruptedMessage("Worker1.sta")});
    EXPECT_EQ(program.profile.StateStatus, "Single");

    WriteFile("Worker1.sta", good);
    EmployeeProfile profile = NewEmployeeProfile();
    StateTaxSettings read;
    EXPECT_EQ(ReadStateFile("Worker1.sta", read, profile).status, SettingsFileStatus::Loaded);
    EXPECT_EQ(profile.StateStatus, "Married");
}

TEST_F(StrictSettings, SomethingOtherThanAFileIsRefusedNotTakenForMissing) {
    std::filesystem::create_directory("Worker1.sta");
    ASSERT_EQ(::mkfifo("Worker1.cti", 0600), 0);
    StateTaxSettings state;
    EmployeeProfile profile;
    SettingsFileResult read = ReadStateFile("Worker1.sta", state, profile);
    EXPECT_EQ(read.status, SettingsFileStatus::Corrupted);
    EXPECT_EQ(read.error.reason, "is a directory");
    CityTaxSettings city;
    read = ReadCityFile("Worker1.cti", city);  // must not wait for a writer
    EXPECT_EQ(read.status, SettingsFileStatus::Corrupted);
    EXPECT_EQ(read.error.reason, "is a pipe");
    NonResidentTaxSettings nonResident;
    read = ReadNonResidentFile("/dev/null", nonResident);
    EXPECT_EQ(read.status, SettingsFileStatus::Corrupted);
    EXPECT_EQ(read.error.reason, "is a device");

    // The windows report them as corrupted files: the user has something to delete.
    ScriptedHost host;
    Program program(host);
    program.ActiveUser = "Worker1";
    program.dialogState.LoadStateFile();
    program.dialogCity.LoadCityFile();
    EXPECT_EQ(StandardParts(host.MessageTexts()),
              (std::vector<std::string>{CorruptedMessage("Worker1.sta"),
                                        CorruptedMessage("Worker1.cti")}));
}

TEST_F(StrictSettings, AFileLargerThanAnyLayoutIsRefused) {
    // A whole non-resident file followed by a megabyte of blank lines.
    ASSERT_TRUE(WriteNonResidentFile("Worker1.nci", NonResidentDefaults()).ok);
    std::string text = ReadFile("Worker1.nci");
    text.append(1 << 20, '\n');
    WriteFile("Worker1.nci", text);
    NonResidentTaxSettings table;
    table.NonResidentPercent = 0.5F;
    const SettingsFileResult read = ReadNonResidentFile("Worker1.nci", table);
    EXPECT_EQ(read.status, SettingsFileStatus::Corrupted);
    EXPECT_EQ(read.error.line, 0u);
    EXPECT_EQ(read.error.reason.rfind("is too large: ", 0), 0u) << read.error.reason;
    EXPECT_EQ(table.NonResidentPercent, 0.5F);
}

TEST_F(StrictSettings, ABadValueIsQuotedWithoutItsControlBytes) {
    ASSERT_TRUE(WriteCityFile("Worker1.cti", NewYorkCityDefaults()).ok);
    std::string text = ReadFile("Worker1.cti");
    text.replace(0, 1, "\x1b[2J\xff");
    WriteFile("Worker1.cti", text);
    CityTaxSettings city;
    const SettingsFileResult read = ReadCityFile("Worker1.cti", city);
    EXPECT_EQ(read.status, SettingsFileStatus::Corrupted);
    EXPECT_EQ(read.error.reason, "not a number: \"\\x1b[2J\\xff\"");
}

}  // namespace
}  // namespace kestrel
