// The eight entries of a pay period as the command-line programs take them: one table of their
// names (options and CSV columns) and one check of what each accepts, so that every program
// refuses and reads an entry alike.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "calc/payroll_records.h"

namespace kestrel {

struct PeriodEntryName {
    std::string_view option;  // "--straight"
    std::string_view column;  // "straight", the heading of its column in a periods file
};

// In the order of the main window's entries.
inline constexpr std::array<PeriodEntryName, 8> kPeriodEntries{{{"--straight", "straight"},
                                                                {"--straight2", "straight2"},
                                                                {"--ot", "ot"},
                                                                {"--ot15", "ot15"},
                                                                {"--holiday", "holiday"},
                                                                {"--vacation", "vacation"},
                                                                {"--dollars", "dollars"},
                                                                {"--tips-hours", "tips_hours"}}};

std::optional<std::size_t> PeriodEntryOfOption(std::string_view option);
std::optional<std::size_t> PeriodEntryOfColumn(std::string_view column);

// Why `text` cannot be entry `index` ("needs a number", "needs an amount"); nothing when it can.
std::optional<std::string> PeriodEntryProblem(std::size_t index, std::string_view text);

// The refusal of a command line or file: `NAME needs a number, not "TEXT"`.
std::string PeriodEntryRefusal(std::string_view name, std::size_t index, std::string_view text);

// Stores an entry that passed PeriodEntryProblem into its field.
void SetPeriodEntry(PayPeriodEntry& entry, std::size_t index, std::string_view text);

}  // namespace kestrel
