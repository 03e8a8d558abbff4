#include "unithydrograph/unit_hydrograph.h"

#include <optional>
#include <utility>

#include "unithydrograph/hydrograph_curve.h"

namespace vesk {

Status buildUnitHydrograph(const HydrographGeometry &geometry, ShapeParameters &shape,
                           UnitHydrographSummary &summary, ConvolutionRing &ring, OperationOrder order) {
    ring = ConvolutionRing{};
    HydrographCurve curve;
    if (!designUnitHydrograph(geometry, shape, summary, order, curve)) return Status::CannotBuild;

    std::optional<ConvolutionRing> sampled = ConvolutionRing::withLength(curve.count);
    if (!sampled) return Status::NoMemory;
    // Only the huge coefficients of a nearly singular fit give a value that
    // is not finite.
    if (!sampleInto(*sampled, shape.uhTimeStep, curve)) return Status::CannotBuild;
    ring = std::move(*sampled);
    return Status::Ok;
}

} // namespace vesk
