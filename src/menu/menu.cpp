#include "menu.h"
#include "framework/display.h"
#include "framework/platform.h"
#include "framework/text.h"
#include "missions/rescue.h"
#include "missions/shoot_down.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int menuFontSize = 24;
constexpr SDL_Color menuTextColour{0, 0, 255, 0};
constexpr int startDelayMs = 300;

// Spins rather than sleeps: the delay comes before SDL is up.
void busyWait(int ms)
{
    int start = tickCount();
    while (tickCount() - ms < start) {
    }
}

// The password is m, k, r held together; m is already held. Each further
// letter is looked at only after the events have been drained again. Returns
// true when a quit request was taken from the queue here, so that the menu
// ends as it would have had the pass's own drain taken it.
bool passwordCheck(int argc, char** argv)
{
    bool quit = drainEvents();
    if (quit || !keyboardState()[SDLK_k])
        return quit;
    quit = drainEvents();
    if (keyboardState()[SDLK_r])
        runRescueMission(argc, argv, tickCount());
    return quit;
}

void drawMenu(SDL_Surface* firstLine, SDL_Surface* secondLine)
{
    // A mission sets the mode again; draw on whatever display is current now.
    SDL_Surface* display = SDL_GetVideoSurface();
    SDL_FillRect(display, nullptr, sixteenBitPixel(display->format, 255, 255, 0));
    drawText(firstLine, 400, 300, display);
    drawText(secondLine, 400, 350, display);
    flipDisplay(display);
}

} // namespace

int runMenu(int argc, char** argv)
{
    startFonts();
    Font* font = openFont(menuFontSize);
    SDL_Surface* firstLine = renderText(font, "1-Neues Spiel", menuTextColour);
    SDL_Surface* secondLine = renderText(font, "2-Beenden", menuTextColour);

    std::fputs("Programming and Graphics \n   Brastolmein\n", stdout);
    std::fflush(stdout);
    busyWait(startDelayMs);

    startVideo();
    std::atexit(SDL_Quit);
    setGameDisplayMode();
    firstLine = readyToDraw(firstLine);
    secondLine = readyToDraw(secondLine);

    bool menuEnd = false;
    while (!menuEnd) {
        if (drainEvents())
            menuEnd = true;
        const Uint8* keys = keyboardState();
        if (keys[SDLK_1])
            runShootDownMission(argc, argv, tickCount());
        if (keys[SDLK_m] && passwordCheck(argc, argv))
            menuEnd = true;
        if (keys[SDLK_2])
            menuEnd = true;
        drawMenu(firstLine, secondLine);
    }

    SDL_FreeSurface(firstLine);
    SDL_FreeSurface(secondLine);
    closeFont(font);
    return 0;
}
