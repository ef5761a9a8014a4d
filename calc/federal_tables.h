// Federal income tax withholding by the percentage method, from the yearly table file that is
// supplied beside the program ("Fedtaxx.tax").
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

#include "calc/calc_trace.h"
#include "employee/record_file.h"
#include "platform/host.h"

namespace kestrel {

inline constexpr std::string_view kFederalTableFile = "Fedtaxx.tax";
inline constexpr std::string_view kSupportAddress = "support@wrenfield.example";

struct FederalBracketRow {
    float Over = 0;
    float NotOver = 0;  // rows 1 to 5; row 6 is open-ended
    float ExcessOver = 0;
    float Percent = 0;
    float Base = 0;  // rows 2 to 6
};

struct FederalBlock {
    std::array<FederalBracketRow, 6> rows{};
};

enum class FederalBlockId {
    SingleBiWeekly = 0,
    SingleWeekly = 1,
    MarriedBiWeekly = 2,
    MarriedWeekly = 3
};

struct FederalTables {
    std::array<FederalBlock, 4> blocks{};
    // Weekly amounts of 0 to 9 allowances: Single in 0-9, Married in 10-19.
    std::array<float, 20> allowances{};
    std::string TableVersion;

    const FederalBlock& Block(FederalBlockId id) const {
        return blocks[static_cast<std::size_t>(id)];
    }
    // Every value goes back to zero; the version text stays for the main window's label.
    void ClearValues();
};

enum class FederalFileStatus { Loaded, Missing, Malformed };

struct FederalFileResult {
    FederalFileStatus status = FederalFileStatus::Missing;
    ReadError error;  // where a malformed file failed
};

// Reads the 137 fields of the table file. `tables` changes only when the whole file was read.
FederalFileResult ReadFederalTableFile(const std::filesystem::path& path, FederalTables& tables);
// The tables in the file's layout (the shipped demo file is made this way), and writing them.
RecordWriter FederalTableRecords(const std::filesystem::path& path, const FederalTables& tables);
WriteResult WriteFederalTableFile(const std::filesystem::path& path, const FederalTables& tables);

std::string MissingFederalTableMessage();
std::string MalformedFederalTableMessage(std::string_view fileName, const ReadError& error);

// Opens and closes the table file; shows the missing-table message when that fails.
bool FederalTablesPresent(Host& host);

// Loads "Fedtaxx.tax" from the current folder. A missing file shows the missing-table message
// and leaves the tables as they are; a file that is short or holds a bad value shows a message
// naming the file and leaves every value at zero, never half-filled. True when loaded.
bool LoadFederalTables(Host& host, FederalTables& tables);

// The allowance amount for a filing status and allowance count ("0" to "9"). Any status other
// than "Single" counts as married, as the withholding does; a count outside 0-9 is taken as the
// nearest of them.
float FederalAllowanceLookup(const FederalTables& tables, std::string_view status,
                             std::string_view allowances);

// Withholding on `wages` from the status's block for the frequency. With neither frequency
// flag set no block applies and the tax is 0. With a trace, the row chosen goes into it.
float FederalWithholding(const FederalTables& tables, bool married, bool weeklyPay,
                         bool biWeeklyPay, float wages, CalcTrace* trace = nullptr);

}  // namespace kestrel
