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

TEST(Pacer, FirstFrameEndsAtOnce)
{
    Pacer pacer;
    EXPECT_EQ(paceFrame(pacer, 123456), 123456);
    EXPECT_EQ(pacer.frameEndUs, 123456);
}

// Frames that finish early last one period; the work inside them does not
// shift the schedule.
TEST(Pacer, EarlyFramesLastOnePeriod)
{
    Pacer pacer;
    paceFrame(pacer, 0);
    EXPECT_EQ(paceFrame(pacer, 4000), 16667);
    EXPECT_EQ(paceFrame(pacer, 16667 + 9000), 33334);
    EXPECT_EQ(paceFrame(pacer, 33334 + 16666), 50001) << "one microsecond early";
}

// A flip that waited for the display itself, or a slow frame, lands on or past
// the deadline: nothing is added to it, and the next frame counts from it.
TEST(Pacer, LateFrameAddsNoWaitAndTheNextCountsFromIt)
{
    for (int64_t late : {0, 1, 300, 23333}) {
        Pacer pacer;
        paceFrame(pacer, 0);
        int64_t flip = 16667 + late;
        int64_t deadline = frameDeadline(pacer, flip);
        EXPECT_EQ(deadline, flip) << late;
        EXPECT_EQ(sleepBeforeDeadline(deadline, flip), 0) << late;
        frameEnded(pacer, flip);
        EXPECT_EQ(paceFrame(pacer, flip + 2000), flip + framePeriodUs) << late;
    }
}

// A wake-up that comes late (the machine was busy) must not cut the next frame
// short: a short frame is a small frameStep, a visible jerk.
TEST(Pacer, LateWakeUpDoesNotShortenTheNextFrame)
{
    Pacer pacer;
    paceFrame(pacer, 0);
    int64_t deadline = frameDeadline(pacer, 5000);
    ASSERT_EQ(deadline, 16667);
    frameEnded(pacer, deadline + 4000);
    EXPECT_EQ(frameDeadline(pacer, deadline + 7000), deadline + 4000 + framePeriodUs);
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
    int64_t deadline = paceFrame(pacer, startUs);
    for (int frame = 1; frame <= 1000; ++frame) {
        int64_t next = paceFrame(pacer, deadline + 3000 + frame % 7 * 1000);
        int64_t lengthMs = next / 1000 - deadline / 1000;
        ASSERT_TRUE(lengthMs == 16 || lengthMs == 17) << "frame " << frame << ": " << lengthMs;
        ASSERT_EQ(lengthMs / 2, 8);
        deadline = next;
    }
    EXPECT_EQ(deadline, startUs + 1000 * framePeriodUs);
}

} // namespace
