// Overland and travel times, and the time of concentration with its minimum
// and its regional limit.  Lengths in feet, velocities in feet per second,
// slopes in ft/ft, times in minutes.
#pragma once

namespace vesk {

// 0.395 · (1.1 − C) · L^0.5 / S^0.33; a flat path (slope 0 or -0) would
// divide by zero and gets no time at all.
double overlandFlowTime(double runoffCoefficient, double overlandLength, double slope);

// length / velocity in minutes; no velocity gives no time.
double travelTime(double length, double velocity);

// 10 min for a rural basin (imperviousness 25 % or less), else 5 min.
double minimumTc(double imperviousPct);

// length / 180 + 10.
double regionalTc(double length);

// The overland and travel times together, limited to the regional time for a
// rural basin and raised to the minimum.
double timeOfConcentration(double initialTime, double travelTime, double minTime, double regionalTime,
                           double imperviousPct);

} // namespace vesk
