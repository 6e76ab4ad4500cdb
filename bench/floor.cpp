// The floor: the least a frame of this game can do on the real platform. It
// sets the game's display mode, loads the background as the missions do (in
// the display's format), and then blits it full-screen and flips, paced like
// the game, until it is killed. bench/run.sh measures it beside the game with
// the same counters, so the game's cost reads as a multiple of it.
#include "framework/display.h"
#include "framework/platform.h"
#include "framework/sprites.h"

int main()
{
    startVideo();
    SDL_Surface* display = setGameDisplayMode();
    const SpriteFile backgroundFile{"Background", "data/Background.bmp"};
    SDL_Surface* background = nullptr;
    loadSprites(&backgroundFile, 1, &background);
    for (;;) {
        SDL_Rect at{0, 0, 0, 0};
        drawAt(background, at, display);
        flipDisplay(display);
    }
}
