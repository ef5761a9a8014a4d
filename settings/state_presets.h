// The presets of the eleven states with a withholding formula of their own. They are procedures
// of the State Tax window (DialogState::ArizonaSet and the others, defined beside this header);
// what a program without a window needs of them is here.
#pragma once

#include "calc/payroll_records.h"
#include "settings/state_tax_settings.h"

namespace kestrel {

// The settings as preparing the State Tax window leaves them in memory for an employee
// whose stored settings are `stored` and whose profile is `profile`: the preset of every
// set flag applied for the profile's frequency and state status, then stored through
// fillVari (so blank boxes take New York values). Reads and writes no file.
StateTaxSettings PreparedStateSettings(const StateTaxSettings& stored,
                                       const EmployeeProfile& profile);

}  // namespace kestrel
