// The table shapes the state and city settings share. All figures are bi-weekly; the weekly
// ones are derived where they are used.
#pragma once

#include <array>

namespace kestrel {

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

}  // namespace kestrel
