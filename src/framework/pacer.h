#pragma once
// Frame pacing: a frame whose flip returned early is stretched to the length
// the game was designed for (60 frames a second), counted in microseconds from
// the end of the previous frame, so that the millisecond frame lengths the game
// measures are 16 or 17 and its frameStep is 8.
#include <cstdint>

constexpr int64_t framePeriodUs = 16667;

struct Pacer {
    int64_t frameEndUs = -1; // when the previous frame ended; -1 before the first
};

// When the frame that flipped at nowUs may end: one period after the previous
// frame ended, or at once if it already took longer (a flip that waited for
// the display, or a slow frame).
int64_t frameDeadline(const Pacer& pacer, int64_t nowUs);

// A sleep ends a little after its deadline. Up to this much late the frame
// counts as ended on time, so that the slack does not add up into slower
// frames; every frame then lasts 16.33 to 17 ms, 16 or 17 whole milliseconds.
constexpr int64_t wakeSlackUs = 330;

// Notes the end of a frame that was due at deadlineUs and ended at nowUs. A
// wake-up later than the slack starts the next frame late too, rather than
// cutting it short to keep to a fixed beat: frameStep makes up for the lost
// time, and a short frame would only jerk (below 10 ms the slowest objects
// stop for a frame). On a busy machine this keeps more frames at frameStep 8
// than a fixed beat does (bench/README.md).
void frameEnded(Pacer& pacer, int64_t deadlineUs, int64_t nowUs);

// A browser's frames begin on the display's even beat but reach the game a
// little later, by an amount that varies from frame to frame (0.7 ms in most,
// now and then 5 ms, in headless Chromium). A frame ends a little after its
// display frame began, the longest lag of late: then the frames the game
// measures are as even as the display's, 16 or 17 whole milliseconds, where
// ending at each arrival would give 15 and 18 in turns. A later arrival moves
// that end at once (the one frame is long, none is cut short); it eases back
// by lagEaseUs a frame (frames 0.02 ms short), and never lies further than
// lagCapUs after the display frame, so a stall does not keep the game waiting.
constexpr int64_t lagEaseUs = 20;
constexpr int64_t lagCapUs = 5000;

// Where the next frame ends after its display frame began, given where the
// last one did and how late the next one arrived.
int64_t frameEndLag(int64_t lastFrameEndLagUs, int64_t arrivalLagUs);
