#include "virtual_platform.h"
#include "framework/platform.h"

#include <cstdlib>
#include <map>

namespace {

[[maybe_unused]] const bool headless = setenv("SDL_VIDEODRIVER", "dummy", 1) == 0; // before SDL starts

struct State {
    explicit State(int startMs = 0) : nowMs(startMs) {}
    int nowMs, unchangedReads = 0, drains = 0;
    Uint8 keys[SDLK_LAST] = {};
    std::multimap<int, std::pair<SDLKey, bool>> happenings; // by time: a key held or not; SDLK_UNKNOWN quits
    std::function<void(int)> drainHook;
    std::function<void(SDL_Surface*)> flipHook;
    std::vector<int> sleeps;
} state;

} // namespace

namespace fake {

void reset(int nowMs) { state = State(nowMs); }
int now() { return state.nowMs; }

void advance(int ms)
{
    state.nowMs += ms;
    state.unchangedReads = 0;
}

void pressAt(int atMs, SDLKey key) { state.happenings.insert({atMs, {key, true}}); }
void quitAt(int atMs) { state.happenings.insert({atMs, {SDLK_UNKNOWN, true}}); }
void hold(SDLKey key, bool held) { state.keys[key] = held; }
void onDrain(std::function<void(int)> hook) { state.drainHook = std::move(hook); }
void onFlip(std::function<void(SDL_Surface*)> hook) { state.flipHook = std::move(hook); }
const std::vector<int>& sleeps() { return state.sleeps; }

} // namespace fake

// A loop that only reads the clock is waiting: 16 reads of the same value make a millisecond pass.
int tickCount()
{
    if (++state.unchangedReads >= 16)
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
    if (state.drainHook)
        state.drainHook(++state.drains);
    bool quit = false;
    auto due = state.happenings.upper_bound(state.nowMs);
    for (auto h = state.happenings.begin(); h != due; ++h) {
        quit = quit || h->second.first == SDLK_UNKNOWN;
        state.keys[h->second.first] = h->second.second;
    }
    state.happenings.erase(state.happenings.begin(), due);
    return quit;
}

const Uint8* keyboardState() { return state.keys; }

void flipDisplay(SDL_Surface* display)
{
    SDL_Flip(display);
    if (state.flipHook)
        state.flipHook(display);
    fake::advance(16);
}
