// What the State, City and NON City Resident windows have in common: each lists its number boxes
// with the record field every box stands for, and each reports its file the same way.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "employee/record_file.h"
#include "platform/controls.h"
#include "platform/host.h"
#include "settings/state_tax_settings.h"

namespace kestrel {

struct NumberCell {
    TextBox* box;
    float* value;
    std::string complaint;  // what the user is told when the box does not hold a number
};

void ShowCells(const std::vector<NumberCell>& cells);
// Only a box that is exactly empty gets its field; one holding blanks is left to fail the store.
void FillBlankCells(const std::vector<NumberCell>& cells);
// Stores the boxes in order, each strictly read into its field, and stops at the first one that
// does not hold a number: that cell is returned, with its field and every later one untouched.
// Null once every box is stored.
const NumberCell* StoreCells(const std::vector<NumberCell>& cells);
// StoreCells, telling the user about the box that failed and putting the focus on it.
bool StoreCellsOrComplain(Host& host, const std::vector<NumberCell>& cells);

// Reports a corrupted file; true only for a file read whole, the one case whose values are worth
// showing in the boxes.
bool ReadToShow(Host& host, std::string_view fileName, const SettingsFileResult& read);
// Reports a failed write; true when the file was written.
bool WrittenOrReported(Host& host, const WriteResult& written);

}  // namespace kestrel
