#include "platform/xlsx_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <random>

#include <algorithm>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "support/xlsx_reader.h"

namespace kestrel {
namespace {

std::vector<std::string> FolderNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

Workbook SmallBook() {
    Workbook book;
    book.SetText("A1", "Date");
    book.SetText("B2", "12.50");
    return book;
}

TEST(WriteXlsx, FailuresSayWhyAndLeaveNothingBehind) {
    testing::TempWorkDir dir;
    std::filesystem::create_directory("taken.xlsx");
    // What stands at the name stays what it was: a pipe or a device is never made a file.
    ASSERT_EQ(::mkfifo("pipe.xlsx", 0644), 0);
    EXPECT_EQ(WriteXlsx(SmallBook(), "pipe.xlsx").error, "pipe.xlsx is a pipe, not a file");
    EXPECT_TRUE(std::filesystem::is_fifo("pipe.xlsx"));
    if (::mknod("null.xlsx", S_IFCHR | 0666, ::makedev(1, 3)) == 0) {  // as root only
        EXPECT_EQ(WriteXlsx(SmallBook(), "null.xlsx").error, "null.xlsx is a device, not a file");
        EXPECT_TRUE(std::filesystem::is_character_file("null.xlsx"));
        std::filesystem::remove("null.xlsx");
    }
    std::filesystem::remove("pipe.xlsx");

    const WriteResult missing = WriteXlsx(SmallBook(), "no/such/folder/out.xlsx");
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.error, "the folder no/such/folder does not exist");

    const WriteResult folder = WriteXlsx(SmallBook(), "taken.xlsx");
    EXPECT_FALSE(folder.ok);
    EXPECT_EQ(folder.error, "taken.xlsx is a folder");
    EXPECT_TRUE(std::filesystem::is_empty("taken.xlsx"));

    EXPECT_EQ(WriteXlsx(SmallBook(), "").error, "no file name was given");
    EXPECT_EQ(FolderNames("."), std::vector<std::string>{"taken.xlsx"});
}

TEST(WriteXlsx, AFailedSaveKeepsThePreviousFile) {
    testing::TempWorkDir dir;
    ASSERT_TRUE(WriteXlsx(SmallBook(), "out.xlsx").ok);
    const std::string before = testing::ReadFile("out.xlsx");
    EXPECT_EQ(before.substr(0, 2), "PK");  // a zip container

    // The format refuses this sheet name only once the file is under way.
    Workbook bad = SmallBook();
    bad.sheetName = "a[b]";
    const WriteResult failed = WriteXlsx(bad, "out.xlsx");
    EXPECT_FALSE(failed.ok);
    EXPECT_NE(failed.error.find("\"a[b]\" cannot name a sheet"), std::string::npos) << failed.error;
    EXPECT_EQ(testing::ReadFile("out.xlsx"), before);
    EXPECT_EQ(FolderNames("."), std::vector<std::string>{"out.xlsx"});

    // A good save replaces it whole.
    Workbook other = SmallBook();
    other.SetText("C3", "more");
    ASSERT_TRUE(WriteXlsx(other, "out.xlsx").ok);
    EXPECT_NE(testing::ReadFile("out.xlsx"), before);
    EXPECT_EQ(FolderNames("."), std::vector<std::string>{"out.xlsx"});
}

// A symbolic link is replaced by the workbook, which takes the mode any new file gets rather than
// that of the file the link pointed to; a hidden temporary file a killed export left is removed.
TEST(WriteXlsx, ALinkIsReplacedWithANewFilesModeAndStaleTemporariesGo) {
    testing::TempWorkDir dir;
    testing::WriteFile("secret", "kept");
    std::filesystem::permissions("secret", std::filesystem::perms::owner_read);
    std::filesystem::create_symlink("secret", "out.xlsx");
    testing::WriteFile(".out.xlsx.tmp-a1b2c3", "left by a killed export");
    const mode_t mask = ::umask(022);
    const WriteResult written = WriteXlsx(SmallBook(), "out.xlsx");
    ::umask(mask);
    ASSERT_TRUE(written.ok) << written.error;
    struct stat info {};
    ASSERT_EQ(::lstat("out.xlsx", &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    EXPECT_EQ(info.st_mode & 07777, 0644u);
    EXPECT_EQ(testing::ReadFile("secret"), "kept");
    EXPECT_EQ(FolderNames("."), (std::vector<std::string>{"out.xlsx", "secret"}));
}

// An export killed at any moment leaves at most a hidden temporary file beside the workbook,
// never one a user would see and open, and the next export removes it.
TEST(WriteXlsx, AKilledExportLeavesNothingVisible) {
    testing::TempWorkDir dir;
    Workbook book;
    for (int row = 1; row <= 60; ++row)
        for (int column = 1; column <= 16; ++column)
            book.SetText({row, column}, std::to_string(row * column) + ".00");
    std::mt19937 random(1230);
    bool anyLeft = false;
    for (int run = 0; run < 60; ++run) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) _exit(WriteXlsx(book, "out.xlsx").ok ? 0 : 1);
        ::usleep(std::uniform_int_distribution<useconds_t>(0, 20000)(random));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        for (const std::string& name : FolderNames(".")) {
            anyLeft = anyLeft || name != "out.xlsx";
            EXPECT_TRUE(name == "out.xlsx" || name.rfind(".out.xlsx.tmp-", 0) == 0) << name;
        }
    }
    ASSERT_TRUE(WriteXlsx(book, "out.xlsx").ok);
    EXPECT_EQ(FolderNames("."), std::vector<std::string>{"out.xlsx"}) << anyLeft;
}

// Texts a user can put into a register or a name reach the file readable: bytes that are not
// UTF-8 become U+FFFD, "&" in a footer stays an "&", and a footer too long for the format is cut
// rather than failing the export.
TEST(WriteXlsx, AwkwardTextsStayReadable) {
    testing::TempWorkDir dir;
    Workbook book;
    book.SetText("A1", "bad \xFF byte");
    book.SetText("A2", "half \xC3");
    book.SetText("A3", "R&D <co> \"q\"");
    book.page.leftFooter = "Smith & Sons    1";
    book.page.centerFooter = "Kestrel\xC2\xAE";
    ASSERT_TRUE(WriteXlsx(book, "odd.xlsx").ok);
    testing::XlsxDump dump = testing::ReadXlsx("odd.xlsx");
    ASSERT_EQ(dump.error, "");
    EXPECT_EQ(dump.cells["A1"][1], "bad \xEF\xBF\xBD byte");
    EXPECT_EQ(dump.cells["A2"][1], "half \xEF\xBF\xBD");
    EXPECT_EQ(dump.cells["A3"][1], "R&D <co> \"q\"");
    EXPECT_EQ(dump.items["rawFooter"], "&LSmith && Sons    1&CKestrel\xC2\xAE");

    book.page.leftFooter = std::string(300, 'n') + "    123-45-6789";
    ASSERT_TRUE(WriteXlsx(book, "long.xlsx").ok);
    dump = testing::ReadXlsx("long.xlsx");
    ASSERT_EQ(dump.error, "");
    const std::string footer = dump.items["rawFooter"];
    EXPECT_LE(footer.size(), 255u);
    EXPECT_EQ(footer.substr(0, 12), "&Lnnnnnnnnnn");
    EXPECT_EQ(footer.substr(footer.size() - 11), "&CKestrel\xC2\xAE");
}

}  // namespace
}  // namespace kestrel
