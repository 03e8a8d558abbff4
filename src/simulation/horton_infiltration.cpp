#include "simulation/horton_infiltration.h"

#include <cmath>
#include <cstring>

namespace vesk {

namespace {

constexpr double kSecondsPerMinute = 60.0;
constexpr double kMinutesPerHour = 60.0;

double capacityFromRates(double rateAtStart, double rateAtEnd, double stepMinutes, OperationOrder order) {
    const double meanRate = (rateAtEnd + rateAtStart) * 0.5; // in/h
    if (order == OperationOrder::Earlier) return meanRate * stepMinutes * (1.0 / kMinutesPerHour);
    return (stepMinutes / kMinutesPerHour) * meanRate;
}

// The very same parameters, bit for bit (a zero's sign included).
bool sameCurve(const HortonCurve &a, const HortonCurve &b) { return std::memcmp(&a, &b, sizeof a) == 0; }

} // namespace

double hortonRate(const HortonCurve &curve, double minutes) {
    const double seconds = kSecondsPerMinute * minutes;
    return curve.finalRate + (curve.initialRate - curve.finalRate) * std::exp(-curve.decay * seconds);
}

double stepCapacity(const HortonCurve &curve, double endMinutes, double stepMinutes, OperationOrder order) {
    return capacityFromRates(hortonRate(curve, endMinutes - stepMinutes), hortonRate(curve, endMinutes),
                             stepMinutes, order);
}

double HortonSteps::capacity(const HortonCurve &curve, double endMinutes, double stepMinutes,
                             OperationOrder order) {
    Entry *entry = nullptr;
    for (int i = 0; i < used_ && entry == nullptr; ++i)
        if (sameCurve(entries_[i].curve, curve)) entry = &entries_[i];
    if (entry != nullptr && entry->endMinutes == endMinutes && entry->stepMinutes == stepMinutes &&
        entry->order == order)
        return entry->capacity; // this step's, already formed
    const double startMinutes = endMinutes - stepMinutes;
    const bool carried = entry != nullptr && entry->endMinutes == startMinutes;
    const double rateAtStart = carried ? entry->rateAtEnd : hortonRate(curve, startMinutes);
    const double rateAtEnd = hortonRate(curve, endMinutes);
    if (entry == nullptr) {
        if (used_ < kEntries) {
            entry = &entries_[used_++];
        } else {
            entry = &entries_[oldest_];
            oldest_ = (oldest_ + 1) % kEntries;
        }
    }
    *entry = Entry{curve, endMinutes, stepMinutes, order, rateAtEnd,
                   capacityFromRates(rateAtStart, rateAtEnd, stepMinutes, order)};
    return entry->capacity;
}

} // namespace vesk
