// The same bytes as a weekly ".yrw" and as a bi-weekly ".yrb" through the real register reader.
// A register is taken whole or not at all, and what is taken writes out and reads back the same,
// as a file the other frequency refuses. The stored-amount reader agrees with it. (Bytes of their
// own may pass as both: blank lines are empty fields to the longer read and trailing blank lines to
// the shorter one.)
#include "fuzz/fuzz_support.h"
#include "ytd/ytd_register.h"

namespace {

using namespace kestrel;
using fuzz::Check;

YtdRegister Marked() {
    YtdRegister ytd;
    ytd.Row(52).WeekEnding = "before";
    ytd.totals.Gross = Currency::FromRaw(5);
    ytd.totals.Sdi = 2;
    return ytd;
}

std::string Written(const YtdRegister& ytd, bool weekly) {
    const RegisterGridTexts grid(ytd);
    return AnnualRecords(ytd, "Worker1", weekly, grid).Contents();
}

void Exercise(std::string_view bytes, bool weekly) {
    const std::filesystem::path file =
        fuzz::PutFile(AnnualFileName("Worker1", weekly).string(), bytes);
    YtdRegister ytd = Marked();
    // The employer's report reads the same files as stored amounts: never a file the register
    // refuses, and the same rows as the register of what it takes.
    std::vector<YtdStoredRow> stored;
    const bool storedRead = !ReadStoredAnnualFile(file, weekly, stored);
    if (const auto error = ReadAnnualFile(file, weekly, ytd)) {
        fuzz::CheckError(*error, bytes);
        Check(ytd == Marked());
        Check(!storedRead);
        return;
    }
    if (storedRead) {
        Check(stored.size() == static_cast<std::size_t>(RowCount(weekly)));
        for (std::size_t k = 0; k < stored.size(); ++k)
            Check(stored[k].WeekEnding == ytd.rows[k].WeekEnding);
    }
    // The totals the file does not hold stay as last computed.
    Check(ytd.totals.Sdi == 2.0F);
    // A bi-weekly register never has rows past its 26th.
    if (!weekly) Check(ytd.Row(27) == YtdRow{} && ytd.Row(52) == YtdRow{});
    fuzz::CheckEnds(file.filename().string(), bytes, [&](const std::filesystem::path& name) {
        YtdRegister fresh;
        return !ReadAnnualFile(name, weekly, fresh).has_value();
    });
    const std::string written = Written(ytd, weekly);
    YtdRegister again;
    Check(!ReadAnnualFile(fuzz::PutFile(file.filename().string(), written), weekly, again));
    Check(Written(again, weekly) == written);
    Check(ReadAnnualFile(fuzz::PutFile(file.filename().string(), written), !weekly, again)
              .has_value());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::Bytes(data, size);
    Exercise(bytes, true);
    Exercise(bytes, false);
    return 0;
}
