"""The library's stand-alone calculators, under readable names.

``vesk.calc.directly_connected_fraction(1, 35.0)`` calls ``vesk_calcDCIF`` of
the current level; the raw exported names are here too
(``vesk.calc.vesk_calcDCIF``).  ``vesk.calc.earlier`` holds the earlier
level's calculators the same way.  Calculators touch no library state: they
work without an open ``vesk.Library``.  Keys and soil groups are strings of
which only the first character counts; arguments the library accepts and does
not use are left out of the readable forms.
"""

import inspect
import types

from . import _binding

UNUSED = object()

# (readable name, export, parameters, docstring).  A parameter in
# parentheses is one the library accepts and ignores: the readable form
# passes 0 there.
_COMMON = [
    ("dcif_coefficient", "vesk_DCIFgetParam", "level impervious_pct key",
     "DCIF table coefficient for disconnection level and imperviousness (%): key 'a' slope, 'b' intercept."),
    ("rpf_coefficient", "vesk_RPFgetParam", "level impervious_pct key",
     "RPF table coefficient for disconnection level and imperviousness (%): key 'a' slope, 'b' intercept."),
    ("directly_connected_fraction", "vesk_calcDCIF", "level impervious_pct",
     "Directly connected impervious fraction (DCIF) for disconnection level and imperviousness (%)."),
    ("receiving_pervious_fraction", "vesk_calcRPF", "level impervious_pct",
     "Receiving pervious fraction (RPF) for disconnection level and imperviousness (%)."),
    ("ct_coefficient", "vesk_CTgetParam", "impervious_pct key",
     "CT quadratic coefficient for the imperviousness band: key 'a', 'b' or 'c'."),
    ("ct_uncorrected", "vesk_calcCT_Cutoff", "impervious_pct",
     "Time-to-peak coefficient from the imperviousness (%), without the small-area correction."),
    ("cp_coefficient", "vesk_CPgetParam", "impervious_pct (unused) key",
     "Coefficient of the peaking parameter P for the imperviousness band: key 'a', 'b' or 'c'."),
    ("runoff_coefficient_correction", "vesk_runoffCoeffCorr", "soil_group return_period impervious_pct",
     "Return-period correction of the runoff coefficient for soil group 'A', 'C' or 'D' and "
     "return period 5, 10, 25, 50 or 100 years."),
    ("runoff_coefficient", "vesk_runoffCoeff", "soil_group return_period impervious_pct",
     "Runoff coefficient for soil group 'A' to 'D', return period (years) and imperviousness (%)."),
    ("max_overland_length", "vesk_maxLengthCutoff", "x",
     "Cut-off length of overland flow, 500 exp(-0.035 x)."),
    ("overland_length", "vesk_calcOverlandLen", "total_length max_length",
     "Overland part of a flow path: the smaller of the two lengths."),
    ("channel_length", "vesk_calcChannelLen", "total_length overland_length",
     "Channel part of a flow path: total less overland, at least 0."),
    ("overland_flow_time", "vesk_initialFlowTime", "runoff_coefficient overland_length slope (unused)",
     "Overland (initial) flow time 0.395 (1.1 - C) L^0.5 / S^0.33; 0 for a slope of 0."),
    ("travel_time", "vesk_flowTravelTime", "length velocity (unused)",
     "Travel time length / (60 velocity); 0 for a velocity of 0."),
    ("min_time_of_concentration", "vesk_calcMinTc", "impervious_pct",
     "Minimum time of concentration: 10 up to 25 % imperviousness, else 5."),
    ("regional_time_of_concentration", "vesk_calcRegionalTc", "length",
     "Regional time of concentration length / 180 + 10."),
    ("time_of_concentration", "vesk_calcTc", "initial_time travel_time min_time regional_time impervious_pct",
     "Time of concentration: initial plus travel time, limited to the regional time at 25 % "
     "imperviousness or less, and at least the minimum time."),
    ("conveyance_coefficient", "vesk_calcConvCoeff", "impervious_pct",
     "Conveyance coefficient for the imperviousness (%)."),
    ("rainfall_intensity", "vesk_calcIntensity", "a1 a2 a3 a4 a5",
     "Rainfall intensity a1 a3 / (a2 + a4)^a5."),
    ("linear_interpolation", "vesk_linterp", "y1 x1 y2 x2 x",
     "Ordinate at x on the line through (x1, y1) and (x2, y2)."),
]

