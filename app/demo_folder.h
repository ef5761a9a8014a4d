// The demo working folder shipped with Kestrel: two employees, a weekly and a bi-weekly one, with
// a few pay periods in their registers, leave taken and overtime rows, and a company header. It is
// made by driving the program's own windows, so every file is exactly what the program writes.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kestrel {

// Writes the demo employees into `folder`, which must hold "Fedtaxx.tax". Returns the names of the
// files written, or an empty list after a failure (with `error` telling what happened).
std::vector<std::string> WriteDemoFolder(const std::filesystem::path& folder, std::string& error);

}  // namespace kestrel
