// The federal table file is taken only whole: every number written out and nothing after the
// version text. A table read from anything less would withhold the wrong tax without a word.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "calc/federal_tables.h"
#include "platform/scripted_host.h"
#include "support/temp_dir.h"

namespace kestrel {
namespace {

using testing::DemoFolder;
using testing::ReadFile;
using testing::TempWorkDir;
using testing::WriteFile;

std::string Shipped() {
    return ReadFile(DemoFolder() / "Fedtaxx.tax");
}

struct Refused {
    FederalFileStatus status;
    ReadError error;
};

Refused ReadFrom(const std::string& text) {
    WriteFile("Fedtaxx.tax", text);
    FederalTables tables;
    tables.allowances[1] = 99;
    const FederalFileResult result = ReadFederalTableFile("Fedtaxx.tax", tables);
    // A refused table is never taken in part.
    if (result.status != FederalFileStatus::Loaded) {
        EXPECT_EQ(tables.allowances[1], 99.0F);
    }
    return {result.status, result.error};
}

class StrictFederal : public ::testing::Test {
  protected:
    TempWorkDir dir;
};

TEST_F(StrictFederal, NothingButBlankLinesMayFollowTheVersion) {
    const std::string text = Shipped();
    EXPECT_EQ(ReadFrom(text).status, FederalFileStatus::Loaded);
    EXPECT_EQ(ReadFrom(text + "\r\n  \r\n").status, FederalFileStatus::Loaded);

    // Another table appended, as when two years' files are joined.
    Refused read = ReadFrom(text + text);
    EXPECT_EQ(read.status, FederalFileStatus::Malformed);
    EXPECT_EQ(read.error.line, 36u);
    EXPECT_EQ(read.error.field, 138u);
    read = ReadFrom(text + ",\r\n");
    EXPECT_EQ(read.status, FederalFileStatus::Malformed);
    EXPECT_EQ(read.error.line, 36u);
    // A field more on the version's own line.
    std::string longer = text;
    longer.insert(longer.size() - 2, ",2006");
    read = ReadFrom(longer);
    EXPECT_EQ(read.status, FederalFileStatus::Malformed);
    EXPECT_EQ(read.error.line, 35u);
}

TEST_F(StrictFederal, EveryNumberMustBeWrittenOut) {
    // The rate of the Single weekly block's first row left blank: read as 0, the bracket would
    // withhold nothing.
    std::string text = Shipped();
    const std::size_t rate = text.find("51,188,51,0.1") + 10;
    text.replace(rate, 3, "");
    const Refused read = ReadFrom(text);
    EXPECT_EQ(read.status, FederalFileStatus::Malformed);
    EXPECT_EQ(read.error.line, 8u);
    EXPECT_EQ(read.error.field, 33u);
    EXPECT_NE(read.error.reason.find("empty"), std::string::npos) << read.error.reason;

    // A blank allowance amount, and a blank as the last allowance before the version.
    text = Shipped();
    text.replace(text.find("61.54"), 5, " ");
    EXPECT_EQ(ReadFrom(text).status, FederalFileStatus::Malformed);
    text = Shipped();
    text.replace(text.rfind("553.86"), 6, "");
    EXPECT_EQ(ReadFrom(text).status, FederalFileStatus::Malformed);

    // The separators may still be anything, an empty field among them.
    text = Shipped();
    const std::string separator = "\"End of Married weekly\"";
    text.replace(text.find(separator), separator.size(), "");
    EXPECT_EQ(ReadFrom(text).status, FederalFileStatus::Loaded);
}

TEST_F(StrictFederal, ACutFileIsRefusedEvenWhereItsLastNumberReads) {
    const std::string text = Shipped();
    // Cut inside the version text's closing quote: the text is whole, the line end is not there.
    EXPECT_EQ(ReadFrom(text.substr(0, text.size() - 2)).status, FederalFileStatus::Malformed);
    EXPECT_EQ(ReadFrom(text.substr(0, text.size() - 1)).status, FederalFileStatus::Loaded);
}

TEST_F(StrictFederal, ADirectoryIsRefusedWithItsReason) {
    std::filesystem::create_directory("Fedtaxx.tax");
    FederalTables tables;
    const FederalFileResult read = ReadFederalTableFile("Fedtaxx.tax", tables);
    EXPECT_EQ(read.status, FederalFileStatus::Malformed);
    EXPECT_EQ(read.error.reason, "is a directory");
    EXPECT_EQ(MalformedFederalTableMessage("Fedtaxx.tax", read.error),
              "The federal table file Fedtaxx.tax cannot be read (is a directory).\r\n"
              "No federal tax can be withheld until it is replaced.");

    // The main window's load cannot open it, which is the missing-table case.
    ScriptedHost host;
    EXPECT_FALSE(LoadFederalTables(host, tables));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, MissingFederalTableMessage());
}

TEST_F(StrictFederal, ADamagedTableIsNamedWithLineAndField) {
    std::string text = Shipped();
    text.replace(text.find("0.28"), 4, "0,28");
    WriteFile("Fedtaxx.tax", text);
    ScriptedHost host;
    FederalTables tables;
    EXPECT_FALSE(LoadFederalTables(host, tables));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(
        host.messages[0].text.rfind("The federal table file Fedtaxx.tax is damaged (line ", 0), 0u)
        << host.messages[0].text;
}

}  // namespace
}  // namespace kestrel
