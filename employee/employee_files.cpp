#include "employee/employee_files.h"

#include <system_error>

#include "app/program.h"

namespace kestrel {

bool LoadProfileFiles(Program&) {
    return true;
}

bool SaveOT(Program&) {
    return true;
}

std::optional<std::filesystem::path> OpenFileInFolder(Host& host, std::string_view filter) {
    std::optional<std::filesystem::path> chosen = host.OpenFile(filter);
    if (!chosen) return std::nullopt;
    const std::filesystem::path folder = chosen->parent_path();
    if (!folder.empty()) {
        std::error_code error;
        std::filesystem::current_path(folder, error);
        if (error) return std::nullopt;
    }
    return chosen->filename();
}

}  // namespace kestrel
