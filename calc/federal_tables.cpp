#include "calc/federal_tables.h"

#include <algorithm>
#include <cmath>

namespace kestrel {

void FederalTables::ClearValues() {
    blocks = {};
    allowances = {};
}

namespace {

// Rows 1 and 6 have four fields, rows 2 to 5 five; a separator field follows each block. The
// reader keeps failing after its first failure, so the fields are read straight through. Every
// number must be written out: a blank read as 0 would withhold nothing without a word.
bool ReadBlock(RecordReader& in, FederalBlock& block) {
    auto& first = block.rows[0];
    in.RequiredSingle(first.Over);
    in.RequiredSingle(first.NotOver);
    in.RequiredSingle(first.ExcessOver);
    in.RequiredSingle(first.Percent);
    for (std::size_t r = 1; r < 5; ++r) {
        auto& row = block.rows[r];
        in.RequiredSingle(row.Over);
        in.RequiredSingle(row.NotOver);
        in.RequiredSingle(row.ExcessOver);
        in.RequiredSingle(row.Percent);
        in.RequiredSingle(row.Base);
    }
    auto& last = block.rows[5];
    in.RequiredSingle(last.Over);
    in.RequiredSingle(last.ExcessOver);
    in.RequiredSingle(last.Percent);
    in.RequiredSingle(last.Base);
    in.Skip();
    return in.Ok();
}

constexpr std::array<const char*, 4> kBlockTitles{"Single bi-weekly", "Single weekly",
                                                  "Married bi-weekly", "Married weekly"};

}  // namespace

FederalFileResult ReadFederalTableFile(const std::filesystem::path& path, FederalTables& tables) {
    if (FileMissing(path)) return {FederalFileStatus::Missing, {}};
    RecordReader in = RecordReader::Open(path);
    FederalTables read;
    for (auto& block : read.blocks) {
        if (!ReadBlock(in, block)) break;
    }
    for (float& amount : read.allowances) {
        if (!in.RequiredSingle(amount)) break;
    }
    in.Text(read.TableVersion);
    in.Finish();
    if (!in.Ok()) return {FederalFileStatus::Malformed, *in.Error()};
    tables = read;
    return {FederalFileStatus::Loaded, {}};
}

RecordWriter FederalTableRecords(const std::filesystem::path& path, const FederalTables& tables) {
    RecordWriter out(path);
    for (std::size_t b = 0; b < tables.blocks.size(); ++b) {
        const auto& rows = tables.blocks[b].rows;
        out.Line({field::Single(rows[0].Over), field::Single(rows[0].NotOver),
                  field::Single(rows[0].ExcessOver), field::Single(rows[0].Percent)});
        for (std::size_t r = 1; r < 5; ++r) {
            out.Line({field::Single(rows[r].Over), field::Single(rows[r].NotOver),
                      field::Single(rows[r].ExcessOver), field::Single(rows[r].Percent),
                      field::Single(rows[r].Base)});
        }
        out.Line({field::Single(rows[5].Over), field::Single(rows[5].ExcessOver),
                  field::Single(rows[5].Percent), field::Single(rows[5].Base)});
        out.Line({field::Text(std::string("End of ") + kBlockTitles[b])});
    }
    for (std::size_t i = 0; i < 18; i += 3) {
        out.Line({field::Single(tables.allowances[i]), field::Single(tables.allowances[i + 1]),
                  field::Single(tables.allowances[i + 2])});
    }
    out.Line({field::Single(tables.allowances[18]), field::Single(tables.allowances[19]),
              field::Text(tables.TableVersion)});
    return out;
}

WriteResult WriteFederalTableFile(const std::filesystem::path& path, const FederalTables& tables) {
    return FederalTableRecords(path, tables).Commit();
}

std::string MissingFederalTableMessage() {
    return std::string("You have illegally altered this program\r\n") + "and destroyed data.\r\n" +
           "Contact WRENFIELD WORKS at\r\n" + std::string(kSupportAddress);
}

std::string MalformedFederalTableMessage(std::string_view fileName, const ReadError& error) {
    std::string text = "The federal table file " + std::string(fileName);
    // Line 0: the name holds something that cannot be read at all.
    if (error.line == 0) {
        text += " cannot be read (" + error.reason + ").";
    } else {
        text += " is damaged (line " + std::to_string(error.line) + ", field " +
                std::to_string(error.field) + ": " + error.reason + ").";
    }
    return text + "\r\nNo federal tax can be withheld until it is replaced.";
}

bool FederalTablesPresent(Host& host) {
    if (FileExists(std::filesystem::path(kFederalTableFile))) return true;
    host.MsgBox(MissingFederalTableMessage(), MsgButtons::Ok, MsgIcon::Warning, kAppTitle);
    return false;
}

bool LoadFederalTables(Host& host, FederalTables& tables) {
    if (!FederalTablesPresent(host)) return false;
    const auto result = ReadFederalTableFile(std::filesystem::path(kFederalTableFile), tables);
    if (result.status == FederalFileStatus::Loaded) return true;
    // A table that opens but cannot be read whole would withhold from a half-filled table.
    tables.ClearValues();
    const std::string_view name = kFederalTableFile;
    host.MsgBox(result.status == FederalFileStatus::Missing
                    ? MissingFederalTableMessage()
                    : MalformedFederalTableMessage(name, result.error),
                MsgButtons::Ok, MsgIcon::Warning, kAppTitle);
    return false;
}

float FederalAllowanceLookup(const FederalTables& tables, std::string_view status,
                             std::string_view allowances) {
    const double count = std::trunc(LeadingNumber(allowances));
    const auto index = static_cast<std::size_t>(std::clamp(count, 0.0, 9.0));
    return tables.allowances[(status == "Single" ? 0 : 10) + index];
}

namespace {

// Each matching row overwrites the result; wages at or below row 1 leave it as it was. The row
// that set the tax, from 0, or -1.
float LookUp(const FederalBlock& block, float wages, float tax, int& matched) {
    // Every figure is a single, so every step of a row's tax is rounded to single.
    const auto& rows = block.rows;
    if (wages > rows[0].Over && wages <= rows[0].NotOver) {
        tax = (wages - rows[0].ExcessOver) * rows[0].Percent;
        matched = 0;
    }
    for (std::size_t r = 1; r < 5; ++r) {
        if (wages > rows[r].Over && wages <= rows[r].NotOver) {
            tax = (wages - rows[r].ExcessOver) * rows[r].Percent + rows[r].Base;
            matched = static_cast<int>(r);
        }
    }
    if (wages > rows[5].Over) {
        tax = (wages - rows[5].ExcessOver) * rows[5].Percent + rows[5].Base;
        matched = 5;
    }
    return tax;
}

void TraceRow(CalcTrace& trace, const FederalBlock& block, std::string_view name, float wages,
              int matched, float tax) {
    if (matched < 0) {
        trace.Add(TraceFigure::FederalTax, "table row",
                  {{"wages", wages}, {"over", block.rows[0].Over}}, tax,
                  std::string(name) + ": wages " + TraceAmount(wages) + " not over " +
                      TraceNumber(block.rows[0].Over) +
                      ", no tax from the table = " + TraceAmount(tax));
        return;
    }
    const FederalBracketRow& row = block.rows[static_cast<std::size_t>(matched)];
    trace.Add(TraceFigure::FederalTax, "table row",
              {{"row", static_cast<double>(matched + 1)},
               {"wages", wages},
               {"Over", row.Over},
               {"ExcessOver", row.ExcessOver},
               {"Percent", row.Percent},
               {"Base", row.Base}},
              tax,
              std::string(name) + " row " + std::to_string(matched + 1) + ": over " +
                  TraceNumber(row.Over) + ", " + TraceAmount(row.Base) + " + " +
                  TracePercent(row.Percent) + " of (" + TraceAmount(wages) + " - " +
                  TraceNumber(row.ExcessOver) + ") = " + TraceAmount(tax));
}

}  // namespace

float FederalWithholding(const FederalTables& tables, bool married, bool weeklyPay,
                         bool biWeeklyPay, float wages, CalcTrace* trace) {
    float tax = 0;
    const std::string_view status = married ? "Married" : "Single";
    const auto apply = [&](FederalBlockId id, std::string_view frequency) {
        int matched = -1;
        tax = LookUp(tables.Block(id), wages, tax, matched);
        if (trace != nullptr) {
            TraceRow(*trace, tables.Block(id), std::string(status) + " " + std::string(frequency),
                     wages, matched, tax);
        }
    };
    if (biWeeklyPay) {
        apply(married ? FederalBlockId::MarriedBiWeekly : FederalBlockId::SingleBiWeekly,
              "bi-weekly");
    }
    if (weeklyPay) {
        apply(married ? FederalBlockId::MarriedWeekly : FederalBlockId::SingleWeekly, "weekly");
    }
    return tax;
}

}  // namespace kestrel
