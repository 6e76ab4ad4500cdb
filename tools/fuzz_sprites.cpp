// Fuzz target for the sprite loading path: the calls the game makes for one
// sprite (open, load, checks, display format, colour key) and its first blit,
// on the dummy display. AFL hands over the input as a file path.
#include "framework/display.h"
#include "framework/sprites.h"

#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    startVideo();
    SDL_Surface* display = setGameDisplayMode();
#ifdef __AFL_HAVE_MANUAL_CONTROL
    __AFL_INIT(); // each run forks from here, with the display already up
#endif
    const SpriteFile file{"fuzzed", argv[1]};
    SDL_Surface* sprite = nullptr;
    loadSprites(&file, 1, &sprite);
    const int keyed[] = {0};
    keyOutWhite(&sprite, keyed, 1, SDL_SRCCOLORKEY | SDL_RLEACCEL);
    SDL_Rect at{100, 100, 0, 0};
    drawAt(sprite, at, display);
    SDL_FreeSurface(sprite);
    return 0;
}
