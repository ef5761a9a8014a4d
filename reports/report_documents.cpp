#include "reports/report_documents.h"

#include <algorithm>

#include "app/program.h"
#include "app/terminal_text.h"
#include "ytd/ytd_export.h"

namespace kestrel {

namespace {

constexpr std::string_view kTitle = "Employer report";
constexpr std::string_view kEmployerSocialSecurity = "Employer's Social Security (matching)";
constexpr std::string_view kEmployerMedicare = "Employer's Medicare (matching)";
constexpr std::string_view kDeposit =
    "Deposit total (federal tax, Social Security and Medicare, both shares)";
constexpr std::string_view kLeftOutHeading = "Rows left out (not counted):";
constexpr std::string_view kDamagedHeading = "Registers not read (in no figure above):";

std::string LeftOutText(const LeftOutRow& row) {
    return row.employee + " (" + row.file + "), row " + std::to_string(row.row) + ", \"" +
           row.weekEnding + "\": " + std::string(ReasonText(row.reason));
}

// --- JSON ---

std::string FiguresJson(const ReportFigures& figures, std::string_view indent) {
    std::string json = "\"periods\": " + std::to_string(figures.periods);
    for (const EmployerColumn& column : kEmployerColumns) {
        json += ",\n" + std::string(indent) + JsonQuoted(column.key) + ": " +
                CentsNumber(figures.*column.member);
    }
    return json;
}

// --- aligned text ---

constexpr std::size_t kAmountWidth = 13;
constexpr std::size_t kPayWidth = 10;

std::string PadRight(std::string text, std::size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

std::string PadLeft(const std::string& text, std::size_t width) {
    return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

std::string FiguresText(const ReportFigures& figures) {
    std::string text = PadLeft(std::to_string(figures.periods), 8);
    for (const EmployerColumn& column : kEmployerColumns)
        text += PadLeft(CentsText(figures.*column.member), kAmountWidth);
    return text;
}

// --- printed pages ---

constexpr int kFirstColumn = 5;
constexpr int kPayColumn = 28;
constexpr int kPeriodsColumn = 40;
constexpr int kFirstAmountColumn = 50;
constexpr int kAmountSpacing = 14;

int AmountColumn(std::size_t k) {
    return kFirstAmountColumn + kAmountSpacing * static_cast<int>(k);
}

void PrintHeading(PrintJob& job, const CompanyHeader& header, std::string_view title,
                  std::string_view today) {
    job.SetFont("Arial", 10);
    job.Text(header.CompanyName);
    job.NewLine();
    job.Text(header.CompanyAddress);
    job.NewLine();
    job.Text(header.CompanyZipCode);
    job.At(134, header.CompanyIdNumber);
    job.NewLine();
    job.SetFont("Arial", 9);
    job.Text(title);
    job.At(145, today);
    job.NewLine(2);
    job.SetFont("Arial", 8);
}

void PrintColumnHeadings(PrintJob& job, std::string_view first, bool pay) {
    job.At(kFirstColumn, first);
    if (pay) job.At(kPayColumn, "Pay");
    job.At(kPeriodsColumn, "Periods");
    for (std::size_t k = 0; k < kEmployerColumns.size(); ++k)
        job.At(AmountColumn(k), kEmployerColumns[k].heading);
    job.NewLine();
}

void PrintFigures(PrintJob& job, const ReportFigures& figures) {
    job.At(kPeriodsColumn, std::to_string(figures.periods));
    for (std::size_t k = 0; k < kEmployerColumns.size(); ++k)
        job.At(AmountColumn(k), CentsText(figures.*kEmployerColumns[k].member));
    job.NewLine();
}

void PrintRule(PrintJob& job) {
    // Dashes are narrower than the average character: this many reach the end of the net column.
    job.At(kFirstColumn, std::string(260, '-'));
    job.NewLine();
}

void PrintList(PrintJob& job, std::string_view heading, const std::vector<std::string>& items) {
    if (items.empty()) return;
    job.NewLine();
    job.At(kFirstColumn, heading);
    job.NewLine();
    for (const std::string& item : items) {
        job.At(kFirstColumn + 2, item);
        job.NewLine();
    }
}

void PrintBanner(PrintJob& job) {
    job.NewLine();
    job.SetFont("Arial", 6);
    job.At(kFirstColumn, std::string(kProductName) + "  Version  " + VersionText());
    job.EndPage();
}

std::vector<std::string> LeftOutItems(const std::vector<LeftOutRow>& rows) {
    std::vector<std::string> items;
    for (const LeftOutRow& row : rows)
        items.push_back(LeftOutText(row));
    return items;
}

std::vector<std::string> DamagedItems(const std::vector<DamagedRegister>& damaged) {
    std::vector<std::string> items;
    for (const DamagedRegister& reg : damaged) {
        // A message's own line breaks would run into the next item on paper.
        std::string problem = reg.problem;
        std::replace(problem.begin(), problem.end(), '\r', ' ');
        std::replace(problem.begin(), problem.end(), '\n', ' ');
        items.push_back(problem);
    }
    return items;
}

}  // namespace

std::string ReportJson(const ReportTable& table,
                       const std::vector<std::pair<std::string, std::string>>& written) {
    std::string json = "{\n  \"year\": " + std::to_string(table.period.year) +
                       ",\n  \"quarter\": " +
                       (table.period.WholeYear() ? "null" : std::to_string(table.period.quarter)) +
                       ",\n  \"employees\": [";
    for (std::size_t i = 0; i < table.lines.size(); ++i) {
        const EmployeeLine& line = table.lines[i];
        json += std::string(i ? "," : "") + "\n    {\"employee\": " + JsonQuoted(line.employee) +
                ",\n     \"register\": " + JsonQuoted(line.file) +
                ",\n     \"pay\": " + JsonQuoted(PayText(line.weeklyPay)) + ",\n     " +
                FiguresJson(line.figures, "     ") + "}";
    }
    json += table.lines.empty() ? "],\n" : "\n  ],\n";
    json += "  \"total\": {" + FiguresJson(table.total, "            ") + "},\n";
    json += "  \"employerSocialSecurity\": " + CentsNumber(table.employerSocialSecurity) + ",\n";
    json += "  \"employerMedicare\": " + CentsNumber(table.employerMedicare) + ",\n";
    json += "  \"deposit\": " + CentsNumber(table.deposit) + ",\n  \"leftOut\": [";
    for (std::size_t i = 0; i < table.leftOut.size(); ++i) {
        const LeftOutRow& row = table.leftOut[i];
        json += std::string(i ? "," : "") + "\n    {\"employee\": " + JsonQuoted(row.employee) +
                ", \"register\": " + JsonQuoted(row.file) +
                ", \"row\": " + std::to_string(row.row) +
                ", \"weekEnding\": " + JsonQuoted(row.weekEnding) +
                ", \"reason\": " + JsonQuoted(ReasonText(row.reason)) + "}";
    }
    json += table.leftOut.empty() ? "],\n  \"notRead\": [" : "\n  ],\n  \"notRead\": [";
    for (std::size_t i = 0; i < table.damaged.size(); ++i) {
        json += std::string(i ? "," : "") +
                "\n    {\"register\": " + JsonQuoted(table.damaged[i].file) +
                ", \"problem\": " + JsonQuoted(table.damaged[i].problem) + "}";
    }
    json += table.damaged.empty() ? "]" : "\n  ]";
    for (const auto& [kind, file] : written)
        json += ",\n  " + JsonQuoted(kind) + ": " + JsonQuoted(file);
    return json + "\n}\n";
}

std::string ReportText(const ReportTable& table) {
    std::size_t nameWidth = 10;
    for (const EmployeeLine& line : table.lines)
        nameWidth = std::max(nameWidth, line.employee.size() + 2);
    const std::size_t labelWidth = nameWidth + kPayWidth;

    std::string text =
        PadRight("Employee", nameWidth) + PadRight("Pay", kPayWidth) + PadLeft("Periods", 8);
    for (const EmployerColumn& column : kEmployerColumns)
        text += PadLeft(std::string(column.heading), kAmountWidth);
    text += "\n";
    for (const EmployeeLine& line : table.lines) {
        text += PadRight(line.employee, nameWidth) + PadRight(PayText(line.weeklyPay), kPayWidth) +
                FiguresText(line.figures) + "\n";
    }
    text += std::string(labelWidth + 8 + kAmountWidth * kEmployerColumns.size(), '-') + "\n";
    text += PadRight("TOTAL", labelWidth) + FiguresText(table.total) + "\n\n";
    const auto employerLine = [&](std::string_view label, std::int64_t cents) {
        text += PadRight(std::string(label), 72) + PadLeft(CentsText(cents), kAmountWidth) + "\n";
    };
    employerLine(kEmployerSocialSecurity, table.employerSocialSecurity);
    employerLine(kEmployerMedicare, table.employerMedicare);
    employerLine(kDeposit, table.deposit);
    const auto list = [&](std::string_view heading, const std::vector<std::string>& items) {
        if (items.empty()) return;
        text += "\n" + std::string(heading) + "\n";
        for (const std::string& item : items)
            text += "  " + item + "\n";
    };
    list(kLeftOutHeading, LeftOutItems(table.leftOut));
    list(kDamagedHeading, DamagedItems(table.damaged));
    return text;
}

std::string ReportDocumentName(const ReportPeriod& period) {
    return std::string(kTitle) + " " + PeriodText(period);
}

std::string ReportWorkbookFileName(const ReportPeriod& period) {
    return ReportDocumentName(period) + ".xlsx";
}

Workbook ReportWorkbook(const ReportTable& table) {
    Workbook book;
    int row = 1;
    book.SetText({row, 1}, ReportDocumentName(table.period));
    book.SetBold({row, 1}, true);

    constexpr int kFixedColumns = 4;
    constexpr int columns = kFixedColumns + static_cast<int>(kEmployerColumns.size());
    const auto emphasize = [&book](int at, Rgb color) {
        for (int column = 1; column <= columns; ++column) {
            book.SetBold({at, column}, true);
            book.SetColor({at, column}, color);
        }
    };
    const auto figures = [&book](int at, const ReportFigures& f) {
        book.SetText({at, kFixedColumns}, std::to_string(f.periods));
        for (std::size_t k = 0; k < kEmployerColumns.size(); ++k) {
            book.SetText({at, kFixedColumns + 1 + static_cast<int>(k)},
                         CentsNumber(f.*kEmployerColumns[k].member));
        }
    };

    row = 3;
    const std::array<std::string_view, kFixedColumns> fixed{"Employee", "Register", "Pay",
                                                            "Periods"};
    for (std::size_t k = 0; k < fixed.size(); ++k)
        book.SetText({row, static_cast<int>(k) + 1}, fixed[k]);
    for (std::size_t k = 0; k < kEmployerColumns.size(); ++k)
        book.SetText({row, kFixedColumns + 1 + static_cast<int>(k)}, kEmployerColumns[k].heading);
    emphasize(row, kRgbRed);
    for (const EmployeeLine& line : table.lines) {
        ++row;
        book.SetText({row, 1}, line.employee);
        book.SetText({row, 2}, line.file);
        book.SetText({row, 3}, PayText(line.weeklyPay));
        figures(row, line.figures);
    }
    ++row;
    book.SetText({row, 1}, "TOTAL");
    figures(row, table.total);
    emphasize(row, kRgbBlue);

    row += 2;
    for (const auto& [label, cents] :
         {std::pair{kEmployerSocialSecurity, table.employerSocialSecurity},
          std::pair{kEmployerMedicare, table.employerMedicare},
          std::pair{kDeposit, table.deposit}}) {
        book.SetText({row, 1}, label);
        book.SetText({row, kFixedColumns + 1}, CentsNumber(cents));
        book.SetBold({row, kFixedColumns + 1}, true);
        ++row;
    }

    if (!table.leftOut.empty()) {
        ++row;
        book.SetText({row, 1}, kLeftOutHeading);
        book.SetBold({row, 1}, true);
        ++row;
        const std::array<std::string_view, 5> headings{"Employee", "Register", "Row", "Week ending",
                                                       "Reason"};
        for (std::size_t k = 0; k < headings.size(); ++k) {
            book.SetText({row, static_cast<int>(k) + 1}, headings[k]);
            book.SetBold({row, static_cast<int>(k) + 1}, true);
        }
        for (const LeftOutRow& left : table.leftOut) {
            ++row;
            book.SetText({row, 1}, left.employee);
            book.SetText({row, 2}, left.file);
            book.SetText({row, 3}, std::to_string(left.row));
            book.SetText({row, 4}, left.weekEnding);
            book.SetText({row, 5}, ReasonText(left.reason));
        }
        ++row;
    }
    if (!table.damaged.empty()) {
        ++row;
        book.SetText({row, 1}, kDamagedHeading);
        book.SetBold({row, 1}, true);
        for (const std::string& item : DamagedItems(table.damaged))
            book.SetText({++row, 1}, item);
    }

    book.frozenRows = 3;
    PageSetup& page = book.page;
    page.landscape = true;
    page.fitToPagesWide = 1;
    page.leftFooter = ReportDocumentName(table.period);
    page.centerFooter = std::string(kYtdExportFooter);
    return book;
}

PrintJob ReportJob(const ReportTable& table, const CompanyHeader& header, std::string_view today) {
    PrintJob job(ReportDocumentName(table.period));
    job.SetOrientation(PageOrientation::Landscape);
    PrintHeading(job, header, ReportDocumentName(table.period), today);
    PrintColumnHeadings(job, "Employee", true);
    for (const EmployeeLine& line : table.lines) {
        job.At(kFirstColumn, line.employee);
        job.At(kPayColumn, PayText(line.weeklyPay));
        PrintFigures(job, line.figures);
    }
    PrintRule(job);
    job.At(kFirstColumn, "TOTAL");
    PrintFigures(job, table.total);
    job.NewLine();
    for (const auto& [label, cents] :
         {std::pair{kEmployerSocialSecurity, table.employerSocialSecurity},
          std::pair{kEmployerMedicare, table.employerMedicare},
          std::pair{kDeposit, table.deposit}}) {
        job.At(kFirstColumn, label);
        job.At(AmountColumn(4), CentsText(cents));
        job.NewLine();
    }
    PrintList(job, kLeftOutHeading, LeftOutItems(table.leftOut));
    PrintList(job, kDamagedHeading, DamagedItems(table.damaged));
    PrintBanner(job);
    return job;
}

std::string YearSummaryDocumentName(int year) {
    return "Year summaries " + std::to_string(year);
}

PrintJob YearSummaryJob(const RegisterFolder& folder, int year, const CompanyHeader& header,
                        std::string_view today) {
    PrintJob job(YearSummaryDocumentName(year));
    job.SetOrientation(PageOrientation::Landscape);
    std::array<ReportTable, 5> tables;  // the year, then its quarters
    for (int quarter = 0; quarter <= 4; ++quarter)
        tables[static_cast<std::size_t>(quarter)] = BuildReportTable(folder, {year, quarter});
    const ReportTable& whole = tables[0];
    for (std::size_t i = 0; i < whole.lines.size(); ++i) {
        const EmployeeLine& line = whole.lines[i];
        PrintHeading(job, header,
                     "Year summary " + std::to_string(year) + ":  " + line.employee + ",  " +
                         PayText(line.weeklyPay) + " (" + line.file + ")",
                     today);
        PrintColumnHeadings(job, "Quarter", false);
        for (int quarter = 1; quarter <= 4; ++quarter) {
            const auto& lines = tables[static_cast<std::size_t>(quarter)].lines;
            // The same registers in the same order each time; one set aside in one table is
            // set aside in all (its sums are the year's or parts of them).
            const auto found =
                std::find_if(lines.begin(), lines.end(),
                             [&line](const EmployeeLine& l) { return l.file == line.file; });
            job.At(kFirstColumn, "Quarter " + std::to_string(quarter));
            PrintFigures(job, found != lines.end() ? found->figures : ReportFigures{});
        }
        PrintRule(job);
        job.At(kFirstColumn, "Year " + std::to_string(year));
        PrintFigures(job, line.figures);
        std::vector<LeftOutRow> own;
        std::copy_if(whole.leftOut.begin(), whole.leftOut.end(), std::back_inserter(own),
                     [&line](const LeftOutRow& row) { return row.file == line.file; });
        PrintList(job, kLeftOutHeading, LeftOutItems(own));
        PrintBanner(job);
    }
    return job;
}

}  // namespace kestrel
