// "Header.sav" through the real loader the header window uses: four texts whole or nothing; what
// it takes writes out and reads back the same.
#include "employee/company_header.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace kestrel;
using fuzz::Check;

constexpr std::string_view kName = "Header.sav";

const CompanyHeader kMarked{"before", "", "", "id"};

bool Accepts(const std::filesystem::path& file) {
    CompanyHeader header;
    return !LoadCompanyHeader(header, file).has_value();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::Bytes(data, size);
    const std::filesystem::path file = fuzz::PutFile(kName, bytes);
    CompanyHeader header = kMarked;
    if (const std::optional<ReadError> error = LoadCompanyHeader(header, file)) {
        fuzz::CheckError(*error, bytes);
        Check(header == kMarked);
        return 0;
    }
    fuzz::CheckEnds(kName, bytes, Accepts);
    const std::string written = HeaderRecords(header, file).Contents();
    CompanyHeader again;
    Check(!LoadCompanyHeader(again, fuzz::PutFile(kName, written)).has_value());
    Check(HeaderRecords(again, file).Contents() == written);
    return 0;
}
