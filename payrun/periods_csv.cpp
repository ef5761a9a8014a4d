#include "payrun/periods_csv.h"

#include <algorithm>
#include <optional>
#include <set>

#include "app/period_entries.h"
#include "app/terminal_text.h"

namespace kestrel {

namespace {

constexpr std::string_view kEmployee = "employee";
constexpr std::string_view kOt2x = "ot2x";

struct Record {
    int line = 0;  // where it starts
    std::vector<std::string> fields;
};

// Splits the text into records; a quoted field may hold commas, quotes and line ends.
std::variant<std::vector<Record>, std::string> Records(std::string_view text) {
    std::vector<Record> records;
    Record record{1, {}};
    std::string field;
    bool quoted = false;
    bool wasQuoted = false;
    int line = 1;
    const auto endField = [&] {
        record.fields.push_back(std::move(field));
        field.clear();
        wasQuoted = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                if (c == '\n') ++line;
                field += c;
            }
            continue;
        }
        if (c == '"') {
            if (!field.empty() || wasQuoted) {
                return "line " + std::to_string(line) + ": a quote in the middle of a field";
            }
            quoted = true;
            wasQuoted = true;
        } else if (c == ',') {
            endField();
        } else if (c == '\n' || (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            if (c == '\r') ++i;
            endField();
            records.push_back(std::move(record));
            record = Record{++line, {}};
        } else if (wasQuoted) {
            return "line " + std::to_string(line) + ": text after a quoted field";
        } else {
            field += c;
        }
    }
    if (quoted) return "line " + std::to_string(record.line) + ": a quoted field is not closed";
    if (!field.empty() || wasQuoted || !record.fields.empty()) {
        endField();
        records.push_back(std::move(record));
    }
    return records;
}

bool Blank(const Record& record) {
    return std::all_of(record.fields.begin(), record.fields.end(),
                       [](const std::string& f) { return f.empty(); });
}

}  // namespace

std::string PeriodsCsvColumns() {
    std::string columns(kEmployee);
    for (std::size_t k = 0; k < kPeriodEntries.size(); ++k) {
        columns += "," + std::string(kPeriodEntries[k].column);
        if (k == 2) columns += "," + std::string(kOt2x);
    }
    return columns;
}

std::variant<std::vector<EmployeePeriod>, std::string> ReadPeriodsCsv(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    auto split = Records(text);
    if (auto* problem = std::get_if<std::string>(&split)) return *problem;
    std::vector<Record>& records = std::get<std::vector<Record>>(split);
    records.erase(std::remove_if(records.begin(), records.end(), Blank), records.end());
    if (records.empty())
        return "the file is empty: its first line names the columns, " + PeriodsCsvColumns();

    // What each column of the header is: the employee, an entry, or the 2X choice.
    constexpr int kNameColumn = -1;
    constexpr int kOt2xColumn = -2;
    const Record& header = records.front();
    std::vector<int> kinds;
    std::set<std::string> seen;
    for (const std::string& name : header.fields) {
        if (!seen.insert(name).second)
            return "the column \"" + Printable(name) + "\" is named twice";
        if (name == kEmployee) {
            kinds.push_back(kNameColumn);
        } else if (name == kOt2x) {
            kinds.push_back(kOt2xColumn);
        } else if (const auto entry = PeriodEntryOfColumn(name)) {
            kinds.push_back(static_cast<int>(*entry));
        } else {
            return "line " + std::to_string(header.line) + ": \"" + Printable(name) +
                   "\" is not a column; the columns are " + PeriodsCsvColumns();
        }
    }
    if (!seen.contains(std::string(kEmployee))) {
        return "line " + std::to_string(header.line) + ": there is no \"employee\" column";
    }

    std::vector<EmployeePeriod> periods;
    std::set<std::string> employees;
    for (std::size_t r = 1; r < records.size(); ++r) {
        const Record& record = records[r];
        const std::string where = "line " + std::to_string(record.line);
        if (record.fields.size() != kinds.size()) {
            return where + ": " + std::to_string(record.fields.size()) +
                   " fields where the header has " + std::to_string(kinds.size());
        }
        EmployeePeriod period;
        for (std::size_t c = 0; c < kinds.size(); ++c) {
            const std::string& field = record.fields[c];
            if (kinds[c] == kNameColumn) {
                period.employee = field;
            } else if (kinds[c] == kOt2xColumn) {
                if (field != "" && field != "0" && field != "1")
                    return where + ": ot2x is 0 or 1, not \"" + Printable(field) + "\"";
                period.period.overtimeDouble = field == "1";
            } else if (!field.empty()) {
                const auto index = static_cast<std::size_t>(kinds[c]);
                if (PeriodEntryProblem(index, field))
                    return where + ": " + PeriodEntryRefusal(header.fields[c], index, field);
                period.period.entries[index] = field;
            }
        }
        if (period.employee.empty()) return where + ": no employee is named";
        if (!employees.insert(period.employee).second) {
            return where + ": \"" + Printable(period.employee) +
                   "\" is named twice, and would be paid twice";
        }
        periods.push_back(std::move(period));
    }
    return periods;
}

}  // namespace kestrel
