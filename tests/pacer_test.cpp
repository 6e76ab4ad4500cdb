// The pacer forgives a wake-up within its slack, and only that: a later one
// starts the next frame late instead of cutting it short.
#include "framework/pacer.h"

#include <gtest/gtest.h>

TEST(Pacer, NextDeadlineCountsFromTheDeadlineOnlyWithinTheSlack)
{
    const int64_t due = 50000;
    const struct {
        int64_t lateUs, nextDeadlineUs;
    } rows[] = {
        {0, due + 16667},
        {329, due + 16667},
        {330, due + 330 + 16667},
        {5000, due + 5000 + 16667},
    };
    for (const auto& row : rows) {
        Pacer pacer;
        frameEnded(pacer, due, due + row.lateUs);
        EXPECT_EQ(frameDeadline(pacer, due + row.lateUs + 3000), row.nextDeadlineUs)
            << row.lateUs;
    }
}
