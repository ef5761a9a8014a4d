// Each test works in a folder of its own, because the program resolves every file name against
// the current folder.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>

namespace kestrel::testing {

class TempWorkDir {
  public:
    TempWorkDir() : previous_(std::filesystem::current_path()) {
        std::random_device random;
        // The work folder sits in a folder of its own, so a test can watch its parent too
        // without seeing other tests' folders come and go.
        outer_ = std::filesystem::temp_directory_path() /
                 ("kestrel-test-" + std::to_string(random()) + std::to_string(random()));
        path_ = outer_ / "work";
        std::filesystem::create_directories(path_);
        std::filesystem::current_path(path_);
    }
    ~TempWorkDir() {
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
        std::filesystem::remove_all(outer_, ignored);
    }
    TempWorkDir(const TempWorkDir&) = delete;
    TempWorkDir& operator=(const TempWorkDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path previous_;
    std::filesystem::path outer_;
    std::filesystem::path path_;
};

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const std::filesystem::path& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary);
    out << contents;
}

// Every file of the current folder with its contents, to see that an operation wrote nothing.
inline std::map<std::string, std::string> FolderContents() {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator("."))
        files[entry.path().filename().string()] = ReadFile(entry.path());
    return files;
}

// The federal table file shipped with the demo folder.
inline std::filesystem::path DemoFolder() {
    return std::filesystem::path(KESTREL_SOURCE_DIR) / "data" / "demo";
}

}  // namespace kestrel::testing
