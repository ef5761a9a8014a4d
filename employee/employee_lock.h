// Two running copies of the program on one employee: each marks the employee it has open, and a
// save of the employee's whole file set is exclusive, so two saves never interleave into a set
// of files half from one and half from the other.
//
// Both live on a hidden file beside the employee's files, ".NAME.lock", which no reader takes
// and the open dialog never offers. The locks are advisory (open file description locks): they
// bind copies of this program, and they go with the process, however it ends.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

namespace kestrel {

class EmployeeLock {
  public:
    EmployeeLock() = default;
    ~EmployeeLock();
    EmployeeLock(const EmployeeLock&) = delete;
    EmployeeLock& operator=(const EmployeeLock&) = delete;
    EmployeeLock(EmployeeLock&& other) noexcept;
    EmployeeLock& operator=(EmployeeLock&& other) noexcept;

    // The lock file of `employee`, in the current folder.
    static std::filesystem::path FileName(std::string_view employee);

    // Marks `employee` of the current folder as open here, in place of what was marked before.
    // Best effort: false when the lock file cannot be made (a folder the user may not write to),
    // and the employee is then simply not marked.
    bool MarkOpen(std::string_view employee);
    void Release();
    const std::string& Employee() const { return employee_; }

    // True when another running copy has `employee` of the current folder marked open.
    bool OpenElsewhere(std::string_view employee) const;

    // Held while it lives: no other save of the employee runs in another copy meanwhile. Waits
    // up to `patience` for a save in progress elsewhere to end, and is Busy when that one does
    // not; the caller then does not save. Without a lock file (see MarkOpen) it holds nothing
    // and the save goes on.
    class Saving {
      public:
        Saving(Saving&& other) noexcept;
        Saving& operator=(Saving&&) = delete;
        Saving(const Saving&) = delete;
        Saving& operator=(const Saving&) = delete;
        ~Saving();
        bool Held() const { return fd_ >= 0; }
        bool Busy() const { return busy_; }

      private:
        friend class EmployeeLock;
        Saving(int fd, bool busy) : fd_(fd), busy_(busy) {}
        int fd_;
        bool busy_;
    };
    static Saving ForSave(std::string_view employee,
                          std::chrono::milliseconds patience = std::chrono::seconds(30));

  private:
    int fd_ = -1;
    std::string employee_;
    std::filesystem::path folder_;
};

}  // namespace kestrel
