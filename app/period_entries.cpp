#include "app/period_entries.h"

#include "app/terminal_text.h"
#include "platform/numbers.h"

namespace kestrel {

namespace {

constexpr std::size_t kDollars = 6;

}  // namespace

std::optional<std::size_t> PeriodEntryOfOption(std::string_view option) {
    for (std::size_t i = 0; i < kPeriodEntries.size(); ++i)
        if (kPeriodEntries[i].option == option) return i;
    return std::nullopt;
}

std::optional<std::size_t> PeriodEntryOfColumn(std::string_view column) {
    for (std::size_t i = 0; i < kPeriodEntries.size(); ++i)
        if (kPeriodEntries[i].column == column) return i;
    return std::nullopt;
}

std::optional<std::string> PeriodEntryProblem(std::size_t index, std::string_view text) {
    // Money is read to the ten-thousandth as the dollar box reads it; hours are singles.
    if (index == kDollars) {
        if (!StrictCurrency(text)) return "needs an amount";
    } else if (!StrictSingle(text)) {
        return "needs a number";
    }
    return std::nullopt;
}

std::string PeriodEntryRefusal(std::string_view name, std::size_t index, std::string_view text) {
    return std::string(name) + " " + PeriodEntryProblem(index, text).value_or("is refused") +
           ", not \"" + Printable(text) + "\"";
}

void SetPeriodEntry(PayPeriodEntry& entry, std::size_t index, std::string_view text) {
    if (index == kDollars) {
        entry.Addit = StrictCurrency(text).value_or(Currency());
        return;
    }
    const float hours = StrictSingle(text).value_or(0);
    switch (index) {
        case 0:
            entry.StrHrs = hours;
            break;
        case 1:
            entry.StrHrs2 = hours;
            break;
        case 2:
            entry.OtVar = hours;
            break;
        case 3:
            entry.OtHrs = hours;
            break;
        case 4:
            entry.Avas = hours;
            break;
        case 5:
            entry.VacDys = hours;
            break;
        default:
            entry.TipsHrs = hours;
            break;
    }
}

}  // namespace kestrel
