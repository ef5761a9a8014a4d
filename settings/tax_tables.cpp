#include "settings/tax_tables.h"

#include <cstddef>

#include "employee/record_file.h"

namespace kestrel {

BracketTable UnusedBracketTable() {
    BracketTable table;
    for (BracketRow& row : table)
        row = BracketRow{kUnusedMinimum, 0, 0};
    return table;
}

void ReadTaxTables(RecordReader& in, BracketTable& single, BracketTable& married,
                   std::int16_t& noTax, ExemptionColumn& singleExemptions,
                   ExemptionColumn& marriedExemptions) {
    for (std::size_t i = 0; i < single.size(); ++i) {
        in.Single(single[i].Minimum);
        in.Single(single[i].Amount);
        in.Single(single[i].Percent);
        in.Single(married[i].Minimum);
        in.Single(married[i].Amount);
        in.Single(married[i].Percent);
    }
    in.Int16(noTax);
    for (std::size_t i = 0; i < singleExemptions.size(); ++i) {
        in.Single(singleExemptions[i]);
        in.Single(marriedExemptions[i]);
    }
}

void WriteTaxTables(RecordWriter& out, const BracketTable& single, const BracketTable& married,
                    std::int16_t noTax, const ExemptionColumn& singleExemptions,
                    const ExemptionColumn& marriedExemptions) {
    for (std::size_t i = 0; i < single.size(); ++i) {
        out.Line({field::Single(single[i].Minimum), field::Single(single[i].Amount),
                  field::Single(single[i].Percent), field::Single(married[i].Minimum),
                  field::Single(married[i].Amount), field::Single(married[i].Percent)});
    }
    out.Line({field::Int16(noTax)});
    for (std::size_t i = 0; i < singleExemptions.size(); ++i) {
        out.Line({field::Single(singleExemptions[i]), field::Single(marriedExemptions[i])});
    }
}

}  // namespace kestrel
