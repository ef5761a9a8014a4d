#include "platform/date_picking.h"

namespace kestrel {

void StartPickerFromBox(Host& host, DatePicker& picker, TextBox& box) {
    const Date today = host.Today();
    if (box.Text().empty()) {
        picker.SetValue(today);
    } else if (const auto date = ParseDate(box.Text())) {
        picker.SetValue(*date);
    } else {
        box.SetText(host.ShortDate(today).substr(0, 8));
        picker.SetValue(today);
    }
}

void WritePickedDate(Host& host, const DatePicker& picker, TextBox& box) {
    box.SetText(host.ShortDate(picker.Value()).substr(0, 8));
}

}  // namespace kestrel
