// The same bytes as each of the three profile files (".use", ".and", ".cfe") through their real
// readers. Each reader takes its file whole or leaves every record as it was; what it takes writes
// out and reads back the same.
#include "employee/profile_files.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace kestrel;
using fuzz::Check;

// Everything the three files can change, with a mark in each part.
struct Records {
    EmployeeProfile profile = NewEmployeeProfile();
    OvertimeAllowance overtime;
    StateTaxSettings state;
    PrintOffsets offsets{3, 4};
    ProfileReserved reserved;

    Records() {
        profile.EmployeeName = "before";
        overtime.AnnualSalary = 11440;
        state.CaliforniaAllowance = 9;
    }
};

// What the overtime window would hand the writer for these figures.
OvertimeBoxTexts Boxes(const OvertimeAllowance& overtime) {
    return {SingleText(overtime.AnnualSalary), SingleText(overtime.ApprovedPercent), "$0.00",
            "$0.00"};
}

// The three files as they would be written from the records.
std::string Written(const Records& r) {
    return UseRecords("w.use", r.profile, r.overtime, Boxes(r.overtime), r.reserved).Contents() +
           AndRecords("w.and", r.profile, r.state, r.offsets, r.reserved).Contents() +
           CfeRecords("w.cfe", r.profile).Contents();
}

struct Kind {
    std::string_view name;
    std::optional<ReadError> (*read)(const std::filesystem::path&, Records&);
    std::string (*write)(const Records&);
};

const Kind kKinds[] = {
    {"Worker1.use",
     [](const std::filesystem::path& file, Records& r) {
         return ReadUseFile(file, r.profile, r.overtime, r.reserved);
     },
     [](const Records& r) {
         return UseRecords("w.use", r.profile, r.overtime, Boxes(r.overtime), r.reserved)
             .Contents();
     }},
    {"Worker1.and",
     [](const std::filesystem::path& file, Records& r) {
         return ReadAndFile(file, r.profile, r.state, r.offsets, r.reserved);
     },
     [](const Records& r) {
         return AndRecords("w.and", r.profile, r.state, r.offsets, r.reserved).Contents();
     }},
    {"Worker1.cfe",
     [](const std::filesystem::path& file, Records& r) { return ReadCfeFile(file, r.profile); },
     [](const Records& r) { return CfeRecords("w.cfe", r.profile).Contents(); }},
};

void Exercise(const Kind& kind, std::string_view bytes) {
    Records records;
    const std::string before = Written(records);
    const std::optional<ReadError> error = kind.read(fuzz::PutFile(kind.name, bytes), records);
    if (error) {
        fuzz::CheckError(*error, bytes);
        Check(Written(records) == before);
        return;
    }
    fuzz::CheckEnds(kind.name, bytes, [&](const std::filesystem::path& file) {
        Records fresh;
        return !kind.read(file, fresh).has_value();
    });
    const std::string written = kind.write(records);
    Records again;
    Check(!kind.read(fuzz::PutFile(kind.name, written), again).has_value());
    Check(kind.write(again) == written);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::Bytes(data, size);
    for (const Kind& kind : kKinds)
        Exercise(kind, bytes);
    return 0;
}
