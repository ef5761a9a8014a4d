// The company header printed at the top of the pay stub and the year-to-date report. One
// "Header.sav" serves every employee kept in the folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "employee/record_file.h"

namespace kestrel {

inline constexpr std::string_view kHeaderFileName = "Header.sav";

struct CompanyHeader {
    std::string CompanyName;
    std::string CompanyAddress;
    std::string CompanyZipCode;
    std::string CompanyIdNumber;
    bool operator==(const CompanyHeader&) const = default;
};

// Reads "Header.sav" into `header`, whole or not at all: nullopt when it was read, else where it
// failed. A missing file is not an error: `header` keeps its values.
std::optional<ReadError> LoadCompanyHeader(CompanyHeader& header,
                                           const std::filesystem::path& file = kHeaderFileName);
// The one line SaveHeader commits.
RecordWriter HeaderRecords(const CompanyHeader& header,
                           const std::filesystem::path& file = kHeaderFileName);
WriteResult SaveHeader(const CompanyHeader& header,
                       const std::filesystem::path& file = kHeaderFileName);

}  // namespace kestrel
