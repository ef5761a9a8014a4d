// What the week-ending date pickers share: they start on the date their box holds and write the
// picked date back into it as the short date text.
#pragma once

#include "platform/controls.h"
#include "platform/host.h"

namespace kestrel {

// The picker shows the box's date; an empty box starts from today, and a box holding no date
// ("00/00/05" after a clear) is set to today, which the picker then shows.
void StartPickerFromBox(Host& host, DatePicker& picker, TextBox& box);
// The picked date goes into the box as the short date text, cut to eight characters.
void WritePickedDate(Host& host, const DatePicker& picker, TextBox& box);

}  // namespace kestrel
