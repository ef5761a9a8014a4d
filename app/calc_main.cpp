// kestrel-calc: one pay period from the command line, over the same core as the desktop program.
// It reads "Fedtaxx.tax" from the current folder, prints every result and every figure the main
// window would show as one JSON object, and writes no file. With --employee it starts from an
// employee's file set, loaded the way File, Open loads it; --export-ytd then writes that
// employee's year-to-date register as the spreadsheet the Excel menu makes, instead.
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/period_entries.h"
#include "app/program.h"
#include "app/result_json.h"
#include "app/terminal_text.h"
#include "calc/calc_trace.h"
#include "calc/federal_tables.h"
#include "calc/net_to_gross.h"
#include "calc/pay_calculation.h"
#include "employee/employee_files.h"
#include "employee/employee_name.h"
#include "employee/profile_files.h"
#include "platform/numbers.h"
#include "platform/scripted_host.h"
#include "platform/xlsx_writer.h"
#include "settings/city_tax_settings.h"
#include "settings/non_resident_tax_settings.h"
#include "settings/state_presets.h"
#include "settings/state_tax_settings.h"
#include "ytd/ytd_export.h"
#include "ytd/ytd_register.h"

namespace {

using namespace kestrel;

// A run that cannot go on for a reason other than the options' spelling, such as a file that
// cannot be read; the message is printable as it stands and comes without the usage text.
struct Failure {
    int status;
    std::string message;
};

struct Request {
    EmployeeProfile profile = NewEmployeeProfile();
    PayPeriodEntry entry;
    bool overtimeOneTimes = true;
    // A new employee's settings are the built-in ones until a file says otherwise.
    StateTaxSettings state = NewYorkStateDefaults();
    CityTaxSettings city = NewYorkCityDefaults();
    NonResidentTaxSettings nonResident = NonResidentDefaults();
    std::string staFile;
    std::string ctiFile;
    std::string nciFile;
    std::string ytdFile;
    YtdRegister ytd;
    bool ytdWeekly = true;  // the pay frequency `ytd` was read for
    std::optional<std::string> exportYtd;
    // The working of every figure: as JSON steps, or as the Explain window's text.
    bool explain = false;
    bool explainText = false;
    // Find the dollar amount that brings net pay to this.
    std::optional<Currency> netToGross;
    std::optional<std::string> employee;
    float defaultPayRate = kDefaultPayRate;
};

float SingleValue(std::string_view option, std::string_view text) {
    const auto value = StrictSingle(text);
    if (!value)
        throw UsageError{std::string(option) + " needs a number, not \"" + std::string(text) +
                         "\""};
    return *value;
}

std::string StatusValue(std::string_view option, std::string_view text) {
    if (text != "Single" && text != "Married") {
        throw UsageError{std::string(option) + " is \"Single\" or \"Married\", not \"" +
                         std::string(text) + "\""};
    }
    return std::string(text);
}

std::int16_t CountValue(std::string_view option, std::string_view text) {
    // A count is a whole number as typed: 8.6 is refused rather than rounded.
    const auto value = StrictDouble(text);
    if (!value || *value < 0 || *value > 9 || *value != std::trunc(*value)) {
        throw UsageError{std::string(option) + " is a count from 0 to 9, not \"" +
                         std::string(text) + "\""};
    }
    return static_cast<std::int16_t>(*value);
}

std::string FileValue(std::string_view option, std::string_view text) {
    if (text.empty()) throw UsageError{std::string(option) + " needs a file name"};
    return std::string(text);
}

// Chooses one of the eleven states with a formula of their own, or none of them, as pressing its
// box in the State Tax window does: the others are cleared.
void ChooseState(Request& r, std::string_view option, std::string_view name) {
    StateTaxSettings& s = r.state;
    const std::array<std::pair<std::string_view, CheckFlag StateTaxSettings::*>, 11> states{{
        {"arizona", &StateTaxSettings::ArizonaFlag},
        {"louisiana", &StateTaxSettings::LouisianaFlag},
        {"iowa", &StateTaxSettings::IowaFlag},
        {"missouri", &StateTaxSettings::MissouriFlag},
        {"mass", &StateTaxSettings::MassFlag},
        {"oregon", &StateTaxSettings::OregonFlag},
        {"oklahoma", &StateTaxSettings::OklahomaFlag},
        {"alabama", &StateTaxSettings::AlabamaFlag},
        {"kentucky", &StateTaxSettings::KentuckyFlag},
        {"wisconsin", &StateTaxSettings::WisconsinFlag},
        {"nc", &StateTaxSettings::NorthCarolinaFlag},
    }};
    bool known = name == "none";
    for (const auto& [stateName, flag] : states) {
        s.*flag = stateName == name ? 1 : 0;
        known = known || stateName == name;
    }
    // What pressing the box does beside its preset: Spouse Works belongs to Missouri and
    // Oklahoma only, and Oklahoma and N.C. set Round State.
    if (name != "missouri" && name != "oklahoma") s.SpouseWorks = 0;
    if (name == "oklahoma" || name == "nc") s.RoundState = 1;
    if (!known) {
        throw UsageError{std::string(option) +
                         " is one of arizona, louisiana, iowa, missouri, mass, oregon, "
                         "oklahoma, alabama, kentucky, wisconsin, nc or none, not \"" +
                         std::string(name) + "\""};
    }
}

std::string AllowanceValue(std::string_view option, std::string_view text) {
    if (text.size() != 1 || text[0] < '0' || text[0] > '9') {
        throw UsageError{std::string(option) + " is a count from 0 to 9, not \"" +
                         std::string(text) + "\""};
    }
    return std::string(text);
}

using ValueSetter = std::function<void(Request&, std::string_view, std::string_view)>;
using FlagSetter = std::function<void(Request&)>;

// The period's entries, as every program that takes them reads them.
std::map<std::string, ValueSetter, std::less<>> WithPeriodEntries(
    std::map<std::string, ValueSetter, std::less<>> options) {
    for (std::size_t index = 0; index < kPeriodEntries.size(); ++index) {
        options.emplace(std::string(kPeriodEntries[index].option),
                        [index](Request& r, std::string_view o, std::string_view v) {
                            if (PeriodEntryProblem(index, v))
                                throw UsageError{PeriodEntryRefusal(o, index, v)};
                            SetPeriodEntry(r.entry, index, v);
                        });
    }
    return options;
}

const std::map<std::string, ValueSetter, std::less<>>& ValueOptions() {
    static const std::map<std::string, ValueSetter, std::less<>> options = WithPeriodEntries({
        {"--rate1", [](Request& r, auto o, auto v) { r.profile.HourlyRate1 = SingleValue(o, v); }},
        {"--rate2", [](Request& r, auto o, auto v) { r.profile.HourlyRate2 = SingleValue(o, v); }},
        {"--tips-rate", [](Request& r, auto o, auto v) { r.profile.TipsRate = SingleValue(o, v); }},
        {"--federal-status",
         [](Request& r, auto o, auto v) { r.profile.FederalStatus = StatusValue(o, v); }},
        {"--federal-allowances",
         [](Request& r, auto o, auto v) { r.profile.FederalAllowances = AllowanceValue(o, v); }},
        {"--additional-federal",
         [](Request& r, auto o, auto v) { r.profile.AdditionalFederal = SingleValue(o, v); }},
        {"--credit-union",
         [](Request& r, auto o, auto v) { r.profile.CreditUnion = SingleValue(o, v); }},
        {"--bond", [](Request& r, auto o, auto v) { r.profile.Bond = SingleValue(o, v); }},
        {"--dues", [](Request& r, auto o, auto v) { r.profile.Dues = SingleValue(o, v); }},
        {"--pension", [](Request& r, auto o, auto v) { r.profile.Pension = SingleValue(o, v); }},
        {"--misc", [](Request& r, auto o, auto v) { r.profile.Misc = SingleValue(o, v); }},
        {"--kplan", [](Request& r, auto o, auto v) { r.profile.KPlan = SingleValue(o, v); }},
        {"--cafeteria",
         [](Request& r, auto o, auto v) { r.profile.Cafeteria = SingleValue(o, v); }},
        {"--state-status",
         [](Request& r, auto o, auto v) { r.profile.StateStatus = StatusValue(o, v); }},
        {"--state-allowances",
         [](Request& r, auto o, auto v) { r.profile.StateAllowances = CountValue(o, v); }},
        {"--sta", [](Request& r, auto o, auto v) { r.staFile = FileValue(o, v); }},
        {"--cti", [](Request& r, auto o, auto v) { r.ctiFile = FileValue(o, v); }},
        {"--nci", [](Request& r, auto o, auto v) { r.nciFile = FileValue(o, v); }},
        {"--ytd", [](Request& r, auto o, auto v) { r.ytdFile = FileValue(o, v); }},
        {"--employee", [](Request& r, auto, auto v) { r.employee = std::string(v); }},
        {"--export-ytd", [](Request& r, auto o, auto v) { r.exportYtd = FileValue(o, v); }},
        {"--net-to-gross",
         [](Request& r, auto o, auto v) {
             const auto money = StrictCurrency(v);
             if (!money) {
                 throw UsageError{std::string(o) + " needs an amount, not \"" + std::string(v) +
                                  "\""};
             }
             r.netToGross = *money;
         }},
        {"--state", ChooseState},
        {"--california-allowance",
         [](Request& r, auto o, auto v) { r.state.CaliforniaAllowance = SingleValue(o, v); }},
        {"--state-adjustment",
         [](Request& r, auto o, auto v) { r.state.StateAdjustment = SingleValue(o, v); }},
        {"--sdi-percent",
         [](Request& r, auto o, auto v) { r.state.SdiPercent = SingleValue(o, v); }},
        {"--sdi-base", [](Request& r, auto o, auto v) { r.state.SdiWageBase = SingleValue(o, v); }},
        {"--sui-percent",
         [](Request& r, auto o, auto v) { r.state.SuiPercent = SingleValue(o, v); }},
        {"--sui-base", [](Request& r, auto o, auto v) { r.state.SuiWageBase = SingleValue(o, v); }},
    });
    return options;
}

const std::map<std::string, FlagSetter, std::less<>>& FlagOptions() {
    static const std::map<std::string, FlagSetter, std::less<>> options{
        {"--federal-exempt", [](Request& r) { r.profile.FederalExempt = 1; }},
        {"--fica-exempt", [](Request& r) { r.profile.FicaExempt = 1; }},
        {"--self-employed", [](Request& r) { r.profile.SelfEmployed = 1; }},
        {"--weekly",
         [](Request& r) {
             r.profile.WeeklyPay = true;
             r.profile.BiWeeklyPay = false;
         }},
        {"--biweekly",
         [](Request& r) {
             r.profile.WeeklyPay = false;
             r.profile.BiWeeklyPay = true;
         }},
        {"--kplan-percent",
         [](Request& r) {
             r.profile.KPlanIsPercent = 1;
             r.profile.KPlanIsFixed = 0;
         }},
        {"--kplan-fixed",
         [](Request& r) {
             r.profile.KPlanIsPercent = 0;
             r.profile.KPlanIsFixed = 1;
         }},
        {"--ot-double", [](Request& r) { r.overtimeOneTimes = false; }},
        {"--explain", [](Request& r) { r.explain = true; }},
        {"--explain-text", [](Request& r) { r.explainText = true; }},
        {"--no-city-resident", [](Request& r) { r.profile.NonCityResident = 1; }},
        {"--cafeteria-state", [](Request& r) { r.profile.CafeteriaReducesState = 1; }},
        {"--spouse-works", [](Request& r) { r.state.SpouseWorks = 1; }},
        {"--round-state", [](Request& r) { r.state.RoundState = 1; }},
        {"--sdi-use-base", [](Request& r) { r.state.SdiUseBase = 1; }},
        {"--sui-use-base", [](Request& r) { r.state.SuiUseBase = 1; }},
    };
    return options;
}

void PrintUsage(std::ostream& out) {
    out << "usage: kestrel-calc [--employee NAME] [options]\n"
           "  --employee NAME\n"
           "             start from the employee's files in the current folder (NAME.use\n"
           "             and the rest, loaded as File, Open loads them; none is written);\n"
           "             the other options override what they hold, wherever they stand\n"
           "  employee:  --rate1 N --rate2 N --tips-rate N --federal-status Single|Married\n"
           "             --federal-allowances 0-9 --additional-federal N --federal-exempt\n"
           "             --fica-exempt --weekly|--biweekly --credit-union N --bond N --dues N\n"
           "             --pension PERCENT --misc N --kplan N --kplan-percent|--kplan-fixed\n"
           "             --cafeteria N --cafeteria-state --self-employed\n"
           "             --state-status Single|Married --state-allowances 0-9\n"
           "             --no-city-resident\n"
           "  state:     --state arizona|louisiana|iowa|missouri|mass|oregon|oklahoma|\n"
           "             alabama|kentucky|wisconsin|nc|none (the state's preset is applied\n"
           "             for the pay frequency and state status, as the State Tax window\n"
           "             does) --spouse-works --round-state --california-allowance N\n"
           "             --state-adjustment N --sdi-percent N --sdi-base N --sdi-use-base\n"
           "             --sui-percent N --sui-base N --sui-use-base\n"
           "  files:     --sta FILE --cti FILE --nci FILE (settings; default: the employee's,\n"
           "             else the built-in New York values) --ytd FILE (a year-to-date\n"
           "             register file; default: the employee's, else none)\n"
           "  period:    --straight H --straight2 H --ot H --ot-double --ot15 H --holiday H\n"
           "             --vacation H --dollars AMOUNT --tips-hours H\n"
           "  --export-ytd FILE.xlsx\n"
           "             with --employee: instead of calculating, write the employee's\n"
           "             year-to-date register to FILE as the spreadsheet the Excel menu of\n"
           "             the Year To Date window makes, and print where it went\n"
           "  --explain  add \"explain\": the working of every figure, step by step\n"
           "  --explain-text\n"
           "             print the working as the Explain window shows it, instead of JSON\n"
           "  --net-to-gross AMOUNT\n"
           "             find the smallest pay in dollar amount (in cents) that, with the\n"
           "             other entries, gives a net pay of at least AMOUNT, and print that\n"
           "             period with \"DollarAmount\"\n"
           "Reads Fedtaxx.tax from the current folder and prints the results as JSON.\n"
           "Exit status 2: a bad option, an employee's file missing or damaged, a net\n"
           "pay no dollar amount reaches, or a workbook that cannot be written;\n"
           "1: Fedtaxx.tax missing or damaged.\n";
}

// Applies the options in order onto `request`.
void ApplyArguments(const std::vector<std::string_view>& args, Request& request) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        std::string_view value;
        bool hasValue = false;
        if (const auto eq = arg.find('='); eq != std::string_view::npos) {
            value = arg.substr(eq + 1);
            arg = arg.substr(0, eq);
            hasValue = true;
        }
        if (const auto flag = FlagOptions().find(arg); flag != FlagOptions().end()) {
            if (hasValue) throw UsageError{std::string(arg) + " takes no value"};
            flag->second(request);
            continue;
        }
        const auto option = ValueOptions().find(arg);
        if (option == ValueOptions().end()) {
            throw UsageError{"unknown option \"" + std::string(args[i]) + "\""};
        }
        if (!hasValue) {
            if (i + 1 >= args.size()) throw UsageError{std::string(arg) + " needs a value"};
            value = args[++i];
        }
        option->second(request, arg, value);
    }
}

