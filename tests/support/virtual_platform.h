#pragma once
// A scripted platform for headless runs: a virtual clock that moves only when
// the game flips, sleeps or spins on the tick count, and a keyboard and event
// queue driven by the test.
#include <SDL.h>

#include <functional>
#include <vector>

namespace fake {

// Everything back to the start: clock at nowMs, no keys, no events, 16 ms frames.
void reset(int nowMs = 0);

int now();
void advance(int ms);

// How far the clock moves at each flip: the length of a frame.
void setFrameLength(int ms);

// Keys and quit requests reach the game at its first drain at or after atMs.
void pressAt(int atMs, SDLKey key);
void releaseAt(int atMs, SDLKey key);
void quitAt(int atMs);
// Changes a key at once, as if it had been drained already.
void hold(SDLKey key, bool held = true);

// Called at every flip with the finished picture, before the clock moves.
void onFlip(std::function<void(SDL_Surface*)> hook);

int flipCount();
const std::vector<int>& sleeps();

} // namespace fake
