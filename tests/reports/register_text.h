// Register files written out by hand for the reports' tests, so that what the report reads is
// exactly the text a test chose, independent of the program's own register writer.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "reports/employer_report.h"
#include "support/temp_dir.h"

namespace kestrel::testing {

struct RowSpec {
    std::string weekEnding;
    // In the order of kEmployerColumns: gross, tips, federal, soc sec, medicare, state, city, sdi,
    // sui, cafeteria, net.
    std::array<std::int64_t, 11> cents{};
    std::int64_t creditUnion = 0;  // a figure the report does not add, yet one the row holds
};

inline std::string Amount(std::int64_t cents) {
    return CentsNumber(cents);
}

// A whole register file: the rows given first, the rest empty, then three zero total lines.
inline std::string RegisterText(bool weekly, const std::vector<RowSpec>& rows) {
    std::string text;
    const auto line = [&text](const std::vector<std::string>& fields) {
        for (std::size_t k = 0; k < fields.size(); ++k)
            text += (k ? "," : "") + fields[k];
        text += "\r\n";
    };
    const std::size_t count = weekly ? 52 : 26;
    for (std::size_t k = 0; k < count; ++k) {
        const RowSpec row = k < rows.size() ? rows[k] : RowSpec{};
        const auto a = [&row](std::size_t i) { return Amount(row.cents[i]); };
        line({"\"" + row.weekEnding + "\"", a(2), a(3), a(4), a(5)});
        line({a(6), Amount(row.creditUnion), "0", "0", "0"});
        line({"0", "0", "0", a(0), a(10)});
        line({a(7), a(8), a(9), a(1)});
    }
    for (int k = 0; k < 3; ++k)
        line({"0", "0", "0", "0", "0"});
    return text;
}

inline void WriteRegister(const std::string& fileName, const std::vector<RowSpec>& rows) {
    WriteFile(fileName, RegisterText(fileName.ends_with(".yrw"), rows));
}

}  // namespace kestrel::testing