// Why a file could not be taken, for the terminal: a name that cannot be read at all (a folder,
// a pipe, a file too large or not permitted) or the line and field where its contents fail.
std::string FileProblem(const std::string& name, const ReadError& error) {
    if (error.line == 0) return "cannot read " + Printable(name) + ": " + Printable(error.reason);
    return Printable(name) + " is damaged at line " + std::to_string(error.line) + ", field " +
           std::to_string(error.field) + ": " + Printable(error.reason);
}

Failure NoSuchFile(const std::string& name) {
    return Failure{2, "cannot read " + Printable(name) + ": there is no such file"};
}

// A settings file named on the command line must be there and whole.
template <class Settings, class Reader>
void LoadSettingsFile(const std::string& name, Settings& settings, Reader read) {
    if (name.empty()) return;
    const SettingsFileResult result = read(std::filesystem::path(name), settings);
    if (result.status == SettingsFileStatus::Missing) throw NoSuchFile(name);
    if (result.status == SettingsFileStatus::Corrupted) {
        throw Failure{2, FileProblem(name, result.error)};
    }
}

FederalTables ReadFederalTables() {
    FederalTables federal;
    const std::string name(kFederalTableFile);
    const auto loaded = ReadFederalTableFile(std::filesystem::path(name), federal);
    if (loaded.status == FederalFileStatus::Missing) {
        throw Failure{1, name + " is not in the current folder"};
    }
    if (loaded.status == FederalFileStatus::Malformed) {
        throw Failure{1, FileProblem(name, loaded.error) +
                             " (no federal tax can be withheld until it is replaced)"};
    }
    return federal;
}

