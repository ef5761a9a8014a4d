// The costs that matter to a user: one pay period, reading the federal tables (every
// calculation does), writing and reading back a small record file (every save does), and what the
// Calculate button really costs: the calculation with the full save of the employee's file set.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include <unistd.h>

#ifdef KESTREL_BENCH_PDF
#include <QGuiApplication>

#include "platform/qt/print_renderer.h"
#endif

#include "app/program.h"
#include "calc/pay_calculation.h"
#include "employee/employee_files.h"
#include "employee/record_file.h"
#include "payrun/pay_run.h"
#include "platform/scripted_host.h"
#include "reports/employer_report.h"
#include "settings/city_tax_settings.h"
#include "settings/non_resident_tax_settings.h"
#include "settings/state_tax_settings.h"

namespace {

using namespace kestrel;

const std::filesystem::path kTables =
    std::filesystem::path(KESTREL_SOURCE_DIR) / "data" / "demo" / "Fedtaxx.tax";

// An employee at 18.25 an hour with two allowances and two deductions, on the demo tables and
// the built-in New York settings.
struct DemoPeriod {
    DemoPeriod() {
        ReadFederalTableFile(kTables, federal);
        profile.HourlyRate1 = 18.25f;
        profile.CreditUnion = 12.5f;
        profile.KPlan = 4;
        profile.FederalAllowances = "2";
    }
    PayInputs Inputs() const { return {profile, federal, state, city, nonResident}; }

