#pragma once
// A platform with a virtual clock and scripted keys, so missions and the menu run headless: the
// clock moves only when the game flips a frame, sleeps or spins on the tick count.
#include <SDL.h>

#include <functional>
#include <vector>

namespace scripted {

void reset(int nowMs = 0); // the clock at nowMs, no keys, events or hooks
int now();
void advance(int ms);
// Keys and quit requests reach the game at its first drain at or after atMs.
void pressAt(int atMs, SDLKey key);
void quitAt(int atMs);
void hold(SDLKey key, bool held = true); // at once, as if drained already
// Hooks: at every drain (numbered from 1) before it takes what is due; at every flip before 16 ms pass.
void onDrain(std::function<void(int drain)> hook);
void onFlip(std::function<void(SDL_Surface*)> hook);
const std::vector<int>& sleeps(); // every sleep since the reset, in order

} // namespace scripted
