// The frame pacing arithmetic: deadlines on a microsecond schedule and the
// sleep that comes before the last stretch of yielding.
#include "framework/pacer.h"

#include <gtest/gtest.h>

namespace {

TEST(Pacer, FirstFrameEndsAtOnce)
{
    Pacer pacer;
    EXPECT_EQ(nextDeadline(pacer, 123456), 123456);
    EXPECT_EQ(pacer.deadlineUs, 123456);
}

// Frames that finish early keep to the schedule; work time does not shift it.
TEST(Pacer, OnTimeFramesStepByOnePeriod)
{
    Pacer pacer;
    nextDeadline(pacer, 0);
    EXPECT_EQ(nextDeadline(pacer, 4000), 16667);
    EXPECT_EQ(nextDeadline(pacer, 16667 + 9000), 33334);
    EXPECT_EQ(nextDeadline(pacer, 33334 + 16666), 50001) << "one microsecond early";
}

TEST(Pacer, LateFrameRestartsTheScheduleFromNow)
{
    Pacer pacer;
    nextDeadline(pacer, 0);
    EXPECT_EQ(nextDeadline(pacer, 40000), 40000);
    EXPECT_EQ(nextDeadline(pacer, 41000), 56667);
}

// A flip that waited for the display itself lands on or past the deadline:
// nothing is added to it.
TEST(Pacer, FlipThatAlreadyWaitedAddsNoWait)
{
    for (int64_t late : {0, 1, 300}) {
        Pacer pacer;
        nextDeadline(pacer, 0);
        int64_t now = 16667 + late;
        int64_t deadline = nextDeadline(pacer, now);
        EXPECT_EQ(deadline, now) << late;
        EXPECT_EQ(sleepBeforeDeadline(deadline, now), 0) << late;
    }
}

TEST(Pacer, SleepsUntilTheMarginBeforeTheDeadline)
{
    EXPECT_EQ(sleepBeforeDeadline(20000, 20000 - 16667), 16667 - sleepMarginUs);
    EXPECT_EQ(sleepBeforeDeadline(20000, 20000 - sleepMarginUs - 1), 1);
    EXPECT_EQ(sleepBeforeDeadline(20000, 20000 - sleepMarginUs), 0);
    EXPECT_EQ(sleepBeforeDeadline(20000, 20000 - sleepMarginUs / 2), 0);
    EXPECT_EQ(sleepBeforeDeadline(20000, 25000), 0);
}

// The game measures frames in whole milliseconds: the schedule must give it
// 16 or 17 every frame, so frameStep stays 8, and must not drift.
TEST(Pacer, MillisecondFrameLengthsStaySixteenOrSeventeen)
{
    const int64_t startUs = 987654; // the process clock is not aligned to the schedule
    Pacer pacer;
    int64_t deadline = nextDeadline(pacer, startUs);
    for (int frame = 1; frame <= 1000; ++frame) {
        int64_t next = nextDeadline(pacer, deadline + 3000 + frame % 7 * 1000);
        int64_t lengthMs = next / 1000 - deadline / 1000;
        ASSERT_TRUE(lengthMs == 16 || lengthMs == 17) << "frame " << frame << ": " << lengthMs;
        ASSERT_EQ(lengthMs / 2, 8);
        deadline = next;
    }
    EXPECT_EQ(deadline, startUs + 1000 * framePeriodUs);
}

} // namespace
