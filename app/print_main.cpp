// kestrel-print: the printed documents of one pay period without a display. The employee is
// loaded the way File, Open loads it, the options go into the main window's entries, the period
// is calculated without the save that ends a calculation on the desktop, and the document is
// written as a PDF file, or with --text as the print model's plain text on standard output.
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
#include "ytd/ytd_report.h"

namespace {

using namespace kestrel;

struct UsageError {
    std::string message;
};

struct Failure {
    int status;
    std::string message;
};

enum class Document { None, Stub, Check, Align, YtdReport };

struct Request {
    std::optional<std::string> employee;
    // The main window's eight entries, in its order; an entry not named is left empty.
    std::array<std::optional<std::string>, 8> entries;
    bool overtimeDouble = false;
    std::optional<std::string> weekEnding;
    std::optional<std::pair<int, int>> offsets;
    Document document = Document::None;
    std::string output;
    bool text = false;
};

constexpr std::array<std::string_view, 8> kEntryOptions{"--straight", "--straight2", "--ot",
                                                        "--ot15",     "--holiday",   "--vacation",
                                                        "--dollars",  "--tips-hours"};

struct DocumentOption {
    std::string_view name;
    Document document;
};
constexpr std::array<DocumentOption, 4> kDocumentOptions{{{"--stub", Document::Stub},
                                                          {"--check", Document::Check},
                                                          {"--align", Document::Align},
                                                          {"--ytd-report", Document::YtdReport}}};

void PrintUsage(std::ostream& out) {
    out << "usage: kestrel-print --employee NAME [period] [--offsets H,V]\n"
           "                     (--stub FILE.pdf | --check FILE.pdf | --align FILE.pdf |\n"
           "                      --ytd-report FILE.pdf) [--text]\n"
           "  --employee NAME  the employee's files in the current folder, loaded as File, Open\n"
           "                   loads them; none is written\n"
           "  period:          --straight H --straight2 H --ot H --ot2x --ot15 H --holiday H\n"
           "                   --vacation H --dollars D --tips-hours H --week-ending MM/DD/YY\n"
           "  --offsets H,V    the offset dialog's horizontal and vertical offsets (default: the "
           "employee's)\n"
           "  --stub           the pay stub of the period\n"
           "  --check          the paycheck with its two stubs\n"
           "  --align          the check alignment page\n"
           "  --ytd-report     the year-to-date report of the employee's register\n"
           "  --text           print the document as plain text on standard output instead of\n"
           "                   writing the PDF file\n";
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
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view option = args[i];
        std::optional<std::string_view> inlineValue;
        if (const auto equals = option.find('=');
            option.starts_with("--") && equals != option.npos) {
            inlineValue = option.substr(equals + 1);
            option = option.substr(0, equals);
        }
        const auto value = [&]() -> std::string_view {
            if (inlineValue) return *inlineValue;
            if (i + 1 >= args.size()) throw UsageError{std::string(option) + " needs a value"};
            return args[++i];
        };
        const auto flag = [&] {
            if (inlineValue) throw UsageError{std::string(option) + " takes no value"};
        };
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
        } else if (option == "--offsets") {
            request.offsets = OffsetsValue(value());
        } else if (const auto entry = std::find(kEntryOptions.begin(), kEntryOptions.end(), option);
                   entry != kEntryOptions.end()) {
            const std::string_view number = value();
            const bool dollars = option == "--dollars";
            if (dollars ? !StrictCurrency(number).has_value() : !StrictSingle(number).has_value()) {
                throw UsageError{std::string(option) +
                                 (dollars ? " needs an amount" : " needs a number") + ", not \"" +
                                 Printable(number) + "\""};
            }
            request.entries[static_cast<std::size_t>(entry - kEntryOptions.begin())] =
                std::string(number);
        } else if (const auto document =
                       std::find_if(kDocumentOptions.begin(), kDocumentOptions.end(),
                                    [&](const DocumentOption& d) { return d.name == option; });
                   document != kDocumentOptions.end()) {
            if (request.document != Document::None) {
                throw UsageError{
                    "one document at a time: --stub, --check, --align or --ytd-report"};
            }
            request.document = document->document;
            request.output = std::string(value());
        } else {
            throw UsageError{"unknown option \"" + Printable(args[i]) + "\""};
        }
    }
    if (!request.employee) throw UsageError{"--employee NAME is needed"};
    if (request.document == Document::None) {
        throw UsageError{"name the document: --stub, --check, --align or --ytd-report"};
    }
    if (request.output.empty()) throw UsageError{"the document needs a file name"};
    return request;
}

// What the program would have shown in message boxes, for standard error.
std::string Messages(std::string_view what, const ScriptedHost& host) {
    std::string text(what);
    for (const ScriptedHost::Message& message : host.messages)
        text += MessageLines(message.text);
    return text;
}

PrintJob BuildDocument(const Request& request, Program& program) {
    ScriptedHost& host = static_cast<ScriptedHost&>(program.host);
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

    // The offsets are those of the offset dialog's boxes; the check moves by them as it does when
    // printed from the dialog (three lines down at a vertical offset of 0).
    PrintOffsets offsets = program.offsets;
    if (request.offsets) {
        offsets.Horizontal = static_cast<float>(request.offsets->first);
        offsets.Vertical = static_cast<float>(request.offsets->second);
    }
    const int h = CheckHorizontal(offsets);
    const int v = CheckVertical(offsets);
    PrintJob job;
    switch (request.document) {
        case Document::Stub:
            job = PayStubJob(program);
            break;
        case Document::Check:
            program.checks.Load();
            job = PaycheckJob(program, h, v);
            break;
        case Document::Align:
            program.checks.Load();
            job = AlignmentJob(program, h, v);
            break;
        case Document::YtdReport:
            job = YtdReportJob(program);
            break;
        case Document::None:
            break;
    }
    if (!host.messages.empty()) {
        throw Failure{2, Messages("the document was not made:", host)};
    }
    return job;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    for (std::string_view arg : args) {
        if (arg == "--help" || arg == "-h") {
            PrintUsage(std::cout);
            return 0;
        }
    }
    // Fonts and PDF pages need a GUI application, never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    try {
        const Request request = ParseArguments(args);
        int qtArgc = 1;
        QGuiApplication app(qtArgc, argv);
        ScriptedHost host;
        Program program(host);
        const PrintJob job = BuildDocument(request, program);
        if (request.text) {
            std::cout << PlainText(job);
            return 0;
        }
        const WriteResult written = WriteJobPdf(job, request.output);
        if (!written) throw Failure{1, Printable(written.error)};
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
