#include "employee/pay_period.h"

#include <algorithm>

#include "app/program.h"
#include "employee/employee_files.h"
#include "employee/employee_name.h"
#include "employee/open_employee.h"
#include "employee/profile_files.h"

namespace kestrel {

namespace {

void Warn(Host& host, const std::string& text) {
    host.MsgBox(text, MsgButtons::Ok, MsgIcon::Warning, kAppTitle);
}

bool IsBlank(std::string_view text) {
    return text.find_first_not_of(' ') == std::string_view::npos;
}

}  // namespace

std::filesystem::path PayPeriodFileName(std::string_view weekEnding, std::string_view activeUser) {
    std::string name(weekEnding);
    std::replace(name.begin(), name.end(), '/', '_');
    return name + std::string(activeUser) + ".prv";
}

std::string WeekEndingFromFileName(const std::filesystem::path& file) {
    std::string date = file.filename().string().substr(0, 8);
    std::replace(date.begin(), date.end(), '_', '/');
    return date;
}

RecordWriter PayPeriodRecords(const std::filesystem::path& path,
                              const std::array<float, 8>& entries) {
    RecordWriter out(path);
    for (float value : entries)
        out.Line({field::Single(value)});
    return out;
}

std::optional<ReadError> ReadPayPeriod(const std::filesystem::path& path,
                                       std::array<float, 8>& entries) {
    RecordReader in = RecordReader::Open(path);
    std::array<float, 8> read{};
    for (float& value : read)
        in.Single(value);
    in.Finish();
    if (!in.Ok()) return in.Error();
    entries = read;
    return std::nullopt;
}

bool SavePayPeriod(Program& program) {
    // The file is named for the employee: with none open it would belong to nobody.
    if (!EmployeeOpenOrTell(program)) return false;
    Host& host = program.host;
    Form1Ui& main = program.form1.ui();
    const std::string weekEnding = main.txtWeekEnd->Text();
    if (const auto problem = FileNamePartProblem(weekEnding, "a week-ending date")) {
        Warn(host, *problem + "\r\nThe pay period was not saved.");
        return false;
    }
    // Every entry is checked before any box changes or anything is written.
    std::array<float, 8> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        TextBox& box = *main.txtEntry[i];
        if (IsBlank(box.Text())) continue;
        const std::optional<float> value = StrictSingle(box.Text());
        if (!value) {
            Warn(host, "\"" + box.Text() + "\" in " + Form1::kEntryCaptions[i] +
                           " is not a number.\r\nThe pay period was not saved.");
            box.SetFocus();
            return false;
        }
        values[i] = *value;
    }
    for (TextBox* box : main.txtEntry) {
        if (IsBlank(box->Text())) box->SetText("0");
    }
    const std::filesystem::path file = PayPeriodFileName(weekEnding, program.ActiveUser);
    if (const WriteResult written = PayPeriodRecords(file, values).Commit(); !written) {
        Warn(host, "The pay period could not be saved in " + file.string() +
                       ".\r\nCheck that the folder can be written to.");
        return false;
    }
    return true;
}

bool LoadPayPeriod(Program& program) {
    Host& host = program.host;
    const std::optional<std::filesystem::path> chosen = OpenFileInFolder(host, kPayPeriodFilter);
    if (!chosen) return false;
    const std::string name = chosen->filename().string();
    std::array<float, 8> values{};
    if (const auto error = ReadPayPeriod(*chosen, values)) {
        Warn(host, "The saved pay period could not be read:\r\n" + DescribeReadError(name, *error) +
                       "\r\nNothing was changed.");
        return false;
    }
    Form1Ui& main = program.form1.ui();
    for (std::size_t i = 0; i < values.size(); ++i)
        main.txtEntry[i]->SetText(SingleText(values[i]));
    main.txtWeekEnd->SetText(WeekEndingFromFileName(*chosen));
    program.form1.CalculatePay();
    return true;
}

}  // namespace kestrel
