#include "units.h"

namespace vesk::host {

namespace {

// SI units per US customary unit of the quantity.
double siPerUs(Quantity quantity) {
    switch (quantity) {
    case Quantity::Area: return kSquareKilometresPerSquareMile;
    case Quantity::Length: return kKilometresPerMile;
    case Quantity::Depth:
    case Quantity::Rate: return kMillimetresPerInch;
    case Quantity::Flow: return kCubicMetresPerCubicFoot;
    case Quantity::Volume: return kCubicMetresPerAcreFoot;
    case Quantity::UnitFlow: return kCubicMetresPerCubicFoot / kMillimetresPerInch;
    case Quantity::Unchanged: break;
    }
    return 1.0;
}

} // namespace

std::optional<UnitSystem> unitSystemNamed(std::string_view name) {
    std::string lower(name);
    for (char &c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (lower == "us") return UnitSystem::Us;
    if (lower == "si") return UnitSystem::Si;
    return std::nullopt;
}

std::string oneInch(UnitSystem units) { return units == UnitSystem::Si ? "25.4 mm" : "one inch"; }

std::string unitName(Quantity quantity, UnitSystem units) {
    const bool si = units == UnitSystem::Si;
    switch (quantity) {
    case Quantity::Area: return si ? "km2" : "sq mi";
    case Quantity::Length: return si ? "km" : "mi";
    case Quantity::Depth: return si ? "mm" : "in";
    case Quantity::Rate: return si ? "mm/h" : "in/h";
    case Quantity::Flow: return si ? "m3/s" : "cfs";
    case Quantity::Volume: return si ? "m3" : "acre-ft";
    case Quantity::UnitFlow: return si ? "m3/s/mm" : "cfs/in";
    case Quantity::Unchanged: break;
    }
    return "";
}

double toLibraryUnits(double value, Quantity quantity, UnitSystem units) {
    if (units == UnitSystem::Us || quantity == Quantity::Unchanged) return value;
    return value / siPerUs(quantity);
}

double fromLibraryUnits(double value, Quantity quantity, UnitSystem units) {
    if (units == UnitSystem::Us || quantity == Quantity::Unchanged) return value;
    return value * siPerUs(quantity);
}

} // namespace vesk::host
