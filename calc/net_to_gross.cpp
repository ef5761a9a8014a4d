#include "calc/net_to_gross.h"

#include <cmath>
#include <cstdint>

namespace kestrel {

namespace {

constexpr std::int64_t kCent = 100;  // in the currency's ten-thousandths

// The period with `amount` as its dollar amount; nothing when it cannot be calculated.
std::optional<NetToGrossResult> Try(const PayInputs& in, const PayPeriodEntry& entry,
                                    Currency amount) {
    NetToGrossResult tried{amount, entry, {}};
    tried.entry.Addit = amount;
    if (EntryBeyondRange(in, tried.entry)) return std::nullopt;
    PayInputs quiet = in;
    quiet.trace = nullptr;
    tried.result = ComputePay(quiet, tried.entry);
    if (UnrepresentableSource(tried.result, in.profile)) return std::nullopt;
    return tried;
}

bool Reaches(const NetToGrossResult& tried, Currency target) {
    return Currency::FromDouble(RoundCents(static_cast<double>(tried.result.NetPay))) >= target;
}

}  // namespace

std::optional<NetToGrossResult> NetToGross(const PayInputs& in, const PayPeriodEntry& entry,
                                           Currency targetNet) {
    std::optional<NetToGrossResult> low = Try(in, entry, Currency());
    if (!low) return std::nullopt;
    if (Reaches(*low, targetNet)) return low;
    // Doubling from the target finds an amount that reaches it, or the end of what can be held.
    std::int64_t lowCents = 0;
    std::int64_t highCents = std::max<std::int64_t>(targetNet.Raw() / kCent, 1);
    std::optional<NetToGrossResult> high;
    for (;;) {
        high = Try(in, entry, Currency::FromRaw(highCents * kCent));
        if (!high) return std::nullopt;
        if (Reaches(*high, targetNet)) break;
        lowCents = highCents;
        if (highCents > INT64_MAX / kCent / 4) return std::nullopt;
        highCents *= 2;
    }
    // Below `low` the net falls short, at `high` it reaches the target.
    while (highCents - lowCents > 1) {
        const std::int64_t middle = lowCents + (highCents - lowCents) / 2;
        auto tried = Try(in, entry, Currency::FromRaw(middle * kCent));
        if (tried && Reaches(*tried, targetNet)) {
            highCents = middle;
            high = std::move(tried);
        } else {
            lowCents = middle;
        }
    }
    if (in.trace != nullptr) {
        PayPeriodEntry found = entry;
        found.Addit = high->amount;
        high->result = ComputePay(in, found);
        high->entry = found;
    }
    return high;
}

}  // namespace kestrel
