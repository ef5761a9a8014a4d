#include "platform/user_folder.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <system_error>

namespace kestrel {

namespace fs = std::filesystem;

namespace {

// Puts a copy of `source` at `target` unless something already has that name. The copy is made
// under a hidden name, flushed, and then linked to its real name, which fails rather than replace
// a file that appeared meanwhile (another start racing this one).
bool CopyWhole(const fs::path& source, const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    const fs::path temp =
        target.parent_path() / ("." + target.filename().string() + ".tmp-" +
                                std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::error_code error;
    if (!fs::copy_file(source, temp, fs::copy_options::none, error)) return false;
    const int fd = ::open(temp.c_str(), O_RDONLY | O_CLOEXEC);
    const bool flushed = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0) ::close(fd);
    bool copied = false;
    if (flushed) {
        if (::link(temp.c_str(), target.c_str()) == 0) {
            copied = true;
        } else if (errno != EEXIST && !fs::exists(fs::symlink_status(target, error))) {
            // A file system without hard links: a plain rename, after one more look.
            copied = ::rename(temp.c_str(), target.c_str()) == 0;
        }
    }
    ::unlink(temp.c_str());
    return copied;
}

}  // namespace

std::optional<fs::path> DefaultUserFolder() {
    std::string home;
    if (const char* variable = std::getenv("HOME")) home = variable;
    if (home.empty()) {
        if (const passwd* account = ::getpwuid(::getuid()); account && account->pw_dir) {
            home = account->pw_dir;
        }
    }
    if (home.empty()) return std::nullopt;
    return fs::path(home) / "Kestrel";
}

fs::path InstalledDataFolder(const fs::path& executableFolder) {
    return (executableFolder / "..").lexically_normal() / "share" / "kestrel";
}

UserFolderResult PrepareUserFolder(const fs::path& folder, const fs::path& installed,
                                   const std::vector<std::string_view>& files) {
    UserFolderResult result;
    std::error_code error;
    fs::create_directories(folder, error);
    if (error || !fs::is_directory(folder, error)) {
        result.error = "cannot make the folder " + folder.string() +
                       (error ? ": " + error.message() : ": a file has that name");
        return result;
    }
    for (std::string_view name : files) {
        const fs::path target = folder / name;
        // Whatever has the name, even a broken link or a folder, is the user's.
        if (fs::symlink_status(target, error).type() != fs::file_type::not_found) continue;
        const fs::path source = installed / name;
        if (!fs::is_regular_file(source, error)) continue;
        if (CopyWhole(source, target)) result.copied.emplace_back(name);
    }
    result.ok = true;
    return result;
}

}  // namespace kestrel
