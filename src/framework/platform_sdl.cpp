// The real platform: a monotonic clock, SDL's event queue and keyboard state,
// and a paced flip.
#include "platform.h"
#include "pacer.h"
#include "process.h"

#include <sched.h>
#include <time.h>

namespace {

int64_t monotonicUs()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

// Taken while the process starts, so the tick count runs before SDL does.
const int64_t processStartUs = monotonicUs();

Pacer displayPacer;

void waitUntil(int64_t deadlineUs)
{
    int64_t sleepUs = sleepBeforeDeadline(deadlineUs, monotonicUs());
    if (sleepUs > 0) {
        timespec pause{time_t(sleepUs / 1000000), long(sleepUs % 1000000) * 1000};
        nanosleep(&pause, nullptr);
    }
    while (monotonicUs() < deadlineUs)
        sched_yield();
}

} // namespace

int tickCount()
{
    return int((monotonicUs() - processStartUs) / 1000);
}

void sleepMs(int ms)
{
    SDL_Delay(Uint32(ms));
}

bool drainEvents()
{
    bool quit = takeHangup();
    SDL_Event event;
    while (SDL_PollEvent(&event))
        if (event.type == SDL_QUIT)
            quit = true;
    return quit;
}

const Uint8* keyboardState()
{
    return SDL_GetKeyState(nullptr);
}

void flipDisplay(SDL_Surface* display)
{
    SDL_Flip(display);
    waitUntil(frameDeadline(displayPacer, monotonicUs()));
    frameEnded(displayPacer, monotonicUs());
}
