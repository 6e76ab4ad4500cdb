#include "display.h"
#include "fatal.h"

void startVideo()
{
    if (SDL_Init(SDL_INIT_VIDEO) == -1)
        fatalError("Can't init SDL: \n");
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
