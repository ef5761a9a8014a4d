#include "calc/federal_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "platform/scripted_host.h"
#include "support/temp_dir.h"

namespace kestrel {
namespace {

using testing::DemoFolder;
using testing::ReadFile;
using testing::TempWorkDir;
using testing::WriteFile;

std::filesystem::path DemoTable() {
    return DemoFolder() / "Fedtaxx.tax";
}

FederalTables ShippedTables() {
    FederalTables tables;
    const auto result = ReadFederalTableFile(DemoTable(), tables);
    EXPECT_EQ(result.status, FederalFileStatus::Loaded) << result.error.reason;
    return tables;
}

TEST(FederalTableFile, ShippedFileHoldsThe2005Tables) {
    const FederalTables t = ShippedTables();
    EXPECT_EQ(t.TableVersion, "2005 Circular E");
    const auto& singleWeekly = t.Block(FederalBlockId::SingleWeekly).rows;
    EXPECT_EQ(singleWeekly[0].Over, 51.0f);
    EXPECT_EQ(singleWeekly[0].NotOver, 188.0f);
    EXPECT_EQ(singleWeekly[0].Percent, 0.1f);
    EXPECT_EQ(singleWeekly[0].Base, 0.0f);
    EXPECT_EQ(singleWeekly[5].Over, 6313.0f);
    EXPECT_EQ(singleWeekly[5].ExcessOver, 6313.0f);
    EXPECT_EQ(singleWeekly[5].Base, 1821.86f);
    const auto& marriedBiWeekly = t.Block(FederalBlockId::MarriedBiWeekly).rows;
    EXPECT_EQ(marriedBiWeekly[3].Over, 4644.0f);
    EXPECT_EQ(marriedBiWeekly[3].Base, 832.15f);
    EXPECT_EQ(marriedBiWeekly[3].Percent, 0.28f);
    EXPECT_EQ(t.allowances[0], 0.0f);
    EXPECT_EQ(t.allowances[1], 61.54f);
    EXPECT_EQ(t.allowances[9], 553.86f);
    EXPECT_EQ(t.allowances[10], 0.0f);
    EXPECT_EQ(t.allowances[19], 553.86f);
}

TEST(FederalTableFile, ShippedFileIsExactlyWhatTheWriterWrites) {
    TempWorkDir dir;
    const FederalTables tables = ShippedTables();
    ASSERT_TRUE(WriteFederalTableFile("copy.tax", tables));
    const std::string written = ReadFile("copy.tax");
    EXPECT_EQ(written, ReadFile(DemoTable()));
    // 35 lines of the layout: 7 per block, 6 of allowances, 1 with the version.
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 35);
}

TEST(FederalTableFile, SeparatorsMayHoldAnyField) {
    TempWorkDir dir;
    std::string text = ReadFile(DemoTable());
    const std::string separator = "\"End of Single bi-weekly\"";
    text.replace(text.find(separator), separator.size(), "0");
    WriteFile("Fedtaxx.tax", text);
    FederalTables tables;
    EXPECT_EQ(ReadFederalTableFile("Fedtaxx.tax", tables).status, FederalFileStatus::Loaded);
    EXPECT_EQ(tables.Block(FederalBlockId::SingleWeekly).rows[0].Over, 51.0f);
}

TEST(LoadFederalTables, MissingFileShowsTheMessageAndKeepsTheTables) {
    TempWorkDir dir;
    ScriptedHost host;
    FederalTables tables = ShippedTables();
    EXPECT_FALSE(LoadFederalTables(host, tables));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              "You have illegally altered this program\r\nand destroyed data.\r\n"
              "Contact WRENFIELD WORKS at\r\nsupport@wrenfield.example");
    EXPECT_EQ(host.messages[0].icon, MsgIcon::Warning);
    EXPECT_EQ(host.messages[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(tables.allowances[1], 61.54f);
}

TEST(LoadFederalTables, GoodFileLoadsWithoutAMessage) {
    TempWorkDir dir;
    std::filesystem::copy_file(DemoTable(), "Fedtaxx.tax");
    ScriptedHost host;
    FederalTables tables;
    EXPECT_TRUE(LoadFederalTables(host, tables));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(tables.Block(FederalBlockId::MarriedWeekly).rows[5].Base, 1698.56f);
}

// A table that opens but cannot be read whole must not be used half-filled.
struct DamagedTable {
    const char* name;
    std::function<std::string(std::string)> damage;
};

class LoadDamagedFederalTables : public ::testing::TestWithParam<DamagedTable> {};

TEST_P(LoadDamagedFederalTables, NamesTheFileAndLeavesEveryValueZero) {
    TempWorkDir dir;
    WriteFile("Fedtaxx.tax", GetParam().damage(ReadFile(DemoTable())));
    ScriptedHost host;
    FederalTables tables = ShippedTables();
    EXPECT_FALSE(LoadFederalTables(host, tables));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find("Fedtaxx.tax"), std::string::npos)
        << host.messages[0].text;
    for (const auto& block : tables.blocks) {
        for (const auto& row : block.rows) {
            EXPECT_EQ(row.Over, 0.0f);
            EXPECT_EQ(row.Percent, 0.0f);
            EXPECT_EQ(row.Base, 0.0f);
        }
    }
    for (float amount : tables.allowances)
        EXPECT_EQ(amount, 0.0f);
}

INSTANTIATE_TEST_SUITE_P(
    Damage, LoadDamagedFederalTables,
    ::testing::Values(DamagedTable{"EndsInTheMarriedBlocks",
                                   [](std::string t) { return t.substr(0, t.find("308,869")); }},
                      DamagedTable{"EndsBeforeTheVersion",
                                   [](std::string t) { return t.substr(0, t.rfind(",\"2005")); }},
                      DamagedTable{
                          "LetterWhereARateBelongs",
                          [](std::string t) { return t.replace(t.find("0.28"), 4, "abc"); }},
                      DamagedTable{"Empty", [](std::string) { return std::string(); }}),
    [](const auto& info) { return std::string(info.param.name); });

struct Bracket {
    const char* name;
    FederalBlockId block;
    float wages;
    float tax;
};

class FederalWithholdingEdges : public ::testing::TestWithParam<Bracket> {};

TEST_P(FederalWithholdingEdges, MatchesTheCircular) {
    static const FederalTables tables = ShippedTables();
    const Bracket& c = GetParam();
    const bool married =
        c.block == FederalBlockId::MarriedBiWeekly || c.block == FederalBlockId::MarriedWeekly;
    const bool weekly =
        c.block == FederalBlockId::SingleWeekly || c.block == FederalBlockId::MarriedWeekly;
    const float tax = FederalWithholding(tables, married, weekly, !weekly, c.wages);
    EXPECT_NEAR(tax, c.tax, 0.0006) << "wages " << c.wages;
}

// Each block at the bottom of the table, at a bracket's top, one cent above it, and in the
// open-ended last row.
INSTANTIATE_TEST_SUITE_P(
    AllBlocks, FederalWithholdingEdges,
    ::testing::Values(
        Bracket{"SingleWeeklyAtTheBottom", FederalBlockId::SingleWeekly, 51, 0},
        Bracket{"SingleWeeklyNegative", FederalBlockId::SingleWeekly, -20, 0},
        Bracket{"SingleWeeklyTopOfRow1", FederalBlockId::SingleWeekly, 188, 13.7f},
        Bracket{"SingleWeeklyCentAboveRow1", FederalBlockId::SingleWeekly, 188.01f, 13.7015f},
        Bracket{"SingleWeekly300", FederalBlockId::SingleWeekly, 300, 30.5f},
        Bracket{"SingleWeeklyTopOfRow5", FederalBlockId::SingleWeekly, 6313, 1821.86f},
        Bracket{"SingleWeeklyRow6", FederalBlockId::SingleWeekly, 7313, 2171.86f},
        Bracket{"SingleBiWeeklyAtTheBottom", FederalBlockId::SingleBiWeekly, 102, 0},
        Bracket{"SingleBiWeeklyTopOfRow1", FederalBlockId::SingleBiWeekly, 377, 27.5f},
        Bracket{"SingleBiWeeklyCentAboveRow2", FederalBlockId::SingleBiWeekly, 1212.01f, 152.7525f},
        Bracket{"SingleBiWeeklyTopOfRow5", FederalBlockId::SingleBiWeekly, 12625, 3643.31f},
        Bracket{"MarriedBiWeeklyAtTheBottom", FederalBlockId::MarriedBiWeekly, 308, 0},
        Bracket{"MarriedBiWeeklyTopOfRow1", FederalBlockId::MarriedBiWeekly, 869, 56.1f},
        Bracket{"MarriedBiWeeklyTopOfRow3", FederalBlockId::MarriedBiWeekly, 4644, 832.15f},
        Bracket{"MarriedBiWeeklyCentAboveRow3", FederalBlockId::MarriedBiWeekly, 4644.01f,
                832.1528f},
        Bracket{"MarriedBiWeeklyRow6", FederalBlockId::MarriedBiWeekly, 12818, 3397.19f},
        Bracket{"MarriedWeeklyAtTheBottom", FederalBlockId::MarriedWeekly, 154, 0},
        Bracket{"MarriedWeeklyTopOfRow2", FederalBlockId::MarriedWeekly, 1273, 153.8f},
        Bracket{"MarriedWeeklyCentAboveRow2", FederalBlockId::MarriedWeekly, 1273.01f, 153.8025f},
        Bracket{"MarriedWeeklyTopOfRow5", FederalBlockId::MarriedWeekly, 6409, 1698.56f}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FederalWithholding, FrequencyFlagsPickTheBlock) {
    const FederalTables tables = ShippedTables();
    // 300 a week is taxed by the weekly table, 300 a fortnight by the bi-weekly one.
    EXPECT_NEAR(FederalWithholding(tables, false, true, false, 300), 30.5f, 0.0005);
    EXPECT_NEAR(FederalWithholding(tables, false, false, true, 300), 19.8f, 0.0005);
    // No frequency: no block, no tax.
    EXPECT_EQ(FederalWithholding(tables, false, false, false, 300), 0.0f);
    // Both: the weekly lookup runs last and wins.
    EXPECT_NEAR(FederalWithholding(tables, false, true, true, 300), 30.5f, 0.0005);
}

TEST(FederalAllowanceLookup, PicksTheStatusAndCount) {
    FederalTables tables = ShippedTables();
    tables.allowances[13] = 999;  // Married, 3: proves the married half is used
    EXPECT_EQ(FederalAllowanceLookup(tables, "Single", "3"), 184.62f);
    EXPECT_EQ(FederalAllowanceLookup(tables, "Married", "3"), 999.0f);
    EXPECT_EQ(FederalAllowanceLookup(tables, "Single", "0"), 0.0f);
    EXPECT_EQ(FederalAllowanceLookup(tables, "Single", "9"), 553.86f);
    // Anything but "Single" is married; counts outside 0-9 take the nearest.
    EXPECT_EQ(FederalAllowanceLookup(tables, "single", "3"), 999.0f);
    EXPECT_EQ(FederalAllowanceLookup(tables, "Single", "12"), 553.86f);
    EXPECT_EQ(FederalAllowanceLookup(tables, "Single", ""), 0.0f);
}

TEST(FederalTables, ClearingKeepsTheVersion) {
    FederalTables tables = ShippedTables();
    tables.ClearValues();
    EXPECT_EQ(tables.TableVersion, "2005 Circular E");
    EXPECT_EQ(tables.allowances[5], 0.0f);
    EXPECT_EQ(tables.Block(FederalBlockId::SingleWeekly).rows[2].Base, 0.0f);
}

}  // namespace
}  // namespace kestrel