// What the load showed, once each, followed by the line and field of every damaged settings
// file: the settings windows' own message names only the file.
std::string LoadProblems(const std::string& name, const ScriptedHost& host) {
    std::string text = "the files of employee \"" + Printable(name) + "\" are not whole:";
    std::set<std::string> told;
    for (const ScriptedHost::Message& message : host.messages) {
        if (told.insert(message.text).second) text += MessageLines(message.text);
    }
    const auto check = [&](std::string_view extension, auto read) {
        const std::filesystem::path file = EmployeeFile(name, extension);
        if (FileMissing(file)) return;
        const SettingsFileResult result = read(file);
        if (result.status == SettingsFileStatus::Corrupted)
            text += MessageLines(FileProblem(file.string(), result.error));
    };
    check(kStateFileExtension, [](const auto& file) {
        StateTaxSettings state;
        EmployeeProfile profile;
        return ReadStateFile(file, state, profile);
    });
    check(kCityFileExtension, [](const auto& file) {
        CityTaxSettings city;
        return ReadCityFile(file, city);
    });
    check(kNonResidentFileExtension, [](const auto& file) {
        NonResidentTaxSettings nonResident;
        return ReadNonResidentFile(file, nonResident);
    });
    return text;
}

// The employee as the desktop program holds it after start-up and File, Open, on a host that
// shows nothing: any message the load would have shown ends the run, since figures computed
// from a partly read file set would be wrong without a word.
void LoadEmployeeInto(const std::string& name, Request& request) {
    if (const auto problem = EmployeeNameProblem(name)) {
        throw UsageError{"--employee \"" + Printable(name) + "\":" + MessageLines(*problem)};
    }
    const std::filesystem::path useFile = EmployeeFile(name, kUseFileExtension);
    if (FileMissing(useFile)) {
        std::error_code ignored;
        throw Failure{2, Printable(useFile.string()) + " is not in the current folder (" +
                             Printable(std::filesystem::current_path(ignored).string()) + ")"};
    }
    // The tables' own failure keeps its status and message; the load would only have shown it.
    ReadFederalTables();

    ScriptedHost host;
    Program program(host);
    program.Start();
    program.ActiveUser = name;
    LoadEmployee(program);
    if (!host.messages.empty()) throw Failure{2, LoadProblems(name, host)};

    request.profile = program.profile;
    request.state = program.stateSettings;
    program.dialogState.TakeAdjustments(request.state);
    request.city = program.citySettings;
    request.nonResident = program.nonResidentSettings;
    request.ytd = program.ytd;
    request.ytdWeekly = program.profile.WeeklyPay;
    request.defaultPayRate = program.DefaultPayRate;
}

