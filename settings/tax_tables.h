// The table shapes the state and city settings share. All figures are bi-weekly; the weekly
// ones are derived where they are used.
#pragma once

#include <array>
#include <cstdint>

namespace kestrel {

class RecordReader;
class RecordWriter;

// A Minimum of this value marks a table line that is not in use.
inline constexpr float kUnusedMinimum = 999999;

struct BracketRow {
    float Minimum = 0;  // lower bound of the pay range ("Minimum Range")
    float Amount = 0;   // fixed amount to withhold ("Amount to Withhold")
    float Percent = 0;  // rate as a decimal fraction, 0.0525 for 5.25 %
    bool operator==(const BracketRow&) const = default;
};

// Ten lines, shown to the user as lines 1 to 10.
using BracketTable = std::array<BracketRow, 10>;

// The "Withholding Allowance" of 0 to 9 exemptions.
using ExemptionColumn = std::array<float, 10>;

struct ExemptionTable {
    ExemptionColumn Single{};
    ExemptionColumn Married{};
    bool operator==(const ExemptionTable&) const = default;
};

// Every line marked unused, as CLEAR ALL shows a table.
BracketTable UnusedBracketTable();

// The 21 lines the ".sta" and ".cti" files open with: ten lines of both tables side by side, the
// file's "no tax" flag, then ten lines of both exemption columns. Each read goes straight into
// its field and the reader refuses everything after its first failure, so a corrupted file
// leaves the fields before the failure with their new values and the rest with their old ones.
void ReadTaxTables(RecordReader& in, BracketTable& single, BracketTable& married,
                   std::int16_t& noTax, ExemptionColumn& singleExemptions,
                   ExemptionColumn& marriedExemptions);
void WriteTaxTables(RecordWriter& out, const BracketTable& single, const BracketTable& married,
                    std::int16_t noTax, const ExemptionColumn& singleExemptions,
                    const ExemptionColumn& marriedExemptions);

}  // namespace kestrel
