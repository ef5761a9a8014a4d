// The non-resident city tax table and its ".nci" file. Unlike the state and city tables it has
// separate weekly and bi-weekly columns.
#pragma once

#include <array>
#include <filesystem>
#include <string_view>

#include "employee/record_file.h"
#include "settings/state_tax_settings.h"

namespace kestrel {

struct NonResidentTaxSettings {
    std::array<float, 8> BiWeeklyMinimum{};
    std::array<float, 8> BiWeeklySubtract{};
    std::array<float, 8> WeeklyMinimum{};
    std::array<float, 8> WeeklySubtract{};
    float NonResidentPercent = 0;
    bool operator==(const NonResidentTaxSettings&) const = default;
};

inline constexpr std::string_view kNonResidentFileExtension = ".nci";

NonResidentTaxSettings NonResidentDefaults();

// The 9 lines of the ".nci" file. A corrupted file stops at the failing field.
SettingsFileResult ReadNonResidentFile(const std::filesystem::path& path,
                                       NonResidentTaxSettings& settings);
// The lines WriteNonResidentFile commits.
RecordWriter NonResidentRecords(const std::filesystem::path& path,
                                const NonResidentTaxSettings& settings);
WriteResult WriteNonResidentFile(const std::filesystem::path& path,
                                 const NonResidentTaxSettings& settings);

}  // namespace kestrel
