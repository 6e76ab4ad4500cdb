// Counters on a running game, preloaded into it by bench/run.sh
// (LD_PRELOAD), so that the game measured is the shipped binary with its own
// platform, unchanged. It wraps SDL_Flip and the calls a frame waits in, and
// keeps running totals in a small file that the script reads while the game
// runs (the file named by HELI_FLIP_PROBE; without it nothing is counted).
//
// A frame's work runs from the end of the previous frame's wait (the pacer's
// last sleep or yield, or the flip's return when it did not wait) to the next
// flip; the flip's time is its own. Costs two or three clock reads per call
// wrapped.
#include <SDL.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sched.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

namespace {

// The file's layout: seven 64-bit counters in this order, read by the script.
struct FlipProbe {
    int64_t flips;
    int64_t workNs;
    int64_t flipNs;
    int64_t cpuNs; // the process's CPU time (user + system) at the last flip's end
    int64_t lastFlipEndNs; // monotonic
    int64_t firstFlipRealtimeNs; // wall-clock time, to set against the exec
    int64_t longWaits; // a win or end screen's pause, not a frame's wait
};

constexpr int64_t longWaitNs = 100000000;

FlipProbe* probe = nullptr;
int64_t lastWaitEndNs = 0;

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

} // namespace

extern "C" {

int SDL_Flip(SDL_Surface* screen)
{
    static auto flip = next<int (*)(SDL_Surface*)>("SDL_Flip");
    if (!probe)
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
