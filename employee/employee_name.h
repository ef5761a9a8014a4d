// An employee's name is the base name of every file of the employee, so it must name a file in
// the working folder and nothing else.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrel {

// Why `name` cannot be an employee name, as a message for the user; nullopt when it can.
std::optional<std::string> EmployeeNameProblem(std::string_view name);

// Why a text that becomes part of a file name (a week-ending date) cannot be used; nullopt when
// it can. "/" is allowed: callers replace it before the text reaches a file name.
std::optional<std::string> FileNamePartProblem(std::string_view text, std::string_view what);

}  // namespace kestrel