    FederalTables federal;
    EmployeeProfile profile = NewEmployeeProfile();
    const StateTaxSettings state = NewYorkStateDefaults();
    const CityTaxSettings city = NewYorkCityDefaults();
    const NonResidentTaxSettings nonResident = NonResidentDefaults();
};

void BM_PayCalculation(benchmark::State& state) {
    const DemoPeriod demo;
    for (auto _ : state) {
        PayPeriodEntry entry;
        entry.StrHrs = 40;
        entry.OtHrs = 3.5f;
        entry.TipsHrs = 6;
        entry.Addit = Currency::FromRaw(255000);
        PayResult result = ComputePay(demo.Inputs(), entry);
        PayDisplay shown = FormatPayResult(result);
        benchmark::DoNotOptimize(result);
        benchmark::DoNotOptimize(shown);
    }
}
BENCHMARK(BM_PayCalculation);

// The calculation alone, without the window's texts: argument 0 records nothing, as every
// calculation but the main window's does; 1 records the working, as the main window does.
void BM_ComputePay(benchmark::State& state) {
    const DemoPeriod demo;
    for (auto _ : state) {
        PayPeriodEntry entry;
        entry.StrHrs = 40;
        entry.OtHrs = 3.5f;
        PayInputs inputs = demo.Inputs();
        CalcTrace trace;
        if (state.range(0) == 1) inputs.trace = &trace;
        PayResult result = ComputePay(inputs, entry);
        benchmark::DoNotOptimize(result);
        benchmark::DoNotOptimize(trace);
    }
}
BENCHMARK(BM_ComputePay)->Arg(0)->Arg(1);

void BM_LoadFederalTables(benchmark::State& state) {
    for (auto _ : state) {
        FederalTables federal;
        auto status = ReadFederalTableFile(kTables, federal);
        benchmark::DoNotOptimize(status);
        benchmark::DoNotOptimize(federal);
    }
}
BENCHMARK(BM_LoadFederalTables);

void BM_RecordFileRoundTrip25Lines(benchmark::State& state) {
    const auto path = std::filesystem::temp_directory_path() / "kestrel-bench.rec";
    for (auto _ : state) {
        RecordWriter out(path);
        for (int line = 0; line < 25; ++line) {
            out.Line({field::Text("Worker1"), field::Single(7.5f * static_cast<float>(line)),
                      field::Double(15600.25), field::Int16(static_cast<std::int16_t>(line)),
                      field::Bool(line % 2 == 0)});
        }
        if (!out.Commit()) state.SkipWithError("write failed");
        RecordReader in = RecordReader::Open(path);
        std::string text;
        float single = 0;
        double dbl = 0;
        std::int16_t integer = 0;
        bool flag = false;
        for (int line = 0; line < 25; ++line) {
            in.Text(text);
            in.Single(single);
            in.Double(dbl);
            in.Int16(integer);
            in.Bool(flag);
        }
        if (!in.Ok()) state.SkipWithError("read failed");
        benchmark::DoNotOptimize(single);
    }
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}
BENCHMARK(BM_RecordFileRoundTrip25Lines);

// A copy of the demo folder with Worker1 open, as after File, Open.
class OpenDemoEmployee {
  public:
    OpenDemoEmployee() : previous_(std::filesystem::current_path()) {
        folder_ = std::filesystem::temp_directory_path() / "kestrel-bench-demo";
        std::filesystem::remove_all(folder_);
        std::filesystem::copy(std::filesystem::path(KESTREL_SOURCE_DIR) / "data" / "demo", folder_);
        std::filesystem::current_path(folder_);
        program_.Start();
        program_.ActiveUser = "Worker1";
        LoadEmployee(program_);
    }
    ~OpenDemoEmployee() {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    OpenDemoEmployee(const OpenDemoEmployee&) = delete;
    OpenDemoEmployee& operator=(const OpenDemoEmployee&) = delete;

    Program& program() { return program_; }
    bool Quiet() const { return host_.messages.empty(); }

  private:
    std::filesystem::path previous_;
    std::filesystem::path folder_;
    ScriptedHost host_;
    Program program_{host_};
};

// Calculate as the button runs it: settings windows prepared from the files, the period computed
// and shown, and the eight files of the employee durably written.
void BM_CalculateWithFullSave(benchmark::State& state) {
    OpenDemoEmployee demo;
    Form1Ui& main = demo.program().form1.ui();
    for (auto _ : state) {
        main.txtEntry[0]->SetText("40");
        main.txtEntry[3]->SetText("2.5");
        if (!demo.program().form1.CalculatePay()) state.SkipWithError("calculation refused");
    }
    if (!demo.Quiet()) state.SkipWithError("the program showed a message");
}
BENCHMARK(BM_CalculateWithFullSave)->Unit(benchmark::kMillisecond)->UseRealTime();

// The save alone; its wall time less its CPU time is the wait for the disk.
void BM_FullSave(benchmark::State& state) {
    OpenDemoEmployee demo;
    for (auto _ : state) {
        if (!demo.program().saveUser.FullSave()) state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_FullSave)->Unit(benchmark::kMillisecond)->UseRealTime();

// Every folder of thousands of files the benchmarks make is removed only when all have run. On a
// file system without a journal, making a file looks past every inode freed in the last half
// minute, so removing one benchmark's files just before the next would charge the next for them.
std::vector<std::filesystem::path>& FoldersToRemove() {
    static std::vector<std::filesystem::path> folders;
    return folders;
}

// A new empty folder of this process under the temporary folder.
std::filesystem::path NewBenchFolder(const std::string& name) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("kestrel-bench-" + name + "-" + std::to_string(::getpid()) + "-" +
         std::to_string(FoldersToRemove().size()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    FoldersToRemove().push_back(folder);
    return folder;
}

// A folder of 1,000 weekly registers, every week of 2005 posted, written by the register's own
// writer: the employer's quarter reads and adds up all of them.
class ThousandRegisters {
  public:
    ThousandRegisters() : previous_(std::filesystem::current_path()) {
        folder_ = NewBenchFolder("registers");
        std::filesystem::current_path(folder_);
        for (int employee = 0; employee < 1000; ++employee) {
            YtdRegister ytd;
            for (int week = 1; week <= kYtdRows; ++week) {
                YtdRow& row = ytd.Row(week);
                const int day = 7 * (week - 1);  // Fridays from 01/07/05, within 2005
                const int month = day < 357 ? 1 + day / 31 : 12;
                row.WeekEnding = std::to_string(month) + "/" + std::to_string(1 + day % 28) + "/05";
                row.Gross = 500.0f + static_cast<float>((employee * 53 + week) % 900) + 0.37f;
                row.Federal = row.Gross * 0.1f;
                row.SocialSecurity = row.Gross * 0.062f;
                row.Medicare = row.Gross * 0.0145f;
                row.State = row.Gross * 0.04f;
                row.Net = row.Gross * 0.78f;
                row.Sdi = 1.2f;
            }
            RecordWriter records = AnnualRecords(ytd, "Employee" + std::to_string(employee), true,
                                                 RegisterGridTexts(ytd));
            if (!records.Commit()) ok_ = false;
        }
    }
    ~ThousandRegisters() { std::filesystem::current_path(previous_); }
    ThousandRegisters(const ThousandRegisters&) = delete;
    ThousandRegisters& operator=(const ThousandRegisters&) = delete;
    bool Ok() const { return ok_; }

  private:
    std::filesystem::path previous_;
    std::filesystem::path folder_;
    bool ok_ = true;
};

// What the Reports window's Show and kestrel-report cost over a large firm: every register read
// from disk and the quarter's table added up.
void BM_EmployerQuarter1000Registers(benchmark::State& state) {
    ThousandRegisters folder;
    if (!folder.Ok()) state.SkipWithError("registers not written");
    for (auto _ : state) {
        const ReportTable table = BuildReportTable(ReadRegisters("."), ReportPeriod{2005, 1});
        if (table.lines.size() != 1000 || !table.leftOut.empty() || !table.damaged.empty())
            state.SkipWithError("not every register was counted");
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(BM_EmployerQuarter1000Registers)->Unit(benchmark::kMillisecond)->UseRealTime();

// A working folder of `count` employees, copies of the two demo employees in turn, each paid
// 40 hours and 2 at time and a half.
class PayRunFolder {
  public:
    explicit PayRunFolder(int count) : previous_(std::filesystem::current_path()) {
        folder_ = NewBenchFolder("payrun");
        std::filesystem::create_directories(folder_ / "registers");
        const std::filesystem::path demo =
            std::filesystem::path(KESTREL_SOURCE_DIR) / "data" / "demo";
        for (const char* shared : {"Fedtaxx.tax", "Header.sav"})
            std::filesystem::copy_file(demo / shared, folder_ / shared);
        for (int i = 0; i < count; ++i) {
            const std::string name = "E" + std::to_string(10000 + i);
            const std::string from = i % 2 == 0 ? "Worker1" : "Worker2";
            for (const auto& entry : std::filesystem::directory_iterator(demo)) {
                const std::filesystem::path file = entry.path().filename();
                if (file.stem() != from) continue;
                std::filesystem::copy_file(entry.path(),
                                           folder_ / (name + file.extension().string()));
                if (file.extension() == ".yrw" || file.extension() == ".yrb")
                    std::filesystem::copy_file(
                        entry.path(), folder_ / "registers" / (name + file.extension().string()));
            }
            names_.push_back(name);
        }
        period_.entries[0] = "40";
        period_.entries[3] = "2";
        std::filesystem::current_path(folder_);
    }
    ~PayRunFolder() { std::filesystem::current_path(previous_); }
    PayRunFolder(const PayRunFolder&) = delete;
    PayRunFolder& operator=(const PayRunFolder&) = delete;

    // Every register back as it was before any posting.
    void RestoreRegisters() {
        for (const auto& entry : std::filesystem::directory_iterator(folder_ / "registers"))
            std::filesystem::copy_file(entry.path(), folder_ / entry.path().filename(),
                                       std::filesystem::copy_options::overwrite_existing);
    }
    // False when an employee was refused.
    bool Run(const RunActions& actions) {
        const RunSettings settings{"02/25/05", Date{2005, 2, 25}};
        std::vector<EmployeePeriod> periods;
        for (const std::string& name : FolderEmployees())
            periods.push_back({name, period_});
        bool all = true;
        RunEmployees(periods, settings, actions,
                     [&](std::size_t, RunRow&& row) { all &= row.refusal.empty(); });
        return all;
    }
    std::size_t Count() const { return names_.size(); }

  private:
    std::filesystem::path previous_;
    std::filesystem::path folder_;
    std::vector<std::string> names_;
    RunPeriod period_;
};

// The memory the process holds now, in megabytes.
double ResidentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * 4096.0 / (1024.0 * 1024.0);
}

// Calculate All: every employee loaded and calculated as File, Open and Calculate do. What the
// process holds after a run, beyond what it held before it, does not grow with the count.
void BM_PayRunCalculateAll(benchmark::State& state) {
    PayRunFolder folder(static_cast<int>(state.range(0)));
    folder.Run({});  // the allocator's pools and the files in the cache, once
    const double before = ResidentMegabytes();
    for (auto _ : state) {
        if (!folder.Run({})) state.SkipWithError("an employee was refused");
    }
    state.counters["employees"] = static_cast<double>(folder.Count());
    state.counters["MB_held_after"] = ResidentMegabytes() - before;
}
BENCHMARK(BM_PayRunCalculateAll)
    ->Arg(250)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

// Post All: calculated and posted, each register saved durably under the employee's lock.
void BM_PayRunCalculateAndPost(benchmark::State& state) {
    PayRunFolder folder(static_cast<int>(state.range(0)));
    RunActions post;
    post.post = true;
    for (auto _ : state) {
        state.PauseTiming();
        folder.RestoreRegisters();
        // The copies are on the disk before the run starts: their writing is not the run's.
        ::sync();
        state.ResumeTiming();
        if (!folder.Run(post)) state.SkipWithError("an employee was refused");
    }
}
BENCHMARK(BM_PayRunCalculateAndPost)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

#ifdef KESTREL_BENCH_PDF
// Print Stubs to a PDF: every employee's stub, one a page, in one job, then the file.
void BM_PayRunStubsPdf(benchmark::State& state) {
    PayRunFolder folder(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        PrintJob stubs("Pay stubs");
        RunActions actions;
        actions.stubs = &stubs;
        if (!folder.Run(actions)) state.SkipWithError("an employee was refused");
        if (!WriteJobPdf(stubs, "stubs.pdf")) state.SkipWithError("the PDF was not written");
    }
}
BENCHMARK(BM_PayRunStubsPdf)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);
#endif

}  // namespace

int main(int argc, char** argv) {
#ifdef KESTREL_BENCH_PDF
    // The PDF needs fonts and a GUI application, never a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
#endif
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const std::filesystem::path& folder : FoldersToRemove()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    return 0;
}
