// The forms the employer's table takes: JSON for programs, aligned text for the window, a
// workbook, the printed report and a year summary page per employee.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "employee/company_header.h"
#include "platform/print_model.h"
#include "platform/workbook.h"
#include "reports/employer_report.h"

namespace kestrel {

// The table, the employer's lines, the rows left out and the registers not read. `written` adds
// the files made from it ("xlsx", "pdf") by kind.
std::string ReportJson(const ReportTable& table,
                       const std::vector<std::pair<std::string, std::string>>& written = {});

// One line per register, the total and the employer's lines, columns aligned for a fixed-pitch
// font; then what was not counted.
std::string ReportText(const ReportTable& table);

// "Employer report Quarter 1 2005": the printout's name, and with ".xlsx" the workbook's.
std::string ReportDocumentName(const ReportPeriod& period);
std::string ReportWorkbookFileName(const ReportPeriod& period);

Workbook ReportWorkbook(const ReportTable& table);

// Landscape, in the layout of the year-to-date report: heading, a line per register, the total,
// the employer's lines, what was not counted, the banner. `today` in the short date form.
PrintJob ReportJob(const ReportTable& table, const CompanyHeader& header, std::string_view today);

// A page per register: its four quarters and the year, and its rows the year does not count.
PrintJob YearSummaryJob(const RegisterFolder& folder, int year, const CompanyHeader& header,
                        std::string_view today);
std::string YearSummaryDocumentName(int year);

}  // namespace kestrel
