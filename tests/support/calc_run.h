// Runs kestrel-calc as a separate program, the way scripts use it, and reads its JSON output.
#pragma once

#include <string>

#include "support/run_command.h"

namespace kestrel::testing {

using CalcRun = CommandRun;

// Standard error goes to "stderr.txt" in the current folder.
inline CalcRun Calc(const std::string& arguments) {
    return RunCommand(std::string(KESTREL_CALC_PATH) + " " + arguments + " 2>stderr.txt");
}

// The value of one "key": value pair of the output, as printed.
inline std::string Field(const std::string& json, const std::string& key) {
    const std::string marker = "\"" + key + "\": ";
    const auto at = json.find(marker);
    if (at == std::string::npos) return "<missing " + key + ">";
    const auto start = at + marker.size();
    const auto end = json.find_first_of(",\n", start);
    return json.substr(start, end - start);
}

}  // namespace kestrel::testing
