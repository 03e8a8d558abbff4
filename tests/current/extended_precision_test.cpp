// The solver's final sums are carried in extended precision, whatever the
// host did to the floating-point unit.
#include <gtest/gtest.h>

#include "unithydrograph/linear_system.h"


namespace {

// The inverse of this matrix has the first row (1, 1, 1), so the first
// unknown is the sum 1e16 + 1 - 1e16: 1 when summed with a 64-bit mantissa,
// 0 when each partial sum is rounded to a double.
double firstUnknownOfCancellingSystem() {
    double matrix[9] = {1, -1, -1, 0, 1, 0, 0, 0, 1};
    const double rhs[3] = {1e16, 1.0, -1e16};
    double solution[3] = {};
    EXPECT_TRUE(vesk::solveLinearSystem(3, matrix, rhs, solution, vesk::OperationOrder::Current));
    return solution[0];
}

TEST(ExtendedPrecision, FinalSumKeepsWhatDoublesWouldLose) {
    EXPECT_EQ(firstUnknownOfCancellingSystem(), 1.0);
}

#if defined(_WIN32) && (defined(__i386__) || defined(__x86_64__))
unsigned short x87ControlWord() {
    unsigned short word = 0;
    __asm__ volatile("fnstcw %0" : "=m"(word));
    return word;
}

void setX87ControlWord(unsigned short word) { __asm__ volatile("fldcw %0" : : "m"(word)); }

// A host that set the x87 unit to a 53-bit mantissa (precision bits 10), as
// 64-bit Windows starts every thread.
TEST(ExtendedPrecision, HostWithA53BitX87UnitGetsTheSameSumAndKeepsItsSetting) {
    const unsigned short original = x87ControlWord();
    const unsigned short host = static_cast<unsigned short>((original & ~0x0300u) | 0x0200u);
    setX87ControlWord(host);
    const double first = firstUnknownOfCancellingSystem();
    const unsigned short after = x87ControlWord();
    setX87ControlWord(original);
    EXPECT_EQ(first, 1.0);
    EXPECT_EQ(after, host);
}
#endif

} // namespace
