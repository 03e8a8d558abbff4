#include "progress_line.h"

#include <unistd.h>

#include "number_text.h"

namespace vesk::tool {

using namespace vesk::host;

namespace {

constexpr auto kQuietStart = std::chrono::seconds(1);
constexpr auto kRefresh = std::chrono::milliseconds(200);
constexpr const char *kEraseLine = "\r\033[K";

} // namespace

ProgressLine::ProgressLine(std::ostream &out, bool terminal, std::size_t basins)
    : out_(out), terminal_(terminal), basins_(basins), start_(Clock::now()) {}

ProgressLine::~ProgressLine() {
    if (shown_) out_ << kEraseLine << std::flush;
}

void ProgressLine::update(std::size_t done, std::size_t total, Clock::time_point now) {
    if (!terminal_ || now - start_ < kQuietStart) return;
    if (shown_ && now - lastShown_ < kRefresh) return;
    const double elapsed = std::chrono::duration<double>(now - start_).count();
    out_ << kEraseLine << "step " << done << " of about " << total << ", " << basins_ << " basin(s), "
         << fixedText(elapsed, 1) << " s" << std::flush;
    shown_ = true;
    lastShown_ = now;
}

bool stderrIsTerminal() { return isatty(STDERR_FILENO) == 1; }

} // namespace vesk::tool
