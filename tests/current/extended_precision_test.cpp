// The solver's final sums are carried in extended precision, whatever the
// host did to the floating-point unit.
#include <gtest/gtest.h>

#include "unithydrograph/curve_fitting.h"

#if defined(_WIN32) && defined(__i386__)
#include <float.h>
#endif

namespace {

// The inverse of this matrix has the first row (1, 1, 1), so the first
// unknown is the sum 1e16 + 1 - 1e16: 1 when summed with a 64-bit mantissa,
// 0 when each partial sum is rounded to a double.
double firstUnknownOfCancellingSystem() {
    double matrix[9] = {1, -1, -1, 0, 1, 0, 0, 0, 1};
    const double rhs[3] = {1e16, 1.0, -1e16};
    double solution[3] = {};
    EXPECT_TRUE(vesk::solveLinearSystem(3, matrix, rhs, solution));
    return solution[0];
}

TEST(ExtendedPrecision, FinalSumKeepsWhatDoublesWouldLose) {
    EXPECT_EQ(firstUnknownOfCancellingSystem(), 1.0);
}

#if defined(_WIN32) && defined(__i386__)
TEST(ExtendedPrecision, HostWithA53BitX87UnitGetsTheSameSumAndKeepsItsSetting) {
    const unsigned int original = _controlfp(0, 0) & _MCW_PC;
    _controlfp(_PC_53, _MCW_PC);
    EXPECT_EQ(firstUnknownOfCancellingSystem(), 1.0);
    EXPECT_EQ(_controlfp(0, 0) & _MCW_PC, static_cast<unsigned int>(_PC_53));
    _controlfp(original, _MCW_PC);
}
#endif

} // namespace
