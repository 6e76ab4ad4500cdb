#include "scripted_platform.h"
#include "framework/platform.h"

namespace {

// A frame lasts 16 ms, so frameStep settles at 8 as on a 60 Hz display.
constexpr int frameMs = 16;
// A loop that only reads the clock is waiting for time to pass: this many
// reads of one value make a millisecond go by.
constexpr int readsPerMs = 16;

int nowMs = 0;
int sameReads = 0;
Uint8 keys[SDLK_LAST] = {};
std::function<void(SDL_Surface*)> look;

void advance(int ms)
{
    nowMs += ms;
    sameReads = 0;
}

} // namespace

namespace scripted {

void reset(int startMs)
{
    nowMs = startMs;
    sameReads = 0;
    for (Uint8& key : keys)
        key = 0;
    look = nullptr;
}

void hold(SDLKey key, bool held)
{
    keys[key] = held;
}

void onFlip(std::function<void(SDL_Surface*)> hook)
{
    look = std::move(hook);
}

} // namespace scripted

int tickCount()
{
    if (++sameReads >= readsPerMs)
        advance(1);
    return nowMs;
}

void sleepMs(int ms)
{
    advance(ms);
}

bool drainEvents()
{
    sameReads = 0;
    return false;
}

const Uint8* keyboardState()
{
    return keys;
}

void flipDisplay(SDL_Surface* display)
{
    SDL_Flip(display);
    if (look)
        look(display);
    advance(frameMs);
}
