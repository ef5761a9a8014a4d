// The year-to-date register: one row per posted pay period, the column totals, the two files that
// keep it (weekly and bi-weekly) and the recomputation of the totals. The grid and totals windows
// reach in only through YtdGridTexts and YtdTotalsView, so the register works (and saves) whether
// or not they are open.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/payroll_records.h"
#include "employee/record_file.h"
#include "platform/host.h"
#include "platform/numbers.h"

namespace kestrel {

inline constexpr int kYtdRows = 52;

// A row with an empty WeekEnding and every amount 0 is empty; one the user cleared holds "0".
struct YtdRow {
    std::string WeekEnding;
    float Federal = 0;
    float SocialSecurity = 0;
    float Medicare = 0;
    float State = 0;
    float City = 0;
    float CreditUnion = 0;
    float Bond = 0;
    float Dues = 0;
    float Pension = 0;
    float Misc = 0;
    float KPlan = 0;
    float Overtime = 0;  // money, not hours
    float Gross = 0;
    float Net = 0;
    // Kept and stored, but never shown in the grid.
    float Sdi = 0;
    float Sui = 0;
    float Cafeteria = 0;
    float Tips = 0;

    bool operator==(const YtdRow&) const = default;
};

struct YtdTotals {
    float Federal = 0;
    float SocialSecurity = 0;
    float Medicare = 0;
    float State = 0;
    float City = 0;
    float CreditUnion = 0;
    float Bond = 0;
    float Dues = 0;
    float Pension = 0;
    float Misc = 0;
    float KPlan = 0;
    Currency Overtime;
    Currency Tips;
    Currency Gross;
    Currency Net;
    // Summed over all 52 rows whatever the pay frequency, and never stored in the file.
    float Sdi = 0;
    float Sui = 0;
    float Cafeteria = 0;

    bool operator==(const YtdTotals&) const = default;
};

struct YtdRegister {
    // rows[0] is week 1.
    std::array<YtdRow, kYtdRows> rows;
    YtdTotals totals;

    // Week numbers 1 to 52, as the grid numbers its rows.
    YtdRow& Row(int week) { return rows.at(static_cast<std::size_t>(week - 1)); }
    const YtdRow& Row(int week) const { return rows.at(static_cast<std::size_t>(week - 1)); }

    bool operator==(const YtdRegister&) const = default;
};

// The rows in use: a bi-weekly register keeps only the first 26. Asked at every operation, because
// the user can change the pay frequency while the register is loaded.
constexpr int RowCount(bool weeklyPay) {
    return weeklyPay ? kYtdRows : kYtdRows / 2;
}

// The amount columns of the grid, left to right (the week-ending column stands before them).
enum class YtdColumn {
    Federal,
    SocialSecurity,
    Medicare,
    State,
    City,
    CreditUnion,
    Bond,
    Dues,
    Pension,
    Misc,
    KPlan,
    Tips,
    Overtime,
    Net,
    Gross,
};

inline constexpr std::array<YtdColumn, 15> kYtdColumns = {
    YtdColumn::Federal,  YtdColumn::SocialSecurity,
    YtdColumn::Medicare, YtdColumn::State,
    YtdColumn::City,     YtdColumn::CreditUnion,
    YtdColumn::Bond,     YtdColumn::Dues,
    YtdColumn::Pension,  YtdColumn::Misc,
    YtdColumn::KPlan,    YtdColumn::Tips,
    YtdColumn::Overtime, YtdColumn::Net,
    YtdColumn::Gross,
};

// The row field a column shows: row.*ColumnMember(column).
float YtdRow::*ColumnMember(YtdColumn column);
// The single-precision total of a column; null for the money totals (overtime, tips, net, gross).
float YtdTotals::*TotalMember(YtdColumn column);

// What the register needs from the grid window (frmYear). A save writes what the grid shows, which
// can differ from the register when the user has typed into a cell since the last update.
class YtdGridTexts {
  public:
    virtual ~YtdGridTexts() = default;

    // Weeks 1 to 52.
    virtual std::string WeekEndingText(int week) const = 0;
    virtual std::string AmountText(int week, YtdColumn column) const = 0;

