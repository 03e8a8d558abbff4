#include "unithydrograph/linear_system.h"

#include <cstddef>

#include "unithydrograph/extended_precision.h"

namespace vesk {

namespace {

// Scales pivot row i so that its pivot column ends as 1/pivot.
void scalePivotRow(double *row, int n, int i, double pivot, OperationOrder order) {
    row[i] = 1.0;
    if (order == OperationOrder::Earlier) {
        const double reciprocal = 1.0 / pivot;
        for (int j = 0; j < n; ++j) row[j] = row[j] * reciprocal;
    } else {
        for (int j = 0; j < n; ++j) row[j] = row[j] / pivot;
    }
}

// row := row − factor · source, where factor is the row's element in `column`
// and that element is cleared first (so it ends as −factor · source[column]).
void eliminate(double *row, const double *source, int n, int column) {
    const double factor = row[column];
    row[column] = 0.0;
    for (int j = 0; j < n; ++j) row[j] = row[j] - factor * source[j];
}

} // namespace

bool solveLinearSystem(int n, double *matrix, const double *rhs, double *solution,
                      OperationOrder order) {
    auto row = [matrix, n](int r) { return matrix + static_cast<std::ptrdiff_t>(r) * n; };

    // Forward sweep: scale each pivot row, clear the column below it.
    for (int i = 0; i < n; ++i) {
        const double pivot = row(i)[i];
        if (pivot == 0.0) return false; // no row exchanges: an exact zero ends the solve
        scalePivotRow(row(i), n, i, pivot, order);
        for (int k = i + 1; k < n; ++k) eliminate(row(k), row(i), n, i);
    }
    // Backward sweep: clear each row right of its diagonal, left to right.
    for (int i = 0; i + 1 < n; ++i)
        for (int j = i + 1; j < n; ++j) eliminate(row(i), row(j), n, j);

    // The matrix now holds the inverse; apply it to the right-hand side with
    // the sums carried in extended precision.
    const ExtendedPrecisionScope extended;
    for (int i = 0; i < n; ++i) {
        long double sum = 0.0L;
        for (int j = 0; j < n; ++j) sum += static_cast<long double>(rhs[j]) * row(i)[j];
        solution[i] = static_cast<double>(sum);
    }
    return true;
}

} // namespace vesk
