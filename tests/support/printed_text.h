// Printed pages as tests read them: the plain text of a job, line by line, and lines built from
// texts at their columns to compare with.
#pragma once

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/print_model.h"

namespace kestrel::testing {

// The plain text of a job, one string per printed line.
inline std::vector<std::string> PrintedLines(const std::string& plain) {
    std::vector<std::string> lines;
    std::istringstream in(plain);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// A printed line as the plain text lays it out: each text from its column (1 is the first).
inline std::string Row(const std::vector<std::pair<int, std::string>>& items) {
    std::string line;
    for (const auto& [column, text] : items) {
        const auto at = static_cast<std::size_t>(column - 1);
        if (line.size() < at) line.resize(at, ' ');
        line += text;
    }
    return line;
}

inline std::vector<std::string> PrintedLines(const PrintJob& job) {
    return PrintedLines(PlainText(job));
}

}  // namespace kestrel::testing
