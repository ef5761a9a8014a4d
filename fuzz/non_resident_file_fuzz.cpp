// A ".nci" through the real loader; what it takes writes out and reads back the same.
#include "fuzz/fuzz_support.h"
#include "settings/non_resident_tax_settings.h"

namespace {

using namespace kestrel;
using fuzz::Check;

constexpr std::string_view kName = "Worker1.nci";

NonResidentTaxSettings Marked() {
    NonResidentTaxSettings table;
    table.BiWeeklyMinimum[0] = 9;
    table.NonResidentPercent = 0.5F;
    return table;
}

bool Accepts(const std::filesystem::path& file) {
    NonResidentTaxSettings table;
    return ReadNonResidentFile(file, table).status == SettingsFileStatus::Loaded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::Bytes(data, size);
    const std::filesystem::path file = fuzz::PutFile(kName, bytes);
    NonResidentTaxSettings table = Marked();
    const SettingsFileResult result = ReadNonResidentFile(file, table);
    Check(result.status != SettingsFileStatus::Missing);
    if (result.status == SettingsFileStatus::Corrupted) {
        fuzz::CheckError(result.error, bytes);
        if (result.error.line == 0) Check(table == Marked());
        // The rate is taken only from a file that ends after it.
        if (result.error.field <= 33) Check(table.NonResidentPercent == 0.5F);
        return 0;
    }
    fuzz::CheckEnds(kName, bytes, Accepts);

    const std::string written = NonResidentRecords(file, table).Contents();
    NonResidentTaxSettings again;
    Check(ReadNonResidentFile(fuzz::PutFile(kName, written), again).status ==
          SettingsFileStatus::Loaded);
    Check(NonResidentRecords(file, again).Contents() == written);
    return 0;
}
