// kestrel-run: a pay run from the command line, in the working folder. Each employee named in the
// periods file is calculated as File, Open, the entries and Calculate give it, then optionally
// posted into the register and printed; the results come out as one JSON document.
#include <QDate>
#include <QGuiApplication>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "app/result_json.h"
#include "app/terminal_text.h"
#include "payrun/pay_run.h"
#include "payrun/periods_csv.h"
#include "platform/date.h"
#include "platform/print_model.h"
#include "platform/qt/print_renderer.h"
#include "platform/safe_file.h"

namespace {

using namespace kestrel;

struct Request {
    std::string periodsFile;
    std::optional<std::string> weekEnding;
    bool post = false;
    bool overwrite = false;
    std::optional<std::string> stubs;
    std::optional<std::string> checks;
    std::optional<Date> date;
};

void PrintUsage(std::ostream& out) {
    out << "usage: kestrel-run PERIODS.csv [--week-ending MM/DD/YY] [--post [--overwrite]]\n"
           "                   [--stubs FILE.pdf] [--checks FILE.pdf] [--date MM/DD/YY]\n"
           "  PERIODS.csv      one line per employee of the current folder to pay, under the\n"
           "                   header "
        << PeriodsCsvColumns()
        << "\n"
           "                   (any entry column may be left out; ot2x is 0 or 1)\n"
           "  --week-ending    the week-ending date of the period, as the main window takes it\n"
           "  --post           post each period into its register: the row already holding the\n"
           "                   week, else the first free row; needs --week-ending\n"
           "  --overwrite      post into a row that holds a period; without it such an employee\n"
           "                   is refused and its register left alone\n"
           "  --stubs FILE     every employee's pay stub, one a page, into one PDF file\n"
           "  --checks FILE    every employee's paycheck at its offsets, into one PDF file\n"
           "  --date MM/DD/YY  today's date as stubs and checks print it (default: the system's)\n"
           "Prints the figures of every employee as JSON. Nothing is written without --post\n"
           "but the PDF files asked for. Exit status 0: every employee done; 1: some refused\n"
           "(the others are done); 2: a bad command line or periods file, nothing done.\n";
}

Request ParseArguments(const std::vector<std::string_view>& args) {
    Request request;
    bool haveFile = false;
    OptionCursor cursor(args);
    while (cursor.Next()) {
        const std::string_view option = cursor.Option();
        const auto value = [&cursor] { return cursor.Value(); };
        const auto flag = [&cursor] { cursor.NoValue(); };
        const auto date = [&](std::string_view text) {
            const std::optional<Date> parsed = ParseDate(text);
            if (!parsed) {
                throw UsageError{std::string(option) + " needs a date MM/DD/YY, not \"" +
                                 Printable(text) + "\""};
            }
            return *parsed;
        };
        const auto file = [&](std::optional<std::string>& into) {
            if (into) throw UsageError{std::string(option) + " is given twice"};
            const std::string_view name = value();
            if (name.empty()) throw UsageError{std::string(option) + " needs a file name"};
            into = std::string(name);
        };
        if (option == "--week-ending") {
            const std::string_view text = value();
            date(text);
            request.weekEnding = std::string(text);
        } else if (option == "--date") {
            request.date = date(value());
        } else if (option == "--post") {
            flag();
            request.post = true;
        } else if (option == "--overwrite") {
            flag();
            request.overwrite = true;
        } else if (option == "--stubs") {
            file(request.stubs);
        } else if (option == "--checks") {
            file(request.checks);
        } else if (option.starts_with("-") && option != "-") {
            throw UsageError{"unknown option \"" + Printable(cursor.Argument()) + "\""};
        } else if (haveFile) {
            throw UsageError{"one periods file only, not also \"" + Printable(cursor.Argument()) +
                             "\""};
        } else {
            request.periodsFile = std::string(cursor.Argument());
            haveFile = true;
        }
    }
    if (!haveFile) throw UsageError{"name the periods file"};
    if (request.overwrite && !request.post) throw UsageError{"--overwrite goes with --post"};
    // The week is what finds an earlier posting of the same period, so that it is not posted
    // twice.
    if (request.post && !request.weekEnding) throw UsageError{"--post needs --week-ending"};
    if (request.stubs && request.checks) {
        std::error_code ignored;
        if (std::filesystem::weakly_canonical(std::filesystem::absolute(*request.stubs), ignored) ==
            std::filesystem::weakly_canonical(std::filesystem::absolute(*request.checks),
                                              ignored)) {
            throw UsageError{"the stubs and the checks would be written to the same file"};
        }
    }
    return request;
}

std::optional<std::string> ReadText(const std::string& name) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(name, error)) return std::nullopt;
    std::ifstream in(name, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Date Today(const Request& request) {
    if (request.date) return *request.date;
    const QDate today = QDate::currentDate();
    return Date{today.year(), today.month(), today.day()};
}

std::string RowJson(const RunRow& row) {
    JsonObject json;
    json.String("employee", Printable(row.employee));
    std::string figures;
    if (row.figures) {
        const RunFigures& f = *row.figures;
        std::optional<std::string> unrepresentable;
        figures = ResultJson(f.result, f.entry, f.tableVersion, f.ytdGross, unrepresentable);
        if (unrepresentable) figures.clear();
    }
    if (!row.refusal.empty()) json.String("error", Printable(row.refusal));
    if (row.postedRow != 0) json.Raw("postedRow", std::to_string(row.postedRow));
    std::string text = json.Finish();
    // The calculation's keys follow the employee's own, in the one object.
    if (!figures.empty()) text = text.substr(0, text.size() - 2) + "," + figures.substr(1);
    return text;
}

std::string TotalsJson(const std::vector<RunRow>& rows) {
    const RunTotals totals = TotalsOf(rows);
    JsonObject json;
    json.Raw("employees", std::to_string(rows.size()));
    json.Raw("done", std::to_string(totals.calculated));
    json.Raw("refused", std::to_string(totals.refused));
    json.Raw("GrossPay", CurrencyText(totals.gross));
    json.Raw("TaxDeduct", CurrencyText(totals.taxes));
    json.Raw("TotDeduct", CurrencyText(totals.deductions));
    json.Raw("NetPay", CurrencyText(totals.net));
    return json.Finish();
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    if (AsksForHelp(args)) {
        PrintUsage(std::cout);
        return 0;
    }
    Request request;
    std::vector<EmployeePeriod> periods;
    try {
        request = ParseArguments(args);
    } catch (const UsageError& error) {
        std::cerr << "kestrel-run: " << error.message << "\n";
        PrintUsage(std::cerr);
        return 2;
    }
    const std::optional<std::string> text = ReadText(request.periodsFile);
    if (!text) {
        std::cerr << "kestrel-run: cannot read " << Printable(request.periodsFile) << "\n";
        return 2;
    }
    auto read = ReadPeriodsCsv(*text);
    if (const auto* problem = std::get_if<std::string>(&read)) {
        std::cerr << "kestrel-run: " << Printable(request.periodsFile) << ": " << *problem
                  << "\nNothing was done.\n";
        return 2;
    }
    periods = std::move(std::get<std::vector<EmployeePeriod>>(read));

    // Fonts and PDF pages need a GUI application, never a display; without PDFs no Qt runs.
    std::unique_ptr<QGuiApplication> app;
    if (request.stubs || request.checks) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int qtArgc = 1;
        app = std::make_unique<QGuiApplication>(qtArgc, argv);
    }

    RunSettings settings{request.weekEnding.value_or(""), Today(request)};
    PrintJob stubs(StubsDocumentName(settings.weekEnding));
    PrintJob checks(ChecksDocumentName(settings.weekEnding));
    RunActions actions;
    actions.post = request.post;
    actions.overwrite = request.overwrite ? Overwrite::Allow : Overwrite::Refuse;
    if (request.stubs) actions.stubs = &stubs;
    if (request.checks) actions.checks = &checks;

    std::vector<RunRow> rows;
    std::set<std::string> named;
    std::string employees;
    for (const EmployeePeriod& period : periods)
        named.insert(period.employee);
    RunEmployees(periods, settings, actions, [&](std::size_t, RunRow&& row) {
        employees += (employees.empty() ? "[\n  " : ",\n  ") + NestedJson(RowJson(row));
        rows.push_back(std::move(row));
    });
    employees += employees.empty() ? "[]" : "\n]";

    bool allDone = TotalsOf(rows).refused == 0;
    JsonObject json;
    if (request.weekEnding) json.String("weekEnding", *request.weekEnding);
    json.Raw("employees", NestedJson(employees));
    // Employees of the folder the file does not name are not paid; they are listed so that one
    // left out by mistake is seen.
    std::string unnamed;
    for (const std::string& name : FolderEmployees()) {
        if (!named.contains(name))
            unnamed += (unnamed.empty() ? "" : ", ") + JsonQuoted(Printable(name));
    }
    json.Raw("notInFile", "[" + unnamed + "]");
    json.Raw("totals", NestedJson(TotalsJson(rows)));

    const auto write = [&](const std::optional<std::string>& file, const PrintJob& job,
                           std::string_view key) {
        if (!file) return;
        if (job.Steps().empty()) {
            json.Raw(key, "null");
            return;
        }
        const WriteResult written = WriteJobPdf(job, *file);
        if (!written) {
            std::cerr << "kestrel-run: " << Printable(*file)
                      << " was not written: " << Printable(written.error) << "\n";
            allDone = false;
            json.Raw(key, "null");
            return;
        }
        json.String(key, Printable(*file));
    };
    write(request.stubs, stubs, "stubs");
    write(request.checks, checks, "checks");
    std::cout << json.Finish() << "\n";
    return allDone ? 0 : 1;
}
