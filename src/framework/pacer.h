#pragma once
// Frame pacing: a frame whose flip returned early is stretched to the length
// the game was designed for (60 frames a second). The deadlines follow a
// microsecond schedule, so the millisecond frame lengths the game measures are
// 16 or 17 and its frameStep is 8.
#include <cstdint>

constexpr int64_t framePeriodUs = 16667;
// A sleep here usually ends 50 to 100 us late; the last stretch before the
// deadline is spent yielding instead, which costs a few percent of a core.
constexpr int64_t sleepMarginUs = 600;

struct Pacer {
    int64_t deadlineUs = -1; // end of the previous frame; -1 before the first one
};

// When the frame that is ending now may end. A frame that already ran past its
// period ends at once and the schedule starts again from it, rather than
// rushing later frames to catch up (frameStep already makes up for the time).
int64_t nextDeadline(Pacer& pacer, int64_t nowUs);

// How long to sleep before yielding out the rest of the wait; 0 when the
// deadline is near or already past.
int64_t sleepBeforeDeadline(int64_t deadlineUs, int64_t nowUs);
