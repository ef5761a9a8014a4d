#include "settings/city_tax_settings.h"

namespace kestrel {

CityTaxSettings NewYorkCityDefaults() {
    CityTaxSettings city;
    city.SingleBrackets = {{{0, 0, 0.019F},
                            {308, 5.85F, 0.0265F},
                            {334, 6.58F, 0.031F},
                            {557, 14.08F, 0.037F},
                            {962, 28.31F, 0.039F},
                            {2308, 80.81F, 0.04F},
                            {3846, 142.35F, 0.044F},
                            {5769, 226.96F, 0.0544F},
                            {7692, 331.58F, 0.044F},
                            {19231, 839.27F, 0.048F}}};
    // Not a copy of the single table: line 4 starts at 577, and lines 7 to 10 differ.
    city.MarriedBrackets = {{{0, 0, 0.019F},
                             {308, 5.85F, 0.0265F},
                             {334, 6.58F, 0.031F},
                             {577, 14.08F, 0.037F},
                             {962, 28.31F, 0.039F},
                             {2308, 80.81F, 0.04F},
                             {3846, 142.35F, 0.04F},
                             {5769, 219.27F, 0.0603F},
                             {7692, 335.23F, 0.044F},
                             {19231, 842.92F, 0.048F}}};
    // Written out rather than computed in 38.5 steps, so every figure is the decimal one.
    city.SingleExemptions = {192.3F, 230.8F, 269.3F, 307.8F, 346.3F,
                             384.8F, 423.3F, 461.8F, 500.3F, 538.8F};
    city.MarriedExemptions = {211.5F, 250, 288.5F, 327, 365.5F, 404, 442.5F, 481, 519.5F, 558};
    city.NoLocalTax = 0;
    return city;
}

SettingsFileResult ReadCityFile(const std::filesystem::path& path, CityTaxSettings& settings) {
    if (FileMissing(path)) return {SettingsFileStatus::Missing, {}};
    RecordReader in = RecordReader::Open(path);
    const float lastExemption = settings.MarriedExemptions.back();
    ReadTaxTables(in, settings.SingleBrackets, settings.MarriedBrackets, settings.NoLocalTax,
                  settings.SingleExemptions, settings.MarriedExemptions);
    // A state file opens with the same 21 lines; its two more lines tell it apart.
    in.Finish(settings.MarriedExemptions.back(), lastExemption);
    return ReadOutcome(in);
}

RecordWriter CityRecords(const std::filesystem::path& path, const CityTaxSettings& settings) {
    RecordWriter out(path);
    WriteTaxTables(out, settings.SingleBrackets, settings.MarriedBrackets, settings.NoLocalTax,
                   settings.SingleExemptions, settings.MarriedExemptions);
    return out;
}

WriteResult WriteCityFile(const std::filesystem::path& path, const CityTaxSettings& settings) {
    return CityRecords(path, settings).Commit();
}

}  // namespace kestrel
