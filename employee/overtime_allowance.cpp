#include "employee/overtime_allowance.h"

#include "platform/numbers.h"

namespace kestrel {

std::filesystem::path OvertimeFileName(std::string_view activeUser, bool weeklyPay) {
    return EmployeeFile(activeUser, weeklyPay ? ".ovw" : ".ovb");
}

std::optional<ReadError> ReadOvertimeRows(const std::filesystem::path& path, bool weeklyPay,
                                          OvertimeAllowance& overtime) {
    RecordReader in = RecordReader::Open(path);
    OvertimeAllowance read = overtime;
    const auto rows = static_cast<std::size_t>(OvertimeRowCount(weeklyPay));
    for (std::size_t row = 0; row < rows; ++row) {
        in.Text(read.OtWeekEnding[row]);
        in.Text(read.OtAmount[row]);
    }
    // A weekly file read for bi-weekly pay goes on for 26 more rows.
    in.Finish();
    if (!in.Ok()) return in.Error();
    overtime = std::move(read);
    return std::nullopt;
}

RecordWriter OvertimeRowRecords(const std::filesystem::path& path,
                                const OvertimeAllowance& overtime, bool weeklyPay) {
    RecordWriter out(path);
    const auto rows = static_cast<std::size_t>(OvertimeRowCount(weeklyPay));
    for (std::size_t row = 0; row < rows; ++row) {
        out.Line({field::Text(overtime.OtWeekEnding[row])});
        out.Line({field::Double(LeadingNumber(overtime.OtAmount[row]))});
    }
    return out;
}

}  // namespace kestrel
