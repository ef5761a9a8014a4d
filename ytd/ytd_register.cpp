#include "ytd/ytd_register.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>

namespace kestrel {

namespace {

constexpr std::string_view kArithmeticFault = "CHECK YOUR ENTRY FOR NON NUMBER TYPE";

// The fields of one row block and of the total lines, in file order, to name a damaged field.
constexpr std::array<std::string_view, 19> kRowFieldNames = {
    "WeekEnding", "Federal",     "SocialSecurity", "Medicare", "State",
    "City",       "CreditUnion", "Bond",           "Dues",     "Pension",
    "Misc",       "KPlan",       "Overtime",       "Gross",    "Net",
    "Sdi",        "Sui",         "Cafeteria",      "Tips"};
constexpr std::array<std::string_view, 15> kTotalFieldNames = {
    "Federal", "SocialSecurity", "Medicare", "State",    "City",  "CreditUnion", "Bond", "Dues",
    "Pension", "Misc",           "KPlan",    "Overtime", "Gross", "Net",         "Tips"};

// The totals that are float sums kept to 7 significant digits, paired with their row amounts.
constexpr std::array<std::pair<float YtdTotals::*, float YtdRow::*>, 11> kRoundedSums = {{
    {&YtdTotals::Federal, &YtdRow::Federal},
    {&YtdTotals::SocialSecurity, &YtdRow::SocialSecurity},
    {&YtdTotals::Medicare, &YtdRow::Medicare},
    {&YtdTotals::State, &YtdRow::State},
    {&YtdTotals::City, &YtdRow::City},
    {&YtdTotals::CreditUnion, &YtdRow::CreditUnion},
    {&YtdTotals::Bond, &YtdRow::Bond},
    {&YtdTotals::Dues, &YtdRow::Dues},
    {&YtdTotals::Pension, &YtdRow::Pension},
    {&YtdTotals::Misc, &YtdRow::Misc},
    {&YtdTotals::KPlan, &YtdRow::KPlan},
}};
constexpr std::array<std::pair<Currency YtdTotals::*, float YtdRow::*>, 4> kMoneySums = {{
    {&YtdTotals::Overtime, &YtdRow::Overtime},
    {&YtdTotals::Tips, &YtdRow::Tips},
    {&YtdTotals::Gross, &YtdRow::Gross},
    {&YtdTotals::Net, &YtdRow::Net},
}};
constexpr std::array<std::pair<float YtdTotals::*, float YtdRow::*>, 3> kPlainSums = {{
    {&YtdTotals::Sdi, &YtdRow::Sdi},
    {&YtdTotals::Sui, &YtdRow::Sui},
    {&YtdTotals::Cafeteria, &YtdRow::Cafeteria},
}};

// Passing every partial sum through its 7-digit text keeps the float totals equal to what a
// person adding the shown amounts would get: 0.1 ten times is 1, not 1.0000001.
bool AddRounded(float& total, float amount) {
    const float sum = total + amount;
    if (!std::isfinite(sum)) return false;
    const std::optional<float> kept = StrictSingle(SingleText(sum));
    if (!kept) return false;
    total = *kept;
    return true;
}

bool AddPlain(float& total, float amount) {
    const float sum = total + amount;
    if (!std::isfinite(sum)) return false;
    total = sum;
    return true;
}

bool AddMoney(Currency& total, float amount) {
    // Currency::FromDouble would saturate; a register amount beyond the currency range is an
    // entry fault, not a total to carry on with.
    constexpr double kLargest = static_cast<double>(std::numeric_limits<std::int64_t>::max()) / 1e4;
    const double value = static_cast<double>(amount);
    if (!std::isfinite(value) || std::fabs(value) >= kLargest) return false;
    const std::int64_t add = Currency::FromDouble(value).Raw();
    const std::int64_t raw = total.Raw();
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    if ((add > 0 && raw > kMax - add) || (add < 0 && raw < kMin - add)) return false;
    total = Currency::FromRaw(raw + add);
    return true;
}

// A float total is written as the double value of the text the user sees for it.
RecordField TotalField(float total) {
    return field::Double(StrictDouble(SingleText(total)).value_or(0.0));
}

// Names the entry a read failed at, from its position in the fixed layout.
std::string DescribeField(std::size_t field, int rowCount) {
    if (field == 0) return {};
    const std::size_t index = field - 1;
    const std::size_t rowFields = kRowFieldNames.size() * static_cast<std::size_t>(rowCount);
    if (index < rowFields) {
        return "week " + std::to_string(index / kRowFieldNames.size() + 1) + ", " +
               std::string(kRowFieldNames[index % kRowFieldNames.size()]);
    }
    if (index - rowFields < kTotalFieldNames.size()) {
        return "totals, " + std::string(kTotalFieldNames[index - rowFields]);
    }
    return {};
}

std::string DamagedMessage(const std::string& fileName, const ReadError& error, int rowCount) {
    std::string where;
    if (error.line > 0) {
        where = "line " + std::to_string(error.line);
        const std::string entry = DescribeField(error.field, rowCount);
        if (!entry.empty()) where += ", " + entry;
        where += ": ";
    }
    return "The year-to-date file " + fileName + " is damaged and could not be read (" + where +
           error.reason + "). The register was left empty." +
           (error.disposition.empty() ? "" : "\r\n" + error.disposition);
}

// One row block, in file order. The amounts go through `amount`, so the same layout reads them as
// the register's singles or as exact money.
template <class Row, class ReadAmount>
void ReadRowBlock(RecordReader& in, Row& r, ReadAmount amount) {
    in.Text(r.WeekEnding);
    amount(r.Federal);
    amount(r.SocialSecurity);
    amount(r.Medicare);
    amount(r.State);
    amount(r.City);
    amount(r.CreditUnion);
    amount(r.Bond);
    amount(r.Dues);
    amount(r.Pension);
    amount(r.Misc);
    amount(r.KPlan);
    amount(r.Overtime);
    amount(r.Gross);
    amount(r.Net);
    amount(r.Sdi);
    amount(r.Sui);
    amount(r.Cafeteria);
    amount(r.Tips);
}

void ReadTotalLines(RecordReader& in, YtdTotals& t) {
    in.Single(t.Federal);
    in.Single(t.SocialSecurity);
    in.Single(t.Medicare);
    in.Single(t.State);
    in.Single(t.City);
    in.Single(t.CreditUnion);
    in.Single(t.Bond);
    in.Single(t.Dues);
    in.Single(t.Pension);
    in.Single(t.Misc);
    in.Single(t.KPlan);
    in.Money(t.Overtime);
    in.Money(t.Gross);
    in.Money(t.Net);
    in.Money(t.Tips);
}

// Reads the whole file before anything reaches the register, so a damaged file never leaves it
// half replaced.
bool ReadAnnual(RecordReader& in, int rowCount, YtdRegister& out) {
    for (int week = 1; week <= rowCount; ++week)
        ReadRowBlock(in, out.Row(week), [&in](float& value) { in.Single(value); });
    ReadTotalLines(in, out.totals);
    // A weekly file read for bi-weekly pay goes on after what would be its totals.
    in.Finish();
    return in.Ok();
}

}  // namespace

float YtdRow::*ColumnMember(YtdColumn column) {
    switch (column) {
        case YtdColumn::Federal:
            return &YtdRow::Federal;
        case YtdColumn::SocialSecurity:
            return &YtdRow::SocialSecurity;
        case YtdColumn::Medicare:
            return &YtdRow::Medicare;
        case YtdColumn::State:
            return &YtdRow::State;
        case YtdColumn::City:
            return &YtdRow::City;
        case YtdColumn::CreditUnion:
            return &YtdRow::CreditUnion;
        case YtdColumn::Bond:
            return &YtdRow::Bond;
        case YtdColumn::Dues:
            return &YtdRow::Dues;
        case YtdColumn::Pension:
            return &YtdRow::Pension;
        case YtdColumn::Misc:
            return &YtdRow::Misc;
        case YtdColumn::KPlan:
            return &YtdRow::KPlan;
        case YtdColumn::Tips:
            return &YtdRow::Tips;
        case YtdColumn::Overtime:
            return &YtdRow::Overtime;
        case YtdColumn::Net:
            return &YtdRow::Net;
        case YtdColumn::Gross:
            return &YtdRow::Gross;
    }
    return &YtdRow::Federal;  // not reached: every column is listed
}

float YtdTotals::*TotalMember(YtdColumn column) {
    for (const auto& [total, amount] : kRoundedSums) {
        if (amount == ColumnMember(column)) return total;
    }
    return nullptr;
}

std::string RegisterGridTexts::WeekEndingText(int week) const {
    return ytd_.Row(week).WeekEnding;
}

std::string RegisterGridTexts::AmountText(int week, YtdColumn column) const {
    return SingleText(ytd_.Row(week).*ColumnMember(column));
}

std::filesystem::path AnnualFileName(std::string_view activeUser, bool weeklyPay) {
    return EmployeeFile(activeUser, weeklyPay ? ".yrw" : ".yrb");
}

bool AnnualFileExists(std::string_view activeUser, bool weeklyPay) {
    return FileExists(AnnualFileName(activeUser, weeklyPay));
}

std::optional<ReadError> ReadAnnualFile(const std::filesystem::path& path, bool weeklyPay,
                                        YtdRegister& ytd) {
    YtdRegister loaded;
    loaded.totals.Sdi = ytd.totals.Sdi;
    loaded.totals.Sui = ytd.totals.Sui;
    loaded.totals.Cafeteria = ytd.totals.Cafeteria;
    RecordReader in = RecordReader::Open(path);
    if (!ReadAnnual(in, RowCount(weeklyPay), loaded)) return in.Error();
    ytd = std::move(loaded);
    return std::nullopt;
}

std::optional<ReadError> ReadStoredAnnualFile(const std::filesystem::path& path, bool weeklyPay,
                                              std::vector<YtdStoredRow>& rows) {
    std::vector<YtdStoredRow> read(static_cast<std::size_t>(RowCount(weeklyPay)));
    RecordReader in = RecordReader::Open(path);
    for (YtdStoredRow& row : read)
        ReadRowBlock(in, row, [&in](Currency& value) { in.Money(value); });
    // The stored totals are not used here, but a file whose totals are damaged is damaged.
    YtdTotals totals;
    ReadTotalLines(in, totals);
    in.Finish();
    if (!in.Ok()) return in.Error();
    rows = std::move(read);
    return std::nullopt;
}

LoadAnnualResult LoadAnnual(YtdRegister& ytd, std::string_view activeUser,
                            const EmployeeProfile& profile, Host& host, YtdViews views) {
    const bool weekly = profile.WeeklyPay;
    const int rowCount = RowCount(weekly);
    const std::filesystem::path file = AnnualFileName(activeUser, weekly);

    LoadAnnualResult result = LoadAnnualResult::NoFile;
    std::optional<ReadError> damage;
    if (!FileMissing(file)) {
        damage = ReadAnnualFile(file, weekly, ytd);
        result = damage ? LoadAnnualResult::Damaged : LoadAnnualResult::Loaded;
    }
    if (result != LoadAnnualResult::Loaded) ytd = YtdRegister{};

    if (views.grid) views.grid->ShowRegister(ytd, rowCount, profile.DeductionCaptions);
    if (damage)
        ShowMessage(host, DamagedMessage(file.string(), *damage, rowCount), MsgIcon::Warning);
    return result;
}

bool AddAnnual(YtdRegister& ytd, const EmployeeProfile& profile, Host& host,
               YtdTotalsView* totals) {
    YtdTotals& t = ytd.totals;
    for (const auto& sum : kRoundedSums)
        t.*sum.first = 0;
    for (const auto& sum : kMoneySums)
        t.*sum.first = Currency();

    const int rowCount = RowCount(profile.WeeklyPay);
    for (int week = 1; week <= rowCount; ++week) {
        const YtdRow& row = ytd.Row(week);
        for (const auto& [total, amount] : kRoundedSums) {
            if (!AddRounded(t.*total, row.*amount)) {
                ShowMessage(host, kArithmeticFault);
                return false;
            }
        }
        for (const auto& [total, amount] : kMoneySums) {
            if (!AddMoney(t.*total, row.*amount)) {
                ShowMessage(host, kArithmeticFault);
                return false;
            }
        }
    }

    // These three belong to every row the register holds, whatever the frequency.
    for (const auto& sum : kPlainSums)
        t.*sum.first = 0;
    for (const YtdRow& row : ytd.rows) {
        for (const auto& [total, amount] : kPlainSums) {
            if (!AddPlain(t.*total, row.*amount)) {
                ShowMessage(host, kArithmeticFault);
                return false;
            }
        }
    }

    if (totals) totals->ShowTotals(t);
    return true;
}

RecordWriter AnnualRecords(const YtdRegister& ytd, std::string_view activeUser, bool weeklyPay,
                           const YtdGridTexts& grid) {
    RecordWriter out(AnnualFileName(activeUser, weeklyPay));
    const int rowCount = RowCount(weeklyPay);
    for (int week = 1; week <= rowCount; ++week) {
        const YtdRow& row = ytd.Row(week);
        auto shown = [&](YtdColumn column) {
            return field::Double(LeadingNumber(grid.AmountText(week, column)));
        };
        out.Line({field::Text(grid.WeekEndingText(week)), shown(YtdColumn::Federal),
                  shown(YtdColumn::SocialSecurity), shown(YtdColumn::Medicare),
                  shown(YtdColumn::State)});
        out.Line({shown(YtdColumn::City), shown(YtdColumn::CreditUnion), shown(YtdColumn::Bond),
                  shown(YtdColumn::Dues), shown(YtdColumn::Pension)});
        out.Line({shown(YtdColumn::Misc), shown(YtdColumn::KPlan), shown(YtdColumn::Overtime),
                  shown(YtdColumn::Gross), shown(YtdColumn::Net)});
        out.Line({field::Single(row.Sdi), field::Single(row.Sui), field::Single(row.Cafeteria),
                  shown(YtdColumn::Tips)});
    }
    const YtdTotals& t = ytd.totals;
    out.Line({TotalField(t.Federal), TotalField(t.SocialSecurity), TotalField(t.Medicare),
              TotalField(t.State), TotalField(t.City)});
    out.Line({TotalField(t.CreditUnion), TotalField(t.Bond), TotalField(t.Dues),
              TotalField(t.Pension), TotalField(t.Misc)});
    out.Line({TotalField(t.KPlan), field::Money(t.Overtime), field::Money(t.Gross),
              field::Money(t.Net), field::Money(t.Tips)});
    return out;
}

bool CommitAnnual(RecordWriter& records, Host& host) {
    const WriteResult written = records.Commit();
    if (written) return true;
    ShowMessage(host,
                records.Target().string() + " could not be saved: " + written.error +
                    ". The register is still open; nothing was lost.",
                MsgIcon::Warning);
    return false;
}

bool SaveAnnual(YtdRegister& ytd, std::string_view activeUser, const EmployeeProfile& profile,
                Host& host, YtdViews views) {
    // A fault in the totals has been reported; the rows are still worth keeping, so the save
    // goes on with the totals as far as they got.
    AddAnnual(ytd, profile, host, views.totals);
    const RegisterGridTexts ownTexts(ytd);
    const YtdGridTexts& grid =
        views.grid ? *views.grid : static_cast<const YtdGridTexts&>(ownTexts);
    RecordWriter records = AnnualRecords(ytd, activeUser, profile.WeeklyPay, grid);
    return CommitAnnual(records, host);
}

}  // namespace kestrel
