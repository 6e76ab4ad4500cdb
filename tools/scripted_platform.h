#pragma once
// A platform for taking pictures of the real game without a player or a
// screen: a virtual clock that moves only when the game flips, sleeps or spins
// on the tick count, a keyboard that the caller holds keys on, and a look at
// every finished frame.
#include <SDL.h>

#include <functional>

namespace scripted {

// Clock at nowMs, no keys held, no look at the frames.
void reset(int nowMs);

void hold(SDLKey key, bool held);

// Called with every finished frame, before the clock moves on.
void onFlip(std::function<void(SDL_Surface*)> look);

} // namespace scripted
