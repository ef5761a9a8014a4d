// Saved pay periods: the eight entries of the main window stored under the week-ending date, in
// week-ending text (with "/" as "_") + ActiveUser + ".prv", and brought back later.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "employee/record_file.h"

namespace kestrel {

class Program;

inline constexpr std::string_view kPayPeriodFilter = "Saved Files (*.prv)|*.prv";

// The file a period of `weekEnding` is saved in for `activeUser`.
std::filesystem::path PayPeriodFileName(std::string_view weekEnding, std::string_view activeUser);
// What the week-ending box shows for a chosen file: the first eight characters of its name, with
// "_" as "/".
std::string WeekEndingFromFileName(const std::filesystem::path& file);

// The eight lines of a ".prv", one number each, in the order of the main window's entries.
RecordWriter PayPeriodRecords(const std::filesystem::path& path,
                              const std::array<float, 8>& entries);
// Reads exactly eight numbers, whole or not at all: nullopt when read, else where it failed.
std::optional<ReadError> ReadPayPeriod(const std::filesystem::path& path,
                                       std::array<float, 8>& entries);

// "Save This Pay Period". False, with nothing written, when an entry is not a number or the file
// could not be written; the user has been told.
bool SavePayPeriod(Program& program);
// "Get Pay Period": the user picks a ".prv"; its eight numbers go into the entries, its name's
// first eight characters into the week-ending box, and the period is recalculated. False, with
// nothing changed, when the user cancelled or the file could not be read (the user has been told).
bool LoadPayPeriod(Program& program);

}  // namespace kestrel