// The employee's files first, then the settings files named, then every option again, so that
// options on the command line win over both, wherever they stand.
Request ParseArguments(const std::vector<std::string_view>& args) {
    Request named;
    ApplyArguments(args, named);
    if (named.explain && named.explainText) {
        throw UsageError{"--explain and --explain-text: choose one"};
    }
    if (named.exportYtd && !named.employee) {
        throw UsageError{"--export-ytd needs --employee NAME: it exports that employee's register"};
    }
    Request request;
    if (named.employee) LoadEmployeeInto(*named.employee, request);
    LoadSettingsFile(named.staFile, request.state, [&](const auto& path, auto& state) {
        return ReadStateFile(path, state, request.profile);
    });
    LoadSettingsFile(named.ctiFile, request.city, ReadCityFile);
    LoadSettingsFile(named.nciFile, request.nonResident, ReadNonResidentFile);
    ApplyArguments(args, request);
    // The settings as the State Tax window prepares them for this employee's frequency and
    // status: the chosen state's preset, NO STATE TAX, and New York values in any blank.
    request.state = PreparedStateSettings(request.state, request.profile);
    // The register's file layout depends on the pay frequency, known only now. A register named
    // here replaces the employee's whole.
    if (!request.ytdFile.empty()) {
        if (FileMissing(request.ytdFile)) throw NoSuchFile(request.ytdFile);
        YtdRegister ytd;
        if (const auto damage = ReadAnnualFile(request.ytdFile, request.profile.WeeklyPay, ytd)) {
            if (damage->line == 0) throw Failure{2, FileProblem(request.ytdFile, *damage)};
            throw Failure{2, Printable(request.ytdFile) + " is not a " +
                                 (request.profile.WeeklyPay ? "weekly" : "bi-weekly") +
                                 " register file: line " + std::to_string(damage->line) + ", " +
                                 Printable(damage->reason)};
        }
        request.ytd = ytd;
        request.ytdWeekly = request.profile.WeeklyPay;
    }
    return request;
}

