// The periods of a pay run as a spreadsheet saves them: a CSV file with a header line naming its
// columns, "employee" and any of the period's entries, one line per employee.
#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "payrun/pay_run.h"

namespace kestrel {

// The header's columns beside "employee": the entries by their names, and "ot2x", 0 for "(1X)"
// and 1 for "(2X)". A column left out, or a field left empty, is 0.
std::string PeriodsCsvColumns();

// The periods in the file's order, or why the file is refused, with its line: quoted fields
// ("" for a quote), LF or CRLF line ends, a byte order mark and blank lines allowed. An entry must
// be a number as the command line's options take it; an employee named twice is refused.
std::variant<std::vector<EmployeePeriod>, std::string> ReadPeriodsCsv(std::string_view text);

}  // namespace kestrel
