// The open employee's city (local) income-tax withholding settings and their ".cti" file.
#pragma once

#include <filesystem>
#include <string_view>

#include "calc/payroll_records.h"
#include "employee/record_file.h"
#include "settings/state_tax_settings.h"
#include "settings/tax_tables.h"

namespace kestrel {

struct CityTaxSettings {
    BracketTable SingleBrackets{};
    BracketTable MarriedBrackets{};
    ExemptionColumn SingleExemptions{};
    ExemptionColumn MarriedExemptions{};
    CheckFlag NoLocalTax = 0;
    bool operator==(const CityTaxSettings&) const = default;
};

inline constexpr std::string_view kCityFileExtension = ".cti";

CityTaxSettings NewYorkCityDefaults();

// The 21 lines of the ".cti" file: the first 21 lines of the state layout, with NoLocalTax in
// place of NoStateTax. A corrupted file stops at the failing field, keeping what it read.
SettingsFileResult ReadCityFile(const std::filesystem::path& path, CityTaxSettings& settings);
// The lines WriteCityFile commits.
RecordWriter CityRecords(const std::filesystem::path& path, const CityTaxSettings& settings);
WriteResult WriteCityFile(const std::filesystem::path& path, const CityTaxSettings& settings);

}  // namespace kestrel