// The register as the Year To Date window would open it: an option that changed the pay frequency
// switches to the employee's register of that frequency, as the window does.
YtdRegister RegisterToExport(const Request& request) {
    const bool weekly = request.profile.WeeklyPay;
    if (weekly == request.ytdWeekly) return request.ytd;
    YtdRegister ytd;
    const std::filesystem::path file = AnnualFileName(*request.employee, weekly);
    if (FileMissing(file)) return ytd;
    if (const auto damage = ReadAnnualFile(file, weekly, ytd)) {
        if (damage->line == 0) throw Failure{2, FileProblem(file.string(), *damage)};
        throw Failure{2, Printable(file.string()) + " is damaged at line " +
                             std::to_string(damage->line) + ": " + Printable(damage->reason)};
    }
    return ytd;
}

// Writes the workbook of the employee's register to the file named; nothing else is written.
std::string ExportRegister(const Request& request) {
    const std::string& file = *request.exportYtd;
    const Workbook book = YtdWorkbook(RegisterExportTexts(
        RegisterToExport(request), request.profile.WeeklyPay, request.profile.DeductionCaptions,
        *request.employee, request.profile.EmployeeSsn));
    const WriteResult written = WriteXlsx(book, file);
    if (!written) {
        throw Failure{
            2, "cannot write the register to " + Printable(file) + ": " + Printable(written.error)};
    }
    std::error_code ec;
    const std::filesystem::path where = std::filesystem::absolute(file, ec);
    JsonObject json;
    json.String("ytdWorkbook", ec ? file : where.string());
    json.Raw("rows", std::to_string(RowCount(request.profile.WeeklyPay)));
    return json.Finish();
}

