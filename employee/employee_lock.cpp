#include "employee/employee_lock.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <thread>
#include <utility>

namespace kestrel {

namespace {

// One byte each: a copy that has the employee open holds a shared lock on the first, a save
// holds an exclusive lock on the second. Open copies therefore never stand in a save's way.
constexpr off_t kOpenByte = 0;
constexpr off_t kSaveByte = 1;

struct flock Range(short type, off_t byte) {
    struct flock range {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_start = byte;
    range.l_len = 1;
    range.l_pid = 0;
    return range;
}

int OpenLockFile(std::string_view employee, bool create) {
    const std::filesystem::path file = EmployeeLock::FileName(employee);
    const int flags = O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | (create ? O_CREAT : 0);
    return ::open(file.c_str(), flags, 0666);
}

std::filesystem::path CurrentFolder() {
    std::error_code ignored;
    return std::filesystem::current_path(ignored);
}

}  // namespace

EmployeeLock::~EmployeeLock() {
    Release();
}

EmployeeLock::EmployeeLock(EmployeeLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      employee_(std::move(other.employee_)),
      folder_(std::move(other.folder_)) {}

EmployeeLock& EmployeeLock::operator=(EmployeeLock&& other) noexcept {
    if (this != &other) {
        Release();
        fd_ = std::exchange(other.fd_, -1);
        employee_ = std::move(other.employee_);
        folder_ = std::move(other.folder_);
    }
    return *this;
}

std::filesystem::path EmployeeLock::FileName(std::string_view employee) {
    return {"." + std::string(employee) + ".lock"};
}

bool EmployeeLock::MarkOpen(std::string_view employee) {
    const int fd = employee.empty() ? -1 : OpenLockFile(employee, true);
    struct flock range = Range(F_RDLCK, kOpenByte);
    if (fd >= 0 && ::fcntl(fd, F_OFD_SETLK, &range) != 0) {
        ::close(fd);
        Release();
        return false;
    }
    Release();
    if (fd < 0) return false;
    fd_ = fd;
    employee_ = employee;
    folder_ = CurrentFolder();
    return true;
}

void EmployeeLock::Release() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    employee_.clear();
    folder_.clear();
}

bool EmployeeLock::OpenElsewhere(std::string_view employee) const {
    // Asked through our own mark, the answer leaves that mark out.
    const bool ours = fd_ >= 0 && employee_ == employee && folder_ == CurrentFolder();
    const int fd = ours ? fd_ : OpenLockFile(employee, false);
    if (fd < 0) return false;
    struct flock range = Range(F_WRLCK, kOpenByte);
    const bool held = ::fcntl(fd, F_OFD_GETLK, &range) == 0 && range.l_type != F_UNLCK;
    if (!ours) ::close(fd);
    return held;
}

EmployeeLock::Saving EmployeeLock::ForSave(std::string_view employee,
                                           std::chrono::milliseconds patience) {
    const int fd = employee.empty() ? -1 : OpenLockFile(employee, true);
    if (fd < 0) return Saving(-1, false);
    // Polled rather than waited for, so that a copy stuck in a message box halfway through its
    // save cannot hang this one for good.
    const auto giveUp = std::chrono::steady_clock::now() + patience;
    for (;;) {
        struct flock range = Range(F_WRLCK, kSaveByte);
        if (::fcntl(fd, F_OFD_SETLK, &range) == 0) return Saving(fd, false);
        const int error = errno;
        const bool taken = error == EAGAIN || error == EACCES;
        if ((!taken && error != EINTR) || std::chrono::steady_clock::now() >= giveUp) {
            const bool busy = taken;
            ::close(fd);
            return Saving(-1, busy);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

EmployeeLock::Saving::Saving(Saving&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), busy_(other.busy_) {}

EmployeeLock::Saving::~Saving() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace kestrel
