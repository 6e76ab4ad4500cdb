#include "virtual_platform.h"
#include "framework/platform.h"

#include <algorithm>

namespace {

struct KeyEvent {
    int atMs;
    SDLKey key;
    bool held;
};

// A loop that does nothing but read the clock is waiting for time to pass;
// this many reads of the same value make a millisecond go by.
constexpr int readsPerSpinningMs = 16;

struct State {
    int nowMs = 0;
    int frameLengthMs = 16;
    int unchangedReads = 0;
    Uint8 keys[SDLK_LAST] = {};
    std::vector<KeyEvent> keyEvents;
    std::vector<int> quits;
    std::function<void(SDL_Surface*)> flipHook;
    int flips = 0;
    std::vector<int> sleeps;
};

State state;

} // namespace

namespace fake {

void reset(int nowMs)
{
    state = State{};
    state.nowMs = nowMs;
}

int now()
{
    return state.nowMs;
}

void advance(int ms)
{
    state.nowMs += ms;
    state.unchangedReads = 0;
}

void setFrameLength(int ms)
{
    state.frameLengthMs = ms;
}

void pressAt(int atMs, SDLKey key)
{
    state.keyEvents.push_back({atMs, key, true});
}

void releaseAt(int atMs, SDLKey key)
{
    state.keyEvents.push_back({atMs, key, false});
}

void quitAt(int atMs)
{
    state.quits.push_back(atMs);
}

void hold(SDLKey key, bool held)
{
    state.keys[key] = held;
}

void onFlip(std::function<void(SDL_Surface*)> hook)
{
    state.flipHook = std::move(hook);
}

int flipCount()
{
    return state.flips;
}

const std::vector<int>& sleeps()
{
    return state.sleeps;
}

} // namespace fake

int tickCount()
{
    if (++state.unchangedReads >= readsPerSpinningMs)
        fake::advance(1);
    return state.nowMs;
}

void sleepMs(int ms)
{
    state.sleeps.push_back(ms);
    fake::advance(ms);
}

bool drainEvents()
{
    state.unchangedReads = 0;
    std::stable_sort(state.keyEvents.begin(), state.keyEvents.end(),
                     [](const KeyEvent& a, const KeyEvent& b) { return a.atMs < b.atMs; });
    auto due = std::find_if(state.keyEvents.begin(), state.keyEvents.end(),
                            [](const KeyEvent& e) { return e.atMs > state.nowMs; });
    for (auto e = state.keyEvents.begin(); e != due; ++e)
        state.keys[e->key] = e->held;
    state.keyEvents.erase(state.keyEvents.begin(), due);

    auto quitsLeft = std::remove_if(state.quits.begin(), state.quits.end(),
                                    [](int atMs) { return atMs <= state.nowMs; });
    bool quit = quitsLeft != state.quits.end();
    state.quits.erase(quitsLeft, state.quits.end());
    return quit;
}

const Uint8* keyboardState()
{
    return state.keys;
}

void flipDisplay(SDL_Surface* display)
{
    SDL_Flip(display);
    ++state.flips;
    if (state.flipHook)
        state.flipHook(display);
    fake::advance(state.frameLengthMs);
}
