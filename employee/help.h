// Help: the user guide "Kestrel.hlp" in the current folder, shown by the desktop's help viewer.
#pragma once

#include <string_view>

#include "platform/host.h"

namespace kestrel {

inline constexpr std::string_view kHelpFileName = "Kestrel.hlp";

// Opens the help file of the current folder at its contents. When it is missing the user is told
// which file was looked for where, and no viewer opens.
void ShowHelpFile(Host& host);

}  // namespace kestrel
