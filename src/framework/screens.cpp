#include "screens.h"
#include "display.h"
#include "platform.h"

// A short rest between looks at the keyboard keeps the wait from taking a
// whole core; a player cannot tell 5 ms.
constexpr int winPollMs = 5;

void winScreen(MissionCore& core, SDL_Surface* display, std::initializer_list<TextAt> texts)
{
    for (const TextAt& line : texts)
        drawText(line.text, line.x, line.y, display);
    flipDisplay(display);
    sleepMs(winScreenPauseMs);
    while (!core.missionOver) {
        sleepMs(winPollMs);
        if (drainEvents())
            core.missionOver = true;
        if (keyboardState()[SDLK_SPACE]) {
            core.missionWon = true;
            core.missionOver = true;
        }
    }
}

void endScreen(const MissionCore& core, SDL_Surface* display, SDL_Surface* explosion,
               SDL_Surface* lostText)
{
    if (core.missionWon)
        return;
    SDL_Rect at{Sint16(core.heli.x + 40), core.heli.y, 0, 0};
    drawAt(explosion, at, display);
    drawText(lostText, 450, 350, display);
    flipDisplay(display);
    sleepMs(endScreenPauseMs);
}
