#include "settings/non_resident_tax_settings.h"

#include "settings/tax_tables.h"

namespace kestrel {

namespace {

constexpr std::size_t kLines = 8;

}  // namespace

NonResidentTaxSettings NonResidentDefaults() {
    NonResidentTaxSettings table;
    // The weekly column is a table of its own, not half the bi-weekly one (78 against 145).
    table.BiWeeklyMinimum = {
        0, 145, 385, 769, 1154, kUnusedMinimum, kUnusedMinimum, kUnusedMinimum};
    table.BiWeeklySubtract = {0, 115, 77, 38, 0, 0, 0, 0};
    table.WeeklyMinimum = {0, 78, 192, 385, 577, kUnusedMinimum, kUnusedMinimum, kUnusedMinimum};
    table.WeeklySubtract = {0, 58, 38, 19, 0, 0, 0, 0};
    table.NonResidentPercent = 0.0045F;
    return table;
}

SettingsFileResult ReadNonResidentFile(const std::filesystem::path& path,
                                       NonResidentTaxSettings& settings) {
    if (FileMissing(path)) return {SettingsFileStatus::Missing, {}};
    RecordReader in = RecordReader::Open(path);
    // After a failure the reader refuses every further read: the fields before it keep their
    // new values.
    for (std::size_t i = 0; i < kLines; ++i) {
        in.Single(settings.BiWeeklyMinimum[i]);
        in.Single(settings.BiWeeklySubtract[i]);
        in.Single(settings.WeeklyMinimum[i]);
        in.Single(settings.WeeklySubtract[i]);
    }
    const float rate = settings.NonResidentPercent;
    in.Single(settings.NonResidentPercent);
    // The rate is the file's last field: a file cut inside it ("0." of "0.0045") has no line end,
    // and the rate is not taken from it.
    in.Finish(settings.NonResidentPercent, rate);
    return ReadOutcome(in);
}

RecordWriter NonResidentRecords(const std::filesystem::path& path,
                                const NonResidentTaxSettings& settings) {
    RecordWriter out(path);
    for (std::size_t i = 0; i < kLines; ++i) {
        out.Line({field::Single(settings.BiWeeklyMinimum[i]),
                  field::Single(settings.BiWeeklySubtract[i]),
                  field::Single(settings.WeeklyMinimum[i]),
                  field::Single(settings.WeeklySubtract[i])});
    }
    out.Line({field::Single(settings.NonResidentPercent)});
    return out;
}

WriteResult WriteNonResidentFile(const std::filesystem::path& path,
                                 const NonResidentTaxSettings& settings) {
    return NonResidentRecords(path, settings).Commit();
}

}  // namespace kestrel
