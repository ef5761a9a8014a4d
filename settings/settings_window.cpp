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
    if (read.status != SettingsFileStatus::Corrupted)
        return read.status == SettingsFileStatus::Loaded;
    // The standard message names the file; where it failed and what a save will do with it follow,
    // and a file kept from being read by its permissions is not called corrupted.
    if (read.error.denied) {
        ShowMessage(host,
                    "The file " + DescribeReadError(fileName, read.error) +
                        "\r\nIt was not read; the values shown are not from it.",
                    MsgIcon::Warning);
    } else {
        ShowMessage(host, CorruptedFileMessage(fileName) + "\r\n\r\n" +
                              DescribeReadError(fileName, read.error));
    }
    return read.status == SettingsFileStatus::Loaded;
}

bool WrittenOrReported(Host& host, const WriteResult& written) {
    // The standard message blames the entries; the reason tells a file that may not be
    // replaced, or a full disk, from a bad number.
    if (!written) ShowMessage(host, WriteErrorMessage() + "\r\n\r\n" + written.error);
    return written.ok;
}

}  // namespace kestrel
