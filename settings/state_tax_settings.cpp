#include "settings/state_tax_settings.h"

#include <string>
#include <utility>

namespace kestrel {

bool StateTaxSettings::AnySpecialState() const {
    for (CheckFlag flag :
         {ArizonaFlag, LouisianaFlag, IowaFlag, MissouriFlag, MassFlag, OregonFlag, OklahomaFlag,
          AlabamaFlag, KentuckyFlag, WisconsinFlag, NorthCarolinaFlag}) {
        if (flag != 0) return true;
    }
    return false;
}

StateTaxSettings NewYorkStateDefaults() {
    // The two tables share every line but 7 and 8 (index 6 and 7).
    constexpr BracketTable kSingle{{{0, 0, 0.04f},
                                    {308, 12.31f, 0.045f},
                                    {423, 17.5f, 0.0525f},
                                    {500, 21.54f, 0.059f},
                                    {769, 37.42f, 0.0685f},
                                    {3462, 221.85f, 0.0764f},
                                    {3846, 251.23f, 0.0854f},
                                    {5769, 415.46f, 0.0855f},
                                    {7692, 579.88f, 0.0775f},
                                    {19231, 1474.12f, 0.082f}}};
    StateTaxSettings settings;
    settings.SingleBrackets = kSingle;
    settings.MarriedBrackets = kSingle;
    settings.MarriedBrackets[6].Percent = 0.0814f;
    settings.MarriedBrackets[7].Amount = 407.85f;
    settings.MarriedBrackets[7].Percent = 0.0895f;
    settings.SingleExemptions = {268.3f, 306.8f, 345.3f, 383.8f, 422.3f,
                                 460.8f, 499.3f, 537.8f, 576.3f, 614.8f};
    settings.MarriedExemptions = {287.5f, 326, 364.5f, 403, 441.5f, 480, 518.5f, 557, 595.5f, 634};
    return settings;
}

SettingsFileResult ReadOutcome(const RecordReader& in) {
    if (!in.Ok()) return {SettingsFileStatus::Corrupted, *in.Error()};
    return {SettingsFileStatus::Loaded, {}};
}

namespace {

void ReadStateFields(RecordReader& in, StateTaxSettings& settings, EmployeeProfile& profile) {
    // Every read goes straight into its field: after the first failure the reader refuses the
    // rest, so what was read before it keeps its new value and the remainder stays as it was.
    ReadTaxTables(in, settings.SingleBrackets, settings.MarriedBrackets, settings.NoStateTax,
                  settings.SingleExemptions, settings.MarriedExemptions);
    in.Single(settings.SdiPercent);
    in.Single(settings.SuiPercent);
    in.Single(settings.SdiWageBase);
    in.Single(settings.SuiWageBase);
    in.Single(settings.StateAdjustment);
    in.Int16(settings.SdiUseBase);
    in.Int16(settings.SuiUseBase);
    in.Int16(profile.FicaExempt);
    in.Int16(settings.AlabamaFlag);

    in.Int16(settings.ArizonaFlag);
    in.Int16(settings.LouisianaFlag);
    in.Int16(settings.IowaFlag);
    // The count picks a row of the exemption tables, which have ten.
    std::int16_t allowances = 0;
    if (in.Int16(allowances)) {
        if (allowances >= 0 && allowances <= 9) {
            profile.StateAllowances = allowances;
        } else {
            in.Refuse("the state allowances are a count from 0 to 9, not " +
                      std::to_string(allowances));
        }
    }
    // Any other status would quietly take no exemption at all; the User Info window offers only
    // these two, and the command line refuses any other.
    std::string status;
    if (in.Text(status)) {
        if (status == "Single" || status == "Married") {
            profile.StateStatus = std::move(status);
        } else {
            in.Refuse("the status is \"Single\" or \"Married\", not " + QuotedValue(status));
        }
    }
    in.Int16(profile.FederalExempt);
    in.Single(profile.AdditionalFederal);
    in.Int16(settings.MassFlag);
    in.Int16(settings.OregonFlag);
    in.Int16(settings.KentuckyFlag);
    const CheckFlag missouri = settings.MissouriFlag;
    in.Int16(settings.MissouriFlag);
    in.Finish(settings.MissouriFlag, missouri);
}

}  // namespace

SettingsFileResult ReadStateFile(const std::filesystem::path& path, StateTaxSettings& settings,
                                 EmployeeProfile& profile) {
    if (FileMissing(path)) return {};
    RecordReader in = RecordReader::Open(path);
    ReadStateFields(in, settings, profile);
    const SettingsFileResult outcome = ReadOutcome(in);
    // The fields read before the failure came from a refused file: the part of the records the
    // file carries starts from a new employee's values instead, never half from the file.
    if (outcome.status == SettingsFileStatus::Corrupted) {
        RecordReader fresh = RecordReader::FromText(
            StateRecords({}, NewYorkStateDefaults(), NewEmployeeProfile()).Contents());
        ReadStateFields(fresh, settings, profile);
    }
    return outcome;
}

RecordWriter StateRecords(const std::filesystem::path& path, const StateTaxSettings& settings,
                          const EmployeeProfile& profile) {
    RecordWriter out(path);
    WriteTaxTables(out, settings.SingleBrackets, settings.MarriedBrackets, settings.NoStateTax,
                   settings.SingleExemptions, settings.MarriedExemptions);
    // Stored files rely on this order of lines 22 and 23, odd as it is.
    out.Line({field::Single(settings.SdiPercent), field::Single(settings.SuiPercent),
              field::Single(settings.SdiWageBase), field::Single(settings.SuiWageBase),
              field::Single(settings.StateAdjustment), field::Int16(settings.SdiUseBase),
              field::Int16(settings.SuiUseBase), field::Int16(profile.FicaExempt),
              field::Int16(settings.AlabamaFlag)});
    out.Line({field::Int16(settings.ArizonaFlag), field::Int16(settings.LouisianaFlag),
              field::Int16(settings.IowaFlag), field::Int16(profile.StateAllowances),
              field::Text(profile.StateStatus), field::Int16(profile.FederalExempt),
              field::Single(profile.AdditionalFederal), field::Int16(settings.MassFlag),
              field::Int16(settings.OregonFlag), field::Int16(settings.KentuckyFlag),
              field::Int16(settings.MissouriFlag)});
    return out;
}

WriteResult WriteStateFile(const std::filesystem::path& path, const StateTaxSettings& settings,
                           const EmployeeProfile& profile) {
    return StateRecords(path, settings, profile).Commit();
}

}  // namespace kestrel
