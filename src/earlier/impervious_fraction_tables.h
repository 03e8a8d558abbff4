// Coefficient tables of the earlier level's relations: a few bands per
// disconnection level, each a slope `a` and an intercept `b`.  The values are
// 32-bit floats widened to double where they are used, so 1.243 reads back as
// 1.2430000305175781.  A band applies while imperviousPct is below its limit;
// the last band of a level has no limit and also takes anything above 100 %
// (and a NaN), the first band anything below 0 %.
#pragma once

#include <limits>

namespace vesk::earlier {

inline constexpr double kNoLimit = std::numeric_limits<double>::infinity();

struct Band {
    double below; // imperviousPct limit (exclusive) of the band
    float a;      // slope
    float b;      // intercept
};

inline constexpr int kMaxBands = 3;

struct BandedLines {
    int count;
    Band bands[kMaxBands];
};

inline constexpr int kEarlierLevels = 3;

// Directly connected impervious fraction, slope per unit of imperviousPct * 0.01.
inline constexpr BandedLines kDcifLines[kEarlierLevels] = {
    /* level 0 */ {3, {{40.0, 2.0f, 0.0f}, {80.0, 0.5f, 0.6f}, {kNoLimit, 0.0f, 1.0f}}},
    /* level 1 */ {2, {{80.0, 1.25f, 0.0f}, {kNoLimit, 0.0f, 1.0f}}},
    /* level 2 */ {3, {{80.0, 0.5f, 0.0f}, {90.0, 6.0f, -4.4f}, {kNoLimit, 0.0f, 1.0f}}},
};

// Receiving pervious fraction, slope per unit of imperviousPct * 0.01.
inline constexpr BandedLines kRpfLines[kEarlierLevels] = {
    /* level 0 */ {1, {{kNoLimit, 0.35f, 0.05f}}},
    /* level 1 */ {2, {{40.0, 0.625f, 0.05f}, {kNoLimit, 1.0f, -0.1f}}},
    /* level 2 */ {3, {{40.0, 1.25f, 0.1f}, {90.0, 0.8f, 0.28f}, {kNoLimit, 0.0f, 1.0f}}},
};

// Effective impervious area, disconnection level 2 only; the slope applies to
// imperviousPct itself.
inline constexpr int kEiaLevel = 2;
inline constexpr BandedLines kEiaLines = {
    3, {{20.0, 0.1f, 3.0f}, {30.0, 0.7f, -7.0f}, {kNoLimit, 1.243f, -25.0f}}};

// The band of `lines` that holds imperviousPct.
inline const Band &bandOf(const BandedLines &lines, double imperviousPct) {
    for (int i = 0; i + 1 < lines.count; ++i)
        if (imperviousPct < lines.bands[i].below) return lines.bands[i];
    return lines.bands[lines.count - 1];
}

} // namespace vesk::earlier
