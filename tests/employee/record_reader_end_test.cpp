// Where a record file must end, which numbers may not be blank, and what counts as no file at all.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "employee/record_file.h"
#include "support/temp_dir.h"

namespace kestrel {
namespace {

using testing::TempWorkDir;
using testing::WriteFile;

// Reads `count` fields of `text` as texts, then finishes.
RecordReader ReadFields(const std::string& text, int count) {
    RecordReader in = RecordReader::FromText(text);
    std::string value;
    for (int k = 0; k < count; ++k)
        in.Text(value);
    in.Finish();
    return in;
}

TEST(RecordReaderFinish, OnlyBlanksAndLineEndsMayFollow) {
    for (const char* text : {"a,b\r\n", "a,b\n", "a,b\r", "a,b\r\n\r\n", "a,b\r\n \t\r\n\n\r",
                             "a,b  \r\n", "\"a\",\"b\"\r\n"}) {
        SCOPED_TRACE(text);
        const RecordReader in = ReadFields(text, 2);
        EXPECT_TRUE(in.Ok()) << in.Error()->reason;
        EXPECT_TRUE(in.AtEnd());
    }
}

TEST(RecordReaderFinish, NamesTheFirstFieldTooMany) {
    struct Case {
        const char* text;
        std::size_t line;
        const char* reason;
    };
    const Case cases[] = {
        {"a,b\r\nc\r\n", 2, "more than the file has, from here on: \"c\""},
        {"a,b\r\n\r\n\r\n  x,y\r\n", 4, "more than the file has, from here on: \"x,y\""},
        {"a,b\rc", 2, "more than the file has, from here on: \"c\""},
        {"a,b,c\r\n", 1, "more fields than the file has: the line goes on after a comma"},
        {"a,b,\r\n", 1, "more fields than the file has: the line goes on after a comma"},
        {"a,b\r\n\x1b[2J\r\n", 2, "more than the file has, from here on: \"\\x1b[2J\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const RecordReader in = ReadFields(c.text, 2);
        ASSERT_FALSE(in.Ok());
        EXPECT_EQ(in.Error()->field, 3u);
        EXPECT_EQ(in.Error()->line, c.line);
        EXPECT_EQ(in.Error()->reason, c.reason);
    }
}

TEST(RecordReaderFinish, ALastFieldWithoutItsLineEndIsCut) {
    for (const char* text : {"a,b", "a,\"b\"", "a,"}) {
        SCOPED_TRACE(text);
        const RecordReader in = ReadFields(text, 2);
        ASSERT_FALSE(in.Ok());
        EXPECT_EQ(in.Error()->field, 2u);
        EXPECT_EQ(in.Error()->line, 1u);
        EXPECT_NE(in.Error()->reason.find("cut short"), std::string::npos);
    }
    // The first failure stays the one told.
    const RecordReader shortOne = ReadFields("a", 2);
    EXPECT_EQ(shortOne.Error()->reason, "unexpected end of file");
}

TEST(RecordReaderFinish, AFieldCutAtTheEndKeepsItsValueWhereAskedTo) {
    float kept = 5;
    RecordReader cut = RecordReader::FromText("1,0.");
    float first = 0;
    cut.Single(first);
    const float before = kept;
    cut.Single(kept);
    EXPECT_FALSE(cut.Finish(kept, before));
    EXPECT_EQ(first, 1.0F);
    EXPECT_EQ(kept, 5.0F);

    // Data after the last field is no fault of that field: it keeps what was read.
    RecordReader longer = RecordReader::FromText("1,2\r\n3\r\n");
    longer.Single(first);
    longer.Single(kept);
    EXPECT_FALSE(longer.Finish(kept, before));
    EXPECT_EQ(kept, 2.0F);
}

TEST(RecordReaderTest, RequiredNumbersMayNotBeBlank) {
    RecordReader in = RecordReader::FromText("1, ,\"\"\r\n");
    float value = 7;
    EXPECT_TRUE(in.RequiredSingle(value));
    EXPECT_EQ(value, 1.0F);
    EXPECT_FALSE(in.RequiredSingle(value));
    EXPECT_EQ(value, 1.0F);
    EXPECT_EQ(in.Error()->field, 2u);
    EXPECT_EQ(in.Error()->reason, "a number is needed here, not an empty field");
    // The ordinary read takes a blank as 0.
    RecordReader plain = RecordReader::FromText(" ,\"\"\r\n");
    EXPECT_TRUE(plain.Single(value));
    EXPECT_EQ(value, 0.0F);
    value = 3;
    EXPECT_TRUE(plain.Single(value));
    EXPECT_EQ(value, 0.0F);
}

TEST(RecordReaderTest, RefuseFailsAtTheFieldJustRead) {
    RecordReader in = RecordReader::FromText("1,\"Maybe\",2\r\n");
    float number = 0;
    std::string text;
    in.Single(number);
    in.Text(text);
    EXPECT_FALSE(in.Refuse("not a status"));
    EXPECT_FALSE(in.Single(number));
    EXPECT_EQ(number, 1.0F);
    EXPECT_EQ(in.Error()->field, 2u);
    EXPECT_EQ(in.Error()->line, 1u);
    EXPECT_EQ(in.Error()->reason, "not a status");
}

TEST(QuotedValueTest, EscapesWhatATerminalWouldActOnAndCutsLongValues) {
    EXPECT_EQ(QuotedValue("12a"), "\"12a\"");
    EXPECT_EQ(QuotedValue("a\x1b]0;x\x07\x7f\xc3\xa9"), "\"a\\x1b]0;x\\x07\\x7f\\xc3\\xa9\"");
    EXPECT_EQ(QuotedValue(std::string(40, 'x')), "\"" + std::string(32, 'x') + "...\"");
}

TEST(FileMissingTest, OnlyAnAbsentNameIsMissing) {
    TempWorkDir dir;
    WriteFile("a.sta", "1\r\n");
    std::filesystem::create_directory("folder.sta");
    ASSERT_EQ(::mkfifo("pipe.sta", 0600), 0);
    std::filesystem::create_symlink("nowhere.sta", "dangling.sta");
    EXPECT_TRUE(FileMissing("none.sta"));
    EXPECT_TRUE(FileMissing("a.sta/below"));
    EXPECT_TRUE(FileMissing(""));
    EXPECT_TRUE(FileMissing(std::filesystem::path(std::string("a.sta\0x", 7))));
    EXPECT_FALSE(FileMissing("a.sta"));
    EXPECT_FALSE(FileMissing("folder.sta"));
    EXPECT_FALSE(FileMissing("pipe.sta"));
    // A link whose target is gone is a file that cannot be read, not a missing one.
    EXPECT_FALSE(FileMissing("dangling.sta"));
    EXPECT_FALSE(FileMissing("/dev/null"));
    // FileExists keeps answering only for files it can open as files.
    EXPECT_TRUE(FileExists("a.sta"));
    EXPECT_FALSE(FileExists("folder.sta"));
    EXPECT_FALSE(FileExists("pipe.sta"));
    EXPECT_FALSE(FileExists("/dev/null"));
}

TEST(RecordReaderTest, OpensOnlyRegularFilesOfASensibleSize) {
    TempWorkDir dir;
    std::filesystem::create_directory("folder.sta");
    WriteFile("largest.sta", "1\r\n" + std::string(kLargestRecordFile - 3, ' '));
    WriteFile("larger.sta", "1\r\n" + std::string(kLargestRecordFile - 2, ' '));
    struct Case {
        const char* name;
        const char* reason;  // empty: the file reads
    };
    const Case cases[] = {
        {"folder.sta", "is a directory"},
        {"/dev/null", "is a device"},
        {"missing.sta", "cannot be opened: no such file or directory"},
        {"largest.sta", ""},
        {"larger.sta",
         "is too large: 524289 bytes, where no file of this program holds more "
         "than 524288 bytes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordReader in = RecordReader::Open(c.name);
        float value = 0;
        in.Single(value);
        in.Finish();
        if (*c.reason == '\0') {
            EXPECT_TRUE(in.Ok()) << in.Error()->reason;
            EXPECT_EQ(value, 1.0F);
        } else {
            ASSERT_FALSE(in.Ok());
            EXPECT_EQ(in.Error()->line, 0u);
            EXPECT_EQ(in.Error()->field, 0u);
            EXPECT_EQ(in.Error()->reason, c.reason);
        }
    }
}

}  // namespace
}  // namespace kestrel
