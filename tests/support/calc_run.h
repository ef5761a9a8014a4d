// Runs kestrel-calc as a separate program, the way scripts use it, and reads its JSON output.
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace kestrel::testing {

struct CalcRun {
    int status = -1;
    std::string out;
};

// Standard error goes to "stderr.txt" in the current folder.
inline CalcRun Calc(const std::string& arguments) {
    const std::string command = std::string(KESTREL_CALC_PATH) + " " + arguments + " 2>stderr.txt";
    CalcRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    std::array<char, 4096> buffer{};
    std::size_t got = 0;
    while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.out.append(buffer.data(), got);
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
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
