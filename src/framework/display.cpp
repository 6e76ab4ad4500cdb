#include "display.h"
#include "fatal.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace {

// Where SDL draws when no graphical display can be opened: text art on the
// terminal (classic SDL 1.2), or memory nobody looks at (SDL 2 under
// sdl12-compat). Such a game would run on unseen until killed.
bool showsNothing(const char* driver)
{
    for (const char* fallback : {"caca", "aalib", "offscreen", "dummy"})
        if (std::strcmp(driver, fallback) == 0)
            return true;
    return false;
}

} // namespace

void startVideo()
{
    // A driver chosen through SDL's own environment is used as chosen.
    const char* chosen = std::getenv("SDL_VIDEODRIVER");
    const bool driverChosen = chosen && *chosen;
    // Keeps the text-art fallback, should SDL come to try it, off the terminal:
    // it is turned down below anyway.
    if (!driverChosen)
        setenv("CACA_DRIVER", "null", 0);
    // The game reads held keys and never composed text, yet SDL's X11 start
    // opens an input method that parses the locale's whole Compose table:
    // three quarters of the video start's work. A table the player set stays.
    setenv("XCOMPOSEFILE", "/dev/null", 0);
    if (SDL_Init(SDL_INIT_VIDEO) == -1)
        fatalError("Can't init SDL: \n");
    char driver[32] = "";
    if (!driverChosen && SDL_VideoDriverName(driver, sizeof driver) && showsNothing(driver)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        SDL_SetError("No graphical display; SDL offered its %s driver", driver);
        fatalError("Can't init SDL: \n");
    }
}

SDL_Surface* setGameDisplayMode()
{
    SDL_Surface* display = SDL_SetVideoMode(screenWidth, screenHeight, 16,
                                            SDL_HWSURFACE | SDL_DOUBLEBUF | SDL_FULLSCREEN);
    if (!display)
        fatalError("Can't set VideoMode: \n");
    return display;
}

void drawAt(SDL_Surface* sprite, SDL_Rect& at, SDL_Surface* display)
{
    SDL_BlitSurface(sprite, nullptr, display, &at);
}

void drawText(SDL_Surface* text, Sint16 x, Sint16 y, SDL_Surface* display)
{
    if (!text)
        return;
    SDL_Rect at{x, y, 0, 0};
    SDL_BlitSurface(text, nullptr, display, &at);
}
