#include "employee/record_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/scripted_host.h"
#include "support/temp_dir.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempWorkDir;
using testing::WriteFile;

std::vector<std::string> FolderEntries() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(".")) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> ReadAllText(RecordReader& reader) {
    std::vector<std::string> values;
    std::string value;
    while (!reader.AtEnd() && reader.Text(value))
        values.push_back(value);
    return values;
}

Currency Dollars(std::int64_t dollars) {
    return Currency::FromRaw(dollars * 10000);
}

TEST(RecordWriterTest, WritesEveryFieldTypeAndReadsItBack) {
    TempWorkDir dir;
    RecordWriter writer("Worker1.sta");
    writer.Line({field::Text("Worker1"), field::Single(7.5F), field::Int16(-1), field::Bool(true),
                 field::Empty(), field::Money(Dollars(15600))});
    writer.Line({field::Text("Smith, \"Jo\""), field::Double(0.1), field::Bool(false)});
    writer.Line({field::Empty(), field::Empty(), field::Empty(), field::Empty()});
    const std::string expected =
        "\"Worker1\",7.5,-1,#TRUE#,,15600\r\n"
        "\"Smith, 'Jo'\",0.1,#FALSE#\r\n"
        ",,,\r\n";
    EXPECT_EQ(writer.Contents(), expected);
    ASSERT_TRUE(writer.Commit().ok);
    EXPECT_EQ(ReadFile("Worker1.sta"), expected);

    RecordReader reader = RecordReader::Open("Worker1.sta");
    std::string name, second, empty = "x";
    float rate = 0, emptySingle = 1;
    std::int16_t flag = 0;
    bool yes = false, no = true, emptyBool = true;
    double fraction = 0;
    Currency pay, emptyMoney = Dollars(1);
    reader.Text(name);
    reader.Single(rate);
    reader.Int16(flag);
    reader.Bool(yes);
    reader.Skip();
    reader.Money(pay);
    reader.Text(second);
    reader.Double(fraction);
    reader.Bool(no);
    reader.Text(empty);
    reader.Single(emptySingle);
    reader.Bool(emptyBool);
    reader.Money(emptyMoney);
    ASSERT_TRUE(reader.Ok()) << reader.Error()->reason;
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(name, "Worker1");
    EXPECT_EQ(rate, 7.5F);
    EXPECT_EQ(flag, -1);
    EXPECT_TRUE(yes);
    EXPECT_EQ(pay, Dollars(15600));
    EXPECT_EQ(second, "Smith, 'Jo'");
    EXPECT_EQ(fraction, 0.1);
    EXPECT_FALSE(no);
    EXPECT_EQ(empty, "");
    EXPECT_EQ(emptySingle, 0.0F);
    EXPECT_FALSE(emptyBool);
    EXPECT_EQ(emptyMoney, Currency());
}

TEST(RecordWriterTest, FailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
    TempWorkDir dir;
    const std::string old = "\"old\",1\r\n";
    WriteFile("Worker1.sta", old);
    // 1000 is past the end of the contents: the seam still reports the write as failed.
    for (std::size_t bytes : {0U, 5U, 1000U}) {
        RecordWriter writer("Worker1.sta");
        writer.Line({field::Text("new contents"), field::Single(2)});
        writer.FailAfterBytes(bytes);
        WriteResult result = writer.Commit();
        EXPECT_FALSE(result.ok) << bytes;
        EXPECT_FALSE(result.error.empty());
        EXPECT_EQ(ReadFile("Worker1.sta"), old);
        EXPECT_EQ(FolderEntries(), std::vector<std::string>{"Worker1.sta"});
    }
}

TEST(RecordWriterTest, CommitReplacesTheFileAndKeepsItsPermissions) {
    TempWorkDir dir;
    WriteFile("Worker1.sta", "old\r\n");
    fs::permissions("Worker1.sta",
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    RecordWriter writer("Worker1.sta");
    writer.Line({field::Int16(3)});
    ASSERT_TRUE(writer.Commit().ok);
    EXPECT_EQ(ReadFile("Worker1.sta"), "3\r\n");
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"Worker1.sta"});
    struct stat info {};
    ASSERT_EQ(::stat("Worker1.sta", &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640U);
}

TEST(RecordWriterTest, CommitFailsCleanlyWhereItCannotWrite) {
    TempWorkDir dir;
    fs::create_directory("taken.sta");
    for (const char* target : {"no-such-folder/Worker1.sta", "taken.sta"}) {
        RecordWriter writer(target);
        writer.Line({field::Int16(1)});
        WriteResult result = writer.Commit();
        EXPECT_FALSE(result.ok) << target;
        EXPECT_FALSE(result.error.empty()) << target;
    }
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"taken.sta"});
    EXPECT_TRUE(fs::is_directory("taken.sta"));
}

