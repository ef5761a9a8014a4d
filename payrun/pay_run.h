// The pay run: every employee of the working folder through the one-employee path. Each employee
// is loaded into a program of its own, as File, Open loads it, its entries go into that program's
// main window and Calculate runs there; whatever is posted or printed is done by the register view
// and the print commands of that same program. The program is gone before its thread takes the
// next employee, so nothing of one employee reaches another and a run of a thousand employees
// holds no more than a run of a few.
#pragma once

#include <array>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/payroll_records.h"
#include "platform/date.h"
#include "platform/numbers.h"
#include "platform/print_model.h"
#include "ytd/ytd_register.h"

namespace kestrel {

class EmployeeLock;
class Program;

// One employee's period as the main window's entries would hold it.
struct RunPeriod {
    // As typed, in the main window's order; empty counts 0, as it does there.
    std::array<std::string, 8> entries;
    // "(2X)" rather than "(1X)".
    bool overtimeDouble = false;
    // The register row to post into; the row of the week, else the first free one, when none.
    std::optional<int> row;
};

// What holds for the whole run.
struct RunSettings {
    // The main window's week-ending box; its default when empty.
    std::string weekEnding;
    // Today's date, as stubs and checks print it.
    Date today{};
    // How long a posting waits for a save of the employee in another running copy to end before
    // the employee is skipped.
    std::chrono::milliseconds lockPatience = std::chrono::seconds(10);
    // The mark of the program the run is started from, whose own open employee is not open
    // elsewhere; none for a run of its own.
    const EmployeeLock* startedFrom = nullptr;
};

struct RunFigures {
    PayResult result;
    // As the calculation left it (the 1x/2x hours doubled with "(2X)").
    PayPeriodEntry entry;
    // The register's gross before this period, which the wage bases were taken against.
    Currency ytdGross;
    std::string tableVersion;
    bool weeklyPay = true;
    // Where a posting would go, and whether that row holds a period already.
    int row = 0;
    bool rowInUse = false;
    // The week-ending text that row holds.
    std::string rowWeekEnding;
};

struct RunRow {
    std::string employee;
    std::optional<RunFigures> figures;
    // Why the employee was skipped or not posted; empty when all went well.
    std::string refusal;
    // The register row posted, 0 when nothing was.
    int postedRow = 0;
};

// The sums over the employees done (calculated, and posted or printed where that was asked), each
// figure rounded to cents as the main window shows it.
struct RunTotals {
    Currency gross;
    Currency taxes;
    Currency deductions;
    Currency net;
    int calculated = 0;
    int refused = 0;
};

// Every employee of the current folder: the name of each ".use" there, in name order.
std::vector<std::string> FolderEmployees();

// Whether a row holds a period (any figure, or a week-ending other than an empty or cleared one).
bool RowInUse(const YtdRow& row);
// Where a period of `weekEnding` is posted without a row chosen: the row already holding that
// week, so a second run finds its own posting, else the first row not in use; 0 when every row of
// the `rowCount` is in use.
int RowForPosting(const YtdRegister& ytd, int rowCount, std::string_view weekEnding);

enum class Overwrite { Refuse, Allow };

// What the run does with an employee after Calculate, in the desktop's order: post, then print.
struct RunActions {
    // Posted under the employee's save lock, then the register saved as the register view saves
    // it. A row in use is refused unless `overwrite` allows it.
    bool post = false;
    Overwrite overwrite = Overwrite::Refuse;
    // The stub, and the check with its stubs at the employee's offsets, as the desktop's print
    // commands print them, each appended to its job as a page of its own.
    PrintJob* stubs = nullptr;
    PrintJob* checks = nullptr;
};

// The period calculated as File, Open, the entries and Calculate give it, then `actions`. Nothing
// is written but the register a posting saves. An employee refused at any step is not taken
// further.
RunRow RunEmployee(const std::string& name, const RunPeriod& period, const RunSettings& settings,
                   const RunActions& actions = {});

// One row of a run: whom, and the period.
struct EmployeePeriod {
    std::string employee;
    RunPeriod period;
};

// Every period as RunEmployee does it, the employees shared out among the machine's cores: each
// employee is a program of its own and files of its own, and a thousand of them one after the
// other would keep a core idle. `done` hears of each row on the calling thread, in the order of
// `periods`, as soon as that row and every one before it are done; printed pages join `actions`'
// jobs in that order too. A run naming an employee twice is done one employee at a time, in
// order. A failure thrown for one employee stops the run and is thrown again here, after the rows
// before it.
void RunEmployees(const std::vector<EmployeePeriod>& periods, const RunSettings& settings,
                  const RunActions& actions,
                  const std::function<void(std::size_t, RunRow&&)>& done);

RunTotals TotalsOf(const std::vector<RunRow>& rows);

// The names the printouts of the whole run go by, e.g. "Pay stubs 01/07/05".
std::string StubsDocumentName(std::string_view weekEnding);
std::string ChecksDocumentName(std::string_view weekEnding);

}  // namespace kestrel
