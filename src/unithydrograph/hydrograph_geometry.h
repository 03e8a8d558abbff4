// The basin's extent as the unit-hydrograph construction needs it.
#pragma once

namespace vesk {

struct HydrographGeometry {
    double area;           // sq mi
    double length;         // mi
    double centroidLength; // mi
    double slope;          // ft/ft
};

} // namespace vesk
