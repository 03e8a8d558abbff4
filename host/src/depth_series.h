// Rain depths, one per step, shared rather than copied: the events of a long
// record and a storm resampled to the same step are views of one series.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <vector>

namespace vesk::host {

class DepthSeries {
public:
    DepthSeries() = default;
    DepthSeries(std::vector<double> depths) // NOLINT: a series is its depths
        : values_(std::make_shared<const std::vector<double>>(std::move(depths))), count_(values_->size()) {}

    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    double operator[](std::size_t k) const { return (*values_)[first_ + k]; }
    double back() const { return (*this)[count_ - 1]; }
    const double *begin() const { return count_ == 0 ? nullptr : values_->data() + first_; }
    const double *end() const { return begin() + count_; }

    // Steps first .. first + count - 1 of this series, sharing its depths.
    DepthSeries slice(std::size_t first, std::size_t count) const {
        DepthSeries part = *this;
        part.first_ = first_ + first;
        part.count_ = count;
        return part;
    }

    std::vector<double> toVector() const { return std::vector<double>(begin(), end()); }
    bool operator==(const std::vector<double> &depths) const {
        return count_ == depths.size() && std::equal(begin(), end(), depths.begin());
    }
    bool operator==(const DepthSeries &other) const {
        return count_ == other.count_ && std::equal(begin(), end(), other.begin());
    }

private:
    std::shared_ptr<const std::vector<double>> values_ = std::make_shared<const std::vector<double>>();
    std::size_t first_ = 0;
    std::size_t count_ = 0;
};

} // namespace vesk::host
