// A progress line for long runs: shown only on a terminal and only once a
// run has taken about a second, rewritten in place at most a few times a
// second, and erased when the run ends -- never written into files or pipes.
#pragma once

#include <chrono>
#include <cstddef>
#include <ostream>

namespace vesk::tool {

class ProgressLine {
public:
    using Clock = std::chrono::steady_clock;

    // `terminal`: whether `out` is a terminal (see stderrIsTerminal).
    ProgressLine(std::ostream &out, bool terminal, std::size_t basins);
    ~ProgressLine(); // erases a shown line
    ProgressLine(const ProgressLine &) = delete;
    ProgressLine &operator=(const ProgressLine &) = delete;

    // Steps done of `total`; `now` is passed for testing.
    void update(std::size_t done, std::size_t total, Clock::time_point now = Clock::now());

private:
    std::ostream &out_;
    bool terminal_;
    std::size_t basins_;
    Clock::time_point start_;
    Clock::time_point lastShown_{};
    bool shown_ = false;
};

bool stderrIsTerminal();

} // namespace vesk::tool
