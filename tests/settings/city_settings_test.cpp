#include <gtest/gtest.h>

#include "settings/city_tax_settings.h"
#include "settings/non_resident_tax_settings.h"
#include "support/temp_dir.h"

namespace kestrel {
namespace {

using testing::ReadFile;
using testing::TempWorkDir;
using testing::WriteFile;

constexpr char kNewYorkCityFile[] =
    "0,0,0.019,0,0,0.019\r\n"
    "308,5.85,0.0265,308,5.85,0.0265\r\n"
    "334,6.58,0.031,334,6.58,0.031\r\n"
    "557,14.08,0.037,577,14.08,0.037\r\n"
    "962,28.31,0.039,962,28.31,0.039\r\n"
    "2308,80.81,0.04,2308,80.81,0.04\r\n"
    "3846,142.35,0.044,3846,142.35,0.04\r\n"
    "5769,226.96,0.0544,5769,219.27,0.0603\r\n"
    "7692,331.58,0.044,7692,335.23,0.044\r\n"
    "19231,839.27,0.048,19231,842.92,0.048\r\n"
    "0\r\n"
    "192.3,211.5\r\n230.8,250\r\n269.3,288.5\r\n307.8,327\r\n346.3,365.5\r\n"
    "384.8,404\r\n423.3,442.5\r\n461.8,481\r\n500.3,519.5\r\n538.8,558\r\n";

constexpr char kNonResidentFile[] =
    "0,0,0,0\r\n145,115,78,58\r\n385,77,192,38\r\n769,38,385,19\r\n1154,0,577,0\r\n"
    "999999,0,999999,0\r\n999999,0,999999,0\r\n999999,0,999999,0\r\n0.0045\r\n";

// Every field a value of its own, so a field written in the wrong place shows.
CityTaxSettings Distinct() {
    CityTaxSettings city;
    for (std::size_t i = 0; i < 10; ++i) {
        const auto n = static_cast<float>(i);
        city.SingleBrackets[i] = {100 + n, 10 + n, 0.25F + n};
        city.MarriedBrackets[i] = {200 + n, 20 + n, 0.5F + n};
        city.SingleExemptions[i] = 300 + n;
        city.MarriedExemptions[i] = -400 - n;
    }
    city.NoLocalTax = 1;
    return city;
}

TEST(CityFile, NewYorkCityDefaultsAreWrittenAsTheTwentyOneLines) {
    TempWorkDir dir;
    ASSERT_TRUE(WriteCityFile("Worker1.cti", NewYorkCityDefaults()).ok);
    EXPECT_EQ(ReadFile("Worker1.cti"), kNewYorkCityFile);
}

TEST(CityFile, EveryFieldReadsBackFromItsOwnPlace) {
    TempWorkDir dir;
    ASSERT_TRUE(WriteCityFile("a.cti", Distinct()).ok);
    EXPECT_NE(ReadFile("a.cti").find("\r\n109,19,9.25,209,29,9.5\r\n1\r\n300,-400\r\n"),
              std::string::npos);

    CityTaxSettings read = NewYorkCityDefaults();
    const SettingsFileResult result = ReadCityFile("a.cti", read);
    EXPECT_EQ(result.status, SettingsFileStatus::Loaded);
    EXPECT_EQ(read, Distinct());
}

TEST(CityFile, MissingFileChangesNothing) {
    TempWorkDir dir;
    CityTaxSettings city = Distinct();
    EXPECT_EQ(ReadCityFile("Nobody.cti", city).status, SettingsFileStatus::Missing);
    EXPECT_EQ(city, Distinct());
}

TEST(CityFile, ShortAndMalformedFilesStopAtTheFailingField) {
    TempWorkDir dir;
    const std::string full = kNewYorkCityFile;
    // Five whole lines, then the end of the file.
    std::size_t cut = 0;
    for (int line = 0; line < 5; ++line)
        cut = full.find("\r\n", cut) + 2;
    WriteFile("short.cti", full.substr(0, cut));
    CityTaxSettings city = Distinct();
    SettingsFileResult result = ReadCityFile("short.cti", city);
    EXPECT_EQ(result.status, SettingsFileStatus::Corrupted);
    EXPECT_EQ(result.error.line, 6u);
    EXPECT_EQ(result.error.field, 31u);
    EXPECT_EQ(city.SingleBrackets[4].Percent, 0.039F);  // read before the failure
    EXPECT_EQ(city.MarriedBrackets[3].Minimum, 577.0F);
    EXPECT_EQ(city.SingleBrackets[5].Minimum, 105.0F);  // kept its old value
    EXPECT_EQ(city.NoLocalTax, 1);
    EXPECT_EQ(city.MarriedExemptions[9], -409.0F);

    // Line 11 holding a word instead of the flag.
    std::string bad = full;
    bad.replace(bad.find("\r\n0\r\n") + 2, 1, "yes");
    WriteFile("bad.cti", bad);
    city = Distinct();
    result = ReadCityFile("bad.cti", city);
    EXPECT_EQ(result.status, SettingsFileStatus::Corrupted);
    EXPECT_EQ(result.error.line, 11u);
    EXPECT_EQ(city.SingleBrackets, NewYorkCityDefaults().SingleBrackets);
    EXPECT_EQ(city.NoLocalTax, 1);
    EXPECT_EQ(city.SingleExemptions[0], 300.0F);

    WriteFile("empty.cti", "");
    EXPECT_EQ(ReadCityFile("empty.cti", city).status, SettingsFileStatus::Corrupted);
}

TEST(NonResidentFile, DefaultsAreWrittenAsTheNineLinesAndReadBack) {
    TempWorkDir dir;
    ASSERT_TRUE(WriteNonResidentFile("Worker1.nci", NonResidentDefaults()).ok);
    EXPECT_EQ(ReadFile("Worker1.nci"), kNonResidentFile);
    NonResidentTaxSettings read;
    EXPECT_EQ(ReadNonResidentFile("Worker1.nci", read).status, SettingsFileStatus::Loaded);
    EXPECT_EQ(read, NonResidentDefaults());
    EXPECT_EQ(read.NonResidentPercent, 0.0045F);
}

TEST(NonResidentFile, MissingShortAndMalformedFiles) {
    TempWorkDir dir;
    NonResidentTaxSettings table;
    table.NonResidentPercent = 0.5F;
    EXPECT_EQ(ReadNonResidentFile("none.nci", table).status, SettingsFileStatus::Missing);
    EXPECT_EQ(table.NonResidentPercent, 0.5F);

    // The rate line is missing.
    std::string text = kNonResidentFile;
    WriteFile("short.nci", text.substr(0, text.rfind("0.0045")));
    SettingsFileResult result = ReadNonResidentFile("short.nci", table);
    EXPECT_EQ(result.status, SettingsFileStatus::Corrupted);
    EXPECT_EQ(result.error.line, 9u);
    EXPECT_EQ(table.WeeklyMinimum[1], 78.0F);
    EXPECT_EQ(table.NonResidentPercent, 0.5F);

    text.replace(text.find("385,77"), 3, "3-5");
    WriteFile("bad.nci", text);
    table = NonResidentTaxSettings{};
    result = ReadNonResidentFile("bad.nci", table);
    EXPECT_EQ(result.status, SettingsFileStatus::Corrupted);
    EXPECT_EQ(result.error.line, 3u);
    EXPECT_EQ(table.BiWeeklyMinimum[1], 145.0F);
    EXPECT_EQ(table.BiWeeklyMinimum[2], 0.0F);
}

}  // namespace
}  // namespace kestrel
