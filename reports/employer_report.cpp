#include "reports/employer_report.h"

#include <algorithm>
#include <system_error>
#include <tuple>
#include <utility>

#include "platform/date.h"

namespace kestrel {

namespace {

constexpr std::string_view kWeeklyRegister = ".yrw";
constexpr std::string_view kBiWeeklyRegister = ".yrb";

// The stored figures carry four decimals at most; a register written by the program holds two.
// Anything finer is rounded to the cent, halves away from zero, before it is added, so every
// total is the sum of the cents it is made of.
std::int64_t Cents(Currency amount) {
    const std::int64_t raw = amount.Raw();
    const std::uint64_t magnitude = raw < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(raw)
                                            : static_cast<std::uint64_t>(raw);
    const auto cents = static_cast<std::int64_t>((magnitude + 50) / 100);
    return raw < 0 ? -cents : cents;
}

// The row amounts behind each column, and those that only show the row is in use.
using StoredAmount = Currency YtdStoredRow::*;
constexpr std::array<std::pair<std::int64_t ReportFigures::*, StoredAmount>, 11> kSums{{
    {&ReportFigures::gross, &YtdStoredRow::Gross},
    {&ReportFigures::tips, &YtdStoredRow::Tips},
    {&ReportFigures::federal, &YtdStoredRow::Federal},
    {&ReportFigures::socialSecurity, &YtdStoredRow::SocialSecurity},
    {&ReportFigures::medicare, &YtdStoredRow::Medicare},
    {&ReportFigures::state, &YtdStoredRow::State},
    {&ReportFigures::city, &YtdStoredRow::City},
    {&ReportFigures::sdi, &YtdStoredRow::Sdi},
    {&ReportFigures::sui, &YtdStoredRow::Sui},
    {&ReportFigures::cafeteria, &YtdStoredRow::Cafeteria},
    {&ReportFigures::net, &YtdStoredRow::Net},
}};
constexpr std::array<StoredAmount, 7> kOtherAmounts{
    &YtdStoredRow::CreditUnion, &YtdStoredRow::Bond, &YtdStoredRow::Dues,
    &YtdStoredRow::Pension,     &YtdStoredRow::Misc, &YtdStoredRow::KPlan,
    &YtdStoredRow::Overtime,
};

bool HoldsFigures(const YtdStoredRow& row) {
    for (const auto& sum : kSums) {
        if (row.*sum.second != Currency()) return true;
    }
    return std::any_of(kOtherAmounts.begin(), kOtherAmounts.end(),
                       [&row](StoredAmount amount) { return row.*amount != Currency(); });
}

[[nodiscard]] bool AddChecked(std::int64_t& total, std::int64_t amount) {
    return !__builtin_add_overflow(total, amount, &total);
}

[[nodiscard]] bool AddRow(ReportFigures& figures, const YtdStoredRow& row) {
    ++figures.periods;
    for (const auto& [total, amount] : kSums) {
        if (!AddChecked(figures.*total, Cents(row.*amount))) return false;
    }
    return true;
}

[[nodiscard]] bool AddFigures(ReportFigures& figures, const ReportFigures& more) {
    figures.periods += more.periods;
    for (const auto& column : kEmployerColumns) {
        if (!AddChecked(figures.*column.member, more.*column.member)) return false;
    }
    return true;
}

std::string Grouped(std::uint64_t whole) {
    std::string digits = std::to_string(whole);
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), ",");
    return digits;
}

std::string CentsWith(std::int64_t cents, bool grouped) {
    const std::uint64_t magnitude = cents < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(cents)
                                              : static_cast<std::uint64_t>(cents);
    const std::uint64_t whole = magnitude / 100;
    const auto fraction = static_cast<unsigned>(magnitude % 100);
    return (cents < 0 ? "-" : "") + (grouped ? Grouped(whole) : std::to_string(whole)) + "." +
           static_cast<char>('0' + fraction / 10) + static_cast<char>('0' + fraction % 10);
}

}  // namespace

std::string PeriodText(const ReportPeriod& period) {
    if (period.WholeYear()) return "Year " + std::to_string(period.year);
    return "Quarter " + std::to_string(period.quarter) + " " + std::to_string(period.year);
}

int QuarterOf(const Date& date) {
    return (date.month - 1) / 3 + 1;
}

std::string_view ReasonText(LeftOutReason reason) {
    return reason == LeftOutReason::NoDate ? "no valid week-ending date" : "dated in another year";
}