// Where the settings of the calculation came from: a file named on the command line, else the
// employee's, else none (the built-in values with the options over them).
std::string SourceName(PaySource source, const Request& request) {
    if (source == PaySource::Profile) return "the employee's rates and deductions";
    const auto file = [&](const std::string& named, std::string_view extension) {
        if (!named.empty()) return Printable(named);
        if (!request.employee) return std::string();
        return Printable(EmployeeFile(*request.employee, extension).string());
    };
    return PaySourceText(source, {file(request.staFile, kStateFileExtension),
                                  file(request.ctiFile, kCityFileExtension),
                                  file(request.nciFile, kNonResidentFileExtension)});
}

// The steps as a JSON array, one step to a line, each with its figure's display key.
std::string ExplainJson(const CalcTrace& trace) {
    // A step of a calculation that was refused never reaches here; a figure that cannot be
    // written is an error all the same, never a number printed in its place.
    const auto number = [](std::string_view key, double value) {
        if (!std::isfinite(value)) {
            throw Failure{2, std::string(key) + " cannot be represented: nothing was calculated"};
        }
        return JsonQuoted(key) + ": " + DoubleText(value);
    };
    std::string text = "[";
    for (const TraceStep& step : trace.Steps()) {
        std::string values;
        for (const TraceValue& value : step.values)
            values += (values.empty() ? "" : ", ") + number(value.name, value.value);
        text += (text.size() > 1 ? ",\n    {" : "\n    {") + JsonQuoted("figure") + ": " +
                JsonQuoted(TraceFigureKey(step.figure)) + ", " + JsonQuoted("step") + ": " +
                JsonQuoted(step.step) + ", " + JsonQuoted("values") + ": {" + values + "}, " +
                number("result", step.result) + "}";
    }
    return text + (text.size() > 1 ? "\n  ]" : "]");
}

}  // namespace

