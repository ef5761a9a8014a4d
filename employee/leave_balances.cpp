#include "employee/leave_balances.h"

namespace kestrel {

namespace {
constexpr auto kEntries = static_cast<std::size_t>(kLeaveEntries);
}  // namespace

std::optional<ReadError> ReadLeaveFile(const std::filesystem::path& path, LeaveBalances& leave) {
    RecordReader in = RecordReader::Open(path);
    LeaveBalances read = leave;
    in.Single(read.VacationBalance);
    in.Single(read.VacationStart);
    in.Single(read.HolidayBalance);
    in.Single(read.HolidayStart);
    in.Single(read.SickBalance);
    in.Single(read.SickStart);
    for (std::size_t k = 0; k < kEntries; ++k) {
        in.Single(read.VacationTaken[k]);
        in.Single(read.HolidayTaken[k]);
        in.Single(read.SickTaken[k]);
    }
    for (std::size_t k = 0; k < kEntries; ++k) {
        in.Text(read.VacationDates[k]);
        in.Text(read.HolidayDates[k]);
        in.Text(read.SickDates[k]);
    }
    in.Finish();
    if (!in.Ok()) return in.Error();
    leave = std::move(read);
    return std::nullopt;
}

RecordWriter LeaveRecords(const std::filesystem::path& path, const LeaveBalances& leave) {
    RecordWriter out(path);
    out.Line({field::Single(leave.VacationBalance), field::Single(leave.VacationStart),
              field::Single(leave.HolidayBalance), field::Single(leave.HolidayStart),
              field::Single(leave.SickBalance), field::Single(leave.SickStart)});
    for (std::size_t k = 0; k < kEntries; ++k) {
        out.Line({field::Single(leave.VacationTaken[k]), field::Single(leave.HolidayTaken[k]),
                  field::Single(leave.SickTaken[k])});
    }
    for (std::size_t k = 0; k < kEntries; ++k) {
        out.Line({field::Text(leave.VacationDates[k]), field::Text(leave.HolidayDates[k]),
                  field::Text(leave.SickDates[k])});
    }
    return out;
}

}  // namespace kestrel
