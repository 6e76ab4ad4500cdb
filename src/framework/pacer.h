#pragma once
// Frame pacing: a frame whose flip returned early is stretched to the length
// the game was designed for (60 frames a second), counted in microseconds from
// the end of the previous frame, so that the millisecond frame lengths the game
// measures are 16 or 17 and its frameStep is 8.
#include <cstdint>

constexpr int64_t framePeriodUs = 16667;
// A sleep here usually ends 50 to 100 us late; the last stretch before the
// deadline is spent yielding instead, which costs a few percent of a core.
constexpr int64_t sleepMarginUs = 600;

struct Pacer {
    int64_t frameEndUs = -1; // when the previous frame ended; -1 before the first
};

// When the frame that flipped at nowUs may end: one period after the previous
// frame ended, or at once if it already took longer (a flip that waited for
// the display, or a slow frame).
int64_t frameDeadline(const Pacer& pacer, int64_t nowUs);

// Notes the real end of a frame. A wake-up that came late starts the next
// frame late too, rather than cutting it short to keep to a fixed beat:
// frameStep makes up for the lost time, and a short frame would only jerk.
void frameEnded(Pacer& pacer, int64_t nowUs);

// How long to sleep before yielding out the rest of the wait; 0 when the
// deadline is near or already past.
int64_t sleepBeforeDeadline(int64_t deadlineUs, int64_t nowUs);
