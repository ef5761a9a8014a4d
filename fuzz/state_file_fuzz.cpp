// A ".sta" through the real loader, the one the State Tax window and kestrel-calc use. The
// status it takes is one the calculation knows; what it takes writes out and reads back the same;
// what it refuses leaves the fields it carries at a new employee's values.
#include "fuzz/fuzz_support.h"
#include "settings/state_tax_settings.h"

namespace {

using namespace kestrel;
using fuzz::Check;

constexpr std::string_view kName = "Worker1.sta";

StateTaxSettings MarkedSettings() {
    StateTaxSettings settings;
    settings.SingleBrackets[0].Minimum = 11;
    settings.MissouriFlag = 7;
    return settings;
}

EmployeeProfile MarkedProfile() {
    EmployeeProfile profile;
    profile.StateStatus = "before";
    profile.AdditionalFederal = 3;
    return profile;
}

bool Accepts(const std::filesystem::path& file) {
    StateTaxSettings settings;
    EmployeeProfile profile;
    return ReadStateFile(file, settings, profile).status == SettingsFileStatus::Loaded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::Bytes(data, size);
    const std::filesystem::path file = fuzz::PutFile(kName, bytes);
    StateTaxSettings settings = MarkedSettings();
    EmployeeProfile profile = MarkedProfile();
    const SettingsFileResult result = ReadStateFile(file, settings, profile);
    Check(result.status != SettingsFileStatus::Missing);
    if (result.status == SettingsFileStatus::Corrupted) {
        fuzz::CheckError(result.error, bytes);
        // Nothing of a refused file is kept: every field it carries holds a new employee's value.
        Check(StateRecords(file, settings, profile).Contents() ==
              StateRecords(file, NewYorkStateDefaults(), NewEmployeeProfile()).Contents());
        return 0;
    }
    Check(profile.StateStatus == "Single" || profile.StateStatus == "Married");
    fuzz::CheckEnds(kName, bytes, Accepts);

    const std::string written = StateRecords(file, settings, profile).Contents();
    StateTaxSettings settingsAgain;
    EmployeeProfile profileAgain;
    Check(ReadStateFile(fuzz::PutFile(kName, written), settingsAgain, profileAgain).status ==
          SettingsFileStatus::Loaded);
    Check(StateRecords(file, settingsAgain, profileAgain).Contents() == written);
    return 0;
}
