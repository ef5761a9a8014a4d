// Opening and saving employees: the profile files with the windows that show them, and the main
// menu's New and Open.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "employee/record_file.h"
#include "platform/host.h"

namespace kestrel {

class Program;

// Reads ActiveUser's ".use", ".and", ".cfe" and overtime rows (each only when it exists), then
// shows the profile in the windows that depend on it. A damaged file is reported and left unread;
// the others are still read, so no file of the previous employee is ever saved over a good file
// of this one. False when a file was damaged. Without `withOvertime` the overtime figures and rows
// in memory are kept, because the overtime window stores them only in memory until a save.
bool LoadProfileFiles(Program& program, bool withOvertime = true);

// Stores the profile and the overtime rows from the windows and writes ".use", ".and", ".cfe" and
// ".ovw" or ".ovb". False when a rate box does not hold a number or a file could not be written:
// the user was told, and the files after it were not written. With no employee open nothing is
// written, unless `defaultSet`: Make Default writes the default file set, whose base name is the
// empty one.
bool SaveOT(Program& program, bool defaultSet = false);

// File, New: a new employee whose file set the closing calculation creates.
void mnuNew_Click(Program& program);
// File, Open: the save window, then OpenFile.
void mnuOpen_Click(Program& program);
// The open sequence: the user picks a ".use" file; its folder becomes current and the whole file
// set of the employee is loaded.
void OpenFile(Program& program);
// Loads the file set of `program.ActiveUser` from the current folder in the order Open uses,
// without any window being shown. False when a file was damaged (the user was told).
bool LoadEmployee(Program& program);

// ActiveUser has just become the open employee: other running copies are to see it open here,
// and nothing said about the files of the employee before stays on the main window.
void BeginEmployee(Program& program);

// When another running copy has `name` of the current folder open, asks whether to go on; false
// when the user stops.
bool GoOnThoughOpenElsewhere(Program& program, std::string_view name);

// Makes the folder of `file` the current folder; false, with the user told, when it cannot be.
bool EnterFolderOf(Host& host, const std::filesystem::path& file);
// The open-file dialog as the program uses it: choosing a file makes its folder the current
// folder, where every later file is looked up. Returns the chosen file's name.
std::optional<std::filesystem::path> OpenFileInFolder(Host& host, std::string_view filter);

// Commits `records`; when that fails the user is told which file could not be saved and why.
bool CommitOrReport(Host& host, RecordWriter& records);
// Tells the user that `fileName` is damaged and was not read.
void ReportDamagedFile(Host& host, std::string_view fileName, const ReadError& error);

}  // namespace kestrel