TEST(RecordReaderTest, SplitsFieldsWhereverTheLineBreaksFall) {
    struct Case {
        std::string input;
        std::vector<std::string> fields;
    };
    const Case cases[] = {
        {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
        {"abc   ,x\r\n", {"abc", "x"}},
        {" \t\"a b \" junk,x\r\n", {"a b ", "x"}},
        {"\"Smith, John\",1\r\n", {"Smith, John", "1"}},
        {",,,\r\n", {"", "", "", ""}},
        {"a,", {"a", ""}},
        {"\"two\r\nlines\",z", {"two\r\nlines", "z"}},
        {"\r\n", {""}},
        {"", {}},
        {std::string("n\0l,x", 5), {std::string("n\0l", 3), "x"}},
    };
    for (const Case& c : cases) {
        RecordReader reader = RecordReader::FromText(c.input);
        EXPECT_EQ(ReadAllText(reader), c.fields) << c.input;
        EXPECT_TRUE(reader.Ok()) << c.input;
    }
}

TEST(RecordReaderTest, ReadsNumbersInEveryFormTheyAreWritten) {
    const std::pair<std::string, double> cases[] = {
        {".5", 0.5},          {"-.5", -0.5},    {"1E-05", 1e-05}, {"\"7.5\"", 7.5},
        {"  7.5  \r\n", 7.5}, {"0.25,9", 0.25}, {",9", 0.0},
    };
    for (const auto& [input, expected] : cases) {
        RecordReader reader = RecordReader::FromText(input);
        double value = -99;
        EXPECT_TRUE(reader.Double(value)) << input;
        EXPECT_EQ(value, expected) << input;
    }
}

TEST(RecordReaderTest, ConvertsBetweenBooleansAndIntegers) {
    RecordReader reader = RecordReader::FromText("#TRUE#,#FALSE#,2.5,3.5,-32768,2,0,-1");
    std::int16_t values[5] = {7, 7, 7, 7, 7};
    bool two = false, zero = true, minusOne = false;
    for (std::int16_t& value : values)
        reader.Int16(value);
    reader.Bool(two);
    reader.Bool(zero);
    reader.Bool(minusOne);
    ASSERT_TRUE(reader.Ok()) << reader.Error()->reason;
    EXPECT_EQ(std::vector<std::int16_t>(values, values + 5),
              (std::vector<std::int16_t>{-1, 0, 2, 4, -32768}));
    EXPECT_TRUE(two);
    EXPECT_FALSE(zero);
    EXPECT_TRUE(minusOne);
}

TEST(RecordReaderTest, KeepsTheFirstFailure) {
    struct Case {
        std::string input;
        std::string reads;  // T text, S single, D double, I int16, B bool, M money
        std::size_t field, line;
        std::string reason;
    };
    const Case cases[] = {
        {"\"a\",1\r\n", "TSS", 3, 2, "unexpected end of file"},
        {"a\rb\nc", "TTTT", 4, 3, "unexpected end of file"},
        {"\"a\",abc\r\n\"b\"\r\n", "TST", 2, 1, "not a number"},
        {"1\r\n2\r\n40000\r\n", "III", 3, 3, "16-bit"},
        {"1\r\n2\r\nx\r\n", "IID", 3, 3, "not a number"},
        {"maybe", "B", 1, 1, "not a Boolean"},
        {"1,2,$x", "DDM", 3, 1, "not an amount"},
        {"x,\"unterminated", "TT", 2, 1, "quote"},
    };
    for (const Case& c : cases) {
        RecordReader reader = RecordReader::FromText(c.input);
        std::string text;
        float single = 0;
        double number = 0;
        std::int16_t integer = 0;
        bool flag = false;
        Currency money;
        for (char kind : c.reads) {
            switch (kind) {
                case 'T':
                    reader.Text(text);
                    break;
                case 'S':
                    reader.Single(single);
                    break;
                case 'D':
                    reader.Double(number);
                    break;
                case 'I':
                    reader.Int16(integer);
                    break;
                case 'B':
                    reader.Bool(flag);
                    break;
                default:
                    reader.Money(money);
                    break;
            }
        }
        EXPECT_FALSE(reader.Skip()) << c.input;
        ASSERT_TRUE(reader.Error().has_value()) << c.input;
        EXPECT_EQ(reader.Error()->field, c.field) << c.input;
        EXPECT_EQ(reader.Error()->line, c.line) << c.input;
        EXPECT_NE(reader.Error()->reason.find(c.reason), std::string::npos)
            << c.input << ": " << reader.Error()->reason;
    }
}

TEST(RecordReaderTest, MissingFileFailsAtTheFirstRead) {
    TempWorkDir dir;
    RecordReader reader = RecordReader::Open("missing.sta");
    std::string text = "kept";
    EXPECT_FALSE(reader.Text(text));
    EXPECT_EQ(text, "kept");
    ASSERT_TRUE(reader.Error().has_value());
    EXPECT_EQ(reader.Error()->reason, "cannot be opened: no such file or directory");
}

TEST(FileExistsTest, AnswersOnlyForReadableFiles) {
    TempWorkDir dir;
    WriteFile("a", "x");
    fs::create_directory("folder");
    EXPECT_TRUE(FileExists("a"));
    EXPECT_FALSE(FileExists("missing.sta"));
    EXPECT_FALSE(FileExists("folder"));
    EXPECT_FALSE(FileExists(fs::path(std::string("a\0b", 3))));  // must not be cut to "a"
    EXPECT_FALSE(FileExists("C:a.sta"));
    EXPECT_FALSE(FileExists(""));
}

TEST(RecordFileTest, NamesAndMessages) {
    EXPECT_EQ(EmployeeFile("Worker1", ".sta"), fs::path("Worker1.sta"));
    EXPECT_EQ(EmployeeFile("", ".sta"), fs::path(".sta"));
    EXPECT_EQ(CorruptedFileMessage("Worker1.sta"),
              "You have corupted a file.\r\nFind file,\r\nWorker1.sta\r\nand delete it.");
    EXPECT_EQ(WriteErrorMessage(), "Check your numbers\r\nNo blanks\r\nOnly numbers");

    ScriptedHost host;
    ShowCorruptedFile(host, "Fed.tbl");
    ShowWriteError(host);
    ASSERT_EQ(host.messages.size(), 2U);
    EXPECT_EQ(host.messages[0].text, CorruptedFileMessage("Fed.tbl"));
    EXPECT_EQ(host.messages[0].title, kAppTitle);
    EXPECT_EQ(host.messages[1].text, WriteErrorMessage());
    EXPECT_EQ(host.messages[1].buttons, MsgButtons::Ok);
}

}  // namespace
}  // namespace kestrel