CALCULATORS = {
    "current": _COMMON + [
        ("unconnected_impervious_fraction", "vesk_calcUIF", "dcif",
         "Unconnected impervious fraction 1 - dcif, at least 0.00001."),
        ("separate_pervious_fraction", "vesk_calcSPF", "rpf",
         "Separate pervious fraction 1 - rpf, at least 0.00001."),
        ("effective_impervious_pct", "vesk_calcEIA", "dcif rpf impervious_pct rainfall infiltration",
         "Effective impervious area in % of the basin; rainfall and infiltration in the same units."),
        ("ct_for_area", "vesk_calcCT", "ct area",
         "ct corrected for basins under 0.25 sq mi (area in sq mi); unchanged otherwise."),
        ("peak_coefficient", "vesk_calcCP", "impervious_pct area ct",
         "Peak coefficient CP from imperviousness (%), area (sq mi) and the ct the basin uses."),
    ],
    "earlier": _COMMON + [
        ("unconnected_impervious_fraction", "vesk_calcUIF", "level impervious_pct",
         "Unconnected impervious fraction 1 - DCIF(level, imperviousness); no floor."),
        ("separate_pervious_fraction", "vesk_calcSPF", "level impervious_pct",
         "Separate pervious fraction 1 - RPF(level, imperviousness); no floor."),
        ("effective_impervious_pct", "vesk_calcEIA", "level impervious_pct",
         "Effective impervious area in %: adjusted at disconnection level 2 only."),
        ("eia_coefficient", "vesk_getEIAParam", "level impervious_pct key",
         "Coefficient of the effective impervious area line (level 2): key 'a' slope, 'b' intercept."),
        ("ct_for_area", "vesk_calcCT", "impervious_pct area",
         "Time-to-peak coefficient of a basin from imperviousness (%) and area (sq mi)."),
        ("peak_coefficient", "vesk_calcCP", "impervious_pct area",
         "Peak coefficient CP from imperviousness (%) and area (sq mi), with the uncorrected CT."),
    ],
}

_TEXT_PARAMETERS = ("key", "soil_group")


def _readable(level, name, export, parameters, doc):
    names = parameters.split()
    shown = [p for p in names if not p.startswith("(")]
    signature = inspect.Signature(
        [inspect.Parameter(p, inspect.Parameter.POSITIONAL_OR_KEYWORD) for p in shown])

    def calculator(*args, **kwargs):
        given = signature.bind(*args, **kwargs).arguments
        values = []
        for p in names:
            if p.startswith("("):
                values.append(0)
            elif p in _TEXT_PARAMETERS:
                values.append(_binding.encode_text(given[p], p))
            else:
                values.append(given[p])
        return getattr(_binding.exports(level), export)(*values)

    calculator.__name__ = calculator.__qualname__ = name
    calculator.__signature__ = signature
    calculator.__doc__ = f"{doc}\n\nCalls {export} of the {level}-level library."
    return calculator


def _raw(level, export):
    def raw(*args):
        converted = [_binding.encode_text(a) if isinstance(a, str) else a for a in args]
        return getattr(_binding.exports(level), export)(*converted)

    raw.__name__ = raw.__qualname__ = export
    raw.__doc__ = f"{export} of the {level}-level library, with the header's arguments in order."
    return raw


def calculators(level):
    """All calculators of a level: readable and raw names -> function."""
    found = {}
    for name, export, parameters, doc in CALCULATORS[_binding.check_level(level)]:
        found[name] = _readable(level, name, export, parameters, doc)
        found[export] = _raw(level, export)
    return found


globals().update(calculators("current"))
earlier = types.SimpleNamespace(**calculators("earlier"))
__all__ = sorted(calculators("current")) + ["earlier", "calculators"]
