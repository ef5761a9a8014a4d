// "Fedtaxx.tax" through the real loader. A table is taken whole or not at all; what was taken,
// written out in the file's layout, is taken again and writes the same bytes.
#include "calc/federal_tables.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace kestrel;
using fuzz::Check;

constexpr std::string_view kName = "Fedtaxx.tax";

FederalTables Marked() {
    FederalTables tables;
    tables.allowances[3] = 1234.5F;
    tables.blocks[2].rows[4].Base = -7;
    tables.TableVersion = "before";
    return tables;
}

bool Accepts(const std::filesystem::path& file) {
    FederalTables tables;
    return ReadFederalTableFile(file, tables).status == FederalFileStatus::Loaded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::Bytes(data, size);
    const std::filesystem::path file = fuzz::PutFile(kName, bytes);
    FederalTables tables = Marked();
    const FederalFileResult result = ReadFederalTableFile(file, tables);
    Check(result.status != FederalFileStatus::Missing);
    if (result.status == FederalFileStatus::Malformed) {
        fuzz::CheckError(result.error, bytes);
        Check(tables.TableVersion == "before" && tables.allowances[3] == 1234.5F &&
              tables.blocks[2].rows[4].Base == -7);
        return 0;
    }
    fuzz::CheckEnds(kName, bytes, Accepts);

    const std::string written = FederalTableRecords(file, tables).Contents();
    FederalTables again;
    Check(ReadFederalTableFile(fuzz::PutFile(kName, written), again).status ==
          FederalFileStatus::Loaded);
    Check(FederalTableRecords(file, again).Contents() == written);
    return 0;
}
