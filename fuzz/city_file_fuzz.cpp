// A ".cti" through the real loader; what it takes writes out and reads back the same.
#include "fuzz/fuzz_support.h"
#include "settings/city_tax_settings.h"

namespace {

using namespace kestrel;
using fuzz::Check;

constexpr std::string_view kName = "Worker1.cti";

CityTaxSettings Marked() {
    CityTaxSettings city;
    city.MarriedExemptions[9] = 42;
    city.NoLocalTax = 5;
    return city;
}

bool Accepts(const std::filesystem::path& file) {
    CityTaxSettings city;
    return ReadCityFile(file, city).status == SettingsFileStatus::Loaded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::Bytes(data, size);
    const std::filesystem::path file = fuzz::PutFile(kName, bytes);
    CityTaxSettings city = Marked();
    const SettingsFileResult result = ReadCityFile(file, city);
    Check(result.status != SettingsFileStatus::Missing);
    if (result.status == SettingsFileStatus::Corrupted) {
        fuzz::CheckError(result.error, bytes);
        if (result.error.line == 0) Check(city == Marked());
        // The last field is taken only from a file that ends after it.
        if (result.error.field <= 81) Check(city.MarriedExemptions[9] == 42);
        return 0;
    }
    fuzz::CheckEnds(kName, bytes, Accepts);

    const std::string written = CityRecords(file, city).Contents();
    CityTaxSettings again;
    Check(ReadCityFile(fuzz::PutFile(kName, written), again).status == SettingsFileStatus::Loaded);
    Check(CityRecords(file, again).Contents() == written);
    return 0;
}
