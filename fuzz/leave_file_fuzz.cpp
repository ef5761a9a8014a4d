// A ".hol" through the real reader: taken whole or not at all; what it takes writes out and reads
// back the same.
#include "employee/leave_balances.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace kestrel;
using fuzz::Check;

constexpr std::string_view kName = "Worker1.hol";

LeaveBalances Marked() {
    LeaveBalances leave;
    leave.SickStart = 5;
    leave.HolidayDates[19] = "before";
    return leave;
}

bool Accepts(const std::filesystem::path& file) {
    LeaveBalances leave;
    return !ReadLeaveFile(file, leave).has_value();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::Bytes(data, size);
    const std::filesystem::path file = fuzz::PutFile(kName, bytes);
    LeaveBalances leave = Marked();
    if (const std::optional<ReadError> error = ReadLeaveFile(file, leave)) {
        fuzz::CheckError(*error, bytes);
        Check(leave == Marked());
        return 0;
    }
    fuzz::CheckEnds(kName, bytes, Accepts);
    const std::string written = LeaveRecords(file, leave).Contents();
    LeaveBalances again;
    Check(!ReadLeaveFile(fuzz::PutFile(kName, written), again).has_value());
    Check(LeaveRecords(file, again).Contents() == written);
    return 0;
}
