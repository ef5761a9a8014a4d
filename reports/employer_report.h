// The employer's quarter and year: what every employee's year-to-date register holds, added up
// per employee and for the firm, with the employer's share of Social Security and Medicare and
// the deposit they make together with the federal tax. Read from the registers alone, in exact
// cents, with every row that could not be counted named rather than dropped.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ytd/ytd_register.h"

namespace kestrel {

// A quarter 1 to 4 of a year, or the whole year (quarter 0). A register row belongs to the
// quarter of its week-ending date.
struct ReportPeriod {
    int year = 2000;
    int quarter = 0;
    bool WholeYear() const { return quarter == 0; }
    bool operator==(const ReportPeriod&) const = default;
};

// "Quarter 1 2005", "Year 2005".
std::string PeriodText(const ReportPeriod& period);
int QuarterOf(const Date& date);

// Amounts in cents.
struct ReportFigures {
    int periods = 0;
    std::int64_t gross = 0;
    std::int64_t tips = 0;
    std::int64_t federal = 0;
    std::int64_t socialSecurity = 0;
    std::int64_t medicare = 0;
    std::int64_t state = 0;
    std::int64_t city = 0;
    std::int64_t sdi = 0;
    std::int64_t sui = 0;
    std::int64_t cafeteria = 0;
    std::int64_t net = 0;
    bool operator==(const ReportFigures&) const = default;
};

// The amount columns of every form of the table, left to right: the heading people read and the
// key programs read.
struct EmployerColumn {
    std::string_view heading;
    std::string_view key;
    std::int64_t ReportFigures::*member;
};
inline constexpr std::array<EmployerColumn, 11> kEmployerColumns{{
    {"Gross", "gross", &ReportFigures::gross},
    {"Tips", "tips", &ReportFigures::tips},
    {"Federal", "federal", &ReportFigures::federal},
    {"Soc Sec", "socialSecurity", &ReportFigures::socialSecurity},
    {"Medicare", "medicare", &ReportFigures::medicare},
    {"State", "state", &ReportFigures::state},
    {"City", "city", &ReportFigures::city},
    {"SDI", "sdi", &ReportFigures::sdi},
    {"SUI", "sui", &ReportFigures::sui},
    {"Cafeteria", "cafeteria", &ReportFigures::cafeteria},
    {"Net", "net", &ReportFigures::net},
}};

// One register file of the folder, its rows as stored.
struct EmployeeRegister {
    std::string employee;
    bool weeklyPay = true;
    std::string file;  // its name in the folder
    std::vector<YtdStoredRow> rows;
};

struct DamagedRegister {
    std::string file;
    std::string problem;  // where and why, for a message
};

struct RegisterFolder {
    // By employee, a weekly register before a bi-weekly one of the same employee.
    std::vector<EmployeeRegister> registers;
    std::vector<DamagedRegister> damaged;
};

// Every ".yrw" and ".yrb" file of the folder. An employee paid both ways in the year has two
// registers, and both hold periods that were paid, so both are read.
RegisterFolder ReadRegisters(const std::filesystem::path& folder);

enum class LeftOutReason { NoDate, OtherYear };
std::string_view ReasonText(LeftOutReason reason);

struct LeftOutRow {
    std::string employee;
    std::string file;
    int row = 0;  // the week number of the register's grid
    std::string weekEnding;
    LeftOutReason reason = LeftOutReason::NoDate;
};

struct EmployeeLine {
    std::string employee;
    std::string file;
    bool weeklyPay = true;
    ReportFigures figures;
};

struct ReportTable {
    ReportPeriod period;
    std::vector<EmployeeLine> lines;  // one per register read
    ReportFigures total;
    // The employer matches the employees' shares; the deposit is the federal tax and both shares
    // of both.
    std::int64_t employerSocialSecurity = 0;
    std::int64_t employerMedicare = 0;
    std::int64_t deposit = 0;
    std::vector<LeftOutRow> leftOut;
    // Registers that could not be read, and so are in no figure of the table.
    std::vector<DamagedRegister> damaged;
};

// Rows dated in the period count; rows of the same year's other quarters are simply not the
// period's. Rows that hold figures but no date, and rows dated in another year, are listed. A
// register whose sums would not fit is set aside as damaged.
ReportTable BuildReportTable(const RegisterFolder& folder, const ReportPeriod& period);

// The year and quarter of the latest dated row of any register: the report a clerk most likely
// wants next. nullopt when no row is dated.
std::optional<ReportPeriod> LatestPeriod(const RegisterFolder& folder);

// "1,234.56", "-0.05".
std::string CentsText(std::int64_t cents);
// "1234.56": for files that read it as a number.
std::string CentsNumber(std::int64_t cents);
std::string PayText(bool weeklyPay);

}  // namespace kestrel
