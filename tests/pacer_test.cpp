// The pacer forgives a wake-up within its slack, and only that: a later one
// starts the next frame late instead of cutting it short.
#include "framework/pacer.h"

#include <gtest/gtest.h>

TEST(Pacer, NextDeadlineCountsFromTheDeadlineOnlyWithinTheSlack)
{
    const int64_t due = 50000;
    const struct {
        int64_t lateUs, flippedUs, nextDeadlineUs;
    } rows[] = {
        {0, 3000, due + 16667},
        {329, 3000, due + 16667},
        {330, 3000, due + 330 + 16667},
        {5000, 3000, due + 5000 + 16667},
        // A frame that overran its period ends at once, not at its past slot.
        {0, 16668, due + 16668},
        {5000, 40000, due + 45000},
    };
    EXPECT_EQ(frameDeadline(Pacer{}, 1000), 1000) << "the first frame waits for nothing";
    for (const auto& row : rows) {
        Pacer pacer;
        frameEnded(pacer, due, due + row.lateUs);
        EXPECT_EQ(frameDeadline(pacer, due + row.lateUs + row.flippedUs), row.nextDeadlineUs)
            << row.lateUs << ' ' << row.flippedUs;
    }
}

TEST(Pacer, FrameEndFollowsALaterArrivalAtOnceAndEasesBackSlowly)
{
    const struct {
        int64_t lastLagUs, arrivalLagUs, frameEndLagUs;
    } rows[] = {
        {700, 500, 680},   // eases back by 20 us a frame
        {700, 690, 690},
        {1200, 400, 1180}, // no further
        {700, 3000, 3000}, // a later arrival moves it at once
        {4000, 4950, 4950},
        {4000, 5001, 5000}, // capped: a stall does not keep the game waiting after it
        {5000, 9000, 5000},
    };
    for (const auto& row : rows)
        EXPECT_EQ(frameEndLag(row.lastLagUs, row.arrivalLagUs), row.frameEndLagUs)
            << row.lastLagUs << ' ' << row.arrivalLagUs;
}
