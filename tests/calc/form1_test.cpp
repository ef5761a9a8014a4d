#include "calc/form1.h"

#include <gtest/gtest.h>

#include "app/program.h"
#include "calc/federal_tables.h"
#include "employee/open_employee.h"
#include "platform/scripted_host.h"
#include "support/temp_dir.h"

namespace kestrel {
namespace {

using testing::DemoFolder;
using testing::TempWorkDir;

class MainWindow : public ::testing::Test {
  protected:
    explicit MainWindow(bool withTables = true) {
        if (withTables) std::filesystem::copy_file(DemoFolder() / "Fedtaxx.tax", "Fedtaxx.tax");
    }
    void TearDown() override { EXPECT_TRUE(host.unscripted.empty()) << host.unscripted[0]; }

    Form1Ui& ui() { return program.form1.ui(); }
    TextBox& Entry(int i) { return *ui().txtEntry[static_cast<std::size_t>(i)]; }
    std::string Line(int i) { return ui().lbTax[static_cast<std::size_t>(i)]->Caption(); }

    TempWorkDir dir;  // first, so the table file lands in the test's own folder
    ScriptedHost host;
    Program program{host};
};

class MainWindowWithoutTables : public MainWindow {
  protected:
    MainWindowWithoutTables() : MainWindow(false) {}
};

TEST_F(MainWindow, StartsWithNoEmployeeAndTheTableVersion) {
    program.Start();
    EXPECT_TRUE(program.form1.IsVisible());
    EXPECT_EQ(program.form1.Caption(), "WRENFIELD WORKS");
    EXPECT_EQ(ui().lbUser->Caption(), "USER");
    EXPECT_EQ(ui().lbTaxVer->Caption(), "2005 Circular E");
    EXPECT_EQ(ui().lbTableCaption->Caption(), "Federal Table: Cir E - Pub15");
    EXPECT_EQ(ui().txtWeekEnd->Text(), "00/00/05");
    EXPECT_TRUE(program.ActiveUser.empty());
    EXPECT_EQ(program.DefaultPayRate, 7.5f);
    const std::array<std::string, 5> captions{"CrUnion", "Bond", "Dues", "Pension", "Misc."};
    for (std::size_t k = 0; k < 5; ++k)
        EXPECT_EQ(ui().lbTaxCaption[5 + k]->Caption(), captions[k]);
    EXPECT_EQ(ui().lbTaxCaption[10]->Caption(), "K Plan");
    EXPECT_EQ(ui().lbGross->Caption(), "");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(MainWindowWithoutTables, StartUpWarnsAboutTheMissingTable) {
    program.Start();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text.substr(0, 39), "You have illegally altered this program");
    EXPECT_EQ(ui().lbTaxVer->Caption(), "");
}

TEST_F(MainWindowWithoutTables, CalculationGoesOnWithoutFederalTax) {
    program.Start();
    Entry(0).SetText("40");
    ui().cmdCal->UserClick();
    EXPECT_EQ(host.messages.size(), 2u);  // start-up and the calculation both tell
    EXPECT_EQ(ui().lbGross->Caption(), "$300.00");
    EXPECT_EQ(Line(0), ".00");
    // Social Security, Medicare and the New York state and city taxes still come off.
    EXPECT_EQ(ui().lbNet->Caption(), "$265.93");
}

TEST_F(MainWindow, EntriesTakeOnlyNumberKeys) {
    program.Start();
    Entry(0).SetFocus();
    Entry(0).Type("4a0.5x");
    EXPECT_EQ(Entry(0).Text(), "40.5");
    Entry(0).Type("\b\b");
    EXPECT_EQ(Entry(0).Text(), "40");
    Entry(6).SetFocus();
    Entry(6).Type("-1 2$");
    EXPECT_EQ(Entry(6).Text(), "-1 2");
}

TEST_F(MainWindow, EnteringAnEntrySelectsItsText) {
    program.Start();
    Entry(3).SetText("12.5");
    Entry(3).SetFocus();
    EXPECT_EQ(Entry(3).SelStart(), 0);
    EXPECT_EQ(Entry(3).SelLength(), 4);
    Entry(3).Type("7");
    EXPECT_EQ(Entry(3).Text(), "7");
}

TEST_F(MainWindow, EnterUpAndDownMoveAmongTheEntries) {
    program.Start();
    Entry(0).SetFocus();
    Entry(0).UserKeyDown(Key::Enter);
    EXPECT_TRUE(Entry(1).HasFocus());
    Entry(1).UserKeyDown(Key::Up);
    EXPECT_TRUE(Entry(0).HasFocus());
    Entry(0).UserKeyDown(Key::Up);
    EXPECT_TRUE(Entry(0).HasFocus());
    Entry(7).SetFocus();
    Entry(7).UserKeyDown(Key::Down);
    EXPECT_TRUE(Entry(7).HasFocus());
    Entry(7).UserKeyDown(Key::Enter);
    EXPECT_TRUE(Entry(0).HasFocus());
    Entry(0).UserKeyDown(Key::Down);
    EXPECT_TRUE(Entry(1).HasFocus());
    int pickers = 0;
    host.onModal["frmDateMain"] = [&](Form& form) { ++pickers, form.Hide(); };
    for (Key key : {Key::Enter, Key::Down, Key::Up})
        ui().txtWeekEnd->UserKeyDown(key);
    EXPECT_EQ(pickers, 2);
}

TEST_F(MainWindow, CalculateShowsEveryFigure) {
    program.Start();
    Entry(0).SetText("40");
    ui().cmdCal->UserClick();
    // A new employee, weekly, single, no allowances, with the built-in New York tables:
    // state (300 - 268.30 / 2 - 154) x 0.045 + 12.31 / 2 = 6.688;
    // city (300 - 192.30 / 2 - 167) x 0.031 + 6.58 / 2 = 4.432.
    EXPECT_EQ(ui().lbGross->Caption(), "$300.00");
    EXPECT_EQ(Line(0), "30.50");
    EXPECT_EQ(Line(1), "18.60");
    EXPECT_EQ(Line(2), "4.35");
    EXPECT_EQ(Line(3), "6.69");
    EXPECT_EQ(Line(4), "4.43");
    for (int i = 5; i <= 10; ++i)
        EXPECT_EQ(Line(i), ".00") << i;
    EXPECT_EQ(ui().lbSdi->Caption(), ".00");
    EXPECT_EQ(ui().lbSui->Caption(), ".00");
    EXPECT_EQ(ui().lbCafe->Caption(), ".00");
    EXPECT_EQ(ui().lbTaxes->Caption(), "$64.57");
    EXPECT_EQ(ui().lbDeduct->Caption(), "$.00");
    EXPECT_EQ(ui().lbNet->Caption(), "$235.43");
    EXPECT_EQ(ui().lbOverTime->Caption(), "$.00");
    EXPECT_EQ(ui().lbTips->Caption(), "$.00");
    EXPECT_EQ(program.result.GrossPay, 300.0f);
    // The entries that were 0 are blank again; the focus is back on the first entry.
    EXPECT_EQ(Entry(0).Text(), "40");
    for (int i = 1; i < 8; ++i)
        EXPECT_EQ(Entry(i).Text(), "") << i;
    EXPECT_TRUE(Entry(0).HasFocus());
    EXPECT_TRUE(host.messages.empty());
}

// The working shown is always that of the figures on the window: none before a calculation or
// after Clear, the last calculation's otherwise, opened at a figure by a double click on it.
TEST_F(MainWindow, ExplainShowsTheWorkingOfTheFiguresOnTheWindow) {
    program.Start();
    ui().mnuExplain->UserClick();
    TextBox& trace = *program.explain.ui().txtTrace;
    EXPECT_EQ(trace.Text().rfind("There is no calculation", 0), 0u);
    Entry(0).SetText("40");
    ui().cmdCal->UserClick();
    std::string lines;
    for (char c : TraceText(program.lastTrace))
        lines += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(trace.Text(), lines);
    EXPECT_NE(lines.find("6.69"), std::string::npos);
    ui().lbTax[3]->UserDblClick();
    EXPECT_EQ(trace.Text().substr(static_cast<std::size_t>(trace.SelStart()), 11), "State Tax:\r");
    program.explain.ui().cmdCopy->UserClick();
    EXPECT_EQ(host.copied, std::vector<std::string>{TraceText(program.lastTrace)});
    host.printerAnswers = {true};
    program.explain.ui().cmdPrint->UserClick();
    ASSERT_EQ(host.printerDialogs, std::vector<std::string>{"Explain 00-00-05.pdf"});
    EXPECT_NE(PlainText(host.printed.at(0)).find("Net Pay:"), std::string::npos);
    ui().cmdClear->UserClick();
    EXPECT_EQ(trace.Text().rfind("There is no calculation", 0), 0u);
}

TEST_F(MainWindow, NetToGrossPutsTheDollarAmountInAndCalculates) {
    program.Start();
    Entry(0).SetText("40");
    host.inputs = {"three hundred", "300"};
    ui().mnuNetToGross->UserClick();
    EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{"\"three hundred\" is not an amount."});
    EXPECT_EQ(Entry(6).Text(), "");
    ui().mnuNetToGross->UserClick();
    // 40 hours at 7.50 leave 235.43; the dollar amount makes up the rest after its own taxes.
    const double dollars = std::stod(Entry(6).Text());
    EXPECT_GT(dollars, 64.57);
    EXPECT_GE(program.result.NetPay, 299.995f);
    EXPECT_EQ(ui().lbNet->Caption().substr(0, 3), "$30");
    Entry(6).SetText(CurrencyText(Currency::FromDouble(dollars - 0.01)));
    ui().cmdCal->UserClick();
    EXPECT_LT(program.result.NetPay, 299.995f);
}

TEST_F(MainWindow, NewEmployeeBiWeekly) {
    program.Start();
    program.profile.WeeklyPay = false;
    program.profile.BiWeeklyPay = true;
    Entry(0).SetText("80");
    ui().cmdCal->UserClick();
    // Federal 27.50 + (600 - 377) x 0.15; state (331.70 - 308) x 0.045 + 12.31;
    // city (407.70 - 334) x 0.031 + 6.58.
    EXPECT_EQ(Line(0), "60.95");
    EXPECT_EQ(Line(1), "37.20");
    EXPECT_EQ(Line(2), "8.70");
    EXPECT_EQ(Line(3), "13.38");
    EXPECT_EQ(Line(4), "8.86");
    EXPECT_EQ(ui().lbNet->Caption(), "$470.91");
}

TEST_F(MainWindow, CalculationPreparesAndClosesTheSettingsWindows) {
    program.Start();
    Entry(0).SetText("40");
    ui().cmdCal->UserClick();
    EXPECT_FALSE(program.dialogState.IsLoaded());
    EXPECT_FALSE(program.dialogCity.IsLoaded());
    // Preparing them stored the built-in tables.
    EXPECT_EQ(program.stateSettings.SingleBrackets[1].Minimum, 308.0f);
    EXPECT_EQ(program.citySettings.MarriedBrackets[3].Minimum, 577.0f);
}

TEST_F(MainWindow, SavedStateSettingsAreUsed) {
    program.Start();
    // A flat 5 % state table with a 1.25 adjustment, rounded to whole dollars.
    StateTaxSettings flat = NewYorkStateDefaults();
    for (auto* table : {&flat.SingleBrackets, &flat.MarriedBrackets}) {
        for (auto& row : *table)
            row = {kUnusedMinimum, 0, 0};
        (*table)[0] = {0, 0, 0.05f};
    }
    flat.SingleExemptions = {};
    flat.StateAdjustment = 1.25f;
    ASSERT_TRUE(WriteStateFile(".sta", flat, program.profile));
    // "Round State" lives in the profile files, not in ".sta": it comes from memory.
    program.stateSettings.RoundState = 1;
    Entry(0).SetText("40");
    ui().cmdCal->UserClick();
    EXPECT_EQ(Line(3), "16.00");  // 15.00 + 1.25 = 16.25, to the even dollar 16
}

TEST_F(MainWindow, YearToDateGrossLimitsSocialSecurity) {
    program.Start();
    program.ytd.totals.Gross = Currency::FromDouble(89900);
    Entry(0).SetText("40");
    ui().cmdCal->UserClick();
    EXPECT_EQ(Line(1), "6.20");  // only the last 100 below the wage base
}

TEST_F(MainWindow, MenusOpenTheSettingsWindows) {
    program.Start();
    ui().mnuState->UserClick();
    ui().mnuCity->UserClick();
    ui().mnuNonCity->UserClick();
    EXPECT_TRUE(program.dialogState.IsVisible());
    EXPECT_TRUE(program.dialogCity.IsVisible());
    EXPECT_TRUE(program.dialogNonCity.IsVisible());
}

TEST_F(MainWindow, CalculationReadsTheTablesAfreshAndForgetsThem) {
    program.Start();
    Entry(0).SetText("40");
    ui().cmdCal->UserClick();
    EXPECT_EQ(program.federal.allowances[1], 0.0f);
    EXPECT_EQ(program.federal.Block(FederalBlockId::SingleWeekly).rows[1].Base, 0.0f);
    EXPECT_EQ(program.federal.TableVersion, "2005 Circular E");
    // A second calculation withholds again: the tables were read once more.
    ui().cmdCal->UserClick();
    EXPECT_EQ(Line(0), "30.50");
}

TEST_F(MainWindow, TwoTimesOvertimeAndDollarEntry) {
    program.Start();
    ui().opt2X->UserClick();
    EXPECT_FALSE(ui().opt1X->Value());
    Entry(2).SetText("3");
    Entry(6).SetText("12.34");
    ui().cmdCal->UserClick();
    EXPECT_EQ(ui().lbOverTime->Caption(), "$45.00");  // 6 hours at 7.50
    EXPECT_EQ(program.entry.OtVar, 6.0f);
    EXPECT_EQ(program.entry.OtMultiplier, 2);
    EXPECT_EQ(program.entry.Addit, Currency::FromRaw(123400));
    EXPECT_EQ(ui().lbGross->Caption(), "$57.34");
    // The entry still shows what the user typed.
    EXPECT_EQ(Entry(2).Text(), "3");
}

TEST_F(MainWindow, AllEntriesBlank) {
    program.Start();
    program.profile.CreditUnion = 10;
    ui().cmdCal->UserClick();
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(Entry(i).Text(), "") << i;
    EXPECT_EQ(ui().lbGross->Caption(), "");  // no taxable wages
    EXPECT_EQ(Line(5), "10.00");
    EXPECT_EQ(ui().lbNet->Caption(), "-$10.00");
}

TEST_F(MainWindow, FixedDeductionsAreRoundedInTheProfile) {
    program.Start();
    program.profile.Bond = 2.675f;
    program.profile.CreditUnion = 10.125f;
    Entry(0).SetText("40");
    ui().cmdCal->UserClick();
    EXPECT_EQ(Line(5), "10.13");
    EXPECT_EQ(Line(6), "2.67");
    EXPECT_EQ(program.profile.CreditUnion, 10.13f);
    EXPECT_EQ(program.profile.Bond, 2.67f);
}

struct BadEntry {
    const char* name;
    int index;
    const char* text;
};

class MainWindowBadEntry : public MainWindow, public ::testing::WithParamInterface<BadEntry> {};

TEST_P(MainWindowBadEntry, NamesTheEntryAndChangesNothing) {
    program.Start();
    Entry(0).SetText("40");
    ui().cmdCal->UserClick();
    const PayResult before = program.result;
    const auto& c = GetParam();
    Entry(c.index).SetText(c.text);
    ui().cmdCal->UserClick();
    ASSERT_EQ(host.messages.size(), 1u);
    const std::string& text = host.messages[0].text;
    EXPECT_NE(text.find(Form1::kEntryCaptions[static_cast<std::size_t>(c.index)]),
              std::string::npos)
        << text;
    EXPECT_NE(text.find(c.text), std::string::npos) << text;
    EXPECT_EQ(ui().lbGross->Caption(), "$300.00");
    EXPECT_EQ(program.result.NetPay, before.NetPay);
    EXPECT_EQ(Entry(c.index).Text(), c.text);
    for (int i = 1; i < 8; ++i) {
        if (i != c.index) {
            EXPECT_EQ(Entry(i).Text(), "") << i;
        }
    }
    EXPECT_TRUE(Entry(c.index).HasFocus());
}

INSTANTIATE_TEST_SUITE_P(NotNumbers, MainWindowBadEntry,
                         ::testing::Values(BadEntry{"MinusInside", 1, "1-2"},
                                           BadEntry{"BlankInside", 7, "1 2"},
                                           BadEntry{"TrailingMinus", 4, "5-"},
                                           BadEntry{"DollarsTwoPoints", 6, "1.2.3"},
                                           BadEntry{"PointThenMinus", 3, ".5-"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindow, EntriesWorthZeroBecomeZeroAndTheCalculationGoesOn) {
    program.Start();
    Entry(0).SetText("40");
    const std::array<const char*, 5> odd{"-", ".", "0-", "0 0", "-."};
    for (std::size_t k = 0; k < odd.size(); ++k)
        Entry(static_cast<int>(k) + 1).SetText(odd[k]);
    Entry(6).SetText("-");
    ui().cmdCal->UserClick();
    EXPECT_TRUE(host.messages.empty()) << host.messages[0].text;
    EXPECT_EQ(ui().lbGross->Caption(), "$300.00");
    // Like every entry worth 0, they are blank again afterwards.
    for (int i = 1; i < 8; ++i)
        EXPECT_EQ(Entry(i).Text(), "") << i;
}

TEST_F(MainWindow, AmountsBeyondMoneyAreRefusedNamingTheEntry) {
    program.Start();
    Entry(0).SetText("40");
    ui().cmdCal->UserClick();
    const std::string net = ui().lbNet->Caption();

    // 100000 hours at 7.50 and the largest whole dollar amount money holds: the sum would wrap
    // round to a negative gross.
    Entry(0).SetText("100000");
    Entry(6).SetText("922337203685477");
    ui().cmdCal->UserClick();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              "\"922337203685477\" in PAY IN DOLLAR AMOUNT makes an amount too large to "
              "calculate.\r\nNothing was calculated.");
    EXPECT_TRUE(Entry(6).HasFocus());
    EXPECT_EQ(ui().lbNet->Caption(), net);
    EXPECT_EQ(Entry(0).Text(), "100000");

    // Hours whose pay is beyond single precision.
    Entry(6).SetText("");
    Entry(3).SetText("1e38");
    ui().cmdCal->UserClick();
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_NE(host.messages[1].text.find("O.T. TIME AND 1/2 (1.5X)"), std::string::npos);
    EXPECT_EQ(ui().lbNet->Caption(), net);

    // Alone, the dollar amount fits.
    Entry(0).SetText("");
    Entry(3).SetText("");
    Entry(6).SetText("922337203685477");
    ui().cmdCal->UserClick();
    EXPECT_EQ(host.messages.size(), 2u);
    // Gross pay is a single, so it shows the nearest single.
    EXPECT_EQ(ui().lbGross->Caption(), "$922,337,180,385,280.00");
}

TEST_F(MainWindow, FiguresBeyondSinglePrecisionAreRefusedNotShownAsZero) {
    program.Start();
    program.profile.CreditUnion = 3e38f;
    program.profile.Bond = 3e38f;  // their sum is infinite in single precision
    Entry(0).SetText("40");
    ui().cmdCal->UserClick();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find("too large to be worked out"), std::string::npos);
    EXPECT_EQ(ui().lbNet->Caption(), "");
    EXPECT_EQ(ui().lbDeduct->Caption(), "");
    EXPECT_FALSE(program.dialogState.IsLoaded());
}

// A rate of 3e38 in a table gives a tax beyond single precision, which rounding would show as 0.
TEST_F(MainWindow, TableFiguresBeyondSinglePrecisionAreRefusedNamingTheTable) {
    program.Start();
    program.ActiveUser = "Worker1";
    const auto refused = [&](const std::string& named) {
        const auto before = testing::FolderContents();
        host.messages.clear();
        Entry(0).SetText("40");
        ui().cmdCal->UserClick();
        const std::string text = "The figures of this period are too large to be worked out: ";
        EXPECT_EQ(host.MessageTexts(),
                  std::vector{text + "check " + named + ".\r\nNothing was calculated."});
        EXPECT_EQ(ui().lbNet->Caption(), "");
        EXPECT_EQ(testing::FolderContents(), before);  // nothing saved
    };
    // Each table spoilt in turn, later ones first: the refusal names the first in the period.
    CityTaxSettings city = NewYorkCityDefaults();
    city.SingleBrackets.fill({0, 0, 3e38f});
    ASSERT_TRUE(WriteCityFile("Worker1.cti", city));
    refused("the city table of \"Worker1.cti\"");
    program.profile.NonCityResident = 1;
    program.nonResidentSettings.NonResidentPercent = 3e38f;  // the calculation takes it from memory
    refused("the non-resident table of \"Worker1.nci\"");
    StateTaxSettings state = NewYorkStateDefaults();
    state.SingleBrackets.fill({0, 0, 3e38f});
    ASSERT_TRUE(WriteStateFile("Worker1.sta", state, program.profile));
    refused("the state table of \"Worker1.sta\"");
    FederalTables federal;
    ASSERT_EQ(ReadFederalTableFile("Fedtaxx.tax", federal).status, FederalFileStatus::Loaded);
    federal.blocks[1].rows.fill({0, 1e6f, 0, 3e38f, 0});
    ASSERT_TRUE(WriteFederalTableFile("Fedtaxx.tax", federal));
    refused("the federal table file \"Fedtaxx.tax\"");
}

// With no employee open, a window's save would write files that belong to nobody.
TEST_F(MainWindow, SavesWithNoEmployeeOpenSaySoAndWriteNothing) {
    program.Start();
    host.onModal["frmTaxInfo"] = [this](Form&) {
        program.taxInfo.ui().cmdOk->UserClick();
        program.taxInfo.ui().Command1->UserClick();
    };
    const std::vector<std::function<void()>> saves{
        [&] { ui().cmdVac->UserClick(), program.dialogVac.ui().cmdSave->UserClick(); },
        [&] { Entry(0).SetText("40"), ui().cmdSavePrev->UserClick(); },
        [&] { ui().mnuState->UserClick(), program.dialogState.ui().cmdSave->UserClick(); },
        [&] { ui().mnuCity->UserClick(), program.dialogCity.ui().cmdSave->UserClick(); },
        [&] { ui().mnuNonCity->UserClick(), program.dialogNonCity.ui().cmdSave->UserClick(); },
        [&] { ui().mnuTaxInfoItem->UserClick(); },
        [&] {
            ui().mnuYear->UserClick();
            program.ytdGrid.ui().lbWeekNo[0]->UserMouseDown(MouseButton::Left);
            host.answers.push_back(MsgResult::Yes);  // "Do you want to save YTD"
            program.ytdGrid.ui().cmdClose->UserClick();
        }};
    const auto before = testing::FolderContents();
    for (std::size_t k = 0; k < saves.size(); ++k) {
        host.messages.clear();
        saves[k]();
        ASSERT_FALSE(host.messages.empty()) << k;
        EXPECT_EQ(host.messages.back().text, kNoEmployeeOpen) << k;
        EXPECT_EQ(testing::FolderContents(), before) << k;
    }
}

// NO STATE TAX ticked, without SAVE, counts from the next calculation, and the file that
// calculation saves holds the flag with the tables it clears.
TEST_F(MainWindow, NoStateTaxTickedWithoutSaveCountsAtOnce) {
    program.Start();
    host.answers.push_back(MsgResult::No);
    host.inputs.push_back("Worker1");
    ui().mnuNew->UserClick();
    Entry(0).SetText("40");
    ui().cmdCal->UserClick();
    ASSERT_EQ(Line(3), "6.69");
    ui().mnuState->UserClick();
    program.dialogState.ui().ckNoStateTax->UserClick();
    ui().cmdCal->UserClick();
    EXPECT_EQ(Line(3), ".00");
    StateTaxSettings saved;
    ASSERT_EQ(ReadStateFile("Worker1.sta", saved, program.profile).status,
              SettingsFileStatus::Loaded);
    ui().cmdCal->UserClick();
    EXPECT_EQ(Line(3), ".00");
    EXPECT_EQ(saved.NoStateTax, 1);
    EXPECT_EQ(saved.SingleBrackets, UnusedBracketTable());
    EXPECT_EQ(saved.MarriedBrackets, UnusedBracketTable());
    EXPECT_EQ(saved.SingleExemptions, ExemptionColumn{});
}

TEST_F(MainWindow, StateRoutineUsesTheAllowanceInMemoryAndTheWindowFeedsTheNextPeriod) {
    program.Start();
    // The window is open with an allowance typed but not saved.
    ui().mnuState->UserClick();
    program.dialogState.ui().txtCalAllow->SetText("10");
    program.dialogState.ui().txtStateAdj->SetText("1");
    ASSERT_EQ(program.stateSettings.CaliforniaAllowance, 0.0f);
    Entry(0).SetText("40");
    ui().cmdCal->UserClick();
    // New York, single, 40 hours at 7.50: 6.69 with nothing taken off; the adjustment typed in
    // the window is added at once.
    EXPECT_EQ(Line(3), "7.69");
    EXPECT_EQ(program.stateSettings.CaliforniaAllowance, 10.0f);
    EXPECT_EQ(program.stateSettings.StateAdjustment, 1.0f);
}

TEST_F(MainWindow, ClearEmptiesEntriesAndResults) {
    program.Start();
    Entry(0).SetText("40");
    ui().txtWeekEnd->SetText("12/30/05");
    ui().cmdCal->UserClick();
    ui().cmdClear->UserClick();
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(Entry(i).Text(), "") << i;
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(Line(i), "") << i;
    EXPECT_EQ(ui().lbSdi->Caption(), "");
    EXPECT_EQ(ui().lbGross->Caption(), "");
    EXPECT_EQ(ui().lbNet->Caption(), "");
    EXPECT_EQ(ui().lbTips->Caption(), "");
    EXPECT_EQ(ui().txtWeekEnd->Text(), "00/00/05");
    EXPECT_EQ(program.result.GrossPay, 0.0f);
    EXPECT_EQ(program.result.NetPay, 0.0f);
    EXPECT_EQ(program.result.FederalTax, 0.0f);
    // The File menu's Clear does the same, and drops the state adjustment, which every save
    // writes to the state file from memory.
    Entry(2).SetText("5");
    program.stateSettings.StateAdjustment = 4.5f;
    ui().mnuClearIitem->UserClick();
    EXPECT_EQ(Entry(2).Text(), "");
    EXPECT_EQ(program.stateSettings.StateAdjustment, 0.0f);
}

TEST_F(MainWindow, WeekEndingTakesEightCharacters) {
    program.Start();
    ui().txtWeekEnd->SetText("12/30/2005");
    EXPECT_EQ(ui().txtWeekEnd->Text(), "12/30/20");
    EXPECT_EQ(program.entry.WeekEnding, "12/30/20");
}

TEST_F(MainWindow, DatePickerReplacesTheClearedDateWithToday) {
    program.Start();
    host.today = {2006, 1, 13};
    bool sawToday = false;
    host.onModal["frmDateMain"] = [&](Form&) {
        sawToday = program.dateMain.ui().DTPicker1->Value() == Date{2006, 1, 13};
        EXPECT_EQ(ui().txtWeekEnd->Text(), "01/13/06");
        program.dateMain.ui().DTPicker1->UserPick({2006, 1, 20});
        EXPECT_EQ(ui().txtWeekEnd->Text(), "01/20/06");
        program.dateMain.ui().cmdOk->UserClick();
    };
    ui().txtWeekEnd->UserClick();
    EXPECT_TRUE(sawToday);
    EXPECT_FALSE(program.dateMain.IsLoaded());
    EXPECT_EQ(ui().txtWeekEnd->Text(), "01/20/06");
}

TEST_F(MainWindow, DatePickerStartsFromTheTypedDate) {
    program.Start();
    ui().txtWeekEnd->SetText("12/30/05");
    Date shown;
    host.onModal["frmDateMain"] = [&](Form&) {
        shown = program.dateMain.ui().DTPicker1->Value();
        program.dateMain.ui().cmdOk->UserClick();
    };
    ui().txtWeekEnd->UserClick();
    EXPECT_EQ(shown, (Date{2005, 12, 30}));
    EXPECT_EQ(ui().txtWeekEnd->Text(), "12/30/05");

    // An empty box shows today and Ok writes it.
    ui().txtWeekEnd->SetText("");
    ui().txtWeekEnd->UserClick();
    EXPECT_EQ(shown, host.today);
    EXPECT_EQ(ui().txtWeekEnd->Text(), "12/30/05");
}

TEST_F(MainWindow, AboutBoxShowsTheVersion) {
    program.Start();
    std::string version;
    host.onModal["frmAboutSpcl"] = [&](Form&) {
        version = program.aboutBox.ui().lblVersion->Caption();
        EXPECT_NE(program.aboutBox.ui().lblComments->Caption().find("support@wrenfield.example"),
                  std::string::npos);
        program.aboutBox.ui().cmdOK->UserClick();
    };
    ui().mnuAboutItem->UserClick();
    EXPECT_EQ(version, "Version 9.0.2");
    EXPECT_FALSE(program.aboutBox.IsVisible());
}

TEST_F(MainWindow, ExitAsksThenEnds) {
    program.Start();
    host.answers.push_back(MsgResult::No);
    ui().mnuExitItem->UserClick();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "     SAVE USER'S SETTINGS?");
    EXPECT_EQ(host.messages[0].title, "Save?");
    EXPECT_EQ(host.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_TRUE(host.quitRequested);
}

TEST_F(MainWindow, CloseBoxAsksThenEnds) {
    program.Start();
    host.answers.push_back(MsgResult::Yes);
    bool saveWindowShown = false;
    host.onModal["frmSaveUser"] = [&](Form& form) {
        saveWindowShown = true;
        program.saveUser.ui().cmdNo->UserClick();
        EXPECT_FALSE(form.IsLoaded());
    };
    EXPECT_TRUE(program.form1.UserClose());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "     SAVE USER'S SETTINGS?");
    EXPECT_TRUE(saveWindowShown);
    EXPECT_TRUE(host.quitRequested);
}

