// Counters on a running game, preloaded into it by bench/run.sh
// (LD_PRELOAD), so that the game measured is the shipped binary with its own
// platform, unchanged. It wraps SDL_Flip and the calls a frame waits in, and
// keeps running totals in a small file that the script reads while the game
// runs (the file named by HELI_FLIP_PROBE; without it nothing is counted).
//
// A frame's work runs from the end of the previous frame's wait (the pacer's
// last sleep or yield, or the flip's return when it did not wait) to the next
// flip; the flip's time is its own. Costs two or three clock reads per call
// wrapped. The classic library clears a double-buffered display with a flip of
// its own inside SDL_SetVideoMode; that one is not a frame of the game.
#include <SDL.h>
#include <SDL_ttf.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sched.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

namespace {

// The file's layout: twelve 64-bit counters in this order, read by the script.
struct FlipProbe {
    int64_t flips;
    int64_t workNs;
    int64_t flipNs;
    int64_t cpuNs; // the process's CPU time (user + system) at the last flip's end
    int64_t lastFlipEndNs; // monotonic
    int64_t firstFlipRealtimeNs; // wall-clock time, to set against the exec
    int64_t longWaits; // a win or end screen's pause, not a frame's wait
    // Where the work goes, as time inside these calls:
    int64_t eventsNs; // draining events
    int64_t plainBlitNs; // blits without a colour key (the background, shots)
    int64_t keyedBlitNs; // blits with one (keyed sprites, texts)
    int64_t fillNs;
    int64_t textNs; // rendering texts and freeing surfaces
};

constexpr int64_t longWaitNs = 100000000;

FlipProbe* probe = nullptr;
int64_t lastWaitEndNs = 0;
bool settingMode = false;

int64_t nowNs(clockid_t clock)
{
    timespec now;
    clock_gettime(clock, &now);
    return int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
}

template <typename Function>
Function next(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

__attribute__((constructor)) void openProbe()
{
    const char* path = std::getenv("HELI_FLIP_PROBE");
    if (!path)
        return;
    int file = open(path, O_RDWR | O_CREAT | O_TRUNC, 0644);
    if (file < 0 || ftruncate(file, sizeof(FlipProbe)) != 0)
        return;
    void* shared = mmap(nullptr, sizeof(FlipProbe), PROT_READ | PROT_WRITE, MAP_SHARED, file, 0);
    close(file);
    if (shared != MAP_FAILED)
        probe = static_cast<FlipProbe*>(shared);
}

// Runs a wait and notes when it ended.
template <typename Wait>
int timedWait(Wait wait)
{
    int64_t startNs = nowNs(CLOCK_MONOTONIC);
    int result = wait();
    lastWaitEndNs = nowNs(CLOCK_MONOTONIC);
    if (probe && lastWaitEndNs - startNs > longWaitNs)
        probe->longWaits += 1;
    return result;
}

// Runs a call of the frame's work and adds its time to a counter.
template <typename Call>
auto timedCall(int64_t FlipProbe::*counter, Call call)
{
    if (!probe || settingMode)
        return call();
    int64_t startNs = nowNs(CLOCK_MONOTONIC);
    auto result = call();
    probe->*counter += nowNs(CLOCK_MONOTONIC) - startNs;
    return result;
}

} // namespace

extern "C" {

int SDL_PollEvent(SDL_Event* event)
{
    static auto poll = next<int (*)(SDL_Event*)>("SDL_PollEvent");
    return timedCall(&FlipProbe::eventsNs, [&] { return poll(event); });
}

int SDL_UpperBlit(SDL_Surface* source, SDL_Rect* from, SDL_Surface* target, SDL_Rect* to)
{
    static auto blit = next<int (*)(SDL_Surface*, SDL_Rect*, SDL_Surface*, SDL_Rect*)>("SDL_UpperBlit");
    bool keyed = source && (source->flags & SDL_SRCCOLORKEY);
    return timedCall(keyed ? &FlipProbe::keyedBlitNs : &FlipProbe::plainBlitNs,
                     [&] { return blit(source, from, target, to); });
}

int SDL_FillRect(SDL_Surface* target, SDL_Rect* area, Uint32 colour)
{
    static auto fill = next<int (*)(SDL_Surface*, SDL_Rect*, Uint32)>("SDL_FillRect");
    return timedCall(&FlipProbe::fillNs, [&] { return fill(target, area, colour); });
}

SDL_Surface* TTF_RenderText_Solid(TTF_Font* font, const char* text, SDL_Color colour)
{
    static auto render = next<SDL_Surface* (*)(TTF_Font*, const char*, SDL_Color)>("TTF_RenderText_Solid");
    return timedCall(&FlipProbe::textNs, [&] { return render(font, text, colour); });
}

void SDL_FreeSurface(SDL_Surface* surface)
{
    static auto release = next<void (*)(SDL_Surface*)>("SDL_FreeSurface");
    timedCall(&FlipProbe::textNs, [&] {
        release(surface);
        return 0;
    });
}

int SDL_Flip(SDL_Surface* screen)
{
    static auto flip = next<int (*)(SDL_Surface*)>("SDL_Flip");
    if (!probe || settingMode)
        return flip(screen);
    int64_t enteredNs = nowNs(CLOCK_MONOTONIC);
    if (probe->flips > 0)
        probe->workNs += enteredNs - (lastWaitEndNs > probe->lastFlipEndNs ? lastWaitEndNs
                                                                            : probe->lastFlipEndNs);
    int result = flip(screen);
    int64_t leftNs = nowNs(CLOCK_MONOTONIC);
    probe->flipNs += leftNs - enteredNs;
    probe->lastFlipEndNs = leftNs;
    probe->cpuNs = nowNs(CLOCK_PROCESS_CPUTIME_ID);
    if (probe->flips == 0)
        probe->firstFlipRealtimeNs = nowNs(CLOCK_REALTIME);
    probe->flips += 1;
    return result;
}

SDL_Surface* SDL_SetVideoMode(int width, int height, int bitsPerPixel, Uint32 flags)
{
    static auto setMode = next<SDL_Surface* (*)(int, int, int, Uint32)>("SDL_SetVideoMode");
    settingMode = true;
    SDL_Surface* display = setMode(width, height, bitsPerPixel, flags);
    settingMode = false;
    return display;
}

int clock_nanosleep(clockid_t clock, int flags, const timespec* until, timespec* left)
{
    static auto sleep = next<int (*)(clockid_t, int, const timespec*, timespec*)>("clock_nanosleep");
    return timedWait([&] { return sleep(clock, flags, until, left); });
}

int nanosleep(const timespec* pause, timespec* left)
{
    static auto sleep = next<int (*)(const timespec*, timespec*)>("nanosleep");
    return timedWait([&] { return sleep(pause, left); });
}

// Earlier builds yielded through the end of each wait; counted alike, they
// can be measured beside today's.
int sched_yield()
{
    static auto yield = next<int (*)()>("sched_yield");
    return timedWait([&] { return yield(); });
}

} // extern "C"
