// Saves a Workbook as an .xlsx file (Office Open XML) that any spreadsheet application opens.
#pragma once

#include <filesystem>

#include "platform/workbook.h"
#include "platform/write_result.h"

namespace kestrel {

// Writes a hidden temporary file beside `file` and renames it over `file`, so a failure never
// leaves a half-written workbook and an existing file survives a failed save. A folder, pipe or
// device of that name is refused, never replaced. On failure `error` says why in words a user can
// act on (a missing folder, a folder of that name, no permission).
[[nodiscard]] WriteResult WriteXlsx(const Workbook& book, const std::filesystem::path& file);

}  // namespace kestrel
