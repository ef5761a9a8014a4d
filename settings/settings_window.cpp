#include "settings/settings_window.h"

#include <optional>

#include "platform/numbers.h"

namespace kestrel {

void ShowCells(const std::vector<NumberCell>& cells) {
    for (const NumberCell& cell : cells)
        cell.box->SetText(SingleText(*cell.value));
}

void FillBlankCells(const std::vector<NumberCell>& cells) {
    for (const NumberCell& cell : cells) {
        if (cell.box->Text().empty()) cell.box->SetText(SingleText(*cell.value));
    }
}

const NumberCell* StoreCells(const std::vector<NumberCell>& cells) {
    for (const NumberCell& cell : cells) {
        const std::optional<float> value = StrictSingle(cell.box->Text());
        if (!value) return &cell;
        *cell.value = *value;
    }
    return nullptr;
}

bool StoreCellsOrComplain(Host& host, const std::vector<NumberCell>& cells) {
    const NumberCell* bad = StoreCells(cells);
    if (bad == nullptr) return true;
    ShowMessage(host, bad->complaint);
    bad->box->SetFocus();
    return false;
}

bool ReadToShow(Host& host, std::string_view fileName, const SettingsFileResult& read) {
    if (read.status == SettingsFileStatus::Corrupted) ShowCorruptedFile(host, fileName);
    return read.status == SettingsFileStatus::Loaded;
}

bool WrittenOrReported(Host& host, const WriteResult& written) {
    if (!written) ShowWriteError(host);
    return written.ok;
}

}  // namespace kestrel