std::string PayText(bool weeklyPay) {
    return weeklyPay ? "weekly" : "bi-weekly";
}

std::string CentsText(std::int64_t cents) {
    return CentsWith(cents, true);
}

std::string CentsNumber(std::int64_t cents) {
    return CentsWith(cents, false);
}

RegisterFolder ReadRegisters(const std::filesystem::path& folder) {
    RegisterFolder result;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        const bool weekly = name.ends_with(kWeeklyRegister);
        if (!weekly && !name.ends_with(kBiWeeklyRegister)) continue;
        // ".yrw" alone is no employee's register.
        const std::string employee = name.substr(0, name.size() - kWeeklyRegister.size());
        if (employee.empty()) continue;
        EmployeeRegister reg{employee, weekly, name, {}};
        if (std::optional<ReadError> damage = ReadStoredAnnualFile(it->path(), weekly, reg.rows)) {
            // What a later save does with it is no concern of a report.
            damage->disposition.clear();
            result.damaged.push_back({name, DescribeReadError(name, *damage)});
            continue;
        }
        result.registers.push_back(std::move(reg));
    }
    if (error) {
        result.damaged.push_back(
            {folder.string(), "the folder could not be read: " + error.message()});
    }
    std::sort(result.registers.begin(), result.registers.end(),
              [](const EmployeeRegister& a, const EmployeeRegister& b) {
                  if (a.employee != b.employee) return a.employee < b.employee;
                  return a.weeklyPay && !b.weeklyPay;
              });
    std::sort(result.damaged.begin(), result.damaged.end(),
              [](const DamagedRegister& a, const DamagedRegister& b) { return a.file < b.file; });
    return result;
}

ReportTable BuildReportTable(const RegisterFolder& folder, const ReportPeriod& period) {
    ReportTable table;
    table.period = period;
    table.damaged = folder.damaged;
    for (const EmployeeRegister& reg : folder.registers) {
        EmployeeLine line{reg.employee, reg.file, reg.weeklyPay, {}};
        std::vector<LeftOutRow> leftOut;
        bool fits = true;
        for (std::size_t k = 0; k < reg.rows.size() && fits; ++k) {
            const YtdStoredRow& row = reg.rows[k];
            const std::optional<Date> date = ParseDate(row.WeekEnding);
            const int week = static_cast<int>(k) + 1;
            if (!date) {
                if (HoldsFigures(row)) {
                    leftOut.push_back(
                        {reg.employee, reg.file, week, row.WeekEnding, LeftOutReason::NoDate});
                }
                continue;
            }
            if (date->year != period.year) {
                leftOut.push_back(
                    {reg.employee, reg.file, week, row.WeekEnding, LeftOutReason::OtherYear});
                continue;
            }
            if (period.WholeYear() || QuarterOf(*date) == period.quarter)
                fits = AddRow(line.figures, row);
        }
        ReportFigures total = table.total;
        if (!fits || !AddFigures(total, line.figures)) {
            table.damaged.push_back({reg.file, reg.file + ": its amounts are too large to add up"});
            continue;
        }
        table.total = total;
        table.lines.push_back(std::move(line));
        table.leftOut.insert(table.leftOut.end(), leftOut.begin(), leftOut.end());
    }
    const ReportFigures& t = table.total;
    table.employerSocialSecurity = t.socialSecurity;
    table.employerMedicare = t.medicare;
    // Each share fits, having been summed; the deposit holds four of them and the federal tax.
    std::int64_t deposit = t.federal;
    bool fits = true;
    for (std::int64_t share : {t.socialSecurity, t.socialSecurity, t.medicare, t.medicare})
        fits = fits && AddChecked(deposit, share);
    table.deposit = fits ? deposit : 0;
    if (!fits) table.damaged.push_back({"", "the deposit total is too large to add up"});
    return table;
}

std::optional<ReportPeriod> LatestPeriod(const RegisterFolder& folder) {
    std::optional<Date> latest;
    for (const EmployeeRegister& reg : folder.registers) {
        for (const YtdStoredRow& row : reg.rows) {
            const std::optional<Date> date = ParseDate(row.WeekEnding);
            if (!date) continue;
            if (!latest || std::tie(date->year, date->month, date->day) >
                               std::tie(latest->year, latest->month, latest->day)) {
                latest = date;
            }
        }
    }
    if (!latest) return std::nullopt;
    return ReportPeriod{latest->year, QuarterOf(*latest)};
}

}  // namespace kestrel
