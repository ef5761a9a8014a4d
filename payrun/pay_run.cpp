#include "payrun/pay_run.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <system_error>
#include <thread>

#include "app/program.h"
#include "employee/employee_files.h"
#include "employee/employee_lock.h"
#include "employee/employee_name.h"
#include "employee/profile_files.h"
#include "platform/safe_file.h"
#include "platform/scripted_host.h"
#include "printing/pay_stub.h"
#include "printing/paycheck.h"
#include "ytd/year_to_date.h"

namespace kestrel {

namespace {

// What the program would have shown in message boxes, on one line for a row of the run.
std::string Told(const ScriptedHost& host) {
    std::string text;
    for (const ScriptedHost::Message& message : host.messages) {
        std::string line = message.text;
        for (std::size_t at = line.find("\r\n"); at != std::string::npos; at = line.find("\r\n"))
            line.replace(at, 2, " ");
        if (text.find(line) != std::string::npos) continue;
        text += (text.empty() ? "" : " ") + line;
    }
    return text;
}

// One employee in a program of its own, opened, with the period calculated; `then` does what
// the run does with it before the program goes. A refusal leaves `row.refusal` set.
void WithCalculated(RunRow& row, const RunPeriod& period, const RunSettings& settings,
                    const std::function<void(Program&, ScriptedHost&)>& then) {
    const std::string& name = row.employee;
    if (const auto problem = EmployeeNameProblem(name)) {
        row.refusal = *problem;
        return;
    }
    if (FileMissing(EmployeeFile(name, kUseFileExtension))) {
        row.refusal = name + std::string(kUseFileExtension) + " is not in the folder.";
        return;
    }
    ScriptedHost host;
    host.today = settings.today;
    Program program(host);
    // The run writes only what it is asked to: the calculation's save of the whole file set is
    // the desktop's, not the run's.
    program.saveEachCalculation = false;
    program.explainEachCalculation = false;
    program.Start();
    program.ActiveUser = name;
    // A partly read file set would give wrong figures without a word.
    const bool whole = LoadEmployee(program);
    if (!whole || !host.messages.empty()) {
        row.refusal = "Not read: " +
                      (host.messages.empty() ? program.form1.ui().lbStatus->Caption() : Told(host));
        return;
    }
    Form1Ui& main = program.form1.ui();
    for (std::size_t k = 0; k < period.entries.size(); ++k)
        main.txtEntry[k]->SetText(period.entries[k]);
    if (!settings.weekEnding.empty()) main.txtWeekEnd->SetText(settings.weekEnding);
    if (period.overtimeDouble) main.opt2X->SetValue(true);
    if (!program.form1.CalculatePay() || !host.messages.empty()) {
        row.refusal = Told(host);
        return;
    }
    RunFigures figures;
    figures.result = program.result;
    figures.entry = program.entry;
    figures.ytdGross = program.ytd.totals.Gross;
    figures.tableVersion = main.lbTaxVer->Caption();
    figures.weeklyPay = program.profile.WeeklyPay;
    const int rows = RowCount(program.profile.WeeklyPay);
    figures.row = period.row.value_or(RowForPosting(program.ytd, rows, main.txtWeekEnd->Text()));
    if (figures.row >= 1 && figures.row <= rows) {
        figures.rowInUse = RowInUse(program.ytd.Row(figures.row));
        figures.rowWeekEnding = program.ytd.Row(figures.row).WeekEnding;
    }
    row.figures = figures;
    if (then) then(program, host);
}

}  // namespace

std::vector<std::string> FolderEmployees() {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(".", error), end; !error && it != end;
         it.increment(error)) {
        const std::filesystem::path& file = it->path();
        // The default file set has no name before its extension; it is nobody's.
        if (file.extension() != kUseFileExtension || file.stem().empty()) continue;
        std::error_code notRegular;
        if (!it->is_regular_file(notRegular)) continue;
        names.push_back(file.stem().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool RowInUse(const YtdRow& row) {
    if (!row.WeekEnding.empty() && row.WeekEnding != "0") return true;
    for (YtdColumn column : kYtdColumns)
        if (row.*ColumnMember(column) != 0) return true;
    return row.Sdi != 0 || row.Sui != 0 || row.Cafeteria != 0;
}

int RowForPosting(const YtdRegister& ytd, int rowCount, std::string_view weekEnding) {
    if (!weekEnding.empty() && weekEnding != "0") {
        for (int week = 1; week <= rowCount; ++week)
            if (ytd.Row(week).WeekEnding == weekEnding) return week;
    }
    for (int week = 1; week <= rowCount; ++week)
        if (!RowInUse(ytd.Row(week))) return week;
    return 0;
}

namespace {

// The register view's own posting: a click on the week number, then Yes on closing.
void Post(RunRow& row, Program& program, ScriptedHost& host, Overwrite overwrite) {
    const RunFigures& figures = *row.figures;
    const int rows = RowCount(figures.weeklyPay);
    if (figures.row < 1 || figures.row > rows) {
        row.refusal = figures.row == 0 ? "Every row of the register is in use; nothing was posted."
                                       : "Row " + std::to_string(figures.row) +
                                             " is not a row of the register (1 to " +
                                             std::to_string(rows) + "); nothing was posted.";
        return;
    }
    if (figures.rowInUse && overwrite == Overwrite::Refuse) {
        const std::string& held = program.ytd.Row(figures.row).WeekEnding;
        row.refusal = "Row " + std::to_string(figures.row) +
                      (held.empty() ? std::string() : " (" + held + ")") +
                      " holds a period already; nothing was posted.";
        return;
    }
    OpenYearToDate(program);
    PasteMe(program, figures.row);
    if (!StoreYearToDate(program) || !host.messages.empty()) {
        row.refusal = "Not posted: " + Told(host);
        return;
    }
    CloseYearToDateWithoutAsking(program);
    row.postedRow = figures.row;
}

// The desktop's print command with the printer already chosen, for the whole run, once.
void Print(RunRow& row, Program& program, ScriptedHost& host, bool check, PrintJob& job) {
    host.printerAnswers = {true};
    host.printed.clear();
    if (check) {
        program.checks.Load();
        PrintCheck(program);
    } else {
        PrintText(program);
    }
    if (!host.messages.empty() || host.printed.size() != 1) {
        row.refusal = "Not printed: " + Told(host);
        return;
    }
    job.Append(host.printed.front());
}

}  // namespace

RunRow RunEmployee(const std::string& name, const RunPeriod& period, const RunSettings& settings,
                   const RunActions& actions) {
    RunRow row{name, std::nullopt, {}, 0};
    if (const auto problem = EmployeeNameProblem(name)) {
        row.refusal = *problem;
        return row;
    }
    // Held from reading the register to writing it: no save of another running copy comes in
    // between, so the period is calculated against the register it is posted into.
    std::optional<EmployeeLock::Saving> saving;
    if (actions.post) {
        saving.emplace(EmployeeLock::ForSave(name, settings.lockPatience));
        if (saving->Busy()) {
            row.refusal = "Another running copy of Kestrel is saving " + name +
                          " and has not finished. Nothing was posted.";
            return row;
        }
        // Its Year To Date window there would write its own rows over the posting on saving.
        const EmployeeLock unmarked;
        if ((settings.startedFrom != nullptr ? *settings.startedFrom : unmarked)
                .OpenElsewhere(name)) {
            row.refusal = name +
                          " is open in another running copy of Kestrel. Nothing was posted; close "
                          "the employee there, then post again.";
            return row;
        }
    }
    WithCalculated(row, period, settings, [&](Program& program, ScriptedHost& host) {
        if (actions.post) Post(row, program, host, actions.overwrite);
        if (row.refusal.empty() && actions.stubs) Print(row, program, host, false, *actions.stubs);
        if (row.refusal.empty() && actions.checks) Print(row, program, host, true, *actions.checks);
    });
    return row;
}

namespace {

// A row done by a thread of the run, waiting for its turn to be told.
struct Finished {
    RunRow row;
    std::optional<PrintJob> stubs;
    std::optional<PrintJob> checks;
    std::exception_ptr failure;
};

// More threads than this gain nothing: the saves' waits for the disk are shared by all of them.
constexpr std::size_t kMostRunThreads = 8;

std::size_t RunThreads(const std::vector<EmployeePeriod>& periods) {
    std::set<std::string_view> names;
    for (const EmployeePeriod& period : periods)
        if (!names.insert(period.employee).second) return 1;
    const std::size_t cores = std::max(1U, std::thread::hardware_concurrency());
    return std::max<std::size_t>(1, std::min({cores, kMostRunThreads, periods.size()}));
}

}  // namespace

void RunEmployees(const std::vector<EmployeePeriod>& periods, const RunSettings& settings,
                  const RunActions& actions,
                  const std::function<void(std::size_t, RunRow&&)>& done) {
    const std::size_t count = periods.size();
    const std::size_t threads = RunThreads(periods);
    // Swept here, before any thread saves; the threads take it as done.
    std::optional<FolderSweptOnce> swept;
    if (actions.post) swept.emplace(".");
    const auto oneByOne = [&] {
        for (std::size_t index = 0; index < count; ++index) {
            const EmployeePeriod& period = periods[index];
            done(index, RunEmployee(period.employee, period.period, settings, actions));
        }
    };
    if (threads == 1) {
        oneByOne();
        return;
    }
    // How far the threads may get ahead of `done`; the rows and pages between are held.
    const std::size_t ahead = 4 * threads;
    std::mutex mutex;
    std::condition_variable changed;
    std::map<std::size_t, Finished> ready;
    std::size_t taken = 0;
    std::size_t told = 0;
    bool stop = false;

    const auto work = [&] {
        std::optional<FolderSweptOnce> marked;
        if (actions.post) marked.emplace(".", FolderSweptOnce::Sweep::AlreadySwept);
        for (;;) {
            std::size_t index = 0;
            {
                std::unique_lock<std::mutex> hold(mutex);
                changed.wait(hold, [&] { return stop || taken >= count || taken < told + ahead; });
                if (stop || taken >= count) return;
                index = taken++;
            }
            Finished finished;
            try {
                RunActions mine = actions;
                if (actions.stubs) mine.stubs = &finished.stubs.emplace();
                if (actions.checks) mine.checks = &finished.checks.emplace();
                const EmployeePeriod& period = periods[index];
                finished.row = RunEmployee(period.employee, period.period, settings, mine);
            } catch (...) {
                finished.failure = std::current_exception();
            }
            {
                const std::lock_guard<std::mutex> hold(mutex);
                ready.emplace(index, std::move(finished));
            }
            changed.notify_all();
        }
    };

    std::exception_ptr failure;
    {
        std::vector<std::jthread> workers;
        // Whatever ends the telling, the threads are stopped and joined before this returns.
        struct Stop {
            std::mutex& mutex;
            std::condition_variable& changed;
            bool& stop;
            ~Stop() {
                {
                    const std::lock_guard<std::mutex> hold(mutex);
                    stop = true;
                }
                changed.notify_all();
            }
        };
        const Stop stopping{mutex, changed, stop};
        try {
            for (std::size_t t = 0; t < threads; ++t)
                workers.emplace_back(work);
        } catch (const std::system_error&) {
            // No thread to be had: the threads there are do the run, or this one does.
            if (workers.empty()) {
                oneByOne();
                return;
            }
        }
        for (std::size_t index = 0; index < count; ++index) {
            Finished finished;
            {
                std::unique_lock<std::mutex> hold(mutex);
                changed.wait(hold, [&] { return ready.contains(index); });
                auto found = ready.find(index);
                finished = std::move(found->second);
                ready.erase(found);
                ++told;
            }
            changed.notify_all();
            if (finished.failure) {
                failure = finished.failure;
                break;
            }
            if (finished.stubs && !finished.stubs->Steps().empty())
                actions.stubs->Append(*finished.stubs);
            if (finished.checks && !finished.checks->Steps().empty())
                actions.checks->Append(*finished.checks);
            done(index, std::move(finished.row));
        }
    }
    if (failure) std::rethrow_exception(failure);
}

RunTotals TotalsOf(const std::vector<RunRow>& rows) {
    RunTotals totals;
    const auto cents = [](float value) { return Currency::FromSingle(RoundCents(value)); };
    for (const RunRow& row : rows) {
        if (!row.figures || !row.refusal.empty()) {
            ++totals.refused;
            continue;
        }
        const PayResult& r = row.figures->result;
        ++totals.calculated;
        totals.gross = totals.gross + cents(r.GrossPay);
        totals.taxes = totals.taxes + cents(r.TaxDeduct);
        totals.deductions = totals.deductions + cents(r.TotDeduct);
        totals.net = totals.net + cents(r.NetPay);
    }
    return totals;
}

std::string StubsDocumentName(std::string_view weekEnding) {
    return DocumentName({"Pay stubs", weekEnding});
}

std::string ChecksDocumentName(std::string_view weekEnding) {
    return DocumentName({"Paychecks", weekEnding});
}

}  // namespace kestrel
