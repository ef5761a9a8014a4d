// kestrel-report: the employer's quarter or year over every register of the current folder, as
// JSON, and on request as a workbook and a PDF. It reads the registers (and, for the PDF's
// heading, Header.sav) and nothing else.
#include <QDate>
#include <QGuiApplication>
#include <charconv>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "app/terminal_text.h"
#include "employee/company_header.h"
#include "platform/date.h"
#include "platform/qt/print_renderer.h"
#include "platform/xlsx_writer.h"
#include "reports/employer_report.h"
#include "reports/report_documents.h"

namespace {

using namespace kestrel;

struct Failure {
    std::string message;
};

struct Request {
    std::optional<int> quarter;  // 0 for the whole year
    std::optional<int> year;
    std::optional<std::string> xlsx;
    std::optional<std::string> pdf;
    std::optional<Date> date;
};

void PrintUsage(std::ostream& out) {
    out << "usage: kestrel-report (--quarter N | --whole-year) --year YYYY [--xlsx FILE]\n"
           "                      [--pdf FILE] [--date MM/DD/YY]\n"
           "  Adds up every year-to-date register (.yrw, .yrb) of the current folder and prints\n"
           "  the table as JSON: per employee and in total the periods, gross, tips, federal,\n"
           "  Social Security, Medicare, state, city, SDI, SUI, cafeteria and net, the\n"
           "  employer's matching shares and the deposit total. A row counts in the quarter of\n"
           "  its week-ending date.\n"
           "  --quarter N      quarter 1 to 4 of the year\n"
           "  --whole-year     the whole year\n"
           "  --xlsx FILE      also write the table as a workbook\n"
           "  --pdf FILE       also write the printed report as a PDF\n"
           "  --date MM/DD/YY  the date the PDF prints as today's (default: the system's)\n"
           "  Exit status: 0 done; 1 done, but rows were left out (listed in \"leftOut\");\n"
           "  2 a bad command line, a register that cannot be read or a file that cannot be\n"
           "  written (nothing is written when a register cannot be read).\n";
}

int WholeNumber(std::string_view option, std::string_view text, int lowest, int highest) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        value < lowest || value > highest) {
        throw UsageError{std::string(option) + " needs a whole number " + std::to_string(lowest) +
                         " to " + std::to_string(highest) + ", not \"" + Printable(text) + "\""};
    }
    return value;
}

Request ParseArguments(const std::vector<std::string_view>& args) {
    Request request;
    const auto period = [&request](int quarter) {
        if (request.quarter) throw UsageError{"give one of --quarter N and --whole-year, once"};
        request.quarter = quarter;
    };
    OptionCursor cursor(args);
    while (cursor.Next()) {
        const std::string_view option = cursor.Option();
        const auto value = [&cursor] { return cursor.Value(); };
        const auto file = [&](std::optional<std::string>& into) {
            if (into) throw UsageError{std::string(option) + " is given twice"};
            const std::string_view name = value();
            if (name.empty()) throw UsageError{std::string(option) + " needs a file name"};
            // A slip of the keyboard must not put a workbook where a register was.
            if (name.ends_with(".yrw") || name.ends_with(".yrb")) {
                throw UsageError{std::string(option) + " would replace the register \"" +
                                 Printable(name) + "\""};
            }
            into = std::string(name);
        };
        if (option == "--quarter") {
            period(WholeNumber(option, value(), 1, 4));
        } else if (option == "--whole-year") {
            cursor.NoValue();
            period(0);
        } else if (option == "--year") {
            if (request.year) throw UsageError{"--year is given twice"};
            request.year = WholeNumber(option, value(), 1000, 9999);
        } else if (option == "--xlsx") {
            file(request.xlsx);
        } else if (option == "--pdf") {
            file(request.pdf);
        } else if (option == "--date") {
            const std::string_view date = value();
            request.date = ParseDate(date);
            if (!request.date) {
                throw UsageError{"--date needs a date MM/DD/YY, not \"" + Printable(date) + "\""};
            }
        } else {
            throw UsageError{"unknown option \"" + Printable(cursor.Argument()) + "\""};
        }
    }
    if (!request.quarter) throw UsageError{"name the period: --quarter N or --whole-year"};
    if (!request.year) throw UsageError{"--year YYYY is needed"};
    if (request.xlsx && request.pdf && SameFile(*request.xlsx, *request.pdf)) {
        throw UsageError{"the workbook and the PDF would both be written to \"" +
                         Printable(*request.pdf) + "\""};
    }
    return request;
}

std::string NotRead(const std::vector<DamagedRegister>& damaged) {
    std::string text = "registers that could not be read; nothing was written:";
    for (const DamagedRegister& reg : damaged)
        text += MessageLines(reg.problem);
    return text;
}

std::string Today(const Request& request) {
    if (request.date) return ShortDateText(*request.date);
    const QDate today = QDate::currentDate();
    return ShortDateText(Date{today.year(), today.month(), today.day()});
}

std::string Where(const std::string& file) {
    std::error_code error;
    const std::filesystem::path where = std::filesystem::absolute(file, error);
    return error ? file : where.string();
}

int Run(const Request& request, char* program) {
    const ReportTable table =
        BuildReportTable(ReadRegisters("."), ReportPeriod{*request.year, *request.quarter});
    if (!table.damaged.empty()) throw Failure{NotRead(table.damaged)};

    std::vector<std::pair<std::string, std::string>> written;
    if (request.xlsx) {
        const WriteResult result = WriteXlsx(ReportWorkbook(table), *request.xlsx);
        if (!result) {
            throw Failure{"cannot write the workbook " + Printable(*request.xlsx) + ": " +
                          Printable(result.error)};
        }
        written.emplace_back("xlsx", Where(*request.xlsx));
    }
    if (request.pdf) {
        CompanyHeader header;
        if (const std::optional<ReadError> damage = LoadCompanyHeader(header)) {
            throw Failure{std::string(kHeaderFileName) + " is damaged:" +
                          MessageLines(DescribeReadError(kHeaderFileName, *damage))};
        }
        // Fonts and PDF pages need a GUI application, never a display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        int qtArgc = 1;
        QGuiApplication app(qtArgc, &program);
        const WriteResult result =
            WriteJobPdf(ReportJob(table, header, Today(request)), *request.pdf);
        if (!result) {
            throw Failure{"cannot write the PDF " + Printable(*request.pdf) + ": " +
                          Printable(result.error)};
        }
        written.emplace_back("pdf", Where(*request.pdf));
    }
    std::cout << ReportJson(table, written);
    return table.leftOut.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    if (AsksForHelp(args)) {
        PrintUsage(std::cout);
        return 0;
    }
    try {
        return Run(ParseArguments(args), argv[0]);
    } catch (const UsageError& error) {
        std::cerr << "kestrel-report: " << error.message << "\n";
        PrintUsage(std::cerr);
        return 2;
    } catch (const Failure& failure) {
        std::cerr << "kestrel-report: " << failure.message << "\n";
        return 2;
    }
}
