// A ".prv" through the real reader "Get Pay Period" uses: eight numbers whole or nothing; what it
// takes writes out and reads back the same.
#include "employee/pay_period.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace kestrel;
using fuzz::Check;

constexpr std::string_view kName = "12_30_05Worker1.prv";

bool Accepts(const std::filesystem::path& file) {
    std::array<float, 8> entries{};
    return !ReadPayPeriod(file, entries).has_value();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::Bytes(data, size);
    const std::filesystem::path file = fuzz::PutFile(kName, bytes);
    const std::array<float, 8> marked{1, 2, 3, 4, 5, 6, 7, 8};
    std::array<float, 8> entries = marked;
    if (const std::optional<ReadError> error = ReadPayPeriod(file, entries)) {
        fuzz::CheckError(*error, bytes);
        Check(entries == marked);
        return 0;
    }
    fuzz::CheckEnds(kName, bytes, Accepts);
    const std::string written = PayPeriodRecords(file, entries).Contents();
    std::array<float, 8> again{};
    Check(!ReadPayPeriod(fuzz::PutFile(kName, written), again).has_value());
    Check(PayPeriodRecords(file, again).Contents() == written);
    return 0;
}