    // After a load: show weeks 1..rowCount of the register (each amount as its shortest text) and
    // head the credit union, bond, dues, pension and misc columns of both halves with the
    // employee's captions. Rows beyond rowCount are left as they are.
    virtual void ShowRegister(const YtdRegister& ytd, int rowCount,
                              const std::array<std::string, 5>& deductionCaptions) = 0;
};

// What the register needs from the totals window (frmYearTot): after each recomputation it puts
// every total into its box, formatted as the window shows totals.
class YtdTotalsView {
  public:
    virtual ~YtdTotalsView() = default;
    virtual void ShowTotals(const YtdTotals& totals) = 0;
};

// The texts a grid freshly filled from the register would show: the week-ending as stored and each
// amount as its shortest single-precision text. A save with no grid open uses these, so it writes
// the register's own values.
class RegisterGridTexts : public YtdGridTexts {
  public:
    explicit RegisterGridTexts(const YtdRegister& ytd) : ytd_(ytd) {}

    std::string WeekEndingText(int week) const override;
    std::string AmountText(int week, YtdColumn column) const override;
    // Nothing to refresh: the texts are read from the register when asked for.
    void ShowRegister(const YtdRegister&, int, const std::array<std::string, 5>&) override {}

  private:
    const YtdRegister& ytd_;
};

// The windows showing the register, or null while they are closed.
struct YtdViews {
    YtdGridTexts* grid = nullptr;
    YtdTotalsView* totals = nullptr;
};

enum class LoadAnnualResult {
    Loaded,
    NoFile,   // the register was emptied; not an error
    Damaged,  // the user was told; the register was emptied
};

// Reads a register file of the given frequency into `ytd`, whole or not at all: nullopt when it
// was read, else where it failed. Sdi, Sui and Cafeteria totals are left as they were.
std::optional<ReadError> ReadAnnualFile(const std::filesystem::path& path, bool weeklyPay,
                                        YtdRegister& ytd);

// A row as the file stores it, every amount exactly as written (to four decimals, as money),
// never through a single: sums of these come to the cent however large they grow.
struct YtdStoredRow {
    std::string WeekEnding;
    Currency Federal;
    Currency SocialSecurity;
    Currency Medicare;
    Currency State;
    Currency City;
    Currency CreditUnion;
    Currency Bond;
    Currency Dues;
    Currency Pension;
    Currency Misc;
    Currency KPlan;
    Currency Overtime;
    Currency Gross;
    Currency Net;
    Currency Sdi;
    Currency Sui;
    Currency Cafeteria;
    Currency Tips;
};

// Reads the rows of a register file of the given frequency (26 or 52 of them) as stored, whole
// or not at all: nullopt when it was read, else where it failed. A file ReadAnnualFile refuses
// is refused here too, and so is an amount too large for money, which a single would still hold.
std::optional<ReadError> ReadStoredAnnualFile(const std::filesystem::path& path, bool weeklyPay,
                                              std::vector<YtdStoredRow>& rows);

// ActiveUser + ".yrw" for weekly pay, ".yrb" for bi-weekly.
std::filesystem::path AnnualFileName(std::string_view activeUser, bool weeklyPay);
bool AnnualFileExists(std::string_view activeUser, bool weeklyPay);

// Replaces the rows and the stored totals by the file of the employee's current frequency, then
// refreshes the grid. The Sdi, Sui and Cafeteria totals are not in the file: they stay as last
// recomputed until the next AddAnnual. A missing or damaged file empties the whole register
// (totals included), so no rows of the employee open before survive; a damaged one is reported.
LoadAnnualResult LoadAnnual(YtdRegister& ytd, std::string_view activeUser,
                            const EmployeeProfile& profile, Host& host, YtdViews views = {});

// Recomputes the totals over the employee's rows and shows them. False after an arithmetic fault,
// which has been reported; the totals then hold the partial sums reached so far.
bool AddAnnual(YtdRegister& ytd, const EmployeeProfile& profile, Host& host,
               YtdTotalsView* totals = nullptr);

// AddAnnual, then writes the file of the current frequency: the grid's texts for what it shows,
// the register for Sdi, Sui, Cafeteria and the totals. False when the file could not be written;
// the user was told, and the register and the previous file are untouched.
bool SaveAnnual(YtdRegister& ytd, std::string_view activeUser, const EmployeeProfile& profile,
                Host& host, YtdViews views = {});

// The two halves of SaveAnnual after its AddAnnual: the lines of the file, and committing them
// with the failure reported to the user.
RecordWriter AnnualRecords(const YtdRegister& ytd, std::string_view activeUser, bool weeklyPay,
                           const YtdGridTexts& grid);
bool CommitAnnual(RecordWriter& records, Host& host);

}  // namespace kestrel
