#include "printing/printed_figures.h"

#include <optional>

#include "platform/numbers.h"

namespace kestrel::printed {

std::string Rate(double value) {
    return FormatNumber(value, "###.00");
}

std::string Amount(double value) {
    return FormatNumber(value, "#####.00");
}

std::string ShownAmount(const std::string& shown) {
    const std::optional<double> value = StrictDouble(shown);
    return value ? Amount(*value) : std::string();
}

}  // namespace kestrel::printed
