// Net to gross: the pay in dollar amount that brings a period's net pay to a target, found by
// running the calculation itself, so the figures it gives are exactly those Calculate shows.
#pragma once

#include <optional>

#include "calc/pay_calculation.h"
#include "platform/numbers.h"

namespace kestrel {

struct NetToGrossResult {
    Currency amount;       // the PAY IN DOLLAR AMOUNT found
    PayPeriodEntry entry;  // the period with it, as the calculation left it
    PayResult result;
};

// The smallest dollar amount, in whole cents, that with the other entries of `entry` gives a net
// pay (to the cent, as shown) of at least `targetNet`; the dollar amount `entry` holds is
// replaced. Nothing when no amount the calculation can hold reaches it. Net pay rises with the
// amount everywhere but at a few table edges, so the search keeps a cent below the target and a
// cent at or above it: the amount found reaches the target and one cent less does not.
std::optional<NetToGrossResult> NetToGross(const PayInputs& in, const PayPeriodEntry& entry,
                                           Currency targetNet);

}  // namespace kestrel