TEST_F(MainWindow, MenuTreeInDisplayOrder) {
    program.Start();
    std::vector<std::string> tree;
    for (const MenuItem* menu : program.form1.Menus()) {
        tree.push_back(menu->Caption());
        for (const MenuItem* item : menu->Children())
            tree.push_back("  " + item->Caption());
    }
    const std::vector<std::string> expected{"&File",
                                            "  &New",
                                            "  &Open",
                                            "  &Save",
                                            "  -",
                                            "  C&hecks",
                                            "  -",
                                            "  Print Sheet",
                                            "  &Print Image",
                                            "  -",
                                            "  &Clear",
                                            "  E&xit",
                                            "Fo&rms",
                                            "  &Vacation",
                                            "  OT %",
                                            "  &Year to Date",
                                            "  Pay &Run",
                                            "  Re&ports",
                                            "  E&xplain",
                                            "  &Net to Gross...",
                                            "&Options",
                                            "  H&eader",
                                            "  -",
                                            "  &User Info",
                                            "  -",
                                            "  S&tate Tax",
                                            "  C&ity Tax",
                                            "  Non City Tax",
                                            "&Help",
                                            "  He&lp",
                                            "  -",
                                            "  &About"};
    EXPECT_EQ(tree, expected);
    // Items whose windows are not built yet are greyed; the ones that work are not.
    // No item stays greyed: every window exists.
    for (const MenuItem* live :
         {ui().mnuNew, ui().mnuOpen, ui().mnuSave, ui().mnuVac, ui().mnuOtItem, ui().mnuHeader,
          ui().mnuTaxInfoItem, ui().mnuHelpItem, ui().mnuYear, ui().mnuChecks,
          ui().mnuPrintSheetItem, ui().mnuPrintItem}) {
        EXPECT_TRUE(live->Enabled()) << live->Name();
    }
    // Print Image asks for the printer first.
    host.printerAnswers = {false, true};
    ui().mnuPrintItem->UserClick();
    EXPECT_TRUE(host.imagesPrinted.empty());
    ui().mnuPrintItem->UserClick();
    EXPECT_EQ(host.imagesPrinted, std::vector<std::string>{"Form1"});
    EXPECT_TRUE(ui().mnuState->Enabled());
    EXPECT_TRUE(ui().mnuClearIitem->Enabled());
    EXPECT_TRUE(ui().mnuExitItem->Enabled());
    EXPECT_TRUE(ui().mnuAboutItem->Enabled());
}

TEST_F(MainWindow, EntryCaptionsAndOptions) {
    program.Start();
    std::vector<std::string> captions;
    for (const Label* label : ui().lbEntry)
        captions.push_back(label->Caption());
    EXPECT_EQ(captions, (std::vector<std::string>{"STRAIGHT TIME HOURS 1", "STRAIGHT TIME HOURS 2",
                                                  "O.T.", "O.T. TIME AND 1/2 (1.5X)",
                                                  "HOLIDAY IN HOURS", "VACATION - SICK, IN HOURS",
                                                  "PAY IN DOLLAR AMOUNT", "TIPS (Hours)"}));
    EXPECT_EQ(ui().opt1X->Caption(), "(1X)");
    EXPECT_EQ(ui().opt2X->Caption(), "(2X)");
    EXPECT_TRUE(ui().opt1X->Value());
    EXPECT_EQ(ui().lbClearAdd->Caption(), "    CLEAR               ADD");
    EXPECT_EQ(ui().fraResults->Caption(), "Results");
    EXPECT_EQ(ui().fraTaxes->Caption(), "Taxes/Deductions");
}

}  // namespace
}  // namespace kestrel
