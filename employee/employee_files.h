// Opening and saving employees: the profile files with the windows that show them, the whole file
// set of the save window, and the main menu's New, Open and Exit.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "platform/host.h"

namespace kestrel {

class Program;

// Reads ActiveUser's ".use", ".and", ".cfe" and overtime rows (each only when it exists), then
// shows the profile in the windows that depend on it. False when a file was damaged: the user was
// told which, and the files after it were not read.
bool LoadProfileFiles(Program& program);

// Stores the profile and the overtime rows from the windows and writes ".use", ".and", ".cfe" and
// ".ovw" or ".ovb". False when a box does not hold a number or a file could not be written: the
// user was told, and the files after it were not written.
bool SaveOT(Program& program);

// The open-file dialog as the program uses it: choosing a file makes its folder the current
// folder, where every later file is looked up.
std::optional<std::filesystem::path> OpenFileInFolder(Host& host, std::string_view filter);

}  // namespace kestrel
