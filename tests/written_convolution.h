// The convolution as first written, for the bit-identity tests of both
// levels: every step spreads its excess over the ring, zero or not, slot
// (position + i) mod length receiving ordinate i times the excess.
#pragma once

#include <cstddef>
#include <vector>

#include "simulation/convolution_ring.h"

class WrittenConvolution {
public:
    // The ordinates of `ring`, with every slot empty.
    explicit WrittenConvolution(const vesk::ConvolutionRing &ring)
        : ordinates_(ring.uhOrdinates.get(), ring.uhOrdinates.get() + ring.uhLength), slots_(ordinates_.size(), 0.0) {}

    // The outflow of a step with `excess`.
    double advance(double excess) {
        const std::size_t length = slots_.size();
        for (std::size_t i = 0; i < length; ++i) slots_[(position_ + i) % length] += ordinates_[i] * excess;
        const double outflow = slots_[position_];
        slots_[position_] = 0.0;
        position_ = (position_ + 1) % length;
        return outflow;
    }

private:
    std::vector<double> ordinates_;
    std::vector<double> slots_;
    std::size_t position_ = 0;
};
