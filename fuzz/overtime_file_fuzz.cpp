// The same bytes as a weekly ".ovw" and as a bi-weekly ".ovb" through the real row reader. Rows
// are taken whole or not at all, and what is taken writes out and reads back the same, as a file
// the other frequency refuses. (Bytes of their own may pass as both: blank lines are empty fields
// to the longer read and trailing blank lines to the shorter one.)
#include "employee/overtime_allowance.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace kestrel;
using fuzz::Check;

OvertimeAllowance Marked() {
    OvertimeAllowance overtime;
    overtime.OtWeekEnding[51] = "before";
    overtime.OtAmount[0] = "3";
    return overtime;
}

void Exercise(std::string_view bytes, bool weekly) {
    const std::string_view name = weekly ? "Worker1.ovw" : "Worker1.ovb";
    OvertimeAllowance overtime = Marked();
    if (const auto error = ReadOvertimeRows(fuzz::PutFile(name, bytes), weekly, overtime)) {
        fuzz::CheckError(*error, bytes);
        Check(overtime == Marked());
        return;
    }
    fuzz::CheckEnds(name, bytes, [&](const std::filesystem::path& file) {
        OvertimeAllowance fresh;
        return !ReadOvertimeRows(file, weekly, fresh).has_value();
    });
    const std::string written = OvertimeRowRecords(name, overtime, weekly).Contents();
    OvertimeAllowance again;
    Check(!ReadOvertimeRows(fuzz::PutFile(name, written), weekly, again).has_value());
    Check(OvertimeRowRecords(name, again, weekly).Contents() == written);
    Check(ReadOvertimeRows(fuzz::PutFile(name, written), !weekly, again).has_value());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::Bytes(data, size);
    Exercise(bytes, true);
    Exercise(bytes, false);
    return 0;
}
