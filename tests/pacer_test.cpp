// The frame pacing arithmetic: each frame lasts one period from the end of the
// previous one, and the sleep comes before the last stretch of yielding.
#include "framework/pacer.h"

#include <gtest/gtest.h>

namespace {

// A frame that flips at flipUs and then waits exactly until its deadline.
int64_t paceFrame(Pacer& pacer, int64_t flipUs)
{
    int64_t deadline = frameDeadline(pacer, flipUs);
    frameEnded(pacer, deadline);
    return deadline;
}

// The first frame ends at once; frames that finish early last one period, and
// the work inside them does not shift the schedule.
TEST(Pacer, EarlyFramesLastOnePeriod)
{
    Pacer pacer;
    EXPECT_EQ(paceFrame(pacer, 123456), 123456);
    EXPECT_EQ(paceFrame(pacer, 123456 + 4000), 140123);
    EXPECT_EQ(paceFrame(pacer, 140123 + 9000), 156790);
    EXPECT_EQ(paceFrame(pacer, 156790 + 16666), 173457) << "one microsecond early";
}

// Whatever ends a frame late adds no wait to it: a flip that waited for the
// display, a slow frame, a wake-up the busy machine delivered late. The next
// frame counts a whole period from that real end rather than keeping to a
// fixed beat, since a short frame is a small frameStep, a visible jerk.
TEST(Pacer, NextFrameCountsFromALateEnd)
{
    for (int64_t late : {0, 1, 300, 4000, 23333}) {
        Pacer pacer;
        paceFrame(pacer, 0);
        int64_t end = 16667 + late;
        EXPECT_EQ(frameDeadline(pacer, end), end) << late;
        frameEnded(pacer, end);
        EXPECT_EQ(paceFrame(pacer, end + 2000), end + 16667) << late;
    }
}

TEST(Pacer, SleepsUntilTheMarginBeforeTheDeadline)
{
    EXPECT_EQ(sleepBeforeDeadline(20000, 20000 - 16667), 16667 - 600);
    EXPECT_EQ(sleepBeforeDeadline(20000, 20000 - 601), 1);
    EXPECT_EQ(sleepBeforeDeadline(20000, 20000 - 600), 0);
    EXPECT_EQ(sleepBeforeDeadline(20000, 25000), 0);
}

// The game measures frames in whole milliseconds: the schedule must give it
// 16 or 17 every frame, so frameStep stays 8, and must not drift.
TEST(Pacer, MillisecondFrameLengthsStaySixteenOrSeventeen)
{
    const int64_t startUs = 987654; // the process clock is not aligned to the schedule
    Pacer pacer;
    int64_t deadline = paceFrame(pacer, startUs);
    for (int frame = 1; frame <= 1000; ++frame) {
        int64_t next = paceFrame(pacer, deadline + 3000 + frame % 7 * 1000);
        int64_t lengthMs = next / 1000 - deadline / 1000;
        ASSERT_TRUE(lengthMs == 16 || lengthMs == 17) << "frame " << frame << ": " << lengthMs;
        deadline = next;
    }
    EXPECT_EQ(deadline, startUs + 1000 * 16667);
}

} // namespace
