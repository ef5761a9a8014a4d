// Where the paycheck lands on the check stock: the user's correction for the printer, kept in the
// employee's ".and" file.
#pragma once

namespace kestrel {

struct PrintOffsets {
    float Horizontal = 0;
    float Vertical = 0;
    bool operator==(const PrintOffsets&) const = default;
};

}  // namespace kestrel
