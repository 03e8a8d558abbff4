// The progress line: only on a terminal, only after a quiet second, erased at
// the end.
#include "progress_line.h"

#include <gtest/gtest.h>

#include <sstream>

#include "test_files.h"

namespace vesk::tool {
namespace {

using std::chrono::milliseconds;

TEST(ProgressLine, ShownOnATerminalAfterASecondThenErased) {
    std::ostringstream out;
    {
        ProgressLine line(out, true, 3);
        const auto start = ProgressLine::Clock::now();
        line.update(10, 100, start + milliseconds(500));
        EXPECT_EQ(out.str(), ""); // a short run stays quiet
        line.update(50, 100, start + milliseconds(1500));
        EXPECT_EQ(out.str().substr(0, 4), "\r\033[K");
        EXPECT_NE(out.str().find("step 50 of about 100, 3 basin(s), 1."), std::string::npos) << out.str();
        const std::size_t shown = out.str().size();
        line.update(51, 100, start + milliseconds(1550)); // too soon to redraw
        EXPECT_EQ(out.str().size(), shown);
    }
    EXPECT_EQ(out.str().substr(out.str().size() - 4), "\r\033[K");
}

TEST(ProgressLine, NeverInFilesOrPipes) {
    std::ostringstream out;
    {
        ProgressLine line(out, false, 1);
        line.update(1, 2, ProgressLine::Clock::now() + std::chrono::seconds(5));
    }
    EXPECT_EQ(out.str(), "");
}

} // namespace
} // namespace vesk::tool
