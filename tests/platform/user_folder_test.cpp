// The folder a menu start works in: made on the first start, given the installed files, and
// never robbed of what the user already keeps there.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "platform/user_folder.h"
#include "support/temp_dir.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempWorkDir;
using testing::WriteFile;

const std::vector<std::string_view> kShipped = {"Fedtaxx.tax", "Kestrel.hlp"};

std::set<std::string> Entries(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

class UserFolder : public ::testing::Test {
  protected:
    UserFolder() {
        fs::create_directories("usr/share/kestrel");
        WriteFile("usr/share/kestrel/Fedtaxx.tax", "\"2005\"\r\n1,2,3\r\n");
        WriteFile("usr/share/kestrel/Kestrel.hlp", "<html>guide</html>");
    }
    TempWorkDir dir;
    const fs::path installed = "usr/share/kestrel";
};

TEST_F(UserFolder, TheFirstStartMakesTheFolderAndCopiesTheInstalledFiles) {
    const fs::path folder = dir.Path() / "home/ann/Kestrel";
    const UserFolderResult result = PrepareUserFolder(folder, installed, kShipped);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.copied, (std::vector<std::string>{"Fedtaxx.tax", "Kestrel.hlp"}));
    EXPECT_EQ(Entries(folder), (std::set<std::string>{"Fedtaxx.tax", "Kestrel.hlp"}));
    EXPECT_EQ(ReadFile(folder / "Fedtaxx.tax"), "\"2005\"\r\n1,2,3\r\n");
    EXPECT_EQ(ReadFile(folder / "Kestrel.hlp"), "<html>guide</html>");
    // The copies are the user's to change.
    struct stat info {};
    ASSERT_EQ(::stat((folder / "Fedtaxx.tax").c_str(), &info), 0);
    EXPECT_NE(info.st_mode & S_IWUSR, 0U);

    // A later start finds everything in place and copies nothing.
    const UserFolderResult again = PrepareUserFolder(folder, installed, kShipped);
    ASSERT_TRUE(again.ok);
    EXPECT_TRUE(again.copied.empty());
    EXPECT_EQ(Entries(folder), (std::set<std::string>{"Fedtaxx.tax", "Kestrel.hlp"}));
}

TEST_F(UserFolder, WhatTheUserKeepsThereIsNeverReplaced) {
    const fs::path folder = "Kestrel";
    fs::create_directory(folder);
    WriteFile(folder / "Fedtaxx.tax", "the user's own 2006 table");
    WriteFile(folder / "Worker1.use", "\"Worker1\"\r\n");
    // Something of that name, even a link to nowhere, is the user's.
    fs::create_symlink("nowhere.hlp", folder / "Kestrel.hlp");
    const UserFolderResult result = PrepareUserFolder(folder, installed, kShipped);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_TRUE(result.copied.empty());
    EXPECT_EQ(ReadFile(folder / "Fedtaxx.tax"), "the user's own 2006 table");
    EXPECT_TRUE(fs::is_symlink(folder / "Kestrel.hlp"));
    EXPECT_EQ(Entries(folder),
              (std::set<std::string>{"Fedtaxx.tax", "Kestrel.hlp", "Worker1.use"}));

    // Only the missing one comes.
    fs::remove(folder / "Kestrel.hlp");
    const UserFolderResult next = PrepareUserFolder(folder, installed, kShipped);
    EXPECT_EQ(next.copied, std::vector<std::string>{"Kestrel.hlp"});
    EXPECT_EQ(ReadFile(folder / "Kestrel.hlp"), "<html>guide</html>");
    EXPECT_EQ(ReadFile(folder / "Fedtaxx.tax"), "the user's own 2006 table");
}

TEST_F(UserFolder, AFileMissingFromTheInstallationIsLeftOut) {
    fs::remove(installed / "Kestrel.hlp");
    const UserFolderResult result = PrepareUserFolder("Kestrel", installed, kShipped);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.copied, std::vector<std::string>{"Fedtaxx.tax"});
    EXPECT_EQ(Entries("Kestrel"), std::set<std::string>{"Fedtaxx.tax"});
}

TEST_F(UserFolder, AFolderThatCannotBeMadeIsRefusedWithItsName) {
    WriteFile("Kestrel", "a file, not a folder");
    for (const fs::path& folder : {fs::path("Kestrel"), fs::path("Kestrel/inner")}) {
        const UserFolderResult result = PrepareUserFolder(folder, installed, kShipped);
        EXPECT_FALSE(result.ok) << folder;
        EXPECT_NE(result.error.find(folder.string()), std::string::npos) << result.error;
        EXPECT_TRUE(result.copied.empty());
    }
    EXPECT_EQ(ReadFile("Kestrel"), "a file, not a folder");
}

TEST(UserFolderPlace, IsKestrelInTheHomeFolder) {
    const char* saved = std::getenv("HOME");
    const std::string previous = saved ? saved : "";
    ::setenv("HOME", "/home/ann", 1);
    EXPECT_EQ(DefaultUserFolder(), fs::path("/home/ann/Kestrel"));
    // Without HOME the account's own home folder is used.
    ::setenv("HOME", "", 1);
    const passwd* account = ::getpwuid(::getuid());
    ASSERT_NE(account, nullptr);
    EXPECT_EQ(DefaultUserFolder(), fs::path(account->pw_dir) / "Kestrel");
    if (saved) {
        ::setenv("HOME", previous.c_str(), 1);
    } else {
        ::unsetenv("HOME");
    }
}

TEST(UserFolderPlace, InstalledFilesLieInShareBesideBin) {
    EXPECT_EQ(InstalledDataFolder("/usr/bin"), fs::path("/usr/share/kestrel"));
    EXPECT_EQ(InstalledDataFolder("/tmp/root/usr/bin/"), fs::path("/tmp/root/usr/share/kestrel"));
    EXPECT_EQ(InstalledDataFolder("/opt/kestrel/bin"), fs::path("/opt/kestrel/share/kestrel"));
}

}  // namespace
}  // namespace kestrel
