// kestrel-print: the printed documents of one pay period without a display. The employee is
// loaded the way File, Open loads it, the options go into the main window's entries, the period
// is calculated without the save that ends a calculation on the desktop, and each document is
// printed by the same operation the desktop's print command runs, then written as a PDF file, or
// with --text as the print model's plain text on standard output.
#include <QDate>
#include <QGuiApplication>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "app/period_entries.h"
#include "app/program.h"
#include "app/terminal_text.h"
#include "employee/employee_files.h"
#include "employee/employee_name.h"
#include "employee/profile_files.h"
#include "employee/record_file.h"
#include "platform/numbers.h"
#include "platform/print_model.h"
#include "platform/qt/print_renderer.h"
#include "platform/scripted_host.h"
#include "printing/pay_stub.h"
#include "printing/paycheck.h"
#include "ytd/year_to_date.h"
#include "ytd/ytd_report.h"

namespace {

using namespace kestrel;

struct Failure {
    int status;
    std::string message;
};

enum class Document { Stub, Check, Align, YtdReport };

struct Output {
    Document document;
    std::string file;
};

struct Request {
    std::optional<std::string> employee;
    // The main window's eight entries, in its order; an entry not named is left empty.
    std::array<std::optional<std::string>, 8> entries;
    bool overtimeDouble = false;
    std::optional<std::string> weekEnding;
    std::optional<std::pair<int, int>> offsets;
    // Today's date on the stub and the report; the system clock's when not given.
    std::optional<Date> date;
    std::vector<Output> outputs;
    bool text = false;
};

struct DocumentOption {
    std::string_view name;
    Document document;
};
constexpr std::array<DocumentOption, 4> kDocumentOptions{{{"--stub", Document::Stub},
                                                          {"--check", Document::Check},
                                                          {"--align", Document::Align},
                                                          {"--ytd-report", Document::YtdReport}}};

void PrintUsage(std::ostream& out) {
    out << "usage: kestrel-print --employee NAME [period] [--offsets H,V] [--date MM/DD/YY]\n"
           "                     [--stub FILE.pdf] [--check FILE.pdf] [--align FILE.pdf]\n"
           "                     [--ytd-report FILE.pdf] [--text]\n"
           "  --employee NAME  the employee's files in the current folder, loaded as File, Open\n"
           "                   loads them; none is written\n"
           "  period:          --straight H --straight2 H --ot H --ot2x --ot15 H --holiday H\n"
           "                   --vacation H --dollars D --tips-hours H --week-ending MM/DD/YY\n"
           "  --offsets H,V    the offset dialog's horizontal and vertical offsets (default: the "
           "employee's)\n"
           "  --date MM/DD/YY  today's date as the stub and the report print it (default: the\n"
           "                   system's date)\n"
           "  documents, one or more, each at most once:\n"
           "  --stub           the pay stub of the period\n"
           "  --check          the paycheck with its two stubs\n"
           "  --align          the check alignment page\n"
           "  --ytd-report     the year-to-date report of the employee's register\n"
           "  --text           print the documents as plain text on standard output instead of\n"
           "                   writing the PDF files, a form feed between pages\n";
}

std::pair<int, int> OffsetsValue(std::string_view text) {
    const auto whole = [&](std::string_view part) -> std::optional<int> {
        int value = 0;
        const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
        if (error != std::errc() || end != part.data() + part.size() || part.empty()) {
            return std::nullopt;
        }
        return value;
    };
    const auto comma = text.find(',');
    const auto h = comma == std::string_view::npos ? std::nullopt : whole(text.substr(0, comma));
    const auto v = comma == std::string_view::npos ? std::nullopt : whole(text.substr(comma + 1));
    if (!h || !v) {
        throw UsageError{"--offsets needs two whole numbers H,V, not \"" + Printable(text) + "\""};
    }
    return {*h, *v};
}

Request ParseArguments(const std::vector<std::string_view>& args) {
    Request request;
    OptionCursor cursor(args);
    while (cursor.Next()) {
        const std::string_view option = cursor.Option();
        const auto value = [&cursor] { return cursor.Value(); };
        const auto flag = [&cursor] { cursor.NoValue(); };
        if (option == "--employee") {
            request.employee = std::string(value());
        } else if (option == "--ot2x") {
            flag();
            request.overtimeDouble = true;
        } else if (option == "--text") {
            flag();
            request.text = true;
        } else if (option == "--week-ending") {
            const std::string_view date = value();
            if (!ParseDate(date)) {
                throw UsageError{"--week-ending needs a date MM/DD/YY, not \"" + Printable(date) +
                                 "\""};
            }
            request.weekEnding = std::string(date);
        } else if (option == "--date") {
            const std::string_view date = value();
            request.date = ParseDate(date);
            if (!request.date) {
                throw UsageError{"--date needs a date MM/DD/YY, not \"" + Printable(date) + "\""};
            }
        } else if (option == "--offsets") {
            request.offsets = OffsetsValue(value());
        } else if (const auto entry = PeriodEntryOfOption(option)) {
            const std::string_view number = value();
            if (PeriodEntryProblem(*entry, number)) {
                throw UsageError{PeriodEntryRefusal(option, *entry, number)};
            }
            request.entries[*entry] = std::string(number);
        } else if (const auto document =
                       std::find_if(kDocumentOptions.begin(), kDocumentOptions.end(),
                                    [&](const DocumentOption& d) { return d.name == option; });
                   document != kDocumentOptions.end()) {
            for (const Output& earlier : request.outputs) {
                if (earlier.document == document->document) {
                    throw UsageError{std::string(option) + " is given twice"};
                }
            }
            const std::string_view file = value();
            if (file.empty()) throw UsageError{std::string(option) + " needs a file name"};
            request.outputs.push_back({document->document, std::string(file)});
        } else {
            throw UsageError{"unknown option \"" + Printable(cursor.Argument()) + "\""};
        }
    }
    if (!request.employee) throw UsageError{"--employee NAME is needed"};
    if (request.outputs.empty()) {
        throw UsageError{"name the document: --stub, --check, --align or --ytd-report"};
    }
    for (std::size_t i = 0; i < request.outputs.size(); ++i) {
        for (std::size_t k = 0; k < i; ++k) {
            if (!request.text && SameFile(request.outputs[i].file, request.outputs[k].file)) {
                throw UsageError{"two documents would be written to \"" +
                                 Printable(request.outputs[i].file) + "\""};
            }
        }
    }
    return request;
}

// What the program would have shown in message boxes, for standard error.
std::string Messages(std::string_view what, const ScriptedHost& host) {
    std::string text(what);
    for (const ScriptedHost::Message& message : host.messages)
        text += MessageLines(message.text);
    return text;
}

// The employee loaded and the period calculated, as on the desktop after File, Open, typing the
// entries and Calculate.
void CalculatePeriod(const Request& request, Program& program, ScriptedHost& host) {
    const std::string& name = *request.employee;
    if (const auto problem = EmployeeNameProblem(name)) {
        throw UsageError{"--employee \"" + Printable(name) + "\":" + MessageLines(*problem)};
    }
    const std::filesystem::path useFile = EmployeeFile(name, kUseFileExtension);
    if (FileMissing(useFile)) {
        std::error_code ignored;
        throw Failure{2, Printable(useFile.string()) + " is not in the current folder (" +
                             Printable(std::filesystem::current_path(ignored).string()) + ")"};
    }
    program.Start();
    // The desktop prints a damaged heading as blank lines until the header window reports it;
    // a batch run has no window to do that, so it refuses instead.
    CompanyHeader header;
    if (const std::optional<ReadError> damage = LoadCompanyHeader(header)) {
        throw Failure{2,
                      std::string(kHeaderFileName) + " is damaged:" +
                          MessageLines(DescribeReadError(std::string(kHeaderFileName), *damage))};
    }
    program.ActiveUser = name;
    LoadEmployee(program);
    // A partly read file set would print wrong figures without a word.
    if (!host.messages.empty()) {
        throw Failure{
            2, Messages("the files of employee \"" + Printable(name) + "\" are not whole:", host)};
    }

    Form1Ui& ui = program.form1.ui();
    for (std::size_t k = 0; k < request.entries.size(); ++k)
        ui.txtEntry[k]->SetText(request.entries[k].value_or(""));
    if (request.weekEnding) ui.txtWeekEnd->SetText(*request.weekEnding);
    if (request.overtimeDouble) ui.opt2X->SetValue(true);
    program.saveEachCalculation = false;
    if (!program.form1.CalculatePay() || !host.messages.empty()) {
        throw Failure{2, Messages("the period was not calculated:", host)};
    }
}

// The document as the desktop's own print command prints it right after the calculation, with
// the printer dialog answered. Only the offsets come from the command line rather than from the
// offset dialog's boxes, which would store them in the employee's files.
PrintJob PrintDocument(Document document, const Request& request, Program& program,
                       ScriptedHost& host) {
    PrintOffsets offsets = program.offsets;
    if (request.offsets) {
        offsets.Horizontal = static_cast<float>(request.offsets->first);
        offsets.Vertical = static_cast<float>(request.offsets->second);
    }
    host.printerAnswers = {true};
    switch (document) {
        case Document::Stub:
            PrintText(program);
            break;
        case Document::Check:
            program.checks.Load();
            program.offsets = offsets;
            PrintCheck(program);
            break;
        case Document::Align:
            program.checks.Load();
            host.Print(AlignmentJob(program, CheckHorizontal(offsets), CheckVertical(offsets)));
            break;
        case Document::YtdReport:
            OpenYearToDate(program);
            PrintYr(program);
            break;
    }
    if (!host.messages.empty() || host.printed.size() != 1) {
        throw Failure{2, Messages("the document was not made:", host)};
    }
    return host.printed.front();
}

Date Today(const Request& request) {
    if (request.date) return *request.date;
    const QDate today = QDate::currentDate();
    return Date{today.year(), today.month(), today.day()};
}

// Each document from a program of its own, so that what one print command loads or changes
// cannot reach the next: every document is the one a run naming it alone would make.
std::vector<PrintJob> BuildDocuments(const Request& request) {
    std::vector<PrintJob> jobs;
    for (const Output& output : request.outputs) {
        ScriptedHost host;
        host.today = Today(request);
        Program program(host);
        CalculatePeriod(request, program, host);
        jobs.push_back(PrintDocument(output.document, request, program, host));
    }
    return jobs;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    if (AsksForHelp(args)) {
        PrintUsage(std::cout);
        return 0;
    }
    // Fonts and PDF pages need a GUI application, never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    try {
        const Request request = ParseArguments(args);
        int qtArgc = 1;
        QGuiApplication app(qtArgc, argv);
        const std::vector<PrintJob> jobs = BuildDocuments(request);
        if (request.text) {
            for (std::size_t i = 0; i < jobs.size(); ++i)
                std::cout << (i > 0 ? "\f" : "") << PlainText(jobs[i]);
            return 0;
        }
        // Every document was made before any file is written; a file that cannot be written
        // stops the run, and the documents written before it are whole.
        for (std::size_t i = 0; i < jobs.size(); ++i) {
            const WriteResult written = WriteJobPdf(jobs[i], request.outputs[i].file);
            if (!written) {
                throw Failure{1, Printable(request.outputs[i].file) +
                                     " was not written: " + Printable(written.error)};
            }
        }
        return 0;
    } catch (const UsageError& error) {
        std::cerr << "kestrel-print: " << error.message << "\n";
        PrintUsage(std::cerr);
        return 2;
    } catch (const Failure& failure) {
        std::cerr << "kestrel-print: " << failure.message << "\n";
        return failure.status;
    }
}
