#include "employee/profile_files.h"

#include "platform/numbers.h"

namespace kestrel {

namespace {

// A flag kept as a 16-bit integer in the record but read through a wider field.
void ReadFlag(RecordReader& in, CheckFlag& flag) {
    std::int16_t value = 0;
    if (in.Int16(value)) flag = value;
}

template <std::size_t N>
void ReadRaw(RecordReader& in, std::array<RecordField, N>& fields) {
    for (RecordField& field : fields)
        in.Raw(field);
}

template <std::size_t N>
void Append(std::vector<RecordField>& line, const std::array<RecordField, N>& fields) {
    line.insert(line.end(), fields.begin(), fields.end());
}

}  // namespace

std::optional<std::int16_t> AllowanceCount(std::string_view text) {
    const auto count = StrictInt16(text);
    if (!count || *count < 0 || *count > 9) return std::nullopt;
    // "2.5" would round; a count is typed whole.
    if (text.find('.') != std::string_view::npos) return std::nullopt;
    return count;
}

namespace {

std::optional<ReadError> ReadUse(RecordReader& in, EmployeeProfile& profile,
                                 OvertimeAllowance& overtime, ProfileReserved& reserved) {
    EmployeeProfile p = profile;
    OvertimeAllowance ot = overtime;
    ProfileReserved r = reserved;
    in.Single(ot.OvertimeEarned);
    in.Single(ot.MaxAllowable);
    in.Single(ot.OvertimeAvailable);
    in.Single(ot.AnnualSalary);
    in.Single(ot.ApprovedPercent);
    in.Single(ot.PresentPercent);
    in.Single(p.HourlyRate1);
    in.Single(p.HourlyRate2);
    in.Single(p.TipsRate);
    // The calculation reads any other text as no allowances or as married without a word: refuse
    // what the User Info window could not have stored.
    if (in.Text(p.FederalAllowances) && !AllowanceCount(p.FederalAllowances)) {
        in.Refuse("the federal allowances are a whole number from 0 to 9, not " +
                  QuotedValue(p.FederalAllowances));
    }
    if (in.Text(p.FederalStatus) && p.FederalStatus != "Single" && p.FederalStatus != "Married") {
        in.Refuse("the federal status is \"Single\" or \"Married\", not " +
                  QuotedValue(p.FederalStatus));
    }
    in.Single(p.Pension);
    in.Single(p.CreditUnion);
    in.Single(p.Bond);
    in.Single(p.Misc);
    in.Single(p.Dues);
    in.Single(p.KPlan);
    ReadFlag(in, p.NonCityResident);
    in.Bool(p.WeeklyPay);
    if (in.Bool(p.BiWeeklyPay) && p.WeeklyPay && p.BiWeeklyPay) {
        in.Refuse("weekly and bi-weekly pay are both set; an employee is paid one way");
    }
    for (std::string& caption : p.DeductionCaptions)
        in.Text(caption);
    ReadRaw(in, r.UseLines9To12);
    in.Finish();
    if (!in.Ok()) return in.Error();
    profile = std::move(p);
    overtime = std::move(ot);
    reserved = std::move(r);
    return std::nullopt;
}

std::optional<ReadError> ReadAnd(RecordReader& in, EmployeeProfile& profile,
                                 StateTaxSettings& state, PrintOffsets& offsets,
                                 ProfileReserved& reserved) {
    EmployeeProfile p = profile;
    StateTaxSettings s = state;
    PrintOffsets o = offsets;
    ProfileReserved r = reserved;
    in.Single(o.Horizontal);
    in.Single(o.Vertical);
    ReadFlag(in, s.SpouseWorks);
    in.Single(s.CaliforniaAllowance);
    ReadRaw(in, r.AndLine2);
    ReadRaw(in, r.AndLine3);
    ReadRaw(in, r.AndLine4);
    in.Text(p.EmployeeAddress);
    in.Text(p.EmployeeCityStateZip);
    in.Text(p.EmployeeSsn);
    in.Text(p.EmployeeName);
    ReadRaw(in, r.AndLine6);
    ReadFlag(in, s.RoundState);
    ReadFlag(in, s.OklahomaFlag);
    ReadFlag(in, s.WisconsinFlag);
    ReadFlag(in, s.AlabamaFlag);
    ReadFlag(in, s.NorthCarolinaFlag);
    ReadRaw(in, r.AndLine8);
    ReadFlag(in, p.KPlanIsPercent);
    ReadFlag(in, p.KPlanIsFixed);
    in.Finish();
    if (!in.Ok()) return in.Error();
    profile = std::move(p);
    state = std::move(s);
    offsets = o;
    reserved = std::move(r);
    return std::nullopt;
}

std::optional<ReadError> ReadCfe(RecordReader& in, EmployeeProfile& profile) {
    EmployeeProfile p = profile;
    in.Single(p.Cafeteria);
    ReadFlag(in, p.CafeteriaReducesState);
    ReadFlag(in, p.SelfEmployed);
    in.Finish();
    if (!in.Ok()) return in.Error();
    profile = std::move(p);
    return std::nullopt;
}

// A new employee's overtime figures, as File, New leaves them.
OvertimeAllowance NewEmployeeOvertime() {
    OvertimeAllowance overtime;
    overtime.AnnualSalary = kNewEmployeeSalary;
    overtime.OtAmount.fill("0");
    return overtime;
}

}  // namespace

std::optional<ReadError> ReadUseFile(const std::filesystem::path& path, EmployeeProfile& profile,
                                     OvertimeAllowance& overtime, ProfileReserved& reserved) {
    RecordReader in = RecordReader::Open(path);
    return ReadUse(in, profile, overtime, reserved);
}

std::optional<ReadError> ReadAndFile(const std::filesystem::path& path, EmployeeProfile& profile,
                                     StateTaxSettings& state, PrintOffsets& offsets,
                                     ProfileReserved& reserved) {
    RecordReader in = RecordReader::Open(path);
    return ReadAnd(in, profile, state, offsets, reserved);
}

std::optional<ReadError> ReadCfeFile(const std::filesystem::path& path, EmployeeProfile& profile) {
    RecordReader in = RecordReader::Open(path);
    return ReadCfe(in, profile);
}

// Each reset reads what the program would write for a new employee through the file's own reader,
// so it touches exactly the fields the file carries.
void ResetUseFields(EmployeeProfile& profile, OvertimeAllowance& overtime,
                    ProfileReserved& reserved) {
    const OvertimeAllowance fresh = NewEmployeeOvertime();
    const OvertimeBoxTexts boxes{SingleText(fresh.AnnualSalary), "0", "", ""};
    RecordReader in = RecordReader::FromText(
        UseRecords({}, NewEmployeeProfile(), fresh, boxes, ProfileReserved{}).Contents());
    ReadUse(in, profile, overtime, reserved);
}

void ResetAndFields(EmployeeProfile& profile, StateTaxSettings& state, PrintOffsets& offsets,
                    ProfileReserved& reserved) {
    RecordReader in =
        RecordReader::FromText(AndRecords({}, NewEmployeeProfile(), NewYorkStateDefaults(),
                                          PrintOffsets{}, ProfileReserved{})
                                   .Contents());
    ReadAnd(in, profile, state, offsets, reserved);
}

void ResetCfeFields(EmployeeProfile& profile) {
    RecordReader in = RecordReader::FromText(CfeRecords({}, NewEmployeeProfile()).Contents());
    ReadCfe(in, profile);
}

void ResetOvertimeRows(OvertimeAllowance& overtime) {
    const OvertimeAllowance fresh = NewEmployeeOvertime();
    overtime.OtWeekEnding = fresh.OtWeekEnding;
    overtime.OtAmount = fresh.OtAmount;
}

RecordWriter UseRecords(const std::filesystem::path& path, const EmployeeProfile& profile,
                        const OvertimeAllowance& overtime, const OvertimeBoxTexts& boxes,
                        const ProfileReserved& reserved) {
    RecordWriter out(path);
    out.Line({field::Single(overtime.OvertimeEarned),
              field::Double(LeadingNumber(boxes.maxAllowable)),
              field::Double(LeadingNumber(boxes.available))});
    out.Line({field::Double(LeadingNumber(boxes.annualSalary)),
              field::Double(LeadingNumber(boxes.approvedPercent)),
              field::Double(RoundCents(static_cast<double>(overtime.PresentPercent)))});
    out.Line({field::Single(profile.HourlyRate1), field::Single(profile.HourlyRate2),
              field::Single(profile.TipsRate)});
    out.Line({field::Text(profile.FederalAllowances), field::Text(profile.FederalStatus),
              field::Single(profile.Pension)});
    out.Line({field::Single(profile.CreditUnion), field::Single(profile.Bond),
              field::Single(profile.Misc)});
    out.Line({field::Single(profile.Dues), field::Single(profile.KPlan),
              field::Int16(profile.NonCityResident)});
    out.Line({field::Bool(profile.WeeklyPay), field::Bool(profile.BiWeeklyPay),
              field::Text(profile.DeductionCaptions[0])});
    out.Line({field::Text(profile.DeductionCaptions[1]), field::Text(profile.DeductionCaptions[2]),
              field::Text(profile.DeductionCaptions[3]),
              field::Text(profile.DeductionCaptions[4])});
    for (std::size_t line = 0; line < 4; ++line) {
        const auto first = reserved.UseLines9To12.begin() + static_cast<std::ptrdiff_t>(line * 4);
        out.Line(std::vector<RecordField>(first, first + 4));
    }
    return out;
}

RecordWriter AndRecords(const std::filesystem::path& path, const EmployeeProfile& profile,
                        const StateTaxSettings& state, const PrintOffsets& offsets,
                        const ProfileReserved& reserved) {
    RecordWriter out(path);
    out.Line({field::Single(offsets.Horizontal), field::Single(offsets.Vertical),
              field::Int16(state.SpouseWorks)});
    std::vector<RecordField> line2{field::Single(state.CaliforniaAllowance)};
    Append(line2, reserved.AndLine2);
    out.Line(line2);
    out.Line(std::vector<RecordField>(reserved.AndLine3.begin(), reserved.AndLine3.end()));
    out.Line(std::vector<RecordField>(reserved.AndLine4.begin(), reserved.AndLine4.end()));
    out.Line({field::Text(profile.EmployeeAddress), field::Text(profile.EmployeeCityStateZip),
              field::Text(profile.EmployeeSsn)});
    std::vector<RecordField> line6{field::Text(profile.EmployeeName)};
    Append(line6, reserved.AndLine6);
    out.Line(line6);
    out.Line({field::Int16(state.RoundState), field::Int16(state.OklahomaFlag),
              field::Int16(state.WisconsinFlag), field::Int16(state.AlabamaFlag)});
    std::vector<RecordField> line8{field::Int16(state.NorthCarolinaFlag)};
    Append(line8, reserved.AndLine8);
    out.Line(line8);
    out.Line({field::Int16(profile.KPlanIsPercent), field::Int16(profile.KPlanIsFixed)});
    return out;
}

RecordWriter CfeRecords(const std::filesystem::path& path, const EmployeeProfile& profile) {
    RecordWriter out(path);
    out.Line({field::Single(profile.Cafeteria), field::Int16(profile.CafeteriaReducesState),
              field::Int16(profile.SelfEmployed)});
    return out;
}

}  // namespace kestrel
