// kestrel-calc's option parser as it is, fed argument lists: the input's bytes split at NUL bytes.
// Beyond the sanitizers' checks: a run ends only in a result, a usage error or a failure with an
// exit status of its own; a failure's message holds no control characters; and a result never
// holds a state filing status the calculation does not know. It works in a folder of its own (so
// the corpus and artifact paths given to it must be absolute) that holds one file of each kind
// the options name, so their loading is driven too.

// Without main() the printing half of the file goes unused here.
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wunused-function"
#define KESTREL_CALC_WITHOUT_MAIN
#include "app/calc_main.cpp"
#undef KESTREL_CALC_WITHOUT_MAIN
#pragma clang diagnostic pop

#include <unistd.h>

#include "fuzz/fuzz_support.h"

namespace {

using kestrel::fuzz::Check;

void MakeFolder() {
    Check(::chdir(kestrel::fuzz::Folder().c_str()) == 0);
    kestrel::EmployeeProfile married = kestrel::NewEmployeeProfile();
    married.StateStatus = "Married";
    kestrel::fuzz::PutFile(
        "s.sta",
        kestrel::StateRecords("s.sta", kestrel::NewYorkStateDefaults(), married).Contents());
    kestrel::fuzz::PutFile(
        "c.cti", kestrel::CityRecords("c.cti", kestrel::NewYorkCityDefaults()).Contents());
    kestrel::fuzz::PutFile(
        "n.nci", kestrel::NonResidentRecords("n.nci", kestrel::NonResidentDefaults()).Contents());
    kestrel::YtdRegister ytd;
    ytd.Row(1).Gross = 500;
    ytd.totals.Gross = kestrel::Currency::FromRaw(5000000);
    const kestrel::RegisterGridTexts grid(ytd);
    for (const bool weekly : {true, false}) {
        const std::string name = weekly ? "w.yrw" : "b.yrb";
        kestrel::fuzz::PutFile(name, kestrel::AnnualRecords(ytd, "w", weekly, grid).Contents());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = (MakeFolder(), true);
    Check(ready);
    const std::string_view bytes = kestrel::fuzz::Bytes(data, size);
    std::vector<std::string_view> args;
    for (std::size_t start = 0; !bytes.empty() && start <= bytes.size() && args.size() < 64;) {
        const std::size_t end = std::min(bytes.find('\0', start), bytes.size());
        args.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    try {
        const Request request = ParseArguments(args);
        const std::string& status = request.profile.StateStatus;
        Check(status == "Single" || status == "Married");
    } catch (const UsageError& error) {
        Check(!error.message.empty());
    } catch (const Failure& failure) {
        Check(failure.status == 1 || failure.status == 2);
        Check(!failure.message.empty());
        for (char c : failure.message)
            Check(c == '\n' || (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F));
    }
    return 0;
}
