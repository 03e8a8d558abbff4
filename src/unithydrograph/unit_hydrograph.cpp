#include "unithydrograph/unit_hydrograph.h"

#include <cmath>
#include <cstdint>

#include "frame/allocation.h"
#include "frame/library_state.h"
#include "unithydrograph/hydrograph_curve.h"

namespace vesk {

namespace {

// Samples the curve at t = i · step for i = 1 .. count (t formed exactly
// from the two integers); false when a value is not finite, which only the
// huge coefficients of a nearly singular fit can cause.
bool sample(const HydrographCurve &curve, int32_t step, double *ordinates) {
    for (int32_t i = 1; i <= curve.count; ++i) {
        const double t = static_cast<double>(static_cast<int64_t>(i) * step);
        ordinates[i - 1] = curve.value(t);
        if (!std::isfinite(ordinates[i - 1])) return false;
    }
    return true;
}

} // namespace

int buildUnitHydrograph(const HydrographGeometry &geometry, ShapeParameters &shape,
                        UnitHydrographSummary &summary, ConvolutionRing &ring, Rounding rounding) {
    ring = ConvolutionRing{};
    HydrographCurve curve;
    const int designed = designUnitHydrograph(geometry, shape, summary, rounding, curve);
    if (designed != 0) return designed;

    const auto count = static_cast<std::size_t>(curve.count);
    double *ordinates = allocateArray<double>(count);
    double *buffer = ordinates ? allocateArray<double>(count) : nullptr;
    if (buffer == nullptr) {
        release(ordinates);
        setErrorCode(VESK_ERR_NO_MEMORY);
        return VESK_ERR_NO_MEMORY;
    }
    if (!sample(curve, shape.uhTimeStep, ordinates)) {
        release(ordinates);
        release(buffer);
        setErrorCode(VESK_ERR_UH_FIT);
        return VESK_ERR_UH_FIT;
    }
    for (std::size_t i = 0; i < count; ++i) buffer[i] = 0.0;

    ring.uhLength = curve.count;
    ring.uhOrdinates = ordinates;
    ring.convolutionBuffer = buffer;
    ring.convolutionPosition = 0;
    return 0;
}

} // namespace vesk
