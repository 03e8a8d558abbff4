// The small solver and the rising-curve grid check.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "unithydrograph/linear_system.h"
#include "unithydrograph/non_negative_rise.h"

namespace {

using vesk::OperationOrder;

// Solves the system and returns the solution; `solved` receives the return.
std::vector<double> solve(std::vector<double> matrix, const std::vector<double> &rhs, bool &solved,
                          OperationOrder order = OperationOrder::Current) {
    const int n = static_cast<int>(rhs.size());
    std::vector<double> solution(rhs.size(), -99.0);
    solved = vesk::solveLinearSystem(n, matrix.data(), rhs.data(), solution.data(), order);
    return solution;
}

TEST(SolveLinearSystem, UnitLeadingRowsGiveExactCoefficients) {
    // The rising system: value and slope at 0, then two value conditions.
    const double t50 = 12.197, t75 = 16.075;
    for (OperationOrder order : {OperationOrder::Current, OperationOrder::Earlier}) {
        bool solved = false;
        const auto c = solve({1, 0, 0, 0, 0, 1, 0, 0, 1, t50, t50 * t50, t50 * t50 * t50, 1, t75,
                              t75 * t75, t75 * t75 * t75},
                             {0.0, 31.7, 448.6, 672.9}, solved, order);
        ASSERT_TRUE(solved);
        EXPECT_EQ(c[0], 0.0);
        EXPECT_EQ(c[1], 31.7);
        EXPECT_NEAR(c[0] + c[1] * t50 + c[2] * t50 * t50 + c[3] * t50 * t50 * t50, 448.6, 1e-9);
        EXPECT_NEAR(c[0] + c[1] * t75 + c[2] * t75 * t75 + c[3] * t75 * t75 * t75, 672.9, 1e-9);
    }
}

TEST(SolveLinearSystem, LeavesTheInverseAndKeepsTheRightHandSide) {
    std::vector<double> m = {2, 1, 1, 3};
    const std::vector<double> rhs = {3, 5};
    double x[2];
    ASSERT_TRUE(vesk::solveLinearSystem(2, m.data(), rhs.data(), x, vesk::OperationOrder::Current));
    EXPECT_DOUBLE_EQ(m[0], 0.6);
    EXPECT_DOUBLE_EQ(m[1], -0.2);
    EXPECT_DOUBLE_EQ(m[2], -0.2);
    EXPECT_DOUBLE_EQ(m[3], 0.4);
    EXPECT_DOUBLE_EQ(x[0], 0.8);
    EXPECT_DOUBLE_EQ(x[1], 1.4);
    EXPECT_EQ(rhs, (std::vector<double>{3, 5}));
}

TEST(SolveLinearSystem, ZeroPivotFailsWithoutTouchingTheSolution) {
    struct Case {
        const char *what;
        std::vector<double> matrix;
        std::vector<double> rhs;
    };
    const Case cases[] = {
        // Regular, but rows are never exchanged.
        {"zero leading element", {0, 1, 1, 0}, {2, 3}},
        {"zero leading element, 3 x 3", {0, 1, 2, 1, 0, 0, 0, 0, 1}, {1, 2, 3}},
        // The rising system with t50 = 0: its third row repeats the first.
        {"rising system at t50 = 0", {1, 0, 0, 0, 0, 1, 0, 0, 1, 0, 0, 0, 1, 5, 25, 125}, {0, 1, 2, 3}},
        // The split-peak quadratic with t75r = Tp: first and second rows equal.
        {"peak half without width", {1, 4, 16, 1, 4, 16, 0, 1, 8}, {3, 4, 0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        bool solved = true;
        const auto x = solve(c.matrix, c.rhs, solved);
        EXPECT_FALSE(solved);
        for (double v : x) EXPECT_EQ(v, -99.0);
    }
}

TEST(SolveLinearSystem, RowsEqualOnlyAfterRoundingAreSolved) {
    // 0.1 · 3 and 0.3 differ in the last bit: the second pivot is -2^-54, not
    // zero, and the solve goes through to a huge but exact solution.
    bool solved = false;
    const auto x = solve({1, 0.1 * 3, 1, 0.3}, {1, 2}, solved);
    ASSERT_TRUE(solved);
    EXPECT_EQ(x[0], 0x1.3333333333335p+52);
    EXPECT_EQ(x[1], -0x1p+54);
}

// Dividing a pivot row by its pivot and multiplying it by the pivot's
// reciprocal round differently: every coefficient of this system differs in
// its last bits between the two orders.  Expected values from an independent
// evaluation (tools/golden/evaluate.py's solver).
TEST(SolveLinearSystem, RoundingOrdersDifferInTheLastBits) {
    const std::vector<double> m = {7.6, 4.5, 5.9, 1.8, 5.9, 7.9, 4.9, 6.8, 6.2};
    const std::vector<double> rhs = {0.3, 2.3, 1.8};
    bool a = false, b = false;
    const auto current = solve(m, rhs, a, OperationOrder::Current);
    const auto earlier = solve(m, rhs, b, OperationOrder::Earlier);
    ASSERT_TRUE(a);
    ASSERT_TRUE(b);
    EXPECT_EQ(current, (std::vector<double>{-0x1.db824ad4e38edp-3, 0x1.7bc3e55cfab12p-2, 0x1.12b4988f4d6d7p-4}));
    EXPECT_EQ(earlier, (std::vector<double>{-0x1.db824ad4e38ebp-3, 0x1.7bc3e55cfab0fp-2, 0x1.12b4988f4d6d8p-4}));
}

// The check: the grid 0, step, ... strictly below t75.
struct RiseCase {
    const char *what;
    double c[4];
    double step, t75;
    bool replaced; // by the fallback
};

TEST(EnsureNonNegativeRise, ReplacesOnlyACubicNegativeOnTheGrid) {
    // q50 = 10 at t50 = 6, q75 = 15 at t75.
    const RiseCase cases[] = {
        {"positive throughout", {0, 1, 0, 0}, 5, 15, false},
        // t² − 0.11·t³: 0, 11.25, then −10 at t = 10.
        // With step 5 below t75 = 15 the grid is 0, 5 and 10.
        {"negative at the last grid point below t75", {0, 0, 1, -0.11}, 5, 15, true},
        // t² − 0.07·t³: 30 at t = 10, negative only from about 14.3 on.
        {"negative only at t75 itself", {0, 0, 1, -0.07}, 5, 15, false},
        // (t − 1)(t − 4): negative between 1 and 4 only, no grid point there.
        {"dip between grid points", {4, -5, 1, 0}, 5, 15, false},
        // −1 + t: negative at t = 0 only, which is sampled.
        {"negative at t = 0 only", {-1, 1, 0, 0}, 5, 15, true},
        {"t75 not positive: nothing sampled", {-1, 0, 0, 0}, 5, 0, false},
    };
    for (const RiseCase &rc : cases) {
        SCOPED_TRACE(rc.what);
        double c[4] = {rc.c[0], rc.c[1], rc.c[2], rc.c[3]};
        const bool replaced = vesk::ensureNonNegativeRise(c, rc.step, 10.0, 15.0, 6.0, rc.t75);
        EXPECT_EQ(replaced, rc.replaced);
        if (!replaced) {
            for (int i = 0; i < 4; ++i) EXPECT_EQ(c[i], rc.c[i]);
        } else {
            EXPECT_EQ(c[0], 10.0 / 36.0);                         // parabola through (6, 10)
            EXPECT_EQ(c[1], (15.0 - 10.0) / (rc.t75 - 6.0));     // line slope
            EXPECT_EQ(c[2], 10.0 + (6.0 * 10.0 - 6.0 * 15.0) / (rc.t75 - 6.0));
            EXPECT_EQ(c[3], 0.0);
            EXPECT_NEAR(c[1] * rc.t75 + c[2], 15.0, 1e-12); // reaches (t75, q75)
            EXPECT_NEAR(c[1] * 6.0 + c[2], 10.0, 1e-12);    // continuous at t50
        }
    }
}

} // namespace