// The option parser's fuzzer compiles this file without main() to drive the parser above as it is.
#ifndef KESTREL_CALC_WITHOUT_MAIN
int main(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    if (AsksForHelp(args)) {
        PrintUsage(std::cout);
        return 0;
    }
    try {
        const Request request = ParseArguments(args);
        if (request.exportYtd) {
            std::cout << ExportRegister(request) << "\n";
            return 0;
        }
        const FederalTables federal = ReadFederalTables();
        PayInputs inputs{request.profile, federal, request.state, request.city,
                         request.nonResident};
        inputs.overtimeOneTimes = request.overtimeOneTimes;
        inputs.ytdGross = request.ytd.totals.Gross;
        inputs.ytdSocialSecurity = request.ytd.totals.SocialSecurity;
        inputs.ytdMedicare = request.ytd.totals.Medicare;
        inputs.defaultPayRate = request.defaultPayRate;
        PayPeriodEntry entry = request.entry;
        if (const auto beyond = EntryBeyondRange(inputs, entry)) {
            throw Failure{2, std::string(kPeriodEntries[static_cast<std::size_t>(*beyond)].option) +
                                 " makes an amount too large to calculate: nothing was "
                                 "calculated"};
        }
        CalcTrace trace;
        if (request.explain || request.explainText) inputs.trace = &trace;
        std::optional<Currency> dollarAmount;
        PayResult result;
        if (request.netToGross) {
            const auto found = NetToGross(inputs, entry, *request.netToGross);
            if (!found) {
                throw Failure{2,
                              "no pay in dollar amount the calculation can hold brings net pay "
                              "to " +
                                  CurrencyText(*request.netToGross) + ": nothing was calculated"};
            }
            dollarAmount = found->amount;
            entry = found->entry;
            result = found->result;
        } else {
            result = ComputePay(inputs, entry);
        }
        if (const auto source = UnrepresentableSource(result, request.profile)) {
            throw Failure{2, SourceName(*source, request) +
                                 " makes an amount too large to calculate: nothing was "
                                 "calculated"};
        }
        if (request.explainText) {
            std::cout << TraceText(trace);
            return 0;
        }
        std::optional<std::string> unrepresentable;
        std::string json = ResultJson(result, entry, federal.TableVersion, request.ytd.totals.Gross,
                                      unrepresentable);
        if (unrepresentable) throw Failure{2, *unrepresentable + ": nothing was calculated"};
        if (dollarAmount) {
            json.insert(1, "\n  \"DollarAmount\": " + CurrencyText(*dollarAmount) + ",");
        }
        if (request.explain) {
            json.insert(json.size() - 2, ",\n  \"explain\": " + ExplainJson(trace));
        }
        std::cout << json << "\n";
        return 0;
    } catch (const UsageError& error) {
        std::cerr << "kestrel-calc: " << error.message << "\n";
        PrintUsage(std::cerr);
        return 2;
    } catch (const Failure& failure) {
        std::cerr << "kestrel-calc: " << failure.message << "\n";
        return failure.status;
    }
}
#endif
