#include "platform_scripted.h"
#include "platform.h"

#include <cstdlib>
#include <map>

namespace {

[[maybe_unused]] const bool headless = setenv("SDL_VIDEODRIVER", "dummy", 1) == 0; // before SDL starts
constexpr int frameMs = 16; // so frameStep settles at 8 as on a 60 Hz display
constexpr int readsPerMs = 16; // a loop that only reads the clock is waiting: so many reads make a ms pass

struct State {
    explicit State(int startMs = 0) : nowMs(startMs) {}
    int nowMs, sameReads = 0, drains = 0;
    Uint8 keys[SDLK_LAST] = {};
    std::multimap<int, SDLKey> happenings; // by time: a key pressed; SDLK_UNKNOWN quits
    std::function<void(int)> drainHook;
    std::function<void(SDL_Surface*)> flipHook;
    std::vector<int> sleeps;
} state;

} // namespace

namespace scripted {

void reset(int nowMs) { state = State(nowMs); }
int now() { return state.nowMs; }

void advance(int ms)
{
    state.nowMs += ms;
    state.sameReads = 0;
}

void pressAt(int atMs, SDLKey key) { state.happenings.insert({atMs, key}); }
void quitAt(int atMs) { state.happenings.insert({atMs, SDLK_UNKNOWN}); }
void hold(SDLKey key, bool held) { state.keys[key] = held; }
void onDrain(std::function<void(int)> hook) { state.drainHook = std::move(hook); }
void onFlip(std::function<void(SDL_Surface*)> hook) { state.flipHook = std::move(hook); }
const std::vector<int>& sleeps() { return state.sleeps; }

} // namespace scripted

int tickCount()
{
    if (++state.sameReads >= readsPerMs)
        scripted::advance(1);
    return state.nowMs;
}

void sleepMs(int ms)
{
    state.sleeps.push_back(ms);
    scripted::advance(ms);
}

bool drainEvents()
{
    state.sameReads = 0;
    if (state.drainHook)
        state.drainHook(++state.drains);
    bool quit = false;
    auto due = state.happenings.upper_bound(state.nowMs);
    for (auto h = state.happenings.begin(); h != due; h = state.happenings.erase(h)) {
        quit = quit || h->second == SDLK_UNKNOWN;
        state.keys[h->second] = 1;
    }
    return quit;
}

const Uint8* keyboardState() { return state.keys; }

void flipDisplay(SDL_Surface* display)
{
    SDL_Flip(display);
    if (state.flipHook)
        state.flipHook(display);
    scripted::advance(frameMs);
}
