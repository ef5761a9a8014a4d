#include "employee/help.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <set>
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

constexpr const char* kGuide = "<html><body><a name=\"contents\"></a>Guide</body></html>";

class Help : public ::testing::Test {
  protected:
    TempWorkDir dir;
    ScriptedHost host;
};

TEST_F(Help, MissingFileIsNamedWithItsFolderAndNoViewerOpens) {
    ShowHelpFile(host);
    EXPECT_TRUE(host.helpShown.empty());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              "The help file Kestrel.hlp was not found in " + fs::current_path().string() + ".");
    EXPECT_EQ(host.messages[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(host.messages[0].icon, MsgIcon::Warning);
}

TEST_F(Help, AFolderNamedLikeTheHelpFileIsNoHelpFile) {
    fs::create_directory("Kestrel.hlp");
    ShowHelpFile(host);
    EXPECT_TRUE(host.helpShown.empty());
    EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(Help, PresentFileOfTheCurrentFolderIsShown) {
    WriteFile("Kestrel.hlp", kGuide);
    ShowHelpFile(host);
    EXPECT_TRUE(host.messages.empty());
    ASSERT_EQ(host.helpShown.size(), 1u);
    EXPECT_EQ(host.helpShown[0], fs::current_path() / "Kestrel.hlp");
    EXPECT_TRUE(host.helpShown[0].is_absolute());
}

// Opening an employee in another folder moves the current folder there; help follows it.
TEST_F(Help, FollowsTheCurrentFolder) {
    WriteFile("Kestrel.hlp", kGuide);
    fs::create_directories("other");
    fs::create_directories("empty");
    WriteFile("other/Kestrel.hlp", kGuide);

    fs::current_path(dir.Path() / "other");
    ShowHelpFile(host);
    ASSERT_EQ(host.helpShown.size(), 1u);
    EXPECT_EQ(host.helpShown[0], fs::current_path() / "Kestrel.hlp");
    EXPECT_EQ(host.helpShown[0].parent_path().filename(), "other");

    // The file of the folder left behind does not stand in for a missing one.
    fs::current_path(dir.Path() / "empty");
    ShowHelpFile(host);
    EXPECT_EQ(host.helpShown.size(), 1u);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find(fs::current_path().string()), std::string::npos);
}

// The user guide shipped in the demo folder.
class ShippedGuide : public ::testing::Test {
  protected:
    static std::string Guide() { return ReadFile(testing::DemoFolder() / "Kestrel.hlp"); }

    static std::set<std::string> Matches(const std::string& text, const std::regex& pattern) {
        std::set<std::string> found;
        for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern);
             it != std::sregex_iterator(); ++it) {
            found.insert((*it)[1].str());
        }
        return found;
    }
};

TEST_F(ShippedGuide, IsAnHtmlPageWithItsContentsAtTheTop) {
    const std::string guide = Guide();
    ASSERT_FALSE(guide.empty());
    EXPECT_EQ(guide.rfind("<!DOCTYPE HTML", 0), 0u);
    EXPECT_NE(guide.find("<title>Kestrel User Guide</title>"), std::string::npos);
    EXPECT_NE(guide.find("</html>"), std::string::npos);
    const auto contents = guide.find("<a name=\"contents\">");
    ASSERT_NE(contents, std::string::npos);
    EXPECT_LT(contents, guide.find("<h2>"));
}

// Every window and file a user meets has its own section, listed in the contents.
TEST_F(ShippedGuide, HasASectionForEveryWindowInItsContents) {
    const std::string guide = Guide();
    const std::set<std::string> anchors = Matches(guide, std::regex("<a name=\"([^\"]+)\">"));
    const std::set<std::string> links = Matches(guide, std::regex("<a href=\"#([^\"]+)\">"));
    const std::string toc = guide.substr(0, guide.find("<hr>"));
    const std::set<std::string> listed = Matches(toc, std::regex("<a href=\"#([^\"]+)\">"));

    const std::vector<std::string> sections{
        "start",    "folder",   "main",     "calculate", "menus",    "file",    "save",
        "userinfo", "statetax", "special",  "defaults",  "citytax",  "noncity", "overtime",
        "leave",    "header",   "periods",  "ytd",       "report",   "excel",   "stub",
        "checks",   "offsets",  "paycheck", "fedtax",    "messages", "help"};
    for (const std::string& section : sections) {
        EXPECT_EQ(anchors.count(section), 1u) << section;
        EXPECT_EQ(listed.count(section), 1u) << section;
    }
    // No link leads nowhere.
    for (const std::string& link : links)
        EXPECT_EQ(anchors.count(link), 1u) << link;
}

TEST_F(ShippedGuide, NamesTheWindowsAsTheyAreCaptioned) {
    const std::string guide = Guide();
    for (const char* caption :
         {"Biweekly State Tax", "City (Local) Tax Tables", "NON City Resident", "User Info",
          "Save User", "OverTime Percentage", "Vacation / Holiday / Sick", "Print Out Heading",
          "Year To Date", "Check Printing", "Printer Offset", "Fedtaxx.tax", "Worker1.use",
          "Worker2"}) {
        EXPECT_NE(guide.find(caption), std::string::npos) << caption;
    }
}

TEST_F(ShippedGuide, IsPlainTextAUserCanRead) {
    const std::string guide = Guide();
    const auto odd = std::find_if(guide.begin(), guide.end(), [](unsigned char c) {
        return !(c == '\n' || c == '\r' || (c >= 0x20 && c < 0x7F));
    });
    EXPECT_EQ(odd - guide.begin(), guide.end() - guide.begin()) << "a character that is not ASCII";
}

}  // namespace
}  // namespace kestrel
