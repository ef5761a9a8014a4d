#include "platform/safe_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <system_error>
#include <utility>

namespace kestrel {

namespace {

constexpr std::string_view kTemporaryTag = ".tmp-";
constexpr std::string_view kTemporaryDigits = "0123456789abcdefghijklmnopqrstuvwxyz";
constexpr std::size_t kTemporaryDigitCount = 6;

bool IsTemporaryOf(std::string_view entry, std::string_view prefix) {
    if (entry.size() != prefix.size() + kTemporaryDigitCount || !entry.starts_with(prefix)) {
        return false;
    }
    return entry.substr(prefix.size()).find_first_not_of(kTemporaryDigits) ==
           std::string_view::npos;
}

// A temporary file of a commit of any file but a hidden one, which the program never writes.
bool IsAnyTemporary(std::string_view entry) {
    const std::size_t tag = entry.rfind(kTemporaryTag);
    return entry.starts_with(".") && !entry.starts_with("..") && tag != std::string_view::npos &&
           tag > 1 && IsTemporaryOf(entry, entry.substr(0, tag + kTemporaryTag.size()));
}

// The folder a FolderSweptOnce of this thread has swept, as an absolute path; empty for none.
thread_local std::filesystem::path sweptFolder;

std::filesystem::path AbsoluteFolder(const std::filesystem::path& folder) {
    std::error_code ignored;
    return std::filesystem::absolute(folder.empty() ? std::filesystem::path(".") : folder, ignored)
        .lexically_normal();
}

// Removes the abandoned temporary files in `folder` that `leftover` picks. A write in progress
// holds a lock on its temporary file for as long as the file has its temporary name, so only
// abandoned ones can be locked and removed here. Whatever cannot be opened, locked or removed
// stays for the next write.
template <class Picks>
void RemoveAbandoned(const std::filesystem::path& folder, Picks leftover) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        if (!leftover(std::string_view(entry->d_name))) continue;
        const int fd =
            ::openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat info {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
            (::flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK)) {
            ::unlinkat(dirFd, entry->d_name, 0);
        }
        ::close(fd);
    }
    ::closedir(dir);
}

std::string ErrnoText(int error) {
    return std::generic_category().message(error);
}

WriteResult Failure(std::string reason) {
    return WriteResult{false, std::move(reason)};
}

}  // namespace

std::size_t TemporaryNameExtra() {
    return TemporaryPrefix("").size() + kTemporaryDigitCount;
}

std::string TemporaryPrefix(const std::filesystem::path& fileName) {
    return "." + fileName.native() + std::string(kTemporaryTag);
}

void RemoveStaleTemporaries(const std::filesystem::path& folder,
                            const std::filesystem::path& fileName) {
    if (!sweptFolder.empty() && AbsoluteFolder(folder) == sweptFolder) return;
    const std::string prefix = TemporaryPrefix(fileName);
    RemoveAbandoned(folder, [&](std::string_view entry) { return IsTemporaryOf(entry, prefix); });
}

FolderSweptOnce::FolderSweptOnce(const std::filesystem::path& folder, Sweep sweep)
    : previous_(sweptFolder) {
    if (sweep == Sweep::Now) RemoveAbandoned(folder, IsAnyTemporary);
    sweptFolder = AbsoluteFolder(folder);
}

FolderSweptOnce::~FolderSweptOnce() {
    sweptFolder = previous_;
}

TemporaryFile::~TemporaryFile() {
    if (!path_.empty()) ::unlink(path_.c_str());
    if (lock_ >= 0) ::close(lock_);
}

// mkstemp would give the file mode 0600; opening it ourselves lets the umask decide, as it does
// for any other file the user saves.
int TemporaryFile::Create(const std::filesystem::path& target, int& error) {
    static std::atomic<unsigned> counter{0};
    const std::filesystem::path folder = target.parent_path();
    const std::string prefix = TemporaryPrefix(target.filename());
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto seed =
            static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
        seed ^= static_cast<std::uint64_t>(::getpid()) << 32;
        seed ^= static_cast<std::uint64_t>(counter.fetch_add(1)) * 0x9E3779B97F4A7C15ULL;
        std::string leaf = prefix;
        for (std::size_t i = 0; i < kTemporaryDigitCount; ++i) {
            leaf += kTemporaryDigits[seed % kTemporaryDigits.size()];
            seed /= kTemporaryDigits.size();
        }
        std::string name = (folder / leaf).native();
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno != EEXIST) {
                error = errno;
                return -1;
            }
            continue;
        }
        // The lock lives on a duplicate, because the writer closes its descriptor before the
        // rename to learn whether the data reached the disk.
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
            // Another write's clean-up took it between our create and our lock; it will go.
            ::close(fd);
            continue;
        }
        // Or took it, removed it and let go, all before our lock: the name is gone, or names
        // another file now, and a rename of it would fail.
        struct stat mine {};
        struct stat named {};
        if (::fstat(fd, &mine) != 0 || ::lstat(name.c_str(), &named) != 0 ||
            mine.st_ino != named.st_ino || mine.st_dev != named.st_dev) {
            ::close(fd);
            continue;
        }
        lock_ = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
        path_ = std::move(name);
        return fd;
    }
    error = EEXIST;
    return -1;
}

