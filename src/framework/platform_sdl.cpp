// The real platform: a monotonic clock, SDL's event queue and keyboard state,
// and a paced flip.
#include "platform.h"
#include "pacer.h"
#include "process.h"

#include <errno.h>
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

// One sleep to an absolute time on the same clock: however late the sleep
// starts or a signal cuts it short, it ends at the deadline, with no spinning.
void sleepUntil(int64_t deadlineUs)
{
    timespec deadline{time_t(deadlineUs / 1000000), long(deadlineUs % 1000000) * 1000};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
}

// Alt+Enter: the player's switch between full screen and a window. It is the
// platform's own, so a frame never sees it as a key or a quit request.
bool isWindowToggle(const SDL_Event& event)
{
    return event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_RETURN &&
           (event.key.keysym.mod & KMOD_ALT);
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
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT)
            quit = true;
        // Where SDL cannot switch, nothing happens.
        if (isWindowToggle(event))
            SDL_WM_ToggleFullScreen(SDL_GetVideoSurface());
    }
    return quit;
}

const Uint8* keyboardState()
{
    return SDL_GetKeyState(nullptr);
}

void flipDisplay(SDL_Surface* display)
{
    SDL_Flip(display);
    int64_t deadlineUs = frameDeadline(displayPacer, monotonicUs());
    sleepUntil(deadlineUs);
    frameEnded(displayPacer, deadlineUs, monotonicUs());
}
