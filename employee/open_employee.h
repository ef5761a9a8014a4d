// The saves of a window belong to the open employee. With none open the base name of the files
// would be empty, which is the name of the default file set that only Make Default writes.
#pragma once

#include <string_view>

namespace kestrel {

class Program;

// Says that an employee must be created or opened first.
inline constexpr std::string_view kNoEmployeeOpen =
    "No employee is open: create one with File, New or open one with File, Open first."
    "\r\nNothing was saved.";

// True when an employee is open; otherwise the user is told so, and the caller writes nothing.
bool EmployeeOpenOrTell(Program& program);

}  // namespace kestrel