bool WriteAll(int fd, std::string_view bytes, int& error) {
    while (!bytes.empty()) {
        ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            error = errno;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// After the rename the new name lives in the folder's entry; syncing the folder makes the
// replacement itself survive a power cut. Not every file system allows it, so it is best effort.
void SyncFolder(const std::filesystem::path& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

std::optional<std::string> UnreplaceableTarget(const std::filesystem::path& target) {
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0) return std::nullopt;
    if (S_ISREG(info.st_mode) || S_ISLNK(info.st_mode)) return std::nullopt;
    const std::string name = target.string();
    if (S_ISDIR(info.st_mode)) return name + " is a folder";
    if (S_ISFIFO(info.st_mode)) return name + " is a pipe, not a file";
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)) return name + " is a device, not a file";
    if (S_ISSOCK(info.st_mode)) return name + " is a socket, not a file";
    return name + " is not a regular file";
}

DocumentFile::DocumentFile(std::filesystem::path target) : target_(std::move(target)) {}

DocumentFile::~DocumentFile() {
    if (fd_ >= 0) ::close(fd_);
}

WriteResult DocumentFile::Begin() {
    if (target_.empty()) return Failure("no file name was given");
    if (target_.native().find('\0') != std::string::npos || target_.filename().empty()) {
        return Failure("invalid file name");
    }
    folder_ = target_.parent_path();
    if (folder_.empty()) folder_ = ".";
    if (const auto problem = UnreplaceableTarget(target_)) return Failure(*problem);
    std::error_code ec;
    if (!std::filesystem::is_directory(folder_, ec)) {
        return Failure("the folder " + folder_.string() + " does not exist");
    }
    RemoveStaleTemporaries(folder_, target_.filename());
    int error = 0;
    fd_ = temp_.Create(target_, error);
    if (fd_ < 0) {
        return Failure("cannot create a file in " + folder_.string() + ": " + ErrnoText(error));
    }
    return {};
}

WriteResult DocumentFile::Write(std::string_view bytes) {
    if (fd_ < 0) return Failure("cannot write " + target_.string() + ": it is not open");
    int error = 0;
    if (!WriteAll(fd_, bytes, error)) {
        return Failure("cannot write " + target_.string() + ": " + ErrnoText(error));
    }
    return {};
}

WriteResult DocumentFile::Commit(const Check& complete) {
    if (fd_ < 0) return Failure("cannot write " + target_.string() + ": it is not open");
    const std::string name = target_.string();
    // Whatever wrote the file, through this descriptor or by its name, fsync reaches its data.
    if (::fsync(fd_) != 0) {
        const int error = errno;
        return Failure("cannot write " + name + ": " + ErrnoText(error));
    }
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0) {
        const int error = errno;
        return Failure("cannot write " + name + ": " + ErrnoText(error));
    }
    if (complete) {
        if (const auto missing = complete(temp_.Path())) {
            return Failure("cannot write " + name + ": " + *missing);
        }
    }
    // Only a regular file hands on its permissions: a symbolic link's are those of whatever it
    // points to, which is not the file being replaced.
    struct stat previous {};
    if (::lstat(target_.c_str(), &previous) == 0 && S_ISREG(previous.st_mode)) {
        ::chmod(temp_.Path().c_str(), (previous.st_mode & 07777) | S_IRUSR | S_IWUSR);
    }
    if (::rename(temp_.Path().c_str(), target_.c_str()) != 0) {
        const int error = errno;
        return Failure("cannot replace " + name + ": " + ErrnoText(error));
    }
    temp_.Keep();
    SyncFolder(folder_);
    return {};
}

WriteResult WriteDocumentFile(const std::filesystem::path& target, std::string_view bytes) {
    DocumentFile file(target);
    if (WriteResult begun = file.Begin(); !begun) return begun;
    if (WriteResult written = file.Write(bytes); !written) return written;
    return file.Commit();
}

}  // namespace kestrel
