#include "employee/help.h"

#include <filesystem>

namespace kestrel {

void ShowHelpFile(Host& host) {
    host.ShowHelp(std::filesystem::current_path() / kHelpFileName);
}

}  // namespace kestrel
