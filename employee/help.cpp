#include "employee/help.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "employee/record_file.h"

namespace kestrel {

void ShowHelpFile(Host& host) {
    // The folder can vanish under a running program; that is a missing help file, not a crash.
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    if (error) {
        ShowMessage(host,
                    "The help file " + std::string(kHelpFileName) +
                        " cannot be looked for: the current folder is not available.",
                    MsgIcon::Warning);
        return;
    }
    const std::filesystem::path file = folder / kHelpFileName;
    if (!FileExists(file)) {
        ShowMessage(host,
                    "The help file " + std::string(kHelpFileName) + " was not found in " +
                        folder.string() + ".",
                    MsgIcon::Warning);
        return;
    }
    host.ShowHelp(file);
}

}  // namespace kestrel
