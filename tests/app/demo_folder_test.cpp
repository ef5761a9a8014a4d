// The shipped demo folder is what the program itself writes for the demo employees: regenerating
// it must give the same bytes. Run with KESTREL_UPDATE_DEMO=1 to write a changed demo into
// data/demo after a deliberate change to a file layout.
#include "app/demo_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "support/temp_dir.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;

TEST(DemoFolder, ShippedFilesAreWhatTheProgramWrites) {
    testing::TempWorkDir dir;
    fs::copy_file(testing::DemoFolder() / "Fedtaxx.tax", "Fedtaxx.tax");
    std::string error;
    const std::vector<std::string> written = WriteDemoFolder(dir.Path(), error);
    ASSERT_FALSE(written.empty()) << error;

    if (std::getenv("KESTREL_UPDATE_DEMO") != nullptr) {
        for (const std::string& name : written) {
            fs::copy_file(dir.Path() / name, testing::DemoFolder() / name,
                          fs::copy_options::overwrite_existing);
        }
    }

    // Both employees' complete file sets, a saved period each, and the company header.
    for (const char* name :
         {"Worker1.use", "Worker1.and", "Worker1.cfe", "Worker1.ovw", "Worker1.hol", "Worker1.sta",
          "Worker1.cti", "Worker1.nci", "Worker1.yrw", "01_07_05Worker1.prv", "Worker2.use",
          "Worker2.ovb", "Worker2.yrb", "Worker2.hol", "01_14_05Worker2.prv", "Header.sav"}) {
        EXPECT_NE(std::find(written.begin(), written.end(), name), written.end()) << name;
    }
    std::set<std::string> shipped;
    for (const auto& entry : fs::directory_iterator(testing::DemoFolder()))
        shipped.insert(entry.path().filename().string());
    for (const std::string& name : written) {
        EXPECT_EQ(shipped.count(name), 1u) << name << " is not shipped";
        EXPECT_EQ(ReadFile(testing::DemoFolder() / name), ReadFile(dir.Path() / name)) << name;
        shipped.erase(name);
    }
    EXPECT_EQ(shipped, (std::set<std::string>{"Fedtaxx.tax", "Kestrel.hlp", "PayRun.csv"}));
}

}  // namespace
}  // namespace kestrel
